#include "app/engine/fit_warnings.h"

#include <algorithm>
#include <cstdio>

#include "app/engine/box_size_series.h"

namespace {

std::string Decimals(long double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2Lf", value);
    return text;
}

const char* AreaName(TMeasuredArea area)
{
    switch (area) {
    case TMeasuredArea::Region:
        return "region";
    case TMeasuredArea::Piece:
        return "piece";
    case TMeasuredArea::Picture:
        break;
    }
    return "picture";
}

}  // namespace

std::vector<std::string> FitWarnings(std::span<const int> sizes, const TScalingFit& fit,
                                     const TPictureExtent& picture)
{
    std::vector<std::string> warnings;
    const int fitted[] = {fit.From, fit.To};
    const long double decades = DecadesSpanned(fitted);
    if (decades < 1.0L)
        warnings.push_back("The fitted box sizes span " + Decimals(decades) +
                           " decades, less than one: the slope is poorly determined");
    if (fit.Count < 5)
        warnings.push_back("Only " + std::to_string(fit.Count) +
                           " box sizes are fitted; at least 5 are needed to judge a straight line");
    const auto pictureArea = static_cast<uint64_t>(picture.Width) * static_cast<uint64_t>(picture.Height);
    if (picture.Area != TMeasuredArea::Piece && picture.ShapePixels * 2 > pictureArea)
        warnings.push_back("The shape covers more than half of the " + std::string(AreaName(picture.Area)) + " (" +
                           std::to_string(picture.ShapePixels) + " of " + std::to_string(pictureArea) +
                           " pixels): the counts may measure the " + AreaName(picture.Area) + " rather than the shape");
    if (!sizes.empty()) {
        const int smallest = *std::min_element(sizes.begin(), sizes.end());
        const int largest = *std::max_element(sizes.begin(), sizes.end());
        if (smallest < 1)
            warnings.push_back("Box sizes below 1 pixel were asked for (smallest " + std::to_string(smallest) +
                               ")");
        if (largest > std::min(picture.Width, picture.Height))
            warnings.push_back("Box sizes larger than the " + std::string(AreaName(picture.Area)) + " (" +
                               std::to_string(picture.Width) + " x " +
                               std::to_string(picture.Height) + ") were counted (largest " +
                               std::to_string(largest) + "): such boxes no longer resolve the shape");
    }
    return warnings;
}
