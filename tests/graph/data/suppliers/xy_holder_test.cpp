#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QWidget>

#include "graph/data/suppliers/component_registry.h"
#include "graph/data/suppliers/holder_description.h"
#include "graph/data/suppliers/xy_holder.h"
#include "tests/support/error_message.h"

namespace {

std::string EntryOf(const TxyHolder& holder)
{
    TMemoryStream stream;
    {
        TValueWriter writer(stream);
        WriteHolderEntry(writer, holder);
    }
    return {stream.Bytes().begin(), stream.Bytes().end()};
}

void ReadEntry(const std::string& bytes, TxyHolder& holder)
{
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TValueReader reader(stream);
    ReadHolderEntry(reader, holder);
}

// A name or short text with its length byte in front.
std::string Short(const std::string& text)
{
    return static_cast<char>(text.size()) + text;
}

} // namespace

TEST(TxyHolderTest, OnlyTheFirstTabOrTIsTurnedEachWay)
{
    TxyHolder holder(nullptr);
    EXPECT_EQ(holder.Textseparators(), "T,");
    EXPECT_EQ(holder.StoredTextseparators(), "\t,");
    holder.SetTextseparators("T;T");
    EXPECT_EQ(holder.StoredTextseparators(), "\t;T");
    EXPECT_EQ(holder.Textseparators(), "T;T");
    holder.SetTextseparators("T\t;");
    EXPECT_EQ(holder.Textseparators(), "T\t;");
}

TEST(TxyHolderTest, OnlyAssigningTheLinesFiresOnChange)
{
    TxyHolder holder(nullptr);
    int changes = 0;
    holder.SetOnChange([&](TxyHolder& sender) {
        EXPECT_EQ(&sender, &holder);
        ++changes;
    });
    const QStringList* list = &holder.data();
    QStringList lines = {"1\t2", "3\t4"};
    holder.Setdata(lines);
    holder.Setdata(lines);
    EXPECT_EQ(changes, 2);

    lines.append("5\t6"); // the holder keeps its own copy
    holder.Lines().append("7\t8");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(holder.data(), QStringList({"1\t2", "3\t4", "7\t8"}));
    EXPECT_EQ(&holder.data(), list);
}

TEST(TxyHolderTest, FindsHoldersInDataModulesBeforeFormsAndMatchesTheIdExactly)
{
    QWidget form; // never shown
    auto* inForm = new TxyHolder(&form);
    inForm->SetID("Points");
    auto* onlyInForm = new TxyHolder(&form);
    onlyInForm->SetID("Extra");
    ASSERT_TRUE(QApplication::topLevelWidgets().contains(&form));
    EXPECT_EQ(FindHolder("Points"), inForm);

    QObject module;
    new QObject(&module); // an owned object of another type comes first
    auto* inModule = new TxyHolder(&module);
    inModule->SetID("Points");
    RegisterDataModule(module);
    // The lookup goes by findChildren, which tells holders apart by their meta object.
    EXPECT_EQ(module.findChildren<TxyHolder*>().size(), 1);

    EXPECT_EQ(FindHolder("Points"), inModule);
    EXPECT_EQ(FindHolder("Extra"), onlyInForm);
    EXPECT_EQ(FindHolder("points"), nullptr);
    EXPECT_EQ(FindHolder("Points "), nullptr);
}

// Also pins the defaults of a new holder.
TEST(TxyHolderTest, EntryHasTheComponentRecordLayout)
{
    TxyHolder holder(nullptr);
    holder.setObjectName("Holder1");
    holder.Lines().append("a");
    const std::string expected =
        Short("TxyHolder") + Short("Holder1") + Short("Tag") + "\x02" + '\0' + Short("Textseparators") + "\x06" +
        Short("T,") + Short("TextMarkers") + "\x06" + Short("'\"") + Short("data.Strings") + "\x01\x06" + Short("a") +
        '\0' + Short("XPaddingPolicy") + "\x07" + Short("ppExtra") + Short("YPaddingPolicy") + "\x07" +
        Short("ppExtra") + Short("XPadCount") + "\x02\x02" + Short("YPadCount") + "\x02\x0a" + Short("ID") + "\x06" +
        '\0' + '\0';
    EXPECT_EQ(EntryOf(holder), expected);
}

TEST(TxyHolderTest, ReadBackEntryEqualsTheWrittenHolder)
{
    TxyHolder original(nullptr);
    original.setObjectName("Holder2");
    original.SetTag(-70000);
    original.SetTextseparators("T;T");
    original.SetTextMarkers("`");
    original.SetXPaddingPolicy(ppTotal);
    original.SetXPadCount(300);
    original.SetYPadCount(-1);
    original.SetID("Größe");
    original.Setdata({"x\ty\t'z'", "\"quoted\", 'single'", "", "Ähre, 東京 ✓", QString(300, QChar(u'é'))});

    TxyHolder read(nullptr);
    int changes = 0;
    read.SetOnChange([&](TxyHolder&) { ++changes; });
    ReadEntry(EntryOf(original), read);

    EXPECT_EQ(changes, 1);
    EXPECT_EQ(read.data(), original.data());
    EXPECT_EQ(read.StoredTextseparators(), original.StoredTextseparators());
    // Every other property is in the entry.
    EXPECT_EQ(EntryOf(read), EntryOf(original));
}

TEST(TxyHolderTest, ReadingRefusesOtherClassesUnknownNamesAndWrongValues)
{
    const auto message = [](const std::string& className, const std::string& name, const std::string& value) {
        TxyHolder holder(nullptr);
        const std::string bytes = Short(className) + Short("Holder3") + Short(name) + value + '\0';
        return MessageOf([&] { ReadEntry(bytes, holder); });
    };
    const std::string integer = "\x02\x05";
    EXPECT_EQ(message("TxyHolder", "XPadCount", integer), "no error");
    EXPECT_EQ(message("TZemplot", "XPadCount", integer), "Class TZemplot not found");
    EXPECT_EQ(message("TxyHolder", "OnChange", integer), "Property OnChange does not exist");
    EXPECT_EQ(message("TxyHolder", "ID", integer), "Invalid property value");
    EXPECT_EQ(message("TxyHolder", "XPadCount", "\x06" + Short("5")), "Invalid property value");
    EXPECT_EQ(message("TxyHolder", "YPaddingPolicy", "\x07" + Short("ppNone")), "Invalid property value");
    EXPECT_EQ(message("TxyHolder", "data.Strings", "\x06" + Short("a")), "Invalid property value");
}
