#include "app/window/method_dialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

TMethodDialog::TMethodDialog(QWidget* parent)
    : QDialog(parent), MethodPanel(new TMethodPanel(this)), ForegroundPanel(new TForegroundPanel(this))
{
    setWindowTitle(QStringLiteral("Method"));
    setModal(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MethodPanel);
    layout->addWidget(ForegroundPanel);
    layout->addWidget(buttons);
}

void TMethodDialog::Show(const TMethodChoice& choice, TColor colour)
{
    MethodPanel->Show(choice);
    ForegroundPanel->Show(choice, colour);
}

TMethodChoice TMethodDialog::Choice() const
{
    TMethodChoice choice;
    MethodPanel->Read(choice);
    ForegroundPanel->Read(choice);
    return choice;
}

void TMethodDialog::SetOnChange(const std::function<void()>& onChange)
{
    MethodPanel->SetOnChange(onChange);
    ForegroundPanel->SetOnChange(onChange);
}

void TMethodDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (FOnHidden)
        FOnHidden();
}
