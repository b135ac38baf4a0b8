#include "graph/data/suppliers/txt_supplier.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <utility>

#include <QLocale>
#include <QString>

#include "graph/data/suppliers/text_fields.h"

namespace {

// Lines whose widest one sets the column count: enough for a header and a sample
// of rows without reading a long text twice.
constexpr std::size_t kLinesAnalysed = 40;

std::vector<std::string> SplitLines(const std::string& content)
{
    std::vector<std::string> lines;
    const std::size_t n = content.size();
    std::size_t start = content.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start < n) {
        const std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
        if (content[end] == '\r' && start < n && content[start] == '\n')
            ++start;
    }
    return lines;
}

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
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return false;
    FHolderLines = nullptr;
    FOwnedLines = SplitLines(content);
    return Analyse();
}

bool TTxtSupplier::OpenLines(const QStringList& lines)
{
    FOwnedLines.clear();
    FHolderLines = &lines;
    return Analyse();
}

std::size_t TTxtSupplier::LineCount() const
{
    return FHolderLines != nullptr ? static_cast<std::size_t>(FHolderLines->size()) : FOwnedLines.size();
}

std::string TTxtSupplier::LineAt(std::size_t row) const
{
    // A holder's line becomes UTF-8 only when it is read, not the whole list at once.
    if (FHolderLines != nullptr)
        return (*FHolderLines)[static_cast<qsizetype>(row)].toStdString();
    return FOwnedLines[row];
}

bool TTxtSupplier::Analyse()
{
    FColumnNames.clear();
    FRow = 0;
    FCurrentLine.clear();
    const std::size_t lines = LineCount();
    if (lines == 0)
        return false;

    std::size_t columns = 0;
    for (std::size_t row = 0; row < std::min(lines, kLinesAnalysed); ++row) {
        const std::string line = LineAt(row);
        columns = std::max(columns, FFixedWidth ? FixedWidthColumnCount(line, FColumnWidth)
                                                : SeparatedColumnCount(line, FSeparators, FMarkers));
    }

    // Names come from separated fields of the first line even in fixed-width mode; a
    // field of digits only is data, not a name.
    FCurrentLine = LineAt(0);
    const std::vector<std::string> fields = SeparatedFields(FCurrentLine, FSeparators, FMarkers, columns);
    FColumnNames.reserve(columns);
    for (std::size_t i = 0; i < columns; ++i) {
        const bool named = i < fields.size() && !fields[i].empty() && !IsDigits(fields[i]);
        FColumnNames.push_back(named ? fields[i] : "(col " + std::to_string(i) + ")");
    }
    return true;
}

bool TTxtSupplier::Eof()
{
    return FRow >= LineCount();
}

bool TTxtSupplier::Next()
{
    if (!Eof())
        ++FRow;
    if (Eof())
        FCurrentLine.clear();
    else
        FCurrentLine = LineAt(FRow);
    return Eof();
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
    if (!FDates)
        FDates.emplace(QLocale());
    return FDates->Read(qtext, value);
}

int32_t TTxtSupplier::RowCount()
{
    return Clamped(LineCount());
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
