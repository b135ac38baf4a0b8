#include "graph/data/suppliers/db_connection.h"

#include <atomic>

#include <QFileInfo>

namespace {

QString NewConnectionName()
{
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("vandrel.db_supplier.%1").arg(++counter);
}

}  // namespace

TDBConnection::TDBConnection(const QString& name)
{
    if (QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).isOpen()) {
        FConnectionName = name;
        return;
    }
    // A mistyped name must not leave an empty database file behind.
    if (!QFileInfo(name).isFile())
        return;
    FConnectionName = NewConnectionName();
    FOwnsConnection = true;
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnectionName);
    database.setDatabaseName(name);
    database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    database.open();
}

TDBConnection::~TDBConnection()
{
    // No handle of this connection is alive here, so Qt removes it without complaint.
    if (FOwnsConnection)
        QSqlDatabase::removeDatabase(FConnectionName);
}

bool TDBConnection::IsOpen() const
{
    return !FConnectionName.isEmpty() && Database().isOpen();
}

QSqlDatabase TDBConnection::Database() const
{
    return QSqlDatabase::database(FConnectionName, false);
}
