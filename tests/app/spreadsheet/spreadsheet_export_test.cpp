#include "app/spreadsheet/spreadsheet_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <clocale>
#include <limits>
#include <string>

#include "tests/app/spreadsheet/xlsx_reader.h"
#include "tests/support/file_size_limit.h"

namespace {

class SpreadsheetExportTest : public testing::Test {
protected:
    QString PathOf(const QString& name) const { return FDir.filePath(name); }

    // Exports into `name` in the test folder and reads the workbook back.
    TWorkbookContents ExportAndRead(const TTextTable& cells, const QLocale& locale = QLocale::c(),
                                    const QString& name = QStringLiteral("table.xlsx"))
    {
        QString failure;
        EXPECT_TRUE(ExportGridToSpreadsheet(cells, PathOf(name), locale, failure)) << failure.toStdString();
        EXPECT_TRUE(failure.isEmpty());
        return ReadWorkbook(PathOf(name));
    }

    // Exports a table that must fail; returns the reason given.
    QString FailingExport(const TTextTable& cells, const QString& path)
    {
        QString failure;
        EXPECT_FALSE(ExportGridToSpreadsheet(cells, path, QLocale::c(), failure));
        EXPECT_FALSE(failure.isEmpty());
        return failure;
    }

    // Hidden ones too, as a scratch file would be.
    QStringList FolderEntries() const
    {
        return QDir(FDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    bool FolderIsEmpty() const { return FolderEntries().isEmpty(); }

    QTemporaryDir FDir;
};

void ExpectText(const TWorkbookContents& book, int row, int column, const QString& text)
{
    const auto cell = book.Cells.find({row, column});
    ASSERT_NE(cell, book.Cells.end()) << "row " << row << ", column " << column;
    EXPECT_FALSE(cell->second.IsNumber) << text.toStdString();
    EXPECT_EQ(cell->second.Text, text);
}

void ExpectNumber(const TWorkbookContents& book, int row, int column, double number)
{
    const auto cell = book.Cells.find({row, column});
    ASSERT_NE(cell, book.Cells.end()) << "row " << row << ", column " << column;
    EXPECT_TRUE(cell->second.IsNumber) << cell->second.Text.toStdString();
    EXPECT_EQ(cell->second.Number, number);
}

TEST_F(SpreadsheetExportTest, WritesTheResultsTableFromA1OnOneNamedSheet)
{
    const TTextTable table = {
        {"File: ", "leaf.bmp"},
        {"Slope: ", "-1.2345"},
        {"Intercept: ", "3.2000"},
        {"Correlation coefficient (r): ", "-0.9999"},
        {"log(d)", "log(N(d))"},
        {"1.0000", "2.000000000000"},
        {"", ""},
        {"", "7"},
    };
    const TWorkbookContents book = ExportAndRead(table);

    EXPECT_EQ(book.SheetNames, QStringList{"My Sheet Name"});
    EXPECT_EQ(book.Cells.size(), 13u); // the empty cells are not written
    ExpectText(book, 1, 1, "File: ");
    ExpectText(book, 1, 2, "leaf.bmp");
    ExpectNumber(book, 2, 2, -1.2345);
    ExpectNumber(book, 3, 2, 3.2);
    ExpectText(book, 4, 1, "Correlation coefficient (r): ");
    ExpectNumber(book, 4, 2, -0.9999);
    ExpectText(book, 5, 2, "log(N(d))");
    ExpectNumber(book, 6, 1, 1);
    ExpectNumber(book, 6, 2, 2);
    ExpectNumber(book, 8, 2, 7);
}

TEST_F(SpreadsheetExportTest, NumbersAreReadWithTheDecimalSeparatorOfTheLocale)
{
    const TTextTable table = {{"1.5", "1,5", "-0.25", "1,000", "1.000", "-2,000000000000", "1e3"}};

    const TWorkbookContents c = ExportAndRead(table, QLocale::c(), "c.xlsx");
    ExpectNumber(c, 1, 1, 1.5);
    ExpectText(c, 1, 2, "1,5");
    ExpectNumber(c, 1, 3, -0.25);
    ExpectText(c, 1, 4, "1,000"); // a group separator, not a decimal one
    ExpectNumber(c, 1, 5, 1);
    ExpectText(c, 1, 6, "-2,000000000000");
    ExpectNumber(c, 1, 7, 1000);

    const TWorkbookContents german = ExportAndRead(table, QLocale(QLocale::German, QLocale::Germany), "de.xlsx");
    ExpectText(german, 1, 1, "1.5"); // '.' groups digits in German
    ExpectNumber(german, 1, 2, 1.5);
    ExpectText(german, 1, 3, "-0.25");
    ExpectNumber(german, 1, 4, 1);
    ExpectText(german, 1, 5, "1.000");
    ExpectNumber(german, 1, 6, -2);
    ExpectNumber(german, 1, 7, 1000);
}

TEST_F(SpreadsheetExportTest, TextsThatAreNoFiniteNumberStayAsTyped)
{
    const TTextTable table = {
        {"nan", "inf", "-inf", "1e999", "1.5abc", "12 %", " ", "0x10"},
        {"Größe <&> \"ü\"", QString::fromUtf8("\xF0\x9F\x98\x80 smile"), "tab\there"},
    };
    const TWorkbookContents book = ExportAndRead(table);

    for (std::size_t column = 0; column < table[0].size(); ++column)
        ExpectText(book, 1, int(column) + 1, table[0][column]);
    for (std::size_t column = 0; column < table[1].size(); ++column)
        ExpectText(book, 2, int(column) + 1, table[1][column]);
}

TEST_F(SpreadsheetExportTest, FileNameMayHoldNonAsciiCharactersAndAnyExtension)
{
    const QString name = QStringLiteral("Größe ü 1,5.bmp.xls");
    const TWorkbookContents book = ExportAndRead({{"a", "1"}}, QLocale::c(), name);

    EXPECT_TRUE(QFile::exists(PathOf(name)));
    ExpectText(book, 1, 1, "a");
    ExpectNumber(book, 1, 2, 1);
}

TEST_F(SpreadsheetExportTest, ReplacesAnExistingWorkbook)
{
    ExportAndRead({{"old", "old"}, {"old", "old"}});
    const TWorkbookContents book = ExportAndRead({{"new"}});

    EXPECT_EQ(book.Cells.size(), 1u);
    ExpectText(book, 1, 1, "new");
    EXPECT_EQ(FolderEntries(), QStringList{"table.xlsx"});
}

TEST_F(SpreadsheetExportTest, PathThatCannotBeCreatedFailsWithAReasonAndLeavesNoFile)
{
    const QString failure = FailingExport({{"1"}}, PathOf("missing/table.xlsx"));
    EXPECT_TRUE(failure.contains("No such file or directory")) << failure.toStdString();
    EXPECT_TRUE(FolderIsEmpty());

    ASSERT_TRUE(QDir(FDir.path()).mkdir("folder"));
    FailingExport({{"1"}}, PathOf("folder"));
    EXPECT_TRUE(QFileInfo(PathOf("folder")).isDir());
}

TEST_F(SpreadsheetExportTest, TableBeyondTheSheetFailsWithoutWritingAFile)
{
    // Column 65536 would wrap round to column 0 in the sheet's 16-bit column index.
    TTextTable wide(1, std::vector<QString>(65537));
    wide[0].back() = "far";
    FailingExport(wide, PathOf("wide.xlsx"));

    const QString tooLong(32768, u'x');
    const QString failure = FailingExport({{"short", tooLong}}, PathOf("long.xlsx"));
    EXPECT_TRUE(failure.contains("32,767")) << failure.toStdString();

    EXPECT_TRUE(FolderIsEmpty());
}

// A file size limit makes every write past it fail, as a full disk would: neither a
// new workbook nor one over the workbook that was there leaves anything behind.
TEST_F(SpreadsheetExportTest, WriteThatBreaksOffLeavesNoHalfFile)
{
    ExportAndRead({{"old", "1"}});
    QFile old(PathOf("table.xlsx"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();

    for (const char* name : {"half.xlsx", "table.xlsx"}) {
        QString failure;
        bool written = true;
        {
            // Checked once the limit is gone, so that the test's own output can grow.
            TFileSizeLimit limit(2000);
            ASSERT_TRUE(limit.Active());
            written = ExportGridToSpreadsheet(TTextTable(300, {"new", "2.5"}), PathOf(name), QLocale::c(), failure);
        }
        EXPECT_FALSE(written) << name;
        EXPECT_TRUE(failure.contains("File too large")) << failure.toStdString();
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), before);
    EXPECT_EQ(FolderEntries(), QStringList{"table.xlsx"});
}

// A Qt program runs under the user's numeric locale; a decimal comma there must not
// reach the numbers in the file.
TEST_F(SpreadsheetExportTest, NumbersIgnoreTheNumericLocaleOfTheProcess)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    bool commaLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "nl_NL.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point == std::string(",")) {
            commaLocale = true;
            break;
        }
    if (!commaLocale) {
        std::setlocale(LC_NUMERIC, before.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }

    QString failure;
    const bool written = ExportGridToSpreadsheet({{"1.5", "-0.25"}}, PathOf("table.xlsx"), QLocale::c(), failure);
    const std::string decimalPoint = std::localeconv()->decimal_point;
    std::setlocale(LC_NUMERIC, before.c_str());

    ASSERT_TRUE(written) << failure.toStdString();
    EXPECT_EQ(decimalPoint, ",") << "the export must give the process its locale back";
    const TWorkbookContents book = ReadWorkbook(PathOf("table.xlsx"));
    ExpectNumber(book, 1, 1, 1.5);
    ExpectNumber(book, 1, 2, -0.25);
}

TEST_F(SpreadsheetExportTest, MoreSheetsFollowTheFirstWithTheirCellsTyped)
{
    const double third = 1.0 / 3.0;
    const TValueSheet details{QStringLiteral("Details"),
                              {{QStringLiteral("r"), std::numeric_limits<double>::quiet_NaN()},
                               {QStringLiteral("1.5"), third, TSheetValue(), -1e-300},
                               {},
                               {QString(), QStringLiteral("#ff0000")}}};
    QString failure;
    ASSERT_TRUE(ExportGridToSpreadsheet({{"a", "2"}}, PathOf("table.xlsx"), QLocale::c(), failure, {&details, 1}))
        << failure.toStdString();
    const TWorkbookContents book = ReadWorkbook(PathOf("table.xlsx"));
    EXPECT_EQ(book.SheetNames, QStringList({"My Sheet Name", "Details"}));
    ExpectNumber(book, 1, 2, 2.0);
    ASSERT_EQ(book.Sheets.size(), 2u);
    const TSheetCells& cells = book.Sheets[1];
    EXPECT_EQ(cells.size(), 5u) << "no cell for nothing, an empty text or a number that is not finite";
    EXPECT_FALSE(cells.at({2, 1}).IsNumber) << "a text stays a text even when it reads as a number";
    EXPECT_EQ(cells.at({2, 1}).Text, "1.5");
    EXPECT_TRUE(cells.at({2, 2}).IsNumber);
    EXPECT_NEAR(cells.at({2, 2}).Number, third, 1e-16);
    EXPECT_EQ(cells.at({2, 4}).Number, -1e-300);
    EXPECT_EQ(cells.at({4, 2}).Text, "#ff0000");

    // A sheet name the format refuses fails the export and leaves no file behind.
    const TValueSheet twice{QString::fromLatin1(kExportSheetName), {{1.0}}};
    EXPECT_FALSE(ExportGridToSpreadsheet({{"a"}}, PathOf("twice.xlsx"), QLocale::c(), failure, {&twice, 1}));
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(PathOf("twice.xlsx")));
}

}  // namespace
