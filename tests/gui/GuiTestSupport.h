#pragma once
// Helpers shared by the GUI tests: Unix paths as Wine sees them, a shell that
// records instead of acting, the running program, a clean settings key,
// message pumping, scripts run inside modal loops and screenshots of real
// windows.

#include "app/QuillonAppWindows.h"
#include "context/Persist.h"
#include "context/Shell.h"
#include "framework/Window.h"
#include "resources/resource.h"
#include "views/WordplayViewWindows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace guitest {

inline constexpr const char* kNoDictionary = "the default dictionary is not in the runnable folder";

// A Unix path seen from Windows under Wine (drive Z: is the Unix root).
std::string WindowsPath(const std::string& unixPath);
// The runnable folder (with the help pages), ending in a backslash.
std::string DistDirectory();

// Records what the program would open, start or report.
class RecordingShell : public Shell {
public:
    void Open(const std::string& target) override { opened.push_back(target); }
    bool TryOpen(const std::string& target) override {
        opened.push_back(target);
        return openSucceeds;
    }
    bool StartProcess(const std::string& commandLine) override {
        started.push_back(commandLine);
        return startSucceeds;
    }
    bool FileExists(const std::string& path) override;
    void Report(const std::string& text, const std::string&) override { reported.push_back(text); }

    std::vector<std::string> opened;
    std::vector<std::string> started;
    std::vector<std::string> reported;
    bool startSucceeds = true;
    bool openSucceeds = true;
};

// What a program printed (standard output and error together) and its exit
// code, once it has ended; exitCode is -1 when it could not be started.
struct ProgramRun {
    int exitCode = -1;
    std::string output;
};
ProgramRun RunProgram(const std::string& commandLine);

// Deletes the program's settings key (the tests start from a first run).
void ClearSettings();
void WriteSettingInt(const char* name, int value);
// The stored value, or fallback when it is absent.
int ReadSettingInt(const char* name, int fallback);
void WriteSettingText(const std::string& name, const std::string& text);
std::string ReadSettingText(const std::string& name, const std::string& fallback = "");

// The text of a window, and of a dialog's control.
std::string TextOf(HWND window);
std::string ItemText(HWND dialog, int id);
// What a list view shows, row by row in its current order, and the
// clipboard's text.
using Rows = std::vector<std::vector<std::string>>;
Rows ListRows(HWND list, int columns);
std::string ClipboardText();
void SetClipboardText(const std::string& text);
// The visible top-level windows of this thread, of a window class or all.
std::vector<HWND> VisibleThreadWindows(const char* className = nullptr);
// The visible, enabled top-level window of this thread with this caption: of
// a dialog and the box it shows, the one taking input.
HWND ThreadWindow(const std::string& caption);
// Sets keys down or up in the thread's keyboard state, which GetKeyState and
// the accelerator translation read.
void HoldKeys(const std::vector<int>& keys, bool down);

// Dispatches queued messages for about ms milliseconds; a WM_QUIT met on the
// way is taken out of the queue (it would end the next modal loop) and
// counted.
int PumpMessages(int ms = 50);

// Runs a function from inside a modal loop (a menu's), where posted messages
// are still dispatched, after `turns` further turns of that loop (so that a
// menu has shown itself).
class LoopCallback : public fw::Window {
public:
    LoopCallback() { Create(HWND_MESSAGE, "", 0, 0, 0, 0, 0, 0); }
    void Post(std::function<void()> f, int turns = 0);

protected:
    const char* ClassName() const override { return "QuillonTestLoopCallback"; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> pending_;
};

// Steps run from inside whatever modal loop is running (a dialog's, a
// chooser's, a message box's, a printing job's): each waits until a window
// with its caption is up and can take input, then acts on it. A step that
// waits in vain, or a window that must not show and does, fails the test and
// cancels every dialog, so nothing is left hanging.
class ModalScript : public fw::Window {
public:
    using Action = std::function<void(HWND)>;

    ModalScript() { Create(HWND_MESSAGE, "", 0, 0, 0, 0, 0, 0); }
    ~ModalScript() override { KillTimer(Handle(), 1); }

    // delayMs holds the step back after the one before it (for a tooltip to
    // appear, say).
    ModalScript& Then(std::string caption, Action action, int delayMs = 0);
    // A window that must not show while the script runs.
    ModalScript& Never(std::string caption);
    void Start() { SetTimer(Handle(), 1, kTick, nullptr); }
    // Looks at the next turn of whatever loop runs, not only when the timer is due.
    void Poke() const { PostMessageA(Handle(), WM_TIMER, 1, 0); }
    bool Done() const { return next_ == steps_.size() && !failed_; }

protected:
    const char* ClassName() const override { return "QuillonTestModalScript"; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int kTick = 20;
    struct Step {
        std::string caption;
        Action action;
        int delayTicks = 0;
    };
    void Tick();

    std::vector<Step> steps_;
    std::vector<std::string> forbidden_;
    std::size_t next_ = 0;
    int waited_ = 0;
    bool failed_ = false;
    bool busy_ = false;
};

// A test of the running program, started on a shell that records what it
// would open; the main window is closed after each test.
template <class ShellType = RecordingShell> class AppTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { Stop(); }

    void Start(int showCommand = SW_SHOWNORMAL) {
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->SetShowCommand(showCommand);
        app->InitMainWindow();
        ASSERT_TRUE(app->InitInstance());
        view = app->ResultsView();
        ASSERT_NE(view, nullptr);
        PumpMessages(30);
    }
    void Stop() {
        if (app && Frame() && IsWindow(Frame())) DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
        view = nullptr;
    }
    void Restart() {
        Stop();
        Start();
    }
    HWND Frame() const { return app && app->Frame() ? app->Frame()->Handle() : nullptr; }
    void Command(UINT id) {
        SendMessageA(Frame(), WM_COMMAND, id, 0);
        PumpMessages(10);
    }
    // Runs the script inside the modal loops of a menu command.
    void Run(ModalScript& script, UINT command) {
        script.Start();
        SendMessageA(Frame(), WM_COMMAND, command, 0);
        PumpMessages(30);
        EXPECT_TRUE(script.Done());
    }
    // The result menu opened from the keyboard under the focused row, its
    // item with the access key picked.
    void FromResultMenu(char key) {
        callback.Post(
            [key] {
                if (HWND popup = FindWindowA("#32768", nullptr))
                    PostMessageA(popup, WM_CHAR, static_cast<WPARAM>(key), 0);
            },
            8);
        SendMessageA(view->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->List()),
                     MAKELPARAM(-1, -1));
        PumpMessages(30);
    }
    // Whether a command is handled and enabled where the menus would ask.
    bool Enabled(UINT id) const {
        fw::CommandEnabler ce(id);
        app->Frame()->RouteCommandEnable(ce);
        return ce.Handled() && ce.Enabled();
    }
    bool HaveDictionary() const {
        return view && view->Dictionary() && !view->Dictionary()->FirstInvalidPath();
    }
    // Types answer and clicks Start; false without a usable dictionary.
    bool Search(const std::string& answer) {
        if (!HaveDictionary()) return false;
        SetWindowTextA(view->AnswerBox(), answer.c_str());
        SendMessageA(GetDlgItem(view->Handle(), IDC_START), BM_CLICK, 0, 0);
        PumpMessages(30);
        return true;
    }

    ShellType shell;
    LoopCallback callback;
    std::unique_ptr<QuillonAppWindows> app;
    WordplayViewWindows* view = nullptr;
};

// The screen's pixels in a rectangle of screen coordinates, as RGB triples
// of rows top first; empty when there are none.
std::vector<unsigned char> ScreenRgb(const RECT& screenRect);

// Saves the screen area of window (menus and all) as PNG under
// QUILLON_SCREENSHOTS (default build/screenshots); returns the file path.
std::string SaveScreenshot(HWND window, const std::string& name);

// A PNG image of 24-bit rows, top row first (stored-deflate compression).
std::vector<unsigned char> EncodePng(int width, int height, const std::vector<unsigned char>& rgb);

} // namespace guitest
