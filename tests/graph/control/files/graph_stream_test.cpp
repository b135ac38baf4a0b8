#include "graph/control/files/graph_stream.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <array>
#include <functional>
#include <random>
#include <set>

#include "graph/control/zemplot.h"
#include "graph/stream/memory_stream.h"
#include "graph/control/files/section_layouts.h"
#include "tests/graph/control/files/changed_graph.h"
#include "tests/support/error_message.h"

namespace {

// Read from a stream when present, but never written.
const std::set<std::string> kUnstored = {"Appearance.ErrorCaption"};

std::vector<uint8_t> Saved(TZemplot& graph, bool includePoints = true)
{
    TMemoryStream stream;
    graph.SaveGraphToStream(stream, includePoints);
    const auto bytes = stream.Bytes();
    return {bytes.begin(), bytes.end()};
}

void Load(TZemplot& graph, std::vector<uint8_t> bytes)
{
    TMemoryStream stream(std::move(bytes));
    graph.LoadGraphFromStream(stream);
}

std::vector<int32_t> NumbersOf(const TZemplot& graph)
{
    std::vector<int32_t> numbers;
    for (const TSeries* series = graph.FirstSeries(); series != nullptr; series = series->Next())
        numbers.push_back(series->Number());
    return numbers;
}

// The bytes of a stream whose first string is `magic`, the rest taken from a
// default graph's stream.
std::vector<uint8_t> WithMagic(const std::string& magic)
{
    TZemplot graph;
    const std::vector<uint8_t> bytes = Saved(graph);
    std::string changed = "\x06" + std::string(1, static_cast<char>(magic.size())) + magic;
    changed.append(bytes.begin() + 11, bytes.end());
    return {changed.begin(), changed.end()};
}

// A default graph's stream with the counts given (any 32-bit number) and the series
// and marks blocks that the two functions write.
std::vector<uint8_t> StreamWithBlocks(int32_t seriesCount, const std::function<void(TxyWriter&)>& writeSeries,
                                      int32_t markCount, const std::function<void(TxyWriter&)>& writeMarks)
{
    TZemplot empty;
    std::vector<uint8_t> head = Saved(empty);
    head.resize(head.size() - 14); // the two counts of 0 and the extension length
    TMemoryStream stream(std::move(head));
    stream.Seek(stream.Size());
    {
        TxyWriter writer(stream);
        for (const int32_t count : {seriesCount, markCount}) {
            writer.WriteString("I");
            writer.WriteInteger(count);
        }
    }
    for (const auto& write : {writeSeries, writeMarks}) {
        TxyWriter writer(stream);
        write(writer);
    }
    const std::array<uint8_t, 4> noExtension{};
    stream.Write(noExtension.data(), noExtension.size());
    const auto bytes = stream.Bytes();
    return {bytes.begin(), bytes.end()};
}

// `count` series stored as briefly as the format allows (each section only its
// end, no points) under the series count `storedCount`.
std::vector<uint8_t> BriefSeriesStream(int32_t count, int32_t storedCount)
{
    return StreamWithBlocks(
        storedCount,
        [count](TxyWriter& writer) {
            for (int32_t i = 0; i < count; ++i) {
                writer.WriteEndOfSection();
                writer.WriteEndOfSection();
                writer.WritePointsHeader(0);
            }
        },
        0, [](TxyWriter&) {});
}

}  // namespace

TEST(GraphStream, AGraphSavedAndLoadedIsTheSameGraphWithItsSeriesRenumbered)
{
    TZemplot original;
    ChangeEverything(original);
    TZemplot copy;
    Load(copy, Saved(original));

    ExpectSameSettings(original, copy, kUnstored);
    ExpectSameSeriesAndMarks(original, copy);
    EXPECT_EQ(NumbersOf(copy), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(copy.Appearance().ErrorCaption(), TZemplot().Appearance().ErrorCaption())
        << "the error caption is never stored";
    EXPECT_TRUE(copy.Plotting());
    EXPECT_EQ(Saved(copy), Saved(original));
}

TEST(GraphStream, WithoutPointsTheSeriesComeBackEmpty)
{
    TZemplot original;
    ChangeEverything(original);
    TZemplot copy;
    Load(copy, Saved(original, false));
    EXPECT_FALSE(original.IncludePoints());
    ASSERT_EQ(NumbersOf(copy).size(), 3u);
    EXPECT_EQ(copy.FirstSeries()->Count(), 0);
    EXPECT_EQ(copy.FirstSeries()->SeriesName(), "series 0");
}

TEST(GraphStream, AnEmptyGraphIsTheSectionsTwoZeroCountsAndNoExtension)
{
    TZemplot graph;
    graph.NewSeries(4);
    graph.SetMark(1, 0, 0, 0, 0, 0, "", 0, false);
    TZemplot empty;
    const std::vector<uint8_t> bytes = Saved(empty);
    const std::vector<uint8_t> tail{6, 1, 'I', 2, 0, 6, 1, 'I', 2, 0, 0, 0, 0, 0};
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<std::ptrdiff_t>(tail.size())));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 11),
              (std::vector<uint8_t>{6, 9, 'q', 'v', 't', 'k', '0', '3', '.', '0', '1'}));

    Load(graph, bytes);
    EXPECT_EQ(graph.FirstSeries(), nullptr);
    EXPECT_TRUE(graph.Marks().empty());
}

TEST(GraphStream, TheMagicIsCheckedExactlyAndAnyVersionStartingWithZeroLoads)
{
    TZemplot graph;
    EXPECT_EQ(MessageOf([&] { Load(graph, WithMagic("QVTK03.01")); }), "Not a valid graph file");
    EXPECT_EQ(MessageOf([&] { Load(graph, WithMagic("qvt")); }), "Not a valid graph file");
    EXPECT_EQ(MessageOf([&] { Load(graph, WithMagic("qvtk13.01")); }), "Wrong Graph version");
    EXPECT_EQ(MessageOf([&] { Load(graph, WithMagic("qvtk")); }), "Wrong Graph version");
    EXPECT_EQ(MessageOf([&] { Load(graph, WithMagic("qvtk04.00")); }), "no error");
    EXPECT_TRUE(graph.Plotting());
}

TEST(GraphStream, TheExtensionIsSkippedAndWhatFollowsIsLeftUnread)
{
    TZemplot graph;
    std::vector<uint8_t> bytes = Saved(graph);
    bytes.resize(bytes.size() - 4);
    for (const uint8_t byte : {3, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0x42})
        bytes.push_back(byte);
    TMemoryStream stream(bytes);
    graph.LoadGraphFromStream(stream);
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(bytes.size()) - 1);
}

TEST(GraphStream, AssignCopiesAnotherGraphAndIgnoresAnythingElse)
{
    TZemplot source;
    ChangeEverything(source);
    TZemplot target;
    target.Assign(source);
    ExpectSameSettings(source, target, kUnstored);
    ExpectSameSeriesAndMarks(source, target);

    TZemplot untouched;
    const std::vector<uint8_t> before = Saved(untouched);
    QWidget widget;
    untouched.Assign(widget);
    EXPECT_EQ(Saved(untouched), before);
}

// Numbers in the named style are texts of 15 digits, so what is read back is what
// the texts say: saved again, it gives the same texts.
TEST(GraphStream, TheNamedStyleReadsBackWhatItWrote)
{
    TZemplot original;
    ChangeEverything(original);
    const auto savedNamed = [](TZemplot& graph) {
        SetCompactValues(false);
        try {
            std::vector<uint8_t> bytes = Saved(graph);
            SetCompactValues(true);
            return bytes;
        } catch (...) {
            SetCompactValues(true);
            throw;
        }
    };
    const std::vector<uint8_t> named = savedNamed(original);
    EXPECT_NE(named, Saved(original));
    TZemplot copy;
    Load(copy, named);
    EXPECT_EQ(savedNamed(copy), named);
    EXPECT_EQ(copy.Dimensions().BottomMargin(), original.Dimensions().BottomMargin());
    EXPECT_EQ(copy.Appearance().GraphTitle(), original.Appearance().GraphTitle());
    EXPECT_EQ(copy.Marks().size(), 4u);
    EXPECT_EQ(copy.FirstSeries()->Count(), original.FirstSeries()->Count());
}

TEST(SectionLayouts, FieldsApplyInStreamOrder)
{
    const auto axisAfter = [](const std::function<void(TxyWriter&)>& fields) {
        TMemoryStream stream;
        {
            TxyWriter writer(stream);
            fields(writer);
            writer.WriteEndOfSection();
        }
        stream.Seek(0);
        TZemplot graph;
        TxyReader reader(stream);
        ReadAxisSection(reader, graph.XAxis());
        return graph.XAxis().AutoSizing();
    };
    EXPECT_TRUE(axisAfter([](TxyWriter& writer) {
        writer.WriteTaggedFloat(6, "Max", 10);
        writer.WriteTaggedFloat(7, "Min", 0);
        writer.WriteTaggedBoolean(18, "AllowAutoSize", true);
    }));
    EXPECT_FALSE(axisAfter([](TxyWriter& writer) {
        writer.WriteTaggedBoolean(18, "AllowAutoSize", true);
        writer.WriteTaggedFloat(6, "Max", 10);
        writer.WriteTaggedFloat(7, "Min", 0);
    }));
}

TEST(SectionLayouts, TheErrorCaptionAndTheSecondAxisAreReadWhenPresent)
{
    TZemplot graph;
    TMemoryStream stream;
    {
        TxyWriter writer(stream);
        writer.WriteTaggedString(99, "Section", "Appearance");
        writer.WriteTaggedString(6, "", "no scale");
        writer.WriteEndOfSection();
        writer.WriteTaggedBoolean(11, "FirstAxis", false);
        writer.WriteEndOfSection();
        writer.WriteEndOfSection(); // the data section, empty
        writer.WritePointsHeader(2);
        writer.WritePointPair(1, 10);
        writer.WritePointPair(2, 20);
    }
    stream.Seek(0);
    TxyReader reader(stream);
    ReadAppearanceSection(reader, graph.Appearance());
    TSeries& series = graph.NewSeries(1);
    ReadSeriesSection(reader, series);
    EXPECT_EQ(graph.Appearance().ErrorCaption(), "no scale");
    EXPECT_EQ(&series.Axis(), &graph.YAxis_Second());
    EXPECT_EQ(series.Count(), 2);
}

// Streams cut short or with bytes changed at random must fail with one of the
// stream's own messages, never crash, and always give Plotting back.
TEST(GraphStream, DamagedStreamsFailCleanlyAndLeavePlottingOn)
{
    TZemplot original;
    ChangeEverything(original);
    const std::vector<uint8_t> good = Saved(original);
    const std::set<std::string> messages = {
        "Not a valid graph file", "Wrong Graph version", "Stream read error", "Invalid property value",
        "reading error 1", "reading error 2", "conversion error", "Stream read Error", "Stream Read Error",
    };
    const auto conversion = [](const std::string& message) {
        return message.starts_with('\'') && (message.ends_with("' is not a valid integer value")
                                             || message.ends_with("' is not a valid floating point value"));
    };
    std::mt19937 random(20261208);
    TZemplot graph;
    int failures = 0;
    for (int round = 0; round < 1500; ++round) {
        std::vector<uint8_t> bytes = good;
        if (round % 3 == 0) {
            bytes.resize(random() % bytes.size());
        } else {
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        }
        const std::string message = MessageOf([&] { Load(graph, bytes); });
        if (message != "no error") {
            ++failures;
            EXPECT_TRUE(messages.contains(message) || conversion(message))
                << "round " << round << ": " << message;
        }
        ASSERT_TRUE(graph.Plotting()) << "round " << round;
    }
    EXPECT_GT(failures, 500);
}

// Series are linked in as they are read, each behind the last, so that the largest
// count a stream can hold loads in time linear in it; the stored order is kept.
TEST(GraphStream, TheMostSeriesAStreamCanCountComeBackNumberedInOrder)
{
    constexpr int32_t kMost = 65535;
    TZemplot graph;
    Load(graph, BriefSeriesStream(kMost, kMost));
    const std::vector<int32_t> numbers = NumbersOf(graph);
    ASSERT_EQ(numbers.size(), static_cast<std::size_t>(kMost));
    for (int32_t i = 0; i < kMost; ++i)
        ASSERT_EQ(numbers[static_cast<std::size_t>(i)], i + 1);
    EXPECT_EQ(graph.Series(kMost).SeriesName(), "Series 65535");
}

// A count no writer stores, or more series than the bytes left can hold, is a
// damaged stream, refused before any series is made.
TEST(GraphStream, ASeriesCountTheStreamCannotHoldIsRefusedBeforeAnySeriesIsMade)
{
    for (const auto& [series, count] : {std::pair{1000, 65535}, {3, -1}, {3, 65536}, {0, 1}}) {
        TZemplot graph;
        graph.NewSeries(7);
        EXPECT_EQ(MessageOf([&] { Load(graph, BriefSeriesStream(series, count)); }), "Stream read error") << count;
        EXPECT_EQ(graph.FirstSeries(), nullptr) << count;
        EXPECT_TRUE(graph.Plotting());
    }
}

// However the stored IDs run (falling, repeated), the loaded marks are what
// SetMark one after another leaves: in ID order, the last of each ID kept.
TEST(GraphStream, StoredMarksComeBackAsSetMarkOneAfterAnotherWouldLeaveThem)
{
    std::mt19937 random(7);
    std::vector<TZemplotMark> stored;
    for (int32_t i = 0; i < 3000; ++i) {
        const int32_t id = i < 1500 ? 5000 - i : static_cast<int32_t>(random() % 4000);
        stored.push_back({id, i * 0.5, -i * 1.0, 0, 0, static_cast<TColor>(i), "mark " + std::to_string(i),
                          static_cast<uint8_t>(i % 4), i % 2 == 0});
    }
    TZemplot expected;
    expected.SetPlotting(false);
    for (const TZemplotMark& m : stored)
        expected.SetMark(m.ID, m.X1Value, m.Y1Value, m.X2Value, m.Y2Value, m.Color, m.Caption, m.TypeOfMark,
                         m.WhenDrawn);
    ASSERT_LT(expected.Marks().size(), stored.size());

    TZemplot graph;
    graph.SetMark(4500, 0, 0, 0, 0, 0, "cleared by the load", 0, false);
    Load(graph, StreamWithBlocks(0, [](TxyWriter&) {}, static_cast<int32_t>(stored.size()), [&](TxyWriter& writer) {
        for (const TZemplotMark& mark : stored)
            WriteMarkSection(writer, mark);
    }));
    EXPECT_EQ(graph.Marks(), expected.Marks());
}
