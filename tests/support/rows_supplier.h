#pragma once

#include <charconv>
#include <string>
#include <vector>

#include "graph/data/data_supplier.h"

// Rows of numbers held in memory, with columns named "x" and "y"; a row may leave
// a value out (an empty text).
class TRowsSupplier : public TDataSupplier {
public:
    explicit TRowsSupplier(std::vector<std::vector<std::string>> rows) : FRows(std::move(rows)) {}

    bool Eof() override { return FRow >= FRows.size(); }
    bool Next() override
    {
        ++FRow;
        return Eof();
    }
    bool GetValue(int32_t column, double& value, uint8_t) override
    {
        const std::string text = GetText(column);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return !text.empty() && error == std::errc() && end == text.data() + text.size();
    }
    std::string GetText(int32_t column) override
    {
        if (Eof() || static_cast<std::size_t>(column) >= FRows[FRow].size())
            return {};
        return FRows[FRow][static_cast<std::size_t>(column)];
    }
    int32_t RowCount() override { return static_cast<int32_t>(FRows.size()); }
    int32_t ColumnCount() override { return 2; }
    std::string ColumnName(int32_t index) override { return index == 0 ? "x" : "y"; }
    int32_t ColumnIndex(const std::string& name) override
    {
        const int32_t number = ColumnNumberOf(name);
        if (number != -1)
            return number;
        return name == "x" ? 0 : name == "y" ? 1 : -1;
    }

private:
    std::vector<std::vector<std::string>> FRows;
    std::size_t FRow = 0;
};
