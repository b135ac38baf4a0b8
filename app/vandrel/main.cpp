// Vandrel: the box-counting dimension of a shape in a picture.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <QUrl>

#include "app/window/about_box.h"
#include "app/window/main_window.h"
#include "app/window/qt_dialogs.h"
#include "graph/data/suppliers/create_supplier.h"

namespace {

// The picture named on the command line, as a full path; desktops may pass it as a
// file URL. Empty when none is named.
QString PictureArgument(const QApplication& application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the box-counting dimension of a shape in a picture."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("The picture to open at start-up."),
                                 QStringLiteral("[picture]"));
    parser.process(application);
    if (parser.positionalArguments().isEmpty())
        return {};
    const QString named = parser.positionalArguments().constFirst();
    const QUrl url(named);
    return QFileInfo(url.isLocalFile() ? url.toLocalFile() : named).absoluteFilePath();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vandrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/VANDREL_ICON")));
    const QString picture = PictureArgument(application);
    InstallDataSuppliers();
    TQtDialogs dialogs;
    TAboutBox aboutBox(dialogs);
    TForm1 form(dialogs, aboutBox);
    form.showMaximized();
    // Once the window shows, so that an error box about the picture stands over it.
    if (!picture.isEmpty())
        QTimer::singleShot(0, &form, [&form, picture] { form.OpenPicture(picture); });
    return QApplication::exec();
}
