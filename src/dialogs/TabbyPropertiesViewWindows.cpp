#include "dialogs/TabbyPropertiesViewWindows.h"

#include <commctrl.h>

#include <algorithm>

TabbyPropertiesViewWindows::TabbyPropertiesViewWindows(std::string prefix, AppContext& context,
                                                       int templateId, int tabsId,
                                                       std::vector<Page> pages)
    : PropertiesViewWindows(std::move(prefix), context, templateId, false, false),
      pages_(std::move(pages)), tabs_(*this, tabsId) {}

void TabbyPropertiesViewWindows::SetupWindow() {
    PropertiesViewWindows::SetupWindow();
    UseToolTipWindow(reinterpret_cast<HWND>(SendMessageA(tabs_.Handle(), TCM_GETTOOLTIPS, 0, 0)));
    std::vector<std::string> tips;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        std::string name = Context().LoadResourceString(static_cast<UINT>(pages_[i].nameId));
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = name.data();
        SendMessageA(tabs_.Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        tips.push_back(Context().LoadResourceString(static_cast<UINT>(pages_[i].tooltipId)));
    }
    tabs_.SetTabTips(std::move(tips));
    SendMessageA(tabs_.Handle(), TCM_SETCURSEL, 0, 0);
    ShowPage();
}

void TabbyPropertiesViewWindows::ShowPage() {
    const int showing = tabs_.Selection();
    // A focused control that is about to be hidden would take the keyboard
    // focus away with it; the tab strip keeps it instead.
    HWND focus = GetFocus();
    bool focusHidden = false;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            const bool show = static_cast<int>(i) == showing;
            if (show != (pass == 1)) continue; // hide the others first
            for (int id : pages_[i].controls) {
                HWND control = Item(id);
                if (!control) continue;
                if (!show && (control == focus || IsChild(control, focus))) focusHidden = true;
                ShowWindow(control, show ? SW_SHOW : SW_HIDE);
                EnableWindow(control, show);
            }
        }
    }
    if (focusHidden) SetFocus(tabs_.Handle());
}

void TabbyPropertiesViewWindows::SwitchPage(int delta) {
    const int count = static_cast<int>(pages_.size());
    if (!tabs_.Handle() || !IsWindowEnabled(tabs_.Handle()) || count == 0) return;
    int next = (tabs_.Selection() + delta) % count;
    if (next < 0) next += count;
    SendMessageA(tabs_.Handle(), TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
    ShowPage();
}

int TabbyPropertiesViewWindows::HelpContext() const {
    const int page = CurrentPage();
    if (page < 0 || page >= static_cast<int>(pages_.size())) return TemplateId();
    return pages_[static_cast<std::size_t>(page)].nameId;
}

bool TabbyPropertiesViewWindows::IsPageControl(HWND control) const {
    const int id = GetDlgCtrlID(control);
    return std::any_of(pages_.begin(), pages_.end(), [id](const Page& page) {
        return std::find(page.controls.begin(), page.controls.end(), id) != page.controls.end();
    });
}

HBRUSH TabbyPropertiesViewWindows::PaneBrush() {
    if (paneBrush_) return paneBrush_.Get();
    // The tab control draws its page area itself (plain, or in the colours of
    // a visual style): one pixel of it, drawn off screen, gives its colour.
    paneColour_ = GetSysColor(COLOR_BTNFACE);
    const RECT tabs = tabs_.ClientRect();
    RECT pane = tabs;
    SendMessageA(tabs_.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    if (pane.right > pane.left && pane.bottom > pane.top) {
        fw::WindowDC screen(tabs_.Handle());
        fw::OwnedDC memory(CreateCompatibleDC(screen.Get()));
        fw::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), tabs.right, tabs.bottom));
        if (memory && bitmap) {
            fw::SelectObjectScope select(memory.Get(), bitmap.Get());
            SendMessageA(tabs_.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()),
                         PRF_CLIENT | PRF_ERASEBKGND);
            const COLORREF sampled =
                GetPixel(memory.Get(), (pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
            if (sampled != CLR_INVALID) paneColour_ = sampled;
        }
    }
    paneBrush_.Reset(CreateSolidBrush(paneColour_));
    return paneBrush_.Get();
}

INT_PTR TabbyPropertiesViewWindows::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NOTIFY:
        // Some tab controls pass their tooltip's text requests on to the window.
        if (tabs_.AnswerTipRequest(reinterpret_cast<NMHDR*>(lParam))) return TRUE;
        break;
    case WM_CTLCOLORSTATIC: {
        // Labels and check boxes take the page's colour; read-only edits
        // keep their own.
        HWND control = reinterpret_cast<HWND>(lParam);
        char kind[16] = {};
        GetClassNameA(control, kind, sizeof kind);
        if (lstrcmpiA(kind, "Edit") == 0 || !IsPageControl(control)) break;
        HBRUSH brush = PaneBrush();
        SetBkColor(reinterpret_cast<HDC>(wParam), paneColour_);
        return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        paneBrush_.Reset();
        break;
    }
    return PropertiesViewWindows::DialogProc(msg, wParam, lParam);
}
