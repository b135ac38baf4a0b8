#pragma once

#include <QDialog>

#include "app/window/dialogs.h"

class QLabel;
class QPushButton;
class TBitBtn;

// "About": the program's name, version and where to read more.
class TAboutBox : public QDialog {
public:
    // The help button's text is shown through `dialogs`, which must outlive the box.
    explicit TAboutBox(TDialogs& dialogs, QWidget* parent = nullptr);

    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QPushButton* OKButton;
    TBitBtn* BitBtn1;

private:
    void OKButtonClick();
    void ShowHelp();

    TDialogs& FDialogs;
};
