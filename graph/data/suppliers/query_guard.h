#pragma once

#include <chrono>
#include <functional>

#include <QSqlQuery>
#include <QString>

// Keeps the statements a supplier runs itself on an SQLite connection to reading
// and within a time limit. Each call into the driver runs with an authorizer and a
// progress handler on the connection, taken off again when the call returns: the
// connection may be one the program opened by name and goes on using. Statements
// on connections of other drivers run unguarded.
class TQueryGuard {
public:
    // The time the statement may spend inside the database, all calls together.
    explicit TQueryGuard(std::chrono::milliseconds timeLimit);
    TQueryGuard(const TQueryGuard&) = delete;
    TQueryGuard& operator=(const TQueryGuard&) = delete;

    // False when the statement does not compile. Raises "The query was refused: a
    // series only reads from a database" when it would do anything but read
    // (write, create, attach, vacuum, set a pragma, begin a transaction, ...).
    bool Prepare(QSqlQuery& query, const QString& statement);
    // Exec and Next of the query. Raise "The query took longer than <limit> and
    // was stopped" once the time is used up.
    bool Exec(QSqlQuery& query);
    bool Next(QSqlQuery& query);

private:
    static int Authorize(void* guard, int action, const char* detail1, const char* detail2, const char* database,
                         const char* view);
    static int Progress(void* guard);
    bool Guarded(QSqlQuery& query, const std::function<bool()>& call);

    using TClock = std::chrono::steady_clock;

    std::chrono::milliseconds FTimeLimit;
    TClock::duration FElapsed{};  // in the calls that have returned
    TClock::time_point FCallStart; // of the call running now
    bool FTimedOut = false;
    bool FSawSelect = false; // a statement that reads is authorised as a select first
    bool FRefused = false;
};
