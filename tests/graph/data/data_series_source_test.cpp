#include "graph/data/data_series.h"

#include <gtest/gtest.h>

#include <vector>

#include "graph/data/data_supplier.h"
#include "tests/support/error_message.h"
#include "tests/support/rows_supplier.h"

namespace {

class DataSeriesSource : public testing::Test {
protected:
    DataSeriesSource()
    {
        FSeries.SetDataSource(1);
        FSeries.SetFileHasHeaders(0);
        SetSupplierFactory([this](const TSourceSettings& settings) -> std::unique_ptr<TDataSupplier> {
            Opened = settings;
            if (settings.DatasourceInfo == "missing")
                return nullptr;
            return std::make_unique<TRowsSupplier>(FRows);
        });
    }
    ~DataSeriesSource() override { SetSupplierFactory({}); }

    // Rows whose x and y are the given x values.
    void Rows(std::initializer_list<double> xs)
    {
        for (const double x : xs)
            FRows.push_back({std::to_string(x), std::to_string(x * 10)});
    }
    void Numbered(int count)
    {
        for (int i = 1; i <= count; ++i)
            FRows.push_back({std::to_string(i), std::to_string(i)});
    }

    std::vector<double> Xs() const
    {
        std::vector<double> xs;
        for (const TDataPoint& point : FSeries.Points())
            xs.push_back(point.X);
        return xs;
    }

    TSourceSettings Opened;
    std::vector<std::vector<std::string>> FRows;
    TDataSeries FSeries;
};

using TXs = std::vector<double>;

TEST_F(DataSeriesSource, AllRowsAfterTheHeadersWithTheSeriesSettingsPassedOn)
{
    FRows.push_back({"x", "y"});
    Rows({3, 1, 2});
    FRows.push_back({"bad", "4"});
    FSeries.SetFileHasHeaders(1);
    FSeries.SetXDataColumn("x");
    FSeries.SetYDataColumn("(COL 1)");
    FSeries.SetDatasourceInfo("rows");
    FSeries.SetTextSeparators(";");
    FSeries.LoadFromSource();
    EXPECT_EQ(Xs(), (TXs{1, 2, 3}));
    EXPECT_EQ(Opened.DataSource, 1);
    EXPECT_EQ(Opened.DatasourceInfo, "rows");
    EXPECT_EQ(Opened.TextSeparators, ";");
}

TEST_F(DataSeriesSource, ASourceOrColumnThatIsNotThereLeavesThePoints)
{
    FSeries.AddPoint(7, 7);
    Rows({1, 2});
    FSeries.SetDatasourceInfo("missing");
    FSeries.LoadFromSource();
    FSeries.SetDatasourceInfo("rows");
    FSeries.SetXDataColumn("height");
    FSeries.LoadFromSource();
    FSeries.SetDataSource(0);
    FSeries.SetXDataColumn("x");
    FSeries.LoadFromSource();
    SetSupplierFactory({});
    FSeries.SetDataSource(1);
    FSeries.LoadFromSource();
    EXPECT_EQ(Xs(), (TXs{7}));

    FSeries.SetXDataColumn("(col x)");
    SetSupplierFactory([this](const TSourceSettings&) { return std::make_unique<TRowsSupplier>(FRows); });
    EXPECT_EQ(MessageOf([&] { FSeries.LoadFromSource(); }), "'x' is not a valid integer value");
}

TEST_F(DataSeriesSource, RowChoiceModes)
{
    Rows({1, 3, 6, 2, 8});
    FSeries.SetDuplicatesAllowed(true);
    const auto loaded = [&](uint8_t mode, double value1, double value2) {
        FSeries.SetRowChoiceMode(mode);
        FSeries.SetRowChoiceValue1(value1);
        FSeries.SetRowChoiceValue2(value2);
        FSeries.LoadFromSource();
        return Xs();
    };
    EXPECT_EQ(loaded(0, 0, 0), (TXs{1, 2, 3, 6, 8}));
    // The search starts at the row after the first, so the first is never the start.
    EXPECT_EQ(loaded(1, 0, 0), (TXs{2, 3, 6, 8}));
    EXPECT_EQ(loaded(1, 4, 0), (TXs{2, 6, 8}));
    EXPECT_EQ(loaded(2, 0, 5), (TXs{1, 3}));
    EXPECT_EQ(loaded(3, 2, 5), (TXs{3}));
    EXPECT_EQ(loaded(4, 2, 0), (TXs{1, 3, 6}));
    EXPECT_EQ(loaded(5, 2, 0), (TXs{2, 8}));
}

TEST_F(DataSeriesSource, TheLastRowsAreAsManyAsAskedWithOrWithoutHeaders)
{
    Numbered(10);
    FSeries.SetRowChoiceMode(5);
    FSeries.SetRowChoiceValue1(4);
    FSeries.LoadFromSource();
    EXPECT_EQ(Xs(), (TXs{7, 8, 9, 10}));

    FRows.insert(FRows.begin(), 2, {"x", "y"});
    FSeries.SetFileHasHeaders(2);
    FSeries.LoadFromSource();
    EXPECT_EQ(Xs(), (TXs{7, 8, 9, 10}));

    FSeries.SetRowChoiceValue1(40);
    FSeries.LoadFromSource();
    EXPECT_EQ(Xs().size(), 10u);
}

TEST_F(DataSeriesSource, SamplingReadsEveryNthRowAndCountsTheRowsPassed)
{
    Numbered(10);
    FSeries.SetRowSamplingFrequency(3);
    FSeries.LoadFromSource();
    EXPECT_EQ(Xs(), (TXs{1, 4, 7, 10}));

    FSeries.SetRowChoiceMode(4);
    FSeries.SetRowChoiceValue1(4);
    FSeries.LoadFromSource();
    EXPECT_EQ(Xs(), (TXs{1, 4})) << "rows 2, 3, 5 and 6 count as well";
}

TEST_F(DataSeriesSource, TheRowCountOfModeFourDoesNotWrap)
{
    Numbered(70000);
    FSeries.SetMaxPoints(0);
    FSeries.SetRowChoiceMode(4);
    FSeries.SetRowChoiceValue1(69000);
    FSeries.LoadFromSource();
    EXPECT_EQ(FSeries.Count(), 69001);
}

}  // namespace
