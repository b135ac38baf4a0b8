#pragma once

#include <deque>
#include <optional>

#include <QStringList>

#include "app/window/dialogs.h"

// Dialogs that answer from lists a test fills, and keep what they were shown. A
// dialog with no answer left is cancelled.
class TScriptedDialogs : public TDialogs {
public:
    std::deque<std::optional<QString>> OpenAnswers;
    std::deque<std::optional<TColor>> ColourAnswers;
    std::deque<std::optional<QString>> SaveAnswers;

    QString OpenFilter;
    QString OpenFolder;
    QString ProposedSavePath;
    QString SaveSuffix;
    QStringList Informed;
    QStringList Errors;
    int ModalWindows = 0;

    std::optional<QString> OpenFile(const QString& filter, const QString& folder) override
    {
        OpenFilter = filter;
        OpenFolder = folder;
        return Next(OpenAnswers);
    }
    std::optional<TColor> ChooseColour(TColor) override { return Next(ColourAnswers); }
    std::optional<QString> SaveFile(const QString& proposedPath, const QString& defaultSuffix,
                                    const QString&) override
    {
        ProposedSavePath = proposedPath;
        SaveSuffix = defaultSuffix;
        return Next(SaveAnswers);
    }
    void Inform(const QString& text) override { Informed << text; }
    void ShowError(const QString& message) override { Errors << message; }
    void ShowModal(QDialog&) override { ++ModalWindows; }

private:
    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        // Taken out by a swap: a copy of the front trips a false "may be used
        // uninitialized" warning of GCC 12 in some test files.
        std::optional<T> answer;
        answer.swap(answers.front());
        answers.pop_front();
        return answer;
    }
};
