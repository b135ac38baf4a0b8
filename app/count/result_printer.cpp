#include "app/count/result_printer.h"

#include <iostream>
#include <utility>

#include "app/count/count_report.h"

TResultPrinter::TResultPrinter(TOutputFormat format, FILE* out, bool single)
    : FFormat(format), FOut(out), FSingle(single)
{
    if (FFormat == TOutputFormat::Summary)
        Write(SummaryHeader());
}

bool TResultPrinter::Write(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), FOut);
    // Lines stream out as each picture finishes, for a batch read while it runs or
    // resumed after it was stopped.
    if (FFormat == TOutputFormat::JsonLines)
        std::fflush(FOut);
    return !std::ferror(FOut);
}

bool TResultPrinter::Print(const std::string& path, TPictureOutcome&& outcome)
{
    // What went to the results so far comes before the messages about this picture.
    std::fflush(FOut);
    if (!outcome.Analysis) {
        std::cerr << "vandrel-count: " << path << ": " << outcome.Error << '\n';
        if (FFormat == TOutputFormat::Summary)
            return Write(SummaryErrorRow(path, outcome.Error));
        if (FFormat == TOutputFormat::JsonLines)
            return Write(JsonErrorLine(path, outcome.Error));
        return !std::ferror(FOut);
    }
    for (const std::string& warning : WarningLines(*outcome.Analysis))
        std::cerr << "vandrel-count: " << path << ": warning: " << warning << '\n';
    switch (FFormat) {
    case TOutputFormat::Json:
        FJson.push_back(std::move(*outcome.Analysis));
        return !std::ferror(FOut);
    case TOutputFormat::Summary:
        return Write(SummaryRow(*outcome.Analysis));
    case TOutputFormat::JsonLines:
        return Write(JsonLine(*outcome.Analysis));
    case TOutputFormat::Table:
    case TOutputFormat::Csv:
        break;
    }
    const std::vector<TTableRow> rows = ResultTableRows(*outcome.Analysis);
    const bool first = std::exchange(FFirst, false);
    return Write((first ? "" : "\n") + (FFormat == TOutputFormat::Csv ? CsvText(rows) : TableText(rows)));
}

bool TResultPrinter::Finish()
{
    if (FFormat != TOutputFormat::Json)
        return !std::ferror(FOut);
    if (FSingle)
        return FJson.empty() || Write(JsonText(FJson.front()) + '\n');
    return Write(JsonArrayText(FJson) + '\n');
}
