#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include "graph/control/zemplot.h"
#include "graph/control/files/form_description.h"
#include "tests/support/error_message.h"

namespace {

// Calls visit(prefix, Published() list, the object of each graph) for each
// settings object.
template <typename TVisit, typename... TGraph>
void ForEachObject(TVisit visit, TGraph&... graphs)
{
    visit("XAxis.", TAxis::Published(), graphs.XAxis()...);
    visit("YAxis.", TAxis::Published(), graphs.YAxis()...);
    visit("YAxis_Second.", TAxis::Published(), graphs.YAxis_Second()...);
    visit("Dimensions.", TDimensions::Published(), graphs.Dimensions()...);
    visit("Appearance.", TAppearance::Published(), graphs.Appearance()...);
    visit("Legend.", TLegend::Published(), graphs.Legend()...);
}

// Gives every published property a value unlike both a new graph's and its declared
// default; the steps differ from property to property, so that two properties read
// into each other's places do not come out equal. A boolean whose reset value is
// already not its default keeps it.
void ChangeEverySetting(TZemplot& graph)
{
    int step = 0;
    ForEachObject([&](const std::string&, const auto& properties, auto& object) {
        for (const auto& property : properties) {
            ++step;
            TPublishedValue value = property.Get(object);
            if (auto* flag = std::get_if<bool>(&value); flag && !(property.Default == TPublishedValue{!*flag}))
                *flag = !*flag;
            else if (auto* number = std::get_if<int64_t>(&value))
                *number = property.Kind == TPublishedKind::Enumeration
                              ? (*number + 1) % static_cast<int64_t>(property.EnumNames.size())
                              : *number + 3 + 2 * (step % 3); // LogCycleDivisions 2 -> 5, 7 or 9
            else if (auto* real = std::get_if<double>(&value))
                *real += 1.5 + 0.25 * step;
            else if (auto* text = std::get_if<std::string>(&value))
                *text += " " + std::to_string(step);
            else if (auto* font = std::get_if<TFontAttributes>(&value))
                *font = {"Courier New " + std::to_string(step), -13 - step, 0x123456u + step,
                         fsBold | fsItalic | fsUnderline | fsStrikeOut};
            property.Set(object, value);
        }
    }, graph);
    graph.Legend().Setcolor(0x80000005); // above the largest 32-bit signed integer
}

void ExpectSameSettings(const TZemplot& read, const TZemplot& original)
{
    ForEachObject([](const std::string& prefix, const auto& properties, const auto& got, const auto& expected) {
        for (const auto& property : properties)
            EXPECT_EQ(property.Get(got), property.Get(expected)) << prefix << property.Name;
    }, read, original);
}

std::string EntryOf(TZemplot& graph)
{
    TMemoryStream stream;
    {
        TValueWriter writer(stream);
        WriteGraphEntry(writer, graph);
    }
    return {stream.Bytes().begin(), stream.Bytes().end()};
}

void ReadEntry(const std::string& bytes, TZemplot& graph)
{
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TValueReader reader(stream);
    ReadGraphEntry(reader, graph);
}

// A name as a short string: its length, then the text.
std::string Name(const std::string& name)
{
    return static_cast<char>(name.size()) + name;
}

}  // namespace

// What the entry keeps besides the settings objects.
auto OwnProperties(const TZemplot& graph)
{
    return std::tuple(graph.objectName(), graph.geometry(), graph.DragAllowed(), graph.Align(), graph.BevelInner(),
                      graph.BevelOuter(), graph.BevelWidth(), graph.BorderStyle(), graph.BorderWidth(), graph.Plotting());
}

TEST(FormDescriptionTest, AGraphWithEverySettingChangedComesBackWhole)
{
    TZemplot original;
    original.SetPlotting(false);
    original.setObjectName("Graph1");
    original.setGeometry(12, 34, 321, 234);
    original.SetDragAllowed(false);
    original.SetAlign(alClient);
    original.SetBevelInner(bvLowered);
    original.SetBevelOuter(bvSpace);
    original.SetBevelWidth(3);
    original.SetBorderStyle(bsNone);
    original.SetBorderWidth(2);
    ChangeEverySetting(original);
    // Each is written, and the read cannot pass by keeping a new graph's value.
    TZemplot read;
    ForEachObject([](const std::string& prefix, const auto& properties, const auto& changed, const auto& reset) {
        for (const auto& property : properties) {
            EXPECT_FALSE(property.Default == property.Get(changed)) << prefix << property.Name;
            if (!property.Default || property.Default == property.Get(reset)) {
                EXPECT_FALSE(property.Get(changed) == property.Get(reset)) << prefix << property.Name;
            }
        }
    }, original, read);

    ReadEntry(EntryOf(original), read);
    ExpectSameSettings(read, original);
    EXPECT_EQ(OwnProperties(read), OwnProperties(original));
}

// Apart from the changed settings: the paint at the end of the read sizes the
// automatically sized axes to the points from wherever they stand.
TEST(FormDescriptionTest, SeriesAndMarksComeBackNumberedFromOne)
{
    TZemplot original;
    original.Series(3).SetSeriesName("first");
    original.Series(3).AddPoint(1.0, 2.0);
    original.Series(3).AddPoint(2.5, -4.0);
    original.Series(8).AddPoint(0.5, 7.0);
    original.Series(8).SetLineColor(0x00FF00);
    original.SetMark(2, 1.0, 2.0, 0, 0, clRed, "", kMarkVerticalLine, false);
    original.SetMark(5, 1.5, 0.5, 6.0, 0, clBlack, "box", kMarkBox, true);
    original.SetMark(9, 0.0, 0.0, 2.0, 3.0, clGreen, "line", kMarkLine, false);

    TZemplot read;
    ReadEntry(EntryOf(original), read);
    std::vector<std::tuple<int32_t, std::string, double, TColor>> series; // number, name, last y, colour
    for (const TSeries* each = read.FirstSeries(); each != nullptr; each = each->Next())
        series.emplace_back(each->Number(), each->SeriesName(), each->Points().back().Y, each->LineColor());
    EXPECT_EQ(series, (decltype(series){{1, "first", -4.0, original.Series(3).LineColor()}, {2, "Series 8", 7.0, 0x00FF00}}));
    EXPECT_EQ(read.Marks(), original.Marks());
}

TEST(FormDescriptionTest, ADefaultGraphLeavesOutWhatIsAtItsDeclaredDefault)
{
    TZemplot graph;
    const std::string bytes = EntryOf(graph);
    const auto has = [&](const std::string& name) { return bytes.find(Name(name)) != std::string::npos; };
    EXPECT_EQ(bytes.substr(0, 10), Name("TZemplot") + Name(""));
    for (const char* absent : {"Dimensions.BottomMargin", "DragAllowed", "BevelWidth", "SeriesInfo", "MarksInfo"})
        EXPECT_FALSE(has(absent)) << absent;
    // CrossAtZero is reset true but declared false, so it is stored.
    for (const char* present : {"Appearance.CrossAtZero", "Legend.font.Style", "Plotting", "SeriesCount"})
        EXPECT_TRUE(has(present)) << present;
    EXPECT_TRUE(bytes.ends_with(Name("MarkCount") + "\x06\x01I\x02" + std::string(2, '\0')));
}

TEST(FormDescriptionTest, ReadingRefusesWhatTheGraphCannotHold)
{
    const std::string countOfZero("\x06\x01I\x02\x00", 5);
    const std::string emptyBlock("\x0A\x00\x00\x00\x00", 5);
    const std::pair<std::string, std::string> cases[] = {
        {Name("SeriesCount") + countOfZero + Name("SeriesInfo") + emptyBlock, "internal filing error: TZemplot"},
        {Name("MarkCount") + countOfZero + Name("MarksInfo") + emptyBlock, "internal filing error2: TZemplot"},
        // More series than the block's bytes can hold, and a count no writer stores.
        {Name("SeriesCount") + "\x06\x01I\x02\x02" + Name("SeriesInfo") + std::string("\x0A\x19\x00\x00\x00", 5)
             + std::string(25, '\x06'),
         "Stream read error"},
        {Name("MarkCount") + "\x06\x01S\x06\x05" + "65536", "Stream read error"},
        {Name("Appearance.Colour") + "\x02\x01", "Property Appearance.Colour does not exist"},
        {Name("Appearance.TitleFont.Size") + "\x02\x01", "Property Appearance.TitleFont.Size does not exist"},
        {Name("DragAllowed") + "\x02\x01", "Invalid property value"},
        {Name("Align") + "\x07\x0A" + "alSideways", "Invalid property value"},
        {Name("Legend.font.Style") + "\x0B" + Name("fsShadow") + '\0', "Invalid property value"},
    };
    for (const auto& [records, message] : cases) {
        TZemplot graph;
        // Plotting comes first, so it is the stored value that is set despite the error.
        const std::string entry = Name("TZemplot") + Name("G") + Name("Plotting") + "\x08" + records + '\0';
        EXPECT_EQ(MessageOf([&] { ReadEntry(entry, graph); }), message);
        EXPECT_FALSE(graph.Plotting()) << message;
    }
}

// The control paints into an image of its size: a stored side beyond 8192 pixels is
// brought down to 8192, anything up to it kept.
TEST(FormDescriptionTest, AStoredSideAbove8192PixelsIsReadAs8192)
{
    const auto record = [](const std::string& name, int32_t value) {
        TMemoryStream stream;
        TValueWriter(stream).WriteInteger(value);
        return Name(name) + std::string(stream.Bytes().begin(), stream.Bytes().end());
    };
    for (const int32_t side : {777, 8192, 8193, 30000, 2147483647}) {
        TZemplot wide;
        TZemplot tall;
        ReadEntry(Name("TZemplot") + Name("G") + record("Height", 50) + record("Width", side) + '\0', wide);
        ReadEntry(Name("TZemplot") + Name("G") + record("Width", 50) + record("Height", side) + '\0', tall);
        EXPECT_EQ(wide.size(), QSize(std::min(side, 8192), 50)) << side;
        EXPECT_EQ(tall.size(), QSize(50, std::min(side, 8192))) << side;
    }
}
