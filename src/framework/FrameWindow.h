#pragma once
// The decorated frame: a top-level window that keeps a client window filling
// its inside, a control bar along its top edge and a status bar along its
// bottom edge, shows the hint of the
// highlighted menu command in that bar, enables menu items through the
// command enablers of itself, its client and the application, and routes menu
// commands the same way.

#include "framework/ControlBar.h"
#include "framework/StatusBar.h"
#include "framework/Window.h"

#include <memory>
#include <string>

namespace fw {

class FrameWindow : public Window {
public:
    struct Attributes {
        std::string caption;
        int x = CW_USEDEFAULT;
        int y = CW_USEDEFAULT;
        int width = CW_USEDEFAULT;
        int height = CW_USEDEFAULT;
        DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        const char* menuName = nullptr; // menu resource of the menu bar
        const char* iconName = nullptr; // icon resource of the window class
    };

    FrameWindow(std::string caption, Window* client);
    ~FrameWindow() override;

    Attributes& Attr() { return attr_; }
    Window* Client() const { return client_; }
    // The frame owns its status bar; inserting replaces an earlier one.
    void InsertStatusBar(std::unique_ptr<StatusBar> bar);
    StatusBar* GetStatusBar() const { return statusBar_.get(); }
    // The frame owns its control bar; the client starts below it.
    void InsertControlBar(std::unique_ptr<ControlBar> bar);
    ControlBar* GetControlBar() const { return controlBar_.get(); }

    // Creates the window from Attr(), owned by owner when one is given; the
    // client and the bars come with it.
    bool CreateFrame(HWND owner = nullptr);
    // Creates the frame over owner's top-level window, which stays disabled,
    // shows it with showCommand and handles messages until the frame is
    // destroyed. A quit message met on the way ends the run and is posted
    // again for the main loop.
    void RunModal(HWND owner, int showCommand = SW_SHOWNORMAL);

    // Menu hint of command id: its string-table text up to the first line break.
    static std::string HintText(UINT id);
    // Asks the frame, its client and the application whether command id is
    // available; a command that none of them knows is unavailable.
    void RouteCommandEnable(CommandEnabler& ce);
    // Runs command id at the first of frame, client and application that takes it.
    bool RouteCommand(UINT id, UINT notifyCode = 0);

    bool CanClose() override;
    // The DPI of the screen the frame is on.
    int Dpi() const { return dpi_; }

protected:
    void PreRegisterClass(WNDCLASSEXA& wc) override;
    void SetupWindow() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    virtual void OnInitMenuPopup(HMENU popup, UINT index, bool systemMenu);
    virtual void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnSize();
    void OnClose();
    // The frame has moved to a screen of another DPI: it takes the size the
    // system suggests and makes its control bar again.
    virtual void OnDpiChanged(int dpi, const RECT& suggested);
    // The window that a modal run disabled, enabled again.
    void EndModal();
    // Enables and checks the direct items of a popup through the enablers.
    void EnableMenuCommands(HMENU popup);

private:
    Attributes attr_;
    Window* client_;
    std::unique_ptr<StatusBar> statusBar_;
    std::unique_ptr<ControlBar> controlBar_;
    HWND modalOwner_ = nullptr;
    int dpi_ = 96;
    bool inMenu_ = false;
    std::string textBeforeMenu_;
};

} // namespace fw
