#include "dialogs/PVWControls.h"

#include "context/FontSettingWin32.h"
#include "dialogs/PropertiesViewWindows.h"
#include "framework/Dpi.h"
#include "layout/DialogLayout.h"
#include "layout/Dpi.h"
#include "resources/resource.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
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

// ------------------------------------------------- colour and font buttons

namespace {

// The chooser's title: the label just before the button in the template.
std::string ChooserTitleFor(HWND button) {
    HWND label = GetWindow(button, GW_HWNDPREV);
    char kind[16] = {};
    if (!label || !GetClassNameA(label, kind, sizeof kind) || lstrcmpiA(kind, "Static") != 0)
        return {};
    char text[256] = {};
    GetWindowTextA(label, text, sizeof text);
    return layout::ChooserTitle(text);
}

// The system choosers have no title field: their hooks set the title that
// rides in the settings record's custom data.
UINT_PTR CALLBACK ColourTitleHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG && lParam) {
        const auto* cc = reinterpret_cast<const CHOOSECOLORA*>(lParam);
        const char* title = reinterpret_cast<const char*>(cc->lCustData);
        if (title && *title) SetWindowTextA(dialog, title);
    }
    return 0;
}

UINT_PTR CALLBACK FontTitleHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG && lParam) {
        const auto* cf = reinterpret_cast<const CHOOSEFONTA*>(lParam);
        const char* title = reinterpret_cast<const char*>(cf->lCustData);
        if (title && *title) SetWindowTextA(dialog, title);
    }
    return 0;
}

// A swatch or sample button keeps a thin frame so that a colour close to the
// dialog's own still shows where the button is. Returns the area inside.
RECT DrawButtonFrame(HDC dc, RECT r, bool framed) {
    if (framed && r.right - r.left > 2 && r.bottom - r.top > 2) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    return r;
}

// The focus frame sits inside the swatch by a margin that grows with the DPI;
// the frame itself stays a hairline.
void DrawButtonFocus(HDC dc, RECT r, const DRAWITEMSTRUCT& item, int dpi) {
    if (!(item.itemState & ODS_FOCUS)) return;
    const int inset = layout::ScaleToDpi(2, dpi);
    InflateRect(&r, -inset, -inset);
    DrawFocusRect(dc, &r);
}

bool IsClick(UINT msg, WPARAM wParam) {
    return msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED;
}

} // namespace

PVWColourButton::PVWColourButton(PropertiesViewWindows& owner, int id, bool framed)
    : PVWChooserButton(owner, id, framed) {}

COLORREF* PVWColourButton::CustomColours() {
    static COLORREF colours[16] = {
        RGB(0, 0, 0),     RGB(255, 255, 255), RGB(127, 127, 127), RGB(192, 192, 192),
        RGB(127, 0, 0),   RGB(0, 127, 0),     RGB(127, 127, 0),   RGB(0, 0, 127),
        RGB(127, 0, 127), RGB(0, 127, 127),   RGB(255, 0, 0),     RGB(0, 255, 0),
        RGB(255, 255, 0), RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),
    };
    return colours;
}

void PVWColourButton::SetColour(Colour colour) {
    colour_ = colour;
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void PVWColourButton::Draw(const DRAWITEMSTRUCT& item) const {
    const RECT inside = DrawButtonFrame(item.hDC, item.rcItem, framed_);
    fw::Brush fill(CreateSolidBrush(colour_));
    FillRect(item.hDC, &inside, fill.Get());
    DrawButtonFocus(item.hDC, inside, item, owner_.Dpi());
}

void PVWColourButton::Choose() {
    const std::string title = ChooserTitleFor(Handle());
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner_.Handle();
    cc.rgbResult = colour_;
    cc.lpCustColors = CustomColours();
    cc.Flags = CC_RGBINIT | CC_SHOWHELP | CC_ENABLEHOOK;
    cc.lCustData = reinterpret_cast<LPARAM>(title.c_str());
    cc.lpfnHook = ColourTitleHook;
    if (!ChooseColorA(&cc)) return;
    SetColour(cc.rgbResult);
    owner_.ColourChanged(cc.rgbResult, id_);
}

bool PVWChooserButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (!IsClick(msg, wParam)) return false;
    Choose();
    result = 0;
    return true;
}

PVWFontButton::PVWFontButton(PropertiesViewWindows& owner, int id, std::string sample,
                             DWORD chooseFlags, double heightScale, double widthScale, bool framed)
    : PVWChooserButton(owner, id, framed), sample_(std::move(sample)), chooseFlags_(chooseFlags),
      heightScale_(heightScale), widthScale_(widthScale) {}

void PVWFontButton::SetFont(const FontSetting& font, Colour background) {
    font_ = font;
    hfont_.Reset();
    fontDpi_ = 0;
    SetBackground(background);
}

HFONT PVWFontButton::SampleFont() const {
    const int dpi = owner_.Dpi();
    if (!hfont_ || fontDpi_ != dpi) {
        hfont_ = fw::FontForDpi(ToLogFontA(font_.logFont), dpi);
        fontDpi_ = dpi;
    }
    return hfont_.Get();
}

void PVWFontButton::SetBackground(Colour background) {
    background_ = background;
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void PVWFontButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT inside = DrawButtonFrame(dc, item.rcItem, framed_);
    fw::Brush fill(CreateSolidBrush(background_));
    FillRect(dc, &inside, fill.Get());
    {
        fw::SelectObjectScope font(dc, SampleFont());
        SetTextColor(dc, font_.colour);
        SetBkMode(dc, TRANSPARENT);
        RECT text = inside;
        DrawTextA(dc, sample_.c_str(), static_cast<int>(sample_.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    DrawButtonFocus(dc, inside, item, owner_.Dpi());
}

void PVWFontButton::Choose() {
    const std::string title = ChooserTitleFor(Handle());
    // The dialog turns heights into points at the screen's DPI.
    const int screenDpi = fw::ScreenDpi();
    LOGFONTA lf = fw::LogFontForDpi(ToLogFontA(font_.logFont), screenDpi);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner_.Handle();
    cf.lpLogFont = &lf;
    cf.Flags = chooseFlags_ | CF_ENABLEHOOK;
    cf.rgbColors = font_.colour;
    cf.lCustData = reinterpret_cast<LPARAM>(title.c_str());
    cf.lpfnHook = FontTitleHook;
    if (!ChooseFontA(&cf)) return;
    FontSetting chosen;
    chosen.colour = cf.rgbColors;
    chosen.logFont = FromLogFontA(lf);
    chosen.logFont.lfHeight =
        layout::ScaleFontDimension(layout::ScaleFromDpi(lf.lfHeight, screenDpi), heightScale_);
    chosen.logFont.lfWidth =
        layout::ScaleFontDimension(layout::ScaleFromDpi(lf.lfWidth, screenDpi), widthScale_);
    SetFont(chosen, background_);
    owner_.FontChanged(chosen, id_);
}

// ------------------------------------------------------------- enumeration

PVWEnumeration::PVWEnumeration(PropertiesViewWindows& owner, int id, std::vector<int> stringIds)
    : PVWControl(owner, id), stringIds_(std::move(stringIds)) {}

void PVWEnumeration::SetupWindow() {
    SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    for (int stringId : stringIds_) {
        const std::string text = owner_.Context().LoadResourceString(static_cast<UINT>(stringId));
        SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void PVWEnumeration::SetSelection(int index) const {
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int PVWEnumeration::GetSelection() const {
    const LRESULT index = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

bool PVWEnumeration::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE) return false;
    owner_.SelectionChanged(GetSelection(), id_);
    result = 0;
    return true;
}

// -------------------------------------------------------------------- link

PVWURL::PVWURL(PropertiesViewWindows& owner, int id, std::string address)
    : PVWControl(owner, id), address_(std::move(address)) {}

void PVWURL::SetupWindow() {
    const std::string shown = layout::LinkText(address_);
    if (!shown.empty()) SetText(shown);
    owner_.AddLink(Handle());
}

void PVWURL::Open() {
    owner_.OpenLink(id_, address_);
}

LRESULT PVWURL::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_SETCURSOR:
        if (HCURSOR hand =
                LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_POINTINGHAND))) {
            SetCursor(hand);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        // The edit would start a selection; a link only remembers the press.
        pressed_ = true;
        pressedAt_ = pt;
        SetFocus(Handle());
        SetCapture(Handle());
        return 0;
    case WM_LBUTTONDBLCLK:
        return 0; // the first click of the two has opened the link already
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            ReleaseCapture();
            if (std::abs(pt.x - pressedAt_.x) <= 2 && std::abs(pt.y - pressedAt_.y) <= 2) Open();
        }
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    case WM_GETDLGCODE: {
        // Enter belongs to the link rather than the default button, and the
        // dialog must not select the whole text when the focus arrives.
        LRESULT code = PVWControl::WndProc(msg, wParam, lParam) & ~DLGC_HASSETSEL;
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE) {
            Open();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == ' ') return 0;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT result = PVWControl::WndProc(msg, wParam, lParam);
        if (msg == WM_SETFOCUS) HideCaret(Handle()); // a link has no insertion point
        InvalidateRect(Handle(), nullptr, TRUE);
        return result;
    }
    case WM_PAINT: {
        const LRESULT result = PVWControl::WndProc(msg, wParam, lParam);
        if (GetFocus() == Handle()) DrawFocus();
        return result;
    }
    }
    return PVWControl::WndProc(msg, wParam, lParam);
}

// A dotted frame round the text shows the keyboard focus, as on a button.
void PVWURL::DrawFocus() const {
    fw::WindowDC dc(Handle());
    fw::SelectObjectScope font(dc.Get(),
                               reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)));
    const std::string text = Text();
    SIZE extent{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const DWORD margins = static_cast<DWORD>(SendMessageA(Handle(), EM_GETMARGINS, 0, 0));
    const RECT client = ClientRect();
    RECT r{0, 0, 0, client.bottom};
    r.left = std::max<LONG>(0, static_cast<LONG>(LOWORD(margins)) - 1);
    r.right = std::min<LONG>(client.right, r.left + extent.cx + 2);
    DrawFocusRect(dc.Get(), &r);
}

// -------------------------------------------------------------------- tabs

void PVWTabs::SetTabTips(std::vector<std::string> tips) {
    tips_ = std::move(tips);
    HWND tooltip = reinterpret_cast<HWND>(SendMessageA(Handle(), TCM_GETTOOLTIPS, 0, 0));
    if (!tooltip) return;
    // Not every tab control makes the tools for its tabs itself (and shows
    // them the mouse); those that do have them already, asking for their text
    // in the same way.
    const int count = static_cast<int>(SendMessageA(Handle(), TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = Handle();
        ti.uId = static_cast<UINT_PTR>(i);
        if (SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti))) continue;
        ti.uFlags = 0;
        ti.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&ti.rect));
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        relay_ = true;
    }
}

int PVWTabs::Selection() const {
    return static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
}

bool PVWTabs::AnswerTipRequest(NMHDR* request) {
    HWND tooltip = reinterpret_cast<HWND>(SendMessageA(Handle(), TCM_GETTOOLTIPS, 0, 0));
    if (!request || !tooltip || request->hwndFrom != tooltip) return false;
    const UINT_PTR tab = request->idFrom;
    if (request->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(request);
        if ((info->uFlags & TTF_IDISHWND) || tab >= tips_.size()) return false;
        info->hinst = nullptr;
        info->lpszText = tips_[tab].data();
        return true;
    }
    if (request->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(request);
        if ((info->uFlags & TTF_IDISHWND) || tab >= tips_.size()) return false;
        const std::string& tip = tips_[tab];
        const int length = MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, nullptr, 0);
        wideTip_.assign(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
        if (length > 0) MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, wideTip_.data(), length);
        info->hinst = nullptr;
        info->lpszText = wideTip_.data();
        return true;
    }
    return false;
}

void PVWTabs::Step(int delta) {
    const int count = static_cast<int>(SendMessageA(Handle(), TCM_GETITEMCOUNT, 0, 0));
    if (count <= 0) return;
    int next = (std::max(Selection(), 0) + delta) % count;
    if (next < 0) next += count;
    HWND parent = GetParent(Handle());
    NMHDR change{Handle(), static_cast<UINT_PTR>(id_), static_cast<UINT>(TCN_SELCHANGING)};
    if (SendMessageA(parent, WM_NOTIFY, static_cast<WPARAM>(id_),
                     reinterpret_cast<LPARAM>(&change)))
        return;
    SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
    change.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageA(parent, WM_NOTIFY, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(&change));
}

bool PVWTabs::OnReflectedMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    if (reinterpret_cast<const NMHDR*>(lParam)->code != static_cast<UINT>(TCN_SELCHANGE))
        return false;
    owner_.ShowPage();
    result = 0;
    return true;
}

LRESULT PVWTabs::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (relay_ && msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONUP) {
        HWND tooltip = reinterpret_cast<HWND>(SendMessageA(Handle(), TCM_GETTOOLTIPS, 0, 0));
        MSG relayed{Handle(), msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        if (tooltip) SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    switch (msg) {
    case WM_NOTIFY:
        if (AnswerTipRequest(reinterpret_cast<NMHDR*>(lParam))) return 0;
        break;
    case WM_KEYDOWN:
        // The strip wraps round at both ends, unlike the system's.
        if (wParam == VK_LEFT || wParam == VK_UP) {
            Step(-1);
            return 0;
        }
        if (wParam == VK_RIGHT || wParam == VK_DOWN) {
            Step(1);
            return 0;
        }
        break;
    }
    return PVWControl::WndProc(msg, wParam, lParam);
}
