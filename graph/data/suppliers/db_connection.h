#pragma once

#include <QSqlDatabase>
#include <QString>

// The database a source text names: the open Qt SQL connection of that name, or
// else an SQLite file. A file is opened read-only, so that filling a series never
// writes to it, on a connection of its own that lives as long as this object.
// Queries made on that connection must be destroyed before this object.
class TDBConnection {
public:
    explicit TDBConnection(const QString& name);
    ~TDBConnection();
    TDBConnection(const TDBConnection&) = delete;
    TDBConnection& operator=(const TDBConnection&) = delete;

    bool IsOpen() const;
    // A handle for making queries; not to be kept past this object.
    QSqlDatabase Database() const;

private:
    QString FConnectionName;
    bool FOwnsConnection = false;
};
