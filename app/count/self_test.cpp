#include "app/count/self_test.h"

#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/count/count_report.h"
#include "app/count/picture_analysis.h"
#include "app/engine/box_size_series.h"
#include "app/fractal/mask_image.h"
#include "graph/core/error.h"

namespace {

// Off the corner by amounts that share no factor with the box sizes, so that a grid
// from the corner does not meet the shape's cells by luck.
constexpr int kMarginX = 17;
constexpr int kMarginY = 10;

std::string DrawnPicture(const TReferenceShape& shape, const QTemporaryDir& folder)
{
    const QString path = QDir(folder.path()).filePath(QString::fromUtf8(shape.Name.data(), shape.Name.size()) + ".png");
    QImageWriter writer(path);
    if (!writer.write(MaskImage(WithMargin(shape.Draw(shape.DefaultSize, 1), kMarginX, kMarginY))))
        throw TVandrelError("The self-test could not write " + path.toStdString() + ": " +
                            writer.errorString().toStdString());
    return QFile::encodeName(path).toStdString();
}

std::string Fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

std::vector<TSelfTestResult> RunSelfTest(TMemoryBudget& budget)
{
    const QTemporaryDir folder;
    if (!folder.isValid())
        throw TVandrelError("The self-test could not make a folder for its pictures: " +
                            folder.errorString().toStdString());
    TCountMethod method;
    method.Grid = TGridMode::Min;
    method.Sizes = TSizeSeries::Geometric;
    method.Fit = TFitChoice::Auto;
    method.Details = true;

    std::vector<TSelfTestResult> results;
    for (const TReferenceShape& shape : ReferenceShapes()) {
        TSelfTestResult& result = results.emplace_back();
        result.Shape = &shape;
        result.Ratio = shape.SelfTestRatio;
        const std::vector<int> sizes = GeometricBoxSizes(1, shape.DefaultSize, shape.SelfTestRatio);
        const TPictureAnalysis analysis = AnalysePicture(DrawnPicture(shape, folder), TShapeChoice{}, sizes, method, budget);
        result.FitFrom = analysis.Fit->From;
        result.FitTo = analysis.Fit->To;
        result.Measured = -static_cast<double>(analysis.Fit->Slope);
        result.Error = std::abs(result.Measured - shape.ExactDimension);
        result.Passed = result.Error <= shape.Tolerance;
    }
    return results;
}

std::string SelfTestText(const std::vector<TSelfTestResult>& results)
{
    std::vector<TTableRow> rows = {
        {"shape", "exact D", "measured D", "error", "tolerance", "sizes", "fitted", "result"}};
    for (const TSelfTestResult& result : results) {
        const TReferenceShape& shape = *result.Shape;
        rows.push_back({std::string(shape.Title), Fixed(shape.ExactDimension, 4), Fixed(result.Measured, 4),
                        Fixed(result.Error, 4), Fixed(shape.Tolerance, 2),
                        "1 to " + std::to_string(shape.DefaultSize) + " by " + std::to_string(result.Ratio),
                        std::to_string(result.FitFrom) + " to " + std::to_string(result.FitTo),
                        result.Passed ? "pass" : "FAIL"});
    }
    std::string text = TableText(rows);
    const auto failed = std::ranges::count_if(results, [](const TSelfTestResult& r) { return !r.Passed; });
    text += failed == 0 ? "All " + std::to_string(results.size()) + " shapes measure within their tolerance.\n"
                        : std::to_string(failed) + " of " + std::to_string(results.size()) +
                              " shapes measure outside their tolerance.\n";
    return text;
}
