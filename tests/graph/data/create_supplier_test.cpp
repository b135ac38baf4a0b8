#include "graph/data/suppliers/create_supplier.h"

#include <gtest/gtest.h>


#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "graph/data/data_series.h"
#include "graph/data/suppliers/component_registry.h"
#include "graph/persist/xy_holder.h"

namespace {

// Series filled through the suppliers the program installs.
class FillFromSource : public testing::Test {
protected:
    FillFromSource() { InstallDataSuppliers(); }
    ~FillFromSource() override { SetSupplierFactory({}); }

    QString WriteText(const QString& name, const QByteArray& text)
    {
        const QString path = FFolder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    std::vector<std::pair<double, double>> Points() const
    {
        std::vector<std::pair<double, double>> points;
        for (const TDataPoint& point : FSeries.Points())
            points.emplace_back(point.X, point.Y);
        return points;
    }

    QTemporaryDir FFolder;
    TDataSeries FSeries;
};

using TPoints = std::vector<std::pair<double, double>>;

TEST_F(FillFromSource, ATextFileByItsNameAndAMissingOneChangesNothing)
{
    FSeries.SetDataSource(1);
    FSeries.SetDatasourceInfo(WriteText("data.txt", "size\tcount\n1\t10\n2\t20\r\n3\t30\n").toStdString());
    FSeries.SetXDataColumn("SIZE");
    FSeries.LoadFromSource();
    EXPECT_EQ(Points(), (TPoints{{1, 10}, {2, 20}, {3, 30}}));

    FSeries.SetDatasourceInfo(FFolder.filePath("gone.txt").toStdString());
    FSeries.LoadFromSource();
    EXPECT_EQ(Points().size(), 3u);
}

TEST_F(FillFromSource, AHolderFoundByItsId)
{
    QObject module;
    RegisterDataModule(module);
    auto* holder = new TxyHolder(&module);
    holder->SetID(QStringLiteral("measured"));
    holder->Setdata({"x,y", "5,50", "'6',60"});
    FSeries.SetDataSource(5);
    FSeries.SetDatasourceInfo("measured");
    FSeries.SetTextSeparators(",");
    FSeries.LoadFromSource();
    EXPECT_EQ(Points(), (TPoints{{5, 50}, {6, 60}}));
}

TEST_F(FillFromSource, AnSqliteTableAndQueryGiveEveryRecordOnce)
{
    const QString file = FFolder.filePath("counts.sqlite");
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
        database.setDatabaseName(file);
        ASSERT_TRUE(database.open());
        QSqlQuery query(database);
        ASSERT_TRUE(query.exec("CREATE TABLE counts (d REAL, n REAL)"));
        for (int d = 1; d <= 5; ++d)
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO counts VALUES (%1, %2)").arg(d).arg(d * d)));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));

    FSeries.SetFileHasHeaders(0);
    FSeries.SetDataSource(3);
    FSeries.SetDatasourceInfo(file.toStdString() + ":counts");
    FSeries.LoadFromSource();
    EXPECT_EQ(Points(), (TPoints{{1, 1}, {2, 4}, {3, 9}, {4, 16}, {5, 25}}));

    FSeries.SetDataSource(4);
    FSeries.SetDatasourceInfo(file.toStdString() + ":SELECT n, d FROM counts WHERE d > 3");
    FSeries.SetXDataColumn("d");
    FSeries.SetYDataColumn("n");
    FSeries.LoadFromSource();
    EXPECT_EQ(Points(), (TPoints{{4, 16}, {5, 25}}));
}

// A query reads as many records as the series holds points; the records left are
// reported as points beyond the limit are, once.
TEST_F(FillFromSource, AnEndlessQueryStopsAtThePointLimit)
{
    const QString file = WriteText("empty.sqlite", ""); // an empty file is an empty database
    int reports = 0;
    FSeries.SetOnPointLimit([&](TDataSeries&) { ++reports; });
    FSeries.SetMaxPoints(500);
    FSeries.SetFileHasHeaders(0);
    FSeries.SetDataSource(4);
    FSeries.SetDatasourceInfo(file.toStdString()
                              + ":WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) SELECT n, n FROM c");
    FSeries.LoadFromSource();
    EXPECT_EQ(FSeries.Count(), 500);
    EXPECT_EQ(FSeries.Points().back().X, 500);
    EXPECT_EQ(reports, 1);

    FSeries.SetDatasourceInfo(file.toStdString()
                              + ":WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c LIMIT 500) SELECT n, n FROM c");
    FSeries.LoadFromSource();
    EXPECT_EQ(FSeries.Count(), 500);
    EXPECT_EQ(reports, 1) << "all records read";
}

}  // namespace
