// The main window as the user meets it: start-up, menu, status bar, menu
// hints, where the window opens and what Exit stores, and F1 on open menus.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/HelpHook.h"
#include "context/Persist.h"
#include "help/HelpPages.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

namespace {

using namespace guitest;

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        CurrentHelpContext = 0;
        SavedHelpContext = 0;
    }
    void TearDown() override {
        if (app && Frame() && IsWindow(Frame())) DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
        ClearSettings(); // the next program started in this prefix starts afresh
    }

    void Start() {
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->InitMainWindow();
        ASSERT_TRUE(app->InitInstance());
        PumpMessages(30);
    }
    // File > Exit, then the loop until the quit message; true when it came.
    bool Exit() {
        SendMessageA(Frame(), WM_COMMAND, CM_EXIT, 0);
        return PumpMessages(30) == 1;
    }
    HWND Frame() const { return app && app->Frame() ? app->Frame()->Handle() : nullptr; }
    // Left, top, width and height of the frame on screen, and as stored.
    using Box = std::array<int, 4>;
    Box FrameBox() const {
        RECT r{};
        GetWindowRect(Frame(), &r);
        return {static_cast<int>(r.left), static_cast<int>(r.top),
                static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
    }
    static Box DefaultBox() {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN) * 11 / 20,
                GetSystemMetrics(SM_CYSCREEN) * 7 / 8};
    }
    static void StoreBox(const Box& b) {
        WriteSettingInt("WindowX", b[0]);
        WriteSettingInt("WindowY", b[1]);
        WriteSettingInt("WindowW", b[2]);
        WriteSettingInt("WindowH", b[3]);
    }
    static Box StoredBox() {
        return {ReadSettingInt("WindowX", -1), ReadSettingInt("WindowY", -1),
                ReadSettingInt("WindowW", -1), ReadSettingInt("WindowH", -1)};
    }
    std::string Status() const { return app->Frame()->GetStatusBar()->Status(); }

    // Opens the menu-bar popup with the given access key as the keyboard
    // does, runs whileOpen inside the menu loop, then presses the keys. The
    // menu may open its popup through a key message it posts to itself, so
    // the callback waits a few turns of the loop before it looks.
    void WithMenuOpen(char accessKey, std::function<void()> whileOpen, std::vector<WPARAM> keys) {
        auto step = std::make_shared<std::function<void(int)>>();
        *step = [this, step, whileOpen, keys](int turnsLeft) {
            if (turnsLeft > 0) {
                callback.Post([step, turnsLeft] { (*step)(turnsLeft - 1); });
                return;
            }
            whileOpen();
            for (WPARAM key : keys)
                PostMessageA(Frame(), WM_KEYDOWN, key, 0);
            // Escape twice: once for the popup, once for the menu bar.
            PostMessageA(Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
        };
        callback.Post([step] { (*step)(3); });
        SendMessageA(Frame(), WM_SYSCOMMAND, SC_KEYMENU, accessKey);
        PumpMessages(30);
        *step = nullptr; // breaks the cycle of the shared step
    }

    RecordingShell shell;
    LoopCallback callback;
    std::unique_ptr<QuillonAppWindows> app;
};

TEST_F(MainFrame, StartsWithCaptionMenuAndStatusBar) {
    Start();
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Frame()));
    EXPECT_EQ(FindWindowA("QuillonMainWindow", "Quillon"), Frame()) << "class and caption";

    fw::MenuView bar(GetMenu(Frame()));
    ASSERT_EQ(bar.ItemCount(), 4);
    EXPECT_EQ(bar.ItemText(0) + bar.ItemText(1) + bar.ItemText(2), "&File&Edit&Tools");
    // The Help popup sits at the right end of the bar.
    EXPECT_NE(bar.ItemText(3).find("&Help"), std::string::npos);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(bar.Get(), 3, TRUE, &info);
    EXPECT_TRUE((info.fType & MFT_RIGHTJUSTIFY) || bar.ItemText(3)[0] == '\b');

    struct Item {
        int popup, pos;
        UINT id;
        const char* caption;
    };
    const Item items[] = {
        {0, 0, CM_FILEPRINT, "&Print...\tCtrl+P"}, {0, 4, CM_EXIT, "E&xit"},
        {1, 0, CM_EDITCUT, "Cu&t\tCtrl+X"},        {1, 4, CM_EDITSELECTALL, "&Select All\tCtrl+A"},
        {2, 0, CM_OPTIONS, "&Options..."},         {3, 0, CM_HELPQUICKSTART, "&Quick Start"},
        {3, 7, CM_HELPABOUT, "&About Quillon..."},
    };
    for (const Item& item : items) {
        fw::MenuView popup(bar.SubMenu(item.popup));
        EXPECT_EQ(popup.ItemId(item.pos), item.id) << item.caption;
        EXPECT_EQ(popup.ItemText(item.pos), item.caption);
    }
    fw::MenuView edit(bar.SubMenu(1));
    fw::MenuView lookup(edit.SubMenu(6));
    EXPECT_EQ(edit.ItemText(6), "&External Lookup");
    EXPECT_EQ(lookup.ItemText(1), "&Setup...");
    EXPECT_EQ(lookup.ItemId(1), static_cast<UINT>(CM_LOOKUPSETUP));

    // The status bar runs along the bottom edge of the frame's inside.
    HWND status = app->Frame()->GetStatusBar()->Handle();
    ASSERT_TRUE(IsWindowVisible(status));
    RECT inside{}, barRect{};
    GetClientRect(Frame(), &inside);
    GetWindowRect(status, &barRect);
    MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&barRect), 2);
    EXPECT_EQ(barRect.bottom, inside.bottom);
    EXPECT_EQ(barRect.right - barRect.left, inside.right);
    EXPECT_EQ(Status(), "Press F1 for help");
    EXPECT_TRUE(HelpHook::Live() && HelpHook::Live()->Frame() == Frame());

    SaveScreenshot(Frame(), "main-window");
}

TEST_F(MainFrame, MenuHintsFollowTheHighlightedCommand) {
    Start();
    HMENU file = GetSubMenu(GetMenu(Frame()), 0);
    auto select = [&](UINT item, UINT flags, HMENU menu) {
        SendMessageA(Frame(), WM_MENUSELECT, MAKEWPARAM(item, flags),
                     reinterpret_cast<LPARAM>(menu));
    };
    select(CM_FILEPRINT, MF_STRING, file);
    EXPECT_EQ(Status(), "Print the wordplay selected in the list of results");
    select(CM_EXIT, MF_STRING, file);
    EXPECT_EQ(Status(), "Exit Quillon");
    select(CM_OWMERGE, MF_STRING, GetSubMenu(GetMenu(Frame()), 2));
    EXPECT_EQ(Status(), "Start the Orbweave Word List Merge application");
    select(0, 0xFFFF, nullptr);
    EXPECT_EQ(Status(), "Press F1 for help");

    // In a real menu: the hint of the highlighted item shows while it is open.
    std::string whileOpen;
    WithMenuOpen('t',
                 [&] {
                     whileOpen = Status();
                     SaveScreenshot(Frame(), "menu-tools-hint");
                 },
                 {});
    EXPECT_EQ(whileOpen, "Change Quillon settings");
    EXPECT_EQ(Status(), "Press F1 for help");
}

TEST_F(MainFrame, MenuItemsFollowTheirEnablers) {
    Start();
    HMENU bar = GetMenu(Frame());
    for (int i = 0; i < 4; ++i)
        SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, i)), i);
    auto enabled = [&](UINT id) {
        return !(GetMenuState(bar, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    };
    // Nothing found yet and nothing typed: nothing to print, copy or select.
    for (UINT id : {CM_FILEPRINT, CM_FILEPRINTPREVIEW, CM_EDITCUT, CM_EDITCOPY, CM_EDITSELECTALL})
        EXPECT_FALSE(enabled(id)) << id;
    // Page Setup needs only a printer.
    EXPECT_EQ(enabled(CM_FILEPAGESETUP), app->Context()->GetPrinter() != nullptr);
    // The frame's and the application's own commands and the options are
    // always there.
    for (UINT id : {CM_EXIT, CM_OWBUILD, CM_OWMERGE, CM_HELPQUICKSTART, CM_HELPCONTENTS,
                    CM_TUTORIALS, CM_EMAILSUPPORT, CM_ONLINEHELP, CM_HELPABOUT, CM_OPTIONS})
        EXPECT_TRUE(enabled(id)) << id;
}

TEST_F(MainFrame, PopupsSetTheirHelpContext) {
    Start();
    HMENU bar = GetMenu(Frame());
    auto open = [&](HMENU popup, bool system = false) {
        SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                     MAKELPARAM(0, system));
        return CurrentHelpContext;
    };
    std::vector<std::pair<HMENU, bool>> filled;
    app->Frame()->SetLookupPopupFiller(
        [&](HMENU popup, bool enabled) { filled.emplace_back(popup, enabled); });
    EXPECT_EQ(open(GetSubMenu(bar, 0)), IDH_FILEMENU);
    EXPECT_EQ(open(GetSubMenu(bar, 1)), IDH_EDITMENU) << "Cut comes before the nested Setup";
    EXPECT_TRUE(filled.empty()) << "only the External Lookup popup gets the lookup methods";
    EXPECT_EQ(open(GetSubMenu(GetSubMenu(bar, 1), 6)), IDH_LOOKUPMENU);
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].first, GetSubMenu(GetSubMenu(bar, 1), 6));
    EXPECT_FALSE(filled[0].second) << "no word to look up before a search";
    EXPECT_EQ(open(GetSubMenu(bar, 2)), IDH_TOOLSMENU);
    EXPECT_EQ(open(GetSubMenu(bar, 3)), IDH_HELPMENU);
    EXPECT_EQ(SavedHelpContext, IDH_HELPMENU);
    // A popup without an identifying command and the system menu change nothing.
    fw::Menu other(CreatePopupMenu());
    AppendMenuA(other.Get(), MF_STRING, 31990, "Other");
    EXPECT_EQ(open(other.Get()), IDH_HELPMENU);
    EXPECT_EQ(open(GetSystemMenu(Frame(), FALSE), true), IDH_HELPMENU);
    // The two context menus of the results view.
    fw::Menu header(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_HEADERMENU)));
    EXPECT_EQ(WordplayFrameWindow::HelpContextOfPopup(GetSubMenu(header.Get(), 0)), IDM_HEADERMENU);
    fw::Menu withLookup(CreatePopupMenu());
    AppendMenuA(withLookup.Get(), MF_STRING, CM_LOOKUPWORD, "Look up");
    EXPECT_EQ(WordplayFrameWindow::HelpContextOfPopup(withLookup.Get()), IDM_RESULTMENU);
    // The result list's menu nests External Lookup: opening it keeps the context
    // its owner set and gets no lookup methods; its nested popup does.
    fw::Menu results(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_RESULTMENU)));
    HMENU resultPopup = GetSubMenu(results.Get(), 0);
    CurrentHelpContext = IDM_RESULTMENU;
    filled.clear();
    EXPECT_EQ(open(resultPopup), IDM_RESULTMENU);
    EXPECT_TRUE(filled.empty());
    EXPECT_EQ(open(GetSubMenu(resultPopup, 1)), IDH_LOOKUPMENU);
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].first, GetSubMenu(resultPopup, 1));
}

TEST_F(MainFrame, F1OnAnOpenMenuShowsThatMenusHelp) {
    Start();
    const std::string helpFolder = DistDirectory() + "help\\";
    struct Case {
        char key;
        int context;
        const char* shot;
    };
    for (const Case& c :
         {Case{'f', IDH_FILEMENU, "menu-file-open"}, Case{'e', IDH_EDITMENU, "menu-edit-open"},
          Case{'t', IDH_TOOLSMENU, "menu-tools-open"}}) {
        shell.opened.clear();
        shell.reported.clear();
        WithMenuOpen(c.key, [&] { SaveScreenshot(Frame(), c.shot); }, {VK_F1});
        ASSERT_EQ(shell.opened.size(), 1u)
            << c.key << (shell.reported.empty() ? "" : shell.reported[0]);
        EXPECT_EQ(shell.opened[0], helpFolder + HelpPageForContext(c.context)) << c.key;
        EXPECT_EQ(CurrentHelpContext, c.context);
    }
    // F1 outside any menu: the context of the last popup, then the main topic.
    shell.opened.clear();
    PostMessageA(Frame(), HelpRequestMessage, 0, 0);
    CurrentHelpContext = 0;
    PumpMessages(10);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], helpFolder + HelpPageForContext(IDH_MAINWINDOW));
}

TEST_F(MainFrame, ExitStoresThePlacementAndTheNextStartRestoresIt) {
    Start();
    EXPECT_EQ(FrameBox(), DefaultBox()) << "the first start";
    EXPECT_EQ(StoredBox(), (Box{-1, -1, -1, -1})) << "nothing is written while running";
    MoveWindow(Frame(), 120, 80, 640, 480, TRUE);
    ASSERT_TRUE(Exit()) << "closing posts the quit message";
    EXPECT_FALSE(IsWindow(Frame()));
    EXPECT_EQ(HelpHook::Live(), nullptr);
    EXPECT_EQ(StoredBox(), (Box{120, 80, 640, 480}));
    EXPECT_TRUE(shell.opened.empty()) << "closing the help opens nothing";
    app.reset();
    Start();
    EXPECT_EQ(FrameBox(), (Box{120, 80, 640, 480}));
}

TEST_F(MainFrame, EndingTheWindowsSessionStoresThePlacement) {
    Start();
    MoveWindow(Frame(), 60, 70, 500, 400, TRUE);
    SendMessageA(Frame(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(ReadSettingInt("WindowX", -1), -1) << "a cancelled shutdown stores nothing";
    SendMessageA(Frame(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(StoredBox(), (Box{60, 70, 500, 400}));
}

TEST_F(MainFrame, ClosingMaximisedStoresTheRestoredSize) {
    StoreBox({30, 40, 500, 350});
    Start();
    ShowWindow(Frame(), SW_MAXIMIZE);
    PumpMessages(20);
    ASSERT_TRUE(IsZoomed(Frame()));
    ASSERT_TRUE(Exit());
    EXPECT_EQ(StoredBox(), (Box{30, 40, 500, 350}));
    app.reset();
    Start();
    EXPECT_FALSE(IsZoomed(Frame()));
    EXPECT_EQ(FrameBox(), (Box{30, 40, 500, 350}));
}

TEST_F(MainFrame, StoredPlacementIsCheckedAgainstTheScreen) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        Box stored;
        bool used;
        const char* why;
    };
    const Case cases[] = {
        {{3000, 10, 400, 300}, false, "left edge beyond a narrower screen"},
        {{sw, 10, 400, 300}, false, "left edge exactly at the screen width"},
        {{10, sh, 400, 300}, false, "top edge at the screen height"},
        {{10, 10, 0, 300}, false, "no width"},
        {{10, 10, 400, -5}, false, "negative height"},
        {{-900, 10, 800, 300}, false, "wholly off the left edge"},
        {{-50, 20, 400, 300}, true, "partly off the left edge"},
        {{sw - 1, sh - 1, 400, 300}, true, "one pixel on screen"},
    };
    for (const Case& c : cases) {
        StoreBox(c.stored);
        Start();
        EXPECT_EQ(FrameBox(), c.used ? c.stored : DefaultBox()) << c.why;
        DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
    }
}

} // namespace
