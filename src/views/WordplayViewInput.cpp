// The interactive side of the results view: its commands and their enablers,
// the clipboard, re-sorting, the keyboard and mouse on the result list, the
// tooltip and pointing cursor, and the two context menus.
#include "views/WordplayViewWindows.h"

#include "context/HelpHook.h"
#include "context/Screen.h"
#include "resources/resource.h"
#include "results/ColumnTable.h"
#include "results/ResultsViewState.h"
#include "results/Tokens.h"
#include "search/WordplaySearch.h"

#include <commctrl.h>

#include <cstring>

namespace {

bool CtrlDown() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

bool IsMovementKey(UINT key) {
    switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
        return true;
    }
    return false;
}

// Puts text on the clipboard as plain text; empty text changes nothing.
void PutOnClipboard(HWND owner, const std::string& text) {
    if (text.empty() || !OpenClipboard(owner)) return;
    EmptyClipboard();
    fw::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (memory) {
        if (void* p = GlobalLock(memory.Get())) {
            std::memcpy(p, text.c_str(), text.size() + 1);
            GlobalUnlock(memory.Get());
            if (SetClipboardData(CF_TEXT, memory.Get())) memory.Release(); // the system owns it now
        }
    }
    CloseClipboard();
}

} // namespace

// ------------------------------------------------------------ list window

WordplayViewListWindow::WordplayViewListWindow(WordplayViewWindows& view, int id)
    : PVWListWindow(view, id), view_(view) {}

LRESULT WordplayViewListWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_KEYDOWN: {
        const UINT key = static_cast<UINT>(wParam);
        if ((key == VK_LEFT || key == VK_RIGHT) && CtrlDown()) {
            view_.MoveToken(key == VK_RIGHT);
            return 0;
        }
        view_.BeforeKey(key);
        const LRESULT result = PVWListWindow::WndProc(msg, wParam, lParam);
        view_.AfterKey(key);
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        view_.HitTestToken(pt);
        break;
    case WM_MOUSEMOVE:
        if (wParam & (MK_LBUTTON | MK_RBUTTON)) view_.HitTestToken(pt);
        view_.OnListMouseMove(pt);
        break;
    case WM_SETCURSOR:
        // The list would put its class cursor back on every move. Its header
        // asks here too, and there the last move over the rows says nothing.
        if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT &&
            view_.PointingCursor()) {
            SetCursor(view_.PointingCursor());
            return TRUE;
        }
        break;
    }
    return PVWListWindow::WndProc(msg, wParam, lParam);
}

bool WordplayViewListWindow::OnReflectedMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        view_.DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (msg != WM_NOTIFY) return false;
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    switch (hdr->code) {
    case LVN_GETDISPINFOA: {
        // The list keeps no text: every cell is asked for when needed.
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(hdr));
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
            const std::string text =
                view_.CellTextOf(static_cast<std::size_t>(info->item.iItem), info->item.iSubItem);
            lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
        }
        result = 0;
        return true;
    }
    case LVN_COLUMNCLICK:
        view_.OnHeaderClick(reinterpret_cast<const NMLISTVIEW*>(hdr)->iSubItem);
        result = 0;
        return true;
    case NM_DBLCLK:
        view_.OnListDoubleClick();
        result = 0;
        return true;
    }
    return false;
}

// --------------------------------------------------------------- commands

void WordplayViewWindows::RegisterCommands() {
    commands_.Add(
        CM_EDITPASTE, [this] { SendMessageA(answer_.Handle(), WM_PASTE, 0, 0); },
        [this] { return BoxHasFocus(); });
    commands_.Add(
        CM_EDITCUT, [this] { SendMessageA(answer_.Handle(), WM_CUT, 0, 0); },
        [this] {
            auto [from, to] = BoxSelection();
            return BoxHasFocus() && to > from;
        });
    commands_.Add(
        CM_EDITCOPY,
        [this] {
            if (BoxHasFocus())
                SendMessageA(answer_.Handle(), WM_COPY, 0, 0);
            else
                CopyResults();
        },
        [this] {
            if (BoxHasFocus()) {
                auto [from, to] = BoxSelection();
                return to > from;
            }
            return list_.SelectedCount() > 0;
        });
    commands_.Add(
        CM_EDITSELECTALL, [this] { SelectAll(); }, [this] { return !rows_.empty(); });
    commands_.Add(
        CM_FILEPRINT, [this] { Print(); }, [this] { return CanPrint(); });
    commands_.Add(
        CM_FILEPRINTPREVIEW, [this] { PrintPreview(); }, [this] { return CanPrint(); });
    commands_.Add(
        CM_FILEPAGESETUP, [this] { PageSetup(); },
        [this] { return Context().GetPrinter() != nullptr; });
    commands_.Add(CM_OPTIONS, [this] { RunOptions(); });
    commands_.Add(
        CM_INDICATORS,
        [this] {
            if (auto request = IndicatorsFor(token_))
                OpenIndicators(request->kind, request->filter);
        },
        [this] { return list_.SelectedCount() == 1 && OffersIndicators(token_); });
    commands_.Add(
        CM_HIDDENWORDS, [this] { FindHiddenWords(); },
        [this] { return dictionary_ && NormaliseAnswer(*dictionary_, lastAnswer_).size() >= 2; });
    auto sortable = [this] { return headerMenuPosition_ == 1 || headerMenuPosition_ == 2; };
    commands_.Add(
        CM_SORTASCENDING, [this] { SetSortDirection(false); }, sortable);
    commands_.Add(
        CM_SORTDESCENDING, [this] { SetSortDirection(true); }, sortable);
    commands_.Add(
        CM_PROMOTE, [this] { Promote(); }, [this] { return headerMenuPosition_ == 2; });
    commands_.Add(
        CM_DEMOTE, [this] { Demote(); }, [this] { return headerMenuPosition_ == 1; });
    commands_.Add(
        CM_LOOKUPWORD, [] {}, [this] { return !GetSelectedWord().empty(); });
}

void WordplayViewWindows::CommandEnable(fw::CommandEnabler& ce) {
    PropertiesViewWindows::CommandEnable(ce);
    if (ce.Id() == CM_SORTASCENDING || ce.Id() == CM_SORTDESCENDING) {
        const bool descending = columns_.Descending(headerMenuPosition_);
        ce.SetCheck(ce.Enabled() && descending == (ce.Id() == CM_SORTDESCENDING));
    }
}

void WordplayViewWindows::CopyResults() {
    PutOnClipboard(Handle(), CopyText(rows_, list_.SelectedItems(), token_));
}

void WordplayViewWindows::SelectAll() {
    if (BoxHasFocus()) {
        SendMessageA(answer_.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        return;
    }
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(list_.Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
    ClearToken(token_);
    if (list_.SelectedCount() == 1)
        SelectFirstToken(token_, Shown(list_.SelectedItems()[0]), brackets_);
    InvalidateRect(list_.Handle(), nullptr, TRUE);
}

void WordplayViewWindows::SelectOnly(int index) {
    HWND list = list_.Handle();
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, index);
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void WordplayViewWindows::Resort() {
    std::optional<std::string> focusedText;
    const int focused = list_.FocusedItem();
    if (focused >= 0 && static_cast<std::size_t>(focused) < rows_.size())
        focusedText = rows_[static_cast<std::size_t>(focused)].text;
    // The token belongs to the one selected row, which need not be the focused one.
    std::optional<std::string> tokenRowText;
    if (const auto selected = list_.SelectedItems();
        selected.size() == 1 && selected[0] < rows_.size())
        tokenRowText = rows_[selected[0]].text;
    SortRows(rows_, columns_);
    HWND list = list_.Handle();
    SendMessageA(list, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL);
    InvalidateRect(list, nullptr, TRUE);
    InvalidateRect(list_.Header(), nullptr, TRUE);
    if (focusedText) {
        if (auto at = FindRowByText(rows_, *focusedText)) {
            SelectOnly(static_cast<int>(*at));
            // The same row keeps its token (its text did not change); when the
            // one selected row gives way to another, that row starts at its
            // first token, as after moving to it with a key.
            if (tokenRowText && *tokenRowText != *focusedText) {
                ClearToken(token_);
                SelectFirstToken(token_, Shown(*at), brackets_);
            }
        }
    }
}

void WordplayViewWindows::OnHeaderClick(int position) {
    columns_.ToggleDirection(position);
    Resort();
}

void WordplayViewWindows::SetSortDirection(bool descending) {
    columns_.SetDescending(headerMenuPosition_, descending);
    Resort();
}

void WordplayViewWindows::Promote() {
    if (!columns_.CanPromote(headerMenuPosition_)) return;
    columns_.Promote(headerMenuPosition_);
    Resort();
}

void WordplayViewWindows::Demote() {
    if (!columns_.CanDemote(headerMenuPosition_)) return;
    columns_.Demote(headerMenuPosition_);
    Resort();
}

// ------------------------------------------------------- keyboard, mouse

void WordplayViewWindows::RedrawItem(int item) {
    if (item < 0) return;
    RECT r = list_.ItemRect(item);
    InvalidateRect(list_.Handle(), &r, TRUE);
}

void WordplayViewWindows::SetToken(const RowContext& token) {
    if (token == token_) return;
    token_ = token;
    if (list_.SelectedCount() == 1) RedrawItem(static_cast<int>(list_.SelectedItems()[0]));
}

void WordplayViewWindows::BeforeKey(UINT key) {
    if (IsMovementKey(key)) ClearToken(token_);
}

void WordplayViewWindows::AfterKey(UINT key) {
    if (!IsMovementKey(key) && key != VK_LEFT && key != VK_RIGHT) return;
    const auto selected = list_.SelectedItems();
    if (IsMovementKey(key)) {
        ClearToken(token_);
        if (selected.size() == 1) SelectFirstToken(token_, Shown(selected[0]), brackets_);
    }
    if (!selected.empty()) RedrawItem(static_cast<int>(selected[0]));
}

void WordplayViewWindows::MoveToken(bool next) {
    const auto selected = list_.SelectedItems();
    if (selected.size() != 1) return;
    const DisplayedText shown = Shown(selected[0]);
    if (next)
        SelectNextToken(token_, shown, brackets_);
    else
        SelectPreviousToken(token_, shown, brackets_);
    RedrawItem(static_cast<int>(selected[0]));
}

void WordplayViewWindows::HitTestToken(POINT client) {
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int item = static_cast<int>(
        SendMessageA(list_.Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    RowContext found;
    if (item >= 0 && static_cast<std::size_t>(item) < rows_.size()) {
        const RECT r = list_.ItemRect(item);
        found = TokenAt(
            Shown(static_cast<std::size_t>(item)), brackets_, client.x - r.left,
            list_.ColumnWidth(0), [this](std::string_view text) { return TextWidth(text); },
            geometry_.clipIndent);
    }
    SetToken(found);
}

void WordplayViewWindows::OnListMouseMove(POINT client) {
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int item = static_cast<int>(
        SendMessageA(list_.Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    std::string tip;
    bool pointing = false;
    if (item >= 0 && static_cast<std::size_t>(item) < rows_.size()) {
        const RECT r = list_.ItemRect(item);
        int left = r.left;
        int position = -1;
        int width = 0;
        for (int i = 0; i < ColumnTable::Positions; ++i) {
            width = list_.ColumnWidth(i);
            if (client.x >= left && client.x < left + width) {
                position = i;
                break;
            }
            left += width;
        }
        if (position >= 0) {
            const std::string text = CellTextOf(static_cast<std::size_t>(item), position);
            tip = CellTooltip(text, TextWidth(text), width, position, geometry_);
        }
        if (position == 0) {
            const RowContext under = TokenAt(
                Shown(static_cast<std::size_t>(item)), brackets_, client.x - r.left,
                list_.ColumnWidth(0), [this](std::string_view text) { return TextWidth(text); },
                geometry_.clipIndent);
            pointing = under.length > 0 && OffersIndicators(under);
        }
    }
    overToken_ = pointing && pointingCursor_;
    SetCursor(overToken_ ? pointingCursor_ : LoadCursorA(nullptr, IDC_ARROW));
    if (tip.size() > 999) tip.resize(999);
    if (tip != tooltipText_) UpdateToolTip(tip);
    if (ToolTip()) {
        MSG msg{};
        msg.hwnd = list_.Handle();
        msg.message = WM_MOUSEMOVE;
        msg.lParam = MAKELPARAM(client.x, client.y);
        SendMessageA(ToolTip(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
}

void WordplayViewWindows::UpdateToolTip(const std::string& text) {
    tooltipText_ = text;
    if (!ToolTip()) return;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(list_.Handle());
    SendMessageA(ToolTip(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    ti.lpszText = tooltipText_.data();
    SendMessageA(ToolTip(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void WordplayViewWindows::OnListDoubleClick() {
    if (list_.SelectedCount() != 1) return;
    if (auto request = IndicatorsFor(token_)) OpenIndicators(request->kind, request->filter);
}

// ---------------------------------------------------------- context menus

fw::Menu WordplayViewWindows::BuildContextMenu(bool header, int headerPosition) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (header) {
        if (headerPosition != 1 && headerPosition != 2) return fw::Menu();
        return fw::Menu(LoadMenuA(module, MAKEINTRESOURCEA(IDM_HEADERMENU)));
    }
    fw::Menu menu(LoadMenuA(module, MAKEINTRESOURCEA(IDM_RESULTMENU)));
    if (!menu) return menu;
    if (list_.SelectedCount() == 1) {
        const std::string kind =
            Context().LoadResourceString(static_cast<UINT>(IDS_INDICATORKIND0 + token_.kind));
        const std::string suffix = Context().LoadResourceString(IDS_INDICATORSITEM);
        if (auto text = IndicatorsItemText(token_, kind, suffix))
            ModifyMenuA(GetSubMenu(menu.Get(), 0), CM_INDICATORS, MF_BYCOMMAND | MF_STRING,
                        CM_INDICATORS, text->c_str());
    }
    return menu;
}

POINT WordplayViewWindows::KeyboardMenuPoint() const {
    POINT p{0, 0};
    const auto selected = list_.SelectedItems();
    if (!selected.empty()) {
        const RECT r = list_.ItemRect(static_cast<int>(selected[0]));
        p = {r.left, r.bottom};
    }
    ClientToScreen(list_.Handle(), &p);
    return p;
}

bool WordplayViewWindows::ContextMenu(HWND control, POINT screen) {
    HWND header = list_.Header();
    const bool fromKeyboard = screen.x == -1 && screen.y == -1;
    bool onHeader = false;
    if (!fromKeyboard && header) {
        RECT hr{};
        GetWindowRect(header, &hr);
        onHeader = control == header || PtInRect(&hr, screen);
    }
    if (onHeader) {
        HDHITTESTINFO hit{};
        hit.pt = screen;
        ScreenToClient(header, &hit.pt);
        SendMessageA(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        headerMenuPosition_ = hit.iItem;
    }
    fw::Menu menu = BuildContextMenu(onHeader, headerMenuPosition_);
    if (!menu) return onHeader; // the Wordplay heading has no menu
    POINT at = screen;
    RECT lr{};
    GetWindowRect(list_.Handle(), &lr);
    if (fromKeyboard || (!onHeader && !PtInRect(&lr, screen))) at = KeyboardMenuPoint();
    // Kept on the desktop, which may reach onto monitors left of or above the primary.
    const layout::Point clamped = layout::ClampToArea({at.x, at.y}, VirtualScreenRect());
    const int menuId = onHeader ? IDM_HEADERMENU : IDM_RESULTMENU;
    CurrentHelpContext = menuId;
    SavedHelpContext = menuId;
    HWND owner = GetAncestor(Handle(), GA_ROOT);
    TrackPopupMenu(GetSubMenu(menu.Get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, clamped.x, clamped.y,
                   0, owner ? owner : Handle(), nullptr);
    CurrentHelpContext = 0;
    SavedHelpContext = 0;
    return true;
}
