#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "graph/stream/tagged_stream.h"
#include "tests/support/error_message.h"

namespace {

using TBytes = std::vector<uint8_t>;
using TValue = std::variant<std::string, int32_t, double, bool>;

// A stream of plain values, for what TxyWriter never writes itself.
TMemoryStream Values(const std::vector<TValue>& values)
{
    TMemoryStream stream;
    {
        TValueWriter w(stream);
        for (const TValue& value : values)
            std::visit([&w](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string>) w.WriteString(v);
                else if constexpr (std::is_same_v<T, int32_t>) w.WriteInteger(v);
                else if constexpr (std::is_same_v<T, double>) w.WriteFloat(v);
                else w.WriteBoolean(v);
            }, value);
    }
    stream.Seek(0);
    return stream;
}

TBytes BytesOf(const std::vector<TValue>& values)
{
    const TMemoryStream stream = Values(values);
    return {stream.Bytes().begin(), stream.Bytes().end()};
}

TBytes Written(const std::function<void(TxyWriter&)>& write)
{
    TMemoryStream stream;
    {
        TxyWriter writer(stream);
        write(writer);
    }
    return {stream.Bytes().begin(), stream.Bytes().end()};
}

// Each test leaves the process-wide settings as it found them.
class TaggedStream : public testing::Test {
protected:
    void TearDown() override
    {
        SetCompactValues(true);
        SetStreamDecimalSeparator(".");
    }
};

TEST_F(TaggedStream, CompactTagsByteForByte)
{
    EXPECT_TRUE(CompactValues());
    EXPECT_EQ(Written([](TxyWriter& w) { w.WriteTaggedBoolean(1, "AxesVisible", true); }),
              (TBytes{0x06, 0x03, 0x20, 0x31, 0x42, 0x09}));
    EXPECT_EQ(Written([](TxyWriter& w) { w.WriteTaggedInteger(5, "Width", 32768); }),
              (TBytes{0x06, 0x03, 0x20, 0x35, 0x49, 0x04, 0x00, 0x80, 0x00, 0x00}));
    EXPECT_EQ(Written([](TxyWriter& w) {
                  w.WriteTaggedFloat(12, "Offset", 0.05);
                  w.WriteTaggedFont(7, "Font", {"Arial", 9, 0xFF, true});
                  w.WriteEndOfSection();
              }),
              BytesOf({"12D", 0.05, " 7F", "Arial", 9, 0xFF, true, false, false, false, " 0B", false}));

    for (const bool compact : {true, false}) {
        SetCompactValues(compact);
        TMemoryStream stream;
        TxyWriter writer(stream, 1);
        EXPECT_EQ(MessageOf([&] { writer.WriteTaggedInteger(100, "Key", 1); }),
                  "illegal call in savetofile");
        EXPECT_EQ(MessageOf([&] { writer.WriteTaggedFont(-10, "Key", {}); }),
                  "illegal call in savetofile");
        EXPECT_EQ(stream.Size(), 0);
    }
}

TEST_F(TaggedStream, NamedStyleWritesKeysAndTextsThatReadBack)
{
    SetCompactValues(false);
    const TFontRecord font{"Courier New", 12, 0x123456, false, true, false, true};
    TMemoryStream stream;
    {
        TxyWriter w(stream);
        w.WriteTaggedFloat(1, "BottomMargin", 0.05);
        w.WriteTaggedInteger(10, "GraphTitleOffset", -40);
        w.WriteTaggedBoolean(3, "Visible", true);
        w.WriteTaggedFont(4, "TitleFont", font);
        w.WriteEndOfSection();
    }
    EXPECT_EQ(TBytes(stream.Bytes().begin(), stream.Bytes().end()),
              BytesOf({"BottomMargin 1S", "0.05", "GraphTitleOffset10S", "-40", "Visible 3S", "true",
                       "TitleFont 4F", "Courier New", 12, 0x123456, false, true, false, true,
                       "EndOfSection 0S", "false"}));

    SetCompactValues(true); // readers take either style, whatever the switch says
    stream.Seek(0);
    TxyReader r(stream);
    EXPECT_EQ(r.ReadTag(), 1);
    EXPECT_EQ(r.ReadAsFloat(), 0.05);
    EXPECT_EQ(r.ReadTag(), 10);
    EXPECT_EQ(r.ReadAsInteger(), -40);
    EXPECT_EQ(r.ReadTag(), 3);
    EXPECT_TRUE(r.ReadAsBoolean());
    EXPECT_EQ(r.ReadTag(), 4);
    TFontRecord read{"old", 1, 1, true, false, true, false};
    r.ReadFont(read);
    EXPECT_EQ(read, font);
    EXPECT_EQ(r.ReadTag(), 0);
    EXPECT_EQ(MessageOf([&] { r.NextValue(); }), "Stream read error"); // "false" was taken too
}

// One text serves named-style floats, text points and "D" values read as text, and
// it reads back as the number it shows.
TEST_F(TaggedStream, FloatsAsTextInTheGeneralFormat)
{
    const double max = std::numeric_limits<double>::max();
    const struct {
        double Value;
        const char* Text;
    } cases[] = {
        {0.05, "0.05"}, {0, "0"}, {-2.5, "-2.5"}, {1.0 / 3, "0.333333333333333"},
        {-2.0 / 3, "-0.666666666666667"}, {0.00001, "0.00001"}, {0.000001, "1E-6"},
        {1.5e-7, "1.5E-7"}, {1e14, "100000000000000"}, {999999999999999.9, "1E+15"},
        {1e20, "1E+20"}, {-1.2345678901234567e-300, "-1.23456789012346E-300"},
        {4.9406564584124654e-324, "4.94065645841247E-324"}, {-max, "-1.79769313486232E+308"},
        {HUGE_VAL, "INF"}, {-HUGE_VAL, "-INF"},
    };
    for (const auto& c : cases) {
        TMemoryStream stream;
        {
            TxyWriter w(stream);
            w.WriteTaggedFloat(1, "", c.Value);
            SetCompactValues(false);
            w.WriteTaggedFloat(2, "", c.Value);
            SetCompactValues(true);
        }
        stream.Seek(0);
        TxyReader r(stream);
        r.ReadTag();
        EXPECT_EQ(r.ReadAsString(), c.Text);
        r.ReadTag();
        EXPECT_EQ(r.ReadAsFloat(), c.Value == -max ? -max : std::strtod(c.Text, nullptr)) << c.Text;
        // The named text is the last value: 6, its length, then the text.
        stream.Seek(stream.Size() - static_cast<int64_t>(std::string(c.Text).size()) - 2);
        EXPECT_EQ(TValueReader(stream).ReadString(), c.Text);
    }
    SetCompactValues(false);
    EXPECT_EQ(Written([](TxyWriter& w) { w.WriteTaggedFloat(1, "", std::nan("")); }),
              BytesOf({" 1S", "NAN"}));

    SetStreamDecimalSeparator(",");
    EXPECT_EQ(Written([](TxyWriter& w) { w.WriteTaggedFloat(1, "", -1.25e-9); }),
              BytesOf({" 1S", "-1,25E-9"}));
    TMemoryStream stream = Values({" 1S", "0,75", " 2S", "0.75"});
    TxyReader r(stream);
    r.ReadTag();
    EXPECT_EQ(r.ReadAsFloat(), 0.75);
    r.ReadTag();
    EXPECT_EQ(MessageOf([&] { r.ReadAsFloat(); }), "'0.75' is not a valid floating point value");
}

std::string AsString(TxyReader& r) { return r.ReadAsString(); }
std::string AsInteger(TxyReader& r) { return std::to_string(r.ReadAsInteger()); }
std::string AsBoolean(TxyReader& r) { return r.ReadAsBoolean() ? "true" : "false"; }
std::string Skip(TxyReader& r) { r.SkipValue(); return "skipped"; }
std::string AsFloat(TxyReader& r)
{
    std::ostringstream text;
    text << r.ReadAsFloat();
    return text.str();
}

// Each value is followed by field 2 holding 9, to show it was taken whole.
TEST_F(TaggedStream, ConvertsByTheTagLetter)
{
    const struct {
        const char* Tag;
        TValue Value;
        std::string (*Read)(TxyReader&);
        const char* Expected;
    } cases[] = {
        {" 1B", true, AsString, "true"},     {" 1B", true, AsInteger, "1"},
        {" 1B", false, AsFloat, "0"},        {" 1D", 0.05, AsString, "0.05"},
        {" 1D", 2.9, AsInteger, "2"},        {" 1D", -2.9, AsInteger, "-2"},
        {" 1D", 1.0, AsBoolean, "false"},    {" 1D", 300, AsFloat, "300"},
        {" 1D", -7, AsInteger, "-7"},        {" 1I", -70000, AsString, "-70000"},
        {" 1I", 12, AsFloat, "12"},          {" 1I", 2, AsBoolean, "false"},
        {" 1I", 1, AsBoolean, "true"},       {" 1S", "40", AsInteger, "40"},
        {" 1S", "-2147483648", AsInteger, "-2147483648"},
        {" 1S", "True", AsBoolean, "false"}, {" 1S", "true", AsBoolean, "true"},
        {" 1S", "-.5E+1", AsFloat, "-5"},    {" 1S", "7.", AsFloat, "7"},
        {" 1S", "1e-400", AsFloat, "0"},     {"AnyKey 1S", "key", AsString, "key"},
        {"50F", "Symbol", Skip, "skipped"},  // the rest of the font record follows
    };
    for (const auto& c : cases) {
        std::vector<TValue> values = {c.Tag, c.Value};
        if (std::string(c.Tag) == "50F")
            values.insert(values.end(), {8, 0xFF00FF, true, true, true, true});
        values.insert(values.end(), {" 2I", 9});
        TMemoryStream stream = Values(values);
        TxyReader r(stream, 3);
        const int32_t number = r.ReadTag();
        EXPECT_EQ(c.Read(r), c.Expected) << c.Tag;
        EXPECT_EQ(number, std::atoi(c.Tag + std::string(c.Tag).size() - 3));
        ASSERT_EQ(r.ReadTag(), 2) << c.Tag << " " << c.Expected;
        EXPECT_EQ(r.ReadAsInteger(), 9);
    }
}

TEST_F(TaggedStream, ReportsWhatCannotBeRead)
{
    const struct {
        std::vector<TValue> Values;
        std::string (*Read)(TxyReader&);
        const char* Message;
    } cases[] = {
        {{" 1S", "4O"}, AsInteger, "'4O' is not a valid integer value"},
        {{" 1S", " 40"}, AsInteger, "' 40' is not a valid integer value"},
        {{" 1S", "2147483648"}, AsInteger, "'2147483648' is not a valid integer value"},
        {{" 1S", "abc"}, AsFloat, "'abc' is not a valid floating point value"},
        {{" 1S", "1e"}, AsFloat, "'1e' is not a valid floating point value"},
        {{" 1S", "1.2.3"}, AsFloat, "'1.2.3' is not a valid floating point value"},
        {{" 1S", "1E400"}, AsFloat, "'1E400' is not a valid floating point value"},
        {{" 1D", 3e9}, AsInteger, "conversion error"},
        {{" 1F", "x"}, AsString, "conversion error"},
        {{" 1F", "x"}, AsBoolean, "conversion error"},
        {{" 1X", "x"}, AsInteger, "conversion error"},
        {{" 1X", "x"}, AsFloat, "conversion error"},
        {{" 1X", "x"}, Skip, "conversion error"},
        {{" 1I", 0}, [](TxyReader& r) { TFontRecord f; r.ReadFont(f); return std::string(); },
         "conversion error"},
        {{" 1I", "5"}, AsInteger, "Invalid property value"},
        {{"X5I", 1}, AsInteger, "'X5' is not a valid integer value"},
        {{"5I", 1}, AsInteger, "'5I' is not a valid integer value"},
        {{}, AsInteger, "Stream read error"},
        {{" 1S"}, AsInteger, "Stream read error"},
    };
    for (const auto& c : cases) {
        TMemoryStream stream = Values(c.Values);
        TxyReader r(stream);
        EXPECT_EQ(MessageOf([&] {
                      r.ReadTag();
                      c.Read(r);
                  }),
                  c.Message);
    }
}

TEST_F(TaggedStream, KeepsTagsAndValuesInStep)
{
    TMemoryStream stream = Values({" 1I", 5, " 2I", 6});
    TxyReader r(stream);
    EXPECT_EQ(MessageOf([&] { r.ReadAsInteger(); }), "reading error 2");
    EXPECT_EQ(MessageOf([&] { r.SkipValue(); }), "reading error 2");
    EXPECT_EQ(r.ReadTag(), 1);
    EXPECT_EQ(MessageOf([&] { r.ReadTag(); }), "reading error 1");
    EXPECT_EQ(r.ReadAsInteger(), 5);
    EXPECT_EQ(MessageOf([&] { r.ReadAsInteger(); }), "reading error 2");
    EXPECT_EQ(r.ReadTag(), 2);
}

TEST_F(TaggedStream, PointsBlocks)
{
    for (const bool compact : {true, false}) {
        SetCompactValues(compact);
        TMemoryStream stream;
        {
            TxyWriter w(stream);
            w.WritePointsHeader(2);
            w.WritePointPair(-1.5, 0.05);
            w.WritePointPair(2, 1e20);
            w.WritePointsHeader(0);
        }
        const std::vector<TValue> expected =
            compact ? std::vector<TValue>{" 1I", 2, " 2I", 2, "D", -1.5, 0.05, 2.0, 1e20,
                                          " 1I", 0, " 2I", 2, "D"}
                    : std::vector<TValue>{"NumberOfPoints 1S", "2", "EntriesPerPoint 2S", "2", "S",
                                          "-1.5", "0.05", "2", "1E+20", "NumberOfPoints 1S", "0",
                                          "EntriesPerPoint 2S", "2", "S"};
        EXPECT_EQ(TBytes(stream.Bytes().begin(), stream.Bytes().end()), BytesOf(expected));
    }

    // A third entry per point is a string in either encoding, and is read past; under
    // "D" a number there is read past too.
    for (const auto& [asFloats, thirdAsNumber] : {std::pair{true, false}, {true, true}, {false, false}}) {
        std::vector<TValue> values = {" 1I", 2, " 2S", "3", asFloats ? "D" : "text"};
        for (const double value : {1.0, 2.0, 99.0, 3.0, 4.0, 99.0}) {
            const bool third = value == 99.0;
            values.push_back(asFloats && !(third && !thirdAsNumber) ? TValue(value) : TValue(std::to_string(value)));
        }
        values.push_back("end");
        TMemoryStream stream = Values(values);
        TxyReader r(stream, 1);
        ASSERT_EQ(r.ReadPointsHeader(), 2);
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        r.ReadPointPair(x1, y1);
        r.ReadPointPair(x2, y2);
        EXPECT_EQ((std::vector<double>{x1, y1, x2, y2}), (std::vector<double>{1, 2, 3, 4}));
        EXPECT_EQ(r.ReadString(), "end");
    }

    TMemoryStream firstWrong = Values({" 2I", 2});
    EXPECT_EQ(MessageOf([&] { TxyReader(firstWrong).ReadPointsHeader(); }), "Stream read Error");
    TMemoryStream secondWrong = Values({" 1I", 5, " 3I", 2});
    EXPECT_EQ(MessageOf([&] { TxyReader(secondWrong).ReadPointsHeader(); }), "Stream Read Error");
}

} // namespace
