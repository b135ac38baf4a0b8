#include "app/window/foreground_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>

#include "graph/control/qt_canvas.h"

TForegroundPanel::TForegroundPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Shape's pixels"), parent), KindBox(new QComboBox(this)),
      ToleranceEdit(new QSpinBox(this)), OtsuBox(new QCheckBox(QStringLiteral("Otsu"), this)),
      LevelEdit(new QSpinBox(this)), SideBox(new QComboBox(this)), ColourButton(new QPushButton(this)),
      PickButton(new QPushButton(QStringLiteral("Pick from picture"), this)),
      InsideRectangleBox(new QCheckBox(QStringLiteral("Count inside the rectangle only"), this))
{
    // The items follow the order of the enumerations they stand for.
    KindBox->addItems({QStringLiteral("Exact colour, asked at Analyse"), QStringLiteral("Colour within a tolerance"),
                       QStringLiteral("Luminance threshold")});
    SideBox->addItems({QStringLiteral("Dark: at most the level"), QStringLiteral("Light: above the level")});
    ToleranceEdit->setRange(0, 255);
    LevelEdit->setRange(0, 255);
    OtsuBox->setToolTip(QStringLiteral("The level that best splits the picture's luminances in two"));
    PickButton->setToolTip(QStringLiteral("The next click on the picture takes that pixel's colour"));
    InsideRectangleBox->setToolTip(
        QStringLiteral("Counts only inside the last rectangle drawn on the picture, boxes laid from its corner"));

    auto* colour = new QHBoxLayout;
    colour->addWidget(ColourButton);
    colour->addWidget(PickButton);
    auto* level = new QHBoxLayout;
    level->addWidget(LevelEdit);
    level->addWidget(OtsuBox);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Pixels"), KindBox);
    form->addRow(QStringLiteral("Colour"), colour);
    form->addRow(QStringLiteral("Tolerance"), ToleranceEdit);
    form->addRow(QStringLiteral("Level"), level);
    form->addRow(QStringLiteral("Side"), SideBox);
    form->addRow(InsideRectangleBox);

    for (QComboBox* box : {KindBox, SideBox})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    for (QSpinBox* edit : {ToleranceEdit, LevelEdit})
        connect(edit, &QSpinBox::valueChanged, this, [this] { Changed(); });
    for (QCheckBox* box : {OtsuBox, InsideRectangleBox})
        connect(box, &QCheckBox::toggled, this, [this] { Changed(); });
    EnableFields();
}

void TForegroundPanel::Show(const TMethodChoice& choice, TColor colour)
{
    FShowing = true;
    KindBox->setCurrentIndex(static_cast<int>(choice.Foreground));
    ToleranceEdit->setValue(choice.Tolerance);
    OtsuBox->setChecked(choice.Otsu);
    LevelEdit->setValue(choice.Level);
    SideBox->setCurrentIndex(static_cast<int>(choice.Side));
    InsideRectangleBox->setChecked(choice.InsideRectangle);
    const QColor shown = ToQColor(colour);
    ColourButton->setText(shown.name());
    ColourButton->setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                                    .arg(shown.name(), shown.lightness() < 128 ? "white" : "black"));
    FShowing = false;
    EnableFields();
}

void TForegroundPanel::Read(TMethodChoice& choice) const
{
    choice.Foreground = static_cast<TForegroundKind>(KindBox->currentIndex());
    choice.Tolerance = ToleranceEdit->value();
    choice.Otsu = OtsuBox->isChecked();
    choice.Level = LevelEdit->value();
    choice.Side = static_cast<TLuminanceSide>(SideBox->currentIndex());
    choice.InsideRectangle = InsideRectangleBox->isChecked();
}

void TForegroundPanel::Changed()
{
    EnableFields();
    if (!FShowing && FOnChange)
        FOnChange();
}

void TForegroundPanel::EnableFields()
{
    const auto kind = static_cast<TForegroundKind>(KindBox->currentIndex());
    const bool threshold = kind == TForegroundKind::Threshold;
    ColourButton->setEnabled(!threshold);
    PickButton->setEnabled(!threshold);
    ToleranceEdit->setEnabled(kind == TForegroundKind::ColourWithin);
    OtsuBox->setEnabled(threshold);
    LevelEdit->setEnabled(threshold && !OtsuBox->isChecked());
    SideBox->setEnabled(threshold);
}
