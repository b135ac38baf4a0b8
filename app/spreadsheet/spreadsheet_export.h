#pragma once

#include <QLocale>
#include <QString>

#include <span>
#include <variant>
#include <vector>

// The texts of a two-dimensional table, [row][column], both counted from 0.
using TTextTable = std::vector<std::vector<QString>>;

// The name of the first worksheet of an exported workbook.
inline constexpr const char* kExportSheetName = "My Sheet Name";

// A cell written as it is: nothing, a number or a text.
using TSheetValue = std::variant<std::monostate, double, QString>;

// A worksheet of typed cells, [row][column] from 0 as in a text table.
struct TValueSheet {
    QString Name;
    std::vector<std::vector<TSheetValue>> Cells;
};

// Writes `cells` as a new workbook (Office Open XML) at `fileName`: one worksheet
// named "My Sheet Name"; table cell (row r, column c) goes to sheet row r + 1, column
// c + 1, so table cell (0, 0) is A1. A cell whose whole text is a finite number in
// `locale` without group separators is written as a number, as a spreadsheet reads
// typed text; other non-empty texts as strings; empty cells are left empty.
// Returns true when the workbook was written; otherwise false, with `failure` set to
// a short reason a user can read. A failed export leaves the folder as it was: a
// file already at `fileName` is replaced only by a whole workbook.
// `moreSheets` follow the first in their order; their numbers keep the 16 significant
// digits the writer gives them, and a number that is not finite is left empty.
bool ExportGridToSpreadsheet(const TTextTable& cells, const QString& fileName, const QLocale& locale, QString& failure,
                             std::span<const TValueSheet> moreSheets = {});
