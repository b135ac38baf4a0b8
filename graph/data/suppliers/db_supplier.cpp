#include "graph/data/suppliers/db_supplier.h"

#include <QSqlDriver>

#include "graph/data/suppliers/component_registry.h"
#include "graph/data/suppliers/data_source.h"
#include "graph/data/suppliers/field_value.h"

namespace {

// "database:rest", split at the first colon; a missing or leading colon fails.
bool SplitSourceText(const std::string& info, QString& database, QString& rest)
{
    const std::string::size_type colon = info.find(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    database = QString::fromStdString(info.substr(0, colon));
    rest = QString::fromStdString(info.substr(colon + 1));
    return true;
}

// Empty when the name cannot be quoted safely. Drivers leave a name alone that
// looks quoted already, yet such a text may hold more SQL than a name: it loses
// its outer quotes and is quoted again, and is refused if the driver still passes
// it through unchanged.
QString TableStatement(const QSqlDriver& driver, const QString& table)
{
    const QString bare = driver.isIdentifierEscaped(table, QSqlDriver::TableName)
        ? driver.stripDelimiters(table, QSqlDriver::TableName)
        : table;
    const QString quoted = driver.escapeIdentifier(bare, QSqlDriver::TableName);
    if (bare.isEmpty() || quoted == bare)
        return {};
    return QStringLiteral("SELECT * FROM ") + quoted;
}

}  // namespace

TDBSupplier::TDBSupplier() = default;

TDBSupplier::~TDBSupplier() = default;

bool TDBSupplier::OpenDataSource(const std::string& name)
{
    Close();
    const QString componentName = QString::fromStdString(name);
    TDataSource* source = FindComponent<TDataSource>(
        [&componentName](const TDataSource& component) { return component.objectName() == componentName; });
    if (source == nullptr || source->DataSet() == nullptr || !source->DataSet()->isActive())
        return false;
    Start(*source->DataSet());
    return true;
}

bool TDBSupplier::OpenTable(const std::string& info)
{
    return OpenStatement(info, true);
}

bool TDBSupplier::OpenQuery(const std::string& info)
{
    return OpenStatement(info, false);
}

bool TDBSupplier::OpenStatement(const std::string& info, bool isTable)
{
    Close();
    QString databaseName;
    QString text;
    if (!SplitSourceText(info, databaseName, text))
        return false;
    FConnection = std::make_unique<TDBConnection>(databaseName);
    if (!FConnection->IsOpen())
        return false;
    const QSqlDatabase database = FConnection->Database();
    const QString statement = isTable ? TableStatement(*database.driver(), text) : text;
    if (statement.trimmed().isEmpty())
        return false;
    FOwnedDataSet = std::make_unique<QSqlQuery>(database);
    // One pass over the records: no need to keep the ones already read.
    FOwnedDataSet->setForwardOnly(true);
    FGuard = std::make_unique<TQueryGuard>(FTimeLimit);
    // A statement that returns no records has nothing to read.
    if (!FGuard->Prepare(*FOwnedDataSet, statement) || !FGuard->Exec(*FOwnedDataSet) || !FOwnedDataSet->isSelect())
        return false;
    Start(*FOwnedDataSet);
    return true;
}

void TDBSupplier::Start(QSqlQuery& dataSet)
{
    FDataSet = &dataSet;
    FFields = dataSet.record();
    if (dataSet.at() == QSql::BeforeFirstRow)
        MoveNext();
    else
        FRowsRead = 1;
}

void TDBSupplier::MoveNext()
{
    const bool moved = FGuard ? FGuard->Next(*FDataSet) : FDataSet->next();
    // Counted only up to the limit, which is all the count is for.
    if (moved && FRowLimit > 0 && ++FRowsRead > FRowLimit)
        FRowLimitReached = true;
}

void TDBSupplier::Close()
{
    FDataSet = nullptr;
    FFields.clear();
    FGuard.reset();
    FOwnedDataSet.reset();
    FConnection.reset();
    FRowsRead = 0;
    FRowLimitReached = false;
}

bool TDBSupplier::Eof()
{
    return FDataSet == nullptr || FRowLimitReached || !FDataSet->isValid();
}

bool TDBSupplier::Next()
{
    if (!Eof())
        MoveNext();
    return Eof();
}

bool TDBSupplier::RowLimitReached()
{
    return FRowLimitReached;
}

bool TDBSupplier::HasField(int32_t column)
{
    return !Eof() && column >= 0 && column < FFields.count();
}

bool TDBSupplier::GetValue(int32_t column, double& value, uint8_t /*format*/)
{
    return HasField(column) && FieldAsNumber(FDataSet->value(column), value);
}

std::string TDBSupplier::GetText(int32_t column)
{
    return HasField(column) ? FDataSet->value(column).toString().toStdString() : std::string();
}

int32_t TDBSupplier::RowCount()
{
    return FDataSet == nullptr ? -1 : FDataSet->size();
}

int32_t TDBSupplier::ColumnCount()
{
    return FFields.count();
}

std::string TDBSupplier::ColumnName(int32_t index)
{
    return FFields.fieldName(index).toStdString();
}

int32_t TDBSupplier::ColumnIndex(const std::string& name)
{
    const int32_t number = ColumnNumberOf(name);
    if (number != -1)
        return number;
    const QString fieldName = QString::fromStdString(name);
    for (int32_t i = FFields.count() - 1; i >= 0; --i)
        if (FFields.fieldName(i) == fieldName)
            return i;
    return -1;
}
