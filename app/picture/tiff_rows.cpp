#include "app/picture/tiff_rows.h"

#include <QImage>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/picture/indexed_mask.h"
#include "app/picture/picture_damage.h"
#include "app/picture/streamed_mask.h"
#include "app/picture/tiff_bands.h"
#include "app/picture/tiff_file.h"

namespace {

// The codings whose strips TiffDamage can weigh against the rows they must hold.
bool Decoded(uint16_t compression)
{
    switch (compression) {
    case COMPRESSION_NONE:
    case COMPRESSION_LZW:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
    case COMPRESSION_PACKBITS:
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        return true;
    default:
        return false;
    }
}

// What the fourth sample of an RGB pixel is, as libtiff and Qt read it.
enum class TAlphaKind {
    None,         // three samples
    Unspecified,  // taken as it is, also when undeclared
    Associated,   // the colours are premultiplied by it
    Unassociated, // libtiff premultiplies 8 bits itself
};

struct TTiffFields {
    uint16_t Photometric = 0;
    uint16_t Bits = 1;
    uint16_t Samples = 1;
    uint16_t SampleFormat = SAMPLEFORMAT_UINT;
    uint16_t Compression = COMPRESSION_NONE;
    std::optional<TAlphaKind> Alpha;
};

TTiffFields ReadFields(TIFF* tiff)
{
    TTiffFields fields;
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &fields.Photometric) != 1)
        fields.Photometric = UINT16_MAX;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &fields.Bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &fields.Samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &fields.SampleFormat);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &fields.Compression);
    uint16_t count = 0;
    uint16_t* kinds = nullptr;
    const bool declared = TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &count, &kinds) == 1 && count > 0 && kinds;
    if (fields.Samples == 3 && !declared)
        fields.Alpha = TAlphaKind::None;
    else if (fields.Samples == 4 && (!declared || (count == 1 && kinds[0] == EXTRASAMPLE_UNSPECIFIED)))
        fields.Alpha = TAlphaKind::Unspecified;
    else if (fields.Samples == 4 && count == 1 && kinds[0] == EXTRASAMPLE_ASSOCALPHA)
        fields.Alpha = TAlphaKind::Associated;
    else if (fields.Samples == 4 && count == 1 && kinds[0] == EXTRASAMPLE_UNASSALPHA)
        fields.Alpha = TAlphaKind::Unassociated;
    return fields;
}

bool Grey(const TTiffFields& fields)
{
    return fields.Photometric == PHOTOMETRIC_MINISBLACK || fields.Photometric == PHOTOMETRIC_MINISWHITE;
}

// Qt reads these itself, a row or a tile at a time, into a picture of their own format;
// the rest through libtiff's RGBA conversion.
bool ReadAsStored(const TTiffFields& fields)
{
    return (Grey(fields) && fields.Samples == 1 && (fields.Bits == 1 || fields.Bits == 8)) ||
           (fields.Photometric == PHOTOMETRIC_MINISBLACK && fields.Samples == 1 && fields.Bits == 16) ||
           (fields.Photometric == PHOTOMETRIC_PALETTE && fields.Samples == 1 && fields.Bits == 8) ||
           (fields.Photometric == PHOTOMETRIC_RGB && fields.Bits == 16);
}

// Whether Qt's plugin reads the tiles: tiles of the formats it reads itself must measure
// multiples of 16, and none may hold more than the whole picture of `depth` bits a pixel.
// It reads no tiles of one plane a sample, and libtiff converts tiles of 16-bit grey
// with white at 0 wrongly where they reach past the right edge. Tiles must also hold
// whole bytes of pixels, to be pieced together into rows.
bool ReadableTiles(TIFF* tiff, const TTiffLayout& layout, const TTiffFields& fields, int depth)
{
    if (layout.Planes > 1 || (fields.Photometric == PHOTOMETRIC_MINISWHITE && fields.Bits == 16))
        return false;
    const uint64_t pictureBytes = (uint64_t{layout.Width} * static_cast<uint64_t>(depth) + 31) / 32 * 4 * layout.Height;
    return layout.TileWidth > 0 && layout.TileLength > 0 && uint64_t{layout.TileWidth} * fields.Bits * fields.Samples % 8 == 0 &&
           static_cast<uint64_t>(TIFFTileSize64(tiff)) <= pictureBytes &&
           (!ReadAsStored(fields) || (layout.TileWidth % 16 == 0 && layout.TileLength % 16 == 0));
}

// Grey, bilevel and palette pictures: the colours of their samples.
class TTiffIndexedRows : public TStreamedPicture, public TIndexedRows {
public:
    TTiffIndexedRows(TRegularFile file, const TTiffLayout& layout, uint64_t bandBytes, std::vector<TArgb> colours,
                     int bits, bool sixteenBitsWhite)
        : TStreamedPicture(static_cast<int>(layout.Width), static_cast<int>(layout.Height), bandBytes),
          FFile(std::move(file)), FLayout(layout), FColours(std::move(colours)), FBits(bits),
          FSixteenBitsWhite(sixteenBitsWhite)
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override { return IndexedMask(*this, Width(), Height(), rule); }
    void ForEachRun(const TVisit& visit) override { ForEachIndexedRun(*this, Width(), visit); }
    const std::vector<TArgb>& Colours() const override { return FColours; }
    int Bits() const override { return std::min(FBits, 8); }

    void ForEachRow(const std::function<void(int y, std::span<const uint8_t> packed)>& visit) override
    {
        const auto width = static_cast<std::size_t>(FLayout.Width);
        if (FBits <= 8) {
            const std::size_t packedBytes = (width * static_cast<std::size_t>(FBits) + 7) / 8;
            ForEachTiffRow(FFile, FLayout, [&](int y, std::span<const uint8_t* const> planes) {
                visit(y, std::span(planes[0], packedBytes));
            });
            return;
        }
        // 16-bit grey is handed as the 8-bit samples Qt makes of it: rounded when it reads
        // them itself, their high byte where libtiff converts them (white at 0).
        std::vector<uint8_t> indices(width);
        ForEachTiffRow(FFile, FLayout, [&](int y, std::span<const uint8_t* const> planes) {
            for (std::size_t x = 0; x < width; ++x) {
                uint16_t sample = 0;
                std::memcpy(&sample, planes[0] + 2 * x, 2);
                indices[x] = static_cast<uint8_t>(FSixteenBitsWhite ? sample >> 8 : (sample + 128u) / 257u);
            }
            visit(y, indices);
        });
    }

private:
    TRegularFile FFile;
    TTiffLayout FLayout;
    std::vector<TArgb> FColours;
    int FBits;
    bool FSixteenBitsWhite;
};

// RGB pictures of 8 or 16 bits a sample, with or without alpha.
class TTiffColourRows : public TStreamedPicture {
public:
    TTiffColourRows(TRegularFile file, const TTiffLayout& layout, uint64_t bandBytes, const TTiffFields& fields)
        : TStreamedPicture(static_cast<int>(layout.Width), static_cast<int>(layout.Height), bandBytes),
          FFile(std::move(file)), FLayout(layout), FSamples(fields.Samples), FWide(fields.Bits == 16),
          FAlpha(*fields.Alpha)
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override { return RunsMask(*this, Width(), Height(), rule); }

    void ForEachRun(const TVisit& visit) override
    {
        const auto width = static_cast<std::size_t>(Width());
        std::vector<TArgb> pixels(width);
        // Premultiplied and 16-bit pixels are laid into a row of the format Qt reads them
        // in and converted by Qt, so that they come out as Qt's own.
        const QImage::Format format = QtFormat();
        QImage row = format == QImage::Format_ARGB32 ? QImage() : QImage(Width(), 1, format);
        ForEachTiffRow(FFile, FLayout, [&](int y, std::span<const uint8_t* const> planes) {
            if (FWide)
                LayWide(planes, reinterpret_cast<uint16_t*>(row.scanLine(0)));
            else
                LayNarrow(planes, format == QImage::Format_ARGB32 ? pixels.data() : reinterpret_cast<TArgb*>(row.scanLine(0)));
            if (!row.isNull()) {
                const QImage converted = row.convertToFormat(QImage::Format_ARGB32);
                std::memcpy(pixels.data(), converted.constScanLine(0), width * sizeof(TArgb));
            }
            visit(y, 0, 1, pixels);
        });
    }

private:
    QImage::Format QtFormat() const
    {
        if (FWide)
            return FSamples == 3                         ? QImage::Format_RGBX64
                   : FAlpha == TAlphaKind::Associated ? QImage::Format_RGBA64_Premultiplied
                                                      : QImage::Format_RGBA64;
        return FAlpha == TAlphaKind::Associated || FAlpha == TAlphaKind::Unassociated ? QImage::Format_ARGB32_Premultiplied
                                                                                      : QImage::Format_ARGB32;
    }

    // 8-bit samples, as libtiff's RGBA conversion gives them.
    void LayNarrow(std::span<const uint8_t* const> planes, TArgb* out) const
    {
        const bool separate = planes.size() > 1;
        const auto samples = static_cast<std::size_t>(FSamples);
        for (std::size_t x = 0; x < FLayout.Width; ++x) {
            const auto sample = [&](std::size_t c) -> uint32_t {
                return separate ? planes[c][x] : planes[0][x * samples + c];
            };
            uint32_t red = sample(0), green = sample(1), blue = sample(2);
            uint32_t alpha = FAlpha == TAlphaKind::None ? 0xFFu : sample(3);
            if (FAlpha == TAlphaKind::Unassociated) {
                red = (red * alpha + 127) / 255;
                green = (green * alpha + 127) / 255;
                blue = (blue * alpha + 127) / 255;
            }
            out[x] = alpha << 24 | red << 16 | green << 8 | blue;
        }
    }

    // 16-bit samples as Qt lays them: red, green, blue, alpha.
    void LayWide(std::span<const uint8_t* const> planes, uint16_t* out) const
    {
        const auto samples = static_cast<std::size_t>(FSamples);
        for (std::size_t x = 0; x < FLayout.Width; ++x) {
            std::memcpy(out + 4 * x, planes[0] + 2 * samples * x, 2 * samples);
            if (samples == 3)
                out[4 * x + 3] = 0xFFFF;
        }
    }

    TRegularFile FFile;
    TTiffLayout FLayout;
    int FSamples;
    bool FWide;
    TAlphaKind FAlpha;
};

// The colours of the samples of a grey picture as Qt gives them: 0 black, the most
// white, or the other way round.
std::vector<TArgb> GreyColours(int bits, bool white)
{
    const uint32_t most = (1u << bits) - 1;
    std::vector<TArgb> colours;
    for (uint32_t sample = 0; sample <= most; ++sample) {
        const uint32_t grey = (white ? most - sample : sample) * 255 / most;
        colours.push_back(0xFF000000u | grey << 16 | grey << 8 | grey);
    }
    return colours;
}

// Colour maps hold 16 bits a colour; Qt takes the high byte of those of 8-bit pictures,
// and libtiff (converting the rest) takes a map whose entries all fit in 8 bits as 8-bit.
std::optional<std::vector<TArgb>> PaletteColours(TIFF* tiff, int bits)
{
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) != 1 || !red || !green || !blue)
        return std::nullopt;
    const std::size_t count = std::size_t{1} << bits;
    const bool eightBitMap = bits < 8 && std::all_of(red, red + count, [](uint16_t v) { return v < 256; }) &&
                             std::all_of(green, green + count, [](uint16_t v) { return v < 256; }) &&
                             std::all_of(blue, blue + count, [](uint16_t v) { return v < 256; });
    const int shift = eightBitMap ? 0 : 8;
    std::vector<TArgb> colours;
    for (std::size_t i = 0; i < count; ++i)
        colours.push_back(0xFF000000u | uint32_t(red[i] >> shift) << 16 | uint32_t(green[i] >> shift) << 8 |
                          uint32_t(blue[i] >> shift));
    return colours;
}

}  // namespace

std::unique_ptr<TStreamedPicture> TiffRows(TRegularFile file)
{
    // Every strip or tile inside the file and long enough for its rows: weighed before
    // anything is decoded, so that a header that lies costs no mask.
    if (const std::optional<std::string> damage = TiffDamage(file))
        ThrowDamaged(file.Name(), *damage);
    const TTiffFile opened(file);
    TIFF* const tiff = opened.Get();
    if (!tiff)
        ThrowDamaged(file.Name(), opened.Error("its header cannot be read"));
    const TTiffFields fields = ReadFields(tiff);
    const TTiffLayout layout = TiffLayout(tiff);
    const bool grey = Grey(fields) && fields.Samples == 1;
    const bool palette = fields.Photometric == PHOTOMETRIC_PALETTE && fields.Samples == 1;
    const bool narrow = fields.Bits == 1 || fields.Bits == 2 || fields.Bits == 4 || fields.Bits == 8;
    // Qt reads 16-bit RGB a row of the first plane at a time, whatever the planes.
    const bool colour = fields.Photometric == PHOTOMETRIC_RGB && fields.Alpha &&
                        (fields.Bits == 8 || (fields.Bits == 16 && layout.Planes == 1));
    if (!Decoded(fields.Compression) || fields.SampleFormat != SAMPLEFORMAT_UINT ||
        !((grey && (narrow || fields.Bits == 16)) || (palette && narrow) || colour) || layout.Width == 0 ||
        layout.Height == 0 || layout.Width > INT_MAX || layout.Height > INT_MAX)
        return nullptr;
    // Qt's depth of a pixel, for its check of the tiles.
    const int depth = fields.Bits == 1 && grey ? 1 : ReadAsStored(fields) ? (colour ? 64 : fields.Bits) : 32;
    if (layout.Tiled && !ReadableTiles(tiff, layout, fields, depth))
        return nullptr;

    std::span<const uint64_t> offsets;
    std::span<const uint64_t> counts;
    TiffPieces(tiff, offsets, counts);
    const uint64_t bandBytes = TiffBandBytes(tiff, layout, counts.empty() ? 0 : *std::ranges::max_element(counts));
    if (colour)
        return std::make_unique<TTiffColourRows>(std::move(file), layout, bandBytes, fields);
    std::vector<TArgb> colours;
    if (palette) {
        std::optional<std::vector<TArgb>> map = PaletteColours(tiff, fields.Bits);
        if (!map)
            return nullptr;
        colours = std::move(*map);
    } else {
        colours = GreyColours(std::min<int>(fields.Bits, 8), fields.Photometric == PHOTOMETRIC_MINISWHITE);
    }
    return std::make_unique<TTiffIndexedRows>(std::move(file), layout, bandBytes, std::move(colours), fields.Bits,
                                              fields.Photometric == PHOTOMETRIC_MINISWHITE);
}
