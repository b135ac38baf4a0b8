#pragma once

#include <QString>
#include <QStringList>

// The pictures opened last and the folder of the last one, kept between runs in the
// program's settings (QSettings of the application's organisation and name).

// How many pictures the list keeps.
constexpr int kMostRecentPictures = 8;

// The pictures opened last, newest first; those no longer on disk are left out.
QStringList RecentPictures();
// Puts `path` first in the list, once, and makes its folder the one the open dialog
// starts in.
void RememberOpenedPicture(const QString& path);
// The folder of the picture opened last, or empty when there is none or it is gone.
QString LastPictureFolder();
