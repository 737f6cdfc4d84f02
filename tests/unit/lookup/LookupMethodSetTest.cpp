#include "lookup/LookupMethodSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = LookupKind;
constexpr unsigned kDefault = LookupMethodSet::kDefaultCommand;
constexpr unsigned kMethod0 = LookupMethodSet::kFirstMethodCommand;
const std::string kSuffix = "\tCtrl+Alt+Enter";

// Records each request; every one succeeds.
class FakePlatform : public LookupPlatform {
public:
    bool OpenAddress(const std::string& address) override { return Log("web " + address); }
    int DdeExecute(const std::string& service, const std::string& topic,
                   const std::string& text) override {
        Log("dde " + service + "|" + topic + "|" + text);
        return 0;
    }
    bool SendCommand(const std::string& title, int command, const std::string& word) override {
        return Log("msg " + title + "|" + std::to_string(command) + "|" + word);
    }
    bool LaunchProgram(const std::string& program, const std::string& argument) override {
        return Log("exec " + program + "|" + argument);
    }
    bool Log(const std::string& call) {
        calls.push_back(call);
        return true;
    }
    std::vector<std::string> calls;
};

void SetText(MemorySettingsStore& store, const std::string& name, const std::string& text) {
    store.Open(PersistMode::Write)->WriteString(name, text);
}
void SetInt(MemorySettingsStore& store, const std::string& name, int value) {
    store.Open(PersistMode::Write)->WriteInt(name, value);
}

LookupMethodSet Loaded(MemorySettingsStore& store) {
    LookupMethodSet set;
    set.Load(store);
    return set;
}

TEST(LookupMethodSet, FirstRunHasTheBuiltInMethodsAndGoogleAsDefault) {
    MemorySettingsStore store; // no key at all
    LookupMethodSet set = Loaded(store);
    EXPECT_EQ(set.TestWord(), "example");
    EXPECT_EQ(set.DefaultLabel(), "&Google");
    EXPECT_EQ(set.Method(Kind::WebSearch, 1),
              (LookupMethod{true, "&Google", "https://www.google.com/search?q=%22{entry}%22", ""}));
    EXPECT_FALSE(set.Method(Kind::DDE, 3).enabled);
    EXPECT_FALSE(set.Method(Kind::Message, 1).enabled);
    EXPECT_EQ(set.Method(Kind::Message, 2), (LookupMethod{false, "", "", ""}));
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(set.Method(Kind::Exec, slot), (LookupMethod{false, "", "", "0"}));

    EXPECT_EQ(set.MenuItems(true, kSuffix),
              (std::vector<LookupMenuItem>{{kMethod0, "&Google" + kSuffix, true, true},
                                           {kMethod0 + 1, "&OneLook", false, true}}));
    EXPECT_EQ(store.OpenCount(), 1) << "the key is opened once";
    EXPECT_FALSE(store.KeyExists()) << "loading writes nothing";
}

TEST(LookupMethodSet, ASavedKeyWithoutMethodsHasNoneAndLooksNothingUp) {
    MemorySettingsStore store;
    SetText(store, "LookupTestWord", "tea");
    LookupMethodSet set = Loaded(store);
    EXPECT_EQ(set.TestWord(), "tea");
    EXPECT_EQ(set.DefaultLabel(), "");
    EXPECT_EQ(set.Method(Kind::WebSearch, 1), (LookupMethod{}));
    EXPECT_EQ(set.Method(Kind::Exec, 2).second, "0");
    EXPECT_TRUE(set.MenuItems(true, kSuffix).empty());
    set.SetDefaultLabel("&Google");
    FakePlatform platform;
    EXPECT_FALSE(set.Execute(kDefault, "w", platform));
    EXPECT_FALSE(set.Execute(kMethod0, "w", platform));
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_EQ(set.DefaultLabel(), "") << "a default naming no enabled method is cleared";
}

TEST(LookupMethodSet, StoredValuesAreHonoured) {
    MemorySettingsStore store;
    SetText(store, "LookupTestWord", "example");
    SetText(store, "LookupExecLabel1", "&Peer");
    SetText(store, "LookupExecProgram1", "C:\\peer.exe");
    SetText(store, "ExecEncoding1", "1");
    SetInt(store, "LookupExecEnabled1", 7); // any non-zero value enables
    SetText(store, "LookupDDELabel2", "Off");
    SetInt(store, "LookupDDEEnabled2", 0);
    SetText(store, "LookupMessageLabel2", "Win");
    SetText(store, "LookupWebSearchLabel3", ""); // enabled, but without a name
    SetInt(store, "LookupWebSearchEnabled3", 1);
    SetText(store, "LookupDefaultLabel", "&Peer");
    LookupMethodSet set = Loaded(store);
    EXPECT_EQ(set.Method(Kind::Exec, 1), (LookupMethod{true, "&Peer", "C:\\peer.exe", "1"}));
    EXPECT_FALSE(set.Method(Kind::DDE, 2).enabled);
    EXPECT_FALSE(set.Method(Kind::Message, 2).enabled) << "no enabled value, not a first run";
    EXPECT_FALSE(set.Method(Kind::WebSearch, 3).enabled) << "a method without a name stays off";
    EXPECT_EQ(set.DefaultLabel(), "&Peer");
    FakePlatform platform;
    EXPECT_TRUE(set.Execute(kDefault, "ab c", platform));
    EXPECT_EQ(platform.calls, std::vector<std::string>{"exec C:\\peer.exe|61622063"});
}

TEST(LookupMethodSet, SaveWritesEverySlotAndLoadGivesTheSameSet) {
    MemorySettingsStore first;
    LookupMethodSet set = Loaded(first);
    set.Method(Kind::Exec, 2) = {true, "Pro&gram", "C:\\a b\\p.exe", "1"};
    set.Method(Kind::WebSearch, 1).enabled = false;
    set.Method(Kind::Message, 1).first = "Title with \"quotes\"";
    set.SetTestWord("caf\xE9");
    set.SetDefaultLabel("Pro&gram");

    MemorySettingsStore store;
    set.Save(store);
    EXPECT_EQ(store.ValueCount(), 16u * 3 + 12 + 2);
    ASSERT_NE(store.Find("LookupExecEnabled4"), nullptr);
    EXPECT_EQ(store.Find("LookupExecEnabled4")->type, MemorySettingsStore::ValueType::Dword);
    ASSERT_NE(store.Find("DDETopic4"), nullptr);
    EXPECT_EQ(store.Find("LookupWebSearchScript4")->data, std::vector<std::uint8_t>{0});
    EXPECT_EQ(store.LiveKeys(), 0);

    LookupMethodSet again = Loaded(store);
    for (Kind kind : {Kind::WebSearch, Kind::DDE, Kind::Message, Kind::Exec})
        for (int slot = 1; slot <= 4; ++slot)
            EXPECT_EQ(again.Method(kind, slot), set.Method(kind, slot))
                << static_cast<int>(kind) << " " << slot;
    EXPECT_EQ(again.TestWord(), "caf\xE9");
    EXPECT_EQ(again.DefaultLabel(), "Pro&gram");
}

TEST(LookupMethodSet, NormalizeKeepsAnEnabledDefaultElseTakesTheFirstEnabled) {
    MemorySettingsStore store;
    LookupMethodSet set = Loaded(store);
    set.SetDefaultLabel("&OneLook");
    set.NormalizeDefault();
    EXPECT_EQ(set.DefaultLabel(), "&OneLook");
    set.Method(Kind::WebSearch, 2).enabled = false;
    set.NormalizeDefault();
    EXPECT_EQ(set.DefaultLabel(), "&Google");
    set.Method(Kind::WebSearch, 1).enabled = false;
    set.Method(Kind::DDE, 4).enabled = true;
    set.NormalizeDefault();
    EXPECT_EQ(set.DefaultLabel(), "S&horter Oxford");
    set.Method(Kind::DDE, 4).enabled = false;
    set.NormalizeDefault();
    EXPECT_EQ(set.DefaultLabel(), "");
}

TEST(LookupMethodSet, MenuListsEnabledMethodsInKindOrderAndChecksEveryDefaultLabel) {
    LookupMethodSet set;
    set.Method(Kind::Exec, 1) = {true, "Same", "p", "0"};
    set.Method(Kind::DDE, 2) = {true, "Same", "s", "t"};
    set.Method(Kind::WebSearch, 4) = {true, "", "w{entry}", ""}; // enabled by its box, no name
    set.Method(Kind::Message, 1) = {false, "Off", "t", "1"};
    set.SetDefaultLabel("Same");
    EXPECT_EQ(set.MenuItems(false, kSuffix),
              (std::vector<LookupMenuItem>{{kMethod0, "", false, false},
                                           {kMethod0 + 1, "Same" + kSuffix, true, false},
                                           {kMethod0 + 2, "Same" + kSuffix, true, false}}));
    // Two defaults of the same name: Ctrl+Alt+Enter runs the first.
    FakePlatform platform;
    EXPECT_TRUE(set.Execute(kDefault, "w", platform));
    EXPECT_EQ(platform.calls, std::vector<std::string>{"dde s|t|w"});
}

TEST(LookupMethodSet, NumberedCommandsCountEnabledMethodsOnly) {
    LookupMethodSet set;
    set.Method(Kind::WebSearch, 2) = {true, "W", "x?q={entry}&r={entry}", ""};
    set.Method(Kind::DDE, 1) = {false, "Off", "svc", "top"};
    set.Method(Kind::DDE, 3) = {true, "D", "svc", "top"};
    set.Method(Kind::Message, 2) = {true, "M", "Title", "no digits"};
    set.Method(Kind::Exec, 1) = {true, "E", "C:\\p.exe", "0"};
    FakePlatform platform;
    for (unsigned n = 0; n < 4; ++n)
        EXPECT_TRUE(set.Execute(kMethod0 + n, "o'er x", platform)) << n;
    EXPECT_EQ(platform.calls,
              (std::vector<std::string>{"web x?q=o%27er%20x&r=o%27er%20x", "dde svc|top|o'er x",
                                        "msg Title|0|o'er x", "exec C:\\p.exe|o'er x"}));
    platform.calls.clear();
    EXPECT_FALSE(set.Execute(kMethod0 + 4, "w", platform)) << "only four are enabled";
    EXPECT_FALSE(set.Execute(kMethod0 + 12, "w", platform)) << "not a lookup command";
    EXPECT_FALSE(set.Execute(5140, "w", platform));
    EXPECT_TRUE(platform.calls.empty());
}

TEST(LookupMethodSet, DefaultThatNamesNoEnabledMethodRunsTheFirstAndIsCleared) {
    LookupMethodSet set;
    set.Method(Kind::WebSearch, 1) = {true, "Empty", "", ""}; // cannot run: passed over
    set.Method(Kind::Message, 1) = {true, "M", "T", "2026"};
    set.Method(Kind::Exec, 1) = {true, "E", "p", "0"};
    set.SetDefaultLabel("Gone");
    FakePlatform platform;
    EXPECT_TRUE(set.Execute(kDefault, "w", platform));
    EXPECT_EQ(platform.calls, std::vector<std::string>{"msg T|2026|w"});
    EXPECT_EQ(set.DefaultLabel(), "") << "cleared in memory";
    set.NormalizeDefault();
    EXPECT_EQ(set.DefaultLabel(), "Empty") << "the next menu names the first enabled method";

    // The default is the web search that cannot run: the next one runs instead.
    platform.calls.clear();
    set.SetDefaultLabel("Empty");
    EXPECT_TRUE(set.Execute(kDefault, "w", platform));
    EXPECT_EQ(platform.calls, std::vector<std::string>{"msg T|2026|w"});
}

} // namespace
