#pragma once
// The application object: one per process. It creates the main window through
// InitMainWindow and InitInstance, runs the single message loop (accelerators
// of the main window, keyboard navigation of modeless dialogs, the windows'
// own PreTranslateMessage), and answers commands nobody else took.

#include "framework/FrameWindow.h"
#include "framework/Window.h"

#include <string>
#include <vector>

namespace fw {

class Application {
public:
    explicit Application(std::string name);
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current();
    const std::string& Name() const { return name_; }
    HINSTANCE Instance() const { return instance_; }

    // InitMainWindow, InitInstance, then the message loop; returns the exit code.
    int Run();
    virtual void InitMainWindow() {}
    // Creates and shows the main window; false stops the program.
    virtual bool InitInstance();
    // How InitInstance first shows the main window: WinMain's show command.
    void SetShowCommand(int showCommand) { showCommand_ = showCommand; }
    int ShowCommand() const { return showCommand_; }
    int MessageLoop();
    // Handles the messages already queued and returns; false once WM_QUIT was
    // taken (its exit code is then in ExitCode()).
    bool PumpWaitingMessages();
    int ExitCode() const { return exitCode_; }

    void SetMainWindow(FrameWindow* frame) { mainWindow_ = frame; }
    FrameWindow* MainWindow() const { return mainWindow_; }
    void SetAccelerators(HACCEL accelerators) { accelerators_ = accelerators; }
    // Modeless dialogs get Tab and arrow-key navigation from the loop.
    void AddModeless(HWND dialog);
    void RemoveModeless(HWND dialog);
    bool IsModeless(HWND dialog) const;

    // Commands that reach the application after the frame and its client.
    virtual bool OnCommand(UINT) { return false; }
    virtual void CommandEnable(CommandEnabler&) {}

    // A message box whose caption defaults to the application's name.
    int ShowMessage(HWND owner, const std::string& text, const char* caption = nullptr,
                    UINT type = MB_OK) const;

private:
    bool ProcessMessage(MSG& msg);

    std::string name_;
    HINSTANCE instance_;
    FrameWindow* mainWindow_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::vector<HWND> modeless_;
    int exitCode_ = 0;
    int showCommand_ = SW_SHOWNORMAL;
};

} // namespace fw
