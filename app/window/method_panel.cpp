#include "app/window/method_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

QSpinBox* SizeEdit(QWidget* parent)
{
    auto* edit = new QSpinBox(parent);
    edit->setRange(1, 65535);
    return edit;
}

}  // namespace

TMethodPanel::TMethodPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Method"), parent), GridBox(new QComboBox(this)), SizesBox(new QComboBox(this)),
      RatioEdit(new QDoubleSpinBox(this)), SizeListEdit(new QLineEdit(this)), FitBox(new QComboBox(this)),
      FitFromEdit(SizeEdit(this)), FitToEdit(SizeEdit(this)),
      RecommendedButton(new QPushButton(QStringLiteral("&Recommended"), this))
{
    // The items follow the order of the enumerations they stand for.
    GridBox->addItems({QStringLiteral("One grid from the top-left corner"),
                       QStringLiteral("Least count over every grid offset")});
    SizesBox->addItems({QStringLiteral("Minimum to maximum by the increment"),
                        QStringLiteral("Geometric, minimum to maximum"), QStringLiteral("Typed list")});
    FitBox->addItems({QStringLiteral("Every size"), QStringLiteral("Automatic: the straightest run"),
                      QStringLiteral("Sizes from .. to")});
    RatioEdit->setRange(1.01, 1000);
    RatioEdit->setDecimals(2);
    SizeListEdit->setPlaceholderText(QStringLiteral("1,3,9,27,81,243"));
    RecommendedButton->setToolTip(QStringLiteral("Least count over the offsets, sizes in ratio 2, automatic fit"));

    auto* fitRange = new QHBoxLayout;
    fitRange->addWidget(FitFromEdit);
    fitRange->addWidget(FitToEdit);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Grid"), GridBox);
    form->addRow(QStringLiteral("Sizes"), SizesBox);
    form->addRow(QStringLiteral("Ratio"), RatioEdit);
    form->addRow(QStringLiteral("List"), SizeListEdit);
    form->addRow(QStringLiteral("Fit"), FitBox);
    form->addRow(QStringLiteral("From, to"), fitRange);
    form->addRow(RecommendedButton);

    for (QComboBox* box : {GridBox, SizesBox, FitBox})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    connect(RatioEdit, &QDoubleSpinBox::valueChanged, this, [this] { Changed(); });
    connect(SizeListEdit, &QLineEdit::editingFinished, this, [this] { Changed(); });
    for (QSpinBox* edit : {FitFromEdit, FitToEdit})
        connect(edit, &QSpinBox::valueChanged, this, [this] { Changed(); });
    connect(RecommendedButton, &QPushButton::clicked, this, [this] {
        TMethodChoice choice;
        Read(choice);
        Show(Recommended(choice));
        Changed();
    });
    EnableFields();
}

void TMethodPanel::Show(const TMethodChoice& choice)
{
    FShowing = true;
    GridBox->setCurrentIndex(static_cast<int>(choice.Grid));
    SizesBox->setCurrentIndex(static_cast<int>(choice.Sizes));
    RatioEdit->setValue(choice.Ratio);
    SizeListEdit->setText(QString::fromStdString(choice.SizeList));
    FitBox->setCurrentIndex(static_cast<int>(choice.Fit));
    FitFromEdit->setValue(choice.FitFrom);
    FitToEdit->setValue(choice.FitTo);
    FShowing = false;
    EnableFields();
}

void TMethodPanel::Read(TMethodChoice& choice) const
{
    choice.Grid = static_cast<TGridMode>(GridBox->currentIndex());
    choice.Sizes = static_cast<TSizeSeries>(SizesBox->currentIndex());
    choice.Ratio = RatioEdit->value();
    choice.SizeList = SizeListEdit->text().toStdString();
    choice.Fit = static_cast<TFitChoice>(FitBox->currentIndex());
    choice.FitFrom = FitFromEdit->value();
    choice.FitTo = FitToEdit->value();
}

void TMethodPanel::Changed()
{
    EnableFields();
    if (!FShowing && FOnChange)
        FOnChange();
}

void TMethodPanel::EnableFields()
{
    RatioEdit->setEnabled(SizesBox->currentIndex() == static_cast<int>(TSizeSeries::Geometric));
    SizeListEdit->setEnabled(SizesBox->currentIndex() == static_cast<int>(TSizeSeries::List));
    const bool range = FitBox->currentIndex() == static_cast<int>(TFitChoice::Range);
    FitFromEdit->setEnabled(range);
    FitToEdit->setEnabled(range);
}
