#include "framework/Dialog.h"

#include "framework/Application.h"
#include "framework/Handles.h"

namespace fw {
namespace {

// A modal dialog runs the system's own dialog loop, which never passes
// through the application's loop and its PreTranslateMessage calls. While a
// modal dialog of ours is up, a message filter on the thread offers each
// message of that loop to the dialog's windows first, as the application's
// loop does for every other window. Nested modal dialogs share one filter.
class ModalFilter {
public:
    ModalFilter() {
        if (depth_++ == 0)
            hook_.Reset(SetWindowsHookExA(WH_MSGFILTER, Proc, nullptr, GetCurrentThreadId()));
    }
    ~ModalFilter() {
        if (--depth_ == 0) hook_.Reset();
    }
    ModalFilter(const ModalFilter&) = delete;
    ModalFilter& operator=(const ModalFilter&) = delete;

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == MSGF_DIALOGBOX && lParam) {
            MSG& msg = *reinterpret_cast<MSG*>(lParam);
            HWND top = msg.hwnd;
            while (top && (GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
                top = GetParent(top);
            // Only our own modal dialogs: the system's (colour, font, file,
            // message boxes) and modeless ones are left to their loops.
            const auto* dialog = dynamic_cast<const Dialog*>(Window::FromHandle(top));
            if (dialog && dialog->IsModal() && Window::PreTranslateChain(msg)) return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline int depth_ = 0;
    static inline Hook hook_;
};

} // namespace

Dialog::~Dialog() {
    // The base destroys the window after unbinding it, when WM_DESTROY no
    // longer reaches this object: leave the application's loop first.
    if (Handle())
        if (Application* app = Application::Current()) app->RemoveModeless(Handle());
}

INT_PTR Dialog::DoModal(HWND parent) {
    if (Handle()) return -1;
    modal_ = true;
    ModalFilter filter;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), template_, parent, StaticDialogProc,
                                     reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool Dialog::CreateModeless(HWND parent) {
    if (Handle()) return false;
    modal_ = false;
    HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), template_, parent, StaticDialogProc,
                                   reinterpret_cast<LPARAM>(this));
    if (!hwnd) return false;
    if (Application* app = Application::Current()) app->AddModeless(hwnd);
    return true;
}

void Dialog::EndDialog(INT_PTR result) {
    if (!Handle()) return;
    if (modal_)
        ::EndDialog(Handle(), result);
    else
        DestroyWindow();
}

bool Dialog::OnCommand(UINT id, UINT notifyCode, HWND control) {
    if (Window::OnCommand(id, notifyCode, control)) return true;
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    }
    return false;
}

LRESULT Dialog::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(msg, wParam, lParam);
}

INT_PTR Dialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (msg) {
    case WM_INITDIALOG:
        SetupWindow();
        return TRUE;
    case WM_COMMAND:
        if (lParam && ReflectToControl(msg, wParam, lParam, result)) return TRUE;
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        if (ReflectToControl(msg, wParam, lParam, result)) {
            SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    case WM_DRAWITEM:
        return ReflectToControl(msg, wParam, lParam, result);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        // These answer with the brush itself rather than through DWLP_MSGRESULT.
        return ReflectToControl(msg, wParam, lParam, result) ? static_cast<INT_PTR>(result) : FALSE;
    case WM_DESTROY:
        if (Application* app = Application::Current()) app->RemoveModeless(Handle());
        OnDestroy();
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Dialog* self = static_cast<Dialog*>(FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->Bind(hwnd);
    }
    if (!self) return FALSE;
    INT_PTR result = self->DialogProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->Unbind();
        self->OnNcDestroy(); // may delete the object: nothing follows
    }
    return result;
}

} // namespace fw
