// The picture side of the window: the open dialog's entries as Qt's own dialog lists
// them, pictures of any size that fits in memory, and the picture kept as read.
#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QListView>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <random>

#include "app/window/about_box.h"
#include "app/window/grid_lines.h"
#include "app/window/qt_dialogs.h"
#include "app/window/recent_pictures.h"
#include "tests/app/window/scripted_dialogs.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

// A white picture with a black rectangle, as a one-bit PNG: even 144 megapixels are
// written and read in a moment and take little room on disk.
QString WriteShape(const QString& path, QSize size, QRect shape)
{
    QImage image(size, QImage::Format_Mono);
    image.setColorTable({kWhite, kBlack});
    image.fill(0);
    for (int y = shape.top(); y <= shape.bottom(); ++y)
        for (int x = shape.left(); x <= shape.right(); ++x)
            image.setPixel(x, y, 1);
    EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
    return path;
}

// N(d) of a filled rectangle: the boxes laid from the top-left corner that it reaches.
long long BoxesOf(QRect shape, int d)
{
    return static_cast<long long>(shape.right() / d - shape.left() / d + 1) * (shape.bottom() / d - shape.top() / d + 1);
}

void PutBigEndian(QByteArray& bytes, int at, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + k] = char(value >> (24 - 8 * k) & 0xFF);
}

// The checksum of PNG chunks.
uint32_t Crc32(const QByteArray& bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

class PictureWindow : public testing::Test {
protected:
    PictureWindow() : FAbout(FDialogs), FForm(FDialogs, FAbout) {}

    void Open(const QString& path)
    {
        FDialogs.OpenAnswers.push_back(path);
        FForm.BitBtn1->click();
    }

    void Analyse(int minimum, int maximum, int increment)
    {
        FForm.SpinEdit1->SetValue(minimum);
        FForm.SpinEdit2->SetValue(maximum);
        FForm.SpinEdit3->SetValue(increment);
        FDialogs.ColourAnswers.push_back(clBlack);
        FForm.BitBtn3->click();
    }

    // The graph's points are (log10 d, log10 N(d)) of every size analysed.
    void ExpectCountsOf(QRect shape, int minimum, int maximum, int increment)
    {
        const std::span<const TDataPoint> points = FForm.Zemplot1->Series(1).Points();
        ASSERT_EQ(points.size(), std::size_t((maximum - minimum) / increment + 1));
        for (std::size_t k = 0; k < points.size(); ++k) {
            const int d = minimum + int(k) * increment;
            EXPECT_NEAR(points[k].X, std::log10(d), 1e-12) << "d = " << d;
            EXPECT_NEAR(points[k].Y, std::log10(double(BoxesOf(shape, d))), 1e-12) << "d = " << d;
        }
    }

    QTemporaryDir FFolder;
    TScriptedDialogs FDialogs;
    TAboutBox FAbout;
    TForm1 FForm;
};

TEST_F(PictureWindow, TheGridTheSelectionAndTheAnalysisUseThePictureAsReadNotTheFileAsItIsNow)
{
    const QRect shape(20, 10, 30, 20);
    const QString path = WriteShape(FFolder.filePath("shape.png"), {100, 60}, shape);
    Open(path);
    const QImage asRead = FForm.Image1->Picture().Bitmap();
    ASSERT_EQ(asRead.size(), QSize(100, 60));

    // Another picture now lies under the name; the window goes on with the one it read.
    QImage other(40, 40, QImage::Format_RGB32);
    other.fill(kBlack);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(other.save(path, "PNG"));
    FForm.SpinEdit1->SetValue(7);
    const QImage& shown = FForm.Image1->Picture().Bitmap();
    EXPECT_EQ(shown.size(), QSize(100, 60));
    EXPECT_EQ(shown.pixel(3, 3), kWhite);
    EXPECT_EQ(shown.pixel(7, 3), kRed);
    QWidget& surface = FForm.Image1->Surface();
    QTest::mousePress(&surface, Qt::LeftButton, {}, {60, 40});
    QTest::mouseMove(&surface, {90, 55});
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, {90, 55});
    EXPECT_EQ(FForm.Image1->Picture().Bitmap().pixel(75, 40), kRed) << "the selection is drawn on the shown picture";

    // Once the file is gone too, the grid and the counts still come from memory.
    ASSERT_TRUE(QFile::remove(path));
    FForm.SpinEdit2->SetValue(30);
    EXPECT_EQ(FForm.Image1->Picture().Bitmap().pixel(7, 3), kWhite) << "each grid starts from the picture as read";
    EXPECT_EQ(FForm.Image1->Picture().Bitmap().pixel(30, 3), kRed);
    Analyse(1, 31, 5);
    EXPECT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
    ExpectCountsOf(shape, 1, 31, 5);
    EXPECT_EQ(FForm.Image1->Picture().Bitmap(), asRead) << "analysing shows the picture as read, never drawn on";
}

TEST_F(PictureWindow, PicturesOf6000And12000PixelsASideOpenAndAreAnalysed)
{
    for (const int side : {6000, 12000}) {
        SCOPED_TRACE(side);
        // Near the far corner, so that only the whole picture gives the right counts.
        const QRect shape(side - 157, side - 93, 120, 71);
        Open(WriteShape(FFolder.filePath(QStringLiteral("large%1.png").arg(side)), {side, side}, shape));
        ASSERT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
        // The larger is beyond what the window shows whole: a reduced preview.
        const int scale = FForm.Image1->LoadedPicture().Scale();
        EXPECT_EQ(scale > 1, side == 12000);
        EXPECT_EQ(FForm.Image1->LoadedPicture().FullSize(), QSize(side, side));
        EXPECT_EQ(FForm.Image1->Picture().Size(), QSize((side + scale - 1) / scale, (side + scale - 1) / scale));
        if (side == 6000) {
            FForm.SpinEdit1->SetValue(20);
            EXPECT_EQ(FForm.Image1->Picture().Bitmap().pixel(5980, 5), kRed);
        }
        Analyse(10, 100, 10);
        EXPECT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
        ExpectCountsOf(shape, 10, 100, 10);
        QFile::remove(FFolder.filePath(QStringLiteral("large%1.png").arg(side)));
    }
}

TEST_F(PictureWindow, APictureWhoseHeaderClaimsMoreThanItsFileHoldsIsRefusedAndThePictureBeforeStays)
{
    Open(WriteShape(FFolder.filePath("small.png"), {30, 20}, QRect(1, 1, 5, 5)));
    // A PNG of one pixel whose header chunk claims a million pixels a side: refused
    // before a mask or a picture of that size is made.
    constexpr uint32_t kSide = 1'000'000;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImage(1, 1, QImage::Format_RGB32).save(&buffer, "PNG"));
    PutBigEndian(bytes, 16, kSide);
    PutBigEndian(bytes, 20, kSide);
    PutBigEndian(bytes, 29, Crc32(bytes.mid(12, 17)));
    const QString huge = FFolder.filePath("huge.png");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    Open(huge);
    EXPECT_EQ(FDialogs.Errors, QStringList("The picture is damaged or incomplete: huge.png (its image data is too "
                                           "short for 1000000 \u00d7 1000000 pixels)"));
    EXPECT_EQ(FForm.windowTitle(), "Vandrel -- small.png");
    EXPECT_EQ(FForm.Image1->Picture().Size(), QSize(30, 20));
}

// The grid drawn on the pixels is the grid a painter draws in hairlines of not-xor,
// pixel for pixel, on opaque and translucent pictures, for sizes that divide the
// sides and sizes that do not.
TEST(GridLines, AreThoseAPainterDrawsInNotXor)
{
    std::mt19937 random(16);
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        for (const QSize size : {QSize(37, 23), QSize(40, 30), QSize(1, 5)}) {
            QImage picture(size, QImage::Format_ARGB32);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    picture.setPixel(x, y, static_cast<QRgb>(random()));
            picture = picture.convertToFormat(format);
            for (const int spacing : {1, 3, 10, 40, 0, -2}) {
                QImage painted = picture.copy();
                TQtCanvas canvas;
                canvas.Begin(painted);
                canvas.SetPenColor(255);
                canvas.SetPenMode(pmNotXor);
                for (int x = 0; spacing > 0 && x <= size.width(); x += spacing) {
                    canvas.MoveTo(x, 0);
                    canvas.LineTo(x, size.height());
                }
                for (int y = 0; spacing > 0 && y <= size.height(); y += spacing) {
                    canvas.MoveTo(0, y);
                    canvas.LineTo(size.width(), y);
                }
                canvas.End();
                QImage drawn = picture.copy();
                DrawNotXorGrid(drawn, spacing, kRed);
                EXPECT_EQ(drawn, painted) << format << " " << size.width() << " x " << size.height() << " by " << spacing;
            }
        }
    }
}

// Qt's own dialog, as a person sees it: the first entry lists every picture in the
// folder, whatever the case of its name, and nothing else; the picture chosen in it
// is opened.
TEST(OpenDialog, TheFirstEntryListsEveryPictureTheWindowOpens)
{
    QTemporaryDir folder;
    const QStringList pictures{"carpet.png", "leaf.BMP", "photo.jpeg", "scan.tif", "shape.wmf", "sign.ico"};
    for (const QString& name : pictures + QStringList{"notes.txt"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    WriteShape(folder.filePath("carpet.png"), {30, 20}, QRect(1, 1, 5, 5));

    // The dialog starts in the folder a picture was last opened from.
    RememberOpenedPicture(folder.filePath("carpet.png"));
    TQtDialogs dialogs;
    TAboutBox about(dialogs);
    TForm1 form(dialogs, about);
    QStringList filters;
    QString startFolder;
    QStringList listed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        // Whatever fails below, the dialog closes and the test goes on.
        const auto closing = qScopeGuard([] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        startFolder = dialog->directory().absolutePath();
        auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(list, nullptr);
        const auto rows = [&] { return list->model()->rowCount(list->rootIndex()); };
        // The folder is read in the background; wait until its listing settles.
        for (QDeadlineTimer deadline(5000); rows() < pictures.size() && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QModelIndex carpet;
        for (int row = 0; row < rows(); ++row) {
            const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
            listed << index.data().toString();
            if (listed.back() == "carpet.png")
                carpet = index;
        }
        // Chosen as a person does, by a double click on its row.
        ASSERT_TRUE(carpet.isValid());
        list->scrollTo(carpet);
        const QPoint row = list->visualRect(carpet).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    });
    form.BitBtn1->click();

    ASSERT_FALSE(filters.isEmpty());
    EXPECT_EQ(filters[0], "All pictures (*.bmp *.png *.jpg *.jpeg *.gif *.tif *.tiff *.ico *.emf *.wmf)");
    EXPECT_EQ(filters.mid(1), (QStringList{"Bitmaps (*.bmp *.png *.jpg *.jpeg *.gif *.tif *.tiff)", "Icons (*.ico)",
                                           "Enhanced Metafiles (*.emf)", "Metafiles (*.wmf)"}));
    EXPECT_EQ(startFolder, folder.path());
    listed.sort();
    EXPECT_EQ(listed, pictures);
    EXPECT_EQ(form.PictureFile(), folder.filePath("carpet.png"));
    EXPECT_EQ(form.windowTitle(), "Vandrel -- carpet.png");
}

}  // namespace
