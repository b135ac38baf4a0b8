#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QStringList>

#include "graph/data/data_supplier.h"
#include "graph/data/suppliers/text_values.h"

// Rows of a text, one per line, cut into separated fields or columns of fixed width:
// either a file's lines, read whole and owned, or a text holder's lines, read in
// place. Open it once with OpenFile or OpenLines; the cursor then stands on row 0.
class TTxtSupplier : public TDataSupplier {
public:
    TTxtSupplier(bool fixedWidth, uint16_t columnWidth, std::string separators, std::string markers);

    // Reads the whole file, lines ending at CR, LF or CRLF, a UTF-8 byte order mark
    // dropped. False when it does not exist, cannot be read or is empty.
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
    std::size_t LineCount() const;
    std::string LineAt(std::size_t row) const;
    // Column count from the first lines and names from the first line; cursor on row 0.
    bool Analyse();
    std::string ColumnOf(const std::string& line, std::size_t column) const;

    bool FFixedWidth;
    uint16_t FColumnWidth;
    std::string FSeparators;
    std::string FMarkers;

    std::vector<std::string> FOwnedLines;   // a file's lines
    const QStringList* FHolderLines = nullptr; // a holder's lines, not owned
    std::vector<std::string> FColumnNames;
    std::size_t FRow = 0;
    std::string FCurrentLine; // empty past the end

    TNumberReader FNumbers;
    std::optional<TDateTimeReader> FDates; // built at the first date read
};
