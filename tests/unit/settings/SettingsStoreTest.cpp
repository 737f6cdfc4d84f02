#include "app/SettingsStore.h"
#include "app/SettingsAccessor.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using Value = MemorySettingsStore::Value;
using Type = MemorySettingsStore::ValueType;

Value Bytes(Type type, std::initializer_list<std::uint8_t> bytes) {
    return Value{type, bytes};
}
} // namespace

TEST(SettingsKeyPath, IsTheCurrentUsersProductKey) {
    EXPECT_EQ(SettingsKeyPath(), "Software\\Marbleton\\Quillonex 1.1");
    EXPECT_EQ(&SettingsKeyPath(), &SettingsKeyPath()); // formed once
}

// ------------------------------------------------------- the memory store

TEST(MemorySettingsStore, KeyIsCreatedByTheFirstWriteOnly) {
    MemorySettingsStore store;
    {
        auto key = store.Open(PersistMode::Read);
        EXPECT_FALSE(key->IsOpen());
        int v = 5;
        EXPECT_FALSE(key->ReadInt("WindowX", v));
        EXPECT_EQ(v, 5);
    }
    EXPECT_FALSE(store.KeyExists());
    store.Open(PersistMode::Write)->WriteInt("WindowX", 12);
    EXPECT_TRUE(store.KeyExists());
    int v = 0;
    EXPECT_TRUE(store.Open(PersistMode::Read)->ReadInt("WindowX", v));
    EXPECT_EQ(v, 12);
    EXPECT_EQ(store.LiveKeys(), 0);
}

TEST(MemorySettingsStore, StoresDwordsAndTerminatedTexts) {
    MemorySettingsStore store;
    {
        auto key = store.Open(PersistMode::Write);
        key->WriteInt("N", -2);
        key->WriteString("T", "abc");
    }
    ASSERT_NE(store.Find("N"), nullptr);
    EXPECT_EQ(store.Find("N")->type, Type::Dword);
    EXPECT_EQ(store.Find("N")->data, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(store.Find("T")->type, Type::Text);
    EXPECT_EQ(store.Find("T")->data, (std::vector<std::uint8_t>{'a', 'b', 'c', 0}));
}

TEST(MemorySettingsStore, NamesIgnoreCase) {
    MemorySettingsStore store;
    store.Open(PersistMode::Write)->WriteInt("WordplayMaxPieces", 3);
    store.Open(PersistMode::Write)->WriteInt("WORDPLAYmaxpieces", 4);
    EXPECT_EQ(store.ValueCount(), 1u);
    int v = 0;
    EXPECT_TRUE(store.Open(PersistMode::Read)->ReadInt("wordplaymaxpieces", v));
    EXPECT_EQ(v, 4);
}

TEST(MemorySettingsStore, ReadIntTakesRawBytesOfShortValuesWhateverTheirType) {
    MemorySettingsStore store;
    store.SetRaw("Short", Bytes(Type::Text, {'A', 0}));          // a one-letter REG_SZ
    store.SetRaw("Four", Bytes(Type::Text, {'a', 'b', 'c', 0})); // exactly four bytes
    store.SetRaw("Five", Bytes(Type::Text, {'a', 'b', 'c', 'd', 0}));
    store.SetRaw("Empty", Bytes(Type::Dword, {}));
    auto key = store.Open(PersistMode::Read);
    int v = 99;
    EXPECT_TRUE(key->ReadInt("Short", v));
    EXPECT_EQ(v, 0x41); // padded with zero bytes
    EXPECT_TRUE(key->ReadInt("Four", v));
    EXPECT_EQ(v, 0x00636261);
    v = 99;
    EXPECT_FALSE(key->ReadInt("Five", v)); // too long for the 4-byte buffer
    EXPECT_EQ(v, 99);
    EXPECT_TRUE(key->ReadInt("Empty", v));
    EXPECT_EQ(v, 0);
}

TEST(MemorySettingsStore, ReadStringStopsAtNulAndRejectsOversizedValues) {
    MemorySettingsStore store;
    store.SetRaw("Dword", Bytes(Type::Dword, {'h', 'i', 0, 'x'}));
    store.SetRaw("Unterminated", Bytes(Type::Text, {'o', 'k'}));
    Value huge{Type::Text, std::vector<std::uint8_t>(kSettingsTextBuffer + 1, 'x')};
    store.SetRaw("Huge", huge);
    Value fits{Type::Text, std::vector<std::uint8_t>(kSettingsTextBuffer, 'y')};
    store.SetRaw("Fits", fits);

    auto key = store.Open(PersistMode::Read);
    std::string t = "unchanged";
    EXPECT_TRUE(key->ReadString("Dword", t));
    EXPECT_EQ(t, "hi");
    EXPECT_TRUE(key->ReadString("Unterminated", t));
    EXPECT_EQ(t, "ok");
    t = "unchanged";
    EXPECT_FALSE(key->ReadString("Huge", t));
    EXPECT_EQ(t, "unchanged");
    EXPECT_TRUE(key->ReadString("Fits", t));
    EXPECT_EQ(t.size(), kSettingsTextBuffer);
}

TEST(MemorySettingsStore, DeniedWritesAreSilentAndReadNothing) {
    MemorySettingsStore store;
    store.DenyWrites(true);
    {
        auto key = store.Open(PersistMode::Write);
        EXPECT_FALSE(key->IsOpen());
        key->WriteInt("WindowX", 1);
        key->WriteString("Name", "x");
    }
    EXPECT_FALSE(store.KeyExists());
    EXPECT_EQ(store.ValueCount(), 0u);
}

// ---------------------------------------------------------- the accessors

TEST(SettingsAccessor, PutsThePrefixInFrontOfEveryName) {
    MemorySettingsStore store;
    SettingsAccessor view("Wordplay", store);
    view.SetSettingInt("MaxPieces", 3);
    view.SetSettingString("WordplayBackgroundColor", "255,255,255");
    EXPECT_NE(store.Find("WordplayMaxPieces"), nullptr);
    EXPECT_NE(store.Find("WordplayWordplayBackgroundColor"), nullptr);
    EXPECT_EQ(store.Find("MaxPieces"), nullptr);
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 3);
    EXPECT_EQ(view.GetSettingString("WordplayBackgroundColor", ""), "255,255,255");
}

TEST(SettingsAccessor, WindowsWithDifferentPrefixesDoNotShareValues) {
    MemorySettingsStore store;
    SettingsAccessor about("About", store);
    SettingsAccessor lookup("Lookup", store);
    about.SetSettingString("Position", "0,1,2,3,4");
    EXPECT_EQ(lookup.GetSettingString("Position", "none"), "none");
    EXPECT_EQ(about.GetSettingString("Position", "none"), "0,1,2,3,4");
    SettingsAccessor bare("", store);
    EXPECT_EQ(bare.GetSettingString("AboutPosition", ""), "0,1,2,3,4");
}

TEST(SettingsAccessor, FallsBackToTheDefaultWhenAnythingIsMissing) {
    MemorySettingsStore store;
    SettingsAccessor view("Wordplay", store);
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4); // no key at all
    EXPECT_EQ(view.GetSettingString("WordplayDictionary", "Dictionaries\\Standard English.owd"),
              "Dictionaries\\Standard English.owd");
    view.SetSettingInt("Other", 1);
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4); // key, but no value
    store.SetRaw("WordplayMaxPieces", Bytes(Type::Text, {'1', '2', '3', '4', '5', 0}));
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4); // value too long for a number
}

TEST(SettingsAccessor, OpensAndClosesTheKeyAroundEveryAccess) {
    MemorySettingsStore store;
    SettingsAccessor view("Wordplay", store);
    view.SetSettingInt("A", 1);
    view.SetSettingString("B", "b");
    view.GetSettingInt("A", 0);
    view.GetSettingString("B", "");
    EXPECT_EQ(store.OpenCount(), 4);
    EXPECT_EQ(store.LiveKeys(), 0);
}

TEST(SettingsAccessor, FailedWritesAreLostQuietly) {
    MemorySettingsStore store;
    store.DenyWrites(true);
    SettingsAccessor view("Wordplay", store);
    view.SetSettingInt("MaxPieces", 2);
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4);
}

TEST(SettingsAccessor, IndexedNamesAppendTheDecimalIndex) {
    EXPECT_EQ(SettingsAccessor::IndexedName("ColumnWidth", 0), "ColumnWidth0");
    EXPECT_EQ(SettingsAccessor::IndexedName("WordplayDictionary", 12), "WordplayDictionary12");
    MemorySettingsStore store;
    SettingsAccessor charade("Charade", store);
    charade.SetSettingInt(SettingsAccessor::IndexedName("ColumnWidth", 0), 120);
    EXPECT_NE(store.Find("CharadeColumnWidth0"), nullptr);
}
