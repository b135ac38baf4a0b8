#include "graph/control/series.h"

#include <string>

#include "graph/control/zemplot.h"

namespace {

struct TNumberedLook {
    TColor Color;
    uint8_t Shape;
    TPenStyle Style;
};

// The first five series tell themselves apart by colour, symbol and line; any
// other number looks like a green circle on a solid line.
TNumberedLook LookOfNumber(int32_t number)
{
    switch (number) {
    case 1: return {clGreen, kShapeSquare, psSolid};
    case 2: return {0xFF0000, kShapeCircle, psDash};
    case 3: return {clRed, kShapeDiamond, psDot};
    case 4: return {0x808080, kShapePlus, psDashDot};
    case 5: return {0x000080, kShapeSquare, psDashDotDot};
    default: return {clGreen, kShapeCircle, psSolid};
    }
}

// Stores a changed value; true when it differed.
template <typename T>
bool StoreChanged(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

}  // namespace

TSeries::TSeries(TZemplot& graph, int32_t number)
    : FGraph(graph), FAxis(&graph.YAxis()), FNumber(number)
{
    SetSeriesName("Series " + std::to_string(number));
    SetDuplicatesAllowed(graph.Appearance().AllowDuplicates());
    const TNumberedLook look = LookOfNumber(number);
    FLineColor = look.Color;
    FPointColor = look.Color;
    FPointShape = look.Shape;
    FLineStyle = look.Style;
    FFillPoints = number < 5;
}

TSeries::~TSeries()
{
    FGraph.Unlink(*this);
    if (const TSeriesEvent& onDelete = FGraph.OnDeleteSeries())
        onDelete(this, FNumber);
}

template <typename T>
void TSeries::ChangeDisplay(T& field, const T& value)
{
    if (StoreChanged(field, value))
        Changed(kChangeDisplay);
}

void TSeries::SetAxis(TAxis& axis) { ChangeDisplay(FAxis, &axis); }
void TSeries::SetActive(bool value) { ChangeDisplay(FActive, value); }
void TSeries::SetDrawLine(bool value) { ChangeDisplay(FDrawLine, value); }
void TSeries::SetDrawPoints(bool value) { ChangeDisplay(FDrawPoints, value); }
void TSeries::SetFillPoints(bool value) { ChangeDisplay(FFillPoints, value); }
void TSeries::SetLineColor(TColor value) { ChangeDisplay(FLineColor, value); }
void TSeries::SetPointColor(TColor value) { ChangeDisplay(FPointColor, value); }
void TSeries::SetBoundLineColor(TColor value) { ChangeDisplay(FBoundLineColor, value); }
void TSeries::SetLineStyle(TPenStyle value) { ChangeDisplay(FLineStyle, value); }
void TSeries::SetBoundLineMode(TPenStyle value) { ChangeDisplay(FBoundLineMode, value); }
void TSeries::SetBoundsMode(uint8_t value) { ChangeDisplay(FBoundsMode, value); }
void TSeries::SetShowInLegend(uint8_t value) { ChangeDisplay(FShowInLegend, value); }

void TSeries::KeepPointSizeEven()
{
    if (FPointShape == kShapeStepLine)
        return;
    if (FPointSize < 2)
        FPointSize = 2;
    if (FPointSize % 2 != 0)
        ++FPointSize;
}

void TSeries::SetPointShape(uint8_t value)
{
    if (!StoreChanged(FPointShape, value))
        return;
    KeepPointSizeEven();
    Changed(kChangeDisplay);
}

void TSeries::SetPointSize(uint16_t value)
{
    if (!StoreChanged(FPointSize, value))
        return;
    KeepPointSizeEven();
    Changed(kChangeDisplay);
}

void TSeries::SetUpperBound(double value)
{
    if (StoreChanged(FUpperBound, value) && FBoundsMode == 1)
        Changed(kChangeDisplay);
}

void TSeries::SetLowerBound(double value)
{
    if (StoreChanged(FLowerBound, value) && FBoundsMode == 1)
        Changed(kChangeDisplay);
}

void TSeries::SetRegressionLineColor(TColor value)
{
    if (StoreChanged(FRegressionLineColor, value) && RegressionType() != 0)
        Changed(kChangeDisplay);
}

void TSeries::SetRegressionLineStyle(TPenStyle value)
{
    if (StoreChanged(FRegressionLineStyle, value) && RegressionType() != 0)
        Changed(kChangeDisplay);
}

void TSeries::SetUpdating(bool value)
{
    if (value == FUpdating)
        return;
    FUpdating = value;
    if (value)
        FChangePending = false;
    else if (FChangePending)
        Changed(kChangeHeldBack);
}

void TSeries::LoadFromSource()
{
    // One repaint for the whole fill, not one for each point. A fill that was
    // already inside an update leaves the notice to it.
    if (FUpdating) {
        TDataSeries::LoadFromSource();
        return;
    }
    SetUpdating(true);
    try {
        TDataSeries::LoadFromSource();
    } catch (...) {
        // The fill's own error is the one to report.
        try {
            SetUpdating(false);
        } catch (...) {
        }
        throw;
    }
    SetUpdating(false);
}

void TSeries::Changed(int32_t kind)
{
    if (FUpdating) {
        FChangePending = true;
        return;
    }
    TDataSeries::Changed(kind);
    if (kind != kChangeDestroying)
        FGraph.Repaint();
}

void TSeries::TooManyPoints()
{
    if (const TSeriesEvent& onTooMany = FGraph.OnTooManyPoints())
        onTooMany(&FGraph, FNumber);
    TDataSeries::TooManyPoints();
}
