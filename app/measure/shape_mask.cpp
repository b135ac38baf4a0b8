#include "app/measure/shape_mask.h"

#include <string>
#include <utility>

#include "app/engine/crop_mask.h"
#include "app/engine/outline.h"
#include "app/picture/colour_mask.h"
#include "graph/core/error.h"

namespace {

std::string NothingToCountText(const TForegroundRule& rule, const std::optional<TMaskRect>& region)
{
    if (rule.ByColour() && rule.Tolerance() == 0 && !region)
        return ColourNowhereText(rule.Rgb());
    const std::string where = region ? "the region " + std::to_string(region->X) + "," + std::to_string(region->Y) +
                                           "," + std::to_string(region->Width) + "," + std::to_string(region->Height)
                                     : std::string("the picture");
    return "No pixel of " + where + " matches the rule: " + rule.Text();
}

}  // namespace

TShapeMask ShapeMaskOf(const QImage& image, const TShapeChoice& shape)
{
    return ShapeMaskOf(MaskOfForeground(image, shape.Foreground), shape);
}

TShapeMask ShapeMaskOf(TForegroundMask chosen, const TShapeChoice& shape)
{
    TPixelMask mask = shape.Outline ? OutlineOf(chosen.Mask) : std::move(chosen.Mask);
    if (shape.Region)
        mask = CropMask(mask, *shape.Region);
    // An empty mask would end the counting at the logarithm of 0; say why instead,
    // before counting anything.
    if (mask.Empty())
        throw TVandrelError(NothingToCountText(chosen.Rule, shape.Region));
    return {std::move(mask), chosen.Rule};
}
