#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QStringList>

#include "graph/data/data_supplier.h"
#include "graph/data/suppliers/text_lines.h"
#include "graph/data/suppliers/text_values.h"

// Rows of a text, one per line, cut into separated fields or columns of fixed width:
// either a file's lines, streamed, or a text holder's lines, read in place. Open it
// once with OpenFile or OpenLines; the cursor then stands on row 0.
class TTxtSupplier : public TDataSupplier {
public:
    TTxtSupplier(bool fixedWidth, uint16_t columnWidth, std::string separators, std::string markers);

    // Reads the file line by line as the cursor moves (TFileLines). False when it
    // does not exist, cannot be opened or is empty.
    bool OpenFile(const std::string& path);
    // Reads the list in place: it must outlive the supplier. False when empty.
    bool OpenLines(const QStringList& lines);

    bool Eof() override;
    bool Next() override;
    bool GetValue(int32_t column, double& value, uint8_t format) override;
    std::string GetText(int32_t column) override;
    int32_t RowCount() override;
    int32_t ColumnCount() override;
    std::string ColumnName(int32_t index) override;
    int32_t ColumnIndex(const std::string& name) override;

private:
    // Column count from the first lines and names from the first line; cursor on row 0.
    bool Analyse();
    std::string ColumnOf(const std::string& line, std::size_t column) const;

    bool FFixedWidth;
    uint16_t FColumnWidth;
    std::string FSeparators;
    std::string FMarkers;

    std::unique_ptr<TTextLines> FLines;
    std::vector<std::string> FColumnNames;
    bool FEof = true;
    std::string FCurrentLine; // empty past the end

    TNumberReader FNumbers;
    // One per column read as dates, as each remembers the pattern its values have.
    std::map<int32_t, TDateTimeReader> FDates;
};
