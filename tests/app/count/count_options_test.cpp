#include "app/count/count_options.h"

#include <gtest/gtest.h>

#include "app/count/colour_option.h"
#include "app/picture/colour_mask.h"
#include "graph/core/error.h"

namespace {

TCountOptions Parse(std::vector<std::string> arguments)
{
    return ParseCountOptions(arguments);
}

std::string RefusalOf(std::vector<std::string> arguments)
{
    try {
        ParseCountOptions(arguments);
    } catch (const TVandrelError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(CountOptions, DefaultsAreTheWindows)
{
    const TCountOptions options = Parse({"leaf.bmp"});
    EXPECT_EQ(options.Minimum, 10);
    EXPECT_EQ(options.Maximum, 100);
    EXPECT_EQ(options.Step, 10);
    EXPECT_EQ(options.Rgb, 0x000000u);
    EXPECT_EQ(options.Format, TOutputFormat::Table);
    EXPECT_EQ(options.Jobs, 1);
    EXPECT_EQ(options.Pictures, std::vector<std::string>{"leaf.bmp"});
}

TEST(CountOptions, ValuesFollowTheOptionOrAnEqualsSign)
{
    const TCountOptions options =
        Parse({"a.png", "--min", "1", "--max=65535", "--step", "3", "--format=json", "--jobs", "4", "b.png",
               "--colour", "#FF8000", "--", "--c.png"});
    EXPECT_EQ(options.Minimum, 1);
    EXPECT_EQ(options.Maximum, 65535);
    EXPECT_EQ(options.Step, 3);
    EXPECT_EQ(options.Format, TOutputFormat::Json);
    EXPECT_EQ(options.Jobs, 4);
    EXPECT_EQ(options.Rgb, 0xFF8000u);
    EXPECT_EQ(options.Pictures, (std::vector<std::string>{"a.png", "b.png", "--c.png"}));
}

TEST(CountOptions, MemoryLimitsAreBytesOrPowersOf1024)
{
    EXPECT_EQ(Parse({"a.png"}).MemoryLimit, 0u); // the machine's default
    EXPECT_EQ(Parse({"--memory-limit", "4096", "a.png"}).MemoryLimit, 4096u);
    EXPECT_EQ(Parse({"--memory-limit=512M", "a.png"}).MemoryLimit, 512ull << 20);
    EXPECT_EQ(Parse({"--memory-limit", "2GiB", "a.png"}).MemoryLimit, 2ull << 30);
    EXPECT_EQ(Parse({"--memory-limit", "1t", "a.png"}).MemoryLimit, 1ull << 40);
    for (const char* wrong : {"0", "", "G", "2X", "1.5G", "-1", "99999999999T"})
        EXPECT_EQ(RefusalOf({"--memory-limit", wrong, "a.png"}),
                  std::string("--memory-limit: '") + wrong +
                      "' is not an amount of memory (give bytes, or a number with K, M, G or T)");
}

TEST(CountOptions, ColoursAreHexRedFirstOrNames)
{
    EXPECT_EQ(ParseColour("#ff8000"), 0xFF8000u);
    EXPECT_EQ(ParseColour("0080FF"), 0x0080FFu);
    EXPECT_EQ(ParseColour("darkgreen"), 0x006400u);
    EXPECT_EQ(ParseColour("White"), 0xFFFFFFu);
    EXPECT_FALSE(ParseColour("#fff"));
    EXPECT_FALSE(ParseColour("#80ff8000"));
    EXPECT_FALSE(ParseColour("transparent"));
    EXPECT_FALSE(ParseColour("nocolour"));
    EXPECT_FALSE(ParseColour(""));
    EXPECT_EQ(ColourText(0xFF8000), "#ff8000");
}

TEST(CountOptions, RefusalsNameTheOptionAtFault)
{
    EXPECT_EQ(RefusalOf({"--min", "0", "a.png"}), "--min: '0' is not a whole number from 1 to 65535");
    EXPECT_EQ(RefusalOf({"--max=65536", "a.png"}), "--max: '65536' is not a whole number from 1 to 65535");
    EXPECT_EQ(RefusalOf({"--step", "2.5", "a.png"}), "--step: '2.5' is not a whole number from 1 to 65535");
    EXPECT_EQ(RefusalOf({"--step", "+2", "a.png"}), "--step: '+2' is not a whole number from 1 to 65535");
    EXPECT_EQ(RefusalOf({"--jobs=", "a.png"}), "--jobs: '' is not a whole number from 1 to 256");
    EXPECT_EQ(RefusalOf({"--format", "xml", "a.png"}), "--format: 'xml' is not one of table, csv, json");
    EXPECT_EQ(RefusalOf({"--colour", "mauvish", "a.png"}),
              "--colour: 'mauvish' is not a colour (give #RRGGBB, RRGGBB or a colour name)");
    EXPECT_EQ(RefusalOf({"--size", "3", "a.png"}), "unknown option '--size'");
    EXPECT_EQ(RefusalOf({"a.png", "--min"}), "option '--min' needs a value");
    EXPECT_EQ(RefusalOf({"--min", "5"}), "no picture given");
    EXPECT_TRUE(Parse({"--help"}).Help);
}

}  // namespace
