#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <utility>
#include <vector>

// One cell of a worksheet as the file holds it: a number, or a text (a shared or
// inline string, or the value of any other kind of cell as written).
struct TSheetCell {
    bool IsNumber = false;
    QString Text;
    double Number = 0;
};

// The cells of a sheet that hold a value, keyed (row, column), both counted from 1
// as the sheet counts them: A1 is (1, 1), B3 is (3, 2).
using TSheetCells = std::map<std::pair<int, int>, TSheetCell>;

// What tests check in a workbook: the sheet names in their order, the cells of the
// first sheet (xl/worksheets/sheet1.xml), and those of every sheet in the order of
// the names (sheet1.xml, sheet2.xml, ... as workbook writers number them).
struct TWorkbookContents {
    QStringList SheetNames;
    TSheetCells Cells;
    std::vector<TSheetCells> Sheets;
};

// Reads the Office Open XML workbook at `path`. Throws std::runtime_error when the
// file cannot be opened, is not a zip archive, or lacks or garbles a part it needs.
TWorkbookContents ReadWorkbook(const QString& path);
