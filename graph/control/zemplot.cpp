#include "graph/control/zemplot.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>

#include <QPainter>
#include <QtGlobal>

#include "graph/core/integer_conventions.h"

namespace {

// Beyond this many pixels from an axis's start a position is clamped, so that a
// value far off the plot still gives a line the canvas can draw.
constexpr double kFarthestPixel = 20000.0;

int32_t ClampedPixels(double distance, double pixelsPerUnit, int32_t start)
{
    const double d = distance * pixelsPerUnit;
    if (std::fabs(d) > kFarthestPixel)
        return d > 0 ? static_cast<int32_t>(kFarthestPixel) : -static_cast<int32_t>(kFarthestPixel);
    return Rounded(d) + start;
}

int32_t VerticalPixels(const TAxis& axis, double y, int32_t start)
{
    const double distance = axis.LogScale() ? std::log(axis.Max()) - std::log(y) : axis.Max() - y;
    return ClampedPixels(distance, axis.PixelsPerUnit(), start);
}

double VerticalValue(const TAxis& axis, int32_t py, int32_t topMargin)
{
    const double units = (topMargin - py) / axis.PixelsPerUnit();
    return axis.LogScale() ? axis.Max() * std::exp(units) : axis.Max() + units;
}

// Paints on the control's own canvas and ends on every path. A paint started by a
// handler inside another paint draws with the painter already there and leaves it
// to the outer paint to end.
class TPaintSession {
public:
    TPaintSession(TQtCanvas& canvas, QImage& image)
        : FCanvas(canvas), FOuter(!canvas.Active())
    {
        if (FOuter)
            FCanvas.Begin(image);
    }
    ~TPaintSession()
    {
        if (FOuter)
            FCanvas.End();
    }
    TPaintSession(const TPaintSession&) = delete;
    TPaintSession& operator=(const TPaintSession&) = delete;

private:
    TQtCanvas& FCanvas;
    bool FOuter;
};

}  // namespace

TZemplot::TZemplot(QWidget* parent)
    : QWidget(parent), FDimensions(*this), FAppearance(*this, FFont), FXAxis(*this), FYAxis(*this),
      FYAxis_Second(*this), FLegend(*this, FFont)
{
    resize(200, 200);
    FOwnCanvas.SetFont(FFont);
    FPlotting = true;
    ResetDefaults();
}

TZemplot::~TZemplot()
{
    while (FFirstSeries != nullptr)
        delete FFirstSeries; // unlinks itself
}

void TZemplot::ResetDefaults()
{
    FXAxis.ResetDefaults(TAxisRole::X);
    FYAxis.ResetDefaults(TAxisRole::Y);
    FYAxis_Second.ResetDefaults(TAxisRole::SecondY);
    FDimensions.ResetDefaults();
    FAppearance.ResetDefaults(FColor);
    FLegend.ResetDefaults(FAppearance.BackgroundColor(), width());
    FZoomed = false;
}

void TZemplot::Paint()
{
    FDrawWidth = static_cast<uint16_t>(width());
    FDrawHeight = static_cast<uint16_t>(height());
    if (FDrawCanvas != &FOwnCanvas) {
        // A paint started while the graph is drawn elsewhere (a setter called from
        // OnPaintEnd during an export) draws there.
        DrawGraph();
        return;
    }
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (FBackingImage.size() != size && !FOwnCanvas.Active())
        FBackingImage = QImage(size, QImage::Format_RGB32);
    {
        TPaintSession session(FOwnCanvas, FBackingImage);
        FBackingImage.fill(ToQColor(FColor));
        DrawGraph();
    }
    update();
}

void TZemplot::DrawOn(TCanvas& canvas, TCanvas& measureCanvas, uint16_t width, uint16_t height)
{
    DrawElsewhere(canvas, measureCanvas, width, height, false);
}

void TZemplot::DrawElsewhere(TCanvas& canvas, TCanvas& measureCanvas, uint16_t width, uint16_t height,
                             bool exporting)
{
    struct TRestore {
        TZemplot& Graph;
        uint16_t Width;
        uint16_t Height;
        ~TRestore()
        {
            Graph.FDrawCanvas = &Graph.FOwnCanvas;
            Graph.FMeasureCanvas = &Graph.FOwnCanvas;
            Graph.FDrawWidth = Width;
            Graph.FDrawHeight = Height;
        }
    } restore{*this, FDrawWidth, FDrawHeight};
    FDrawCanvas = &canvas;
    FMeasureCanvas = &measureCanvas;
    FDrawWidth = width;
    FDrawHeight = height;
    DrawGraph();
    // An export tells the handler once more, now with the export's canvas; what the
    // handler raises then must not spoil the export.
    if (exporting && FOnPaintEnd) {
        try {
            FOnPaintEnd(*this, canvas);
        } catch (...) {
        }
    }
}

void TZemplot::paintEvent(QPaintEvent*)
{
    if (FBackingImage.size() != size()) {
        // The window system's paint has no caller to hand an error to.
        try {
            Paint();
        } catch (const std::exception& error) {
            if (FOnPaintError)
                FOnPaintError(error);
            else
                qWarning("%s", error.what());
        }
    }
    QPainter painter(this);
    painter.drawImage(0, 0, FBackingImage);
    if (FBorderStyle == bsSingle) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    // The band lies over the picture, never in it: white under black dots shows
    // on any background.
    if (FBand != TBandRect{}) {
        const QPoint corners[] = {{FBand.Left, FBand.Top}, {FBand.Right, FBand.Top}, {FBand.Right, FBand.Bottom},
                                  {FBand.Left, FBand.Bottom}, {FBand.Left, FBand.Top}};
        painter.setPen(QPen(Qt::white, 0));
        painter.drawPolyline(corners, 5);
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.drawPolyline(corners, 5);
    }
}

void TZemplot::SetPlotting(bool value)
{
    FPlotting = value;
    Paint();
    if (value)
        DoRescale();
}

void TZemplot::SetColor(TColor value)
{
    FColor = value;
    Repaint();
}

void TZemplot::SetDecimalSeparator(const std::string& value)
{
    FDecimalSeparator = value;
    Repaint();
}

void TZemplot::SetBorderStyle(TBorderStyle value)
{
    FBorderStyle = value;
    update();
}

TSeries& TZemplot::Series(int32_t number)
{
    for (TSeries* series = FFirstSeries; series != nullptr; series = series->FNext)
        if (series->FNumber == number)
            return *series;
    return NewSeries(number);
}

TSeries& TZemplot::NewSeries(int32_t number)
{
    auto* series = new TSeries(*this, number);
    if (FLastSeries == nullptr || FLastSeries->FNumber < number) {
        (FLastSeries == nullptr ? FFirstSeries : FLastSeries->FNext) = series;
        FLastSeries = series;
    } else {
        TSeries** link = &FFirstSeries;
        while ((*link)->FNumber < number)
            link = &(*link)->FNext;
        series->FNext = *link;
        *link = series;
    }
    if (FOnNewSeries)
        FOnNewSeries(this, number);
    return *series;
}

void TZemplot::Unlink(TSeries& series)
{
    TSeries* previous = nullptr;
    for (TSeries** link = &FFirstSeries; *link != nullptr; link = &(*link)->FNext) {
        if (*link == &series) {
            *link = series.FNext;
            if (FLastSeries == &series)
                FLastSeries = previous;
            return;
        }
        previous = *link;
    }
}

void TZemplot::DeleteAllSeries()
{
    const bool plotting = FPlotting;
    FPlotting = false;
    while (FFirstSeries != nullptr)
        delete FFirstSeries;
    FPlotting = plotting;
    if (plotting)
        Paint();
}

void TZemplot::ForEachSeries(const std::function<void(TDataSeries&)>& action)
{
    for (TSeries* series = FFirstSeries; series != nullptr; series = series->FNext)
        action(*series);
}

void TZemplot::SetMark(int32_t id, double x1Value, double y1Value, double x2Value, double y2Value, TColor color,
                       const std::string& caption, uint8_t typeOfMark, bool whenDrawn)
{
    auto mark = std::lower_bound(FMarks.begin(), FMarks.end(), id,
                                 [](const TZemplotMark& m, int32_t key) { return m.ID < key; });
    const TZemplotMark stored{id, x1Value, y1Value, x2Value, y2Value, color, caption, typeOfMark, whenDrawn};
    if (mark == FMarks.end() || mark->ID != id)
        FMarks.insert(mark, stored);
    else
        *mark = stored;
    Repaint();
}

void TZemplot::AddMarks(std::vector<TZemplotMark> marks)
{
    // One sort instead of an insertion each: marks stored in falling ID order would
    // otherwise cost a move of every mark already there, per mark.
    FMarks.insert(FMarks.end(), std::make_move_iterator(marks.begin()), std::make_move_iterator(marks.end()));
    const auto byID = [](const TZemplotMark& a, const TZemplotMark& b) { return a.ID < b.ID; };
    std::stable_sort(FMarks.begin(), FMarks.end(), byID);
    // Of marks with one ID the one added last stays, as SetMark replaces: walking
    // backwards, unique keeps the first it meets.
    const auto sameID = [](const TZemplotMark& a, const TZemplotMark& b) { return a.ID == b.ID; };
    FMarks.erase(FMarks.begin(), std::unique(FMarks.rbegin(), FMarks.rend(), sameID).base());
    Repaint();
}

void TZemplot::ClearMarks()
{
    FMarks.clear();
    Repaint();
}

bool TZemplot::AxisHasData(const TAxis* axis) const
{
    for (const TSeries* series = FFirstSeries; series != nullptr; series = series->FNext)
        if (series->Count() > 0 && (axis == nullptr || axis == &FXAxis || axis == series->FAxis))
            return true;
    return false;
}

void TZemplot::DoRescale()
{
    if (FPlotting && FScalesValid && FOnRescale)
        FOnRescale(*this);
}

int32_t TZemplot::XToScreen(double x) const
{
    const double distance = FXAxis.LogScale() ? std::log(x) - std::log(FXAxis.Min()) : x - FXAxis.Min();
    return ClampedPixels(distance, FXAxis.PixelsPerUnit(), FDimensions.LeftMargin() + FOriginX);
}

int32_t TZemplot::YToScreen(double y) const
{
    return VerticalPixels(FYAxis, y, FDimensions.TopMargin() + FOriginY);
}

int32_t TZemplot::Y2ToScreen(double y) const
{
    return VerticalPixels(FYAxis_Second, y, FDimensions.TopMargin() + FOriginY);
}

double TZemplot::ScreenToX(int32_t px) const
{
    const double units = (px - FDimensions.LeftMargin()) / FXAxis.PixelsPerUnit();
    return FXAxis.LogScale() ? FXAxis.Min() * std::exp(units) : FXAxis.Min() + units;
}

double TZemplot::ScreenToY(int32_t py) const { return VerticalValue(FYAxis, py, FDimensions.TopMargin()); }
double TZemplot::ScreenToY2(int32_t py) const { return VerticalValue(FYAxis_Second, py, FDimensions.TopMargin()); }

void TZemplot::ClipToPlot()
{
    FDrawCanvas->ClipRect(FOriginX + FDimensions.LeftMargin(), FOriginY + FDimensions.TopMargin(),
                          FOriginX + FDrawWidth - FDimensions.RightMargin() + 1,
                          FOriginY + FDrawHeight - FDimensions.BottomMargin() + 1);
}

void TZemplot::ClipToGraph()
{
    FDrawCanvas->ClipRect(FOriginX, FOriginY, FOriginX + FDrawWidth + 1, FOriginY + FDrawHeight + 1);
}

void TZemplot::DrawSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    FDrawCanvas->MoveTo(x1, y1);
    FDrawCanvas->LineTo(x2, y2);
}
