#include <gtest/gtest.h>

#include <QFile>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "graph/data/suppliers/component_registry.h"
#include "graph/data/suppliers/data_source.h"
#include "graph/data/suppliers/db_supplier.h"
#include "tests/support/error_message.h"

namespace {

const QString kSetupConnection = QStringLiteral("db_supplier_test.setup");
const QString kNamedConnection = QStringLiteral("db_supplier_test.named");
const std::string kRefused = "The query was refused: a series only reads from a database";
// Counts on for ever, one record per number.
const std::string kEndless = "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) ";

void Execute(const QSqlDatabase& database, const QStringList& statements)
{
    QSqlQuery query(database);
    for (const QString& statement : statements)
        ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
}

// Reads the rest of the source: one text per record of the given column.
std::vector<std::string> Texts(TDBSupplier& supplier, int32_t column)
{
    std::vector<std::string> texts;
    for (; !supplier.Eof(); supplier.Next())
        texts.push_back(supplier.GetText(column));
    return texts;
}

class DBSupplierTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FFile = FDir.filePath(QStringLiteral("points.db")).toStdString();
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kSetupConnection);
            database.setDatabaseName(QString::fromStdString(FFile));
            ASSERT_TRUE(database.open());
            Execute(database, {"CREATE TABLE points (x REAL, y REAL, label TEXT)",
                               "INSERT INTO points VALUES (1, 10, 'one'), (2, 20.5, 'two'), (3, NULL, 'three')",
                               "CREATE TABLE vault (code TEXT)", "INSERT INTO vault VALUES ('secret')",
                               "CREATE TABLE \"odd\"\"name\" (v INTEGER)", "INSERT INTO \"odd\"\"name\" VALUES (7)"});
        }
        QSqlDatabase::removeDatabase(kSetupConnection);
    }

    QTemporaryDir FDir;
    std::string FFile;
};

TEST_F(DBSupplierTest, TableGivesEveryRecordOnceWithNamesAndValues)
{
    TDBSupplier supplier;
    ASSERT_TRUE(supplier.OpenTable(FFile + ":points"));
    ASSERT_EQ(supplier.ColumnCount(), 3);
    EXPECT_EQ(supplier.ColumnName(1), "y");
    EXPECT_EQ(supplier.ColumnIndex("(col 1)"), 1);
    EXPECT_EQ(supplier.ColumnIndex("label"), 2);
    EXPECT_EQ(supplier.ColumnIndex("Label"), -1);
    EXPECT_EQ(supplier.RowCount(), -1);

    std::vector<double> xs;
    std::vector<double> ys;
    for (; !supplier.Eof(); supplier.Next()) {
        double value = 0;
        EXPECT_TRUE(supplier.GetValue(0, value, 0));
        xs.push_back(value);
        if (supplier.GetValue(1, value, 0))
            ys.push_back(value);
        EXPECT_FALSE(supplier.GetValue(2, value, 0)) << "a word is no number";
    }
    EXPECT_EQ(xs, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(ys, (std::vector<double>{10, 20.5})) << "NULL is no number";
    EXPECT_TRUE(supplier.Next()) << "stays at the end";
}

TEST_F(DBSupplierTest, QueryGivesItsRecordsAndTheLastFieldOfANameWins)
{
    TDBSupplier supplier;
    ASSERT_TRUE(supplier.OpenQuery(FFile + ":SELECT label AS v, x * 2 AS v FROM points ORDER BY x DESC"));
    EXPECT_EQ(supplier.ColumnIndex("v"), 1);
    EXPECT_EQ(supplier.ColumnIndex("w"), -1);
    EXPECT_EQ(Texts(supplier, 1), (std::vector<std::string>{"6", "4", "2"}));
}

TEST_F(DBSupplierTest, SourceTextsThatDoNotOpen)
{
    const std::string missingFile = FDir.filePath(QStringLiteral("missing.db")).toStdString();
    const std::vector<std::string> tables{"points", ":points", missingFile + ":points", FFile + ":nothing",
                                          FFile + ":"};
    for (const std::string& table : tables)
        EXPECT_FALSE(TDBSupplier().OpenTable(table)) << table;
    const std::vector<std::string> queries{"SELECT 1", FFile + ":SELEKT * FROM points",
                                           FFile + ":SELECT * FROM nothing", FFile + ":", missingFile + ":SELECT 1"};
    for (const std::string& query : queries)
        EXPECT_FALSE(TDBSupplier().OpenQuery(query)) << query;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missingFile)));

    EXPECT_EQ(MessageOf([&] { TDBSupplier().OpenQuery(FFile + ":DELETE FROM points"); }), kRefused);
    TDBSupplier supplier;
    ASSERT_TRUE(supplier.OpenTable(FFile + ":points"));
    EXPECT_EQ(Texts(supplier, 0).size(), 3u) << "a fill never writes to the file";
}

TEST_F(DBSupplierTest, TableNamesAreQuotedSoTheyCannotCarrySql)
{
    for (const char* table : {"\"points\" UNION SELECT code, 0, 0 FROM vault WHERE \"\"=\"\"",
                                     "points\" UNION SELECT code, 0, 0 FROM vault --",
                                     "[points] UNION SELECT code, 0, 0 FROM vault"})
        EXPECT_FALSE(TDBSupplier().OpenTable(FFile + ":" + table)) << table;

    for (const char* table : {"odd\"name", "\"points\""}) {
        TDBSupplier supplier;
        EXPECT_TRUE(supplier.OpenTable(FFile + ":" + table)) << table;
    }
}

TEST_F(DBSupplierTest, OpenNamedConnectionIsUsedByItsName)
{
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kNamedConnection);
        database.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(database.open());
        Execute(database, {"CREATE TABLE memo (x REAL)", "INSERT INTO memo VALUES (5)"});
        {
            TDBSupplier supplier;
            ASSERT_TRUE(supplier.OpenTable(kNamedConnection.toStdString() + ":memo"));
            EXPECT_EQ(Texts(supplier, 0), (std::vector<std::string>{"5"}));
        }
        database.close();
        EXPECT_FALSE(TDBSupplier().OpenTable(kNamedConnection.toStdString() + ":memo")) << "closed";
    }
    QSqlDatabase::removeDatabase(kNamedConnection);
}

TEST_F(DBSupplierTest, DataSourceIsFoundByNameAndReadFromItsCurrentRecord)
{
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kNamedConnection);
        database.setDatabaseName(QString::fromStdString(FFile));
        ASSERT_TRUE(database.open());
        QObject module;
        RegisterDataModule(module);
        auto* source = new TDataSource(&module);
        source->setObjectName(QStringLiteral("Points"));
        QSqlQuery dataSet(database);
        source->SetDataSet(&dataSet);
        EXPECT_FALSE(TDBSupplier().OpenDataSource("Points")) << "no dataset open yet";

        ASSERT_TRUE(dataSet.exec(QStringLiteral("SELECT label FROM points ORDER BY x")));
        TDBSupplier fromStart;
        ASSERT_TRUE(fromStart.OpenDataSource("Points"));
        EXPECT_EQ(Texts(fromStart, 0), (std::vector<std::string>{"one", "two", "three"}));

        ASSERT_TRUE(dataSet.exec(QStringLiteral("SELECT label FROM points ORDER BY x")));
        dataSet.next();
        dataSet.next();
        TDBSupplier fromCurrent;
        ASSERT_TRUE(fromCurrent.OpenDataSource("Points"));
        EXPECT_EQ(Texts(fromCurrent, 0), (std::vector<std::string>{"two", "three"}));

        EXPECT_FALSE(TDBSupplier().OpenDataSource("points"));
        dataSet.finish();
        EXPECT_FALSE(TDBSupplier().OpenDataSource("Points")) << "closed";
    }
    QSqlDatabase::removeDatabase(kNamedConnection);
}

TEST_F(DBSupplierTest, EachFileSupplierHasItsOwnConnectionUntilDestroyed)
{
    const QStringList before = QSqlDatabase::connectionNames();
    {
        TDBSupplier first;
        TDBSupplier second;
        TDBSupplier failed;
        ASSERT_TRUE(first.OpenTable(FFile + ":points"));
        ASSERT_TRUE(second.OpenQuery(FFile + ":SELECT code FROM vault"));
        ASSERT_FALSE(failed.OpenQuery(FFile + ":SELECT * FROM nothing"));
        EXPECT_EQ(Texts(first, 2), (std::vector<std::string>{"one", "two", "three"}));
        EXPECT_EQ(Texts(second, 0), (std::vector<std::string>{"secret"}));
        EXPECT_EQ(QSqlDatabase::connectionNames().size(), before.size() + 3);
    }
    EXPECT_EQ(QSqlDatabase::connectionNames(), before);
}

// Statements that would change a database, or a file beside it, and those that
// only read, on the supplier's own read-only connection and on a writable one the
// program opened by name; the program's connection writes again afterwards.
TEST_F(DBSupplierTest, OnlyReadingStatementsRunOnEitherConnection)
{
    const QString copy = FDir.filePath(QStringLiteral("copy.db"));
    const QString attached = FDir.filePath(QStringLiteral("attached.db"));
    const std::vector<std::string> writing{
        "VACUUM INTO '" + copy.toStdString() + "'", "ATTACH '" + attached.toStdString() + "' AS other",
        "INSERT INTO points VALUES (4, 40, 'four')", "WITH n AS (SELECT 5) INSERT INTO points SELECT *, 0, '' FROM n",
        "UPDATE points SET x = 0", "DELETE FROM vault", "DROP TABLE vault", "CREATE TABLE more (v)",
        "CREATE TEMP TABLE scratch AS SELECT * FROM points", "PRAGMA user_version = 7", "PRAGMA user_version",
        "BEGIN", "SAVEPOINT s", "ANALYZE", "REINDEX", "VACUUM", "SELECT load_extension('libm')"};
    const std::vector<std::string> reading{"SELECT count(*), max(x), abs(-2) FROM points",
                                           kEndless + "SELECT n FROM c LIMIT 3", "SELECT name FROM sqlite_master",
                                           "VALUES (1, 2)", "SELECT v FROM \"odd\"\"name\" UNION SELECT code FROM vault"};
    QSqlDatabase named = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kNamedConnection);
    named.setDatabaseName(QString::fromStdString(FFile));
    ASSERT_TRUE(named.open());
    for (const std::string& database : {FFile, kNamedConnection.toStdString()}) {
        for (const std::string& statement : writing)
            EXPECT_EQ(MessageOf([&] { TDBSupplier().OpenQuery(database + ":" + statement); }), kRefused)
                << database << ": " << statement;
        for (const std::string& statement : reading) {
            TDBSupplier supplier;
            EXPECT_TRUE(supplier.OpenQuery(database + ":" + statement)) << database << ": " << statement;
            EXPECT_FALSE(Texts(supplier, 0).empty()) << database << ": " << statement;
        }
    }
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_FALSE(QFile::exists(attached));

    QSqlQuery check(named);
    ASSERT_TRUE(check.exec(QStringLiteral("SELECT (SELECT count(*) FROM points WHERE x > 0) || (SELECT count(*) FROM "
                                          "vault) || (SELECT count(*) FROM sqlite_master) || user_version "
                                          "FROM pragma_user_version")));
    ASSERT_TRUE(check.next());
    EXPECT_EQ(check.value(0).toString(), "3130") << "points, vault, tables, user version";
    check.finish();
    Execute(named, {"INSERT INTO vault VALUES ('second')", "CREATE TABLE later (v)", "DROP TABLE later"});
    named.close();
    named = QSqlDatabase();
    QSqlDatabase::removeDatabase(kNamedConnection);
}

TEST_F(DBSupplierTest, EndlessQueryStopsAtTheTimeLimit)
{
    const std::string stopped = "The query took longer than 0.2 s and was stopped";
    TDBSupplier beforeItsFirstRecord;
    beforeItsFirstRecord.SetTimeLimit(std::chrono::milliseconds(200));
    EXPECT_EQ(MessageOf([&] { beforeItsFirstRecord.OpenQuery(FFile + ":" + kEndless + "SELECT max(n) FROM c"); }),
              stopped);

    // On the program's own connection, which runs long statements of its own after.
    QSqlDatabase named = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kNamedConnection);
    named.setDatabaseName(QString::fromStdString(FFile));
    ASSERT_TRUE(named.open());
    {
        TDBSupplier recordByRecord;
        recordByRecord.SetTimeLimit(std::chrono::milliseconds(200));
        ASSERT_TRUE(recordByRecord.OpenQuery(kNamedConnection.toStdString() + ":" + kEndless + "SELECT n FROM c"));
        EXPECT_EQ(MessageOf([&] {
                      while (!recordByRecord.Next()) {
                      }
                  }),
                  stopped);
    }
    QSqlQuery own(named);
    EXPECT_TRUE(own.exec(QStringLiteral(
        "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 300000) SELECT max(n) FROM c")));
    own.finish();
    named.close();
    named = QSqlDatabase();
    QSqlDatabase::removeDatabase(kNamedConnection);

    EXPECT_EQ(TDBSupplier().TimeLimit(), std::chrono::seconds(30));
}

TEST_F(DBSupplierTest, RowLimitEndsTheSourceAndSaysWhenRecordsWereLeft)
{
    for (const int32_t limit : {0, 1, 2, 3, 4}) {
        TDBSupplier supplier;
        supplier.SetRowLimit(limit);
        ASSERT_TRUE(supplier.OpenTable(FFile + ":points"));
        const std::size_t read = Texts(supplier, 2).size();
        EXPECT_EQ(read, limit == 0 ? 3u : std::min<std::size_t>(limit, 3)) << limit;
        EXPECT_EQ(supplier.RowLimitReached(), limit == 1 || limit == 2) << limit;
    }
}

}  // namespace
