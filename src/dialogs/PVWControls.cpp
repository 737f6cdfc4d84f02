#include "dialogs/PVWControls.h"

#include "dialogs/PropertiesViewWindows.h"
#include "layout/DialogLayout.h"

#include <memory>

PVWControl::PVWControl(PropertiesViewWindows& owner, int id) : owner_(owner), id_(id) {
    owner.RegisterControl(this);
}

void PVWControl::AttachControl(HWND dialog) {
    if (HWND control = GetDlgItem(dialog, id_)) Attach(control);
}

// ------------------------------------------------------------- push button

bool PVWPushButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    owner_.ControlCommand(Handle(), id_);
    result = 0;
    return true;
}

// --------------------------------------------------------------- check box

int PVWCheckBox::State() const {
    return static_cast<int>(SendMessageA(Handle(), BM_GETCHECK, 0, 0));
}

void PVWCheckBox::SetState(int state) const {
    SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

bool PVWCheckBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    owner_.ControlCommand(Handle(), id_);
    result = 0;
    return true;
}

// -------------------------------------------------------------------- edit

void PVWEdit::SetEditText(const std::string& text) {
    settingText_ = true;
    SetText(text);
    settingText_ = false;
}

bool PVWEdit::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
    result = 0;
    if (settingText_ || reporting_) return true;
    reporting_ = true;
    owner_.EditChanged(Handle(), id_);
    reporting_ = false;
    return true;
}

// ------------------------------------------------------------------- combo

PVWCombo::~PVWCombo() {
    if (Handle()) Clear();
}

int PVWCombo::Count() const {
    const LRESULT n = SendMessageA(Handle(), CB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

// The full name of each entry lives in a heap string kept as the item data.
static const std::string* NameOf(HWND combo, int index) {
    const LRESULT data = SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == CB_ERR || data == 0) return nullptr;
    return reinterpret_cast<const std::string*>(data);
}

std::string PVWCombo::FullName(int index) const {
    const std::string* name = NameOf(Handle(), index);
    return name ? *name : std::string();
}

std::string PVWCombo::ShownText(int index) const {
    const LRESULT length = SendMessageA(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int PVWCombo::FindFromEnd(const std::string& name) const {
    for (int i = Count(); i-- > 0;) {
        const std::string* full = NameOf(Handle(), i);
        if (full && full->size() == name.size() && lstrcmpiA(full->c_str(), name.c_str()) == 0)
            return i;
    }
    return -1;
}

int PVWCombo::Insert(int at, const std::string& name) {
    const std::string shown = fullNames_ ? name : layout::ShortDictionaryName(name);
    const LRESULT index = SendMessageA(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(at),
                                       reinterpret_cast<LPARAM>(shown.c_str()));
    if (index < 0) return -1;
    auto owned = std::make_unique<std::string>(name);
    SendMessageA(Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(owned.release()));
    return static_cast<int>(index);
}

void PVWCombo::DeleteEntry(int index) {
    delete NameOf(Handle(), index);
    SendMessageA(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void PVWCombo::Add(const std::string& name, bool select) {
    const int found = FindFromEnd(name);
    if (!select) {
        if (found < 0) Insert(-1, name);
        return;
    }
    // The edit text is kept: selecting an entry would replace what the user typed.
    const std::string typed = Text();
    int index = 0;
    if (found > 0) {
        const std::string kept = FullName(found);
        DeleteEntry(found);
        index = Insert(0, kept);
    } else if (found < 0) {
        index = Insert(0, name);
    }
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (fullNames_) SetText(typed);
}

void PVWCombo::Remove(const std::string& name) {
    for (int i = FindFromEnd(name); i >= 0; i = FindFromEnd(name))
        DeleteEntry(i);
}

void PVWCombo::Clear() {
    for (int i = Count(); i-- > 0;)
        DeleteEntry(i);
}

std::optional<std::string> PVWCombo::GetSelectedName() const {
    const LRESULT index = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::nullopt;
    return FullName(static_cast<int>(index));
}

bool PVWCombo::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND) return false;
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE:
        // Moving through the open list with the arrow keys is browsing, not
        // choosing: the owner hears of the entry the list closes on.
        if (SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0)) {
            choicePending_ = true;
        } else {
            NotifySelection();
        }
        result = 0;
        return true;
    case CBN_SELENDOK:
        if (choicePending_) NotifySelection();
        choicePending_ = false;
        return false;
    case CBN_SELENDCANCEL:
        choicePending_ = false;
        return false;
    default:
        return false;
    }
}

void PVWCombo::NotifySelection() {
    const LRESULT index = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) owner_.SelectionChanged(static_cast<int>(index), id_);
}

LRESULT PVWCombo::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) Clear();
    return PVWControl::WndProc(msg, wParam, lParam);
}

// ------------------------------------------------------------------- brush

void PVWBrush::SetColour(COLORREF colour) {
    if (brush_ && colour == colour_) return;
    colour_ = colour;
    brush_.Reset(CreateSolidBrush(colour));
}

// ------------------------------------------------------------- list window

HWND PVWListWindow::Header() const {
    return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
}

void PVWListWindow::MakeHeaderOwnerDrawn(int columnCount) {
    HWND header = Header();
    if (!header) return;
    for (int i = 0; i < columnCount; ++i) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.fmt |= HDF_OWNERDRAW;
        SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

int PVWListWindow::SelectedCount() const {
    return static_cast<int>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

int PVWListWindow::FocusedItem() const {
    return static_cast<int>(
        SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

std::vector<std::size_t> PVWListWindow::SelectedItems() const {
    std::vector<std::size_t> items;
    for (LRESULT i =
             SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
         i >= 0; i = SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))
        items.push_back(static_cast<std::size_t>(i));
    return items;
}

RECT PVWListWindow::ItemRect(int item) const {
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!SendMessageA(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(item),
                      reinterpret_cast<LPARAM>(&r)))
        r = RECT{};
    return r;
}

int PVWListWindow::ColumnWidth(int column) const {
    return static_cast<int>(
        SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

namespace {

int CALLBACK CompareListItems(LPARAM a, LPARAM b, LPARAM comparer) {
    return reinterpret_cast<const ListItemComparer*>(comparer)->Compare(a, b);
}

} // namespace

void PVWListWindow::SortItems(const ListItemComparer& comparer) const {
    SendMessageA(Handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&comparer),
                 reinterpret_cast<LPARAM>(&CompareListItems));
}

void PVWListWindow::DrawHeaderItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    r.left += tm.tmAveCharWidth;
    if (!(item.itemState & ODS_SELECTED)) OffsetRect(&r, -1, -1);

    const int item_ = static_cast<int>(item.itemID);
    int right = r.right;
    const auto lines =
        layout::SortTriangle(owner_.HeaderSortIndicator(item_), r.right, r.top, r.bottom, right);
    if (!lines.empty()) {
        fw::Pen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
        fw::Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        for (const auto& line : lines) {
            fw::SelectObjectScope pen(dc, line.highlight ? highlight.Get() : shadow.Get());
            MoveToEx(dc, line.points[0].x, line.points[0].y, nullptr);
            for (std::size_t i = 1; i < line.points.size(); ++i)
                LineTo(dc, line.points[i].x, line.points[i].y);
        }
    }
    if (r.left < right) {
        RECT text = r;
        text.right = right;
        const std::string title = owner_.HeaderTitle(item_);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

LRESULT PVWListWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->hwndItem == Header()) {
            DrawHeaderItem(*item);
            return TRUE;
        }
    }
    return PVWControl::WndProc(msg, wParam, lParam);
}
