#pragma once

#include <cstdint>
#include <optional>

#include "app/engine/foreground_rule.h"
#include "app/engine/mask_rect.h"

// Which pixels of a picture form the shape, and where it is measured. The defaults are
// the window's: the opaque black pixels of the whole picture, measured as one shape.
struct TShapeChoice {
    TForegroundRule Foreground = TForegroundRule::Colour(0x000000);
    bool Outline = false; // only the shape's pixels that touch a pixel outside it
    std::optional<TMaskRect> Region; // count only there, boxes laid from its corner
    bool Objects = false; // each connected piece apart
    uint64_t MinPixels = 50; // pieces with fewer are left out
};
