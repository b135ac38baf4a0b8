#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include <QObject>
#include <QString>
#include <QStringList>

// How many extra columns or rows a holder's table gets: a total, or extra ones.
enum TPaddingPolicy : uint8_t { ppTotal, ppExtra };

class TxyHolder;
using THolderEvent = std::function<void(TxyHolder& sender)>;

// A block of text lines kept with a form or data module, so that a series can be
// filled from them as from a text file. Text suppliers find it by its ID and read
// data() in place. The separators, markers and padding settings are only kept and
// stored with the holder: a supplier uses those of the series.
class TxyHolder : public QObject {
    // Gives the class its own meta object, so that findChildren<TxyHolder*> picks
    // holders and nothing else.
    Q_OBJECT

public:
    explicit TxyHolder(QObject* owner);

    // The separators with their first tab shown as the letter T, since a tab is
    // hard to type in a property editor.
    QString Textseparators() const;
    // Turns the first letter T of `value` into a tab.
    void SetTextseparators(const QString& value);
    // The separators as kept, with real tabs.
    const QString& StoredTextseparators() const { return FTextseparators; }
    const QString& TextMarkers() const { return FTextMarkers; }
    void SetTextMarkers(const QString& value) { FTextMarkers = value; }

    const QStringList& data() const { return FData; }
    // The list itself, for edits that fire nothing.
    QStringList& Lines() { return FData; }
    // Copies the lines into the holder's list, then fires OnChange.
    void Setdata(const QStringList& value);

    TPaddingPolicy XPaddingPolicy() const { return FXPaddingPolicy; }
    void SetXPaddingPolicy(TPaddingPolicy value) { FXPaddingPolicy = value; }
    TPaddingPolicy YPaddingPolicy() const { return FYPaddingPolicy; }
    void SetYPaddingPolicy(TPaddingPolicy value) { FYPaddingPolicy = value; }
    int32_t XPadCount() const { return FXPadCount; }
    void SetXPadCount(int32_t value) { FXPadCount = value; }
    int32_t YPadCount() const { return FYPadCount; }
    void SetYPadCount(int32_t value) { FYPadCount = value; }

    const QString& ID() const { return FID; }
    void SetID(const QString& value) { FID = value; }
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t value) { FTag = value; }

    const THolderEvent& OnChange() const { return FOnChange; }
    void SetOnChange(THolderEvent value) { FOnChange = std::move(value); }

private:
    QString FTextseparators = QStringLiteral("\t,");
    QString FTextMarkers = QStringLiteral("'\"");
    QStringList FData;
    TPaddingPolicy FXPaddingPolicy = ppExtra;
    TPaddingPolicy FYPaddingPolicy = ppExtra;
    int32_t FXPadCount = 2;
    int32_t FYPadCount = 10;
    QString FID;
    int32_t FTag = 0;
    THolderEvent FOnChange;
};

// The first holder whose ID is exactly `id` (UTF-8), data modules before forms;
// nullptr when there is none.
TxyHolder* FindHolder(const std::string& id);
