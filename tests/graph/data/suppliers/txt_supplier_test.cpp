#include "graph/data/suppliers/txt_supplier.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>

#include <gtest/gtest.h>
#include <QDateTime>
#include <QLocale>
#include <QTemporaryDir>

#include "graph/core/date_time.h"
#include "graph/data/suppliers/text_fields.h"
#include "graph/data/suppliers/text_values.h"

namespace {

std::vector<std::string> Fields(std::string_view line)
{
    return SeparatedFields(line, ",", "'", kMaxSeparatedColumns);
}

using TLines = std::vector<std::string>;

TEST(TextFields, QuotedFieldsKeepSeparatorsAndDoubledMarkers)
{
    EXPECT_EQ(Fields("a,'b,c',d"), (TLines{"a", "b,c", "d"}));
    EXPECT_EQ(Fields("'x''y',1"), (TLines{"x'y", "1"}));
    EXPECT_EQ(Fields("'ab'zz,c"), (TLines{"ab", "c"}));
    // An unclosed quote runs to the end; a separator ending the line is not kept.
    EXPECT_EQ(Fields("a,'b,c"), (TLines{"a", "b,c"}));
    EXPECT_EQ(Fields("'ab,"), (TLines{"ab"}));
    EXPECT_EQ(SeparatedField("a,'b,c',d", 2, ",", "'").Text, "d");
}

TEST(TextFields, EmptyAndMissingFields)
{
    EXPECT_EQ(Fields("a,,b"), (TLines{"a", "", "b"}));
    EXPECT_EQ(Fields(",a"), (TLines{"", "a"}));
    EXPECT_EQ(Fields("a,"), (TLines{"a", ""}));
    const TTextField middle = SeparatedField("a,,b", 1, ",", "'");
    EXPECT_EQ(middle.Text, "");
    EXPECT_FALSE(middle.Missing);
    EXPECT_TRUE(SeparatedField("a,,b", 3, ",", "'").Missing);
    EXPECT_TRUE(SeparatedField("", 0, ",", "'").Missing);
    EXPECT_EQ(SeparatedColumnCount("", ",", "'"), 0u);
    EXPECT_EQ(SeparatedColumnCount(std::string(1500, ','), ",", "'"), kMaxSeparatedColumns);
}

TEST(TextFields, FixedWidthColumns)
{
    const std::string line = "0123456789abcdefghij";
    EXPECT_EQ(FixedWidthColumnCount(line, 10), 2u);
    EXPECT_EQ(FixedWidthColumnCount(line + "k", 10), 3u);
    EXPECT_EQ(FixedWidthColumnCount("", 10), 1u);
    EXPECT_EQ(FixedWidthColumn(line, 1, 10), "abcdefghij");
    EXPECT_EQ(FixedWidthColumn(line, 1, 15), "fghij");
    EXPECT_EQ(FixedWidthColumn(line, 2, 10), "");
}

class TxtSupplierTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(FSaved); }

    std::string WriteFile(const std::string& content)
    {
        const std::string path = FDir.filePath("data.txt").toStdString();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    QLocale FSaved;
    QTemporaryDir FDir;
};

TEST_F(TxtSupplierTest, ColumnNamesAndLookup)
{
    QStringList lines{"1.5\t2.5", "1\t2"};
    TTxtSupplier numbersAsNames(false, 10, "\t", "'\"");
    ASSERT_TRUE(numbersAsNames.OpenLines(lines));
    EXPECT_EQ(numbersAsNames.ColumnName(0), "1.5");
    EXPECT_EQ(numbersAsNames.ColumnName(1), "2.5");
    EXPECT_EQ(numbersAsNames.ColumnIndex("2.5"), 1);
    EXPECT_EQ(numbersAsNames.ColumnIndex("(col 0)"), 0);

    lines = {"12\t", "1\t2\t3"};
    TTxtSupplier digits(false, 10, "\t", "'\"");
    ASSERT_TRUE(digits.OpenLines(lines));
    ASSERT_EQ(digits.ColumnCount(), 3);
    EXPECT_EQ(digits.ColumnName(0), "(col 0)");
    EXPECT_EQ(digits.ColumnName(1), "(col 1)");
    EXPECT_EQ(digits.ColumnName(2), "(col 2)");

    lines = {"Time\tSpeed\tDepth", "1\t2\t3"};
    TTxtSupplier named(false, 10, "\t", "'\"");
    ASSERT_TRUE(named.OpenLines(lines));
    EXPECT_EQ(named.ColumnIndex("SPEED"), 1);
    EXPECT_EQ(named.ColumnIndex("(COL 2)"), 2);
    EXPECT_EQ(named.ColumnIndex("Height"), -1);
}

TEST_F(TxtSupplierTest, ColumnCountFromFirstFortyLines)
{
    QStringList lines(39, "1,2");
    lines.append("1,2,3");     // line 40 counts
    lines.append("1,2,3,4,5"); // line 41 does not
    TTxtSupplier supplier(false, 10, ",", "'");
    ASSERT_TRUE(supplier.OpenLines(lines));
    EXPECT_EQ(supplier.ColumnCount(), 3);

    QStringList fixed{QString(20, 'x'), QString(5, 'x')};
    TTxtSupplier byWidth(true, 10, ",", "'");
    ASSERT_TRUE(byWidth.OpenLines(fixed));
    EXPECT_EQ(byWidth.ColumnCount(), 2);
}

TEST_F(TxtSupplierTest, ValuesInTheUsersLocale)
{
    QStringList lines{" 1.5 ;abc;;1,500;inf;15 Mar 2024 06:00:00;2024-03-15;12:00",
                      "1,5;15.03.24"};
    TTxtSupplier supplier(false, 10, ";", "'");
    ASSERT_TRUE(supplier.OpenLines(lines));
    double value = -1;
    EXPECT_TRUE(supplier.GetValue(0, value, 0));
    EXPECT_EQ(value, 1.5);
    EXPECT_FALSE(supplier.GetValue(1, value, 0));
    EXPECT_FALSE(supplier.GetValue(2, value, 0)); // empty
    EXPECT_FALSE(supplier.GetValue(3, value, 0)); // group separators are not digits
    EXPECT_FALSE(supplier.GetValue(4, value, 0));
    EXPECT_FALSE(supplier.GetValue(9, value, 0)); // no such field
    const TDateTime day = EncodeDate(2024, 3, 15);
    EXPECT_TRUE(supplier.GetValue(5, value, 1));
    EXPECT_DOUBLE_EQ(value, day + 0.25);
    EXPECT_TRUE(supplier.GetValue(6, value, 1));
    EXPECT_EQ(value, day);
    EXPECT_TRUE(supplier.GetValue(7, value, 1));
    EXPECT_EQ(value, 0.5);
    EXPECT_FALSE(supplier.GetValue(1, value, 1));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TTxtSupplier german(false, 10, ";", "'");
    ASSERT_TRUE(german.OpenLines(lines));
    ASSERT_FALSE(german.Next());
    EXPECT_TRUE(german.GetValue(0, value, 0));
    EXPECT_EQ(value, 1.5);
    EXPECT_TRUE(german.GetValue(1, value, 1)); // a two-digit year is a recent one
    EXPECT_EQ(value, day);
}

TEST_F(TxtSupplierTest, TimeSkippedByDaylightSavingIsRead)
{
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved != nullptr ? saved : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    QStringList lines{"31 Mar 2024 02:30:00"};
    TTxtSupplier supplier(false, 10, ";", "'");
    ASSERT_TRUE(supplier.OpenLines(lines));
    double value = 0;
    const bool read = supplier.GetValue(0, value, 1);
    if (saved != nullptr)
        setenv("TZ", savedZone.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_TRUE(read);
    EXPECT_DOUBLE_EQ(value, EncodeDate(2024, 3, 31) + EncodeTime(2, 30, 0, 0));
}

TEST_F(TxtSupplierTest, FileLinesAndCursor)
{
    TTxtSupplier missing(false, 10, ",", "'");
    EXPECT_FALSE(missing.OpenFile(FDir.filePath("none.txt").toStdString()));
    EXPECT_FALSE(missing.OpenFile(WriteFile("")));

    TTxtSupplier supplier(false, 10, ",", "'");
    ASSERT_TRUE(supplier.OpenFile(WriteFile("\xEF\xBB\xBFx,y\r\n1,2\r3,4\n\n5,6\n")));
    EXPECT_EQ(supplier.RowCount(), 5);
    EXPECT_EQ(supplier.ColumnName(0), "x");
    std::vector<std::string> seen;
    for (bool end = supplier.Eof(); !end; end = supplier.Next())
        seen.push_back(supplier.GetText(1));
    EXPECT_EQ(seen, (TLines{"y", "2", "4", "", "6"}));
    EXPECT_TRUE(supplier.Next()); // stays at the end
    EXPECT_TRUE(supplier.Eof());
    EXPECT_EQ(supplier.GetText(0), "");
}

TEST_F(TxtSupplierTest, LongFileIsReadWhole)
{
    std::string content;
    for (int i = 0; i < 100000; ++i)
        content += std::to_string(i) + "\t" + std::to_string(2 * i) + "\n";
    TTxtSupplier supplier(false, 10, "\t", "'");
    ASSERT_TRUE(supplier.OpenFile(WriteFile(content)));
    EXPECT_EQ(supplier.RowCount(), 100000);
    int rows = 1;
    std::string last;
    for (; rows <= 100000; ++rows) { // bounded: a short row index would wrap round
        last = supplier.GetText(0);
        if (supplier.Next())
            break;
    }
    EXPECT_EQ(rows, 100000);
    EXPECT_EQ(last, "99999");
    supplier.Next();
    EXPECT_TRUE(supplier.Eof());
}

TEST_F(TxtSupplierTest, HolderLinesAreReadInPlace)
{
    QStringList lines;
    TTxtSupplier empty(false, 10, ",", "'");
    EXPECT_FALSE(empty.OpenLines(lines));

    lines = {"Höhe,b", "1,2"};
    TTxtSupplier supplier(false, 10, ",", "'");
    ASSERT_TRUE(supplier.OpenLines(lines));
    EXPECT_EQ(supplier.ColumnName(0), "Höhe");
    lines.append("3,4"); // not a copy: later lines are seen
    EXPECT_EQ(supplier.RowCount(), 3);
    supplier.Next();
    supplier.Next();
    EXPECT_EQ(supplier.GetText(1), "4");
}

// A column's reader tries the pattern of its last value first. Over texts in many
// formats, in runs and mixed, it reads each one as a reader that knows nothing yet,
// which searches the patterns in their order.
TEST(DateTimeReader, RememberedPatternReadsAsTheFullSearch)
{
    TDateTimeReader iso(QLocale::c());
    TDateTime value = 0;
    for (const char* text : {"2024-03-15T06:00:00", "2024-03-15 06:00", "2024-03-15T06:00:00.000+02:00"}) {
        EXPECT_TRUE(iso.Read(text, value)) << text;
        EXPECT_DOUBLE_EQ(value, EncodeDate(2024, 3, 15) + 0.25) << text << ": the time is kept";
    }

    const QDateTime moments[] = {QDateTime(QDate(2024, 3, 15), QTime(6, 5, 4), Qt::UTC),
                                 QDateTime(QDate(1999, 12, 31), QTime(23, 59), Qt::UTC),
                                 QDateTime(QDate(1931, 1, 2), QTime(0, 0, 0, 250), Qt::UTC)};
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::Swedish, QLocale::Sweden), QLocale(QLocale::French, QLocale::France)}) {
        std::vector<QString> texts{"abc", "2024-13-45", "31.02.2024", "25:61", ""};
        for (const QDateTime& moment : moments) {
            for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
                texts.push_back(locale.toString(moment.date(), type));
                texts.push_back(locale.toString(moment, type));
                texts.push_back(locale.toString(moment.time(), type));
            }
            texts.push_back(moment.date().toString(Qt::ISODate));
            texts.push_back(moment.toString(Qt::ISODateWithMs).chopped(1)); // without the Z
            texts.push_back(moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss+02:00")));
            texts.push_back(moment.toString(QStringLiteral("d.M.yy H:mm")));
        }
        std::vector<QString> sequence;
        for (const QString& text : texts)
            sequence.insert(sequence.end(), 3, text); // runs, as in a column
        std::mt19937 random(7);
        std::vector<QString> mixed = texts;
        std::shuffle(mixed.begin(), mixed.end(), random);
        sequence.insert(sequence.end(), mixed.begin(), mixed.end());

        TDateTimeReader column(locale);
        int read = 0;
        for (const QString& text : sequence) {
            TDateTime expected = -1;
            value = -1;
            const bool expectedRead = TDateTimeReader(locale).Read(text, expected);
            EXPECT_EQ(column.Read(text, value), expectedRead) << locale.name().toStdString() << " " << text.toStdString();
            if (expectedRead) {
                EXPECT_EQ(value, expected) << locale.name().toStdString() << " " << text.toStdString();
                ++read;
            }
        }
        EXPECT_GT(read, static_cast<int>(sequence.size()) / 2) << locale.name().toStdString();
    }
}

}  // namespace
