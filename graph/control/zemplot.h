#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <QImage>
#include <QWidget>

#include "graph/control/appearance.h"
#include "graph/control/axis.h"
#include "graph/control/dimensions.h"
#include "graph/control/graph_events.h"
#include "graph/control/graph_owner.h"
#include "graph/control/legend.h"
#include "graph/control/qt_canvas.h"
#include "graph/control/series.h"
#include "graph/control/zemplot_mark.h"

class QSvgGenerator;
class TMemoryStream;

// A rectangle by its edges, as the zoom and legend bands are kept.
struct TBandRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    bool operator==(const TBandRect&) const = default;
};

// The name of the clipboard format that holds a graph stream.
inline constexpr const char* kZemplotClipboardFormat = "Internal Zemplot Format";

// How the panel under the graph sits in its parent and what its edge looks like.
// They are kept and stored with the control; the graph's margins cover the whole
// face, so they change nothing that is drawn.
enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// The plotting control: three axes, the settings objects, a list of series ordered
// by number and a list of marks, painted synchronously: every change of a setting
// redraws the whole graph into the control's backing image before the setter
// returns, so an error of drawing reaches the code that made the change.
class TZemplot : public QWidget, public TGraphOwner {
public:
    explicit TZemplot(QWidget* parent = nullptr);
    ~TZemplot() override;
    TZemplot(const TZemplot&) = delete;
    TZemplot& operator=(const TZemplot&) = delete;

    // The default settings, assigned directly: nothing is painted, no event raised.
    void ResetDefaults();

    // Draws the graph into the backing image at the control's size and shows it.
    void Paint() override;
    bool Plotting() const override { return FPlotting; }
    // Repaints; switching on also tells the program of the new scales.
    void SetPlotting(bool value);

    // The series with that number, made when there is none.
    TSeries& Series(int32_t number);
    // A new series, linked in before the first one whose number is not smaller.
    TSeries& NewSeries(int32_t number);
    void DeleteAllSeries();
    TSeries* FirstSeries() const { return FFirstSeries; }

    // Stores the mark with that ID, replacing one that has it.
    void SetMark(int32_t id, double x1Value, double y1Value, double x2Value, double y2Value, TColor color,
                 const std::string& caption, uint8_t typeOfMark, bool whenDrawn);
    void ClearMarks();
    const std::vector<TZemplotMark>& Marks() const { return FMarks; }

    bool AxisHasData(const TAxis* axis) const override;
    void DoRescale() override;
    bool ScalesValid() const override { return FScalesValid; }

    // Data values to device pixels of the drawing canvas; beyond 20000 pixels from
    // the axis's start the result is +-20000, so that lines far off the plot stay
    // drawable.
    int32_t XToScreen(double x) const;
    int32_t YToScreen(double y) const;
    int32_t Y2ToScreen(double y) const;
    // Positions on the control to data values.
    double ScreenToX(int32_t px) const;
    double ScreenToY(int32_t py) const;
    double ScreenToY2(int32_t py) const;
    // Clip to the plot rectangle with its right and bottom edge, or to the drawing area.
    void ClipToPlot();
    void ClipToGraph();
    void DrawSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    // The painting pipeline and its steps.
    void DrawGraph();
    void UpdateDataRanges();
    bool ScaleAxes();
    void CalcAllMetrics();
    // Draws the graph at the given size on another canvas (a picture, a recording),
    // measuring text on `measureCanvas`; the control's own canvas and size are put
    // back whatever happens.
    void DrawOn(TCanvas& canvas, TCanvas& measureCanvas, uint16_t width, uint16_t height);

    TAxis& XAxis() { return FXAxis; }
    const TAxis& XAxis() const override { return FXAxis; }
    TAxis& YAxis() { return FYAxis; }
    const TAxis& YAxis() const { return FYAxis; }
    TAxis& YAxis_Second() { return FYAxis_Second; }
    const TAxis& YAxis_Second() const { return FYAxis_Second; }
    TDimensions& Dimensions() { return FDimensions; }
    const TDimensions& Dimensions() const override { return FDimensions; }
    TAppearance& Appearance() override { return FAppearance; }
    const TAppearance& Appearance() const override { return FAppearance; }
    TLegend& Legend() { return FLegend; }
    const TLegend& Legend() const { return FLegend; }

    // What the drawing steps draw with.
    TCanvas& DrawCanvas() const { return *FDrawCanvas; }
    TCanvas& MeasureCanvas() const { return *FMeasureCanvas; }
    int32_t DrawWidth() const override { return FDrawWidth; }
    int32_t DrawHeight() const override { return FDrawHeight; }
    int32_t OriginX() const { return FOriginX; }
    int32_t OriginY() const { return FOriginY; }
    double PrintScale() const { return FPrintScale; }
    void ForEachSeries(const std::function<void(TDataSeries&)>& action) override;

    // The control's face colour, which symbols without fill take, and its font,
    // which the settings objects' fonts start from.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    const TFontAttributes& Font() const { return FFont; }
    // The text between the whole and the decimal places of axis labels.
    const std::string& DecimalSeparator() const { return FDecimalSeparator; }
    void SetDecimalSeparator(const std::string& value);
    // A one-pixel frame around the control on screen.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // Whether the mouse may move and resize the control.
    bool DragAllowed() const { return FDragAllowed; }
    void SetDragAllowed(bool value) { FDragAllowed = value; }
    // What the last Paint drew.
    const QImage& BackingImage() const { return FBackingImage; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value) { FAlign = value; }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value) { FBevelInner = value; }
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value) { FBevelOuter = value; }
    int32_t BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int32_t value) { FBevelWidth = value; }
    int32_t BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int32_t value) { FBorderWidth = value; }

    // The graph stream: every setting, series (with its points when `includePoints`)
    // and mark, written at the stream's position.
    void SaveGraphToStream(TMemoryStream& stream, bool includePoints);
    // Replaces the whole graph with the stream's; Plotting is off while it loads and
    // back as it was on every way out. Leaves the stream after the graph.
    void LoadGraphFromStream(TMemoryStream& stream);
    // Copies another graph into this one through a graph stream; any other object is
    // left alone.
    void Assign(const QObject& source);

    // Exports. Each draws the whole graph through the canvas on its target instead
    // of the control's backing image, raises OnPaintEnd once more (ignoring what that
    // handler raises), and puts the control's own canvas and size back on every way
    // out; the control on screen is not repainted.
    // The graph as SVG, the system's vector picture, at the control's size; the
    // generator's output device or file is the caller's.
    void DrawToMetafile(QSvgGenerator& target);
    // The graph at the target's size; a target of no pixels stays empty, and a
    // drawing that fails leaves the target unchanged.
    void DrawToBitmap(QImage& target);
    // One clipboard entry with the graph stream (with points) under the format
    // "Internal Zemplot Format", the bitmap as an image and the SVG as image/svg+xml.
    void CopyToClipboard();
    // Draws the graph into a file whose kind its extension names: .png, .svg or .pdf
    // (any other raises "Unknown graph file extension (.xyz)"); a file that cannot
    // be written raises "The graph cannot be saved as <path>".
    void SaveGraphAs(const QString& path);

    // The mouse: Shift-drag zooms (a click restores the scales of before the first
    // zoom), Shift-drag on the legend's handle moves it, Ctrl asks for a designer,
    // and a drag from the top-left or bottom-right margin corner moves or resizes
    // the control within its parent while DragAllowed.
    using TMouseEvent = std::function<void(TZemplot& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                           int x, int y)>;
    void SetOnMouseDown(TMouseEvent handler) { FOnMouseDown = std::move(handler); }
    void SetOnMouseMove(TMouseEvent handler) { FOnMouseMove = std::move(handler); }
    void SetOnMouseUp(TMouseEvent handler) { FOnMouseUp = std::move(handler); }
    bool Zoomed() const { return FZoomed; }
    // The zoom or legend band now shown; all 0 when none.
    const TBandRect& Band() const { return FBand; }

    // The counts as last counted for a write or read from a stream.
    uint16_t SeriesCount() const { return FSeriesCount; }
    void SetSeriesCount(uint16_t value) { FSeriesCount = value; }
    uint16_t MarkCount() const { return FMarkCount; }
    void SetMarkCount(uint16_t value) { FMarkCount = value; }
    uint16_t CountSeries();
    uint16_t CountMarks();
    bool IncludePoints() const { return FIncludePoints; }
    // The series block: each series' display and data sections and its points (a
    // count of 0 unless IncludePoints). Reading makes series 1 to SeriesCount.
    void WriteSeriesBlock(TMemoryStream& stream);
    void ReadSeriesBlock(TMemoryStream& stream);
    // The marks block: one section for each mark, in ID order. Reading reads
    // MarkCount of them.
    void WriteMarksBlock(TMemoryStream& stream);
    void ReadMarksBlock(TMemoryStream& stream);

    const TSeriesEvent& OnNewSeries() const { return FOnNewSeries; }
    void SetOnNewSeries(TSeriesEvent handler) { FOnNewSeries = std::move(handler); }
    // Raised by a series' destructor, so the handler must not throw.
    const TSeriesEvent& OnDeleteSeries() const { return FOnDeleteSeries; }
    void SetOnDeleteSeries(TSeriesEvent handler) { FOnDeleteSeries = std::move(handler); }
    const TSeriesEvent& OnTooManyPoints() const { return FOnTooManyPoints; }
    void SetOnTooManyPoints(TSeriesEvent handler) { FOnTooManyPoints = std::move(handler); }
    const TSeriesEvent& OnLogError() const { return FOnLogError; }
    void SetOnLogError(TSeriesEvent handler) { FOnLogError = std::move(handler); }
    const TNotifyEvent& OnRescale() const { return FOnRescale; }
    void SetOnRescale(TNotifyEvent handler) { FOnRescale = std::move(handler); }
    // Kept with the control; nothing raises it.
    const TNotifyEvent& OnScaleError() const { return FOnScaleError; }
    void SetOnScaleError(TNotifyEvent handler) { FOnScaleError = std::move(handler); }
    const TNotifyEvent& OnWantDesigner() const { return FOnWantDesigner; }
    void SetOnWantDesigner(TNotifyEvent handler) { FOnWantDesigner = std::move(handler); }
    const TPaintEvent& OnPaintEnd() const { return FOnPaintEnd; }
    void SetOnPaintEnd(TPaintEvent handler) { FOnPaintEnd = std::move(handler); }
    // A paint that the window system asks for has no caller to take its error:
    // the error goes here (by default to Qt's warning output).
    using TPaintErrorEvent = std::function<void(const std::exception& error)>;
    void SetOnPaintError(TPaintErrorEvent handler) { FOnPaintError = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class TSeries; // unlinks itself from the list

    void Unlink(TSeries& series);
    // Stores the marks as SetMark one after another would, with one repaint.
    void AddMarks(std::vector<TZemplotMark> marks);
    // Draws on another canvas at another size, and puts the control's own back.
    void DrawElsewhere(TCanvas& canvas, TCanvas& measureCanvas, uint16_t width, uint16_t height, bool exporting);
    void DrawSeriesAndMarks();

    TQtCanvas FOwnCanvas;
    QImage FBackingImage;
    TCanvas* FDrawCanvas = &FOwnCanvas;
    TCanvas* FMeasureCanvas = &FOwnCanvas;
    TSeries* FFirstSeries = nullptr;
    // The end of the chain, so that series made in ascending number (as a load
    // makes them) are linked in without a walk along the chain.
    TSeries* FLastSeries = nullptr;
    TColor FColor = clWhite;
    TFontAttributes FFont;
    TDimensions FDimensions;
    TAppearance FAppearance;
    TAxis FXAxis;
    TAxis FYAxis;
    TAxis FYAxis_Second;
    TLegend FLegend;
    std::vector<TZemplotMark> FMarks;
    bool FScalesValid = false;
    bool FPlotting = false;
    double FPrintScale = 1.0;
    uint16_t FOriginX = 0;
    uint16_t FOriginY = 0;
    uint16_t FDrawWidth = 0;
    uint16_t FDrawHeight = 0;
    bool FDragAllowed = true;
    TBorderStyle FBorderStyle = bsSingle;
    TAlign FAlign = alNone;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvNone;
    int32_t FBevelWidth = 1;
    int32_t FBorderWidth = 0;
    uint16_t FSeriesCount = 0;
    uint16_t FMarkCount = 0;
    bool FIncludePoints = true;
    std::string FDecimalSeparator = ".";
    TSeriesEvent FOnNewSeries;
    TSeriesEvent FOnLogError;
    TSeriesEvent FOnTooManyPoints;
    TSeriesEvent FOnDeleteSeries;
    TNotifyEvent FOnRescale;
    TNotifyEvent FOnScaleError;
    TNotifyEvent FOnWantDesigner;
    TPaintEvent FOnPaintEnd;
    TPaintErrorEvent FOnPaintError;
    TMouseEvent FOnMouseDown;
    TMouseEvent FOnMouseMove;
    TMouseEvent FOnMouseUp;

    // Mouse state (zemplot_mouse.cpp).
    TBandRect FBand;
    int32_t FAnchorX = 0;
    int32_t FAnchorY = 0;
    bool FZooming = false;
    bool FMovingLegend = false;
    bool FZoomed = false;
    std::array<bool, 3> FSavedAutoSizing{};
    std::array<double, 3> FSavedMin{};
    std::array<double, 3> FSavedMax{};
    // Moving or resizing the control by a margin corner: the press point in the
    // parent's coordinates and the control's geometry then.
    bool FMovingControl = false;
    bool FResizingControl = false;
    QPoint FDragStart;
    QRect FDragGeometry;
};
