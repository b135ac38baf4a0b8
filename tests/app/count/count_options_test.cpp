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
    EXPECT_EQ(options.Shape.Foreground, TForegroundRule::Colour(0x000000));
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
    EXPECT_EQ(options.Shape.Foreground, TForegroundRule::Colour(0xFF8000));
    EXPECT_EQ(options.Pictures, (std::vector<std::string>{"a.png", "b.png", "--c.png"}));
}

TEST(CountOptions, MethodOptionsChooseTheSizesAndImplyTheDetails)
{
    EXPECT_FALSE(Parse({"a.png"}).Method.Details);
    EXPECT_TRUE(Parse({"--details", "a.png"}).Method.Details);
    EXPECT_TRUE(Parse({"--grid=topleft", "a.png"}).Method.Details); // the default, but asked for

    const TCountOptions geometric = Parse({"--sizes", "geometric", "--ratio", "3", "--min", "1", "--max", "81",
                                           "--grid", "all", "--fit", "3:27", "a.png"});
    EXPECT_EQ(CountedBoxSizes(geometric), (std::vector<int>{1, 3, 9, 27, 81}));
    EXPECT_EQ(geometric.Method.Grid, TGridMode::All);
    EXPECT_EQ(geometric.Method.Fit, TFitChoice::Range);
    EXPECT_EQ(geometric.Method.FitFrom, 3);
    EXPECT_EQ(geometric.Method.FitTo, 27);

    EXPECT_EQ(CountedBoxSizes(Parse({"--sizes", "9, 3,3,27", "--min", "50", "a.png"})), (std::vector<int>{3, 9, 27}));
    EXPECT_EQ(CountedBoxSizes(Parse({"--min", "30", "--max", "50", "a.png"})), (std::vector<int>{30, 40, 50}));
    EXPECT_TRUE(CountedBoxSizes(Parse({"--sizes", "geometric", "--min", "60", "--max", "50", "a.png"})).empty());
    EXPECT_TRUE(Parse({"--version"}).Version);
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
    EXPECT_EQ(RefusalOf({"--format", "xml", "a.png"}), "--format: 'xml' is not one of table, csv, json, summary, jsonl");
    EXPECT_EQ(RefusalOf({"--output=", "a.png"}), "--output: '' is not a file name");
    EXPECT_EQ(RefusalOf({"--format", "summary", "--objects", "a.png"}),
              "--format summary has one row a picture; --objects measures its pieces apart (use csv or jsonl)");
    EXPECT_EQ(RefusalOf({"--self-test", "--files-from", "list"}),
              "--self-test measures pictures of its own; give no picture with it");
    EXPECT_EQ(Parse({"--files-from", "list"}).FilesFrom, std::vector<std::string>{"list"});
    EXPECT_EQ(RefusalOf({"--self-test", "a.png"}),
              "--self-test measures pictures of its own; give no picture with it");
    EXPECT_EQ(RefusalOf({"--colour", "mauvish", "a.png"}),
              "--colour: 'mauvish' is not a colour (give #RRGGBB, RRGGBB or a colour name)");
    EXPECT_EQ(RefusalOf({"--size", "3", "a.png"}), "unknown option '--size'");
    EXPECT_EQ(RefusalOf({"a.png", "--min"}), "option '--min' needs a value");
    EXPECT_EQ(RefusalOf({"--min", "5"}), "no picture given");
    EXPECT_EQ(RefusalOf({"--grid", "diagonal", "a.png"}), "--grid: 'diagonal' is not one of topleft, min, all");
    EXPECT_EQ(RefusalOf({"--sizes", "3,,9", "a.png"}),
              "--sizes: '3,,9' is not linear, geometric or a list of whole numbers from 1 to 65535 such as 1,3,9,27");
    for (const std::string ratio : {"1", "1.001", "x", "nan", "inf", "2e9", ""})
        EXPECT_EQ(RefusalOf({"--ratio", ratio, "a.png"}), "--ratio: '" + ratio + "' is not a number from 1.01 to 1000");
    for (const std::string fit : {"3", "3:", ":9", "0:9", "3:x", "best"})
        EXPECT_EQ(RefusalOf({"--fit", fit, "a.png"}),
                  "--fit: '" + fit + "' is not all, auto or a range of box sizes D1:D2 from 1 to 65535");
    EXPECT_EQ(RefusalOf({"--fit", "9:3", "a.png"}), "--fit: the range '9:3' starts above its end");
    EXPECT_TRUE(Parse({"--help"}).Help);
}

TEST(CountOptions, TheShapeIsChosenOneWayAndTheRegionIsFourNumbers)
{
    EXPECT_EQ(Parse({"--threshold", "otsu", "--light", "a.png"}).Shape.Foreground,
              TForegroundRule::Otsu(TLuminanceSide::Light));
    EXPECT_EQ(Parse({"--tolerance=9", "--colour", "red", "a.png"}).Shape.Foreground, TForegroundRule::Colour(0xFF0000, 9));
    const TCountOptions pieces = Parse({"--objects", "--min-pixels", "7", "--region", "0,5,10,20", "a.png"});
    EXPECT_TRUE(pieces.Method.Details);
    EXPECT_EQ(pieces.Shape.MinPixels, 7u);
    EXPECT_EQ(*pieces.Shape.Region, (TMaskRect{0, 5, 10, 20}));

    EXPECT_EQ(RefusalOf({"--threshold", "90", "--colour", "red", "a.png"}),
              "--threshold chooses the shape by its luminance; give it without --colour and --tolerance");
    EXPECT_EQ(RefusalOf({"--light", "a.png"}), "--light goes with --threshold");
    EXPECT_EQ(RefusalOf({"--dark", "--light", "--threshold", "9", "a.png"}),
              "--dark and --light contradict each other; give one");
    EXPECT_EQ(RefusalOf({"--threshold", "256", "a.png"}), "--threshold: '256' is not otsu or a luminance from 0 to 255");
    EXPECT_EQ(RefusalOf({"--min-pixels", "5", "a.png"}), "--min-pixels goes with --objects");
    for (const std::string region : {"1,2,3", "1,2,3,0", "1,2,3,4,5", "1,,3,4", "-1,2,3,4", "1,2,3,x"})
        EXPECT_EQ(RefusalOf({"--region", region, "a.png"}),
                  "--region: '" + region + "' is not X,Y,W,H: four whole numbers, the width and height at least 1");
}

}  // namespace
