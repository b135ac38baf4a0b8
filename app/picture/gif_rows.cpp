#include "app/picture/gif_rows.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/picture/gif_image.h"
#include "app/picture/indexed_mask.h"
#include "app/picture/picture_damage.h"

namespace {

// LZW codes of 12 bits at most, each standing for 4096 pixels at most.
constexpr uint64_t kLzwMostPixelsPerByte = 4096;
// Qt takes a logical screen for a mistake when it is more than ten times as wide (or
// high) as the first image and as this.
constexpr int kQtTrustedScreen = 16384;
// Qt's colour for an index past the colour table: white, clear.
constexpr TArgb kPastTable = 0x00FFFFFF;

// Where the image and its screen stand, and the colours of the indices, as Qt paints
// them.
struct TGifLayout {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Interlaced = false;
    std::vector<TArgb> Colours; // of the 256 indices
    std::array<uint8_t, 256> Index{}; // the index each stored index is handed as
    uint8_t Background = 0; // the index of the screen around the image
};

// The rows of a `height` row image in the order an interlaced GIF stores them.
int InterlacedRow(int stored, int height)
{
    constexpr int kStarts[] = {0, 4, 2, 1};
    constexpr int kSteps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = (height - kStarts[pass] + kSteps[pass] - 1) / kSteps[pass];
        if (stored < rows)
            return kStarts[pass] + stored * kSteps[pass];
        stored -= std::max(rows, 0);
    }
    return height; // past the image
}

class TGifRows : public TStreamedPicture, public TIndexedRows {
public:
    TGifRows(TRegularFile file, TGifLayout layout)
        : TStreamedPicture(layout.ScreenWidth, layout.ScreenHeight), FFile(std::move(file)), FLayout(std::move(layout))
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override { return IndexedMask(*this, Width(), Height(), rule); }
    void ForEachRun(const TVisit& visit) override { ForEachIndexedRun(*this, Width(), visit); }
    const std::vector<TArgb>& Colours() const override { return FLayout.Colours; }
    int Bits() const override { return 8; }

    void ForEachRow(const std::function<void(int y, std::span<const uint8_t> packed)>& visit) override
    {
        const TGifLayout& layout = FLayout;
        TGifFirstImage image(FFile);
        if (!image.Found())
            ThrowDamaged(FFile.Name(), image.Damage().empty() ? "it changed while read" : image.Damage());
        std::vector<uint8_t> row(static_cast<std::size_t>(layout.ScreenWidth), layout.Background);
        for (int y = 0; y < layout.ScreenHeight; ++y)
            if (y < layout.Top || y >= layout.Top + layout.Height)
                visit(y, row);
        std::vector<GifPixelType> line(static_cast<std::size_t>(layout.Width));
        for (int stored = 0; stored < layout.Height; ++stored) {
            if (!image.ReadPixels(line))
                ThrowDamaged(FFile.Name(), image.Damage());
            std::ranges::transform(line, row.begin() + layout.Left, [&](GifPixelType index) { return layout.Index[index]; });
            visit(layout.Top + (layout.Interlaced ? InterlacedRow(stored, layout.Height) : stored), row);
        }
    }

private:
    TRegularFile FFile;
    TGifLayout FLayout;
};

// The colour Qt gives `index`: from `table` (none: black), white past it, the
// transparent index clear; opaque all when no index is transparent.
TArgb QtColour(int index, const ColorMapObject* table, int tableColours, int transparent)
{
    TArgb colour = 0;
    // The entry just past a table reads as white too; with no table at all, black.
    if (index > tableColours || (index == tableColours && table != nullptr))
        colour = kPastTable;
    else if (table != nullptr)
        colour = 0xFF000000u | uint32_t{table->Colors[index].Red} << 16 | uint32_t{table->Colors[index].Green} << 8 |
                 table->Colors[index].Blue;
    if (index == transparent)
        colour &= 0x00FFFFFFu;
    return transparent < 0 ? colour | 0xFF000000u : colour;
}

// Where the screen around the image takes its colour from: an index whose colour is
// Qt's, or one made free for it. Nothing when Qt's colour is unknown.
std::optional<uint8_t> BackgroundIndex(TGifLayout& layout, int transparent, int screenBackground, bool localTable,
                                       int tableColours)
{
    if (transparent >= 0)
        return static_cast<uint8_t>(transparent);
    if (screenBackground >= 0) {
        // Qt looks the screen's background up in the local table before it is read.
        if (localTable && screenBackground < tableColours)
            return std::nullopt;
        return static_cast<uint8_t>(screenBackground);
    }
    // No table for the screen: Qt leaves it black.
    const auto black = std::ranges::find(layout.Colours, TArgb{0xFF000000u});
    if (black != layout.Colours.end())
        return static_cast<uint8_t>(black - layout.Colours.begin());
    if (tableColours > 128)
        return std::nullopt;
    // Every index past the table is white: the last one is handed as the first of them.
    layout.Index[255] = static_cast<uint8_t>(tableColours + 1);
    layout.Colours[255] = 0xFF000000u;
    return static_cast<uint8_t>(255);
}

}  // namespace

std::unique_ptr<TStreamedPicture> GifRows(TRegularFile file)
{
    const TGifFirstImage first(file);
    if (!first.Damage().empty())
        ThrowDamaged(file.Name(), first.Damage());
    if (!first.Found() || first.OddControl())
        return nullptr;
    const GifImageDesc& image = first.Gif().Image;
    // LZW packs pixels at most so tightly: a file this short cannot hold the image it
    // claims, which is refused before a mask is made for it.
    if (uint64_t(image.Width) * uint64_t(image.Height) > file.Size() * kLzwMostPixelsPerByte)
        ThrowDamaged(file.Name(), "its image data is too short for " + std::to_string(image.Width) + " \u00d7 " +
                          std::to_string(image.Height) + " pixels");
    // The screen as its descriptor gives it, and its colour table as Qt counts it even
    // when there is none.
    const std::string screen = ReadFileBytes(file, 6, 7);
    const auto byte = [&](std::size_t at) { return static_cast<int>(static_cast<unsigned char>(screen[at])); };
    const bool globalTable = (byte(4) & 0x80) != 0;
    TGifLayout layout;
    layout.ScreenWidth = byte(0) | byte(1) << 8;
    layout.ScreenHeight = byte(2) | byte(3) << 8;
    if (layout.ScreenWidth / 10 > std::max(image.Width, kQtTrustedScreen) || layout.ScreenWidth == 0)
        layout.ScreenWidth = image.Left + image.Width;
    if (layout.ScreenHeight / 10 > std::max(image.Height, kQtTrustedScreen) || layout.ScreenHeight == 0)
        layout.ScreenHeight = image.Top + image.Height;
    layout.Left = image.Left;
    layout.Top = image.Top;
    layout.Width = image.Width;
    layout.Height = image.Height;
    layout.Interlaced = image.Interlace;
    if (layout.Left + layout.Width > layout.ScreenWidth || layout.Top + layout.Height > layout.ScreenHeight ||
        (layout.Interlaced && layout.Height < 5))
        return nullptr;
    // The screen around the image costs no data, so any GIF may claim a vast one. Qt
    // makes no picture of 16384² pixels or more; one that large must be the image's own
    // size, within what the data can fill.
    const uint64_t screenPixels = uint64_t(layout.ScreenWidth) * uint64_t(layout.ScreenHeight);
    if (screenPixels >= uint64_t{kQtTrustedScreen} * kQtTrustedScreen && screenPixels > file.Size() * kLzwMostPixelsPerByte)
        ThrowDamaged(file.Name(), "its screen of " + std::to_string(layout.ScreenWidth) + " \u00d7 " +
                          std::to_string(layout.ScreenHeight) + " pixels is more than its image data can fill");

    const bool localTable = image.ColorMap != nullptr;
    const ColorMapObject* table = localTable ? image.ColorMap : first.Gif().SColorMap;
    const int tableColours = localTable ? image.ColorMap->ColorCount : 2 << (byte(4) & 7);
    layout.Colours.resize(256);
    for (int index = 0; index < 256; ++index) {
        layout.Colours[std::size_t(index)] = QtColour(index, table, tableColours, first.Transparent());
        layout.Index[std::size_t(index)] = static_cast<uint8_t>(index);
    }
    // Qt fills the screen only when the image leaves some of it.
    if (layout.Left > 0 || layout.Top > 0 || layout.Width < layout.ScreenWidth || layout.Height < layout.ScreenHeight) {
        const std::optional<uint8_t> background =
            BackgroundIndex(layout, first.Transparent(), globalTable ? byte(5) : -1, localTable, tableColours);
        if (!background)
            return nullptr;
        layout.Background = *background;
    }
    return std::make_unique<TGifRows>(std::move(file), std::move(layout));
}
