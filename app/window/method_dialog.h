#pragma once

#include <functional>

#include <QDialog>

#include "app/window/foreground_panel.h"
#include "app/window/method_panel.h"

// The window's choices of method and of the shape's pixels, beside the window and not
// modal, so the picture can be clicked and its overlay seen while they change.
class TMethodDialog : public QDialog {
public:
    explicit TMethodDialog(QWidget* parent);

    void Show(const TMethodChoice& choice, TColor colour);
    TMethodChoice Choice() const;
    // Run after every change of either group.
    void SetOnChange(const std::function<void()>& onChange);
    // Run when the dialog is closed or hidden.
    void SetOnHidden(std::function<void()> onHidden) { FOnHidden = std::move(onHidden); }

    TMethodPanel* MethodPanel;
    TForegroundPanel* ForegroundPanel;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    std::function<void()> FOnHidden;
};
