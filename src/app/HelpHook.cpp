#include "app/HelpHook.h"

int CurrentHelpContext = 0;
int SavedHelpContext = 0;
UINT HelpRequestMessage = 0;

namespace {
HHOOK hook = nullptr;
HWND helpFrame = nullptr;

// The dialog box (or other top-level window) that holds window.
HWND TopLevelOf(HWND window) {
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(window);
        if (!parent) break;
        window = parent;
    }
    return window;
}

} // namespace

UINT RegisterHelpRequestMessage() {
    HelpRequestMessage = RegisterWindowMessageA("commdlg_help");
    return HelpRequestMessage;
}

void InstallHelpHook(HWND frame) {
    hook = nullptr;
    helpFrame = frame;
    if (!RegisterHelpRequestMessage()) return;
    hook = SetWindowsHookExA(WH_MSGFILTER, MsgHookProc, GetModuleHandleA(nullptr),
                             GetCurrentThreadId());
}

void RemoveHelpHook() {
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    helpFrame = nullptr;
}

bool HelpHookInstalled() {
    return hook != nullptr;
}

extern "C" LRESULT CALLBACK MsgHookProc(int code, WPARAM, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code < 0 || !msg) return 0;
    if (code == MSGF_DIALOGBOX) {
        const bool f1 = msg->message == WM_KEYDOWN && msg->wParam == VK_F1;
        const bool ctrlTab = msg->message == WM_KEYDOWN && msg->wParam == VK_TAB &&
                             (GetKeyState(VK_CONTROL) & 0x8000);
        if (!f1 && !ctrlTab) return 0;
        HWND dialog = TopLevelOf(msg->hwnd);
        if (!dialog || !(GetWindowLongA(dialog, GWL_STYLE) & WS_POPUP)) return 0;
        PostMessageA(dialog, HelpRequestMessage, msg->wParam, 0);
        return 1; // the dialog does not see the key
    }
    if (code == MSGF_MENU) {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && helpFrame)
            PostMessageA(helpFrame, HelpRequestMessage, 2, 0);
        return 0; // the menu still sees the key
    }
    return 0;
}
