// External lookup in the real program: the External Lookup submenus, the
// Lookup Methods dialog, and each kind of method delivering the selected word
// to a real peer (a DDE server, a window that takes WM_COMMAND and reads the
// clipboard, a program that records its arguments; web searches through the
// address handed to the shell), with the failure box when delivery fails.
#include "GuiTestSupport.h"

#include "lookup/LookupMethodSet.h"
#include "lookup/LookupText.h"

#include <commctrl.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

using namespace guitest;
using Kind = LookupKind;

constexpr const char* kSetupCaption = "Lookup Methods";
constexpr const char* kFailureCaption = "Dictionary Lookup Failure";
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

std::string ReadText(const char* name) {
    return ReadSettingText(name, "(absent)");
}

// The texts of every static control of a window, joined by line breaks.
std::string StaticTexts(HWND window) {
    std::string texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Static") != 0 || TextOf(child).empty()) continue;
        if (!texts.empty()) texts += '\n';
        texts += TextOf(child);
    }
    return texts;
}

void Click(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
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

class Lookup : public AppTest<PeerShell> {
protected:
    void SetUp() override {
        AppTest::SetUp();
        for (const std::string& path : {ddeRecord, windowRecord, argsRecord})
            DeleteFileA(path.c_str());
        SetEnvironmentVariableA("QUILLON_PEER_RECORD", argsRecord.c_str());
    }
    void TearDown() override {
        AppTest::TearDown();
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

    LookupMethodSet& Methods() { return app->Context()->LookupMethods(); }
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
    // Looks each typed word up with the third method of the menu, then the
    // word at the pointer in CARPET's results; the words looked up.
    std::vector<std::string> LookUpEachWord(std::function<void(const std::string&)> after = {}) {
        std::vector<std::string> sent;
        for (const std::string& word : kTypedWords) {
            Type(word);
            sent.push_back(word);
            Command(CM_LOOKUPMETHOD0 + 2);
            if (after) after(word);
        }
        if (Search("carpet") && !view->Rows().empty()) {
            sent.push_back(PointAtLastRow());
            Command(CM_LOOKUPMETHOD0 + 2);
            if (after) after(sent.back());
        }
        return sent;
    }
    // Ctrl+Alt+Enter pressed in the focused control, through the program's loop.
    void CtrlAltEnter() {
        HoldKeys({VK_CONTROL, VK_LCONTROL, VK_MENU, VK_LMENU}, true);
        PostMessageA(GetFocus(), WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
        app->PumpWaitingMessages();
        HoldKeys({VK_CONTROL, VK_LCONTROL, VK_MENU, VK_LMENU}, false);
        PumpMessages(10);
    }

    // Runs action; the text of the failure box it showed (then closed with
    // OK), or none when it showed none.
    std::optional<std::string> FailureBox(const std::function<void()>& action,
                                          HWND expectedOwner = nullptr) {
        std::optional<std::string> text;
        callback.Post(
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
    // Whether looking up with the third method of the menu shows the failure box.
    bool ThirdMethodFails() {
        return FailureBox([&] { Command(CM_LOOKUPMETHOD0 + 2); }) == FailureText();
    }

    void StartPeer(const char* name, const std::string& arguments) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string line = "\"" + PeerPath(name) + "\" " + arguments;
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi))
            << line;
        peers.push_back(pi);
    }
    // The arguments the program peer received, waiting for it to write them.
    std::vector<std::string> ProgramArguments() {
        for (int waited = 0; GetFileAttributesA(argsRecord.c_str()) == INVALID_FILE_ATTRIBUTES;
             waited += 50, PumpMessages(50))
            if (waited > 20000) return {"(the program peer wrote nothing)"};
        std::vector<std::string> args;
        for (const std::string& line : ReadLines(argsRecord))
            args.push_back(Unhex(line));
        DeleteFileA(argsRecord.c_str());
        return args;
    }

    static std::string Record(const char* name) {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        return std::string(temp) + "quillon-lookup-" + std::to_string(GetCurrentProcessId()) + "-" +
               name;
    }

    std::vector<PROCESS_INFORMATION> peers;
    const std::string ddeRecord = Record("dde.txt"), windowRecord = Record("window.txt"),
                      argsRecord = Record("args.txt");
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
    LoopCallback keys;
    std::size_t menusShown = 0;
    const UINT arrows[] = {VK_UP, VK_RIGHT};
    std::function<void(int)> press = [&](int n) {
        if (n == 2) {
            menusShown = VisibleThreadWindows("#32768").size();
            SaveScreenshot(Frame(), "lookup-menu");
            EndMenu();
            return;
        }
        PostMessageA(Frame(), WM_KEYDOWN, arrows[n], 0);
        keys.Post([&, n] { press(n + 1); }, 4 + 4 * n);
    };
    keys.Post([&] { press(0); }, 4);
    SendMessageA(Frame(), WM_SYSCOMMAND, SC_KEYMENU, 'e');
    PumpMessages(30);
    EXPECT_EQ(menusShown, 2u) << "Edit and its External Lookup popup";
    Command(CM_LOOKUPMETHOD0 + 1);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://www.onelook.com/?w=carpet&ls=a"});

    // An empty box is nothing to look up: no address, no box.
    shell.opened.clear();
    Type("");
    EXPECT_EQ(FailureBox([&] { CtrlAltEnter(); }), std::nullopt);
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(Lookup, SavedKeyWithoutMethodsLeavesOnlySetupAndCtrlAltEnterFails) {
    WriteSettingText("LookupTestWord", "example");
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
    ModalScript script;
    script.Then(kSetupCaption, [&](HWND dialog) {
        auto state = [&](int id) { return IsDlgButtonChecked(dialog, id); };
        auto type = [&](int id, const char* t) { SetDlgItemTextA(dialog, id, t); };
        auto click = [&](int id) { Click(dialog, id); };

        // What the set holds, with the roles in the boxes.
        std::vector<std::string> shown;
        for (int id : {IDC_TESTWORD, IDC_WEB1NAME, IDC_WEB1ADDRESS, IDC_DDE4NAME, IDC_DDE4SERVICE,
                       IDC_DDE4TOPIC, IDC_MESSAGE1WINDOW, IDC_MESSAGE1COMMAND, IDC_EXEC2PROGRAM,
                       IDC_EXEC1ENCODING, IDC_EXEC2ENCODING})
            shown.push_back(ItemText(dialog, id));
        EXPECT_EQ(shown,
                  (std::vector<std::string>{
                      "example", "&Google", "https://www.google.com/search?q=%22{entry}%22",
                      "S&horter Oxford", "NewSOED", "WinWord6", "The American Heritage Dictionary",
                      "2026", PeerPath("lookup_peer_args"), "No encoding", "Hex encoding"}));
        EXPECT_EQ(
            (std::vector<UINT>{state(IDC_WEB1CHECK), state(IDC_WEB2CHECK), state(IDC_DDE1CHECK),
                               state(IDC_EXEC2CHECK)}),
            (std::vector<UINT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_UNCHECKED}));
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_EXEC1PROGRAM), GWL_STYLE) & ES_READONLY);

        // Naming a method switches it on; clearing the name switches it off;
        // renaming leaves it as it was.
        type(IDC_EXEC2NAME, "&Peer");
        EXPECT_EQ(state(IDC_EXEC2CHECK), BST_INDETERMINATE);
        type(IDC_WEB2NAME, "");
        EXPECT_EQ(state(IDC_WEB2CHECK), BST_UNCHECKED);
        type(IDC_WEB1NAME, "&Search");
        EXPECT_EQ(state(IDC_WEB1CHECK), BST_CHECKED);
        EXPECT_TRUE(Methods().Method(Kind::WebSearch, 1).enabled);
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
    });
    Run(script, CM_LOOKUPSETUP);
    EXPECT_EQ(FindWindowA("#32770", kSetupCaption), nullptr) << "Close ends the dialog";

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
    ModalScript tryOut;
    tryOut.Then(kSetupCaption, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_TESTWORD, "o'er x");
        Click(dialog, IDC_WEB1CHECK); // Google: a plain method
        Click(dialog, IDC_TESTLOOKUP);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WEB1CHECK), BST_CHECKED) << "normalised";
        EXPECT_EQ(shell.opened,
                  std::vector<std::string>{"https://www.google.com/search?q=%22o%27er%20x%22"});
        // With no method on, the test shows the failure box over the dialog.
        for (int id : {IDC_WEB1CHECK, IDC_WEB1CHECK, IDC_WEB2CHECK})
            Click(dialog, id);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WEB2CHECK), BST_UNCHECKED);
        EXPECT_EQ(FailureBox([&] { Click(dialog, IDC_TESTLOOKUP); }, dialog), FailureText());
        EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
        Click(dialog, IDCANCEL);
    });
    Run(tryOut, CM_LOOKUPSETUP);
    EXPECT_EQ(EditLookupMenu(), (std::vector<MenuItem>{kSeparator, kSetup}));

    // A restart forgets what was not saved.
    Restart();
    EXPECT_EQ(EditLookupMenu().size(), 4u);
    ModalScript save;
    save.Then(kSetupCaption, [&](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WEB1CHECK), BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_EXEC1NAME, "Pro&gram");
        SetDlgItemTextA(dialog, IDC_WEB2NAME, "");
        SetDlgItemTextA(dialog, IDC_TESTWORD, "caf\xE9");
        Click(dialog, IDC_LOOKUPSAVEDEFAULTS);
        EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
        SetDlgItemTextA(dialog, IDC_EXEC1NAME, "After saving");
        Click(dialog, IDCANCEL);
    });
    Run(save, CM_LOOKUPSETUP);
    EXPECT_EQ(ReadText("LookupExecLabel1"), "Pro&gram");
    EXPECT_EQ(ReadText("ExecEncoding4"), "0");
    EXPECT_EQ(ReadSettingInt("LookupWebSearchEnabled2", -1), 0);
    EXPECT_EQ(ReadText("LookupDefaultLabel"), "&Google");
    EXPECT_NE(ReadText("LookupPosition"), "(absent)") << "the dialog keeps its place";

    Restart();
    EXPECT_EQ(Methods().TestWord(), "caf\xE9");
    EXPECT_EQ(EditLookupMenu(),
              (std::vector<MenuItem>{Method(0, "&Google", true, false),
                                     Method(1, "Pro&gram", false, false), kSeparator, kSetup}));
}

TEST_F(Lookup, BrowseSetsTheProgramAndCancelLeavesIt) {
    Start();
    const std::string peer = PeerPath("lookup_peer_args");
    std::vector<std::string> shown; // the program box before, between and after the choices
    // The file dialog answered with a name, or cancelled when it is empty.
    auto answer = [](const std::string& name) {
        return [name](HWND open) {
            HWND box = GetDlgItem(open, 0x47c); // the explorer-style file name box
            SetWindowTextA(box ? box : GetDlgItem(open, 0x480), name.c_str());
            PostMessageA(open, WM_COMMAND, name.empty() ? IDCANCEL : IDOK, 0);
        };
    };
    auto browse = [&](HWND dialog) {
        shown.push_back(ItemText(dialog, IDC_EXEC1PROGRAM));
        PostMessageA(GetDlgItem(dialog, IDC_EXEC1BROWSE), BM_CLICK, 0, 0);
    };
    ModalScript script;
    script.Then(kSetupCaption, browse)
        .Then("Application File Selection", answer(peer))
        .Then(kSetupCaption, browse)
        .Then("Application File Selection", answer(""))
        .Then(kSetupCaption, [&](HWND dialog) {
            shown.push_back(ItemText(dialog, IDC_EXEC1PROGRAM));
            Click(dialog, IDCANCEL);
        });
    Run(script, CM_LOOKUPSETUP);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(lstrcmpiA(shown[1].c_str(), peer.c_str()), 0) << shown[1];
    EXPECT_EQ(shown[2], shown[1]) << "a cancelled choice changes nothing";
    EXPECT_EQ(lstrcmpiA(Methods().Method(Kind::Exec, 1).first.c_str(), peer.c_str()), 0);
}

// -------------------------------------------- each kind and its real peer

TEST_F(Lookup, WebSearchOpensTheAddressOfEachWord) {
    Start();
    Methods().Method(Kind::WebSearch, 3) = {true, "Mine", "https://dict.example/?q={entry}&x", ""};
    LookUpEachWord([&](const std::string& word) {
        EXPECT_EQ(shell.opened,
                  std::vector<std::string>{"https://dict.example/?q=" + WebEncode(word) + "&x"});
        shell.opened.clear();
    });
    shell.openSucceeds = false;
    EXPECT_TRUE(ThirdMethodFails());
}

TEST_F(Lookup, DdeServerReceivesEachWord) {
    // Named after this run, so that a peer left over from another cannot answer.
    const std::string service = "QuillonPeer" + std::to_string(GetCurrentProcessId());
    const std::string ready = "QuillonDdePeerReady-" + std::to_string(GetCurrentProcessId());
    fw::KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, ready.c_str()));
    StartPeer("lookup_peer_dde", service + " Words \"" + ddeRecord + "\" " + ready + " 60");
    ASSERT_EQ(WaitForSingleObject(event.Get(), 20000), WAIT_OBJECT_0) << "the DDE peer";
    Start();
    Methods().Method(Kind::DDE, 2) = {true, "&Peer", service,
                                      "Words"}; // after the two web searches
    const std::vector<std::string> sent = LookUpEachWord();
    std::vector<std::string> received;
    for (const std::string& line : ReadLines(ddeRecord))
        received.push_back(Unhex(line));
    ASSERT_EQ(received.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(received[i], sent[i] + std::string(1, '\0')) << "with its terminating zero";

    // Refused by the server, or no such service: the failure box.
    Type("refuse");
    EXPECT_TRUE(ThirdMethodFails());
    Methods().Method(Kind::DDE, 2).second = "NoSuchTopic";
    Type("word");
    EXPECT_TRUE(ThirdMethodFails());
    EXPECT_EQ(ReadLines(ddeRecord).size(), sent.size() + 1);
}

TEST_F(Lookup, WindowReceivesTheCommandWithTheWordOnTheClipboard) {
    const std::string title = "Quillon Peer Dictionary " + std::to_string(GetCurrentProcessId());
    StartPeer("lookup_peer_window", "\"" + title + "\" \"" + windowRecord + "\" 60");
    for (int waited = 0; !FindWindowA(nullptr, title.c_str()) && waited < 20000; waited += 50)
        Sleep(50);
    ASSERT_NE(FindWindowA(nullptr, title.c_str()), nullptr) << "the window peer";
    Start();
    Methods().Method(Kind::Message, 2) = {true, "&Window", title, " 4321"};
    std::vector<std::string> sent = LookUpEachWord();
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
    EXPECT_TRUE(ThirdMethodFails());
}

TEST_F(Lookup, ProgramReceivesExactlyTheWordAsOneArgument) {
    Start();
    Methods().Method(Kind::Exec, 1) = {true, "&Args", PeerPath("lookup_peer_args"), "0"};
    LookUpEachWord([&](const std::string& word) {
        EXPECT_EQ(ProgramArguments(), std::vector<std::string>{word});
    });
    // Part of the typed text selected: only that part.
    Type("ice cream");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(4, 9));
    Command(CM_LOOKUPMETHOD0 + 2);
    EXPECT_EQ(ProgramArguments(), std::vector<std::string>{"cream"});
    // Hex encoding, for programs that cannot take blanks.
    Methods().Method(Kind::Exec, 1).second = "1";
    Type("ab c");
    Command(CM_LOOKUPMETHOD0 + 2);
    EXPECT_EQ(ProgramArguments(), std::vector<std::string>{"61622063"});
    ASSERT_FALSE(shell.started.empty());
    EXPECT_EQ(shell.started.back(), "\"" + PeerPath("lookup_peer_args") + "\" 61622063");

    Methods().Method(Kind::Exec, 1).first = ProgramDirectory() + "no-such-program.exe";
    EXPECT_TRUE(ThirdMethodFails());
}

TEST_F(Lookup, StoredProgramDefaultRunsOnCtrlAltEnterAtTheFocusedRow) {
    // Values as the settings store keeps them, written before the program starts.
    WriteSettingText("LookupTestWord", "example");
    WriteSettingText("LookupExecLabel1", "&Peer");
    WriteSettingText("LookupExecProgram1", PeerPath("lookup_peer_args"));
    WriteSettingText("ExecEncoding1", "0");
    WriteSettingInt("LookupExecEnabled1", 1);
    WriteSettingText("LookupWebSearchLabel1", "&Web");
    WriteSettingText("LookupWebSearchScript1", "https://w.example/{entry}");
    WriteSettingInt("LookupWebSearchEnabled1", 1);
    WriteSettingText("LookupDefaultLabel", "&Peer");
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
