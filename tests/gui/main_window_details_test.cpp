// The details a careful user meets in the main window: F1, the monitors, the
// show command, the notation column, history picks and damaged settings.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/HelpHook.h"
#include "context/Persist.h"
#include "context/Screen.h"
#include "help/HelpPages.h"
#include "resources/resource.h"
#include "results/ColumnTable.h"
#include "results/IndicatorTable.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace guitest;

class MainWindowDetails : public AppTest<> {
protected:
    void SetUp() override {
        AppTest::SetUp();
        CurrentHelpContext = 0;
        SavedHelpContext = 0;
    }
    void TearDown() override {
        Stop();
        ClearSettings();
    }
    HWND AnswerEdit() const { return GetWindow(view->AnswerBox(), GW_CHILD); }
    int AnswerHeight() const {
        RECT r{};
        GetWindowRect(AnswerEdit(), &r);
        return r.bottom - r.top;
    }
    std::string Page(int context) const {
        return DistDirectory() + "help\\" + HelpPageForContext(context);
    }
    // A key pressed in window, through the program's own message loop.
    void PressIn(HWND window, UINT key) {
        PostMessageA(window, WM_KEYDOWN, key, 0);
        PostMessageA(window, WM_KEYUP, key, 0);
        app->PumpWaitingMessages();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const WordplayRow& row : view->Rows())
            texts.push_back(row.text);
        return texts;
    }
};

TEST_F(MainWindowDetails, AMinimisedStartKeepsTheDefaultRestoredPlace) {
    Start(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(app->Frame()->CanClose());
    EXPECT_EQ(ReadSettingInt("WindowX", -1), 0);
    EXPECT_EQ(ReadSettingInt("WindowW", -1), GetSystemMetrics(SM_CXSCREEN) * 11 / 20);
}

// The main window of a process, or null.
HWND MainWindowOf(DWORD process) {
    for (HWND w = nullptr;
         (w = FindWindowExA(nullptr, w, "QuillonMainWindow", nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process) return w;
    }
    return nullptr;
}

// The show command of a shortcut (set to start maximised or minimised) reaches the window.
TEST_F(MainWindowDetails, TheShowCommandOfWinMainIsHonoured) {
    const std::string program = DistDirectory() + "Quillon.exe";
    ASSERT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES);
    for (WORD show : {WORD{SW_SHOWMAXIMIZED}, WORD{SW_SHOWMINNOACTIVE}}) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = show;
        PROCESS_INFORMATION pi{};
        std::string line = "\"" + program + "\"";
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi));
        fw::KernelHandle process(pi.hProcess), thread(pi.hThread);
        WaitForInputIdle(pi.hProcess, 20000);
        HWND window = nullptr;
        for (int i = 0; i < 200 && !(window = MainWindowOf(pi.dwProcessId)); ++i)
            Sleep(50);
        ASSERT_NE(window, nullptr) << show;
        Sleep(100);
        EXPECT_TRUE(show == SW_SHOWMAXIMIZED ? IsZoomed(window) : IsIconic(window)) << show;
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }
}

TEST_F(MainWindowDetails, MonitorsAreWhatTheSystemReports) {
    const std::vector<layout::Rect> monitors = MonitorRects();
    ASSERT_FALSE(monitors.empty());
    EXPECT_EQ(
        layout::VirtualScreen(monitors),
        (layout::Rect{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)}));
    // The primary monitor starts at 0,0 and has the screen's size.
    bool primary = false;
    for (const layout::Rect& m : monitors)
        primary = primary || m == layout::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN),
                                               GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(primary);
}

TEST_F(MainWindowDetails, F1ShowsTheTopicOfWhereTheFocusIs) {
    Start();
    view->OpenIndicators(IndicatorKind::Anagram, "");
    TableViewWindows* table = view->IndicatorsWindow(IndicatorKind::Anagram);
    ASSERT_NE(table, nullptr);
    const struct {
        const char* place;
        HWND window;
        int context;
    } cases[] = {{"answer box", AnswerEdit(), IDH_MAINWINDOW},
                 {"result list", view->List(), IDD_WORDPLAYVIEW},
                 {"Indicators window", table->List(), IDS_INDICATORANAGRAM}};
    for (const auto& c : cases) {
        shell.opened.clear();
        SetActiveWindow(GetAncestor(c.window, GA_ROOT));
        SetFocus(c.window);
        PressIn(c.window, VK_F1);
        EXPECT_EQ(shell.opened, std::vector<std::string>{Page(c.context)}) << c.place;
    }
    EXPECT_EQ(GetWindowTextLengthA(view->AnswerBox()), 0) << "F1 types nothing";

    // Help asked for by the system (WM_HELP) opens the main window's topic.
    shell.opened.clear();
    HELPINFO info{sizeof info, HELPINFO_WINDOW, IDC_RESULTLIST, view->List(), 0, {}};
    SendMessageA(view->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(shell.opened, std::vector<std::string>{Page(IDH_MAINWINDOW)});
}

TEST_F(MainWindowDetails, F1OnAHighlightedCommandOfTheResultMenuExplainsThatCommand) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    Search("carpet");
    ASSERT_FALSE(view->Rows().empty());
    const std::string statusBefore = app->Frame()->GetStatusBar()->Status();

    // Opens the result menu from the keyboard, presses keys in it, and closes
    // it once the help request the F1 key posts has been answered.
    std::vector<std::string> hints;
    auto inMenu = [&](std::vector<WPARAM> keys, const char* shot) {
        callback.Post(
            [&, keys, shot] {
                for (WPARAM key : keys)
                    PostMessageA(Frame(), WM_KEYDOWN, key, 0);
                callback.Post(
                    [&, shot] {
                        hints.push_back(app->Frame()->GetStatusBar()->Status());
                        if (shot) SaveScreenshot(Frame(), shot);
                        EndMenu();
                    },
                    4);
            },
            4);
        SetFocus(view->List());
        SendMessageA(view->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->List()),
                     MAKELPARAM(-1, -1));
        PumpMessages(20);
    };

    // Nothing highlighted: the menu's own topic.
    inMenu({VK_F1}, nullptr);
    EXPECT_EQ(shell.opened, std::vector<std::string>{Page(IDM_RESULTMENU)});

    // Indicators, External Lookup, Find Hidden Words, Copy: F1 explains Copy.
    shell.opened.clear();
    inMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_F1}, "results-menu-f1-copy");
    EXPECT_EQ(shell.opened, std::vector<std::string>{Page(CM_EDITCOPY)});
    ASSERT_EQ(hints.size(), 2u);
    EXPECT_EQ(hints[1], "Copy the selection and put it in the clipboard");

    // Up from the top wraps to Print Preview.
    shell.opened.clear();
    inMenu({VK_DOWN, VK_UP, VK_F1}, nullptr);
    EXPECT_EQ(shell.opened, std::vector<std::string>{Page(CM_FILEPRINTPREVIEW)});

    EXPECT_EQ(CurrentHelpContext, 0) << "a closed menu leaves no context behind";
    EXPECT_EQ(app->Frame()->GetStatusBar()->Status(), statusBefore);
    // The main menu still explains whole popups (its items share their page).
    EXPECT_NE(Page(CM_EDITCOPY), Page(IDM_RESULTMENU));
}

TEST_F(MainWindowDetails, AStoredOrderWithoutTheNotationFirstFallsBack) {
    WriteSettingInt("WordplayColumnUsage0", ColumnKind::Pieces);
    WriteSettingInt("WordplayColumnUsage1", ColumnKind::Wordplay);
    WriteSettingInt("WordplayColumnUsage2", ColumnKind::Type);
    WriteSettingInt("WordplayColumnDescending2", 1);
    Start();
    EXPECT_EQ(view->Columns(), ColumnTable());
    EXPECT_EQ(view->HeaderTitle(0), "Wordplay");
    EXPECT_EQ(view->HeaderTitle(1), "Pieces");
    EXPECT_EQ(view->HeaderTitle(2), "Type");
    SaveScreenshot(Frame(), "columns-notation-first");
    // A good order with the notation first is still taken.
    Stop();
    WriteSettingInt("WordplayColumnUsage0", ColumnKind::Wordplay);
    WriteSettingInt("WordplayColumnUsage1", ColumnKind::Type);
    WriteSettingInt("WordplayColumnUsage2", ColumnKind::Pieces);
    Start();
    EXPECT_EQ(view->HeaderTitle(1), "Type");
    EXPECT_TRUE(view->Columns().Descending(2));
}

TEST_F(MainWindowDetails, AHistoryPickIsSearchedAfterTheComboBoxHasFinished) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    Search("ice");
    Search("tea");
    using History = std::vector<std::string>;
    ASSERT_EQ(view->History(), (History{"tea", "ice"}));
    HWND box = view->AnswerBox();

    // The notification itself changes nothing: the box is still closing.
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(box, CB_SETCURSEL, 1, 0);
    SendMessageA(view->Handle(), WM_COMMAND, MAKEWPARAM(IDC_ANSWER, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
    SendMessageA(view->Handle(), WM_COMMAND, MAKEWPARAM(IDC_ANSWER, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(box));
    EXPECT_EQ(view->History(), (History{"tea", "ice"})) << "searched inside the notification";
    EXPECT_EQ(TextOf(Frame()), "tea - Quillon");
    SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
    PumpMessages(20);
    EXPECT_EQ(TextOf(Frame()), "ice - Quillon");
    EXPECT_EQ(view->History(), (History{"ice", "tea"}));

    // The whole way with the keyboard: open the list, move down, Enter.
    SetFocus(AnswerEdit());
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    PumpMessages(10);
    PostMessageA(AnswerEdit(), WM_KEYDOWN, VK_DOWN, 0);
    PumpMessages(10);
    PostMessageA(AnswerEdit(), WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages(50);
    EXPECT_FALSE(SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(TextOf(Frame()), "tea - Quillon");
    EXPECT_EQ(view->History(), (History{"tea", "ice"}));
    char text[64] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "tea");
    EXPECT_EQ(GetFocus(), view->List());
}

void StoreText(const char* name, const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), name, REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

// Whether some pixel of a row's notation column is plainly red.
bool RowShowsRed(HWND list, int item, int width) {
    RECT r{};
    ListView_GetItemRect(list, item, &r, LVIR_BOUNDS);
    fw::WindowDC dc(list);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.left + width && x < r.right; ++x) {
            const COLORREF c = GetPixel(dc.Get(), x, y);
            if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80) return true;
        }
    return false;
}

TEST_F(MainWindowDetails, DamagedSettingsTakeTheirDefaults) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    Search("carpet");
    const std::vector<std::string> expected = Texts();
    const int defaultBoxHeight = AnswerHeight();
    Stop();

    WriteSettingInt("WordplayMaxPieces", static_cast<int>(4000000000u)); // reads back negative
    StoreText("WordplayWordplayNotationColor", "999,999,-5");
    StoreText("WordplayAnswerFont", "0,0,0,-2000000000,0,0,0,400,0,0,0,0,3,2,1,49,Courier New");
    Start();
    EXPECT_EQ(view->MaxPieces(), 4);
    Search("carpet");
    EXPECT_EQ(Texts(), expected) << "every charade, container and deletion is still there";

    // The answer box keeps the default font's height, and takes typing.
    EXPECT_EQ(AnswerHeight(), defaultBoxHeight);
    SetWindowTextA(view->AnswerBox(), "");
    SetFocus(AnswerEdit());
    for (char c : std::string("tea"))
        SendMessageA(AnswerEdit(), WM_CHAR, static_cast<WPARAM>(c), 0);
    char typed[16] = {};
    GetWindowTextA(view->AnswerBox(), typed, sizeof typed);
    EXPECT_STREQ(typed, "tea");

    // The notation symbols are drawn in the default red, not near-white.
    int item = -1;
    for (std::size_t i = 1; i < view->Rows().size() && item < 0; ++i)
        if (view->Rows()[i].text.find(" + ") != std::string::npos) item = static_cast<int>(i);
    ASSERT_GT(item, 0);
    ListView_EnsureVisible(view->List(), item, FALSE);
    RedrawWindow(view->List(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(RowShowsRed(view->List(), item, ListView_GetColumnWidth(view->List(), 0)))
        << view->Rows()[static_cast<std::size_t>(item)].text;
    SaveScreenshot(Frame(), "damaged-settings-defaults");
}

} // namespace
