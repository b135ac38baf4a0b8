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

// The method, the uncertainty, the warnings and the provenance, after "D".
std::string DetailsJson(const TPictureAnalysis& analysis, const TScalingFit& fit)
{
    std::vector<int> sizes;
    for (const TBoxCount& count : analysis.Counts)
        sizes.push_back(count.BoxSize);
    std::string text;
    text += "  \"grid\": \"" + std::string(GridModeName(analysis.Grid)) + "\",\n";
    text += "  \"sizes\": \"" + std::string(SizeSeriesName(analysis.Sizes)) + "\",\n";
    text += "  \"decades\": " + JsonNumber(DecadesSpanned(sizes)) + ",\n";
    text += "  \"fit\": {\"from\": " + std::to_string(fit.From) + ", \"to\": " + std::to_string(fit.To) +
            ", \"n\": " + std::to_string(fit.Count) + "},\n";
    text += "  \"r2\": " + (fit.HasCorrelation ? JsonNumber(fit.R2) : "null") + ",\n";
    text += "  \"se\": " + (fit.HasUncertainty ? JsonNumber(fit.SlopeStandardError) : "null") + ",\n";
    text += "  \"ci95\": " +
            (fit.HasUncertainty ? "[" + JsonNumber(fit.DimensionLow) + ", " + JsonNumber(fit.DimensionHigh) + "]"
                                : "null") +
            ",\n";
    text += "  \"local_slopes\": [";
    for (std::size_t i = 0; i < fit.LocalSlopes.size(); ++i)
        text += (i == 0 ? "" : ", ") + JsonNumber(fit.LocalSlopes[i]);
    text += "],\n";
    if (const std::optional<TOffsetDimensions>& spread = analysis.OffsetDimensions)
        text += "  \"offset_dimensions\": {\"min\": " + JsonNumber(spread->Min) + ", \"mean\": " +
                JsonNumber(spread->Mean) + ", \"topleft\": " + JsonNumber(spread->TopLeft) +
                ", \"spread\": " + JsonNumber(spread->Spread()) + "},\n";
    text += "  \"warnings\": " + JsonStringList(analysis.Warnings) + ",\n";
    text += "  \"provenance\": {\"version\": \"" VANDREL_VERSION "\", \"sha256\": \"" + analysis.Sha256 +
            "\", \"width\": " + std::to_string(analysis.Width) + ", \"height\": " + std::to_string(analysis.Height) +
            ", \"shape_pixels\": " + std::to_string(analysis.ShapePixels) + "}\n";
    return text;
}

}  // namespace

std::vector<TTableRow> ResultTableRows(const TPictureAnalysis& analysis)
{
    const std::string fileName = QFileInfo(QFile::decodeName(analysis.File.c_str())).fileName().toStdString();
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

std::string TableText(std::span<const TTableRow> rows)
{
    std::size_t width = 0;
    for (const TTableRow& row : rows)
        width = std::max(width, row[0].size());
    std::string text;
    for (const TTableRow& row : rows) {
        text += row[0];
        text.append(width + 2 - row[0].size(), ' ');
        text += row[1];
        text += '\n';
    }
    return text;
}

std::string CsvText(std::span<const TTableRow> rows)
{
    std::string text;
    for (const TTableRow& row : rows)
        text += CsvCell(row[0]) + ',' + CsvCell(row[1]) + '\n';
    return text;
}

std::string JsonText(const TPictureAnalysis& analysis)
{
    std::string text = "{\n";
    text += "  \"file\": " + JsonString(QFile::decodeName(analysis.File.c_str()).toStdString()) + ",\n";
    text += "  \"colour\": \"" + ColourText(analysis.Rgb) + "\",\n";
    text += "  \"width\": " + std::to_string(analysis.Width) + ",\n";
    text += "  \"height\": " + std::to_string(analysis.Height) + ",\n";
    text += "  \"boxes\": [";
    for (std::size_t i = 0; i < analysis.Counts.size(); ++i) {
        const TBoxCount& count = analysis.Counts[i];
        text += i == 0 ? "\n" : ",\n";
        text += "    {\"d\": " + std::to_string(count.BoxSize) + ", \"count\": " + std::to_string(count.Boxes) +
                ", \"log_d\": " + JsonNumber(static_cast<double>(Log10(count.BoxSize))) +
                ", \"log_count\": " + JsonNumber(static_cast<double>(Log10(static_cast<long double>(count.Boxes)))) +
                (analysis.OffsetCounts.empty() ? "" : OffsetCountsJson(analysis.OffsetCounts[i])) + "}";
    }
    text += analysis.Counts.empty() ? "],\n" : "\n  ],\n";
    text += "  \"slope\": " + JsonNumber(analysis.Stats.Slope) + ",\n";
    text += "  \"intercept\": " + JsonNumber(analysis.Stats.Intercept) + ",\n";
    text += "  \"r\": " + (analysis.HasCorrelation ? JsonNumber(analysis.Stats.R) : "null") + ",\n";
    if (!analysis.Fit)
        return text + "  \"D\": " + JsonNumber(-analysis.Stats.Slope) + "\n}";
    text += "  \"D\": " + JsonNumber(-analysis.Stats.Slope) + ",\n";
    return text + DetailsJson(analysis, *analysis.Fit) + "}";
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
