#include "graph/data/suppliers/create_supplier.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "graph/data/data_series.h"
#include "graph/data/suppliers/component_registry.h"
#include "graph/data/suppliers/txt_supplier.h"
#include "graph/data/suppliers/xy_holder.h"

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

// Lines split in memory, as a holder keeps them: at CR, LF or CRLF.
QStringList LinesOf(const std::string& text)
{
    QStringList lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.append(QString::fromStdString(text.substr(start, end - start)));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// A file read line by line gives what the same lines give held in memory: every
// text, the row count, and the points of every row choice with and without
// sampling. The lines end in all three ways, one of them a CRLF cut by the end of
// the block the file is read in, and one line is longer than such a block.
TEST_F(FillFromSource, AFileGivesWhatItsLinesGiveHeldInMemory)
{
    std::mt19937 random(15);
    const char* const ends[] = {"\n", "\r\n", "\r"};
    std::string body = "x,y,note\r\n";
    for (int i = 0; i < 10000; ++i) {
        // A CR as the last byte of the first 64 KiB, with its LF after it.
        if (body.size() > 60000 && body.size() < 65000)
            body += std::string(65536 - 3 - body.size() - 1, 'p') + "\r\n";
        const std::string x = std::to_string(10 * i);
        const unsigned kind = random() % 50;
        if (i == 5000)
            body += x + ",1,'" + std::string(70000, 'q') + "'";
        else if (kind == 1)
            body += "bad," + x;
        else if (kind != 0) // 0: an empty line
            body += x + "," + std::to_string(random() % 1000) + ",'a,b'";
        body += ends[random() % 3];
    }
    body += "-1,-1"; // a last line without an end of its own
    const std::string file = WriteText("long.txt", QByteArray::fromStdString("\xEF\xBB\xBF" + body)).toStdString();
    const QStringList lines = LinesOf(body);

    TTxtSupplier streamed(false, 10, ",", "'");
    TTxtSupplier held(false, 10, ",", "'");
    ASSERT_TRUE(streamed.OpenFile(file));
    ASSERT_TRUE(held.OpenLines(lines));
    ASSERT_EQ(streamed.ColumnCount(), held.ColumnCount());
    EXPECT_EQ(streamed.ColumnName(2), "note");
    EXPECT_EQ(streamed.RowCount(), lines.size());
    for (bool end = false; !end;) {
        for (int32_t column = 0; column < 3; ++column)
            ASSERT_EQ(streamed.GetText(column), held.GetText(column));
        end = streamed.Next();
        ASSERT_EQ(end, held.Next());
    }

    QObject module;
    RegisterDataModule(module);
    auto* holder = new TxyHolder(&module);
    holder->SetID(QStringLiteral("held"));
    holder->Setdata(lines);
    FSeries.SetMaxPoints(0);
    FSeries.SetDuplicatesAllowed(true);
    FSeries.SetTextSeparators(",");
    const auto fill = [&](uint8_t source, const std::string& info) {
        FSeries.SetDataSource(source);
        FSeries.SetDatasourceInfo(info);
        FSeries.LoadFromSource();
        return Points();
    };
    for (uint8_t mode = 0; mode <= 5; ++mode) {
        for (const uint16_t sampling : {1, 3}) {
            FSeries.SetRowChoiceMode(mode);
            FSeries.SetRowChoiceValue1(mode == 4 || mode == 5 ? 5000 : 20000);
            FSeries.SetRowChoiceValue2(60000);
            FSeries.SetRowSamplingFrequency(sampling);
            const TPoints points = fill(1, file);
            EXPECT_GT(points.size(), 1000u) << int(mode) << " " << sampling;
            EXPECT_EQ(points, fill(5, "held")) << int(mode) << " " << sampling;
        }
    }
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
