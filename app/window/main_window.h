#pragma once

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
#include "app/window/spin_edit.h"
#include "app/window/string_grid.h"
#include "graph/control/zemplot.h"

class TAboutBox;

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

    // Shows the picture as it was read with a grid of lines every n pixels.
    void GridUp(int n);
    void SetImageCursor(bool show);
    // Puts the counts and the fit of an analysis into the graph and the labels.
    void ShowResults(const TAnalysisResult& result);

    // How the next analysis measures the shape.
    const TCountMethod& CountMethod() const { return FMethod; }
    void SetCountMethod(const TCountMethod& method) { FMethod = method; }

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
    // Why a picture that is shown cannot be analysed; empty otherwise.
    QLabel* PictureNote;
    // The fit's uncertainty, its range and its warnings, when the method gives them.
    QPlainTextEdit* FitDetails;

private:
    void BuildControls();
    void ConnectHandlers();
    void FormCreate();
    // Runs a handler; an error it raises goes to the error box.
    void Guarded(const std::function<void()>& handler);
    // Lists log d and log N(d) of every size of `result` in the table.
    void FillTable(const TAnalysisResult& result);
    // Empties the labels, the table and the graph's points; nothing can be saved.
    void ClearResults();
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

    int FMaxBoxSize = 0;
    int FMinBoxSize = 0;
    QString FPictureFile;
    std::optional<TAnalysisResult> FLastAnalysis;
    bool FSelecting = false;
    int FSelStartX = 0;
    int FSelStartY = 0;
    int FSelEndX = 0;
    int FSelEndY = 0;
};
