#include "app/window/string_grid.h"

#include <QHeaderView>

TStringGrid::TStringGrid(int columns, int rows, QWidget* parent) : QTableWidget(rows, columns, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setShowGrid(true);
    // A long number cut at the cell edge still shows its leading digits; an ellipsis
    // would take their place.
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
}

QString TStringGrid::Cell(int column, int row) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

void TStringGrid::SetCell(int column, int row, const QString& text)
{
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        if (text.isEmpty())
            return;
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    cell->setText(text);
    // The column shows only the leading digits of a number; the tip shows it whole.
    cell->setToolTip(text);
}

TTextTable TStringGrid::Texts() const
{
    TTextTable texts(static_cast<std::size_t>(rowCount()));
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < columnCount(); ++column)
            texts[static_cast<std::size_t>(row)].push_back(Cell(column, row));
    return texts;
}

void TStringGrid::SetTexts(const TTextTable& texts)
{
    setRowCount(static_cast<int>(texts.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const auto& cells = texts[static_cast<std::size_t>(row)];
        for (int column = 0; column < columnCount(); ++column)
            SetCell(column, row, static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : QString());
    }
}
