#include "app/count/colour_option.h"

#include <QColor>
#include <QString>

std::optional<uint32_t> ParseColour(std::string_view text)
{
    const bool hexDigitsOnly = text.size() == 6 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
    const bool hashedHex = text.size() == 7 && text.front() == '#' && text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string_view::npos;
    if (hexDigitsOnly || hashedHex)
        return static_cast<uint32_t>(std::stoul(std::string(text.substr(text.size() - 6)), nullptr, 16));
    // Names only: Qt would also take other hexadecimal forms (#RGB, #AARRGGBB).
    if (text.empty() || text.front() == '#')
        return std::nullopt;
    const QColor colour = QColor::fromString(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (!colour.isValid() || colour.alpha() != 255) // "transparent" is no colour a pixel can match
        return std::nullopt;
    return static_cast<uint32_t>(colour.rgb() & 0x00FFFFFFu);
}
