#include "app/engine/box_size_series.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "app/engine/decimal_log.h"
#include "graph/core/error.h"

std::vector<int> GeometricBoxSizes(int minimum, int maximum, long double ratio)
{
    if (!(ratio > 1.0L))
        throw TVandrelError("The ratio between box sizes must be above 1");
    if (minimum < 1)
        throw TVandrelError("The smallest box size must be at least 1");
    std::vector<int> sizes;
    const long double logRatio = std::log(ratio);
    long long k = 0;
    for (;;) {
        // Each size from the power itself, not by repeated multiplication, so no
        // rounding error accumulates along the series.
        const long double exact = minimum * std::pow(ratio, static_cast<long double>(k));
        if (!(exact < maximum + 0.5L))
            break;
        const int size = static_cast<int>(std::llround(exact));
        if (sizes.empty() || size > sizes.back())
            sizes.push_back(size);
        // A ratio just above 1 repeats a size for many k: jump to the first power
        // that can round above the last size.
        const long double next = std::ceil(std::log((sizes.back() + 0.5L) / minimum) / logRatio);
        k = std::max(k + 1, static_cast<long long>(next));
    }
    return sizes;
}

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int ParseBoxSize(std::string_view item)
{
    const std::string_view digits = TrimBlanks(item);
    int size = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || size < 1 ||
        size > 65535)
        throw TVandrelError("Not a box size: \"" + std::string(item) +
                            "\" (box sizes are whole numbers from 1 to 65535, separated by commas)");
    return size;
}

}  // namespace

std::vector<int> ParseBoxSizeList(std::string_view text)
{
    std::vector<int> sizes;
    for (;;) {
        const auto comma = text.find(',');
        sizes.push_back(ParseBoxSize(text.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

long double DecadesSpanned(std::span<const int> sizes)
{
    if (sizes.empty())
        return 0.0L;
    const auto [smallest, largest] = std::minmax_element(sizes.begin(), sizes.end());
    return Log10(static_cast<long double>(*largest) / *smallest);
}
