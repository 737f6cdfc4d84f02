#pragma once
// A window laid out from a dialog template: run modally (its own message loop
// until EndDialog) or modeless (registered with the application's loop for
// keyboard navigation; also used for child views that live inside a frame).

#include "framework/Window.h"

namespace fw {

class Dialog : public Window {
public:
    explicit Dialog(const char* templateName) : template_(templateName) {}
    explicit Dialog(int templateId) : template_(MAKEINTRESOURCEA(templateId)) {}
    ~Dialog() override;

    INT_PTR DoModal(HWND parent);
    bool CreateModeless(HWND parent);
    bool CreateChild(HWND parent) override { return CreateModeless(parent); }
    void EndDialog(INT_PTR result);
    bool IsModal() const { return modal_; }
    HWND Item(int id) const { return GetDlgItem(Handle(), id); }

protected:
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    bool OnCommand(UINT id, UINT notifyCode, HWND control) override;

private:
    // Dialogs are driven by the system's dialog procedure; the object's
    // WndProc is not used.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    const char* template_;
    bool modal_ = false;
};

} // namespace fw
