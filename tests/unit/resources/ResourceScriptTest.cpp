// Consistency of Quillon.rc and resource.h, read as text: the program loads
// hints and tooltips by number at run time, so a missing string would only
// show as a blank status bar. These checks catch that at build time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

fs::path ResourceFolder() {
    return fs::path(QUILLON_SOURCE_DIR) / "src" / "resources";
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Trim(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

struct MenuItem {
    std::string caption;
    int command;
};

struct Script {
    std::map<std::string, int> defines;
    std::map<int, std::string> strings;
    std::vector<std::string> duplicateStrings;
    std::map<std::string, std::vector<MenuItem>> menus;     // items of each menu, nested included
    std::map<std::string, std::vector<std::string>> popups; // popup captions of each menu

    int Resolve(const std::string& token) const {
        if (!token.empty() && std::isdigit(static_cast<unsigned char>(token[0])))
            return std::stoi(token);
        const auto it = defines.find(token);
        return it == defines.end() ? -1 : it->second;
    }
};

// Enough of the resource-script grammar for the menus and the string table.
Script Load() {
    Script s;
    const std::regex define(R"(^#define\s+(\w+)\s+(\d+)\b)");
    for (const std::string& line : ReadLines(ResourceFolder() / "resource.h")) {
        std::smatch m;
        if (std::regex_search(line, m, define)) s.defines[m[1]] = std::stoi(m[2]);
    }
    const std::regex menuStart(R"(^(\w+)\s+MENU\s*$)");
    const std::regex item(R"re(^\s*MENUITEM\s+"((?:[^"]|"")*)"\s*,\s*(\w+))re");
    const std::regex popup(R"re(^\s*POPUP\s+"((?:[^"]|"")*)")re");
    const std::regex entry(R"re(^\s*(\w+)\s+"(.*)"\s*$)re");
    std::string menu;
    bool inStrings = false;
    int depth = 0;
    for (const std::string& line : ReadLines(ResourceFolder() / "Quillon.rc")) {
        std::smatch m;
        if (std::regex_search(line, m, menuStart)) {
            menu = m[1];
            depth = 0;
        } else if (line.rfind("STRINGTABLE", 0) == 0) {
            inStrings = true;
            depth = 0;
        } else if (Trim(line) == "BEGIN") {
            ++depth;
        } else if (Trim(line) == "END") {
            if (--depth == 0) {
                menu.clear();
                inStrings = false;
            }
        } else if (!menu.empty() && std::regex_search(line, m, item)) {
            s.menus[menu].push_back({m[1], s.Resolve(m[2])});
        } else if (!menu.empty() && std::regex_search(line, m, popup)) {
            s.popups[menu].push_back(m[1]);
        } else if (inStrings && std::regex_search(line, m, entry)) {
            const int id = s.Resolve(m[1]);
            if (!s.strings.emplace(id, m[2]).second) s.duplicateStrings.push_back(m[1]);
        }
    }
    return s;
}

bool HasCommand(const Script& s, const std::string& menu, int command) {
    for (const MenuItem& i : s.menus.at(menu))
        if (i.command == command) return true;
    return false;
}
} // namespace

TEST(ResourceScript, EveryIdentifierIsDefinedAndEveryStringIdUnique) {
    const Script s = Load();
    ASSERT_FALSE(s.strings.empty());
    EXPECT_TRUE(s.duplicateStrings.empty()) << s.duplicateStrings.front();
    EXPECT_EQ(s.strings.count(-1), 0u) << "a string id is not defined in resource.h";
    for (const auto& [name, items] : s.menus)
        for (const MenuItem& i : items)
            EXPECT_GT(i.command, 0) << name << ": " << i.caption;
}

TEST(ResourceScript, EveryMenuCommandHasAStatusBarHint) {
    const Script s = Load();
    for (const char* menu : {"MAINMENU", "IDM_HEADERMENU", "IDM_RESULTMENU"}) {
        ASSERT_TRUE(s.menus.count(menu)) << menu;
        for (const MenuItem& i : s.menus.at(menu)) {
            const auto it = s.strings.find(i.command);
            ASSERT_NE(it, s.strings.end()) << menu << ": " << i.caption;
            // The hint is the part before the first line break; it must not be empty.
            EXPECT_NE(it->second.rfind("\\n", 0), 0u) << menu << ": " << i.caption;
        }
    }
}

TEST(ResourceScript, MainMenuHoldsTheCommandsThatIdentifyEachPopupForHelp) {
    const Script s = Load();
    for (const char* name : {"CM_EXIT", "CM_EDITCUT", "CM_LOOKUPSETUP", "CM_OPTIONS",
                             "CM_HELPCONTENTS", "CM_OWBUILD", "CM_OWMERGE", "CM_TUTORIALS"})
        EXPECT_TRUE(HasCommand(s, "MAINMENU", s.Resolve(name))) << name;
    EXPECT_TRUE(HasCommand(s, "IDM_HEADERMENU", s.Resolve("CM_DEMOTE")));
    // The Help popup is pushed to the right end of the menu bar.
    const auto& popups = s.popups.at("MAINMENU");
    ASSERT_FALSE(popups.empty());
    EXPECT_EQ(popups.back().rfind("\\b", 0), 0u) << popups.back();
}

// A control's tooltip has no status-bar hint before its line break; a
// toolbar button's string has both.
TEST(ResourceScript, TooltipStringsHaveTheirLineBreakInPlace) {
    const Script s = Load();
    for (const char* name : {"IDC_BACKGROUNDCOLOUR", "IDC_NOTATIONCOLOUR", "IDC_DELETIONCOLOUR",
                             "IDC_ABBREVIATIONCOLOUR", "IDC_ANSWERFONT", "IDC_RESULTFONT",
                             "IDC_PRINTOUTFONT", "CM_PREVIEWALL", "CM_PREVIEWSELECTED",
                             "CM_PREVIEWPREVIOUS", "CM_PREVIEWNEXT", "CM_PREVIEWPRINTPAGE"}) {
        const auto it = s.strings.find(s.Resolve(name));
        ASSERT_NE(it, s.strings.end()) << name;
        const std::size_t br = it->second.find("\\n");
        ASSERT_NE(br, std::string::npos) << name;
        EXPECT_EQ(br == 0, std::string_view(name).starts_with("IDC_")) << name;
        EXPECT_LT(br + 2, it->second.size()) << name;
    }
}

TEST(ResourceScript, IndicatorTitlesFollowTheKindNumbering) {
    const Script s = Load();
    const int first = s.Resolve("IDS_INDICATORKIND0");
    const std::map<int, std::string> kinds = {{0, "Charade"},
                                              {1, "Container and Contents"},
                                              {2, "Reversal"},
                                              {3, "Anagram"},
                                              {5, "Abbreviation"}};
    for (const auto& [kind, title] : kinds) {
        const auto it = s.strings.find(first + kind);
        ASSERT_NE(it, s.strings.end()) << kind;
        EXPECT_EQ(it->second, title);
    }
    EXPECT_EQ(s.strings.count(first + 4), 0u); // kind 4 has no title
}

TEST(ResourceScript, ImagesNamedByTheScriptExist) {
    const std::regex file(R"re("([\w.]+\.(?:ico|cur|bmp|manifest))")re");
    int count = 0;
    for (const std::string& line : ReadLines(ResourceFolder() / "Quillon.rc")) {
        std::smatch m;
        if (std::regex_search(line, m, file)) {
            ++count;
            EXPECT_TRUE(fs::is_regular_file(ResourceFolder() / std::string(m[1]))) << m[1];
        }
    }
    EXPECT_GE(count, 8);
}
