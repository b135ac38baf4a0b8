#include "app/window/counting_progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TCountingProgress::TCountingProgress(QWidget* parent)
    : QDialog(parent), FBar(new QProgressBar(this)), FCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QString::fromLatin1(kCountingProgressName));
    setWindowTitle(QStringLiteral("Counting"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Counting the boxes of every size…"), this));
    layout->addWidget(FBar);
    layout->addWidget(FCancel, 0, Qt::AlignRight);
    FBar->setRange(0, 1);
    FBar->setValue(0);
    connect(FCancel, &QPushButton::clicked, this, &TCountingProgress::reject);
}

void TCountingProgress::SetSizesDone(int done, int of)
{
    FBar->setRange(0, of);
    FBar->setValue(done);
}

void TCountingProgress::reject()
{
    // The dialog closes with the counting, not before: until then the window stays
    // blocked, so nothing can start while the stopped counting winds down.
    if (FCancelAsked)
        return;
    FCancelAsked = true;
    FCancel->setEnabled(false);
    FCancel->setText(QStringLiteral("Stopping…"));
    if (FOnCancel)
        FOnCancel();
}
