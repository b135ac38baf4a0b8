#pragma once

#include <functional>

#include <QGroupBox>

#include "app/window/method_choice.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The method group: how the boxes are laid, which sizes are counted, which of them the
// line is fitted to, and a button for the method that measures best.
class TMethodPanel : public QGroupBox {
public:
    explicit TMethodPanel(QWidget* parent = nullptr);

    // Shows the method of `choice` without reporting a change.
    void Show(const TMethodChoice& choice);
    // Puts the method shown into `choice`, leaving its foreground as it is.
    void Read(TMethodChoice& choice) const;
    // Run after every change the user makes.
    void SetOnChange(std::function<void()> onChange) { FOnChange = std::move(onChange); }

    QComboBox* GridBox;
    QComboBox* SizesBox;
    QDoubleSpinBox* RatioEdit;
    QLineEdit* SizeListEdit;
    QComboBox* FitBox;
    QSpinBox* FitFromEdit;
    QSpinBox* FitToEdit;
    QPushButton* RecommendedButton;

private:
    void Changed();
    // Only the fields of the series and fit chosen can be edited.
    void EnableFields();

    std::function<void()> FOnChange;
    bool FShowing = false;
};
