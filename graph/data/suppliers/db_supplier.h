#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QSqlQuery>
#include <QSqlRecord>

#include "graph/data/data_supplier.h"
#include "graph/data/suppliers/db_connection.h"

// Reads the records of a dataset, one row per record and one column per field:
// either a dataset the program keeps open behind a data source component, or a
// table or query this supplier opens itself. Source texts for a table or query are
// "database:table" and "database:SQL text".
class TDBSupplier : public TDataSupplier {
public:
    TDBSupplier();
    ~TDBSupplier() override;
    TDBSupplier(const TDBSupplier&) = delete;
    TDBSupplier& operator=(const TDBSupplier&) = delete;

    // Reads on from the dataset's current record (from the first when none is
    // current yet), moving the program's own dataset as it goes.
    bool OpenDataSource(const std::string& name);
    bool OpenTable(const std::string& info);
    bool OpenQuery(const std::string& info);

    bool Eof() override;
    bool Next() override;
    // Dates and times are day counts; `format` plays no part, since the field
    // knows its own type.
    bool GetValue(int32_t column, double& value, uint8_t format) override;
    std::string GetText(int32_t column) override;
    // Only drivers that report query sizes can tell (SQLite cannot): counting the
    // records otherwise would use up the forward-only cursor, so the answer is -1.
    int32_t RowCount() override;
    int32_t ColumnCount() override;
    std::string ColumnName(int32_t index) override;
    // A field name is compared exactly, and the last field of that name wins.
    int32_t ColumnIndex(const std::string& name) override;

private:
    bool OpenStatement(const std::string& info, bool isTable);
    void Start(QSqlQuery& dataSet);
    bool HasField(int32_t column);
    void Close();

    // The connection is declared before the query made on it, so that the query
    // goes first: Qt requires that before a connection is removed.
    std::unique_ptr<TDBConnection> FConnection;
    std::unique_ptr<QSqlQuery> FOwnedDataSet;
    QSqlQuery* FDataSet = nullptr;
    QSqlRecord FFields;
};
