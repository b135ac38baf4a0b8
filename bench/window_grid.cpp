// Typing a box size must not freeze the window. Opens a 5000 x 5000 PNG in the
// window and times one grid change as a key typed into "Minimum Box Size" makes it:
// the grid drawn on a copy of the picture kept in memory, then the picture area
// painted. Beside it, the same change preceded by reading the picture from its file
// again, as the window once did at every key, and the ratio of the two.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include "app/window/about_box.h"
#include "app/window/main_window.h"

namespace {

constexpr int kSide = 5000;

// Answers the open dialog with one picture; every other dialog is cancelled.
class TOpenOnly : public TDialogs {
public:
    explicit TOpenOnly(QString path) : FPath(std::move(path)) {}
    std::optional<QString> OpenFile(const QString&, const QString&) override { return FPath; }
    std::optional<TColor> ChooseColour(TColor) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    void Inform(const QString&) override {}
    void ShowError(const QString& message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    void ShowModal(QDialog&) override {}

private:
    QString FPath;
};

// A shape with edges everywhere: black rings on white, written with little
// compression so that the file is made quickly.
QString WritePicture(const QTemporaryDir& folder)
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x) {
            const long long dx = x - kSide / 2;
            const long long dy = y - kSide / 2;
            line[x] = (dx * dx + dy * dy) / 40000 % 2 == 0 ? 0xFF000000 : 0xFFFFFFFF;
        }
    }
    const QString path = folder.filePath(QStringLiteral("rings.png"));
    QImageWriter writer(path, "png");
    writer.setCompression(1);
    if (!writer.write(image))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

// The median of several runs, in milliseconds.
double MedianMilliseconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        times.push_back(std::chrono::duration<double, std::milli>(elapsed).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QTemporaryDir folder;
    const QString path = WritePicture(folder);
    TOpenOnly dialogs(path);
    TAboutBox about(dialogs);
    TForm1 form(dialogs, about);
    form.resize(1280, 1024);
    form.show();
    form.BitBtn1->click();
    if (form.Image1->Picture().Size() != QSize(kSide, kSide))
        return 1;

    // Sizes 10 and 11 in turn, so that every run changes the size and draws a new grid.
    const auto gridChange = [&] {
        form.SpinEdit1->SetValue(form.SpinEdit1->Value() == 10 ? 11 : 10);
        form.Image1->viewport()->repaint();
    };
    const double kept = MedianMilliseconds(11, gridChange);
    const double reread = MedianMilliseconds(3, [&] {
        form.Image1->LoadFromFile(path);
        gridChange();
    });
    std::printf("grid change on %d x %d, picture kept in memory: %8.1f ms\n", kSide, kSide, kept);
    std::printf("the same with the picture read from its file:  %8.1f ms (%.0fx)\n", reread, reread / kept);
    return 0;
}
