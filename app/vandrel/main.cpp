// Vandrel: the box-counting dimension of a shape in a picture.
#include <QApplication>
#include <QIcon>

#include "app/window/about_box.h"
#include "app/window/main_window.h"
#include "app/window/qt_dialogs.h"
#include "graph/data/suppliers/create_supplier.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vandrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/VANDREL_ICON")));
    InstallDataSuppliers();
    TQtDialogs dialogs;
    TAboutBox aboutBox(dialogs);
    TForm1 form(dialogs, aboutBox);
    form.showMaximized();
    return QApplication::exec();
}
