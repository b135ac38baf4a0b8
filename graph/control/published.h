#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "graph/control/font.h"

// The published properties of an object: the interface a form description stores,
// in the order it is written, each with its declared default (a property equal to
// it is left out of the form).

enum class TPublishedKind { Boolean, Integer, Float, String, Enumeration, Font };

// Integers and enumerations (by ordinal) are held wide; setters cut them to the
// property's own width.
using TPublishedValue = std::variant<bool, int64_t, double, std::string, TFontAttributes>;

template <typename TObject>
struct TPublishedProperty {
    std::string Name;
    TPublishedKind Kind;
    std::optional<TPublishedValue> Default;
    std::span<const char* const> EnumNames; // by ordinal; enumerations only
    std::function<TPublishedValue(const TObject&)> Get;
    std::function<void(TObject&, const TPublishedValue&)> Set;
};

namespace published_detail {

template <typename TValue>
TPublishedValue Wrap(const TValue& value)
{
    if constexpr (std::is_same_v<TValue, bool>)
        return value;
    else if constexpr (std::is_integral_v<TValue> || std::is_enum_v<TValue>)
        return static_cast<int64_t>(value);
    else if constexpr (std::is_floating_point_v<TValue>)
        return static_cast<double>(value);
    else if constexpr (std::is_same_v<TValue, TFont>)
        return value.Attributes();
    else
        return TValue(value);
}

template <typename TValue>
TValue Unwrap(const TPublishedValue& value)
{
    if constexpr (std::is_same_v<TValue, bool>)
        return std::get<bool>(value);
    else if constexpr (std::is_integral_v<TValue> || std::is_enum_v<TValue>)
        return static_cast<TValue>(std::get<int64_t>(value)); // cut to the property's width
    else if constexpr (std::is_floating_point_v<TValue>)
        return static_cast<TValue>(std::get<double>(value));
    else
        return std::get<TValue>(value);
}

template <typename TValue>
constexpr TPublishedKind KindOf()
{
    if constexpr (std::is_same_v<TValue, bool>)
        return TPublishedKind::Boolean;
    else if constexpr (std::is_enum_v<TValue>)
        return TPublishedKind::Enumeration;
    else if constexpr (std::is_integral_v<TValue>)
        return TPublishedKind::Integer;
    else if constexpr (std::is_floating_point_v<TValue>)
        return TPublishedKind::Float;
    else if constexpr (std::is_same_v<TValue, TFont>)
        return TPublishedKind::Font;
    else
        return TPublishedKind::String;
}

}  // namespace published_detail

// One property from its getter and setter. A font property's setter takes the
// attributes to copy.
template <typename TObject, typename TGetter, typename TSetterValue>
TPublishedProperty<TObject> Publish(std::string name, TGetter (TObject::*get)() const,
                                    void (TObject::*set)(TSetterValue),
                                    std::optional<TPublishedValue> declaredDefault = std::nullopt,
                                    std::span<const char* const> enumNames = {})
{
    using TValue = std::remove_cvref_t<TGetter>;
    using TStored = std::conditional_t<std::is_same_v<TValue, TFont>, TFontAttributes, TValue>;
    return {
        std::move(name),
        published_detail::KindOf<TValue>(),
        std::move(declaredDefault),
        enumNames,
        [get](const TObject& object) { return published_detail::Wrap((object.*get)()); },
        [set](TObject& object, const TPublishedValue& value) {
            (object.*set)(published_detail::Unwrap<TStored>(value));
        },
    };
}
