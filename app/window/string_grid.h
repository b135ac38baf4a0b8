#pragma once

#include <QTableWidget>

#include "app/spreadsheet/spreadsheet_export.h"

// A read-only table of texts without header rows or columns, addressed as
// Cell(column, row), both counted from 0.
class TStringGrid : public QTableWidget {
public:
    TStringGrid(int columns, int rows, QWidget* parent = nullptr);

    int RowCount() const { return rowCount(); }
    // New rows are empty; rows cut off are lost.
    void SetRowCount(int rows) { setRowCount(rows); }
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);

    // Every cell, [row][column].
    TTextTable Texts() const;
    // Replaces every cell and the row count.
    void SetTexts(const TTextTable& texts);
};
