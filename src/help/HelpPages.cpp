#include "help/HelpPages.h"

#include "resources/resource.h"

#include <algorithm>

namespace {

constexpr HelpTopic kTopics[] = {
    // Windows and dialogs.
    {IDH_MAINWINDOW, "main_window.html"},
    {IDH_QUICKSTART, "quick_start.html"},
    {IDH_SYSTEMMENU, "window_menu.html"},
    {IDH_PRINTPREVIEW, "print_preview.html"},
    {IDD_OPTIONS, "options_appearance.html"},
    {IDS_PAGEAPPEARANCE, "options_appearance.html"},
    {IDS_PAGEDICTIONARY, "options_dictionary.html"},
    {IDS_PAGERESULT, "options_result.html"},
    {IDD_LOOKUP, "lookup_methods.html"},
    {IDD_ABOUT, "about.html"},
    {IDS_INDICATORCHARADE, "indicators_charade.html"},
    {IDS_INDICATORCONTAINER, "indicators_container.html"},
    {IDS_INDICATORREVERSAL, "indicators_reversal.html"},
    {IDS_INDICATORANAGRAM, "indicators_anagram.html"},
    {IDS_INDICATORABBREVIATION, "indicators_abbreviation.html"},
    {IDD_OWBUILD, "owbuild.html"},
    {IDD_OWMERGE, "owmerge.html"},
    {IDS_HIDDENWORDS, "hidden_words.html"},

    // Menus, and the commands on them.
    {IDH_FILEMENU, "file_menu.html"},
    {CM_FILEPRINT, "file_menu.html"},
    {CM_FILEPRINTPREVIEW, "file_menu.html"},
    {CM_FILEPAGESETUP, "file_menu.html"},
    {CM_EXIT, "file_menu.html"},

    {IDH_EDITMENU, "edit_menu.html"},
    {CM_EDITCUT, "edit_menu.html"},
    {CM_EDITCOPY, "edit_menu.html"},
    {CM_EDITPASTE, "edit_menu.html"},
    {CM_EDITSELECTALL, "edit_menu.html"},

    {IDH_LOOKUPMENU, "external_lookup.html"},
    {CM_LOOKUPSETUP, "external_lookup.html"},
    {CM_LOOKUPWORD, "external_lookup.html"},
    {CM_LOOKUPDEFAULT, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 0, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 1, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 2, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 3, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 4, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 5, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 6, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 7, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 8, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 9, "external_lookup.html"},
    {CM_LOOKUPMETHOD0 + 10, "external_lookup.html"},
    {CM_LOOKUPMETHODLAST, "external_lookup.html"},

    {IDH_TOOLSMENU, "tools_menu.html"},
    {CM_OPTIONS, "tools_menu.html"},
    {CM_OWBUILD, "tools_menu.html"},
    {CM_OWMERGE, "tools_menu.html"},

    {IDH_HELPMENU, "help_menu.html"},
    {CM_HELPQUICKSTART, "help_menu.html"},
    {CM_HELPCONTENTS, "help_menu.html"},
    {CM_TUTORIALS, "help_menu.html"},
    {CM_EMAILSUPPORT, "help_menu.html"},
    {CM_ONLINEHELP, "help_menu.html"},
    {CM_HELPABOUT, "help_menu.html"},

    {IDM_HEADERMENU, "column_menu.html"},
    {CM_SORTASCENDING, "column_menu.html"},
    {CM_SORTDESCENDING, "column_menu.html"},
    {CM_PROMOTE, "column_menu.html"},
    {CM_DEMOTE, "column_menu.html"},

    {IDM_RESULTMENU, "results_menu.html"},
    {IDM_TABLEMENU, "table_menu.html"},
    {CM_INDICATORS, "results_menu.html"},
    {CM_HIDDENWORDS, "results_menu.html"},
};

} // namespace

std::span<const HelpTopic> HelpTopics() {
    return kTopics;
}

std::string HelpPageForContext(int context) {
    const auto it = std::find_if(std::begin(kTopics), std::end(kTopics),
                                 [context](const HelpTopic& t) { return t.context == context; });
    return it == std::end(kTopics) ? kHelpContentsPage : it->page;
}
