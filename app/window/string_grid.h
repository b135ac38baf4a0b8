#pragma once

#include <QTableWidget>

#include "app/spreadsheet/spreadsheet_export.h"

// A read-only table of texts addressed as Cell(column, row), both counted from 0.
// Row 0 is the header row: it is shown as the column headers, which stay in view
// while the rows scroll. Ctrl+C copies the selected cells as tab-separated text.
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

    // The selected cells, row by row from the top: a row's cells joined by tabs, each
    // row ending in a newline, as spreadsheets paste them.
    QString SelectedText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Every column as wide as a number of the table at the current font.
    void FitColumnsToNumbers();
};
