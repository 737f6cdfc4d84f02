#pragma once
// Helpers shared by the GUI tests: Unix paths as Wine sees them, a shell that
// records instead of acting, a clean settings key, message pumping and
// screenshots of real windows.

#include "context/Shell.h"
#include "framework/Window.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace guitest {

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

// Saves the screen area of window (menus and all) as PNG under
// QUILLON_SCREENSHOTS (default build/screenshots); returns the file path.
std::string SaveScreenshot(HWND window, const std::string& name);

// A PNG image of 24-bit rows, top row first (stored-deflate compression).
std::vector<unsigned char> EncodePng(int width, int height, const std::vector<unsigned char>& rgb);

} // namespace guitest
