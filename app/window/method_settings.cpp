#include "app/window/method_settings.h"

#include <algorithm>

#include <QSettings>

namespace {

// An enumeration read back only when it names one of its `count` values: settings
// edited by hand or written by another version fall back to the default.
template <typename T>
T EnumValue(const QSettings& settings, const char* key, T fallback, int count)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key)).toInt(&ok);
    return ok && value >= 0 && value < count ? static_cast<T>(value) : fallback;
}

int IntValue(const QSettings& settings, const char* key, int fallback, int low, int high)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key)).toInt(&ok);
    return ok ? std::clamp(value, low, high) : fallback;
}

}  // namespace

TRememberedMethod LoadRememberedMethod()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("Method"));
    TRememberedMethod remembered;
    TMethodChoice& choice = remembered.Choice;
    choice.Grid = EnumValue(settings, "grid", choice.Grid, 2); // the window offers no "all"
    choice.Sizes = EnumValue(settings, "sizes", choice.Sizes, 3);
    bool ok = false;
    const double ratio = settings.value(QStringLiteral("ratio")).toDouble(&ok);
    if (ok && ratio >= 1.01 && ratio <= 1000)
        choice.Ratio = ratio;
    if (settings.contains(QStringLiteral("sizeList")))
        choice.SizeList = settings.value(QStringLiteral("sizeList")).toString().toStdString();
    choice.Fit = EnumValue(settings, "fit", choice.Fit, 3);
    choice.FitFrom = IntValue(settings, "fitFrom", choice.FitFrom, 1, 65535);
    choice.FitTo = IntValue(settings, "fitTo", choice.FitTo, 1, 65535);
    choice.Foreground = EnumValue(settings, "foreground", choice.Foreground, 3);
    choice.Tolerance = IntValue(settings, "tolerance", choice.Tolerance, 0, 255);
    choice.Otsu = settings.value(QStringLiteral("otsu"), choice.Otsu).toBool();
    choice.Level = IntValue(settings, "level", choice.Level, 0, 255);
    choice.Side = EnumValue(settings, "side", choice.Side, 2);
    choice.InsideRectangle = settings.value(QStringLiteral("insideRectangle"), choice.InsideRectangle).toBool();
    remembered.Colour = static_cast<TColor>(IntValue(settings, "colour", remembered.Colour, 0, 0xFFFFFF));
    return remembered;
}

void SaveRememberedMethod(const TRememberedMethod& remembered)
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("Method"));
    const TMethodChoice& choice = remembered.Choice;
    settings.setValue(QStringLiteral("grid"), static_cast<int>(choice.Grid));
    settings.setValue(QStringLiteral("sizes"), static_cast<int>(choice.Sizes));
    settings.setValue(QStringLiteral("ratio"), choice.Ratio);
    settings.setValue(QStringLiteral("sizeList"), QString::fromStdString(choice.SizeList));
    settings.setValue(QStringLiteral("fit"), static_cast<int>(choice.Fit));
    settings.setValue(QStringLiteral("fitFrom"), choice.FitFrom);
    settings.setValue(QStringLiteral("fitTo"), choice.FitTo);
    settings.setValue(QStringLiteral("foreground"), static_cast<int>(choice.Foreground));
    settings.setValue(QStringLiteral("tolerance"), choice.Tolerance);
    settings.setValue(QStringLiteral("otsu"), choice.Otsu);
    settings.setValue(QStringLiteral("level"), choice.Level);
    settings.setValue(QStringLiteral("side"), static_cast<int>(choice.Side));
    settings.setValue(QStringLiteral("insideRectangle"), choice.InsideRectangle);
    settings.setValue(QStringLiteral("colour"), static_cast<int>(remembered.Colour));
}
