#include "framework/Window.h"

#include "framework/Handles.h"

namespace fw {
namespace {

// The object is found from its window through a window property, which leaves
// GWLP_USERDATA free for controls that use it themselves.
constexpr const char* kObjectProperty = "QuillonWindowObject";

// The object whose Create is running: it receives the messages that arrive
// before CreateWindowEx returns (WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE).
thread_local Window* creating = nullptr;

} // namespace

bool CommandTable::Execute(UINT id) const {
    auto it = entries_.find(id);
    if (it == entries_.end()) return false;
    if (it->second.enabler && !it->second.enabler()) return false;
    if (it->second.handler) it->second.handler();
    return true;
}

void CommandTable::QueryEnable(CommandEnabler& ce) const {
    auto it = entries_.find(ce.Id());
    if (it == entries_.end()) return;
    ce.Enable(!it->second.enabler || it->second.enabler());
}

std::string MenuView::ItemText(int pos) const {
    char buffer[256] = {};
    GetMenuStringA(menu_, static_cast<UINT>(pos), buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

bool MenuView::Contains(UINT id) const {
    if (id == 0) return false; // what separators report; no command has it
    const int count = ItemCount();
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = SubMenu(i)) {
            if (MenuView(sub).Contains(id)) return true;
        } else if (ItemId(i) == id) {
            return true;
        }
    }
    return false;
}

bool MenuView::HasItem(UINT id) const {
    if (id == 0) return false;
    const int count = ItemCount();
    for (int i = 0; i < count; ++i)
        if (!SubMenu(i) && ItemId(i) == id) return true;
    return false;
}

bool Window::PreTranslateChain(MSG& msg) {
    for (HWND hwnd = msg.hwnd; hwnd; hwnd = GetParent(hwnd)) {
        if (Window* w = FromHandle(hwnd); w && w->PreTranslateMessage(msg)) return true;
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

Window::~Window() {
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    const bool subclassed = previousProc_ != nullptr;
    Unbind();
    // A window we created dies with its object; an attached one is only released.
    if (!subclassed) ::DestroyWindow(hwnd);
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

bool Window::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, ClassName(), &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = ClassName();
    PreRegisterClass(wc);
    return RegisterClassExA(&wc) != 0;
}

bool Window::Create(HWND parent, const char* caption, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HMENU menuOrId) {
    if (hwnd_) return false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterWindowClass(instance)) return false;
    creating = this;
    HWND hwnd = CreateWindowExA(exStyle, ClassName(), caption, style, x, y, width, height, parent,
                                menuOrId, instance, nullptr);
    creating = nullptr;
    return hwnd != nullptr && hwnd_ == hwnd;
}

bool Window::CreateControl(HWND parent, const char* className, const char* text, DWORD style,
                           DWORD exStyle, int id) {
    if (hwnd_) return false;
    HWND hwnd = CreateWindowExA(exStyle, className, text, style, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return false;
    Attach(hwnd);
    return true;
}

bool Window::CreateChild(HWND parent) {
    return Create(parent, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0);
}

void Window::Attach(HWND hwnd) {
    if (hwnd_ || !hwnd) return;
    Bind(hwnd);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
    SetupWindow();
}

void Window::Detach() {
    Unbind();
}

void Window::DestroyWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Window::Bind(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProperty, this);
}

void Window::Unbind() {
    if (!hwnd_) return;
    if (previousProc_)
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    RemovePropA(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
    previousProc_ = nullptr;
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(hwnd);
    if (!self && creating) {
        self = std::exchange(creating, nullptr);
        self->Bind(hwnd);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = self->WndProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY && self->hwnd_ == hwnd) {
        self->Unbind();
        self->OnNcDestroy(); // may delete the object: nothing follows
    }
    return result;
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (previousProc_) return CallWindowProcA(previousProc_, hwnd_, msg, wParam, lParam);
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool Window::ReflectToControl(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND control = nullptr;
    switch (msg) {
    case WM_COMMAND:
        control = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        control = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        control = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        control = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    Window* target = FromHandle(control);
    return target && target != this && target->OnReflectedMessage(msg, wParam, lParam, result);
}

bool Window::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool Window::OnCommand(UINT id, UINT, HWND) {
    return commands_.Execute(id);
}

void Window::CommandEnable(CommandEnabler& ce) {
    commands_.QueryEnable(ce);
}

LRESULT Window::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (msg) {
    case WM_CREATE:
        SetupWindow();
        return 0;
    case WM_COMMAND:
        if (lParam && ReflectToControl(msg, wParam, lParam, result)) return result;
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
        break;
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (ReflectToControl(msg, wParam, lParam, result)) return result;
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}

std::string Window::Text() const {
    int length = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int got = GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

RECT Window::WindowRect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

RECT Window::ClientRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

} // namespace fw
