#pragma once

#include "app/window/dialogs.h"

// The dialogs as Qt shows them, over the active window.
class TQtDialogs : public TDialogs {
public:

    std::optional<QString> OpenFile(const QString& filter, const QString& folder) override;
    std::optional<TColor> ChooseColour(TColor initial) override;
    std::optional<QString> SaveFile(const QString& proposedPath, const QString& defaultSuffix,
                                    const QString& filter) override;
    void Inform(const QString& text) override;
    void ShowError(const QString& message) override;
    void ShowModal(QDialog& dialog) override;
};
