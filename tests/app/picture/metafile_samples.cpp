#include "tests/app/picture/metafile_samples.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <initializer_list>
#include <stdexcept>

namespace {

void Put16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void Put32(QByteArray& out, quint32 value)
{
    Put16(out, quint16(value & 0xFFFF));
    Put16(out, quint16(value >> 16));
}

// Windows keeps colours as 0x00BBGGRR.
quint32 ColorRef(QRgb colour)
{
    return quint32(qBlue(colour)) << 16 | quint32(qGreen(colour)) << 8 | quint32(qRed(colour));
}

// An EMF record: type, size in bytes, then 32-bit values.
QByteArray EmfRecord(quint32 type, std::initializer_list<quint32> values)
{
    QByteArray record;
    Put32(record, type);
    Put32(record, quint32(8 + 4 * values.size()));
    for (const quint32 value : values)
        Put32(record, value);
    return record;
}

// A WMF record: size in 16-bit words, function, then 16-bit parameters.
QByteArray WmfRecord(quint16 function, std::initializer_list<quint16> parameters)
{
    QByteArray record;
    Put32(record, quint32(3 + parameters.size()));
    Put16(record, function);
    for (const quint16 parameter : parameters)
        Put16(record, parameter);
    return record;
}

}  // namespace

QByteArray TinyEnhancedMetafile()
{
    constexpr quint32 kCreateBrushIndirect = 39, kSelectObject = 37, kRectangle = 43, kEof = 14;
    constexpr quint32 kNullPen = 0x80000008;
    const QRect shape = kTinyEnhancedMetafileShape;
    QByteArray records;
    records += EmfRecord(kCreateBrushIndirect, {1, 0 /* solid */, ColorRef(kTinyEnhancedMetafileColour), 0});
    records += EmfRecord(kSelectObject, {1});
    records += EmfRecord(kSelectObject, {kNullPen});
    // GDI leaves out the right and bottom edges, so these are one past the shape.
    records += EmfRecord(kRectangle, {quint32(shape.left()), quint32(shape.top()), quint32(shape.right() + 1),
                                      quint32(shape.bottom() + 1)});
    records += EmfRecord(kEof, {0, 16, 20});

    const quint32 width = quint32(kTinyEnhancedMetafileSize.width());
    const quint32 height = quint32(kTinyEnhancedMetafileSize.height());
    constexpr quint32 kHeaderSize = 108;
    const quint32 fileSize = kHeaderSize + quint32(records.size());
    // libemf2svg takes the picture's size as right - left of the bounds, so the bounds
    // run one past the last pixel; the frame is the same box in 0.01 mm at 96 dpi.
    const QByteArray header = EmfRecord(1, {
        0, 0, width, height,                           // bounds
        0, 0, width * 2540 / 96, height * 2540 / 96,   // frame
        0x464D4520, 0x10000, fileSize, 6,              // " EMF", version, bytes, records
        2,                                             // handles (0 is reserved), reserved
        0, 0, 0,                                       // no description, no palette
        1920, 1080, 508, 286,                          // reference device: pixels, mm
        0, 0, 0,                                       // no pixel format, no OpenGL
        508000, 285750});                              // reference device: micrometres
    return header + records;
}

namespace {

// The tiny metafile, with the largest record its header claims.
QByteArray MetafileClaiming(quint32 largestRecordWords)
{
    constexpr quint16 kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C, kCreateBrushIndirect = 0x02FC,
                      kCreatePenIndirect = 0x02FA, kSelectObject = 0x012D, kRectangle = 0x041B, kEof = 0;
    const quint16 width = quint16(kTinyMetafileSize.width());
    const quint16 height = quint16(kTinyMetafileSize.height());
    const QRect shape = kTinyMetafileShape;
    const quint32 colour = ColorRef(kTinyMetafileColour);
    QByteArray records;
    records += WmfRecord(kSetWindowOrg, {0, 0}); // y, x
    records += WmfRecord(kSetWindowExt, {height, width});
    records += WmfRecord(kCreateBrushIndirect, {0 /* solid */, quint16(colour & 0xFFFF), quint16(colour >> 16), 0});
    records += WmfRecord(kSelectObject, {0});
    records += WmfRecord(kCreatePenIndirect, {5 /* null */, 0, 0, 0, 0});
    records += WmfRecord(kSelectObject, {1});
    records += WmfRecord(kRectangle, {quint16(shape.bottom() + 1), quint16(shape.right() + 1), quint16(shape.top()),
                                      quint16(shape.left())});
    records += WmfRecord(kEof, {});

    QByteArray placeable;
    Put32(placeable, 0x9AC6CDD7);
    for (const quint16 word : {quint16(0), quint16(0), quint16(0), width, height, quint16(96)})
        Put16(placeable, word); // handle, box left, top, right, bottom, units an inch
    Put32(placeable, 0);
    quint16 checksum = 0; // the XOR of the ten words before it
    for (qsizetype i = 0; i < placeable.size(); i += 2)
        checksum ^= quint16(quint8(placeable[i]) | quint8(placeable[i + 1]) << 8);
    Put16(placeable, checksum);

    QByteArray header;
    Put16(header, 1); // in memory
    Put16(header, 9); // header words
    Put16(header, 0x0300);
    Put32(header, quint32(9 + records.size() / 2)); // file words
    Put16(header, 2);                               // objects
    Put32(header, largestRecordWords);
    Put16(header, 0);
    return placeable + header + records;
}

}  // namespace

QByteArray TinyMetafile()
{
    return MetafileClaiming(8);
}

QByteArray GreedyMetafile()
{
    return MetafileClaiming(0x7FFFFFFF);
}

QByteArray TinyIcon()
{
    QImage image(kTinyIconSize, QImage::Format_ARGB32);
    image.fill(kTinyIconColour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image))
        throw std::runtime_error("Qt's ico plugin cannot write the icon: " + writer.errorString().toStdString());
    return buffer.data();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
}
