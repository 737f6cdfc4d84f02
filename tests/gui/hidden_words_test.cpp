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
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kNoDictionary = "the default dictionary is not in the runnable folder";

Rows ListRows(HWND list, int columns) {
    Rows rows(static_cast<std::size_t>(ListView_GetItemCount(list)));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int c = 0; c < columns; ++c) {
            char text[1000] = {};
            ListView_GetItemText(list, static_cast<int>(i), c, text, sizeof text);
            rows[i].push_back(text);
        }
    return rows;
}

std::string Caption(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

class HiddenWords : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override {
        if (app && app->Frame() && IsWindow(app->Frame()->Handle()))
            SendMessageA(app->Frame()->Handle(), WM_CLOSE, 0, 0);
        PumpMessages(10);
    }
    // Starts the program; false without a dictionary.
    bool Start() {
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->InitMainWindow();
        if (!app->InitInstance()) return false;
        view = app->ResultsView();
        PumpMessages(30);
        return view && view->Dictionary() && !view->Dictionary()->FirstInvalidPath();
    }
    void Search(const char* answer) {
        SetWindowTextA(view->AnswerBox(), answer);
        SendMessageA(GetDlgItem(view->Handle(), IDC_START), BM_CLICK, 0, 0);
        PumpMessages(30);
    }
    bool Enabled(UINT command) {
        fw::CommandEnabler ce(command);
        view->CommandEnable(ce);
        return ce.Enabled();
    }
    // The result menu from the keyboard; "H" picks Find Hidden Words.
    void FindFromTheMenu() {
        callback.Post(
            [] {
                if (HWND popup = FindWindowA("#32768", nullptr))
                    PostMessageA(popup, WM_CHAR, 'h', 0);
            },
            8);
        SendMessageA(view->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->List()),
                     MAKELPARAM(-1, -1));
        PumpMessages(30);
    }
    // A key sent where the focus is through the program's loop, Ctrl held or not.
    void Press(UINT vk, bool ctrl = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(GetFocus(), WM_KEYDOWN, vk, 0);
        PostMessageA(GetFocus(), WM_KEYUP, vk, 0);
        app->PumpWaitingMessages();
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
        SetKeyboardState(keys);
        PumpMessages(20);
    }

    RecordingShell shell;
    LoopCallback callback;
    std::unique_ptr<QuillonAppWindows> app;
    WordplayViewWindows* view = nullptr;
};

TEST_F(HiddenWords, ResultMenuListsTheFindersPhrasesAndTheKeyboardWorksTheRows) {
    if (!Start()) GTEST_SKIP() << kNoDictionary;
    EXPECT_FALSE(Enabled(CM_HIDDENWORDS)) << "no answer searched yet";
    Search("CARPET");
    EXPECT_TRUE(Enabled(CM_HIDDENWORDS));
    const std::vector<WordplayRow> rowsBefore = view->Rows();
    FindFromTheMenu();

    HiddenWordsViewWindows* window = view->HiddenWordsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetActiveWindow(), window->Handle());
    const HiddenWordList expected =
        HiddenWordIndex(*view->Dictionary()).Find(NormaliseAnswer(*view->Dictionary(), "CARPET"));
    ASSERT_FALSE(expected.rows.empty());
    EXPECT_EQ(ListRows(window->List(), 3), HiddenWordCells(expected)) << "best first";
    EXPECT_EQ(window->HeaderTitle(0), "Phrase");
    EXPECT_EQ(window->HeaderTitle(2), "Common words");
    const std::string caption = Caption(window->Handle());
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
    FindFromTheMenu();
    EXPECT_EQ(view->HiddenWordsWindow(), window);
    EXPECT_EQ(Caption(window->Handle()), "Hidden Words in qxjz");
    EXPECT_EQ(ListView_GetItemCount(window->List()), 0);
}

} // namespace
