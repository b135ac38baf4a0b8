#pragma once

#include <functional>

#include <QDialog>

class QProgressBar;
class QPushButton;

// The progress of a long counting: a bar of the box sizes done and a Cancel button.
// Cancel (or Escape, or closing the dialog) asks once for the counting to stop; the
// dialog stays until its owner closes it, when the counting has ended.
// Its object name, by which the window's other dialogs are told from it.
inline constexpr const char* kCountingProgressName = "countingProgress";

class TCountingProgress : public QDialog {
public:
    explicit TCountingProgress(QWidget* parent);

    void SetSizesDone(int done, int of);
    bool CancelAsked() const { return FCancelAsked; }
    QPushButton* CancelButton() const { return FCancel; }
    // Called once when Cancel is asked for.
    void SetOnCancel(std::function<void()> handler) { FOnCancel = std::move(handler); }

    void reject() override;

private:
    QProgressBar* FBar;
    QPushButton* FCancel;
    bool FCancelAsked = false;
    std::function<void()> FOnCancel;
};
