#include "python/method_arguments.h"

#include <string>

#include "app/count/colour_option.h"

namespace py = pybind11;

namespace {

constexpr int kLargestBoxSize = 65535;

int WholeNumber(const char* name, const py::handle& value, int smallest, int largest)
{
    // Any integer, numpy's included, but not a bool.
    if (!PyIndex_Check(value.ptr()) || py::isinstance<py::bool_>(value))
        throw py::type_error(std::string(name) + ": expected a whole number, got " + py::repr(value).cast<std::string>());
    const py::int_ whole = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
    if (!whole)
        throw py::error_already_set();
    int overflow = 0;
    const long long number = PyLong_AsLongLongAndOverflow(whole.ptr(), &overflow);
    if (overflow != 0 || number < smallest || number > largest)
        throw py::value_error(std::string(name) + ": " + py::repr(whole).cast<std::string>() + " is not from " +
                              std::to_string(smallest) + " to " + std::to_string(largest));
    return static_cast<int>(number);
}

}  // namespace

TGridMode GridArgument(const py::object& grid)
{
    const std::string text = py::isinstance<py::str>(grid) ? grid.cast<std::string>() : std::string();
    if (text == "topleft" || text == "top-left")
        return TGridMode::TopLeft;
    if (text == "min")
        return TGridMode::Min;
    if (text == "all")
        return TGridMode::All;
    throw py::value_error("grid: " + py::repr(grid).cast<std::string>() + " is not one of 'topleft', 'min', 'all'");
}

std::vector<int> SizesArgument(const py::object& sizes)
{
    if (py::isinstance<py::str>(sizes) || !py::isinstance<py::iterable>(sizes))
        throw py::type_error("sizes: expected a sequence of box sizes such as [1, 3, 9, 27], got " +
                             py::repr(sizes).cast<std::string>());
    std::vector<int> list;
    for (const py::handle size : sizes)
        list.push_back(WholeNumber("sizes", size, 1, kLargestBoxSize));
    if (list.empty())
        throw py::value_error("sizes: no box size given");
    return list;
}

void ReadFitArgument(const py::object& fit, TCountMethod& method)
{
    if (py::isinstance<py::str>(fit)) {
        const std::string text = fit.cast<std::string>();
        if (text == "all" || text == "auto") {
            method.Fit = text == "all" ? TFitChoice::All : TFitChoice::Auto;
            return;
        }
    } else if (py::isinstance<py::sequence>(fit) && py::len(fit) == 2) {
        const py::sequence range = fit;
        method.FitFrom = WholeNumber("fit", range[0], 1, kLargestBoxSize);
        method.FitTo = WholeNumber("fit", range[1], 1, kLargestBoxSize);
        if (method.FitFrom > method.FitTo)
            throw py::value_error("fit: the range " + py::repr(fit).cast<std::string>() + " starts above its end");
        method.Fit = TFitChoice::Range;
        return;
    }
    throw py::value_error("fit: " + py::repr(fit).cast<std::string>() +
                          " is not 'all', 'auto' or a range of box sizes (from, to)");
}

TForegroundRule ForegroundArgument(const py::object& colour, const py::object& threshold, int tolerance,
                                   const py::object& side)
{
    if (tolerance < 0 || tolerance > 255)
        throw py::value_error("tolerance: " + std::to_string(tolerance) + " is not from 0 to 255");
    if (threshold.is_none()) {
        if (!side.is_none())
            throw py::value_error("side goes with threshold");
        if (colour.is_none())
            return TForegroundRule::Colour(0x000000, tolerance);
        if (PyIndex_Check(colour.ptr()))
            return TForegroundRule::Colour(static_cast<uint32_t>(WholeNumber("colour", colour, 0, 0xFFFFFF)), tolerance);
        const std::optional<uint32_t> rgb =
            py::isinstance<py::str>(colour) ? ParseColour(colour.cast<std::string>()) : std::nullopt;
        if (!rgb)
            throw py::value_error("colour: " + py::repr(colour).cast<std::string>() +
                                  " is not a colour (give '#RRGGBB', 'RRGGBB', a colour name or 0xRRGGBB)");
        return TForegroundRule::Colour(*rgb, tolerance);
    }
    if (!colour.is_none() || tolerance != 0)
        throw py::value_error("threshold chooses the shape by its luminance; give it without colour and tolerance");
    TLuminanceSide luminanceSide = TLuminanceSide::Dark;
    if (!side.is_none()) {
        const std::string text = py::isinstance<py::str>(side) ? side.cast<std::string>() : std::string();
        if (text != "dark" && text != "light")
            throw py::value_error("side: " + py::repr(side).cast<std::string>() + " is not 'dark' or 'light'");
        luminanceSide = text == "dark" ? TLuminanceSide::Dark : TLuminanceSide::Light;
    }
    if (py::isinstance<py::str>(threshold) && threshold.cast<std::string>() == "otsu")
        return TForegroundRule::Otsu(luminanceSide);
    if (!PyIndex_Check(threshold.ptr()))
        throw py::value_error("threshold: " + py::repr(threshold).cast<std::string>() +
                              " is not 'otsu' or a luminance from 0 to 255");
    return TForegroundRule::Luminance(WholeNumber("threshold", threshold, 0, 255), luminanceSide);
}
