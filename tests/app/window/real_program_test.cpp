// Starts the real program on an X display (under xvfb-run), works it as a person
// would, through the keyboard and the mouse with xdotool (pictures are chosen by a
// click in the open dialog's list), and keeps a screenshot of
// the window with its results in the build tree.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include "tests/app/picture/metafile_samples.h"
#include "tests/support/pixel_count.h"

namespace {

constexpr int kWaitMs = 30000;
constexpr QRgb kPointGreen = 0xFF008000;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kSlopeBlue = 0xFF0000FF; // the local dimensions
// Half the carpet holds some 130 000 black pixels; the graph's black lines and
// texts hold a few thousand.
constexpr int kCarpetShown = 50000;

QString XdoTool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForFinished(kWaitMs) || xdotool.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
}

// The visible window whose title matches `pattern` once it shows, or 0.
WId WaitForWindow(const QString& pattern)
{
    const QString found = XdoTool({"search", "--sync", "--onlyvisible", "--name", pattern});
    return found.isEmpty() ? 0 : found.split(u'\n').constFirst().toULongLong();
}

// What the clipboard offers, asked for as another program would.
QString XClip(const QStringList& arguments)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), QStringList{"-o", "-selection", "clipboard"} + arguments);
    if (!xclip.waitForFinished(kWaitMs))
        return {};
    return QString::fromLatin1(xclip.readAllStandardOutput());
}

void Click(WId window, int x, int y)
{
    XdoTool({"mousemove", "--window", QString::number(window), QString::number(x), QString::number(y), "click", "1"});
}

void Focus(WId window)
{
    XdoTool({"windowfocus", "--sync", QString::number(window)});
}

// Presses `keys` in the window titled `pattern`.
void Answer(const QString& pattern, const QStringList& keys)
{
    const WId dialog = WaitForWindow(pattern);
    ASSERT_NE(dialog, 0u) << pattern.toStdString();
    Focus(dialog);
    XdoTool(QStringList{"key", "--delay", "50"} + keys);
}

// Where Qt's open dialog, at the size it opens with, has its "Look in" label, the
// first row of its list of files and its "Open" button.
constexpr QPoint kLookInLabel(34, 22);
constexpr QPoint kFirstFileRow(163, 70);
constexpr QPoint kOpenButton(572, 358);

QImage Grab(WId window)
{
    return QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(QImage::Format_RGB32);
}

// The first row of the dialog's list, where the text of a name is drawn.
QImage FirstRow(WId dialog)
{
    return Grab(dialog).copy(kFirstFileRow.x() - 40, kFirstFileRow.y() - 8, 200, 16);
}

// "Open Bitmap", then in the dialog the folder typed into the file name field, and
// the picture chosen as a person does: a click on its row, the folder's first picture
// by name, and "Open".
void OpenPicture(WId window, const QString& folder)
{
    Click(window, 44, 19);
    const WId open = WaitForWindow("^Open$");
    ASSERT_NE(open, 0u);
    Focus(open);
    const QImage before = FirstRow(open);
    XdoTool({"type", "--delay", "20", folder});
    XdoTool({"key", "Return"});
    // The dialog lists the folder in the background; look until its first row changed.
    QImage row;
    for (QDeadlineTimer deadline(kWaitMs); !deadline.hasExpired();) {
        QThread::msleep(100);
        row = FirstRow(open);
        if (row != before && CountPixels(row, 0xFF000000) > 0)
            break;
    }
    // The file name's completion list, still open after the typing, takes the first
    // click: a click on the "Look in" label closes it.
    Click(open, kLookInLabel.x(), kLookInLabel.y());
    Click(open, kFirstFileRow.x(), kFirstFileRow.y());
    Click(open, kOpenButton.x(), kOpenButton.y());
}

// Starts the program with `arguments` and the settings in `settings`.
void Start(QProcess& vandrel, const QTemporaryDir& settings, const QStringList& arguments = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    // Under the sanitizers the program's own leaks count, the desktop libraries' do not.
    environment.insert("LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS);
    environment.insert("XDG_CONFIG_HOME", settings.path());
    vandrel.setProcessEnvironment(environment);
    vandrel.start(QStringLiteral(VANDREL), arguments);
}

void CloseAndExpectSuccess(QProcess& vandrel, WId window)
{
    Click(window, 96, 551); // "Close"
    ASSERT_TRUE(vandrel.waitForFinished(kWaitMs));
    EXPECT_EQ(vandrel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vandrel.exitCode(), 0) << vandrel.readAllStandardError().toStdString();
}

TEST(RealProgram, OpensThePictureNamedOnItsCommandLine)
{
    const QTemporaryDir settings;
    QProcess vandrel;
    Start(vandrel, settings, {QStringLiteral(SAMPLES_DIR "/carpet.png")});
    ASSERT_TRUE(vandrel.waitForStarted(kWaitMs));
    const WId window = WaitForWindow("^Vandrel -- carpet.png$");
    ASSERT_NE(window, 0u);
    CloseAndExpectSuccess(vandrel, window);
}

TEST(RealProgram, OpensASamplePictureAnalysesItAndShowsTheGraph)
{
    // Settings of its own: the method the user last chose would change the analysis.
    const QTemporaryDir settings;
    QProcess vandrel;
    Start(vandrel, settings);
    ASSERT_TRUE(vandrel.waitForStarted(kWaitMs));

    const WId window = WaitForWindow("^Vandrel$");
    ASSERT_NE(window, 0u);
    // A metafile shows only if the window finds its converter beside the program.
    const QTemporaryDir folder;
    WriteFile(folder.filePath(QStringLiteral("shape.wmf")), TinyMetafile());
    OpenPicture(window, folder.path());
    ASSERT_NE(WaitForWindow("^Vandrel -- shape.wmf$"), 0u);

    OpenPicture(window, QStringLiteral(SAMPLES_DIR));
    ASSERT_NE(WaitForWindow("^Vandrel -- carpet.png$"), 0u);

    Click(window, 44, 63); // "Analyse"
    Answer("^Colour$", {"Return"}); // black, where the dialog starts
    Answer("^Vandrel$", {"Return"}); // "Finished Counting"

    // At the size of the screen the picture and the graph are both in view.
    XdoTool({"windowmove", "--sync", QString::number(window), "0", "0"});
    XdoTool({"windowsize", "--sync", QString::number(window), "1280", "1024"});
    EXPECT_TRUE(XdoTool({"getwindowgeometry", QString::number(window)}).contains("Geometry: 1280x1024"));
    // The program shows the graph once the box is closed; look until it has.
    const auto bothShown = [](const QImage& shot) {
        return CountPixels(shot, kPointGreen) >= 100 && CountPixels(shot, kBlack) >= kCarpetShown;
    };
    QImage shot;
    QDeadlineTimer deadline(kWaitMs);
    do {
        QThread::msleep(200);
        shot = QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(QImage::Format_RGB32);
    } while (!bothShown(shot) && !deadline.hasExpired());
    const QString path = QDir(QStringLiteral(SCREENSHOT_DIR)).filePath("vandrel_window.png");
    EXPECT_TRUE(shot.save(path)) << path.toStdString();
    EXPECT_EQ(shot.size(), QSize(1280, 1024));
    EXPECT_GE(CountPixels(shot, kPointGreen), 100) << "the green points of the results";
    EXPECT_GE(CountPixels(shot, kBlack), kCarpetShown) << "the carpet beside the graph";

    // The recommended method over sizes 1 to 243: least counts over the grid's offsets,
    // sizes in ratio 2, the fit range chosen; the graph then shows the local dimensions
    // in blue beside the fitted points.
    Click(window, 134, 63); // "Method..."
    Answer("^Method$", {"alt+r", "Escape"});
    for (const auto& [y, size] : {std::pair{185, "1"}, {237, "243"}}) {
        Click(window, 30, y);
        XdoTool({"key", "--window", QString::number(window), "ctrl+a"});
        XdoTool({"type", "--window", QString::number(window), size});
        XdoTool({"key", "--window", QString::number(window), "Tab"});
    }
    Click(window, 44, 63); // "Analyse"
    Answer("^Colour$", {"Return"});
    Answer("^Vandrel$", {"Return"});
    const auto detailsShown = [](const QImage& shot) { return CountPixels(shot, kSlopeBlue) >= 20; };
    for (QDeadlineTimer shown(kWaitMs); !detailsShown(shot) && !shown.hasExpired();) {
        QThread::msleep(200);
        shot = Grab(window);
    }
    const QString recommended = QDir(QStringLiteral(SCREENSHOT_DIR)).filePath("vandrel_window_recommended.png");
    EXPECT_TRUE(shot.save(recommended)) << recommended.toStdString();
    EXPECT_GE(CountPixels(shot, kSlopeBlue), 20) << "the local dimensions on the second axis";

    // "Clipboard Copy": other programs see the graph as a picture and as SVG, and the
    // graph's own stream.
    Click(window, 44, 149);
    QString targets;
    for (QDeadlineTimer copied(kWaitMs); !targets.contains("image/svg+xml") && !copied.hasExpired();) {
        QThread::msleep(200);
        targets = XClip({"-t", "TARGETS"});
    }
    EXPECT_TRUE(targets.contains("image/png")) << targets.toStdString();
    EXPECT_TRUE(targets.contains("image/svg+xml")) << targets.toStdString();
    EXPECT_TRUE(XClip({"-t", "Internal Zemplot Format"}).startsWith("\x06\x09qvtk03.01"));

    CloseAndExpectSuccess(vandrel, window);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
