#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include <QCursor>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>

#include "app/window/analysis_result.h"
#include "app/window/dialogs.h"
#include "app/window/glyph_button.h"
#include "app/window/image_control.h"
#include "app/window/method_choice.h"
#include "app/window/spin_edit.h"
#include "app/window/string_grid.h"
#include "graph/control/zemplot.h"

class TAboutBox;
class QPushButton;
class QToolButton;
class TMethodDialog;

// The main window: the picture, the box sizes, the results table and labels, and
// the graph of log N(d) against log d.
class TForm1 : public QMainWindow {
public:
    // The dialogs are shown through `dialogs`, and the about box is `aboutBox`;
    // both must outlive the window.
    TForm1(TDialogs& dialogs, TAboutBox& aboutBox, QWidget* parent = nullptr);
    ~TForm1() override;

    // The handlers, run by the controls; each shows its errors in the error box.
    void OpenPictureFile();
    // Opens the picture at `path` as "Open Bitmap" opens the one chosen, for a
    // picture named at start-up, dropped on the window or chosen among the recent
    // ones; a picture that cannot be opened is reported in the error box.
    void OpenPicture(const QString& path);
    void Analyse_Image();
    void BitBtn4Click();
    // "Clipboard Copy": the graph as its stream, an image and SVG.
    void BitBtn5Click();
    void BitBtn6Click();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void Image1MouseMove(Qt::MouseButton button, int x, int y);
    void Image1MouseUp(Qt::MouseButton button, int x, int y);
    // The method dialog, from the menu of "Analyse": while it is open the picture
    // shows the pixels its choice takes for the shape.
    void ShowMethodDialog();
    void MethodChanged();
    // The next click on the picture takes that pixel's colour instead of drawing.
    void PickFromPicture();
    void ChooseShapeColour();

    // Shows the picture as it was read with a grid of lines every n pixels.
    void GridUp(int n);
    void SetImageCursor(bool show);
    // Puts the counts and the fit of an analysis into the graph and the labels.
    void ShowResults(const TAnalysisResult& result);

    // How the next analysis measures the shape.
    const TCountMethod& CountMethod() const { return FMethod; }
    void SetCountMethod(const TCountMethod& method) { FMethod = method; }
    // How long a counting runs before its progress shows.
    void SetProgressDelay(std::chrono::milliseconds delay) { FProgressDelay = delay; }

    const QString& PictureFile() const { return FPictureFile; }
    int MinBoxSize() const { return FMinBoxSize; }
    int MaxBoxSize() const { return FMaxBoxSize; }

    // The controls, in the order of the window's description.
    TBitBtn* BitBtn1;
    TImageControl* Image1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TZemplot* Zemplot1;
    QLabel* StaticText1;
    QLabel* StaticText2;
    TBitBtn* BitBtn4;
    QLabel* StaticText3;
    TStringGrid* StringGrid1;
    TBitBtn* BitBtn5;
    TSpinEdit* SpinEdit1;
    TSpinEdit* SpinEdit2;
    QLabel* StaticText5;
    QLabel* StaticText6;
    TSpinEdit* SpinEdit3;
    QLabel* StaticText4;
    QLabel* StaticText7;
    TBitBtn* BitBtn6;
    QPushButton* MethodButton; // opens MethodDialog
    QToolButton* RecentButton; // its menu lists the pictures opened last
    TMethodDialog* MethodDialog;
    // Why a picture that is shown cannot be analysed; empty otherwise.
    QLabel* PictureNote;
    // The fit's uncertainty, its range and its warnings, when the method gives them.
    QPlainTextEdit* FitDetails;

protected:
    // A file dropped on the window is opened as a picture.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();
    void FormCreate();
    // Reads the picture at `path` and shows it; raises when it cannot be read, and
    // the picture before stays.
    void LoadPicture(const QString& path);
    // Lists the recent pictures in RecentButton's menu as they are on disk now.
    void FillRecentMenu();
    // Runs a handler; an error it raises goes to the error box.
    void Guarded(const std::function<void()>& handler);
    // Lists log d and log N(d) of every size of `result` in the table.
    void FillTable(const TAnalysisResult& result);
    // Empties the labels, the table and the graph's points; nothing can be saved.
    void ClearResults();
    // Takes the colour of the picture as read at (x, y) for the shape's colour.
    void TakeColourAt(int x, int y);
    // The rectangle drawn last on this picture, cut to the picture; refused when the
    // rectangle holds no pixel.
    TMaskRect SelectedRegion() const;
    // Lays the pixels the chosen rule takes over the picture while the method dialog
    // is open; takes the overlay away otherwise.
    void RefreshOverlay();
    QString PictureName() const;
    std::string DecimalSeparator() const;

    TDialogs& FDialogs;
    TAboutBox& FAboutBox;
    QCursor FPictureCursor;
    TColor FColour = clBlack; // the colour dialog starts at the last choice
    // How the next analysis chooses the shape's pixels and measures them; the defaults
    // are the window's own method.
    TShapeChoice FShape;
    TCountMethod FMethod;
    // A counting that takes longer shows its progress and can be cancelled.
    std::chrono::milliseconds FProgressDelay{500};
    TMethodChoice FChoice; // as the method dialog shows it, remembered between runs
    bool FPicking = false;

    int FMaxBoxSize = 0;
    int FMinBoxSize = 0;
    QString FPictureFile;
    std::optional<TAnalysisResult> FLastAnalysis;
    bool FSelecting = false;
    bool FSelectionDrawn = false; // on the picture open now
    int FSelStartX = 0;
    int FSelStartY = 0;
    int FSelEndX = 0;
    int FSelEndY = 0;
};
