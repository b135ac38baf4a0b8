// The ways to a picture other than the open dialog: named at start-up, dropped on
// the window, chosen among the pictures opened last.
#include "app/window/main_window.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>

#include "app/window/recent_pictures.h"

namespace {

// The first file of the local disk among what is dragged; empty when there is none.
QString FirstLocalFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

}  // namespace

void TForm1::OpenPicture(const QString& path)
{
    Guarded([&] { LoadPicture(path); });
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FirstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenPicture(path);
}

void TForm1::FillRecentMenu()
{
    QMenu* menu = RecentButton->menu();
    menu->clear();
    const QStringList recent = RecentPictures();
    for (const QString& path : recent) {
        // A "&" in a file name would otherwise mark a shortcut key and vanish.
        QAction* action = menu->addAction(QDir::toNativeSeparators(path).replace(u'&', QStringLiteral("&&")));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { OpenPicture(path); });
    }
    if (recent.isEmpty())
        menu->addAction(QStringLiteral("No pictures opened yet"))->setEnabled(false);
}
