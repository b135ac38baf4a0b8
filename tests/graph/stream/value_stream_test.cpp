#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "graph/stream/value_reader.h"
#include "graph/stream/value_writer.h"
#include "tests/support/error_message.h"

namespace {

using TBytes = std::vector<uint8_t>;

TBytes Written(const std::function<void(TValueWriter&)>& write, std::size_t bufferSize = 4096)
{
    TMemoryStream stream;
    {
        TValueWriter writer(stream, bufferSize);
        write(writer);
    }
    return {stream.Bytes().begin(), stream.Bytes().end()};
}

TBytes Join(TBytes head, const std::string& text)
{
    head.insert(head.end(), text.begin(), text.end());
    return head;
}

TEST(ValueStream, WritesTheSmallestTypeByteForByte)
{
    const struct {
        int32_t Value;
        TBytes Bytes;
    } integers[] = {
        {-128, {2, 0x80}},        {127, {2, 0x7F}},
        {-129, {3, 0x7F, 0xFF}},  {128, {3, 0x80, 0x00}},
        {-32768, {3, 0x00, 0x80}}, {-32769, {4, 0xFF, 0x7F, 0xFF, 0xFF}},
        {32768, {4, 0x00, 0x80, 0x00, 0x00}},
    };
    for (const auto& c : integers) {
        EXPECT_EQ(Written([&](TValueWriter& w) { w.WriteInteger(c.Value); }), c.Bytes) << c.Value;
        TMemoryStream stream(c.Bytes);
        EXPECT_EQ(TValueReader(stream).ReadInteger(), c.Value);
        EXPECT_EQ(stream.Position(), stream.Size());
    }
    const std::string text255(255, 'a'), text256(256, 'b');
    EXPECT_EQ(Written([&](TValueWriter& w) { w.WriteString(text255); }), Join({6, 0xFF}, text255));
    EXPECT_EQ(Written([&](TValueWriter& w) { w.WriteString(text256); }),
              Join({12, 0x00, 0x01, 0x00, 0x00}, text256));
    EXPECT_EQ(Written([](TValueWriter& w) { w.WriteFloat(0.05); }),
              (TBytes{5, 0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFA, 0x3F}));
}

// Whatever the buffer sizes on either side, everything written comes back.
TEST(ValueStream, AllKindsRoundTrip)
{
    const std::string longText(300, 'x');
    const TBytes binary = {1, 2, 0, 255};
    const std::string_view members[] = {"fsBold", "fsItalic"};
    for (const std::size_t writeBuffer : {0, 1, 3, 4096}) {
        TMemoryStream stream;
        {
            TValueWriter w(stream, writeBuffer);
            w.WriteInteger(-70000);
            w.WriteFloat(-1.5e300);
            w.WriteString(longText);
            w.WriteBoolean(true);
            w.WriteBinary(binary);
            w.WriteIdent("psDot");
            w.WriteSet(members);
            w.WriteShortString("Name");
            w.WriteInteger(12);
            w.WriteListEnd();
        }
        for (const std::size_t readBuffer : {0, 1, 3, 4096}) {
            stream.Seek(0);
            TValueReader r(stream, readBuffer);
            EXPECT_EQ(r.NextValue(), vaInt32);
            EXPECT_EQ(r.ReadInteger(), -70000);
            EXPECT_EQ(r.ReadFloat(), -1.5e300);
            EXPECT_EQ(r.ReadString(), longText);
            EXPECT_TRUE(r.ReadBoolean());
            EXPECT_EQ(r.ReadBinary(), binary);
            EXPECT_EQ(r.ReadIdent(), "psDot");
            EXPECT_EQ(r.ReadSet(), (std::vector<std::string>{"fsBold", "fsItalic"}));
            EXPECT_EQ(r.ReadShortString(), "Name");
            EXPECT_FALSE(r.EndOfList());
            EXPECT_EQ(r.ReadFloat(), 12.0); // an integer stands in for a float
            EXPECT_TRUE(r.EndOfList());
            EXPECT_EQ(MessageOf([&] { r.NextValue(); }), "Stream read error");
        }
        stream.Seek(0);
        TValueReader skipping(stream, 2);
        for (int i = 0; i < 10; ++i)
            skipping.SkipNextValue();
        EXPECT_EQ(stream.Position(), stream.Size());
    }
}

TEST(ValueStream, RefusesWrongTypesAndShortStreams)
{
    TMemoryStream stream(TBytes{6, 1, '7', 2, 9, 1});
    TValueReader reader(stream);
    EXPECT_EQ(MessageOf([&] { reader.ReadInteger(); }), "Invalid property value");
    EXPECT_EQ(MessageOf([&] { reader.ReadFloat(); }), "Invalid property value");
    EXPECT_EQ(MessageOf([&] { reader.ReadBinary(); }), "Invalid property value");
    EXPECT_EQ(reader.ReadString(), "7"); // a refused value is left in place
    EXPECT_EQ(MessageOf([&] { reader.ReadString(); }), "Invalid property value");
    EXPECT_EQ(MessageOf([&] { reader.ReadSet(); }), "Invalid property value");
    EXPECT_FALSE(reader.ReadBoolean()); // takes the type byte 2 only...
    EXPECT_TRUE(reader.ReadBoolean());  // ...so its payload 9 comes next
    EXPECT_EQ(MessageOf([&] { reader.SkipNextValue(); }), "Invalid property value"); // type 1

    const TBytes truncated[] = {
        {},
        {4, 0x00, 0x80, 0x00},
        {5, 0x00, 0xD0, 0xCC, 0xCC},
        {6, 5, 'a', 'b'},
        {12, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, // a length no stream holds
        {10, 0x10, 0x00, 0x00, 0x00, 1, 2},
        {11, 3, 'a'},
    };
    for (const TBytes& bytes : truncated) {
        TMemoryStream shortStream(bytes);
        TValueReader shortReader(shortStream, 2);
        EXPECT_EQ(MessageOf([&] { shortReader.SkipNextValue(); }), "Stream read error")
            << bytes.size();
    }
}

TEST(ValueStream, RefusesALongNameBeforeWritingAnyOfIt)
{
    TMemoryStream stream;
    TValueWriter writer(stream, 1);
    const std::string longName(256, 'n');
    const std::string_view members[] = {"ok", longName};
    EXPECT_EQ(MessageOf([&] { writer.WriteShortString(longName); }), "illegal call in savetofile");
    EXPECT_EQ(MessageOf([&] { writer.WriteIdent(longName); }), "illegal call in savetofile");
    EXPECT_EQ(MessageOf([&] { writer.WriteSet(members); }), "illegal call in savetofile");
    EXPECT_EQ(stream.Size(), 0);
}

TEST(ValueStream, WritersOneAfterAnotherAppend)
{
    TMemoryStream stream;
    TBytes expected;
    for (const std::size_t bufferSize : {1, 3, 4096}) {
        TValueWriter writer(stream, bufferSize);
        writer.WriteString("abc");
        writer.WriteBoolean(bufferSize == 3);
        expected.insert(expected.end(), {6, 3, 'a', 'b', 'c', static_cast<uint8_t>(bufferSize == 3 ? 9 : 8)});
    }
    EXPECT_EQ(TBytes(stream.Bytes().begin(), stream.Bytes().end()), expected);
}

// A reader reads ahead, but its end leaves the stream just after what it took.
TEST(ValueStream, AReaderGivesBackWhatItReadAhead)
{
    TMemoryStream stream(Written([](TValueWriter& w) {
        for (int i = 0; i < 10; ++i)
            w.WriteInteger(i * 1000);
    }));
    for (const std::size_t bufferSize : {1, 3, 4096}) {
        stream.Seek(0);
        for (int i = 0; i < 10; ++i) {
            TValueReader reader(stream, bufferSize);
            EXPECT_EQ(reader.ReadInteger(), i * 1000);
            if (bufferSize == 4096 && i == 0) {
                EXPECT_EQ(stream.Position(), stream.Size()); // read ahead to the end
            }
        }
        EXPECT_EQ(stream.Position(), stream.Size());
    }
}

} // namespace
