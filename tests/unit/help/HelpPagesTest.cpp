#include "help/HelpPages.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

TEST(HelpPages, ContextsTheProgramAsksForHaveTheirOwnPages) {
    // The menus, the main window, Quick Start, the window menu, print
    // preview, the Options pages, the dialogs and the indicator tables.
    for (int context : {IDH_FILEMENU,
                        IDH_EDITMENU,
                        IDH_LOOKUPMENU,
                        IDH_TOOLSMENU,
                        IDH_HELPMENU,
                        IDM_HEADERMENU,
                        IDM_RESULTMENU,
                        IDH_QUICKSTART,
                        IDH_MAINWINDOW,
                        IDH_SYSTEMMENU,
                        IDH_PRINTPREVIEW,
                        IDS_PAGEAPPEARANCE,
                        IDS_PAGEDICTIONARY,
                        IDS_PAGERESULT,
                        IDD_LOOKUP,
                        IDD_ABOUT,
                        IDS_INDICATORCHARADE,
                        IDS_INDICATORCONTAINER,
                        IDS_INDICATORREVERSAL,
                        IDS_INDICATORANAGRAM,
                        IDS_INDICATORABBREVIATION})
        EXPECT_NE(HelpPageForContext(context), kHelpContentsPage) << "context " << context;
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
    std::set<std::string> linkedFromContents;
    for (const auto& entry : fs::directory_iterator(HelpFolder())) {
        if (entry.path().extension() != ".html") continue;
        const std::string text = ReadFile(entry.path());
        EXPECT_NE(text.find("href=\"help.css\""), std::string::npos) << entry.path();
        EXPECT_NE(text.find("<h1>"), std::string::npos) << entry.path();
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
