#include "app/picture/indexed_mask.h"

#include <array>
#include <utility>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "app/engine/luminance.h"
#include "app/engine/otsu_threshold.h"

namespace {

using TIndexCounts = std::array<uint64_t, 256>;

// The index of pixel `j` of a byte that packs pixels of `bits` bits, leftmost highest.
unsigned IndexIn(unsigned byte, int j, int bits)
{
    return byte >> (8 - bits * (j + 1)) & ((1u << bits) - 1);
}

// The mask bits of eight bytes of pixels, looked up apart so that the lookups overlap.
template <std::size_t PerByte>
uint64_t EightBytesMarks(const uint8_t* bytes, const std::array<uint8_t, 256>& maskBits)
{
    return [&]<std::size_t... J>(std::index_sequence<J...>) {
        return ((uint64_t{maskBits[bytes[J]]} << (J * PerByte)) | ...);
    }(std::make_index_sequence<8>{});
}

// Marks the pixels of `packed` (whole pixels of the row) that fill whole words of `row`,
// each word made in a register and stored once; returns the bytes taken.
template <std::size_t PerByte>
std::size_t MarkWholeWords(std::span<const uint8_t> packed, const std::array<uint8_t, 256>& maskBits, std::span<uint64_t> row)
{
    constexpr std::size_t wordBytes = 64 / PerByte;
    const std::size_t words = packed.size() / wordBytes;
    for (std::size_t word = 0; word < words; ++word) {
        const uint8_t* bytes = packed.data() + word * wordBytes;
        uint64_t marks = 0;
        for (std::size_t k = 0; k < wordBytes; k += 8)
            marks |= EightBytesMarks<PerByte>(bytes + k, maskBits) << (k * PerByte);
        row[word] = marks;
    }
    return words * wordBytes;
}

#if defined(__x86_64__)
// Marks the pixels of `indices` (8-bit, whole pixels of the row) that fill whole words of
// `row`, 32 at a time by table lookups in vector registers; `taken` has a bit for each
// index the rule takes. Returns the bytes taken.
__attribute__((target("avx2"))) std::size_t MarkWholeWordsAvx2(std::span<const uint8_t> indices,
                                                                 const std::array<uint64_t, 4>& taken, std::span<uint64_t> row)
{
    // The bits of indices 16h to 16h + 15 are looked up by h, low byte and high byte apart,
    // then the bit of the index's low four bits is picked out.
    alignas(16) uint8_t low[16];
    alignas(16) uint8_t high[16];
    for (int h = 0; h < 16; ++h) {
        const uint64_t bits = taken[std::size_t(h / 4)] >> (h % 4 * 16);
        low[h] = static_cast<uint8_t>(bits);
        high[h] = static_cast<uint8_t>(bits >> 8);
    }
    const __m256i lowTable = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(low)));
    const __m256i highTable = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(high)));
    const __m256i powers = _mm256_broadcastsi128_si256(_mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i eight = _mm256_set1_epi8(8);
    const std::size_t words = indices.size() / 64;
    for (std::size_t word = 0; word < words; ++word) {
        uint64_t marks = 0;
        for (int half = 0; half < 2; ++half) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(indices.data() + word * 64 + std::size_t(half) * 32));
            const __m256i lowNibble = _mm256_and_si256(v, nibble);
            const __m256i highNibble = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
            const __m256i inHighByte = _mm256_cmpeq_epi8(_mm256_and_si256(lowNibble, eight), eight);
            const __m256i bits = _mm256_blendv_epi8(_mm256_shuffle_epi8(lowTable, highNibble),
                                                    _mm256_shuffle_epi8(highTable, highNibble), inHighByte);
            const __m256i left = _mm256_cmpeq_epi8(_mm256_and_si256(bits, _mm256_shuffle_epi8(powers, lowNibble)),
                                                   _mm256_setzero_si256());
            marks |= uint64_t{~static_cast<uint32_t>(_mm256_movemask_epi8(left))} << (32 * half);
        }
        row[word] = marks;
    }
    return words * 64;
}
#endif

TIndexCounts IndexCounts(TIndexedRows& rows, int width)
{
    const int bits = rows.Bits();
    const int perByte = 8 / bits;
    const auto wholeBytes = static_cast<std::size_t>(width / perByte);
    const int rest = width % perByte;
    // Whole bytes are counted as they are and split into their pixels at the end.
    TIndexCounts bytes{};
    TIndexCounts counts{};
    rows.ForEachRow([&](int, std::span<const uint8_t> packed) {
        for (std::size_t i = 0; i < wholeBytes; ++i)
            ++bytes[packed[i]];
        for (int j = 0; j < rest; ++j)
            ++counts[IndexIn(packed[wholeBytes], j, bits)];
    });
    for (unsigned byte = 0; byte < 256; ++byte)
        for (int j = 0; j < perByte && bytes[byte] != 0; ++j)
            counts[IndexIn(byte, j, bits)] += bytes[byte];
    return counts;
}

TForegroundRule Resolved(TIndexedRows& rows, int width, const TForegroundRule& rule)
{
    if (!rule.LevelPending())
        return rule;
    const TIndexCounts counts = IndexCounts(rows, width);
    TLuminanceHistogram histogram{};
    for (std::size_t index = 0; index < rows.Colours().size(); ++index) {
        TLuminanceHistogram one{};
        AddLuminances(std::span<const TArgb>(&rows.Colours()[index], 1), one);
        for (std::size_t level = 0; level < one.size(); ++level)
            histogram[level] += one[level] * counts[index];
    }
    return rule.WithOtsuLevel(OtsuThreshold(histogram));
}

}  // namespace

TForegroundMask IndexedMask(TIndexedRows& rows, int width, int height, const TForegroundRule& rule)
{
    TForegroundMask result{TPixelMask(width, height), Resolved(rows, width, rule)};
    const int bits = rows.Bits();
    const int perByte = 8 / bits;
    std::array<uint64_t, 4> taken{}; // a bit for each of up to 256 colours
    MarkForeground(rows.Colours(), result.Rule, std::span<uint64_t>(taken).first((rows.Colours().size() + 63) / 64));
    const auto takes = [&](unsigned index) { return (taken[index / 64] >> (index % 64) & 1u) != 0; };
    // The mask bits of every byte's pixels, the leftmost lowest as the mask holds them.
    std::array<uint8_t, 256> maskBits{};
    for (unsigned byte = 0; byte < 256; ++byte)
        for (int j = 0; j < perByte; ++j)
            if (takes(IndexIn(byte, j, bits)))
                maskBits[byte] |= static_cast<uint8_t>(1u << j);
    const auto wholeBytes = static_cast<std::size_t>(width / perByte);
    const int rest = width % perByte;
#if defined(__x86_64__)
    const bool avx2 = perByte == 1 && __builtin_cpu_supports("avx2");
#endif
    const auto markWholeWords = [&](std::span<const uint8_t> whole, std::span<uint64_t> row) -> std::size_t {
#if defined(__x86_64__)
        if (avx2)
            return MarkWholeWordsAvx2(whole, taken, row);
#endif
        return perByte == 1   ? MarkWholeWords<1>(whole, maskBits, row)
               : perByte == 2 ? MarkWholeWords<2>(whole, maskBits, row)
               : perByte == 4 ? MarkWholeWords<4>(whole, maskBits, row)
                              : MarkWholeWords<8>(whole, maskBits, row);
    };
    rows.ForEachRow([&](int y, std::span<const uint8_t> packed) {
        const std::span<uint64_t> row = result.Mask.Row(y);
        // A word of the mask holds a whole number of bytes' pixels.
        std::size_t i = markWholeWords(packed.first(wholeBytes), row);
        for (; i < wholeBytes; ++i) {
            const std::size_t x = i * static_cast<std::size_t>(perByte);
            row[x / 64] |= uint64_t{maskBits[packed[i]]} << (x % 64);
        }
        for (int j = 0; j < rest; ++j)
            if (takes(IndexIn(packed[wholeBytes], j, bits)))
                result.Mask.Set(static_cast<int>(wholeBytes) * perByte + j, y);
    });
    return result;
}

void ForEachIndexedRun(TIndexedRows& rows, int width, const TArgbRuns::TVisit& visit)
{
    const int bits = rows.Bits();
    const int perByte = 8 / bits;
    const std::vector<TArgb>& colours = rows.Colours();
    std::vector<TArgb> pixels(static_cast<std::size_t>(width));
    rows.ForEachRow([&](int y, std::span<const uint8_t> packed) {
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(x)] = colours[IndexIn(packed[static_cast<std::size_t>(x / perByte)], x % perByte, bits)];
        visit(y, 0, 1, pixels);
    });
}
