#pragma once
// Context help for the whole program: the help context that F1 shows, the
// registered "commdlg_help" message that asks a window for help, and the
// message-filter hook that turns F1 (and Ctrl+Tab) inside dialog boxes and
// menus into that message. Everything here is used on the GUI thread only.

#include "framework/Handles.h"

#include <windows.h>

// The context shown when help is requested; 0 means the main window topic.
extern int CurrentHelpContext;
// The context to go back to when a menu selection ends.
extern int SavedHelpContext;
// The message number of "commdlg_help"; 0 until registered.
extern UINT HelpRequestMessage;

// Obtains HelpRequestMessage (the system gives the same number every time).
UINT RegisterHelpRequestMessage();

// Follows the highlight through a menu (WM_MENUSELECT) so that F1 explains
// the highlighted command: the command's number becomes the current context;
// a popup, separator or break goes back to the saved (the menu's) context;
// a closed menu clears both. Nothing changes inside the system menu.
void FollowMenuSelection(UINT item, UINT flags, HMENU menu);

// The F1 hook of this thread, owned by the main frame from its set-up to its
// destruction; help requests from menus go to that frame. Nothing is
// installed when the help message cannot be had. A hook procedure gets no
// context of its own, so the live hook is also known to the procedure.
class HelpHook {
public:
    explicit HelpHook(HWND frame);
    ~HelpHook();
    HelpHook(const HelpHook&) = delete;
    HelpHook& operator=(const HelpHook&) = delete;

    bool Installed() const { return static_cast<bool>(hook_); }
    HWND Frame() const { return frame_; }
    // The hook now in place, or null.
    static const HelpHook* Live() { return live_; }

private:
    fw::Hook hook_;
    HWND frame_;
    static HelpHook* live_;
};

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MsgHookProc(int code, WPARAM wParam, LPARAM lParam);
