#include "app/window/main_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QPixmap>
#include <QSplitter>

#include "app/window/about_box.h"
#include "app/window/graph_setup.h"
#include "app/window/method_dialog.h"
#include "app/window/method_settings.h"
#include "graph/stream/tagged_stream.h"

namespace {

constexpr int kPictureLeft = 225;
// Below the last control the window keeps a small margin.
constexpr int kControlsBottomMargin = 6;
// The picture and the graph stay large enough to be seen; with the same width they
// keep equal halves as the window grows.
constexpr QSize kViewMinimum(240, 200);

// The window's font names come from another desktop; these are their look-alikes here.
void SubstituteFonts()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

QFont SansSerif(int pixelHeight, bool bold = false)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QLabel* StaticText(QWidget* parent, const QString& caption, int left, int top, int width, int height)
{
    auto* label = new QLabel(caption, parent);
    // Results are longer than the captions they replace: every label may use the
    // room up to the picture.
    label->setGeometry(left, top, std::max(width, kPictureLeft - 5 - left), height);
    return label;
}

TBitBtn* Button(QWidget* parent, TGlyph glyph, const QString& caption, const QString& hint, QRect geometry)
{
    auto* button = new TBitBtn(glyph, caption, parent);
    button->setGeometry(geometry);
    button->setToolTip(hint);
    return button;
}

TSpinEdit* SpinEdit(QWidget* parent, const QString& hint, QRect geometry, int minValue, int maxValue, int value,
                    int increment)
{
    auto* edit = new TSpinEdit(parent);
    edit->setGeometry(geometry);
    edit->setToolTip(hint);
    edit->SetRange(minValue, maxValue);
    edit->SetValue(value);
    edit->SetIncrement(increment);
    edit->setEnabled(false);
    return edit;
}

}  // namespace

TForm1::TForm1(TDialogs& dialogs, TAboutBox& aboutBox, QWidget* parent)
    : QMainWindow(parent), FDialogs(dialogs), FAboutBox(aboutBox)
{
    BuildControls();
    setAcceptDrops(true);
    const TRememberedMethod remembered = LoadRememberedMethod();
    FChoice = remembered.Choice;
    FColour = remembered.Colour;
    FMethod = CountMethodOf(FChoice);
    MethodDialog->Show(FChoice, FColour);
    SetInitialGraphSettings(*Zemplot1);
    Zemplot1->SetDecimalSeparator(DecimalSeparator());
    SetStreamDecimalSeparator(DecimalSeparator());
    ConnectHandlers();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildControls()
{
    SubstituteFonts();
    setWindowTitle(QStringLiteral("Vandrel"));
    setGeometry(281, 117, 808, 608);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->setFont(SansSerif(10));
    // The controls keep their places at the left; the picture and the graph share the
    // rest of the window side by side and follow its size.
    auto* controls = new QWidget(client);
    auto* pictureAndGraph = new QSplitter(Qt::Horizontal, client);
    pictureAndGraph->setChildrenCollapsible(false);
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(controls);
    layout->addWidget(pictureAndGraph, 1);

    Image1 = new TImageControl(pictureAndGraph);
    Image1->setMinimumSize(kViewMinimum);
    // At the window's top edge rather than a pixel above it, where it was cut off.
    BitBtn1 = Button(controls, TGlyph::Open, QStringLiteral("Open Bitmap"), QStringLiteral("Opens bitmap file on disk"),
                     {2, 0, 85, 40});
    BitBtn2 = Button(controls, TGlyph::Close, QStringLiteral("&Close"),
                     QStringLiteral("Closes program and returns to operating system"), {57, 528, 78, 46});
    // Beside "Open Bitmap": another way to open a picture.
    RecentButton = new QToolButton(controls);
    RecentButton->setGeometry(92, 0, 85, 40);
    RecentButton->setText(QStringLiteral("Recent"));
    RecentButton->setToolTip(QStringLiteral("Opens one of the pictures opened last"));
    RecentButton->setPopupMode(QToolButton::InstantPopup);
    RecentButton->setMenu(new QMenu(RecentButton));
    BitBtn3 = Button(controls, TGlyph::Analyse, QStringLiteral("Analyse"), QStringLiteral("Carries out Vandrel"),
                     {2, 43, 85, 40});
    BitBtn3->setEnabled(false);
    // Beside "Analyse", and open before any picture is: the method is chosen first.
    MethodButton = new QPushButton(QStringLiteral("Method..."), controls);
    MethodButton->setGeometry(92, 43, 85, 40);
    MethodButton->setToolTip(QStringLiteral("Chooses how the boxes are counted and which pixels are the shape"));
    MethodDialog = new TMethodDialog(this);
    Zemplot1 = new TZemplot(pictureAndGraph);
    Zemplot1->setMinimumSize(kViewMinimum);
    // The splitter places and sizes the graph; dragging its corners would fight it.
    Zemplot1->SetDragAllowed(false);
    StaticText1 = StaticText(controls, QStringLiteral("Intercept:"), 13, 263, 49, 17);
    StaticText2 = StaticText(controls, QStringLiteral("Slope:"), 13, 284, 34, 17);
    BitBtn4 = Button(controls, TGlyph::Save, QStringLiteral("SaveTable"),
                     QStringLiteral("Saves table of log values to disk"), {2, 85, 85, 40});
    BitBtn4->setEnabled(false);
    // Below the correlation label rather than over its last pixels.
    StaticText3 = StaticText(controls, QStringLiteral("D:"), 13, 322, 30, 33);
    StaticText3->setFont(SansSerif(25, true));
    StringGrid1 = new TStringGrid(2, 21, controls);
    // The table leaves room below it for the fit's details.
    StringGrid1->setGeometry(13, 358, kPictureLeft - 5 - 13, 92);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    BitBtn5 = Button(controls, TGlyph::Clipboard, QStringLiteral("Clipboard Copy"),
                     QStringLiteral("Makes clipboard copy of Zemplot"), {2, 129, 85, 40});
    SpinEdit1 = SpinEdit(controls, QStringLiteral("Set minimum size for counting boxes"), {7, 174, 54, 22}, 1, 128, 10, 1);
    SpinEdit2 = SpinEdit(controls, QStringLiteral("Set maximum size for counting boxes"), {7, 226, 54, 22}, 4, 256, 100, 5);
    StaticText5 = StaticText(controls, QStringLiteral("Minimum Box Size"), 67, 181, 89, 17);
    StaticText6 = StaticText(controls, QStringLiteral("Maximum Box Size"), 67, 233, 92, 17);
    SpinEdit3 = SpinEdit(controls, QStringLiteral("Set increment for counting boxes"), {7, 200, 54, 22}, 1, 256, 10, 1);
    StaticText4 = StaticText(controls, QStringLiteral("Box Increment"), 67, 207, 72, 17);
    StaticText7 = StaticText(controls, QStringLiteral("Correlation coefficient (r):"), 13, 305, 121, 17);
    BitBtn6 = Button(controls, TGlyph::About, QString(), QString(), {10, 530, 41, 41});
    PictureNote = StaticText(controls, QString(), 92, 87, 128, 80);
    PictureNote->setWordWrap(true);
    PictureNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FitDetails = new QPlainTextEdit(controls);
    FitDetails->setGeometry(13, 454, kPictureLeft - 5 - 13, 70);
    FitDetails->setReadOnly(true);
    FitDetails->setFrameShape(QFrame::NoFrame);
    FitDetails->viewport()->setAutoFillBackground(false);
    controls->setFixedWidth(kPictureLeft);
    controls->setMinimumHeight(controls->childrenRect().bottom() + 1 + kControlsBottomMargin);
    // Both halves start equal and grow alike.
    pictureAndGraph->setStretchFactor(0, 1);
    pictureAndGraph->setStretchFactor(1, 1);
    pictureAndGraph->setSizes({1, 1});
    // Tab order follows the work: open, analyse, save, copy, then the sizes.
    QWidget* previous = BitBtn1;
    for (QWidget* next : {static_cast<QWidget*>(RecentButton), static_cast<QWidget*>(BitBtn3), static_cast<QWidget*>(MethodButton), static_cast<QWidget*>(BitBtn4),
                          static_cast<QWidget*>(BitBtn5), static_cast<QWidget*>(SpinEdit1),
                          static_cast<QWidget*>(SpinEdit3), static_cast<QWidget*>(SpinEdit2),
                          static_cast<QWidget*>(StringGrid1), static_cast<QWidget*>(BitBtn6),
                          static_cast<QWidget*>(BitBtn2)}) {
        setTabOrder(previous, next);
        previous = next;
    }
    BitBtn1->setFocus();
}

void TForm1::ConnectHandlers()
{
    const auto onClick = [this](TBitBtn* button, void (TForm1::*handler)()) {
        connect(button, &QToolButton::clicked, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    onClick(BitBtn1, &TForm1::OpenPictureFile);
    onClick(BitBtn3, &TForm1::Analyse_Image);
    onClick(BitBtn4, &TForm1::BitBtn4Click);
    onClick(BitBtn5, &TForm1::BitBtn5Click);
    onClick(BitBtn6, &TForm1::BitBtn6Click);
    connect(MethodButton, &QPushButton::clicked, this, [this] { Guarded([this] { ShowMethodDialog(); }); });
    connect(RecentButton->menu(), &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    connect(BitBtn2, &QToolButton::clicked, this, &QWidget::close);
    SpinEdit1->SetOnChange([this] { Guarded([this] { SpinEdit1Change(); }); });
    SpinEdit2->SetOnChange([this] { Guarded([this] { SpinEdit2Change(); }); });
    const auto onMouse = [this](void (TForm1::*handler)(Qt::MouseButton, int, int)) {
        return [this, handler](Qt::MouseButton button, int x, int y) {
            Guarded([&] { (this->*handler)(button, x, y); });
        };
    };
    MethodDialog->SetOnChange([this] { Guarded([this] { MethodChanged(); }); });
    MethodDialog->SetOnHidden([this] {
        // A pick asked for but not made ends with the dialog.
        if (FPicking) {
            FPicking = false;
            SetImageCursor(true);
        }
        Guarded([this] { RefreshOverlay(); });
    });
    connect(MethodDialog->ForegroundPanel->PickButton, &QPushButton::clicked, this, [this] { PickFromPicture(); });
    connect(MethodDialog->ForegroundPanel->ColourButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { ChooseShapeColour(); }); });
    Image1->SetOnMouseDown(onMouse(&TForm1::Image1MouseDown));
    Image1->SetOnMouseMove(onMouse(&TForm1::Image1MouseMove));
    Image1->SetOnMouseUp(onMouse(&TForm1::Image1MouseUp));
}

void TForm1::FormCreate()
{
    FSelecting = false;
    const QPixmap cursor(QStringLiteral(":/PCURSEUR"));
    FPictureCursor = cursor.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(cursor);
}

void TForm1::Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        FDialogs.ShowError(QString::fromStdString(error.what()));
    }
}

void TForm1::BitBtn5Click()
{
    Zemplot1->CopyToClipboard();
}

void TForm1::BitBtn6Click()
{
    FDialogs.ShowModal(FAboutBox);
}

QString TForm1::PictureName() const
{
    return QFileInfo(FPictureFile).fileName();
}

std::string TForm1::DecimalSeparator() const
{
    return QLocale().decimalPoint().toStdString();
}
