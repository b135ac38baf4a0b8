#include "app/window/string_grid.h"

#include <map>

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

namespace {

// The widest text a cell holds: a logarithm with twelve decimals.
const QString kWidestNumber = QStringLiteral("0.000000000000");
constexpr int kCellPadding = 10;

}  // namespace

TStringGrid::TStringGrid(int columns, int rows, QWidget* parent) : QTableWidget(rows, columns, parent)
{
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // The last column takes the room the others leave, up to the scroll bar.
    horizontalHeader()->setStretchLastSection(true);
    // Without labels of its own a header shows column numbers.
    for (int column = 0; column < columns; ++column)
        setHorizontalHeaderItem(column, new QTableWidgetItem);
    // Row 0 is shown as the header; a table that gains its first row again hides it.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int) {
        if (first == 0)
            setRowHidden(0, true);
    });
    if (rows > 0)
        setRowHidden(0, true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setShowGrid(true);
    // A column made narrow by hand still shows a number's leading digits; an ellipsis
    // would take their place.
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    FitColumnsToNumbers();
}

QString TStringGrid::Cell(int column, int row) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

void TStringGrid::SetCell(int column, int row, const QString& text)
{
    if (row == 0)
        model()->setHeaderData(column, Qt::Horizontal, text);
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        if (text.isEmpty())
            return;
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    cell->setText(text);
    // A column made narrow by hand shows only the leading digits; the tip shows all.
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

QString TStringGrid::SelectedText() const
{
    std::map<int, std::map<int, QString>> rows;
    for (const QModelIndex& index : selectedIndexes())
        rows[index.row()][index.column()] = Cell(index.column(), index.row());
    QString text;
    for (const auto& [row, cells] : rows) {
        QStringList line;
        for (const auto& [column, cell] : cells)
            line << cell;
        text += line.join(u'\t') + u'\n';
    }
    return text;
}

void TStringGrid::keyPressEvent(QKeyEvent* event)
{
    // The view's own copy takes only the current cell.
    if (event == QKeySequence::Copy) {
        QGuiApplication::clipboard()->setText(SelectedText());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TStringGrid::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitColumnsToNumbers();
}

void TStringGrid::FitColumnsToNumbers()
{
    const int width = fontMetrics().horizontalAdvance(kWidestNumber) + kCellPadding;
    horizontalHeader()->setDefaultSectionSize(width);
    for (int column = 0; column < columnCount(); ++column)
        setColumnWidth(column, width);
}
