#include "app/engine/foreground_rule.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/error_message.h"

TEST(ForegroundRule, TextsAndRefusals)
{
    EXPECT_EQ(TForegroundRule::Colour(0x000000).Text(), "colour #000000");
    EXPECT_EQ(TForegroundRule::Colour(0xFF8000, 12).Text(), "colour #ff8000 within 12");
    EXPECT_EQ(TForegroundRule::Luminance(128, TLuminanceSide::Light).Text(), "luminance above 128");
    EXPECT_EQ(TForegroundRule::Otsu().WithOtsuLevel(97).Text(), "luminance at most 97 (Otsu)");
    EXPECT_EQ(MessageOf([] { TForegroundRule::Colour(0, 256); }), "The colour tolerance must lie between 0 and 255");
    EXPECT_EQ(MessageOf([] { TForegroundRule::Otsu().WithOtsuLevel(-1); }),
              "The luminance level must lie between 0 and 255");
    const std::vector<TArgb> row(3, 0xFF000000);
    std::vector<uint64_t> mask(1, 0);
    EXPECT_EQ(MessageOf([&] { MarkForeground(row, TForegroundRule::Otsu(), mask); }),
              "The luminance level of Otsu's method is not chosen yet");
}
