#include "app/window/recent_pictures.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Pictures");
const QString kRecentKey = QStringLiteral("recent");
const QString kFolderKey = QStringLiteral("lastFolder");

// The list as saved, whatever happened to the files since.
QStringList SavedRecent(QSettings& settings)
{
    return settings.value(kRecentKey).toStringList();
}

}  // namespace

QStringList RecentPictures()
{
    QSettings settings;
    settings.beginGroup(kGroup);
    QStringList present;
    for (const QString& path : SavedRecent(settings))
        if (QFileInfo(path).isFile())
            present << path;
    // A list edited by hand may be longer than the window keeps.
    return present.mid(0, kMostRecentPictures);
}

void RememberOpenedPicture(const QString& path)
{
    const QFileInfo picture(path);
    const QString absolute = picture.absoluteFilePath();
    QSettings settings;
    settings.beginGroup(kGroup);
    QStringList recent = SavedRecent(settings);
    recent.removeAll(absolute);
    recent.prepend(absolute);
    // Missing files stay saved: a disk that is not mounted now may be again later.
    settings.setValue(kRecentKey, recent.mid(0, kMostRecentPictures));
    settings.setValue(kFolderKey, picture.absolutePath());
}

QString LastPictureFolder()
{
    QSettings settings;
    settings.beginGroup(kGroup);
    const QString folder = settings.value(kFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}
