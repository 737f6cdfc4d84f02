#include "framework/Application.h"

#include <algorithm>
#include <commctrl.h>

namespace fw {
namespace {
Application* current = nullptr;
}

Application::Application(std::string name)
    : name_(std::move(name)), instance_(GetModuleHandleA(nullptr)) {
    current = this;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
}

Application::~Application() {
    if (current == this) current = nullptr;
}

Application* Application::Current() {
    return current;
}

int Application::Run() {
    InitMainWindow();
    if (!InitInstance()) return 1;
    return MessageLoop();
}

bool Application::InitInstance() {
    if (!mainWindow_) return false;
    if (!mainWindow_->Handle() && !mainWindow_->CreateFrame()) return false;
    ShowWindow(mainWindow_->Handle(), showCommand_);
    UpdateWindow(mainWindow_->Handle());
    return true;
}

void Application::AddModeless(HWND dialog) {
    if (dialog && std::find(modeless_.begin(), modeless_.end(), dialog) == modeless_.end())
        modeless_.push_back(dialog);
}

void Application::RemoveModeless(HWND dialog) {
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

bool Application::IsModeless(HWND dialog) const {
    return std::find(modeless_.begin(), modeless_.end(), dialog) != modeless_.end();
}

bool Application::ProcessMessage(MSG& msg) {
    // The window under the message and its parents may take it first.
    if (Window::PreTranslateChain(msg)) return true;
    if (accelerators_ && mainWindow_ && mainWindow_->Handle() &&
        TranslateAcceleratorA(mainWindow_->Handle(), accelerators_, &msg))
        return true;
    for (HWND dialog : modeless_)
        if (IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) return true;
    return false;
}

int Application::MessageLoop() {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (!ProcessMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    exitCode_ = msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 1;
    return exitCode_;
}

bool Application::PumpWaitingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            exitCode_ = static_cast<int>(msg.wParam);
            return false;
        }
        if (!ProcessMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

int Application::ShowMessage(HWND owner, const std::string& text, const char* caption,
                             UINT type) const {
    return ::MessageBoxA(owner, text.c_str(), caption ? caption : name_.c_str(), type);
}

} // namespace fw
