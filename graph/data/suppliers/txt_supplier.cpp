#include "graph/data/suppliers/txt_supplier.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

#include <QLocale>
#include <QString>

#include "graph/data/suppliers/text_fields.h"

namespace {

// Lines whose widest one sets the column count: enough for a header and a sample
// of rows, and few enough to read twice (the cursor starts over after them).
constexpr std::size_t kLinesAnalysed = 40;

bool IsDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

int32_t Clamped(std::size_t count)
{
    return static_cast<int32_t>(std::min<std::size_t>(count, std::numeric_limits<int32_t>::max()));
}

}  // namespace

TTxtSupplier::TTxtSupplier(bool fixedWidth, uint16_t columnWidth, std::string separators, std::string markers)
    : FFixedWidth(fixedWidth),
      FColumnWidth(columnWidth),
      FSeparators(std::move(separators)),
      FMarkers(std::move(markers)),
      FNumbers(QLocale())
{
}

bool TTxtSupplier::OpenFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    auto lines = std::make_unique<TFileLines>(path);
    if (!lines->IsOpen())
        return false;
    FLines = std::move(lines);
    return Analyse();
}

bool TTxtSupplier::OpenLines(const QStringList& lines)
{
    FLines = std::make_unique<THolderLines>(lines);
    return Analyse();
}

bool TTxtSupplier::Analyse()
{
    FColumnNames.clear();
    FCurrentLine.clear();
    FEof = true;

    std::size_t columns = 0;
    std::size_t analysed = 0;
    std::string first;
    std::string line;
    for (; analysed < kLinesAnalysed && FLines->Read(line); ++analysed) {
        if (analysed == 0)
            first = line;
        columns = std::max(columns, FFixedWidth ? FixedWidthColumnCount(line, FColumnWidth)
                                                : SeparatedColumnCount(line, FSeparators, FMarkers));
    }
    if (analysed == 0)
        return false;

    // Names come from separated fields of the first line even in fixed-width mode; a
    // field of digits only is data, not a name.
    const std::vector<std::string> fields = SeparatedFields(first, FSeparators, FMarkers, columns);
    FColumnNames.reserve(columns);
    for (std::size_t i = 0; i < columns; ++i) {
        const bool named = i < fields.size() && !fields[i].empty() && !IsDigits(fields[i]);
        FColumnNames.push_back(named ? fields[i] : "(col " + std::to_string(i) + ")");
    }
    FLines->Rewind();
    FEof = !FLines->Read(FCurrentLine);
    return true;
}

bool TTxtSupplier::Eof()
{
    return FEof;
}

bool TTxtSupplier::Next()
{
    if (!FEof)
        FEof = !FLines->Read(FCurrentLine);
    if (FEof)
        FCurrentLine.clear();
    return FEof;
}

std::string TTxtSupplier::ColumnOf(const std::string& line, std::size_t column) const
{
    if (FFixedWidth)
        return FixedWidthColumn(line, column, FColumnWidth);
    return SeparatedField(line, column, FSeparators, FMarkers).Text;
}

std::string TTxtSupplier::GetText(int32_t column)
{
    if (column < 0)
        return {};
    return ColumnOf(FCurrentLine, static_cast<std::size_t>(column));
}

bool TTxtSupplier::GetValue(int32_t column, double& value, uint8_t format)
{
    const std::string text = GetText(column);
    if (text.empty())
        return false;
    const QString qtext = QString::fromStdString(text);
    if (format == 0)
        return FNumbers.Read(qtext, value);
    auto dates = FDates.find(column);
    if (dates == FDates.end())
        dates = FDates.emplace(column, TDateTimeReader(QLocale())).first;
    return dates->second.Read(qtext, value);
}

int32_t TTxtSupplier::RowCount()
{
    return FLines ? Clamped(FLines->Count()) : 0;
}

int32_t TTxtSupplier::ColumnCount()
{
    return Clamped(FColumnNames.size());
}

std::string TTxtSupplier::ColumnName(int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= FColumnNames.size())
        return {};
    return FColumnNames[static_cast<std::size_t>(index)];
}

int32_t TTxtSupplier::ColumnIndex(const std::string& name)
{
    const int32_t number = ColumnNumberOf(name);
    if (number != -1)
        return number;
    for (std::size_t i = 0; i < FColumnNames.size(); ++i)
        if (EqualIgnoringCase(FColumnNames[i], name))
            return Clamped(i);
    return -1;
}
