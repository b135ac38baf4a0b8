#include "tests/app/spreadsheet/xlsx_reader.h"

#include <QByteArray>
#include <QFile>
#include <QXmlStreamReader>

#include <unzip.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

[[noreturn]] void Fail(const QString& what)
{
    throw std::runtime_error(what.toStdString());
}

class TZipArchive {
public:
    explicit TZipArchive(const QString& path) : FPath(path), FFile(unzOpen64(QFile::encodeName(path).constData()))
    {
        if (!FFile)
            Fail(QStringLiteral("not a readable zip archive: %1").arg(path));
    }
    ~TZipArchive() { unzClose(FFile); }
    TZipArchive(const TZipArchive&) = delete;
    TZipArchive& operator=(const TZipArchive&) = delete;

    // The bytes of the member `name`, or nothing when the archive has no such member.
    std::optional<QByteArray> Member(const char* name)
    {
        if (unzLocateFile(FFile, name, 1) != UNZ_OK)
            return std::nullopt;
        if (unzOpenCurrentFile(FFile) != UNZ_OK)
            Fail(QStringLiteral("cannot open %1 in %2").arg(QLatin1StringView(name), FPath));
        QByteArray bytes;
        char buffer[16384];
        int count = 0;
        while ((count = unzReadCurrentFile(FFile, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, count);
        // Closing checks the member's CRC, so a damaged member is caught here too.
        if (unzCloseCurrentFile(FFile) != UNZ_OK || count < 0)
            Fail(QStringLiteral("cannot read %1 in %2").arg(QLatin1StringView(name), FPath));
        return bytes;
    }

    QByteArray RequiredMember(const char* name)
    {
        std::optional<QByteArray> bytes = Member(name);
        if (!bytes)
            Fail(QStringLiteral("%1 has no %2").arg(FPath, QLatin1StringView(name)));
        return *bytes;
    }

private:
    QString FPath;
    unzFile FFile;
};

void CheckParsed(const QXmlStreamReader& xml, const char* part)
{
    if (xml.hasError())
        Fail(QStringLiteral("%1: %2").arg(QLatin1StringView(part), xml.errorString()));
}

// The text of a string item (<si> or <is>) whose start the reader stands on: its own
// <t> or those of its runs, without the phonetic hints of <rPh>.
QString StringItemText(QXmlStreamReader& xml)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t")
            text += xml.readElementText();
        else if (xml.name() == u"r")
            text += StringItemText(xml);
        else
            xml.skipCurrentElement();
    }
    return text;
}

QStringList SheetNames(const QByteArray& bytes)
{
    QStringList names;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheet")
            names.append(xml.attributes().value(QLatin1StringView("name")).toString());
    CheckParsed(xml, "xl/workbook.xml");
    return names;
}

std::vector<QString> SharedStrings(const QByteArray& bytes)
{
    std::vector<QString> strings;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.push_back(StringItemText(xml));
    CheckParsed(xml, "xl/sharedStrings.xml");
    return strings;
}

int RowNumber(QStringView text)
{
    bool ok = false;
    const int row = text.toInt(&ok);
    if (!ok || row < 1)
        Fail(QStringLiteral("bad row number %1").arg(text.toString()));
    return row;
}

// "B12" → (12, 2).
std::pair<int, int> CellPosition(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i] >= u'A' && reference[i] <= u'Z'; ++i)
        column = column * 26 + (reference[i].unicode() - u'A' + 1);
    if (column == 0)
        Fail(QStringLiteral("bad cell reference %1").arg(reference.toString()));
    return {RowNumber(reference.sliced(i)), column};
}

struct TRawCell {
    QString Type;
    std::optional<QString> Value;
    std::optional<QString> InlineText;
};

// The <c> element the reader stands on, up to its end.
TRawCell RawCell(QXmlStreamReader& xml)
{
    TRawCell cell{xml.attributes().value(QLatin1StringView("t")).toString(), {}, {}};
    while (xml.readNextStartElement()) {
        if (xml.name() == u"v")
            cell.Value = xml.readElementText();
        else if (xml.name() == u"is")
            cell.InlineText = StringItemText(xml);
        else
            xml.skipCurrentElement();
    }
    return cell;
}

std::optional<TSheetCell> SheetCell(const TRawCell& raw, const std::vector<QString>& sharedStrings)
{
    TSheetCell cell;
    if (raw.Type == u"inlineStr") {
        if (!raw.InlineText)
            return std::nullopt;
        cell.Text = *raw.InlineText;
        return cell;
    }
    // A cell with a style but no value is no cell for the reader.
    if (!raw.Value)
        return std::nullopt;
    if (raw.Type == u"s") {
        bool ok = false;
        const qsizetype index = raw.Value->toLongLong(&ok);
        if (!ok || index < 0 || index >= qsizetype(sharedStrings.size()))
            Fail(QStringLiteral("bad shared string index %1").arg(*raw.Value));
        cell.Text = sharedStrings[index];
    } else if (raw.Type.isEmpty() || raw.Type == u"n") {
        bool ok = false;
        cell.IsNumber = true;
        cell.Number = raw.Value->toDouble(&ok);
        if (!ok)
            Fail(QStringLiteral("bad number %1").arg(*raw.Value));
        cell.Text = *raw.Value;
    } else {
        cell.Text = *raw.Value;
    }
    return cell;
}

TSheetCells SheetCells(const QByteArray& bytes, const std::vector<QString>& sharedStrings, const char* part)
{
    TSheetCells cells;
    QXmlStreamReader xml(bytes);
    // Rows and cells may leave out their reference; then they follow the one before.
    int row = 0;
    int column = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"row") {
            const QString reference = xml.attributes().value(QLatin1StringView("r")).toString();
            row = reference.isEmpty() ? row + 1 : RowNumber(reference);
            column = 0;
        } else if (xml.name() == u"c") {
            const QString reference = xml.attributes().value(QLatin1StringView("r")).toString();
            if (reference.isEmpty())
                ++column;
            else
                std::tie(row, column) = CellPosition(reference);
            if (std::optional<TSheetCell> cell = SheetCell(RawCell(xml), sharedStrings))
                cells[{row, column}] = *cell;
        }
    }
    CheckParsed(xml, part);
    return cells;
}

}  // namespace

TWorkbookContents ReadWorkbook(const QString& path)
{
    TZipArchive archive(path);
    TWorkbookContents contents;
    contents.SheetNames = SheetNames(archive.RequiredMember("xl/workbook.xml"));
    // A workbook without texts has no shared strings.
    const std::optional<QByteArray> strings = archive.Member("xl/sharedStrings.xml");
    const std::vector<QString> sharedStrings = strings ? SharedStrings(*strings) : std::vector<QString>();
    for (qsizetype sheet = 1; sheet <= contents.SheetNames.size(); ++sheet) {
        const QByteArray part = QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet).toUtf8();
        contents.Sheets.push_back(SheetCells(archive.RequiredMember(part.constData()), sharedStrings, part.constData()));
    }
    if (contents.Sheets.empty())
        Fail(QStringLiteral("no worksheet"));
    contents.Cells = contents.Sheets.front();
    return contents;
}
