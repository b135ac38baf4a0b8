// Filling a series from its outside source: a text, a holder or a database.
#include "graph/data/data_series.h"

#include <algorithm>
#include <cmath>

#include "graph/data/data_supplier.h"

namespace {

// Mode 5 reads the last rows: how many rows to pass before the header rows are
// skipped as usual, so that exactly `wanted` data rows are left. Nothing when the
// source cannot count its rows or has fewer.
int64_t RowsBeforeTheLast(TDataSupplier& supplier, double wanted, uint16_t headerRows)
{
    const int64_t rows = supplier.RowCount();
    if (rows < 0 || !(wanted >= 0))
        return 0;
    const int64_t last = wanted < 9.0e18 ? static_cast<int64_t>(std::trunc(wanted)) : rows;
    return std::max<int64_t>(rows - last - headerRows, 0);
}

void Skip(TDataSupplier& supplier, int64_t rows)
{
    for (int64_t i = 0; i < rows && !supplier.Eof(); ++i)
        supplier.Next();
}

}  // namespace

void TDataSeries::LoadFromSource()
{
    if (FDataSource == 0)
        return;
    // A database reads no more rows than the series can hold: an endless query
    // would otherwise fill memory.
    const std::unique_ptr<TDataSupplier> supplier =
        OpenSupplier({FDataSource, FDatasourceInfo, FDivideTextByWidth, FColumnWidth, FTextSeparators, FTextMarkers,
                      std::max(FMaxPoints, 0)});
    if (!supplier)
        return;
    const int32_t xColumn = supplier->ColumnIndex(FXDataColumn);
    const int32_t yColumn = supplier->ColumnIndex(FYDataColumn);
    if (xColumn == -1 || yColumn == -1)
        return;
    Clear();
    if (FRowChoiceMode == 5)
        Skip(*supplier, RowsBeforeTheLast(*supplier, FRowChoiceValue1, FFileHasHeaders));
    Skip(*supplier, FFileHasHeaders);
    double x = 0.0;
    double y = 0.0;
    if (FRowChoiceMode == 1 || FRowChoiceMode == 3) {
        // The row current when the search starts is never the start row.
        bool found = false;
        while (!found && !supplier->Next())
            found = supplier->GetValue(xColumn, x, FXFormat) && x >= FRowChoiceValue1;
    }
    // Frequency 0 passes 65535 rows, as the 16-bit setting counts down from 0.
    const uint16_t passed = static_cast<uint16_t>(FRowSamplingFrequency - 1);
    // Wide enough for any source: mode 4's count must not wrap.
    int64_t counter = 0;
    for (bool done = false; !done;) {
        ++counter;
        const bool good = !supplier->Eof() && supplier->GetValue(xColumn, x, FXFormat)
                          && supplier->GetValue(yColumn, y, FYFormat);
        for (uint16_t i = 0; i < passed; ++i) {
            if (!supplier->Eof())
                supplier->Next();
            ++counter;
        }
        const bool stop = (FRowChoiceMode == 2 || FRowChoiceMode == 3) && good && x > FRowChoiceValue2;
        if (good && !stop)
            AddPoint(x, y);
        done = stop || supplier->Eof() || (FRowChoiceMode == 4 && static_cast<double>(counter) > FRowChoiceValue1);
        if (!supplier->Eof())
            supplier->Next();
    }
    // The rows left unread would have been points beyond the limit: said as those are.
    if (supplier->RowLimitReached())
        TooManyPoints();
}
