#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A cursor over an outside source of points: rows of columns, read forward from the
// first row. A supplier lives for one fill of a series.
class TDataSupplier {
public:
    virtual ~TDataSupplier() = default;

    // The cursor stands past the last row.
    virtual bool Eof() = 0;
    // Moves to the next row; returns Eof after the move.
    virtual bool Next() = 0;
    // The current row's value in that column as a number: `format` 0 reads a number,
    // any other value a date and time (days since 30 December 1899). False when the
    // row has no such value or it does not convert.
    virtual bool GetValue(int32_t column, double& value, uint8_t format) = 0;
    virtual std::string GetText(int32_t column) = 0;
    // Rows of the source (a text: all its lines, header lines included); -1 when the
    // source cannot tell.
    virtual int32_t RowCount() = 0;
    virtual int32_t ColumnCount() = 0;
    virtual std::string ColumnName(int32_t index) = 0;
    // The column a series' column setting names: "(col n)" (the prefix in any case)
    // gives n, anything else is looked up by name; -1 when there is none. An "(col "
    // setting whose number is not an integer raises "'<text>' is not a valid
    // integer value".
    virtual int32_t ColumnIndex(const std::string& name) = 0;
    // The source holds more rows than the supplier's row limit let it read.
    virtual bool RowLimitReached() { return false; }
};

// Where a series' points come from, as its settings describe it.
struct TSourceSettings {
    uint8_t DataSource = 0; // 0 none, 1 text file, 2 data source component, 3 table, 4 query, 5 text holder
    std::string DatasourceInfo;
    bool DivideTextByWidth = false;
    uint16_t ColumnWidth = 10;
    std::string TextSeparators = "\t";
    std::string TextMarkers = "'\"";
    // Rows a database source reads at most, 0 for all: a series' point limit.
    int32_t RowLimit = 0;
};

// Opens the source on its first row; nothing when it cannot be opened.
using TSupplierFactory = std::function<std::unique_ptr<TDataSupplier>(const TSourceSettings& settings)>;

// The data layer knows no files, components or databases itself: the program
// installs the factory that does (InstallDataSuppliers). Without one no source opens.
void SetSupplierFactory(TSupplierFactory factory);
std::unique_ptr<TDataSupplier> OpenSupplier(const TSourceSettings& settings);

// The column number of a "(col n)" setting (prefix compared ignoring case), or -1
// when the setting does not begin with "(col ". Raises "'<n>' is not a valid
// integer value" when n is not an integer.
int32_t ColumnNumberOf(const std::string& setting);
