#include "settings/SettingsStore.h"
#include "settings/SettingsAccessor.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using Value = MemorySettingsStore::Value;
using Type = MemorySettingsStore::ValueType;

Value Bytes(Type type, std::vector<std::uint8_t> bytes) {
    return Value{type, std::move(bytes)};
}
} // namespace

TEST(SettingsKeyPath, IsTheCurrentUsersProductKey) {
    EXPECT_EQ(SettingsKeyPath(), "Software\\Marbleton\\Quillonex 1.1");
}

// ------------------------------------------------------- the memory store

TEST(MemorySettingsStore, KeyIsCreatedByTheFirstWriteAndNamesIgnoreCase) {
    MemorySettingsStore store;
    {
        auto key = store.Open(PersistMode::Read);
        EXPECT_FALSE(key->IsOpen());
        int v = 5;
        EXPECT_FALSE(key->ReadInt("WindowX", v));
        EXPECT_EQ(v, 5);
    }
    EXPECT_FALSE(store.KeyExists());
    {
        auto key = store.Open(PersistMode::Write);
        key->WriteInt("N", -2);
        key->WriteInt("n", -3);
        key->WriteString("T", "abc");
    }
    EXPECT_TRUE(store.KeyExists());
    EXPECT_EQ(store.ValueCount(), 2u);
    ASSERT_NE(store.Find("N"), nullptr);
    EXPECT_EQ(store.Find("N")->type, Type::Dword);
    EXPECT_EQ(store.Find("N")->data, (std::vector<std::uint8_t>{0xFD, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(store.Find("t")->type, Type::Text);
    EXPECT_EQ(store.Find("t")->data, (std::vector<std::uint8_t>{'a', 'b', 'c', 0}));
    EXPECT_EQ(store.LiveKeys(), 0);
}

TEST(MemorySettingsStore, ReadIntTakesRawBytesOfShortValuesWhateverTheirType) {
    struct Case {
        const char* name;
        Value value;
        bool read;
        int result;
    };
    const std::vector<Case> cases = {
        {"one-letter text, padded with zero bytes", Bytes(Type::Text, {'A', 0}), true, 0x41},
        {"text of exactly four bytes", Bytes(Type::Text, {'a', 'b', 'c', 0}), true, 0x00636261},
        {"text too long for the 4-byte buffer", Bytes(Type::Text, {'a', 'b', 'c', 'd', 0}), false,
         99},
        {"empty dword", Bytes(Type::Dword, {}), true, 0},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.SetRaw("V", c.value);
        int v = 99;
        EXPECT_EQ(store.Open(PersistMode::Read)->ReadInt("V", v), c.read) << c.name;
        EXPECT_EQ(v, c.result) << c.name;
    }
}

TEST(MemorySettingsStore, ReadStringStopsAtNulAndRejectsOversizedValues) {
    struct Case {
        const char* name;
        Value value;
        bool read;
        std::string result;
    };
    const std::vector<Case> cases = {
        {"dword", Bytes(Type::Dword, {'h', 'i', 0, 'x'}), true, "hi"},
        {"unterminated", Bytes(Type::Text, {'o', 'k'}), true, "ok"},
        {"fills the buffer", Bytes(Type::Text, std::vector<std::uint8_t>(kSettingsTextBuffer, 'y')),
         true, std::string(kSettingsTextBuffer, 'y')},
        {"one byte over",
         Bytes(Type::Text, std::vector<std::uint8_t>(kSettingsTextBuffer + 1, 'x')), false,
         "unchanged"},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.SetRaw("V", c.value);
        std::string t = "unchanged";
        EXPECT_EQ(store.Open(PersistMode::Read)->ReadString("V", t), c.read) << c.name;
        EXPECT_EQ(t, c.result) << c.name;
    }
}

TEST(MemorySettingsStore, DeniedWritesAreSilentAndReadNothing) {
    MemorySettingsStore store;
    store.DenyWrites(true);
    EXPECT_FALSE(store.Open(PersistMode::Write)->IsOpen());
    SettingsAccessor view("Wordplay", store);
    view.SetSettingInt("MaxPieces", 2);
    view.SetSettingString("Name", "x");
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4);
    EXPECT_FALSE(store.KeyExists());
    EXPECT_EQ(store.ValueCount(), 0u);
}

// ---------------------------------------------------------- the accessors

TEST(SettingsAccessor, PutsItsPrefixInFrontOfEveryName) {
    MemorySettingsStore store;
    SettingsAccessor about("About", store);
    SettingsAccessor lookup("Lookup", store);
    about.SetSettingString("Position", "0,1,2,3,4");
    about.SetSettingInt(SettingsAccessor::IndexedName("ColumnWidth", 12), 120);
    EXPECT_NE(store.Find("AboutColumnWidth12"), nullptr);
    EXPECT_EQ(store.Find("Position"), nullptr);
    EXPECT_EQ(lookup.GetSettingString("Position", "none"), "none");
    EXPECT_EQ(about.GetSettingString("Position", "none"), "0,1,2,3,4");
    EXPECT_EQ(SettingsAccessor("", store).GetSettingString("AboutPosition", ""), "0,1,2,3,4");
    EXPECT_EQ(store.OpenCount(), 5) << "the key is opened for every access";
    EXPECT_EQ(store.LiveKeys(), 0) << "and closed after it";
}

TEST(SettingsAccessor, FallsBackToTheDefaultWhenAnythingIsMissing) {
    MemorySettingsStore store;
    SettingsAccessor view("Wordplay", store);
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4); // no key at all
    EXPECT_EQ(view.GetSettingString("Dictionary", "Standard"), "Standard");
    view.SetSettingInt("Other", 1);
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4); // key, but no value
    store.SetRaw("WordplayMaxPieces", Bytes(Type::Text, {'1', '2', '3', '4', '5', 0}));
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4); // value too long for a number
}
