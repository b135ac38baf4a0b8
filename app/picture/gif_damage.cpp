// Whether a GIF's first image is whole, by decoding it.
#include <vector>

#include "app/picture/gif_image.h"
#include "app/picture/picture_damage.h"

std::string GifErrorText(int code)
{
    const char* text = GifErrorString(code);
    return text != nullptr ? text : "the GIF decoder failed";
}

std::optional<std::string> GifDamage(const TRegularFile& file)
{
    // The first image is the picture; what follows it (more frames) is not read.
    TGifFirstImage image(file);
    if (!image.Found())
        return image.Damage().empty() ? std::nullopt : std::optional(image.Damage());
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.Gif().Image.Width));
    for (int y = 0; y < image.Gif().Image.Height; ++y)
        if (!image.ReadPixels(line))
            return image.Damage();
    return std::nullopt;
}
