// Whether a GIF's first image is whole, by decoding it with giflib.
#include <memory>
#include <vector>

#include <gif_lib.h>

#include "app/picture/picture_damage.h"

namespace {

struct TGifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

}  // namespace

std::string GifErrorText(int code)
{
    const char* text = GifErrorString(code);
    return text != nullptr ? text : "the GIF decoder failed";
}

std::optional<std::string> GifDamage(const TRegularFile& file)
{
    const int descriptor = OwnDescriptorAtStart(file);
    if (descriptor < 0)
        return std::nullopt; // Qt's own reading will say what is wrong
    int error = 0;
    // giflib closes the descriptor with the file.
    const std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpenFileHandle(descriptor, &error));
    if (!gif)
        return GifErrorText(error);

    // The first image is the picture; what follows it (more frames) is not read.
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            return GifErrorText(gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            return std::nullopt; // no image at all: the screen's own colour
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                return GifErrorText(gif->Error);
            while (block != nullptr)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return GifErrorText(gif->Error);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            return "its blocks are out of order";
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            return GifErrorText(gif->Error);
        const GifImageDesc& image = gif->Image;
        if (image.Width <= 0 || image.Height <= 0)
            return "its first image has no size";
        std::vector<GifPixelType> line(static_cast<std::size_t>(image.Width));
        for (int y = 0; y < image.Height; ++y)
            if (DGifGetLine(gif.get(), line.data(), image.Width) == GIF_ERROR)
                return GifErrorText(gif->Error);
        return std::nullopt;
    }
}
