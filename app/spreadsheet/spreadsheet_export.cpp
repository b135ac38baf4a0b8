#include "app/spreadsheet/spreadsheet_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <locale.h>

#include "graph/whole_file/whole_file.h"

namespace {

// libxlsxwriter prints numbers with snprintf, which follows LC_NUMERIC, and a Qt
// program runs under the user's locale: a decimal comma would put "1,5" into the
// file, which no spreadsheet reads as a number. So the calling thread works under a
// C numeric locale while the workbook is built and written.
class TCNumericScope {
public:
    TCNumericScope()
    {
        if (locale_t base = duplocale(uselocale(locale_t(0)))) {
            FNumeric = newlocale(LC_NUMERIC_MASK, "C", base);
            if (FNumeric)
                FPrevious = uselocale(FNumeric);
            else
                freelocale(base);
        }
    }
    ~TCNumericScope()
    {
        if (FNumeric) {
            uselocale(FPrevious);
            freelocale(FNumeric);
        }
    }
    TCNumericScope(const TCNumericScope&) = delete;
    TCNumericScope& operator=(const TCNumericScope&) = delete;

private:
    locale_t FNumeric = locale_t(0);
    locale_t FPrevious = locale_t(0);
};

lxw_error WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QString& text, const QLocale& numbers)
{
    bool isNumber = false;
    const double value = numbers.toDouble(text, &isNumber);
    if (isNumber && std::isfinite(value))
        return worksheet_write_number(sheet, row, column, value, nullptr);
    return worksheet_write_string(sheet, row, column, text.toUtf8().constData(), nullptr);
}

lxw_error WriteCells(lxw_worksheet* sheet, const TTextTable& cells, const QLocale& numbers)
{
    for (std::size_t row = 0; row < cells.size(); ++row)
        for (std::size_t column = 0; column < cells[row].size(); ++column) {
            const QString& text = cells[row][column];
            if (text.isEmpty())
                continue;
            // The sheet's index types are narrower than the table's: a cell beyond the
            // sheet must fail, not wrap round onto another cell.
            if (row >= LXW_ROW_MAX || column >= LXW_COL_MAX)
                return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
            const lxw_error error =
                WriteCell(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), text, numbers);
            if (error != LXW_NO_ERROR)
                return error;
        }
    return LXW_NO_ERROR;
}

lxw_error WriteValue(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const TSheetValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        return std::isfinite(*number) ? worksheet_write_number(sheet, row, column, *number, nullptr) : LXW_NO_ERROR;
    if (const QString* text = std::get_if<QString>(&value); text && !text->isEmpty())
        return worksheet_write_string(sheet, row, column, text->toUtf8().constData(), nullptr);
    return LXW_NO_ERROR;
}

lxw_error WriteValueSheet(lxw_workbook* workbook, const TValueSheet& values)
{
    const QByteArray name = values.Name.toUtf8();
    if (const lxw_error refused = workbook_validate_sheet_name(workbook, name.constData()); refused != LXW_NO_ERROR)
        return refused;
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, name.constData());
    if (!sheet)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (std::size_t row = 0; row < values.Cells.size(); ++row)
        for (std::size_t column = 0; column < values.Cells[row].size(); ++column) {
            if (row >= LXW_ROW_MAX || column >= LXW_COL_MAX)
                return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
            const lxw_error error = WriteValue(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                               values.Cells[row][column]);
            if (error != LXW_NO_ERROR)
                return error;
        }
    return LXW_NO_ERROR;
}

bool HasSystemCause(lxw_error error)
{
    return error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE
        || error == LXW_ERROR_READING_TMPFILE || error == LXW_ERROR_ZIP_FILE_OPERATION;
}

QString FileFailure(const QString& reason)
{
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(lxw_strerror(LXW_ERROR_CREATING_XLSX_FILE)), reason);
}

// Builds the workbook and writes it at `path`; false, with the reason, when either fails.
bool WriteWorkbook(const QByteArray& path, const TTextTable& cells, std::span<const TValueSheet> moreSheets,
                   const QLocale& numbers, QString& failure)
{
    TCNumericScope numericScope;
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) {
        failure = QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, kExportSheetName);
    lxw_error error = sheet ? WriteCells(sheet, cells, numbers) : LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (std::size_t more = 0; more < moreSheets.size() && error == LXW_NO_ERROR; ++more)
        error = WriteValueSheet(workbook, moreSheets[more]);
    if (error != LXW_NO_ERROR) {
        lxw_workbook_free(workbook);
        failure = QString::fromUtf8(lxw_strerror(error));
        return false;
    }
    errno = 0;
    error = workbook_close(workbook);
    const int systemError = errno;
    if (error == LXW_NO_ERROR)
        return true;
    failure = QString::fromUtf8(lxw_strerror(error));
    if (HasSystemCause(error) && systemError != 0)
        failure += QStringLiteral(" (%1)").arg(qt_error_string(systemError));
    return false;
}

// Puts the bytes of the file at `workbookPath` at `fileName` only when all are
// written. Through QSaveFile rather than a rename of the scratch file, so that a new
// workbook gets the permissions of a new file and a replaced one keeps its own.
bool CommitWorkbook(const QString& workbookPath, const QString& fileName, QString& failure)
{
    QFile workbook(workbookPath);
    QSaveFile target(fileName);
    if (!workbook.open(QIODevice::ReadOnly)) {
        failure = FileFailure(workbook.errorString());
        return false;
    }
    const QByteArray bytes = workbook.readAll();
    if (workbook.error() != QFileDevice::NoError) {
        failure = FileFailure(workbook.errorString());
        return false;
    }
    if (!WriteWhole(target, bytes)) {
        failure = FileFailure(target.errorString());
        return false;
    }
    return true;
}

}  // namespace

bool ExportGridToSpreadsheet(const TTextTable& cells, const QString& fileName, const QLocale& locale, QString& failure,
                             std::span<const TValueSheet> moreSheets)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(numbers.numberOptions() | QLocale::RejectGroupSeparator);

    // libxlsxwriter cannot write into memory, and a file it fails to finish is left
    // half written; so it writes a scratch file beside the target, which goes on
    // every way out, and the user's file is replaced only by a whole workbook.
    const QFileInfo target(fileName);
    QTemporaryFile scratch(target.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!scratch.open()) {
        failure = FileFailure(scratch.errorString());
        return false;
    }
    scratch.close();
    return WriteWorkbook(QFile::encodeName(scratch.fileName()), cells, moreSheets, numbers, failure)
        && CommitWorkbook(scratch.fileName(), fileName, failure);
}
