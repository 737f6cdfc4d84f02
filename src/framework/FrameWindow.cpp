#include "framework/FrameWindow.h"

#include "framework/Application.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"

#include <commctrl.h>

#include <utility>

namespace fw {

FrameWindow::FrameWindow(std::string caption, Window* client) : client_(client) {
    attr_.caption = std::move(caption);
}

FrameWindow::~FrameWindow() = default;

void FrameWindow::InsertStatusBar(std::unique_ptr<StatusBar> bar) {
    statusBar_ = std::move(bar);
    if (statusBar_ && Handle()) {
        statusBar_->CreateBar(Handle());
        OnSize();
    }
}

void FrameWindow::InsertControlBar(std::unique_ptr<ControlBar> bar) {
    controlBar_ = std::move(bar);
    if (controlBar_ && Handle()) {
        controlBar_->CreateBar(Handle());
        OnSize();
    }
}

bool FrameWindow::CreateFrame(HWND owner) {
    HMENU menu = nullptr;
    if (attr_.menuName) menu = LoadMenuA(GetModuleHandleA(nullptr), attr_.menuName);
    bool created = Create(owner, attr_.caption.c_str(), attr_.style, 0, attr_.x, attr_.y,
                          attr_.width, attr_.height, menu);
    if (!created && menu) DestroyMenu(menu);
    return created;
}

void FrameWindow::RunModal(HWND owner, int showCommand) {
    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (!CreateFrame(root)) return;
    if (root && IsWindowEnabled(root)) {
        modalOwner_ = root;
        EnableWindow(root, FALSE);
    }
    const HWND self = Handle();
    ShowWindow(self, showCommand);
    UpdateWindow(self);
    MSG msg;
    while (IsWindow(self) && Handle() == self) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (PreTranslateChain(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(self)) ::DestroyWindow(self);
    EndModal();
    if (root) SetActiveWindow(root);
}

void FrameWindow::EndModal() {
    // Enabled before the frame goes, so that the owner is activated in its place.
    if (modalOwner_) EnableWindow(std::exchange(modalOwner_, nullptr), TRUE);
}

void FrameWindow::PreRegisterClass(WNDCLASSEXA& wc) {
    if (!attr_.iconName) return;
    wc.hIcon = LoadIconA(wc.hInstance, attr_.iconName);
    wc.hIconSm = static_cast<HICON>(LoadImageA(wc.hInstance, attr_.iconName, IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
}

void FrameWindow::SetupWindow() {
    dpi_ = WindowDpi(Handle());
    if (statusBar_) statusBar_->CreateBar(Handle());
    if (controlBar_) controlBar_->CreateBar(Handle());
    // The client is created by its owner beforehand (a dialog view) or here.
    if (client_ && !client_->Handle())
        client_->CreateChild(Handle());
    else if (client_ && GetParent(client_->Handle()) != Handle())
        SetParent(client_->Handle(), Handle());
    OnSize();
}

std::string FrameWindow::HintText(UINT id) {
    char buffer[1024] = {};
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    std::string text(buffer, static_cast<size_t>(length > 0 ? length : 0));
    auto lineBreak = text.find('\n');
    if (lineBreak != std::string::npos) text.resize(lineBreak);
    return text;
}

void FrameWindow::RouteCommandEnable(CommandEnabler& ce) {
    CommandEnable(ce);
    if (!ce.Handled() && client_ && client_->Handle()) client_->CommandEnable(ce);
    if (!ce.Handled())
        if (Application* app = Application::Current()) app->CommandEnable(ce);
}

bool FrameWindow::RouteCommand(UINT id, UINT notifyCode) {
    if (OnCommand(id, notifyCode, nullptr)) return true;
    if (client_ && client_->Handle() && client_->OnCommand(id, notifyCode, nullptr)) return true;
    Application* app = Application::Current();
    return app && app->OnCommand(id);
}

bool FrameWindow::CanClose() {
    return !client_ || !client_->Handle() || client_->CanClose();
}

void FrameWindow::EnableMenuCommands(HMENU popup) {
    MenuView menu(popup);
    const int count = menu.ItemCount();
    for (int i = 0; i < count; ++i) {
        if (menu.SubMenu(i)) continue; // a nested popup gets its own turn when it opens
        UINT id = menu.ItemId(i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;
        CommandEnabler ce(id);
        RouteCommandEnable(ce);
        const bool enabled = ce.Handled() && ce.Enabled();
        EnableMenuItem(popup, static_cast<UINT>(i),
                       MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, static_cast<UINT>(i),
                      MF_BYPOSITION | (ce.Checked() ? MF_CHECKED : MF_UNCHECKED));
    }
}

void FrameWindow::OnInitMenuPopup(HMENU popup, UINT, bool systemMenu) {
    if (popup && !systemMenu) EnableMenuCommands(popup);
}

void FrameWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (!statusBar_) return;
    if (flags == 0xFFFF && !menu) { // the menu has closed
        if (inMenu_) statusBar_->SetStatus(textBeforeMenu_);
        inMenu_ = false;
        return;
    }
    if (!inMenu_) {
        textBeforeMenu_ = statusBar_->Status();
        inMenu_ = true;
    }
    const bool command = !(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU));
    statusBar_->SetStatus(command ? HintText(item) : std::string());
}

void FrameWindow::OnSize() {
    if (!Handle()) return;
    RECT r = ClientRect();
    int barHeight = 0;
    if (statusBar_) {
        statusBar_->Reposition();
        barHeight = statusBar_->Height();
    }
    int top = 0;
    if (controlBar_ && controlBar_->Handle()) {
        SendMessageA(controlBar_->Handle(), TB_AUTOSIZE, 0, 0);
        top = controlBar_->Height();
    }
    if (client_ && client_->Handle()) {
        int height = r.bottom - barHeight - top;
        MoveWindow(client_->Handle(), 0, top, r.right, height > 0 ? height : 0, TRUE);
    }
}

void FrameWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    dpi_ = dpi;
    if (client_ && client_->Handle()) client_->ParentDpiChanged(dpi);
    if (controlBar_) controlBar_->SetDpi(dpi);
    if (statusBar_) statusBar_->SetDpi(dpi);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    OnSize();
}

void FrameWindow::OnClose() {
    if (!CanClose()) return;
    EndModal();
    DestroyWindow();
}

LRESULT FrameWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_SETFOCUS:
        if (client_ && client_->Handle()) SetFocus(client_->Handle());
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DPICHANGED:
        if (lParam) OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_EXITMENULOOP:
        if (inMenu_ && statusBar_) statusBar_->SetStatus(textBeforeMenu_);
        inMenu_ = false;
        return 0;
    case WM_COMMAND:
        if (lParam) break; // from a control: the base reflects it
        if (RouteCommand(LOWORD(wParam), HIWORD(wParam))) return 0;
        break;
    case WM_NOTIFY:
        // The control bar's tooltips ask the frame for their texts.
        if (controlBar_ && controlBar_->OnTipRequest(reinterpret_cast<NMHDR*>(lParam))) return 0;
        break;
    case WM_DESTROY:
        EndModal();
        break;
    }
    return Window::WndProc(msg, wParam, lParam);
}

} // namespace fw
