#include "lookup/LookupMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A menu as a list of item texts, "-" for the separator.
class ListMenu : public LookupMenuEditor {
public:
    int Count() const override { return static_cast<int>(items.size()); }
    void Replace(int position, const LookupMenuItem& item) override {
        items.at(static_cast<std::size_t>(position)) = Text(item);
    }
    void Insert(int position, const LookupMenuItem& item) override {
        items.insert(items.begin() + position, Text(item));
    }
    void Delete(int position) override { items.erase(items.begin() + position); }

    static std::string Text(const LookupMenuItem& item) {
        return std::to_string(item.command) + " " + item.text + (item.checked ? " *" : "") +
               (item.enabled ? "" : " (grey)");
    }
    std::vector<std::string> items{"-", "&Setup..."};
};

TEST(LookupMenu, FollowsTheSetThroughEveryChange) {
    LookupMethodSet set;
    set.Method(LookupKind::WebSearch, 1) = {true, "&Google", "g{entry}", ""};
    set.Method(LookupKind::DDE, 2) = {true, "&Chambers", "CompLex", "WinWord"};
    set.Method(LookupKind::Exec, 1) = {true, "&Peer", "p", "0"};
    set.SetDefaultLabel("&Peer");
    ListMenu menu;
    const std::string suffix = "\tCtrl+Alt+Enter";

    ApplyLookupMenu(menu, set.MenuItems(true, suffix));
    EXPECT_EQ(menu.items,
              (std::vector<std::string>{"13120 &Google", "13121 &Chambers",
                                        "13122 &Peer\tCtrl+Alt+Enter *", "-", "&Setup..."}));
    set.Method(LookupKind::DDE, 2).enabled = false;
    ApplyLookupMenu(menu, set.MenuItems(false, suffix));
    EXPECT_EQ(menu.items,
              (std::vector<std::string>{"13120 &Google (grey)",
                                        "13121 &Peer\tCtrl+Alt+Enter * (grey)", "-", "&Setup..."}));
    set.Method(LookupKind::Exec, 1).enabled = false;
    set.Method(LookupKind::WebSearch, 1).enabled = false;
    ApplyLookupMenu(menu, set.MenuItems(true, suffix));
    EXPECT_EQ(menu.items, (std::vector<std::string>{"-", "&Setup..."}));
    EXPECT_EQ(set.DefaultLabel(), "");
    set.Method(LookupKind::Exec, 1).enabled = true;
    ApplyLookupMenu(menu, set.MenuItems(true, suffix));
    EXPECT_EQ(menu.items,
              (std::vector<std::string>{"13120 &Peer\tCtrl+Alt+Enter *", "-", "&Setup..."}));
}

} // namespace
