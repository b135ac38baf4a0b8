// Pictures reach the window other than through the open dialog: named at start-up,
// dropped on it, chosen among those opened last. Each way opens, and fails, exactly
// as "Open Bitmap" does.
#include "tests/app/window/main_window_fixture.h"

#include <QDropEvent>
#include <QMenu>
#include <QSettings>

namespace {

// The entries of the menu beside "Open Bitmap" as it opens.
QList<QAction*> RecentMenu(TForm1& form)
{
    QMenu* menu = form.RecentButton->menu();
    emit menu->aboutToShow();
    return menu->actions();
}

class PictureSources : public MainWindow {
protected:
    PictureSources() { QSettings().clear(); }
    ~PictureSources() override { QSettings().clear(); }

    // Drops `urls` on the window as a file manager does; whether it took the drop.
    bool Drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&FForm, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&FForm, &drop);
        return drop.isAccepted();
    }

};

TEST_F(PictureSources, OpenPictureAndADropShowWhatOpenBitmapShowsAndFailAsItFails)
{
    const QString red = WritePicture("red.png", {30, 20}, kRed);
    Open(red);
    const TShownResults byDialog = Shown();
    const QString unknown = WriteBytes("notes.txt", "x");
    Open(unknown);
    Open(FFolder.filePath("gone.png"));
    const QStringList dialogErrors = FDialogs.Errors;
    ASSERT_EQ(dialogErrors.size(), 2);
    EXPECT_TRUE(dialogErrors[0].startsWith("Unknown picture file extension")) << dialogErrors[0].toStdString();

    FDialogs.Errors.clear();
    TScriptedDialogs dialogs;
    TAboutBox about(dialogs);
    TForm1 started(dialogs, about);
    started.OpenPicture(unknown);
    started.OpenPicture(FFolder.filePath("gone.png"));
    EXPECT_EQ(dialogs.Errors, dialogErrors);
    started.OpenPicture(red);
    EXPECT_EQ(started.windowTitle(), byDialog.Caption);
    EXPECT_EQ(started.PictureFile(), red);
    EXPECT_TRUE(started.BitBtn3->isEnabled() && started.SpinEdit1->isEnabled());

    // Several files dropped: the first is opened; a kind no picture has is refused
    // with the dialog's message and the picture before stays.
    const QString blue = WritePicture("blue.bmp", {12, 9}, 0xFF0000FF);
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(blue), QUrl::fromLocalFile(red)}));
    EXPECT_EQ(FForm.PictureFile(), blue);
    EXPECT_EQ(Pixel(0, 0), 0xFF0000FFu);
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(unknown)}));
    EXPECT_EQ(FDialogs.Errors, dialogErrors.mid(0, 1));
    EXPECT_EQ(FForm.PictureFile(), blue);
    EXPECT_FALSE(Drop({QUrl(QStringLiteral("https://example.org/a.png"))})) << "only files on disk";
}

TEST_F(PictureSources, TheEightNewestPresentPicturesAreRecentInTheNextSessionAndTheDialogStartsInTheLastFolder)
{
    QStringList pictures; // p0 to p9, opened in that order
    for (int k = 0; k < 10; ++k) {
        pictures << WritePicture(QStringLiteral("p%1 & co.png").arg(k), {4, 4}, kWhite);
        Open(pictures.back());
    }
    Open(pictures[5]); // again: moves to the top, listed once
    QFile::remove(pictures[8]);
    QTemporaryDir other;
    const QString elsewhere = QDir(other.path()).filePath("far.png");
    ASSERT_TRUE(QFile::copy(pictures[0], elsewhere));
    Open(elsewhere);

    TScriptedDialogs dialogs;
    TAboutBox about(dialogs);
    TForm1 next(dialogs, about);
    dialogs.OpenAnswers.push_back(std::nullopt);
    next.BitBtn1->click();
    EXPECT_EQ(dialogs.OpenFolder, other.path());
    const QList<QAction*> menu = RecentMenu(next);
    QStringList listed;
    for (const QAction* action : menu)
        listed << action->data().toString();
    // Eight kept, newest first; p8 is kept too but no longer on disk.
    const QStringList& p = pictures;
    EXPECT_EQ(listed, (QStringList{elsewhere, p[5], p[9], p[7], p[6], p[4], p[3]}));
    EXPECT_EQ(menu[1]->text(), QDir::toNativeSeparators(p[5]).replace("&", "&&"));
    menu[2]->trigger();
    EXPECT_EQ(next.PictureFile(), p[9]);
    EXPECT_TRUE(dialogs.Errors.isEmpty());

    QSettings().clear();
    const QList<QAction*> none = RecentMenu(FForm);
    ASSERT_EQ(none.size(), 1);
    EXPECT_FALSE(none[0]->isEnabled());
}

}  // namespace
