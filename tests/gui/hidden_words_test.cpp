// Find Hidden Words: the command on the result menu and the window it opens,
// compared with the finder's phrases for the default dictionary.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/Persist.h"
#include "resources/resource.h"
#include "results/IndicatorTable.h"
#include "search/HiddenWords.h"
#include "search/WordplaySearch.h"
#include "views/HiddenWordsViewWindows.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace guitest;

class HiddenWords : public AppTest<> {
protected:
    // Starts the program; false without a dictionary.
    bool Open() {
        Start();
        return !HasFatalFailure() && HaveDictionary();
    }
    // A key sent where the focus is through the program's loop, Ctrl held or not.
    void Press(UINT vk, bool ctrl = false) {
        HoldKeys({VK_CONTROL, VK_LCONTROL}, ctrl);
        PostMessageA(GetFocus(), WM_KEYDOWN, vk, 0);
        PostMessageA(GetFocus(), WM_KEYUP, vk, 0);
        app->PumpWaitingMessages();
        HoldKeys({VK_CONTROL, VK_LCONTROL}, false);
        PumpMessages(20);
    }
};

TEST_F(HiddenWords, ResultMenuListsTheFindersPhrasesAndTheKeyboardWorksTheRows) {
    if (!Open()) GTEST_SKIP() << kNoDictionary;
    EXPECT_FALSE(Enabled(CM_HIDDENWORDS)) << "no answer searched yet";
    Search("CARPET");
    EXPECT_TRUE(Enabled(CM_HIDDENWORDS));
    const std::vector<WordplayRow> rowsBefore = view->Rows();
    FromResultMenu('h');

    HiddenWordsViewWindows* window = view->HiddenWordsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetActiveWindow(), window->Handle());
    const HiddenWordList expected =
        HiddenWordIndex(*view->Dictionary()).Find(NormaliseAnswer(*view->Dictionary(), "CARPET"));
    ASSERT_FALSE(expected.rows.empty());
    EXPECT_EQ(ListRows(window->List(), 3), HiddenWordCells(expected)) << "best first";
    EXPECT_EQ(window->HeaderTitle(0), "Phrase");
    EXPECT_EQ(window->HeaderTitle(2), "Common words");
    const std::string caption = TextOf(window->Handle());
    EXPECT_EQ(caption.rfind("Hidden Words in CARPET", 0), 0u) << caption;
    ASSERT_TRUE(expected.Cut()) << "CARPET hides in more phrases than are listed";
    EXPECT_NE(caption.find(": the best 200 of "), std::string::npos) << caption;
    EXPECT_EQ(view->Rows(), rowsBefore) << "the search's own rows stay";
    ListView_EnsureVisible(window->List(), 0, FALSE);
    SaveScreenshot(window->Handle(), "hidden-words");

    // The rows copy and select from the keyboard; F1 helps; F5 goes back.
    const HWND list = window->List();
    SetFocus(list);
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    Press('C', true);
    EXPECT_EQ(ClipboardText(), CopyTableRows(ListRows(list, 3), {0, 2}, 3))
        << "in the list's order";

    Press('A', true);
    EXPECT_EQ(ListView_GetSelectedCount(list), ListView_GetItemCount(list));

    shell.opened.clear();
    Press(VK_F1);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_NE(shell.opened[0].find("hidden_words.html"), std::string::npos) << shell.opened[0];

    Press(VK_F5);
    EXPECT_NE(GetActiveWindow(), window->Handle());
    EXPECT_TRUE(IsWindowVisible(window->Handle())) << "F5 leaves the table open";

    // Another answer with no phrases: the same window, empty.
    Search("qxjz");
    FromResultMenu('h');
    EXPECT_EQ(view->HiddenWordsWindow(), window);
    EXPECT_EQ(TextOf(window->Handle()), "Hidden Words in qxjz");
    EXPECT_EQ(ListView_GetItemCount(window->List()), 0);
}

} // namespace
