#include "app/picture/indexed_row_marking.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "app/engine/row_marking.h" // HasAvx2
#include "app/picture/packed_indices.h"

namespace {

// Eight bytes of one-bit indices as their pixels' bits in a word: each byte's bits
// reversed, so that the leftmost pixel is the lowest.
uint64_t OneBitIndices(const uint8_t* bytes)
{
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    word = (word >> 1 & 0x5555555555555555u) | (word & 0x5555555555555555u) << 1;
    word = (word >> 2 & 0x3333333333333333u) | (word & 0x3333333333333333u) << 2;
    return (word >> 4 & 0x0F0F0F0F0F0F0F0Fu) | (word & 0x0F0F0F0F0F0F0F0Fu) << 4;
}

#if defined(__x86_64__)
// Each byte's bit in the two nibble tables: one pshufb looks up its row by the low
// nibble, another its bit by the high nibble, and the top bit of the byte picks the table.
__attribute__((target("avx2"))) void MarkEightBitWordsByAvx2(const uint8_t* indices, std::size_t words, uint64_t* maskWords,
                                                             const std::array<uint8_t, 16>& lowerHalf,
                                                             const std::array<uint8_t, 16>& upperHalf)
{
    const __m256i lower = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lowerHalf.data())));
    const __m256i upper = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(upperHalf.data())));
    const __m256i bitOf = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64,
                                           -128, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    for (std::size_t w = 0; w < words; ++w, indices += 64) {
        uint64_t bits = 0;
        for (unsigned half = 0; half < 64; half += 32) {
            const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(indices + half));
            const __m256i low = _mm256_and_si256(bytes, nibble);
            const __m256i high = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
            const __m256i row = _mm256_blendv_epi8(_mm256_shuffle_epi8(lower, low), _mm256_shuffle_epi8(upper, low), bytes);
            const __m256i bit = _mm256_shuffle_epi8(bitOf, high);
            const __m256i hit = _mm256_cmpeq_epi8(_mm256_and_si256(row, bit), bit);
            bits |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(hit))} << half;
        }
        maskWords[w] |= bits;
    }
}
#endif

}  // namespace

TIndexedRowMarker::TIndexedRowMarker(int bits, const std::array<uint64_t, 4>& taken) : FBits(bits), FTaken(taken)
{
    const int perByte = 8 / bits;
    for (unsigned byte = 0; byte < 256; ++byte)
        for (int j = 0; j < perByte; ++j)
            if (Takes(IndexIn(byte, j, bits)))
                FByteBits[byte] |= static_cast<uint8_t>(1u << j);
    for (unsigned index = 0; index < 256; ++index)
        if (Takes(index))
            (index < 128 ? FLowerHalf : FUpperHalf)[index & 0x0F] |= static_cast<uint8_t>(1u << (index >> 4 & 7));
}

void TIndexedRowMarker::Mark(std::span<const uint8_t> packed, int width, std::span<uint64_t> maskRow) const
{
    const int perByte = 8 / FBits;
    const auto bytesPerWord = static_cast<std::size_t>(64 / perByte);
    const std::size_t words = static_cast<std::size_t>(width) / 64;
    std::size_t done = 0;
#if defined(__x86_64__)
    if (FBits == 8 && HasAvx2()) {
        MarkEightBitWordsByAvx2(packed.data(), words, maskRow.data(), FLowerHalf, FUpperHalf);
        done = words;
    }
#endif
    if (FBits == 1) {
        const uint64_t ones = Takes(1) ? ~uint64_t{0} : 0;
        const uint64_t zeros = Takes(0) ? ~uint64_t{0} : 0;
        for (; done < words; ++done) {
            const uint64_t indices = OneBitIndices(packed.data() + done * 8);
            maskRow[done] |= (indices & ones) | (~indices & zeros);
        }
    }
    // A word of the mask holds a whole number of bytes' pixels.
    for (std::size_t w = done; w < words; ++w) {
        const uint8_t* bytes = packed.data() + w * bytesPerWord;
        uint64_t bits = 0;
        for (std::size_t i = 0; i < bytesPerWord; ++i)
            bits |= uint64_t{FByteBits[bytes[i]]} << (i * static_cast<std::size_t>(perByte));
        maskRow[w] |= bits;
    }
    for (auto x = static_cast<std::size_t>(words * 64); x < static_cast<std::size_t>(width); ++x)
        if (Takes(PackedIndex(packed, x, FBits)))
            maskRow[x / 64] |= uint64_t{1} << (x % 64);
}
