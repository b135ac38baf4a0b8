#include "graph/data/suppliers/query_guard.h"

#include <cstring>

#include <sqlite3.h>
#include <QSqlDriver>
#include <QVariant>

#include "graph/core/error.h"

namespace {

// Virtual machine steps between two looks at the clock: often enough to stop within
// a millisecond or so, rarely enough to cost nothing.
constexpr int kStepsPerLook = 1000;

sqlite3* SqliteConnectionOf(const QSqlQuery& query)
{
    const QSqlDriver* driver = query.driver();
    if (driver == nullptr)
        return nullptr;
    const QVariant handle = driver->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

QString LimitText(std::chrono::milliseconds limit)
{
    return QString::number(static_cast<double>(limit.count()) / 1000.0) + QStringLiteral(" s");
}

}  // namespace

TQueryGuard::TQueryGuard(std::chrono::milliseconds timeLimit) : FTimeLimit(timeLimit)
{
}

int TQueryGuard::Authorize(void* guard, int action, const char* /*detail1*/, const char* detail2,
                           const char* /*database*/, const char* /*view*/)
{
    auto& self = *static_cast<TQueryGuard*>(guard);
    switch (action) {
    case SQLITE_SELECT:
        self.FSawSelect = true;
        return SQLITE_OK;
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        // The one function that reaches outside the database: it runs a library's code.
        if (detail2 == nullptr || std::strcmp(detail2, "load_extension") != 0)
            return SQLITE_OK;
        break;
    default:
        break;
    }
    self.FRefused = true;
    return SQLITE_DENY;
}

int TQueryGuard::Progress(void* guard)
{
    auto& self = *static_cast<TQueryGuard*>(guard);
    if (self.FElapsed + (TClock::now() - self.FCallStart) > self.FTimeLimit)
        self.FTimedOut = true;
    return self.FTimedOut ? 1 : 0;
}

bool TQueryGuard::Guarded(QSqlQuery& query, const std::function<bool()>& call)
{
    sqlite3* const connection = SqliteConnectionOf(query);
    if (connection == nullptr)
        return call();

    // Taken off on every path: the connection outlives this call.
    struct TInstalled {
        TQueryGuard& Guard;
        sqlite3* Connection;
        TInstalled(TQueryGuard& guard, sqlite3* connection) : Guard(guard), Connection(connection)
        {
            sqlite3_set_authorizer(Connection, &TQueryGuard::Authorize, &Guard);
            sqlite3_progress_handler(Connection, kStepsPerLook, &TQueryGuard::Progress, &Guard);
            Guard.FCallStart = TClock::now();
        }
        ~TInstalled()
        {
            Guard.FElapsed += TClock::now() - Guard.FCallStart;
            sqlite3_progress_handler(Connection, 0, nullptr, nullptr);
            sqlite3_set_authorizer(Connection, nullptr, nullptr);
        }
        TInstalled(const TInstalled&) = delete;
        TInstalled& operator=(const TInstalled&) = delete;
    };
    bool result = false;
    {
        const TInstalled installed(*this, connection);
        result = call();
    }
    if (FTimedOut)
        throw TVandrelError(
            QStringLiteral("The query took longer than %1 and was stopped").arg(LimitText(FTimeLimit)).toStdString());
    return result;
}

bool TQueryGuard::Prepare(QSqlQuery& query, const QString& statement)
{
    FSawSelect = false;
    FRefused = false;
    const bool prepared = Guarded(query, [&] { return query.prepare(statement); });
    // VACUUM and REINDEX ask the authorizer nothing; only a statement that began as
    // a select reads and nothing more.
    if (FRefused || (prepared && !FSawSelect))
        throw TVandrelError("The query was refused: a series only reads from a database");
    return prepared;
}

bool TQueryGuard::Exec(QSqlQuery& query)
{
    return Guarded(query, [&] { return query.exec(); });
}

bool TQueryGuard::Next(QSqlQuery& query)
{
    return Guarded(query, [&] { return query.next(); });
}
