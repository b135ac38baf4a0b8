#include "app/window/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "graph/control/qt_canvas.h"

namespace {

// "Name (*.a *.b)|*.a;*.b|Other (*.c)|*.c" as Qt's name filters. Qt's dialog splits an
// entry's patterns at blanks only, so each entry is rebuilt from its caption and its
// ";"-separated patterns: "Name (*.a;*.b)" would match no file at all.
QStringList NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString caption = parts[i].section(QStringLiteral(" ("), 0, 0);
        const QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        names << QStringLiteral("%1 (%2)").arg(caption, patterns.join(u' '));
    }
    return names;
}

std::optional<QString> Chosen(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> TQtDialogs::OpenFile(const QString& filter, const QString& folder)
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Open"));
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFilters(filter));
    return Chosen(dialog);
}

std::optional<TColor> TQtDialogs::ChooseColour(TColor initial)
{
    const QColor colour = QColorDialog::getColor(ToQColor(initial), QApplication::activeWindow(), QStringLiteral("Colour"));
    if (!colour.isValid())
        return std::nullopt;
    return static_cast<TColor>(colour.red() | colour.green() << 8 | colour.blue() << 16);
}

std::optional<QString> TQtDialogs::SaveFile(const QString& proposedPath, const QString& defaultSuffix,
                                            const QString& filter)
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(NameFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix);
    const QFileInfo proposed(proposedPath);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    return Chosen(dialog);
}

void TQtDialogs::Inform(const QString& text)
{
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), text);
}

void TQtDialogs::ShowError(const QString& message)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

void TQtDialogs::ShowModal(QDialog& dialog)
{
    dialog.exec();
}
