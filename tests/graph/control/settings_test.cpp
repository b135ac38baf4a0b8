#include <gtest/gtest.h>

#include "tests/graph/control/fake_graph_owner.h"

namespace {

TEST(Appearance, MinStepsAndMaxStepsTakeOnlyValuesThatLeaveRoomBetweenThem)
{
    TFakeGraphOwner graph;
    TAppearance& appearance = graph.Appearance_;
    appearance.SetMinSteps(20); // 0.4 x 50 is not above 20
    EXPECT_EQ(appearance.MinSteps(), 5);
    appearance.SetMinSteps(0);
    EXPECT_EQ(appearance.MinSteps(), 5);
    appearance.SetMaxSteps(12); // not above 2.5 x 5
    EXPECT_EQ(appearance.MaxSteps(), 50);
    appearance.SetMaxSteps(13);
    EXPECT_EQ(appearance.MaxSteps(), 13);
    appearance.SetMaxSteps(91);
    EXPECT_EQ(appearance.MaxSteps(), 13);
    appearance.SetMaxSteps(90);
    EXPECT_EQ(appearance.MaxSteps(), 90);
    appearance.SetMinSteps(19);
    EXPECT_EQ(appearance.MinSteps(), 19);
    EXPECT_EQ(graph.Paints, 7); // refused or not, every call repaints
}

TEST(Dimensions, PrintPercentagesAreClampedAndDoNotRepaint)
{
    TFakeGraphOwner graph;
    TDimensions& dimensions = graph.Dimensions_;
    dimensions.SetPrintScalePct(5);
    EXPECT_EQ(dimensions.PrintScalePct(), 20);
    dimensions.SetPrintScalePct(150);
    EXPECT_EQ(dimensions.PrintScalePct(), 100);
    dimensions.SetPrintXOffsetPct(300);
    EXPECT_EQ(dimensions.PrintXOffsetPct(), 100);
    dimensions.SetPrintYOffsetPct(30);
    EXPECT_EQ(dimensions.PrintYOffsetPct(), 30);
    EXPECT_EQ(graph.Paints, 0);
}

TEST(Dimensions, TickLengthZeroSwitchesTicksOffForGood)
{
    TFakeGraphOwner graph;
    graph.Dimensions_.SetTickLength(0);
    EXPECT_FALSE(graph.Appearance_.ShowTicks());
    graph.Dimensions_.SetTickLength(4);
    EXPECT_FALSE(graph.Appearance_.ShowTicks());
    EXPECT_EQ(graph.Dimensions_.TickLength(), 4);
}

TEST(Appearance, AllowDuplicatesReachesEverySeriesAndRepaintsEvenWhenNotPlotting)
{
    TFakeGraphOwner graph;
    TDataSeries a, b, c;
    graph.Series = {&a, &b, &c};
    graph.IsPlotting = false;
    graph.Appearance_.SetAllowDuplicates(true);
    EXPECT_TRUE(a.DuplicatesAllowed() && b.DuplicatesAllowed() && c.DuplicatesAllowed());
    EXPECT_EQ(graph.Paints, 1);
}

TEST(Settings, RepaintOnlyWhilePlottingAndNotForUnchangedValues)
{
    TFakeGraphOwner graph;
    graph.Appearance_.SetGraphTitle("A");
    graph.Legend.Setwidth(150);
    graph.Legend.Setwidth(150);         // unchanged
    graph.Appearance_.SetShowMarks(false); // unchanged
    graph.Appearance_.SetPrintLineStyle(false);
    graph.Appearance_.SetPrintBkgndColor(true);
    EXPECT_EQ(graph.Paints, 2);

    graph.IsPlotting = false;
    graph.Dimensions_.SetLeftMargin(60);
    graph.Legend.Settop(99);
    EXPECT_EQ(graph.Paints, 2);
    EXPECT_EQ(graph.Dimensions_.LeftMargin(), 60);
    EXPECT_EQ(graph.Legend.top(), 99);
}

TEST(Appearance, ErrorCaptionRepaintsOnlyWhileItIsShown)
{
    TFakeGraphOwner graph;
    graph.Appearance_.SetErrorCaption("bad");
    EXPECT_EQ(graph.Paints, 0);
    graph.ScalesAreValid = false;
    graph.Appearance_.SetErrorCaption("worse");
    EXPECT_EQ(graph.Paints, 1);
    EXPECT_EQ(graph.Appearance_.ErrorCaption(), "worse");
}

TEST(Fonts, SettersCopyIntoTheOwnedFontAndEditsRepaint)
{
    TFakeGraphOwner graph;
    TFont given({"Courier", -12, clRed, fsBold});
    graph.Appearance_.SetTitleFont(given.Attributes());
    EXPECT_EQ(graph.Paints, 1);
    given.SetName("Times");
    EXPECT_EQ(graph.Appearance_.TitleFont().Name(), "Courier");

    graph.Appearance_.LabelFont().SetHeight(-20);
    EXPECT_EQ(graph.Paints, 2);
    graph.Appearance_.LabelFont().SetHeight(-20); // unchanged
    EXPECT_EQ(graph.Paints, 2);

    graph.Legend.Setfont(given.Attributes()); // no repaint of its own
    EXPECT_EQ(graph.Paints, 2);
    EXPECT_EQ(graph.Legend.font().Name(), "Times");
    graph.Legend.font().SetStyle(fsItalic);
    EXPECT_EQ(graph.Paints, 3);

    graph.IsPlotting = false;
    graph.Appearance_.CaptionFont().SetColor(clGreen);
    EXPECT_EQ(graph.Paints, 3);
}

TEST(Fonts, SizeInPointsFollowsTheHeightAtNinetySixPixelsPerInch)
{
    TFont font;
    EXPECT_EQ(font.Size(), 7); // height -9
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
}

TEST(Settings, ResetTakesTheControlsColourAndWidthAndKeepsFontsAndPrintBackground)
{
    TFakeGraphOwner graph;
    graph.Appearance_.SetPrintBkgndColor(true);
    graph.Appearance_.TitleFont().SetName("Courier");
    graph.Appearance_.SetGraphTitle("changed");
    graph.Appearance_.ResetDefaults(0x123456);
    graph.Legend.ResetDefaults(graph.Appearance_.BackgroundColor(), 300);
    EXPECT_EQ(graph.Appearance_.BackgroundColor(), 0x123456u);
    EXPECT_EQ(graph.Appearance_.MarginColor(), 0x123456u);
    EXPECT_EQ(graph.Appearance_.GraphTitle(), "Zemplot 3.01");
    EXPECT_TRUE(graph.Appearance_.PrintBkgndColor());
    EXPECT_EQ(graph.Appearance_.TitleFont().Name(), "Courier");
    EXPECT_EQ(graph.Legend.color(), 0x123456u);
    EXPECT_EQ(graph.Legend.width(), 280);
    EXPECT_EQ(TFakeGraphOwner().Legend.width(), 180);
}

// Every published property read from one object and written into another gives the
// same value: getters and setters are wired to the same field.
template <typename TObject>
void ExpectPublishedRoundTrip(TObject& source, TObject& target)
{
    for (const auto& property : TObject::Published())
        property.Set(target, property.Get(source));
    for (const auto& property : TObject::Published())
        EXPECT_EQ(property.Get(target), property.Get(source)) << property.Name;
}

TEST(Published, EveryPropertyReadsBackWhatWasWritten)
{
    TFakeGraphOwner from, to;
    from.Dimensions_.SetLeftMargin(1);
    from.Dimensions_.SetRightMargin(2);
    from.Dimensions_.SetTopMargin(3);
    from.Dimensions_.SetBottomMargin(4);
    from.Dimensions_.SetTickLength(5);
    from.Dimensions_.SetXAxisTitleOffset(6);
    from.Dimensions_.SetXAxisLabelOffset(7);
    from.Dimensions_.SetYAxisTitleOffset(8);
    from.Dimensions_.SetYAxisLabelOffset(9);
    from.Dimensions_.SetGraphTitleOffset(10);
    from.Dimensions_.SetPrintXOffsetPct(11);
    from.Dimensions_.SetPrintYOffsetPct(12);
    from.Dimensions_.SetPrintScalePct(33);
    ExpectPublishedRoundTrip(from.Dimensions_, to.Dimensions_);

    from.Appearance_.SetAxesColor(1);
    from.Appearance_.SetBackgroundColor(2);
    from.Appearance_.SetMarginColor(3);
    from.Appearance_.SetGridColor(4);
    from.Appearance_.SetCrossColor(5);
    from.Appearance_.SetGridStyle(psDashDot);
    from.Appearance_.SetCrosslength(9);
    from.Appearance_.TitleFont().SetName("A");
    from.Appearance_.CaptionFont().SetName("B");
    from.Appearance_.LabelFont().SetName("C");
    from.Appearance_.SetCrossAtZero(false);
    from.Appearance_.SetShowMarks(true);
    ExpectPublishedRoundTrip(from.Appearance_, to.Appearance_);

    from.Legend.Setvisible(true);
    from.Legend.SetborderStyle(bsSingle);
    from.Legend.SetLayout(lsDown);
    from.Legend.Settop(1);
    from.Legend.Setleft(2);
    from.Legend.Setheight(3);
    from.Legend.SetSymbolSpace(4);
    from.Legend.SetXMargin(5);
    from.Legend.SetYMargin(6);
    from.Legend.font().SetName("D");
    ExpectPublishedRoundTrip(from.Legend, to.Legend);

    from.YAxis_.SetTitle("t");
    from.YAxis_.SetLabelDecimals(3);
    from.YAxis_.SetLogCycleDivisions(7);
    from.YAxis_.SetMax(9);
    from.YAxis_.SetMin(-9);
    from.YAxis_.SetStepSize(3);
    from.YAxis_.SetDateTickType(dt_weekly);
    from.YAxis_.SetOffsetType(ao_percentage);
    from.YAxis_.SetOffset(50);
    from.YAxis_.SetAutoSizing(true);
    ExpectPublishedRoundTrip(from.YAxis_, to.YAxis_);
}

}  // namespace
