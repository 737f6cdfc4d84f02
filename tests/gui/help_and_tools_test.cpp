// Context help, the message-filter hook, the web commands, the companion
// programs, the out-of-memory box and the other services of the context.
#include "GuiTestSupport.h"

#include "app/OutOfMemory.h"
#include "app/QuillonAppWindows.h"
#include "context/AppContext.h"
#include "context/HelpEngine.h"
#include "context/HelpHook.h"
#include "context/Persist.h"
#include "context/ProductAddresses.h"
#include "help/HelpPages.h"
#include "resources/resource.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>
#include <thread>

namespace {

using namespace guitest;

TEST(ProgramDirectory, KeepsTheLastBackslash) {
    EXPECT_EQ(DirectoryOfPath("C:\\Tools\\app.exe"), "C:\\Tools\\");
    EXPECT_EQ(DirectoryOfPath("C:\\app.exe"), "C:\\");
    EXPECT_EQ(DirectoryOfPath("app.exe"), "");
    std::string here = ProgramDirectory();
    ASSERT_FALSE(here.empty());
    EXPECT_EQ(here.back(), '\\');
    EXPECT_TRUE(RecordingShell().FileExists(here + "gui_tests.exe"));
}

TEST(HelpEngine, OpensShippedPagesAndReportsMissingOnes) {
    RecordingShell shell;
    HelpEngine engine(shell);
    const std::string shipped = DistDirectory() + "quillo.hlp";
    for (const HelpTopic& topic : HelpTopics()) {
        shell.opened.clear();
        engine.Call(shipped, HELP_CONTEXT, static_cast<ULONG_PTR>(topic.context));
        ASSERT_EQ(shell.opened.size(), 1u) << "no page for context " << topic.context;
        EXPECT_TRUE(shell.FileExists(shell.opened[0]));
    }
    shell.opened.clear();
    engine.Call(shipped, HELP_FINDER, 0);
    engine.Call(shipped, HELP_CONTEXT, 0);
    engine.Call(shipped, HELP_QUIT, 0); // opens nothing
    EXPECT_EQ(shell.opened, std::vector<std::string>(2, DistDirectory() + "help\\index.html"));

    shell.opened.clear();
    engine.Call("C:\\nowhere\\quillo.hlp", HELP_CONTEXT, IDH_FILEMENU);
    EXPECT_TRUE(shell.opened.empty());
    ASSERT_EQ(shell.reported.size(), 1u);
    EXPECT_NE(shell.reported[0].find("C:\\nowhere\\help\\"), std::string::npos);
}

// An application started with a recording shell, for the frame's commands.
class FrameCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->InitMainWindow();
        ASSERT_TRUE(app->InitInstance());
        frame = app->Frame()->Handle();
    }
    void TearDown() override {
        if (IsWindow(frame)) DestroyWindow(frame);
        PumpMessages(10);
        app.reset();
    }
    void Command(UINT id) {
        SendMessageA(frame, WM_COMMAND, id, 0);
        PumpMessages(10);
    }

    RecordingShell shell;
    std::unique_ptr<QuillonAppWindows> app;
    HWND frame = nullptr;
};

TEST_F(FrameCommands, WebHelpAndCompanionCommands) {
    const std::string dist = DistDirectory();
    const struct {
        UINT command;
        std::string opened, started; // the companion programs are quoted
    } cases[] = {
        // Online help and the tutorials are the pages shipped beside the program.
        {CM_ONLINEHELP, dist + "help\\index.html", ""},
        {CM_TUTORIALS, dist + "help\\" + HelpPageForContext(IDH_QUICKSTART), ""},
        {CM_EMAILSUPPORT,
         std::string("mailto:") + kSupportMailbox + "?Subject=Quillon Support Request", ""},
        {CM_HELPQUICKSTART, dist + "help\\" + HelpPageForContext(IDH_QUICKSTART), ""},
        {CM_HELPCONTENTS, dist + "help\\index.html", ""},
        {CM_OWBUILD, "", "\"" + dist + "OWBUILD\""},
        {CM_OWMERGE, "", "\"" + dist + "OWMERGE\""},
    };
    for (const auto& c : cases) {
        shell.opened.clear();
        shell.started.clear();
        Command(c.command);
        EXPECT_EQ(shell.opened, (c.opened.empty() ? std::vector<std::string>{}
                                                  : std::vector<std::string>{c.opened}))
            << c.command;
        EXPECT_EQ(shell.started, (c.started.empty() ? std::vector<std::string>{}
                                                    : std::vector<std::string>{c.started}))
            << c.command;
    }
    // A program that cannot be started is not reported.
    shell.startSucceeds = false;
    Command(CM_OWMERGE);
    EXPECT_TRUE(shell.reported.empty());
}

TEST(LaunchProgram, AMissingProgramDoesNothing) {
    SystemShell shell;
    EXPECT_FALSE(LaunchProgram(shell, ProgramDirectory() + "OWMERGE-not-installed", ""));
    EXPECT_FALSE(LaunchProgram(shell, "", ""));
}

TEST(LaunchProgram, StartsARealProgramWithoutWaiting) {
    // cmd.exe from Wine's system folder, told to do nothing.
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    SystemShell shell;
    EXPECT_TRUE(LaunchProgram(shell, std::string(system) + "\\cmd", "/c exit"));
}

// The hook driven with made-up messages, as the modal loops would call it.
class Hook : public ::testing::Test {
protected:
    void SetUp() override {
        frame.Create(nullptr, "Hook frame", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 100);
        dialog.Create(nullptr, "Hook dialog", WS_POPUP | WS_CAPTION, 0, 0, 0, 200, 100);
        edit.CreateControl(dialog.Handle(), "EDIT", "", WS_CHILD, 0, 100);
        frameChild.CreateControl(frame.Handle(), "EDIT", "", WS_CHILD, 0, 101);
        hook = std::make_unique<HelpHook>(frame.Handle());
        PumpMessages(0);
    }
    void TearDown() override {
        hook.reset();
        SetKeyboardState(savedKeys);
    }
    LRESULT Call(int code, HWND window, UINT message, WPARAM key) {
        MSG msg{window, message, key, 0, 0, {}};
        return MsgHookProc(code, 0, reinterpret_cast<LPARAM>(&msg));
    }
    // The help requests waiting for window, as (wParam) values.
    std::vector<WPARAM> Requests(HWND window) {
        std::vector<WPARAM> found;
        MSG msg;
        while (PeekMessageA(&msg, window, HelpRequestMessage, HelpRequestMessage, PM_REMOVE))
            found.push_back(msg.wParam);
        return found;
    }
    void SetControl(bool down) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    fw::Window frame, dialog, edit, frameChild;
    std::unique_ptr<HelpHook> hook;
    BYTE savedKeys[256] = {};
};

TEST_F(Hook, F1InADialogIsPostedToTheDialogAndSwallowed) {
    ASSERT_TRUE(hook->Installed());
    ASSERT_NE(HelpRequestMessage, 0u);
    EXPECT_EQ(RegisterWindowMessageA("commdlg_help"), HelpRequestMessage);
    EXPECT_EQ(Call(MSGF_DIALOGBOX, edit.Handle(), WM_KEYDOWN, VK_F1), 1);
    EXPECT_EQ(Requests(dialog.Handle()), std::vector<WPARAM>{VK_F1});
    EXPECT_TRUE(Requests(frame.Handle()).empty());
}

TEST_F(Hook, CtrlTabInADialogAsksForTheNextPage) {
    GetKeyboardState(savedKeys);
    SetControl(true);
    EXPECT_EQ(Call(MSGF_DIALOGBOX, edit.Handle(), WM_KEYDOWN, VK_TAB), 1);
    EXPECT_EQ(Requests(dialog.Handle()), std::vector<WPARAM>{VK_TAB});
    SetControl(false);
    EXPECT_EQ(Call(MSGF_DIALOGBOX, edit.Handle(), WM_KEYDOWN, VK_TAB), 0) << "plain Tab passes";
    EXPECT_TRUE(Requests(dialog.Handle()).empty());
}

TEST_F(Hook, LeavesOtherKeysAndWindowsAlone) {
    EXPECT_EQ(Call(MSGF_DIALOGBOX, edit.Handle(), WM_KEYUP, VK_F1), 0);
    EXPECT_EQ(Call(MSGF_DIALOGBOX, edit.Handle(), WM_KEYDOWN, 'A'), 0);
    // A child of the main frame is not in a dialog box.
    EXPECT_EQ(Call(MSGF_DIALOGBOX, frameChild.Handle(), WM_KEYDOWN, VK_F1), 0);
    EXPECT_EQ(Call(-1, edit.Handle(), WM_KEYDOWN, VK_F1), 0);
    EXPECT_EQ(MsgHookProc(MSGF_DIALOGBOX, 0, 0), 0) << "no message record";
    EXPECT_TRUE(Requests(dialog.Handle()).empty());
    EXPECT_TRUE(Requests(frame.Handle()).empty());
}

TEST_F(Hook, F1InAMenuIsPostedToTheFrameAndPassedOn) {
    EXPECT_EQ(Call(MSGF_MENU, dialog.Handle(), WM_KEYDOWN, VK_F1), 0);
    EXPECT_EQ(Requests(frame.Handle()), std::vector<WPARAM>{2});
    EXPECT_EQ(Call(MSGF_MENU, dialog.Handle(), WM_KEYDOWN, VK_F2), 0);
    EXPECT_TRUE(Requests(frame.Handle()).empty());
}

// The About box run modally: the F1 key reaches the hook through the dialog's
// own loop, and the dialog receives the help request instead of the key.
struct DialogRun {
    static constexpr UINT kEnd = WM_APP + 7;
    std::vector<WPARAM> requests;
    int f1Seen = 0;
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<DialogRun*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (msg == WM_INITDIALOG) {
            SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            HWND control = GetNextDlgTabItem(hwnd, nullptr, FALSE);
            SetFocus(control);
            PostMessageA(control, WM_KEYDOWN, VK_F1, 0);
            PostMessageA(hwnd, kEnd, 0, 0);
            return FALSE;
        }
        if (!self) return FALSE;
        if (msg == HelpRequestMessage) {
            self->requests.push_back(wParam);
            return TRUE;
        }
        if (msg == kEnd) {
            // Let the posted help request arrive first.
            if (self->requests.empty() && lParam < 50) {
                PostMessageA(hwnd, kEnd, 0, lParam + 1);
                return TRUE;
            }
            EndDialog(hwnd, 1);
            return TRUE;
        }
        return FALSE;
    }
};

TEST(HookInDialog, F1InARealModalDialog) {
    fw::Window owner;
    owner.Create(nullptr, "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
    auto hook = std::make_unique<HelpHook>(owner.Handle());
    DialogRun run;
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner.Handle(),
                        DialogRun::Proc, reinterpret_cast<LPARAM>(&run));
    hook.reset();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(run.requests, std::vector<WPARAM>{VK_F1});
    PumpMessages(0);
}

// Answers the out-of-memory box from another thread, once it shows.
void AnswerMemoryBox(int button, std::string& caption, std::string& text) {
    for (int i = 0; i < 400; ++i) {
        HWND box = FindWindowA(nullptr, "Application Memory Low");
        if (box) {
            char buffer[1024] = {};
            GetWindowTextA(box, buffer, sizeof buffer);
            caption = buffer;
            // The text of a message box is its static control 0xFFFF.
            GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
            text = buffer;
            PostMessageA(box, WM_COMMAND, button, 0);
            return;
        }
        Sleep(10);
    }
}

TEST(OutOfMemory, AsksToRetryOrCancel) {
    for (int button : {IDRETRY, IDCANCEL}) {
        std::string caption, text;
        std::thread answer(AnswerMemoryBox, button, std::ref(caption), std::ref(text));
        bool retry = AskRetryAfterMemoryLow();
        answer.join();
        EXPECT_EQ(retry, button == IDRETRY);
        EXPECT_EQ(caption, "Application Memory Low");
        EXPECT_EQ(text.rfind("An application function has been suspended", 0), 0u) << text;
        EXPECT_NE(text.find("configure more virtual memory."), std::string::npos);
    }
    std::new_handler before = std::get_new_handler();
    InstallOutOfMemoryHandler();
    EXPECT_NE(std::get_new_handler(), nullptr);
    std::set_new_handler(before);
}

// A context whose printers are made up: the first `missing` calls find no
// default printer.
class PrinterContext : public AppContext {
public:
    PrinterContext(RecordingShell& shell, int missing)
        : AppContext("quillo.hlp", "", shell, RegistrySettings()), missing_(missing) {}
    int made = 0;

protected:
    std::unique_ptr<fw::Printer> CreatePrinter() override {
        struct Made : fw::Printer {
            explicit Made(DWORD error) : fw::Printer(error) {}
        };
        ++made;
        return std::make_unique<Made>(made <= missing_ ? PDERR_NODEFAULTPRN : 0);
    }

private:
    int missing_;
};

TEST(GetPrinter, NoDefaultPrinterIsAskedAgainAndAFoundOneIsKept) {
    RecordingShell shell;
    PrinterContext context(shell, 2);
    EXPECT_EQ(context.GetPrinter(), nullptr);
    EXPECT_EQ(context.GetPrinter(), nullptr);
    EXPECT_EQ(context.made, 2) << "the failure is not cached";
    fw::Printer* found = context.GetPrinter();
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(context.GetPrinter(), found);
    EXPECT_EQ(context.made, 3) << "a found printer keeps its settings";
}

TEST(GetPrinter, TheSystemPrinterMatchesWhatThePrintDialogSays) {
    RecordingShell shell;
    AppContext context("quillo.hlp", "", shell, RegistrySettings());
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT;
    const bool hasDefault = PrintDlgA(&pd) != 0;
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    EXPECT_EQ(context.GetPrinter() != nullptr, hasDefault);
    EXPECT_EQ(context.GetPrinter() != nullptr, hasDefault);
}

TEST(AppContext, StatusTextAndStrings) {
    RecordingShell shell;
    AppContext context("quillo.hlp", "", shell, RegistrySettings());
    EXPECT_EQ(context.LoadResourceString(IDS_SEARCHING), "Searching for possible wordplay");
    EXPECT_EQ(context.LoadResourceString(31997), "");
    context.SetStatusText(IDS_SEARCHING); // no status bar yet: nothing happens

    fw::Window parent;
    parent.Create(nullptr, "Status", WS_OVERLAPPEDWINDOW, 0, 0, 0, 300, 200);
    fw::StatusBar bar;
    bar.CreateBar(parent.Handle());
    ClearSettings();
    AppContext::Placement p = context.LoadWindowPlacement(&parent, &bar);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.width, 0) << "absent values read as 0";
    EXPECT_NE(context.LargeIcon(), nullptr);
    EXPECT_NE(context.SmallIcon(), nullptr);
    context.SetStatusText(IDS_SEARCHING);
    EXPECT_EQ(bar.Status(), "Searching for possible wordplay");
}

} // namespace
