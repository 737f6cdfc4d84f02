#include "dialogs/PropertiesViewWindows.h"

#include "context/HelpHook.h"
#include "context/Screen.h"
#include "dialogs/LookupPropertiesViewWindows.h"
#include "dialogs/PVWControls.h"
#include "framework/Dpi.h"
#include "layout/Dpi.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

constexpr int kCancelId = 2;

bool IsLookupCommand(UINT id) {
    return id == CM_LOOKUPSETUP || id == CM_LOOKUPDEFAULT ||
           (id >= CM_LOOKUPMETHOD0 && id <= CM_LOOKUPMETHODLAST);
}

bool IsListControl(HWND hwnd) {
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpiA(name, WC_LISTVIEWA) == 0;
}

bool IsComboBox(HWND hwnd) {
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpiA(name, "ComboBox") == 0;
}

} // namespace

PropertiesViewWindows::PropertiesViewWindows(std::string prefix, AppContext& context,
                                             int templateId, bool childView, bool wantTooltips)
    : fw::Dialog(templateId), SettingsAccessor(std::move(prefix), context.Settings()),
      context_(context), templateId_(templateId), childView_(childView),
      wantTooltips_(wantTooltips) {}

PropertiesViewWindows::~PropertiesViewWindows() = default;

void PropertiesViewWindows::SetupWindow() {
    dpi_ = fw::WindowDpi(Handle());
    // The window scales itself when its DPI changes (ChangeDpi); the dialog
    // manager must not do it a second time.
    fw::TakeOverDialogScaling(Handle());
    for (PVWControl* control : controls_)
        control->AttachControl(Handle());
    if (wantTooltips_) CreateToolTipWindow();
    if (tooltip_) {
        SendMessageA(tooltip_.Get(), TTM_ACTIVATE, TRUE, 0);
        SendMessageA(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0,
                     GetSystemMetrics(SM_CXSCREEN) - layout::ScaleToDpi(16, dpi_));
    }
    if (HICON large = context_.LargeIcon())
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    if (HICON small = context_.SmallIcon())
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SetupControls();
    RestorePosition();
}

void PropertiesViewWindows::SetupControls() {}

void PropertiesViewWindows::CreateToolTipWindow() {
    if (tooltip_) return;
    tooltip_.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
}

// A window inside another (the results view in the main frame) takes its
// place from its parent; only windows of their own remember where they were.
void PropertiesViewWindows::RestorePosition() {
    if (GetWindowLongA(Handle(), GWL_STYLE) & WS_CHILD) return;
    const std::string stored = GetSettingString("Position", "");
    const RECT current = WindowRect();
    const bool sizable = (GetWindowLongA(Handle(), GWL_STYLE) & WS_THICKFRAME) != 0;
    auto r = layout::RestorablePosition(stored, MonitorRects(), sizable,
                                        current.right - current.left, current.bottom - current.top);
    if (!r) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(Handle(), &wp);
    wp.rcNormalPosition = {r->x, r->y, r->x + r->width, r->y + r->height};
    wp.showCmd = IsWindowVisible(Handle()) ? SW_RESTORE : SW_HIDE;
    wp.flags = 0;
    SetWindowPlacement(Handle(), &wp);
}

void PropertiesViewWindows::SavePosition() {
    if (!Handle() || (GetWindowLongA(Handle(), GWL_STYLE) & WS_CHILD)) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(Handle(), &wp)) return;
    const RECT& r = wp.rcNormalPosition;
    SetSettingString("Position",
                     FormatPlacement(false, r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void PropertiesViewWindows::Destroy(INT_PTR result) {
    SavePosition();
    positionSaved_ = true;
    if (childView_)
        Deactivate();
    else
        EndDialog(result);
}

void PropertiesViewWindows::OnDestroy() {
    if (!positionSaved_) SavePosition();
    tooltip_.Reset();
}

void PropertiesViewWindows::OnOK() {
    if (!childView_) Destroy(IDOK);
}

// Escape in a child view must not take the view away.
void PropertiesViewWindows::OnCancel() {
    if (childView_) return;
    Destroy(IDCANCEL);
}

void PropertiesViewWindows::Activate() {
    if (wantTooltips_ && !tooltip_) CreateToolTipWindow();
    if (tooltip_) SendMessageA(tooltip_.Get(), TTM_ACTIVATE, TRUE, 0);
    ShowWindow(Handle(), SW_SHOW);
    BringWindowToTop(Handle());
    activation_ = Activation::Active;
    positionSaved_ = false; // it may move again before it is closed
}

// The tooltip window keeps its tools while the window is hidden: they were
// added once at set-up and would not come back with a new tooltip window.
void PropertiesViewWindows::Deactivate() {
    if (tooltip_) SendMessageA(tooltip_.Get(), TTM_ACTIVATE, FALSE, 0);
    activation_ = Activation::Inactive;
    ShowWindow(Handle(), SW_HIDE);
}

void PropertiesViewWindows::EnableControls(bool enable) {
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id == kCancelId || id == IDC_HELPBUTTON || id == IDC_NOTDISABLED) continue;
        EnableWindow(child, enable);
    }
}

void PropertiesViewWindows::ControlCommand(HWND, int) {}
void PropertiesViewWindows::EditChanged(HWND, int) {}
bool PropertiesViewWindows::UpDownChanging(int, int) {
    return false;
}
void PropertiesViewWindows::ColourChanged(Colour, int) {}
void PropertiesViewWindows::FontChanged(const FontSetting&, int) {}
void PropertiesViewWindows::SelectionChanged(int, int) {}
void PropertiesViewWindows::SwitchPage(int) {}
void PropertiesViewWindows::ShowPage() {}
void PropertiesViewWindows::SwitchWindows(UINT) {}
int PropertiesViewWindows::HeaderSortIndicator(int) {
    return 0;
}
std::string PropertiesViewWindows::HeaderTitle(int) {
    return "wrong";
}
std::string PropertiesViewWindows::GetSelectedWord() {
    return {};
}
bool PropertiesViewWindows::ContextMenu(HWND, POINT) {
    return false;
}

void PropertiesViewWindows::LookupCommand(UINT id) {
    if (id == CM_LOOKUPSETUP) {
        LookupPropertiesViewWindows setup(context_);
        setup.DoModal(Handle());
        return;
    }
    const std::string word = GetSelectedWord();
    if (!word.empty()) context_.LookupOrReport(id, word, GetAncestor(Handle(), GA_ROOT));
}

void PropertiesViewWindows::FillLookupMenu(HMENU popup, bool enable) {
    context_.RebuildLookupMenu(popup, enable);
}

void PropertiesViewWindows::OpenLink(int, const std::string& address) {
    if (!address.empty()) context_.OpenAddress(address);
}

void PropertiesViewWindows::AddLink(HWND control) {
    if (!control || IsLink(control)) return;
    links_.push_back(control);
    if (!linkFont_) {
        HFONT base = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
        if (!base) base = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
        LOGFONTA lf{};
        if (GetObjectA(base, sizeof lf, &lf)) {
            lf.lfUnderline = TRUE;
            linkFont_.Reset(CreateFontIndirectA(&lf));
        }
    }
    if (linkFont_)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), TRUE);
}

bool PropertiesViewWindows::IsLink(HWND control) const {
    return std::find(links_.begin(), links_.end(), control) != links_.end();
}

INT_PTR PropertiesViewWindows::OnLinkColour(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_ACTIVECAPTION));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

void PropertiesViewWindows::Help() {
    context_.ShowHelp(HELP_CONTEXT, HelpContext());
}

void PropertiesViewWindows::AddToolTip(HWND control) {
    HWND tooltip = ToolTip();
    if (!tooltip || !control) return;
    char buffer[1024] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr),
                                   static_cast<UINT>(GetDlgCtrlID(control)), buffer, sizeof buffer);
    std::string text = layout::TooltipText(std::string_view(buffer, length > 0 ? length : 0));
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = text.data();
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void PropertiesViewWindows::UseToolTipWindow(HWND tooltip) {
    sharedTooltip_ = tooltip;
    if (tooltip_ || !tooltip) return;
    SendMessageA(tooltip, TTM_ACTIVATE, TRUE, 0);
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0,
                 GetSystemMetrics(SM_CXSCREEN) - layout::ScaleToDpi(16, dpi_));
}

void PropertiesViewWindows::SetAccelerators(int tableId) {
    accelerators_.Reset(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(tableId)));
}

RECT PropertiesViewWindows::ControlRect(HWND control) const {
    RECT r{};
    GetWindowRect(control, &r);
    // A combo box's window height is its list's dropped height; its visible
    // rectangle is only the edit part, and moving it with that height would
    // leave the drop-down list without room for its entries.
    RECT dropped{};
    if (IsComboBox(control) &&
        SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) &&
        dropped.bottom - dropped.top > r.bottom - r.top)
        r.bottom = r.top + (dropped.bottom - dropped.top);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void PropertiesViewWindows::AddMoveable(int id, layout::MoveMode horizontal,
                                        layout::MoveMode vertical) {
    HWND control = Item(id);
    if (!control) return;
    auto m = std::make_unique<MoveableControl>();
    m->horizontal = horizontal;
    m->vertical = vertical;
    m->control = control;
    m->templateRect = ControlRect(control);
    const RECT client = ClientRect();
    const RECT& t = m->templateRect;
    m->horizontalOffset = layout::MoveOffset(horizontal, client.right, t.left, t.right - t.left);
    m->verticalOffset = layout::MoveOffset(vertical, client.bottom, t.top, t.bottom - t.top);
    moveables_.push_back(std::move(m));
}

void PropertiesViewWindows::LayoutMoveables() {
    if (moveables_.empty()) return;
    const RECT client = ClientRect();
    for (const auto& m : moveables_) {
        const RECT& t = m->templateRect;
        const layout::Span h = layout::MovePlace(m->horizontal, client.right, m->horizontalOffset,
                                                 t.left, t.right - t.left);
        const layout::Span v = layout::MovePlace(m->vertical, client.bottom, m->verticalOffset,
                                                 t.top, t.bottom - t.top);
        SetWindowPos(m->control, nullptr, h.position, v.position, h.size, v.size,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
}

void PropertiesViewWindows::ChangeDpi(int dpi) {
    const int old = dpi_;
    if (dpi <= 0 || dpi == old) return;
    dpi_ = dpi;
    const auto scale = [old, dpi](LONG v) { return layout::ScaleBetweenDpi(v, old, dpi); };

    // The template's font, for the controls that still use it.
    const HFONT oldFont = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (oldFont && GetObjectA(oldFont, sizeof lf, &lf)) {
        lf.lfHeight = scale(lf.lfHeight);
        lf.lfWidth = scale(lf.lfWidth);
        fw::Font font(CreateFontIndirectA(&lf));
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        for (HWND child = GetWindow(Handle(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            if (reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)) == oldFont)
                SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        dialogFont_ = std::move(font); // the old one, if ours, goes only now
    }
    // Moveable controls keep their rules at the new size; the others move
    // and grow where they stand.
    for (const auto& m : moveables_) {
        RECT& t = m->templateRect;
        t = {scale(t.left), scale(t.top), scale(t.right), scale(t.bottom)};
        m->horizontalOffset = scale(m->horizontalOffset);
        m->verticalOffset = scale(m->verticalOffset);
    }
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool moveable = std::any_of(moveables_.begin(), moveables_.end(),
                                          [child](const auto& m) { return m->control == child; });
        if (moveable) continue;
        const RECT r = ControlRect(child);
        SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                     scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!links_.empty()) {
        linkFont_.Reset();
        const std::vector<HWND> links = std::exchange(links_, {});
        for (HWND link : links)
            AddLink(link);
    }
    if (HWND tooltip = ToolTip())
        SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0,
                     GetSystemMetrics(SM_CXSCREEN) - layout::ScaleToDpi(16, dpi_));
    DpiChanged(old, dpi);
    LayoutMoveables();
}

void PropertiesViewWindows::DpiChanged(int, int) {}

void PropertiesViewWindows::OnDpiChangedMessage(int dpi, const RECT& suggested) {
    ChangeDpi(dpi);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PropertiesViewWindows::OnSize(UINT type) {
    if (type == SIZE_MINIMIZED) return;
    LayoutMoveables();
}

bool PropertiesViewWindows::OnPaint() {
    if (!(GetWindowLongA(Handle(), GWL_STYLE) & WS_THICKFRAME)) return false;
    fw::PaintDC dc(Handle());
    RECT r = ClientRect();
    r.left = r.right - fw::MetricForDpi(SM_CXVSCROLL, dpi_);
    r.top = r.bottom - fw::MetricForDpi(SM_CYHSCROLL, dpi_);
    DrawFrameControl(dc.Get(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return true;
}

// The F1 hook posts the key it saw; the Help button of a colour, font or file
// dialog owned by this window sends the same message with its settings
// record, and gets the help of this window too.
void PropertiesViewWindows::OnHelpRequest(WPARAM key, LPARAM source) {
    if (source != 0 || key == VK_F1)
        Help();
    else if (key == VK_TAB)
        SwitchPage((GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1);
}

void PropertiesViewWindows::OnInitMenuPopup(HMENU popup, bool systemMenu) {
    if (systemMenu) {
        CurrentHelpContext = IDH_SYSTEMMENU;
        SavedHelpContext = IDH_SYSTEMMENU;
        return;
    }
    // The External Lookup submenu ends with its Setup item.
    fw::MenuView menu(popup);
    const int count = menu.ItemCount();
    if (count > 0 && menu.ItemId(count - 1) == CM_LOOKUPSETUP)
        FillLookupMenu(popup, !GetSelectedWord().empty());
}

void PropertiesViewWindows::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    FollowMenuSelection(item, flags, menu);
}

bool PropertiesViewWindows::OnCommand(UINT id, UINT notifyCode, HWND control) {
    if (id == IDC_HELPBUTTON && control) {
        Help();
        return true;
    }
    if (IsLookupCommand(id) && !commands_.Contains(id)) {
        LookupCommand(id);
        return true;
    }
    return fw::Dialog::OnCommand(id, notifyCode, control);
}

void PropertiesViewWindows::CommandEnable(fw::CommandEnabler& ce) {
    fw::Dialog::CommandEnable(ce);
    if (ce.Handled() || !IsLookupCommand(ce.Id())) return;
    ce.Enable(ce.Id() == CM_LOOKUPSETUP || !GetSelectedWord().empty());
}

bool PropertiesViewWindows::PreTranslateMessage(MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
        // A view inside the main window runs in the program's own loop, where
        // the F1 hook of dialog boxes never sees the key.
        if (msg.wParam == VK_F1 && childView_) {
            Help();
            return true;
        }
        if (msg.wParam == VK_F4 || msg.wParam == VK_F5 || msg.wParam == VK_F6) {
            SwitchWindows(static_cast<UINT>(msg.wParam));
            return true;
        }
        break;
    case WM_RBUTTONDOWN:
        // The list selects the row under the pointer before its menu opens.
        if (IsListControl(msg.hwnd) && GetParent(msg.hwnd) == Handle()) SetFocus(msg.hwnd);
        break;
    }
    return accelerators_ && Handle() &&
           TranslateAcceleratorA(Handle(), accelerators_.Get(), &msg) != 0;
}

INT_PTR PropertiesViewWindows::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == HelpRequestMessage && msg != 0) {
        OnHelpRequest(wParam, lParam);
        return TRUE;
    }
    switch (msg) {
    case WM_HELP:
        Help();
        return TRUE;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam));
        return FALSE;
    case WM_DPICHANGED:
        if (lParam) OnDpiChangedMessage(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (IsLink(reinterpret_cast<HWND>(lParam)))
            return OnLinkColour(reinterpret_cast<HDC>(wParam));
        break;
    case WM_PAINT:
        if (OnPaint()) return TRUE;
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
        break;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_CONTEXTMENU: {
        // Right-click and the context-menu key both arrive here: from a list,
        // or from its header, which passes the request up to the list.
        HWND control = reinterpret_cast<HWND>(wParam);
        if (control && !IsListControl(control)) control = GetParent(control);
        if (control && IsListControl(control) && GetParent(control) == Handle()) {
            const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (ContextMenu(reinterpret_cast<HWND>(wParam), pt)) return TRUE;
        }
        break;
    }
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->code == UDN_DELTAPOS) {
            const auto* ud = reinterpret_cast<const NMUPDOWN*>(lParam);
            const BOOL cancel = UpDownChanging(ud->iDelta, static_cast<int>(hdr->idFrom));
            SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, cancel);
            return TRUE;
        }
        break;
    }
    }
    return fw::Dialog::DialogProc(msg, wParam, lParam);
}
