#pragma once

#include <optional>

#include <QString>

#include "graph/control/graph_types.h"

class QDialog;

// Every modal dialog the window opens goes through here, so that tests can script
// the answers and see the messages.
class TDialogs {
public:
    virtual ~TDialogs() = default;

    // The chosen file's full path, or nothing when cancelled. `filter` lists the
    // entries as "Name (*.a *.b)|*.a;*.b|...", the first one selected. The dialog
    // starts in `folder`, or where Qt starts it when that is empty.
    virtual std::optional<QString> OpenFile(const QString& filter, const QString& folder) = 0;
    // The chosen colour, or nothing when cancelled; the dialog starts at `initial`.
    virtual std::optional<TColor> ChooseColour(TColor initial) = 0;
    // The chosen file's full path, or nothing when cancelled. The dialog proposes
    // `proposedPath`; a name typed without extension gets `defaultSuffix`.
    virtual std::optional<QString> SaveFile(const QString& proposedPath, const QString& defaultSuffix,
                                            const QString& filter) = 0;
    // An information box with one OK button.
    virtual void Inform(const QString& text) = 0;
    // The error box: the program goes on after it.
    virtual void ShowError(const QString& message) = 0;
    // Shows a window of the program modally and returns when it closes.
    virtual void ShowModal(QDialog& dialog) = 0;
};
