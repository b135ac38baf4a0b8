#include "graph/persist/graph_stream.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <random>
#include <set>

#include "graph/control/zemplot.h"
#include "graph/persist/memory_stream.h"
#include "graph/persist/section_layouts.h"
#include "tests/graph/persist/changed_graph.h"
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
