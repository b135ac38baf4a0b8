#pragma once

#include <functional>

#include <QGroupBox>

#include "app/window/method_choice.h"
#include "graph/control/graph_types.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

// The foreground group: which pixels form the shape (the exact colour asked at every
// analysis, the colour within a tolerance, or a luminance threshold), the colour, taken
// from the picture on request, and whether only the rectangle drawn is counted.
class TForegroundPanel : public QGroupBox {
public:
    explicit TForegroundPanel(QWidget* parent = nullptr);

    // Shows the foreground of `choice` and `colour` without reporting a change.
    void Show(const TMethodChoice& choice, TColor colour);
    // Puts the foreground shown into `choice`, leaving its method as it is.
    void Read(TMethodChoice& choice) const;
    void SetOnChange(std::function<void()> onChange) { FOnChange = std::move(onChange); }

    QComboBox* KindBox;
    QSpinBox* ToleranceEdit;
    QCheckBox* OtsuBox;
    QSpinBox* LevelEdit;
    QComboBox* SideBox;
    QPushButton* ColourButton; // shows the colour; pressing it asks for another
    QPushButton* PickButton; // the next click on the picture takes its colour
    QCheckBox* InsideRectangleBox;

private:
    void Changed();
    void EnableFields();

    std::function<void()> FOnChange;
    bool FShowing = false;
};
