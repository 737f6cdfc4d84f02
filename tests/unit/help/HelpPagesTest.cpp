#include "help/HelpPages.h"

#include "resources/resource.h"
#include "results/IndicatorTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {
namespace fs = std::filesystem;

fs::path HelpFolder() {
    return fs::path(QUILLON_SOURCE_DIR) / "data" / "help";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(HelpPages, EveryContextIsRegisteredOnceWithAnExistingPage) {
    ASSERT_FALSE(HelpTopics().empty());
    std::set<int> seen;
    for (const HelpTopic& topic : HelpTopics()) {
        EXPECT_TRUE(fs::is_regular_file(HelpFolder() / topic.page))
            << "context " << topic.context << " names " << topic.page;
        EXPECT_TRUE(seen.insert(topic.context).second) << "context " << topic.context;
    }
    EXPECT_TRUE(fs::is_regular_file(HelpFolder() / kHelpContentsPage));
}

// Every help context the program can ask for, read from the sources rather
// than listed by hand: the help contexts and the Options pages of resource.h,
// every menu and every menu command of the resource scripts (F1 on a
// highlighted command asks for its number), every dialog template (a window
// laid out from one asks for its template's number), the indicator tables and
// the lookup methods that the External Lookup menus gain while they open.
std::map<int, std::string> ContextsTheProgramAsksFor() {
    const fs::path resources = fs::path(QUILLON_SOURCE_DIR) / "src" / "resources";
    std::map<std::string, int> numbers;
    const std::regex define(R"(^#define\s+(\w+)\s+(-?\d+)\b)");
    std::istringstream header(ReadFile(resources / "resource.h"));
    for (std::string line; std::getline(header, line);)
        if (std::smatch m; std::regex_search(line, m, define)) numbers[m[1]] = std::stoi(m[2]);

    std::map<int, std::string> contexts;
    for (const auto& [name, number] : numbers) {
        // An Options page is named by a string that has a tooltip beside it.
        const bool optionsPage = name.rfind("IDS_PAGE", 0) == 0 && numbers.count(name + "TIP");
        if (name.rfind("IDH_", 0) == 0 || optionsPage) contexts[number] = name;
    }
    // Windows made from these templates ask for other contexts: a table
    // window for its kind's title, the Options dialog for its pages; the box
    // shown while printing offers no help.
    const std::set<std::string> askElsewhere = {"IDD_TABLEVIEW", "IDD_PRINTING"};
    const std::regex menu(R"(^(\w+)\s+MENU\b)"), item(R"(^\s*MENUITEM\s+"[^"]*",\s*(\w+))"),
        dialog(R"(^(\w+)\s+DIALOGEX?\b)");
    for (const fs::path& script : fs::directory_iterator(resources)) {
        if (script.extension() != ".rc") continue;
        std::istringstream text(ReadFile(script));
        for (std::string line; std::getline(text, line);) {
            std::smatch m;
            const bool found = std::regex_search(line, m, menu) ||
                               std::regex_search(line, m, item) ||
                               std::regex_search(line, m, dialog);
            if (found && numbers.count(m[1]) && !askElsewhere.count(m[1]))
                contexts[numbers[m[1]]] = m[1].str() + " in " + script.filename().string();
        }
    }
    for (int kind = 0; kind < IndicatorKind::Count; ++kind)
        if (!IndicatorKindTitle(kind).empty())
            contexts[IndicatorKind::FirstTitleId + kind] = std::string(IndicatorKindTitle(kind));
    for (int id = CM_LOOKUPMETHOD0; id <= CM_LOOKUPMETHODLAST; ++id)
        contexts[id] = "lookup method " + std::to_string(id - CM_LOOKUPMETHOD0);
    return contexts;
}

TEST(HelpPages, EveryContextTheProgramAsksForHasAPageOfItsOwn) {
    const auto contexts = ContextsTheProgramAsksFor();
    // A sample of what must have been found, so that a broken reader fails.
    for (int expected : {IDH_FILEMENU, IDH_MAINWINDOW, IDS_PAGERESULT, CM_OWBUILD, CM_DEMOTE,
                         IDM_RESULTMENU, IDD_LOOKUP, IDD_OWMERGE, IDS_INDICATORABBREVIATION})
        EXPECT_TRUE(contexts.count(expected)) << expected;
    EXPECT_FALSE(contexts.count(IDS_PAGERESULTTIP));
    EXPECT_FALSE(contexts.count(IDD_PRINTING));
    for (const auto& [context, what] : contexts) {
        const std::string page = HelpPageForContext(context);
        EXPECT_NE(page, kHelpContentsPage) << what << " (" << context << ") has no page";
        EXPECT_TRUE(fs::is_regular_file(HelpFolder() / page)) << what << " names " << page;
    }
}

TEST(HelpPages, MapsContextsToPagesAndUnknownOnesToTheContents) {
    const struct {
        int context;
        std::string page;
    } cases[] = {
        {IDH_MAINWINDOW, "main_window.html"},
        {CM_EXIT, "file_menu.html"}, // a command shares its menu's page
        {CM_LOOKUPMETHOD0 + 11, "external_lookup.html"},
        {IDS_PAGEDICTIONARY, "options_dictionary.html"},
        {0, kHelpContentsPage},
        {-1, kHelpContentsPage},
        {CM_LOOKUPMETHODLAST + 1, kHelpContentsPage},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpPageForContext(c.context), c.page) << "context " << c.context;
}

TEST(HelpPages, EveryPageIsReachableFromTheContentsAndEveryLinkResolves) {
    const std::regex link(R"(href="([^"#:]+)(#[^"]*)?")");
    const std::regex outside(R"re((?:href|src)="([a-z]+:[^"]*)")re", std::regex::icase);
    const std::string addresses =
        ReadFile(fs::path(QUILLON_SOURCE_DIR) / "src" / "context" / "ProductAddresses.h");
    std::set<std::string> linkedFromContents;
    for (const auto& entry : fs::directory_iterator(HelpFolder())) {
        if (entry.path().extension() != ".html") continue;
        const std::string text = ReadFile(entry.path());
        EXPECT_NE(text.find("href=\"help.css\""), std::string::npos) << entry.path();
        EXPECT_NE(text.find("<h1>"), std::string::npos) << entry.path();
        EXPECT_EQ(text.find("<script"), std::string::npos) << entry.path();
        // Outside addresses only where the program itself points: its home
        // page and its support mailbox.
        for (std::sregex_iterator it(text.begin(), text.end(), outside), end; it != end; ++it) {
            std::string address = (*it)[1];
            address = address.substr(address.find(':') + 1);
            while (!address.empty() && address.front() == '/')
                address.erase(0, 1);
            EXPECT_NE(addresses.find(address.substr(0, address.find_first_of("?/"))),
                      std::string::npos)
                << entry.path().filename() << " points outside to " << (*it)[1];
        }
        for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1];
            EXPECT_TRUE(fs::is_regular_file(HelpFolder() / target))
                << entry.path().filename() << " links to missing " << target;
            if (entry.path().filename() == kHelpContentsPage) linkedFromContents.insert(target);
        }
    }
    for (const auto& entry : fs::directory_iterator(HelpFolder())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".html" && name != kHelpContentsPage) {
            EXPECT_TRUE(linkedFromContents.count(name)) << name << " is not in the contents";
        }
    }
}
