#include "app/window/graph_setup.h"

#include "graph/control/zemplot.h"

namespace {

constexpr TColor kGreen = 32768;

void SetAnalysisAxis(TAxis& axis, const std::string& title)
{
    axis.SetTitle(title);
    axis.SetMax(1.0);
    axis.SetStepSize(1.0);
    axis.SetAutoLabelDecimals(false);
    axis.SetLogScale(false);
    axis.SetReversed(false);
    axis.SetAutoSizing(false);
    axis.SetAutoStepping(false);
    axis.SetShowAxis(true);
    axis.SetGridlines(true);
    axis.SetOffsetType(ao_Minimum);
    axis.SetDateTickType(dt_minute);
    axis.SetDateTimeFormat("dd-mmm");
}

}  // namespace

void SetInitialSecondAxis(TAxis& axis)
{
    axis.SetMin(0.0);
    axis.SetTitle("Second Y axis");
    axis.SetMax(1.0);
    axis.SetStepSize(0.2);
    axis.SetShowAxis(false);
    axis.SetReversed(true);
    axis.SetOffsetType(ao_Maximum);
    axis.SetGridlines(false);
    axis.SetAutoLabelDecimals(false);
    axis.SetLogScale(false);
    axis.SetAutoSizing(false);
    axis.SetAutoStepping(false);
    axis.SetDateTickType(dt_minute);
    axis.SetDateTimeFormat("dd-mmm");
}

void SetInitialLegend(TLegend& legend)
{
    legend.Setvisible(false);
    legend.SetLayout(lsAcross);
    legend.Settop(10);
    legend.Setleft(10);
    legend.Setwidth(180);
    legend.Setheight(20);
    legend.Setfont({.Name = "Arial", .Height = -8, .Color = clBlack, .Style = 0});
}

void SetResultSeriesLegend(TSeries& series)
{
    series.SetSeriesName("New Series 1");
    series.SetShowInLegend(0);
}

namespace {

void SetResultSeries(TSeries& series)
{
    SetResultSeriesLegend(series);
    series.SetRegressionType(1);
    series.SetRegressionControlValue1(100);
    series.SetRegressionControlValue2(0.05);
    series.SetNumericalTolerance(0.0);
    series.SetDuplicatesAllowed(false);
    series.SetAutoZero(false);
    series.SetZeroValue(0.0);
    series.SetDataSource(0);
    series.SetDatasourceInfo("");
    series.SetDivideTextByWidth(false);
    series.SetFileHasHeaders(1);
    series.SetTextSeparators("\t");
    series.SetTextMarkers("'\"");
    series.SetXDataColumn("(col 0)");
    series.SetYDataColumn("(col 1)");
    series.SetRowSamplingFrequency(1);
    series.SetColumnWidth(10);
    series.SetRowChoiceMode(0);
    series.SetRowChoiceValue1(0.0);
    series.SetRowChoiceValue2(0.0);
    series.SetXFormat(0);
    series.SetYFormat(0);

    series.SetActive(true);
    series.SetDrawLine(false);
    series.SetDrawPoints(true);
    series.SetFillPoints(true);
    series.SetLineColor(kGreen);
    series.SetPointColor(kGreen);
    series.SetBoundLineColor(clBlack);
    series.SetPointShape(2); // diamond
    series.SetLineStyle(psSolid);
    series.SetPointSize(6);
    series.SetUpperBound(0.0);
    series.SetLowerBound(0.0);
    series.SetBoundsMode(0);
    series.SetBoundLineMode(psDashDot);
    series.SetRegressionLineColor(clBlack);
    series.SetRegressionLineStyle(psSolid);
}

}  // namespace

void SetInitialGraphSettings(TZemplot& graph)
{
    // One paint at the end instead of one per setting.
    graph.SetPlotting(false);
    SetAnalysisAxis(graph.XAxis(), "log(d)");
    SetAnalysisAxis(graph.YAxis(), "log(N(d))");
    SetInitialSecondAxis(graph.YAxis_Second());

    TDimensions& dimensions = graph.Dimensions();
    dimensions.SetBottomMargin(50);
    dimensions.SetLeftMargin(50);
    dimensions.SetXAxisTitleOffset(5);
    dimensions.SetYAxisTitleOffset(10);

    TAppearance& appearance = graph.Appearance();
    appearance.SetBackgroundColor(clWhite);
    appearance.SetMarginColor(clWhite);
    appearance.SetPrintBkgndColor(false);
    appearance.SetCrossAtZero(true);
    appearance.SetErrorCaption("MAX/MIN VALUES INCONSISTENT");
    appearance.SetGraphTitle("Fractal Graph");
    const TFontAttributes titleFont{.Name = "Arial", .Height = -17, .Color = clBlack, .Style = 0};
    appearance.SetTitleFont(titleFont);
    appearance.SetCaptionFont(titleFont);
    appearance.SetLabelFont({.Name = "Arial", .Height = -13, .Color = clBlack, .Style = 0});

    SetInitialLegend(graph.Legend());

    SetResultSeries(graph.Series(1));
    graph.SetPlotting(true);
}
