#include "context/HelpHook.h"

#include "resources/resource.h"

int CurrentHelpContext = 0;
int SavedHelpContext = 0;
UINT HelpRequestMessage = 0;
HelpHook* HelpHook::live_ = nullptr;

namespace {

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

void FollowMenuSelection(UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu) {
        CurrentHelpContext = 0;
        SavedHelpContext = 0;
    } else if (flags & (MF_POPUP | MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK)) {
        CurrentHelpContext = SavedHelpContext;
    } else if (SavedHelpContext != IDH_SYSTEMMENU) {
        CurrentHelpContext = static_cast<int>(item);
    }
}

HelpHook::HelpHook(HWND frame) : frame_(frame) {
    if (!RegisterHelpRequestMessage()) return;
    hook_.Reset(SetWindowsHookExA(WH_MSGFILTER, MsgHookProc, GetModuleHandleA(nullptr),
                                  GetCurrentThreadId()));
    if (hook_) live_ = this;
}

HelpHook::~HelpHook() {
    if (live_ == this) live_ = nullptr;
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
        const HelpHook* hook = HelpHook::Live();
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && hook && hook->Frame())
            PostMessageA(hook->Frame(), HelpRequestMessage, 2, 0);
        return 0; // the menu still sees the key
    }
    return 0;
}
