// External lookup in the real program: the External Lookup submenus, the
// Lookup Methods dialog, and each kind of method delivering the selected word
// to a real peer (a DDE server, a window that takes WM_COMMAND and reads the
// clipboard, a program that records its arguments; web searches through the
// address handed to the shell), with the failure box when delivery fails.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/Persist.h"
#include "lookup/LookupMethodSet.h"
#include "lookup/LookupText.h"
#include "resources/resource.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

namespace {

using namespace guitest;
using Kind = LookupKind;

constexpr const char* kFailureCaption = "Dictionary Lookup Failure";
constexpr const char* kNoDictionary = "the default dictionary is not in the runnable folder";
const std::string kSuffix = "\tCtrl+Alt+Enter";

// Words as a user types them into the answer box (at most 31 characters):
// blanks, an apostrophe, quotes after a backslash and a trailing backslash,
// accented letters of the Western code page.
const std::vector<std::string> kTypedWords = {"ice cream", "o'er", "a\\\"b \"c\"\\",
                                              "caf\xE9 cr\xE8me"};

std::string PeerPath(const char* name) {
    return ProgramDirectory() + name + ".exe";
}

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

// Waits for a file to appear, for at most ms milliseconds.
bool WaitForFile(const std::string& path, int ms) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        PumpMessages(50);
    }
    return false;
}

void WriteText(const char* name, const std::string& text) {
    RegistrySettings().Open(PersistMode::Write)->WriteString(name, text);
}

std::string ReadText(const char* name) {
    std::string text = "(absent)";
    RegistrySettings().Open(PersistMode::Read)->ReadString(name, text);
    return text;
}

// Holds keys down in the thread's keyboard state, which the accelerator
// translation reads.
class KeysHeld {
public:
    KeysHeld() { Set(0x80); }
    ~KeysHeld() { Set(0); }

private:
    static void Set(BYTE state) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        for (int vk : {VK_CONTROL, VK_LCONTROL, VK_MENU, VK_LMENU})
            keys[vk] = state;
        SetKeyboardState(keys);
    }
};

// The texts of every static control of a window, joined by line breaks.
std::string StaticTexts(HWND window) {
    std::string texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        char text[512] = {};
        if (lstrcmpiA(name, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
            texts += std::string(texts.empty() ? "" : "\n") + text;
    }
    return texts;
}

// Calls step from inside whatever modal loop runs, a turn of it apart, until
// step answers true or the tries run out.
class Poller {
public:
    void Start(std::function<bool()> step, int tries = 250) {
        step_ = std::move(step);
        left_ = tries;
        Next();
    }

private:
    void Next() {
        callback_.Post(
            [this] {
                if (step_() || --left_ <= 0) return;
                Next();
            },
            1);
    }
    LoopCallback callback_;
    std::function<bool()> step_;
    int left_ = 0;
};

// Closes the message boxes a dialog has put up (an error about a file name).
void CloseBoxesOwnedBy(HWND owner) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM o) -> BOOL {
            if (GetWindow(hwnd, GW_OWNER) == reinterpret_cast<HWND>(o))
                PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(owner));
}

// Records what the program opens; starts programs for real.
class PeerShell : public RecordingShell {
public:
    bool StartProcess(const std::string& commandLine) override {
        started.push_back(commandLine);
        return SystemShell().StartProcess(commandLine);
    }
};

struct MenuItem {
    UINT id;
    std::string text;
    bool checked;
    bool grayed;
    bool radio;
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

std::ostream& operator<<(std::ostream& out, const MenuItem& item) {
    return out << item.id << " '" << item.text << "'" << (item.checked ? " checked" : "")
               << (item.grayed ? " grayed" : "") << (item.radio ? " radio" : "");
}

std::vector<MenuItem> Items(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        // A separator counts as grey in some systems; it has no state to show.
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        items.push_back({info.wID, text, !separator && (info.fState & MFS_CHECKED) != 0,
                         !separator && (info.fState & MFS_GRAYED) != 0,
                         (info.fType & MFT_RADIOCHECK) != 0});
    }
    return items;
}

MenuItem Method(UINT n, const std::string& text, bool isDefault, bool enabled) {
    return {CM_LOOKUPMETHOD0 + n, isDefault ? text + kSuffix : text, isDefault, !enabled, true};
}

const MenuItem kSeparator{0, "", false, false, false};
const MenuItem kSetup{CM_LOOKUPSETUP, "&Setup...", false, false, false};

class Lookup : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        const std::string stem =
            std::string(temp) + "quillon-lookup-" + std::to_string(GetCurrentProcessId()) + "-";
        ddeRecord = stem + "dde.txt";
        windowRecord = stem + "window.txt";
        argsRecord = stem + "args.txt";
        for (const std::string& path : {ddeRecord, windowRecord, argsRecord})
            DeleteFileA(path.c_str());
        SetEnvironmentVariableA("QUILLON_PEER_RECORD", argsRecord.c_str());
    }
    void TearDown() override {
        Stop();
        for (const PROCESS_INFORMATION& pi : peers) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(pi.hProcess, 1);
                WaitForSingleObject(pi.hProcess, 5000);
            }
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
        for (const std::string& path : {ddeRecord, windowRecord, argsRecord})
            DeleteFileA(path.c_str());
        ClearSettings();
    }

    void Start() {
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->InitMainWindow();
        ASSERT_TRUE(app->InitInstance());
        view = app->ResultsView();
        PumpMessages(30);
    }
    void Stop() {
        if (app && Frame() && IsWindow(Frame())) DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
        view = nullptr;
    }
    HWND Frame() const { return app && app->Frame() ? app->Frame()->Handle() : nullptr; }
    LookupMethodSet& Methods() { return app->Context()->LookupMethods(); }
    void Command(UINT id) {
        SendMessageA(Frame(), WM_COMMAND, id, 0);
        PumpMessages(10);
    }

    // The lookup items and fixed items of Edit > External Lookup as it opens.
    std::vector<MenuItem> EditLookupMenu() {
        HMENU popup = GetSubMenu(GetSubMenu(GetMenu(Frame()), 1), 6);
        SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 6);
        return Items(popup);
    }
    // The same for the External Lookup popup of the result list's menu.
    std::vector<MenuItem> ResultLookupMenu() {
        fw::Menu menu = view->BuildContextMenu(false, -1);
        HMENU popup = GetSubMenu(GetSubMenu(menu.Get(), 0), 1);
        SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 1);
        return Items(popup);
    }

    bool Search(const std::string& answer) {
        if (!view->Dictionary() || view->Dictionary()->FirstInvalidPath()) return false;
        SetWindowTextA(view->AnswerBox(), answer.c_str());
        SendMessageA(GetDlgItem(view->Handle(), IDC_START), BM_CLICK, 0, 0);
        PumpMessages(30);
        return !view->Rows().empty();
    }
    // The answer box holds word and has the focus, as while the user types.
    void Type(const std::string& word) {
        SetFocus(view->AnswerBox());
        SetWindowTextA(view->AnswerBox(), word.c_str());
        SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(-1, -1));
    }
    // Points at the first token of the last row with the list focused; the
    // word the pointer is on.
    std::string PointAtLastRow() {
        SetFocus(view->List());
        const int last = static_cast<int>(view->Rows().size()) - 1;
        ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(view->List(), last, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        RECT r{};
        ListView_GetItemRect(view->List(), last, &r, LVIR_BOUNDS);
        view->HitTestToken(POINT{r.left + 3, (r.top + r.bottom) / 2});
        return view->Token().text;
    }
    // Ctrl+Alt+Enter pressed in the focused control, through the program's loop.
    void CtrlAltEnter() {
        KeysHeld held;
        PostMessageA(GetFocus(), WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
        app->PumpWaitingMessages();
        PumpMessages(10);
    }

    // Runs action; the text of the failure box it showed (then closed with
    // OK), or none when it showed none.
    std::optional<std::string> FailureBox(const std::function<void()>& action,
                                          HWND expectedOwner = nullptr) {
        std::optional<std::string> text;
        boxCallback.Post(
            [&] {
                HWND box = FindWindowA("#32770", kFailureCaption);
                if (!box) return;
                text = StaticTexts(box);
                if (expectedOwner) {
                    EXPECT_EQ(GetWindow(box, GW_OWNER), expectedOwner);
                }
                SaveScreenshot(box, "lookup-failure");
                SendMessageA(box, WM_COMMAND, IDOK, 0);
            },
            6);
        action();
        PumpMessages(60);
        return text;
    }
    std::string FailureText() const { return app->Context()->LoadResourceString(IDS_LOOKUPFAILED); }

    void StartPeer(std::string commandLine) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi))
            << commandLine;
        peers.push_back(pi);
    }
    void StartDdePeer(const std::string& service, const std::string& topic) {
        const std::string ready = "QuillonDdePeerReady-" + std::to_string(GetCurrentProcessId());
        fw::KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, ready.c_str()));
        StartPeer("\"" + PeerPath("lookup_peer_dde") + "\" " + service + " " + topic + " \"" +
                  ddeRecord + "\" " + ready + " 60");
        ASSERT_EQ(WaitForSingleObject(event.Get(), 20000), WAIT_OBJECT_0) << "the DDE peer";
    }
    void StartWindowPeer(const std::string& title) {
        StartPeer("\"" + PeerPath("lookup_peer_window") + "\" \"" + title + "\" \"" + windowRecord +
                  "\" 60");
        for (int waited = 0; !FindWindowA(nullptr, title.c_str()) && waited < 20000; waited += 50)
            Sleep(50);
        ASSERT_NE(FindWindowA(nullptr, title.c_str()), nullptr) << "the window peer";
    }
    // The arguments the program peer received, waiting for it to write them.
    std::vector<std::string> ProgramArguments() {
        std::vector<std::string> args;
        if (!WaitForFile(argsRecord, 20000)) return {"(the program peer wrote nothing)"};
        for (const std::string& line : ReadLines(argsRecord))
            args.push_back(Unhex(line));
        DeleteFileA(argsRecord.c_str());
        return args;
    }

    PeerShell shell;
    LoopCallback callback;
    LoopCallback boxCallback;
    std::unique_ptr<QuillonAppWindows> app;
    WordplayViewWindows* view = nullptr;
    std::vector<PROCESS_INFORMATION> peers;
    std::string ddeRecord, windowRecord, argsRecord;
};

// ----------------------------------------------------------------- menus

TEST_F(Lookup, FirstRunMenusOfferTheWebSearchesWhenThereIsAWord) {
    Start();
    const std::vector<MenuItem> none = {Method(0, "&Google", true, false),
                                        Method(1, "&OneLook", false, false), kSeparator, kSetup};
    EXPECT_EQ(EditLookupMenu(), none) << "no word before a search: the methods are grey";
    EXPECT_EQ(ResultLookupMenu(), none);

    Type("carpet");
    const std::vector<MenuItem> some = {Method(0, "&Google", true, true),
                                        Method(1, "&OneLook", false, true), kSeparator, kSetup};
    EXPECT_EQ(EditLookupMenu(), some);
    EXPECT_EQ(ResultLookupMenu(), some);
    // Alt+E, Up to External Lookup (the last item), Right to open it.
    Poller keys;
    int turn = 0;
    int menusShown = 0;
    keys.Start([&] {
        ++turn;
        if (turn == 4) PostMessageA(Frame(), WM_KEYDOWN, VK_UP, 0);
        if (turn == 8) PostMessageA(Frame(), WM_KEYDOWN, VK_RIGHT, 0);
        if (turn < 16) return false;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM count) -> BOOL {
                char name[16] = {};
                GetClassNameA(hwnd, name, sizeof name);
                if (IsWindowVisible(hwnd) && lstrcmpA(name, "#32768") == 0)
                    ++*reinterpret_cast<int*>(count);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&menusShown));
        SaveScreenshot(Frame(), "lookup-menu");
        EndMenu();
        return true;
    });
    SendMessageA(Frame(), WM_SYSCOMMAND, SC_KEYMENU, 'e');
    PumpMessages(30);
    EXPECT_EQ(menusShown, 2) << "Edit and its External Lookup popup";
    Command(CM_LOOKUPMETHOD0 + 1);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://www.onelook.com/?w=carpet&ls=a"});

    // An empty box is nothing to look up: no address, no box.
    shell.opened.clear();
    Type("");
    EXPECT_EQ(FailureBox([&] { CtrlAltEnter(); }), std::nullopt);
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(Lookup, SavedKeyWithoutMethodsLeavesOnlySetupAndCtrlAltEnterFails) {
    WriteText("LookupTestWord", "example");
    Start();
    EXPECT_EQ(EditLookupMenu(), (std::vector<MenuItem>{kSeparator, kSetup}));
    Type("word");
    EXPECT_EQ(FailureBox([&] { CtrlAltEnter(); }, Frame()), FailureText());
    EXPECT_NE(FailureText().find("need to be started before lookup is used"), std::string::npos);
    EXPECT_TRUE(shell.opened.empty());
}

// ------------------------------------------------------------- the dialog

TEST_F(Lookup, DialogEditsTheLiveMethodsAndTheMenusFollow) {
    Start();
    Methods().Method(Kind::Exec, 2) = {false, "", PeerPath("lookup_peer_args"), "1"};
    bool ran = false;
    callback.Post(
        [&] {
            HWND dialog = FindWindowA("#32770", "Lookup Methods");
            ASSERT_NE(dialog, nullptr);
            ran = true;
            auto text = [&](int id) {
                char buffer[512] = {};
                GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
                return std::string(buffer);
            };
            auto state = [&](int id) { return IsDlgButtonChecked(dialog, id); };
            auto type = [&](int id, const char* t) { SetDlgItemTextA(dialog, id, t); };
            auto click = [&](int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); };

            // What the set holds, with the roles in the boxes.
            EXPECT_EQ(text(IDC_TESTWORD), "example");
            EXPECT_EQ(text(IDC_WEB1NAME), "&Google");
            EXPECT_EQ(text(IDC_WEB1ADDRESS), "https://www.google.com/search?q=%22{entry}%22");
            EXPECT_EQ(text(IDC_DDE4NAME), "S&horter Oxford");
            EXPECT_EQ(text(IDC_DDE4SERVICE) + "|" + text(IDC_DDE4TOPIC), "NewSOED|WinWord6");
            EXPECT_EQ(text(IDC_MESSAGE1WINDOW) + "|" + text(IDC_MESSAGE1COMMAND),
                      "The American Heritage Dictionary|2026");
            EXPECT_EQ(text(IDC_EXEC2PROGRAM), PeerPath("lookup_peer_args"));
            EXPECT_EQ(text(IDC_EXEC1ENCODING), "No encoding");
            EXPECT_EQ(text(IDC_EXEC2ENCODING), "Hex encoding");
            EXPECT_EQ(state(IDC_WEB1CHECK), BST_CHECKED);
            EXPECT_EQ(state(IDC_WEB2CHECK), BST_INDETERMINATE);
            EXPECT_EQ(state(IDC_DDE1CHECK), BST_UNCHECKED);
            EXPECT_EQ(state(IDC_EXEC2CHECK), BST_UNCHECKED);
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_EXEC1PROGRAM), GWL_STYLE) &
                        ES_READONLY);

            // Naming a method switches it on; clearing the name switches it off;
            // renaming leaves it as it was.
            type(IDC_EXEC2NAME, "&Peer");
            EXPECT_EQ(state(IDC_EXEC2CHECK), BST_INDETERMINATE);
            type(IDC_WEB2NAME, "");
            EXPECT_EQ(state(IDC_WEB2CHECK), BST_UNCHECKED);
            type(IDC_WEB1NAME, "&Search");
            EXPECT_EQ(state(IDC_WEB1CHECK), BST_CHECKED);
            EXPECT_TRUE(Methods().Method(Kind::WebSearch, 1).enabled);
            // The dialog loop shows the dialog once it is idle, which the
            // posted callbacks never let it be.
            ShowWindow(dialog, SW_SHOWNORMAL);
            SaveScreenshot(dialog, "lookup-setup");

            // The box cycles off, default, on; the old default gives way.
            click(IDC_EXEC2CHECK);
            EXPECT_EQ(state(IDC_EXEC2CHECK), BST_UNCHECKED);
            EXPECT_FALSE(Methods().Method(Kind::Exec, 2).enabled);
            click(IDC_EXEC2CHECK);
            EXPECT_EQ(state(IDC_EXEC2CHECK), BST_CHECKED);
            EXPECT_EQ(state(IDC_WEB1CHECK), BST_INDETERMINATE);
            EXPECT_EQ(Methods().DefaultLabel(), "&Peer");
            click(IDC_EXEC2CHECK);
            EXPECT_EQ(Methods().DefaultLabel(), "") << "the default turned into a plain method";
            EXPECT_EQ(state(IDC_EXEC2CHECK), BST_INDETERMINATE);
            click(IDC_EXEC2CHECK);
            click(IDC_EXEC2CHECK);
            EXPECT_EQ(Methods().DefaultLabel(), "&Peer");

            // A DDE method named and pointed at a service; the list and fields
            // go straight into the set.
            type(IDC_DDE3NAME, "");
            type(IDC_DDE2SERVICE, "Svc");
            type(IDC_DDE2TOPIC, "Top");
            click(IDC_DDE2CHECK);
            EXPECT_EQ(state(IDC_DDE2CHECK), BST_CHECKED);
            click(IDC_DDE2CHECK);
            EXPECT_EQ(Methods().Method(Kind::DDE, 2),
                      (LookupMethod{true, "O&xford Compendium", "Svc", "Top"}));
            SendDlgItemMessageA(dialog, IDC_EXEC2ENCODING, WM_KEYDOWN, VK_UP, 0);
            EXPECT_EQ(Methods().Method(Kind::Exec, 2).second, "0");
            type(IDC_TESTWORD, "o'er");
            EXPECT_EQ(Methods().TestWord(), "o'er");
            click(IDCANCEL);
        },
        3);
    Command(CM_LOOKUPSETUP);
    ASSERT_TRUE(ran);
    EXPECT_EQ(FindWindowA("#32770", "Lookup Methods"), nullptr) << "Close ends the dialog";

    // Both submenus show the edited set at once, the default normalised to
    // the first enabled method.
    const std::vector<MenuItem> expected = {Method(0, "&Search", true, false),
                                            Method(1, "O&xford Compendium", false, false),
                                            Method(2, "&Peer", false, false), kSeparator, kSetup};
    EXPECT_EQ(EditLookupMenu(), expected);
    EXPECT_EQ(ResultLookupMenu(), expected);
    EXPECT_EQ(ReadText("LookupTestWord"), "(absent)") << "nothing saved without Save as defaults";
}

TEST_F(Lookup, TestLookupRunsTheDefaultAndOnlySaveAsDefaultsSurvivesARestart) {
    Start();
    auto inDialog = [&](const std::function<void(HWND)>& f) {
        callback.Post([&] { f(FindWindowA("#32770", "Lookup Methods")); }, 3);
        Command(CM_LOOKUPSETUP);
    };
    inDialog([&](HWND dialog) {
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextA(dialog, IDC_TESTWORD, "o'er x");
        SendDlgItemMessageA(dialog, IDC_WEB1CHECK, BM_CLICK, 0, 0); // Google: plain method
        SendDlgItemMessageA(dialog, IDC_TESTLOOKUP, BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WEB1CHECK), BST_CHECKED) << "normalised";
        EXPECT_EQ(shell.opened,
                  std::vector<std::string>{"https://www.google.com/search?q=%22o%27er%20x%22"});
        // With no method on, the test shows the failure box over the dialog.
        SendDlgItemMessageA(dialog, IDC_WEB1CHECK, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_WEB1CHECK, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_WEB2CHECK, BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WEB2CHECK), BST_UNCHECKED);
        EXPECT_EQ(FailureBox([&] { SendDlgItemMessageA(dialog, IDC_TESTLOOKUP, BM_CLICK, 0, 0); },
                             dialog),
                  FailureText());
        EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
        SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(EditLookupMenu(), (std::vector<MenuItem>{kSeparator, kSetup}));

    // A restart forgets what was not saved.
    Stop();
    Start();
    EXPECT_EQ(EditLookupMenu().size(), 4u);
    inDialog([&](HWND dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WEB1CHECK), BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_EXEC1NAME, "Pro&gram");
        SetDlgItemTextA(dialog, IDC_WEB2NAME, "");
        SetDlgItemTextA(dialog, IDC_TESTWORD, "caf\xE9");
        SendDlgItemMessageA(dialog, IDC_LOOKUPSAVEDEFAULTS, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
        SetDlgItemTextA(dialog, IDC_EXEC1NAME, "After saving");
        SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(ReadText("LookupExecLabel1"), "Pro&gram");
    EXPECT_EQ(ReadText("ExecEncoding4"), "0");
    EXPECT_EQ(ReadSettingInt("LookupWebSearchEnabled2", -1), 0);
    EXPECT_EQ(ReadText("LookupDefaultLabel"), "&Google");
    EXPECT_NE(ReadText("LookupPosition"), "(absent)") << "the dialog keeps its place";

    Stop();
    Start();
    EXPECT_EQ(Methods().TestWord(), "caf\xE9");
    EXPECT_EQ(EditLookupMenu(),
              (std::vector<MenuItem>{Method(0, "&Google", true, false),
                                     Method(1, "Pro&gram", false, false), kSeparator, kSetup}));
}

TEST_F(Lookup, BrowseSetsTheProgramAndCancelLeavesIt) {
    Start();
    const std::string peer = PeerPath("lookup_peer_args");
    std::vector<std::string> shown; // the program box after each Browse...
    Poller fileDialog;
    // Answers the file dialog with name (or Cancel when empty), then waits
    // for it to close; gives up, closing it, if it will not.
    auto answer = [&](std::string name) {
        auto phase = std::make_shared<int>(0);
        fileDialog.Start([phase, name] {
            HWND open = FindWindowA("#32770", "Application File Selection");
            if (*phase == 0) {
                if (!open) return false;
                HWND box = GetDlgItem(open, 0x47c); // the explorer-style file name box
                if (!box) box = GetDlgItem(open, 0x480);
                if (box) SetWindowTextA(box, name.c_str());
                PostMessageA(open, WM_COMMAND, name.empty() ? IDCANCEL : IDOK, 0);
                *phase = 1;
                return false;
            }
            if (!open) return true;
            if (++*phase > 100) {
                ADD_FAILURE() << "the file dialog did not take " << name;
                CloseBoxesOwnedBy(open);
                PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            return false;
        });
    };
    callback.Post(
        [&] {
            HWND dialog = FindWindowA("#32770", "Lookup Methods");
            ASSERT_NE(dialog, nullptr);
            auto browse = [&](const std::string& name) {
                answer(name);
                SendDlgItemMessageA(dialog, IDC_EXEC1BROWSE, BM_CLICK, 0, 0);
                char text[MAX_PATH] = {};
                GetDlgItemTextA(dialog, IDC_EXEC1PROGRAM, text, sizeof text);
                shown.push_back(text);
            };
            browse(peer);
            browse("");
            SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
        },
        3);
    Command(CM_LOOKUPSETUP);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(lstrcmpiA(shown[0].c_str(), peer.c_str()), 0) << shown[0];
    EXPECT_EQ(shown[1], shown[0]) << "a cancelled choice changes nothing";
    EXPECT_EQ(lstrcmpiA(Methods().Method(Kind::Exec, 1).first.c_str(), peer.c_str()), 0);
}

// -------------------------------------------- each kind and its real peer

TEST_F(Lookup, WebSearchOpensTheAddressOfEachWord) {
    Start();
    Methods().Method(Kind::WebSearch, 3) = {true, "Mine", "https://dict.example/?q={entry}&x", ""};
    for (const std::string& word : kTypedWords) {
        shell.opened.clear();
        Type(word);
        Command(CM_LOOKUPMETHOD0 + 2);
        EXPECT_EQ(shell.opened,
                  std::vector<std::string>{"https://dict.example/?q=" + WebEncode(word) + "&x"});
    }
    shell.openSucceeds = false;
    EXPECT_EQ(FailureBox([&] { Command(CM_LOOKUPMETHOD0 + 2); }), FailureText());
}

TEST_F(Lookup, DdeServerReceivesEachWord) {
    // Named after this run, so that a peer left over from another cannot answer.
    const std::string service = "QuillonPeer" + std::to_string(GetCurrentProcessId());
    StartDdePeer(service, "Words");
    Start();
    Methods().Method(Kind::DDE, 2) = {true, "&Peer", service, "Words"};
    std::vector<std::string> sent = kTypedWords;
    for (const std::string& word : kTypedWords) {
        Type(word);
        Command(CM_LOOKUPMETHOD0 + 2); // after the two web searches
    }
    if (Search("carpet")) {
        sent.push_back(PointAtLastRow());
        Command(CM_LOOKUPMETHOD0 + 2);
    }
    std::vector<std::string> received;
    for (const std::string& line : ReadLines(ddeRecord))
        received.push_back(Unhex(line));
    ASSERT_EQ(received.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(received[i], sent[i] + std::string(1, '\0')) << "with its terminating zero";

    // Refused by the server, or no such service: the failure box.
    Type("refuse");
    EXPECT_EQ(FailureBox([&] { Command(CM_LOOKUPMETHOD0 + 2); }), FailureText());
    Methods().Method(Kind::DDE, 2).second = "NoSuchTopic";
    Type("word");
    EXPECT_EQ(FailureBox([&] { Command(CM_LOOKUPMETHOD0 + 2); }), FailureText());
    EXPECT_EQ(ReadLines(ddeRecord).size(), sent.size() + 1);
}

TEST_F(Lookup, WindowReceivesTheCommandWithTheWordOnTheClipboard) {
    const std::string title = "Quillon Peer Dictionary " + std::to_string(GetCurrentProcessId());
    StartWindowPeer(title);
    Start();
    Methods().Method(Kind::Message, 2) = {true, "&Window", title, " 4321"};
    std::vector<std::string> sent = kTypedWords;
    for (const std::string& word : kTypedWords) {
        Type(word);
        Command(CM_LOOKUPMETHOD0 + 2);
    }
    if (Search("carpet")) {
        sent.push_back(PointAtLastRow());
        Command(CM_LOOKUPMETHOD0 + 2);
    }
    Methods().Method(Kind::Message, 2).second = "x12"; // no leading digits: command 0
    Type("tea");
    Command(CM_LOOKUPMETHOD0 + 2);
    sent.push_back("tea");

    const auto lines = ReadLines(windowRecord);
    ASSERT_EQ(lines.size(), sent.size());
    const std::string sender = std::to_string(reinterpret_cast<std::uintptr_t>(Frame()));
    for (std::size_t i = 0; i < sent.size(); ++i) {
        std::istringstream fields(lines[i]);
        std::string command, from, hex;
        fields >> command >> from >> hex;
        EXPECT_EQ(command, i + 1 < sent.size() ? "4321" : "0");
        EXPECT_EQ(from, sender) << "the main window sends it";
        EXPECT_EQ(Unhex(hex), sent[i]);
    }

    Methods().Method(Kind::Message, 2).first = "No Such Window Title";
    EXPECT_EQ(FailureBox([&] { Command(CM_LOOKUPMETHOD0 + 2); }), FailureText());
}

TEST_F(Lookup, ProgramReceivesExactlyTheWordAsOneArgument) {
    Start();
    Methods().Method(Kind::Exec, 1) = {true, "&Args", PeerPath("lookup_peer_args"), "0"};
    for (const std::string& word : kTypedWords) {
        Type(word);
        Command(CM_LOOKUPMETHOD0 + 2);
        EXPECT_EQ(ProgramArguments(), std::vector<std::string>{word});
    }
    // Part of the typed text selected: only that part.
    Type("ice cream");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(4, 9));
    Command(CM_LOOKUPMETHOD0 + 2);
    EXPECT_EQ(ProgramArguments(), std::vector<std::string>{"cream"});
    if (Search("carpet")) {
        const std::string token = PointAtLastRow();
        Command(CM_LOOKUPMETHOD0 + 2);
        EXPECT_EQ(ProgramArguments(), std::vector<std::string>{token});
    }
    // Hex encoding, for programs that cannot take blanks.
    Methods().Method(Kind::Exec, 1).second = "1";
    Type("ab c");
    Command(CM_LOOKUPMETHOD0 + 2);
    EXPECT_EQ(ProgramArguments(), std::vector<std::string>{"61622063"});
    ASSERT_FALSE(shell.started.empty());
    EXPECT_EQ(shell.started.back(), "\"" + PeerPath("lookup_peer_args") + "\" 61622063");

    Methods().Method(Kind::Exec, 1).first = ProgramDirectory() + "no-such-program.exe";
    EXPECT_EQ(FailureBox([&] { Command(CM_LOOKUPMETHOD0 + 2); }), FailureText());
}

TEST_F(Lookup, StoredProgramDefaultRunsOnCtrlAltEnterAtTheFocusedRow) {
    // Values as the settings store keeps them, written before the program starts.
    WriteText("LookupTestWord", "example");
    WriteText("LookupExecLabel1", "&Peer");
    WriteText("LookupExecProgram1", PeerPath("lookup_peer_args"));
    WriteText("ExecEncoding1", "0");
    WriteSettingInt("LookupExecEnabled1", 1);
    WriteText("LookupWebSearchLabel1", "&Web");
    WriteText("LookupWebSearchScript1", "https://w.example/{entry}");
    WriteSettingInt("LookupWebSearchEnabled1", 1);
    WriteText("LookupDefaultLabel", "&Peer");
    Start();
    EXPECT_EQ(EditLookupMenu(),
              (std::vector<MenuItem>{Method(0, "&Web", false, false),
                                     Method(1, "&Peer", true, false), kSeparator, kSetup}));
    if (!Search("carpet")) GTEST_SKIP() << kNoDictionary;
    ASSERT_EQ(GetFocus(), view->List());
    const std::string word = view->GetSelectedWord();
    ASSERT_FALSE(word.empty()) << "the focused row's first token";
    CtrlAltEnter();
    EXPECT_EQ(ProgramArguments(), std::vector<std::string>{word});
    EXPECT_TRUE(shell.opened.empty());

    // The typed answer, when the box has the focus.
    Type("o'er");
    CtrlAltEnter();
    EXPECT_EQ(ProgramArguments(), std::vector<std::string>{"o'er"});
}

} // namespace
