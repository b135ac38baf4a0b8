#include "python/array_view.h"

#include <climits>
#include <string>

namespace py = pybind11;

namespace {

std::string ShapeText(const py::array& array)
{
    std::string text = "(";
    for (py::ssize_t i = 0; i < array.ndim(); ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(array.shape(i));
    return text + (array.ndim() == 1 ? ",)" : ")");
}

}  // namespace

TStridedBytes ArrayView(const py::array& array, TArrayKind allowed, const char* function)
{
    const std::string caller = std::string("vandrel.") + function + ": ";
    const std::string expected = std::string("an H x W mask (bool, or uint8 holding 0 and 1)") +
                                 (allowed == TArrayKind::Pixels ? " or an H x W x 3 or 4 array of uint8 (RGB or RGBA)" : "");
    const py::dtype dtype = array.dtype();
    const bool isBool = dtype.kind() == 'b';
    const bool isUint8 = dtype.kind() == 'u' && dtype.itemsize() == 1;
    if (!isBool && !isUint8)
        throw py::type_error(caller + "expected " + expected + ", got dtype " + dtype.attr("name").cast<std::string>());
    const bool mask = array.ndim() == 2;
    const bool pixels = allowed == TArrayKind::Pixels && isUint8 && array.ndim() == 3 &&
                        (array.shape(2) == 3 || array.shape(2) == 4);
    if (!mask && !pixels)
        throw py::value_error(caller + "expected " + expected + ", got " + dtype.attr("name").cast<std::string>() +
                              " of shape " + ShapeText(array));
    if (array.shape(0) == 0 || array.shape(1) == 0)
        throw py::value_error(caller + "the array of shape " + ShapeText(array) + " holds no pixel");
    if (array.shape(0) > INT_MAX || array.shape(1) > INT_MAX)
        throw py::value_error(caller + "the array of shape " + ShapeText(array) + " is too large");
    TStridedBytes view;
    view.First = static_cast<const uint8_t*>(array.data());
    view.Height = static_cast<int>(array.shape(0));
    view.Width = static_cast<int>(array.shape(1));
    view.RowStride = array.strides(0);
    view.ColumnStride = array.strides(1);
    if (pixels) {
        view.Channels = static_cast<int>(array.shape(2));
        view.ChannelStride = array.strides(2);
    }
    return view;
}
