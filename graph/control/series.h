#pragma once

#include <cstdint>

#include "graph/control/graph_types.h"
#include "graph/data/data_series.h"

class TAxis;
class TZemplot;

// Kinds of point symbol, by PointShape.
inline constexpr uint8_t kShapeSquare = 0;
inline constexpr uint8_t kShapeCircle = 1;
inline constexpr uint8_t kShapeDiamond = 2;
inline constexpr uint8_t kShapePlus = 3;
inline constexpr uint8_t kShapeStepLine = 4; // a horizontal staircase instead of symbols

// One plotted series of a graph: the point store with how it looks and how it is
// drawn (joining line, symbols or step line, bound lines, regression line, legend
// entry). Every change of the points or the look repaints the graph while it plots.
class TSeries : public TDataSeries {
public:
    static constexpr int32_t kChangeHeldBack = 3; // the changes made while Updating
    static constexpr int32_t kChangeDisplay = 5;

    // Made by the graph's NewSeries, which links it into the graph's list. The look
    // starts from defaults that depend on the number.
    TSeries(TZemplot& graph, int32_t number);
    // Unlinks the series from its graph, then raises the graph's OnDeleteSeries.
    ~TSeries() override;

    int32_t Number() const { return FNumber; }
    TZemplot& Graph() const { return FGraph; }
    TSeries* Next() const { return FNext; }

    // The y axis the series is drawn against: the graph's YAxis or YAxis_Second.
    TAxis& Axis() const { return *FAxis; }
    void SetAxis(TAxis& axis);

    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool DrawLine() const { return FDrawLine; }
    void SetDrawLine(bool value);
    bool DrawPoints() const { return FDrawPoints; }
    void SetDrawPoints(bool value);
    bool FillPoints() const { return FFillPoints; }
    void SetFillPoints(bool value);
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor value);
    TColor PointColor() const { return FPointColor; }
    void SetPointColor(TColor value);
    TColor BoundLineColor() const { return FBoundLineColor; }
    void SetBoundLineColor(TColor value);
    uint8_t PointShape() const { return FPointShape; }
    // Symbols keep an even size of at least 2.
    void SetPointShape(uint8_t value);
    TPenStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(TPenStyle value);
    TPenStyle BoundLineMode() const { return FBoundLineMode; }
    void SetBoundLineMode(TPenStyle value);
    uint16_t PointSize() const { return FPointSize; }
    // Below 2 becomes 2 and odd sizes grow by one, except for the step line, whose
    // size is its pen width.
    void SetPointSize(uint16_t value);
    double UpperBound() const { return FUpperBound; }
    void SetUpperBound(double value); // repaints only while BoundsMode shows it
    double LowerBound() const { return FLowerBound; }
    void SetLowerBound(double value);
    // 0 none; 1 UpperBound and LowerBound; 2, 3, 4: mean +- 1, 2, 3 x variance of y;
    // 5: the lines of 2, 3 and 4.
    uint8_t BoundsMode() const { return FBoundsMode; }
    void SetBoundsMode(uint8_t value);
    // 0 not listed; 1 name; 2 name and symbol; 3 name and line; 4 name, line, symbol.
    uint8_t ShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(uint8_t value);
    TColor RegressionLineColor() const { return FRegressionLineColor; }
    void SetRegressionLineColor(TColor value); // repaints only while a regression is drawn
    TPenStyle RegressionLineStyle() const { return FRegressionLineStyle; }
    void SetRegressionLineStyle(TPenStyle value);

    // While on, changes are not passed on; switching it off passes one notice for
    // all of them.
    bool Updating() const { return FUpdating; }
    void SetUpdating(bool value);

    // Fills the series from its source with one repaint at the end.
    void LoadFromSource() override;

    void Changed(int32_t kind) override;
    void TooManyPoints() override;

    // Draws the series on the graph's drawing canvas.
    void DrawSeries();
    // The legend entry with its top-left corner at (x, y): the name after the symbol
    // space, then the line sample and the symbol that ShowInLegend asks for.
    void DrawLegendEntry(int32_t x, int32_t y, int32_t symbolSpace, int32_t textHeight);

private:
    friend class TZemplot; // links the list

    template <typename T>
    void ChangeDisplay(T& field, const T& value);
    void KeepPointSizeEven();

    int32_t ScreenY(double y) const;
    int32_t SymbolHalfSize() const;
    void DrawSeriesLine();
    void DrawRegressionLine();
    void DrawBoundLines();
    void DrawSymbols();
    void DrawStepLine();
    void DrawSymbol(int32_t x, int32_t y, int32_t halfSize, uint8_t shape);

    TSeries* FNext = nullptr;
    TZemplot& FGraph;
    TAxis* FAxis;
    bool FActive = true;
    bool FDrawLine = true;
    bool FDrawPoints = true;
    bool FFillPoints = true;
    bool FUpdating = false;
    bool FChangePending = false;
    TColor FLineColor = 0;
    TColor FPointColor = 0;
    TColor FBoundLineColor = clBlack;
    uint8_t FPointShape = kShapeSquare;
    TPenStyle FLineStyle = psSolid;
    TPenStyle FBoundLineMode = psDashDot;
    int32_t FNumber;
    uint16_t FPointSize = 4;
    double FUpperBound = 0.0;
    double FLowerBound = 0.0;
    uint8_t FBoundsMode = 0;
    uint8_t FShowInLegend = 0;
    TColor FRegressionLineColor = 0x808080;
    TPenStyle FRegressionLineStyle = psDot;
};
