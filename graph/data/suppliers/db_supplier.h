#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include <QSqlQuery>
#include <QSqlRecord>

#include "graph/data/data_supplier.h"
#include "graph/data/suppliers/db_connection.h"
#include "graph/data/suppliers/query_guard.h"

// Reads the records of a dataset, one row per record and one column per field:
// either a dataset the program keeps open behind a data source component, or a
// table or query this supplier opens itself. Source texts for a table or query are
// "database:table" and "database:SQL text". A table or query of an SQLite database
// may only read (TQueryGuard), within TimeLimit.
class TDBSupplier : public TDataSupplier {
public:
    TDBSupplier();
    ~TDBSupplier() override;
    TDBSupplier(const TDBSupplier&) = delete;
    TDBSupplier& operator=(const TDBSupplier&) = delete;

    // The time a table or query may spend in the database, its records together;
    // 30 s. Set before opening.
    std::chrono::milliseconds TimeLimit() const { return FTimeLimit; }
    void SetTimeLimit(std::chrono::milliseconds value) { FTimeLimit = value; }
    // Records read at most, 0 for all: a source with more ends after that many.
    int32_t RowLimit() const { return FRowLimit; }
    void SetRowLimit(int32_t value) { FRowLimit = value; }

    // Reads on from the dataset's current record (from the first when none is
    // current yet), moving the program's own dataset as it goes.
    bool OpenDataSource(const std::string& name);
    // False when the text names no database or table, or the statement fails; a
    // query that would write raises the guard's message.
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
    bool RowLimitReached() override;

private:
    bool OpenStatement(const std::string& info, bool isTable);
    void Start(QSqlQuery& dataSet);
    // To the next record, counting it against the row limit.
    void MoveNext();
    bool HasField(int32_t column);
    void Close();

    // The connection is declared before the query made on it, so that the query
    // goes first: Qt requires that before a connection is removed.
    std::unique_ptr<TDBConnection> FConnection;
    std::unique_ptr<QSqlQuery> FOwnedDataSet;
    // On the statements this supplier runs itself only.
    std::unique_ptr<TQueryGuard> FGuard;
    QSqlQuery* FDataSet = nullptr;
    QSqlRecord FFields;
    std::chrono::milliseconds FTimeLimit = std::chrono::seconds(30);
    int32_t FRowLimit = 0;
    int32_t FRowsRead = 0; // the current record's number from 1, while there is a limit
    bool FRowLimitReached = false;
};
