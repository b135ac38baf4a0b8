#include "app/fractal/mask_image.h"

QImage MaskImage(const TPixelMask& mask)
{
    QImage image(mask.Width(), mask.Height(), QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            if (mask.Test(x, y))
                image.setPixel(x, y, 1);
    return image;
}
