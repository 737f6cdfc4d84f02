#pragma once
// Context help for the whole program: the help context that F1 shows, the
// registered "commdlg_help" message that asks a window for help, and the
// message-filter hook that turns F1 (and Ctrl+Tab) inside dialog boxes and
// menus into that message. Everything here is used on the GUI thread only.

#include <windows.h>

// The context shown when help is requested; 0 means the main window topic.
extern int CurrentHelpContext;
// The context to go back to when a menu selection ends.
extern int SavedHelpContext;
// The message number of "commdlg_help"; 0 until registered.
extern UINT HelpRequestMessage;

// Obtains HelpRequestMessage (the system gives the same number every time).
UINT RegisterHelpRequestMessage();

// Installs the hook for this thread, with frame as the receiver of help
// requests from menus. Nothing is installed when the message cannot be had.
void InstallHelpHook(HWND frame);
void RemoveHelpHook();
bool HelpHookInstalled();

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MsgHookProc(int code, WPARAM wParam, LPARAM lParam);
