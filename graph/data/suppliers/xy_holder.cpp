#include "graph/data/suppliers/xy_holder.h"

#include "graph/data/suppliers/component_registry.h"

TxyHolder::TxyHolder(QObject* owner) : QObject(owner)
{
}

QString TxyHolder::Textseparators() const
{
    QString shown = FTextseparators;
    if (const qsizetype tab = shown.indexOf(QLatin1Char('\t')); tab >= 0)
        shown[tab] = QLatin1Char('T');
    return shown;
}

void TxyHolder::SetTextseparators(const QString& value)
{
    FTextseparators = value;
    if (const qsizetype letter = FTextseparators.indexOf(QLatin1Char('T')); letter >= 0)
        FTextseparators[letter] = QLatin1Char('\t');
}

void TxyHolder::Setdata(const QStringList& value)
{
    FData = value;
    if (FOnChange)
        FOnChange(*this);
}

TxyHolder* FindHolder(const std::string& id)
{
    const QString wanted = QString::fromStdString(id);
    return FindComponent<TxyHolder>([&wanted](const TxyHolder& holder) { return holder.ID() == wanted; });
}
