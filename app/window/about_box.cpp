#include "app/window/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/window/glyph_button.h"

namespace {

const QString kHelpText = QStringLiteral(
    "Vandrel measures the box-counting dimension of a shape in a picture.\n\n"
    "1. Open Bitmap: choose the picture.\n"
    "2. Set the smallest and largest box size and the step between sizes; the grid of "
    "the size just set is drawn over the picture.\n"
    "3. Analyse: choose the colour of the shape. For every box size d Vandrel counts "
    "the d-by-d boxes holding that colour, N(d), lists log(d) and log(N(d)) and fits a "
    "line. D is minus its slope.\n"
    "4. SaveTable: writes the results and the table as a workbook.");

}  // namespace

TAboutBox::TAboutBox(TDialogs& dialogs, QWidget* parent) : QDialog(parent), FDialogs(dialogs)
{
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(298, 213);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    auto* panel = new QFrame(this);
    panel->setGeometry(8, 8, 281, 149);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    auto* programIcon = new QLabel(panel);
    programIcon->setGeometry(8, 8, 65, 57);
    programIcon->setPixmap(QPixmap(QStringLiteral(":/VANDREL_ICON")));
    programIcon->setScaledContents(true);
    ProductName = new QLabel(QStringLiteral("Vandrel"), panel);
    ProductName->move(88, 16);
    Version = new QLabel(QStringLiteral("Version 1.6"), panel);
    Version->move(88, 40);
    Copyright = new QLabel(QStringLiteral("Copyright \u00A9 2026 the Vandrel developers"), panel);
    Copyright->move(8, 80);
    Comments = new QLabel(QStringLiteral("The help button tells how to measure a picture's dimension."), panel);
    Comments->setGeometry(8, 104, 251, 26);
    Comments->setWordWrap(true);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(215, 180, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
    BitBtn1 = new TBitBtn(TGlyph::Help, QStringLiteral("&Help"), this);
    BitBtn1->setGeometry(13, 169, 66, 40);
    connect(BitBtn1, &QToolButton::clicked, this, &TAboutBox::ShowHelp);
}

void TAboutBox::OKButtonClick()
{
    accept();
}

void TAboutBox::ShowHelp()
{
    FDialogs.Inform(kHelpText);
}
