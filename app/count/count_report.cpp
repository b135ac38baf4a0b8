#include "app/count/count_report.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/picture/colour_mask.h"
#include "app/engine/box_size_series.h"
#include "app/engine/decimal_log.h"
#include "app/engine/result_texts.h"

namespace {

// The command line writes numbers the same in every locale.
constexpr const char* kSeparator = ".";

std::string JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    if (value == 0.0)
        return "0"; // never "-0"
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value); // shortest that reads back exactly
    return std::string(text, result.ptr);
}

std::string JsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string CsvCell(const std::string& cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string::npos)
        return cell;
    std::string quoted = "\"";
    for (const char c : cell)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string JsonNumber(long double value)
{
    return JsonNumber(static_cast<double>(value));
}

std::string JsonStringList(const std::vector<std::string>& texts)
{
    std::string list = "[";
    for (std::size_t i = 0; i < texts.size(); ++i)
        list += (i == 0 ? "" : ", ") + JsonString(texts[i]);
    return list + "]";
}

std::string OffsetCountsJson(const TOffsetCounts& counts)
{
    return ", \"topleft\": " + std::to_string(counts.TopLeft) + ", \"min\": " + std::to_string(counts.Min) +
           ", \"max\": " + std::to_string(counts.Max) + ", \"mean\": " + JsonNumber(counts.Mean);
}

std::string Field(const std::string& indent, const std::string& name, const std::string& value, bool last = false)
{
    return indent + "\"" + name + "\": " + value + (last ? "\n" : ",\n");
}

// The counts and the line of one shape: from "boxes" to "D".
std::string CountsJson(const TShapeMeasurement& measured, const std::string& indent)
{
    std::string text = indent + "\"boxes\": [";
    for (std::size_t i = 0; i < measured.Counts.size(); ++i) {
        const TBoxCount& count = measured.Counts[i];
        text += i == 0 ? "\n" : ",\n";
        text += indent + "  {\"d\": " + std::to_string(count.BoxSize) + ", \"count\": " + std::to_string(count.Boxes) +
                ", \"log_d\": " + JsonNumber(static_cast<double>(Log10(count.BoxSize))) +
                ", \"log_count\": " + JsonNumber(static_cast<double>(Log10(static_cast<long double>(count.Boxes)))) +
                (measured.OffsetCounts.empty() ? "" : OffsetCountsJson(measured.OffsetCounts[i])) + "}";
    }
    text += measured.Counts.empty() ? "],\n" : "\n" + indent + "],\n";
    text += Field(indent, "slope", JsonNumber(measured.Stats.Slope));
    text += Field(indent, "intercept", JsonNumber(measured.Stats.Intercept));
    text += Field(indent, "r", measured.HasCorrelation ? JsonNumber(measured.Stats.R) : "null");
    return text + indent + "\"D\": " + JsonNumber(-measured.Stats.Slope);
}

// The fit's range, its uncertainty, the local slopes and the warnings.
std::string FitJson(const TShapeMeasurement& measured, const std::string& indent)
{
    const TScalingFit& fit = *measured.Fit;
    std::string text;
    text += Field(indent, "fit",
                  "{\"from\": " + std::to_string(fit.From) + ", \"to\": " + std::to_string(fit.To) +
                      ", \"n\": " + std::to_string(fit.Count) + "}");
    text += Field(indent, "r2", fit.HasCorrelation ? JsonNumber(fit.R2) : "null");
    text += Field(indent, "se", fit.HasUncertainty ? JsonNumber(fit.SlopeStandardError) : "null");
    text += Field(indent, "ci95",
                  fit.HasUncertainty ? "[" + JsonNumber(fit.DimensionLow) + ", " + JsonNumber(fit.DimensionHigh) + "]"
                                     : "null");
    std::string slopes = "[";
    for (std::size_t i = 0; i < fit.LocalSlopes.size(); ++i)
        slopes += (i == 0 ? "" : ", ") + JsonNumber(fit.LocalSlopes[i]);
    text += Field(indent, "local_slopes", slopes + "]");
    if (const std::optional<TOffsetDimensions>& spread = measured.OffsetDimensions)
        text += Field(indent, "offset_dimensions",
                      "{\"min\": " + JsonNumber(spread->Min) + ", \"mean\": " + JsonNumber(spread->Mean) +
                          ", \"topleft\": " + JsonNumber(spread->TopLeft) + ", \"spread\": " +
                          JsonNumber(spread->Spread()) + "}");
    return text + Field(indent, "warnings", JsonStringList(measured.Warnings));
}

std::string RectJson(const TMaskRect& box)
{
    return "{\"x\": " + std::to_string(box.X) + ", \"y\": " + std::to_string(box.Y) +
           ", \"width\": " + std::to_string(box.Width) + ", \"height\": " + std::to_string(box.Height) + "}";
}

std::string ForegroundJson(const TPictureAnalysis& analysis)
{
    const TForegroundRule& rule = analysis.Foreground;
    std::string text = "{\"rule\": " + JsonString(rule.Text());
    if (rule.ByColour())
        text += ", \"colour\": \"" + ColourText(rule.Rgb()) + "\", \"tolerance\": " + std::to_string(rule.Tolerance());
    else
        text += std::string(", \"side\": \"") + (rule.Side() == TLuminanceSide::Dark ? "dark" : "light") +
                "\", \"level\": " + std::to_string(rule.Level()) + ", \"otsu\": " + (rule.ByOtsu() ? "true" : "false");
    const double share = analysis.MeasuredArea == 0
                             ? 0.0
                             : static_cast<double>(analysis.ShapePixels) / static_cast<double>(analysis.MeasuredArea);
    return text + ", \"outline\": " + (analysis.Outline ? "true" : "false") +
           ", \"shape_pixels\": " + std::to_string(analysis.ShapePixels) + ", \"share\": " + JsonNumber(share) + "}";
}

// A piece's box in the picture's coordinates.
TMaskRect PictureBox(const TPictureAnalysis& analysis, const TObjectMeasurement& object)
{
    TMaskRect box = object.Box;
    if (analysis.Region) {
        box.X += analysis.Region->X;
        box.Y += analysis.Region->Y;
    }
    return box;
}

// "X,Y,W,H", as --region takes it.
std::string BoxText(const TMaskRect& box)
{
    return std::to_string(box.X) + "," + std::to_string(box.Y) + "," + std::to_string(box.Width) + "," +
           std::to_string(box.Height);
}

std::string Decimals(long double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
    return text == std::string("-0.0000") ? "0.0000" : text;
}

std::vector<TTableRow> ObjectTableRows(const TPictureAnalysis& analysis, const std::string& fileName)
{
    std::vector<TTableRow> rows = {
        {"File:", fileName},
        {"Objects:", std::to_string(analysis.Objects->Objects.size()) + " measured, " +
                         std::to_string(analysis.Objects->LeftOut) + " of fewer than " +
                         std::to_string(analysis.MinPixels) + " pixels left out"},
        {"Object", "X", "Y", "Width", "Height", "Pixels", "D", "95% low", "95% high", "r2", "Fitted sizes"}};
    const std::vector<TObjectMeasurement>& objects = analysis.Objects->Objects;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const TObjectMeasurement& object = objects[i];
        const TScalingFit& fit = *object.Fit;
        const TMaskRect box = PictureBox(analysis, object);
        rows.push_back({std::to_string(i + 1), std::to_string(box.X), std::to_string(box.Y), std::to_string(box.Width),
                        std::to_string(box.Height), std::to_string(object.ShapePixels), Decimals(-fit.Slope),
                        fit.HasUncertainty ? Decimals(fit.DimensionLow) : "",
                        fit.HasUncertainty ? Decimals(fit.DimensionHigh) : "",
                        fit.HasCorrelation ? Decimals(fit.R2) : "",
                        std::to_string(fit.From) + " to " + std::to_string(fit.To)});
    }
    return rows;
}

// A piece measured apart, its box in the picture's coordinates.
std::string ObjectJson(const TPictureAnalysis& analysis, const TObjectMeasurement& object)
{
    const std::string indent = "      ";
    std::string text = "    {\n";
    text += Field(indent, "box", RectJson(PictureBox(analysis, object)));
    text += Field(indent, "pixels", std::to_string(object.ShapePixels));
    text += CountsJson(object, indent) + ",\n";
    std::string fit = FitJson(object, indent);
    fit.replace(fit.size() - 2, 1, ""); // the last field ends the object
    return text + fit + "    }";
}

// The method, the fit's details, the shape's pixels and the provenance, after "D" (or
// after the picture's size when its pieces are measured apart).
std::string DetailsJson(const TPictureAnalysis& analysis)
{
    const std::string indent = "  ";
    std::string text;
    text += Field(indent, "grid", "\"" + std::string(GridModeName(analysis.Grid)) + "\"");
    text += Field(indent, "sizes", "\"" + std::string(SizeSeriesName(analysis.Sizes)) + "\"");
    text += Field(indent, "decades", JsonNumber(analysis.Decades));
    if (!analysis.Objects)
        text += FitJson(analysis, indent);
    text += Field(indent, "foreground", ForegroundJson(analysis));
    if (analysis.Region)
        text += Field(indent, "region", RectJson(*analysis.Region));
    if (const std::optional<TObjectsMeasurement>& objects = analysis.Objects) {
        text += Field(indent, "min_pixels", std::to_string(analysis.MinPixels));
        text += Field(indent, "objects_left_out", std::to_string(objects->LeftOut));
        std::string list = "[";
        for (std::size_t i = 0; i < objects->Objects.size(); ++i)
            list += (i == 0 ? "\n" : ",\n") + ObjectJson(analysis, objects->Objects[i]);
        text += Field(indent, "objects", list + (objects->Objects.empty() ? "]" : "\n  ]"));
    }
    text += Field(indent, "provenance",
                  "{\"version\": \"" VANDREL_VERSION "\", \"sha256\": \"" + analysis.Sha256 +
                      "\", \"width\": " + std::to_string(analysis.Width) +
                      ", \"height\": " + std::to_string(analysis.Height) +
                      ", \"shape_pixels\": " + std::to_string(analysis.ShapePixels) + "}",
                  true);
    return text;
}

}  // namespace

std::vector<TTableRow> ResultTableRows(const TPictureAnalysis& analysis)
{
    const std::string fileName = QFileInfo(QFile::decodeName(analysis.File.c_str())).fileName().toStdString();
    if (analysis.Objects)
        return ObjectTableRows(analysis, fileName);
    const TResultTexts texts = MakeResultTexts(fileName, {analysis.Stats, analysis.HasCorrelation}, kSeparator);
    std::vector<TTableRow> rows;
    for (const TResultText* text : {&texts.File, &texts.Slope, &texts.Intercept, &texts.Correlation})
        rows.push_back({text->Caption, text->Value});
    rows.push_back({kLogSizeHeader, kLogCountHeader});
    for (const TBoxCount& count : analysis.Counts)
        rows.push_back({LogCellText(Log10(count.BoxSize), kSeparator),
                        LogCellText(Log10(static_cast<long double>(count.Boxes)), kSeparator)});
    return rows;
}

std::vector<std::string> WarningLines(const TPictureAnalysis& analysis)
{
    if (!analysis.Objects)
        return analysis.Warnings;
    std::vector<std::string> lines;
    const std::vector<TObjectMeasurement>& objects = analysis.Objects->Objects;
    for (std::size_t i = 0; i < objects.size(); ++i)
        for (const std::string& warning : objects[i].Warnings)
            lines.push_back("object " + std::to_string(i + 1) + " at " + BoxText(PictureBox(analysis, objects[i])) +
                            ": " + warning);
    return lines;
}

std::string TableText(std::span<const TTableRow> rows)
{
    std::vector<std::size_t> widths;
    for (const TTableRow& row : rows)
        for (std::size_t c = 0; c + 1 < row.size(); ++c) {
            widths.resize(std::max(widths.size(), c + 1), 0);
            widths[c] = std::max(widths[c], row[c].size());
        }
    std::string text;
    for (const TTableRow& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += row[c];
            if (c + 1 < row.size())
                text.append(widths[c] + 2 - row[c].size(), ' ');
        }
        text += '\n';
    }
    return text;
}

std::string CsvText(std::span<const TTableRow> rows)
{
    std::string text;
    for (const TTableRow& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c)
            text += (c == 0 ? "" : ",") + CsvCell(row[c]);
        text += '\n';
    }
    return text;
}

std::string JsonText(const TPictureAnalysis& analysis)
{
    std::string text = "{\n";
    text += "  \"file\": " + JsonString(QFile::decodeName(analysis.File.c_str()).toStdString()) + ",\n";
    if (analysis.Foreground.ByColour())
        text += "  \"colour\": \"" + ColourText(analysis.Foreground.Rgb()) + "\",\n";
    text += "  \"width\": " + std::to_string(analysis.Width) + ",\n";
    text += "  \"height\": " + std::to_string(analysis.Height) + (analysis.Objects ? ",\n" : ",\n" + CountsJson(analysis, "  "));
    if (!analysis.Fit && !analysis.Objects)
        return text + "\n}";
    return text + (analysis.Objects ? "" : ",\n") + DetailsJson(analysis) + "}";
}

std::string JsonArrayText(std::span<const TPictureAnalysis> analyses)
{
    std::string text = "[";
    for (std::size_t i = 0; i < analyses.size(); ++i) {
        std::string object = JsonText(analyses[i]);
        // Indent the object one level inside the array.
        std::string indented = "  ";
        for (const char c : object) {
            indented += c;
            if (c == '\n')
                indented += "  ";
        }
        text += (i == 0 ? "\n" : ",\n") + indented;
    }
    return text + (analyses.empty() ? "]" : "\n]");
}

std::string JsonLine(const TPictureAnalysis& analysis)
{
    // Strings are escaped, so every newline of the object is layout, with its indent.
    const std::string text = JsonText(analysis);
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') {
            line += text[i];
            continue;
        }
        while (i + 1 < text.size() && text[i + 1] == ' ')
            ++i;
    }
    return line + '\n';
}

std::string JsonErrorLine(const std::string& file, const std::string& error)
{
    return "{\"file\": " + JsonString(QFile::decodeName(file.c_str()).toStdString()) +
           ", \"error\": " + JsonString(error) + "}\n";
}

std::string SummaryHeader()
{
    return "file,width,height,shape_pixels,method,n,D,D_low,D_high,r2,warnings,error\n";
}

std::string SummaryRow(const TPictureAnalysis& analysis)
{
    const TScalingFit& fit = *analysis.Fit;
    const std::string method = std::string("grid ") + GridModeName(analysis.Grid) + "; sizes " +
                               SizeSeriesName(analysis.Sizes) + "; fit " + std::to_string(fit.From) + " to " +
                               std::to_string(fit.To);
    std::string warnings;
    for (const std::string& warning : analysis.Warnings)
        warnings += (warnings.empty() ? "" : "; ") + warning;
    const auto number = [](bool known, long double value) { return known ? JsonNumber(value) : std::string(); };
    return CsvText(std::vector<TTableRow>{
        {QFile::decodeName(analysis.File.c_str()).toStdString(), std::to_string(analysis.Width),
         std::to_string(analysis.Height), std::to_string(analysis.ShapePixels), method, std::to_string(fit.Count),
         JsonNumber(-fit.Slope), number(fit.HasUncertainty, fit.DimensionLow),
         number(fit.HasUncertainty, fit.DimensionHigh), number(fit.HasCorrelation, fit.R2), warnings, ""}});
}

std::string SummaryErrorRow(const std::string& file, const std::string& error)
{
    TTableRow row(12);
    row.front() = QFile::decodeName(file.c_str()).toStdString();
    row.back() = error;
    return CsvText(std::vector<TTableRow>{row});
}
