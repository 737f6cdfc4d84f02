#include "framework/ControlBar.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {
namespace {

// The toolbar bitmaps are drawn on the classic button face, which becomes
// transparent.
constexpr COLORREF kBitmapBackground = RGB(192, 192, 192);

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

} // namespace

ControlBar::~ControlBar() {
    if (Handle()) SendMessageA(Handle(), TB_SETIMAGELIST, 0, 0);
    if (images_) ImageList_Destroy(images_);
}

void ControlBar::AddButton(UINT id, bool exclusive, bool pressed) {
    gadgets_.push_back({Gadget::Kind::Button, id, 0, exclusive, pressed, {}});
}

void ControlBar::AddSeparator(int width) {
    gadgets_.push_back({Gadget::Kind::Separator, 0, width, false, false, {}});
}

void ControlBar::AddTextField(int id, int averageChars, std::string sample) {
    gadgets_.push_back(
        {Gadget::Kind::TextField, static_cast<UINT>(id), averageChars, false, false, sample});
}

void ControlBar::MakeFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTA lf{};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        lf = metrics.lfMessageFont;
    else
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    WindowDC screen(nullptr);
    lf.lfHeight = -MulDiv(pointSize_, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    lf.lfWidth = 0;
    font_.Reset(CreateFontIndirectA(&lf));
}

bool ControlBar::CreateBar(HWND frame) {
    if (Handle()) return true;
    if (!CreateControl(frame, TOOLBARCLASSNAMEA, "",
                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | CCS_TOP | CCS_NODIVIDER |
                           TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                       0, 0))
        return false;
    MakeFont();
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    // One image list of equal cells, each bitmap centred in its cell.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    std::vector<Bitmap> bitmaps;
    SIZE cell{0, 0};
    for (const Gadget& g : gadgets_) {
        if (g.kind != Gadget::Kind::Button) continue;
        bitmaps.emplace_back(static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(g.id), IMAGE_BITMAP, 0, 0, 0)));
        const SIZE s = bitmaps.back() ? BitmapSize(bitmaps.back().Get()) : SIZE{16, 16};
        cell.cx = std::max(cell.cx, s.cx);
        cell.cy = std::max(cell.cy, s.cy);
    }
    if (!bitmaps.empty()) {
        images_ = ImageList_Create(cell.cx, cell.cy, ILC_COLOR24 | ILC_MASK,
                                   static_cast<int>(bitmaps.size()), 0);
        WindowDC screen(nullptr);
        OwnedDC into(CreateCompatibleDC(screen.Get()));
        OwnedDC from(CreateCompatibleDC(screen.Get()));
        for (const Bitmap& b : bitmaps) {
            Bitmap image(CreateCompatibleBitmap(screen.Get(), cell.cx, cell.cy));
            {
                SelectObjectScope target(into.Get(), image.Get());
                Brush face(CreateSolidBrush(kBitmapBackground));
                RECT all{0, 0, cell.cx, cell.cy};
                FillRect(into.Get(), &all, face.Get());
                if (b) {
                    const SIZE s = BitmapSize(b.Get());
                    SelectObjectScope source(from.Get(), b.Get());
                    BitBlt(into.Get(), (cell.cx - s.cx) / 2, (cell.cy - s.cy) / 2, s.cx, s.cy,
                           from.Get(), 0, 0, SRCCOPY);
                }
            }
            ImageList_AddMasked(images_, image.Get(), kBitmapBackground);
        }
        SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    }

    int image = 0;
    for (const Gadget& g : gadgets_) {
        TBBUTTON button{};
        switch (g.kind) {
        case Gadget::Kind::Button:
            button.iBitmap = image++;
            button.idCommand = static_cast<int>(g.id);
            button.fsState = TBSTATE_ENABLED | (g.pressed ? TBSTATE_CHECKED : 0);
            button.fsStyle = g.exclusive ? BTNS_CHECKGROUP : BTNS_BUTTON;
            break;
        case Gadget::Kind::Separator:
            button.iBitmap = g.width;
            button.fsStyle = BTNS_SEP;
            break;
        case Gadget::Kind::TextField: {
            // The field sits in a gap as wide as itself.
            WindowDC screen(nullptr);
            SelectObjectScope use(screen.Get(), font_.Get());
            TEXTMETRICA tm{};
            GetTextMetricsA(screen.Get(), &tm);
            SIZE sample{};
            GetTextExtentPoint32A(screen.Get(), g.sample.c_str(), static_cast<int>(g.sample.size()),
                                  &sample);
            button.iBitmap = std::max<int>(tm.tmAveCharWidth * g.width, sample.cx) +
                             2 * GetSystemMetrics(SM_CXEDGE) + 6;
            button.idCommand = static_cast<int>(g.id);
            button.fsStyle = BTNS_SEP;
            break;
        }
        }
        SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(Handle(), TB_AUTOSIZE, 0, 0);

    for (const Gadget& g : gadgets_) {
        if (g.kind != Gadget::Kind::TextField) continue;
        HWND field = CreateWindowExA(
            WS_EX_STATICEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0,
            0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(g.id)), instance, nullptr);
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        fields_.push_back(field);
    }
    PlaceTextFields();
    return true;
}

void ControlBar::PlaceTextFields() {
    for (HWND field : fields_) {
        const int id = GetDlgCtrlID(field);
        const LRESULT index = SendMessageA(Handle(), TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0);
        RECT r{};
        if (index < 0 || !SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(&r)))
            continue;
        InflateRect(&r, -2, -3);
        MoveWindow(field, r.left + 2, r.top, r.right - r.left - 2, r.bottom - r.top, TRUE);
    }
}

int ControlBar::Height() const {
    if (!Handle() || !IsWindowVisible(Handle())) return 0;
    RECT r = WindowRect();
    return r.bottom - r.top;
}

HWND ControlBar::TextField(int id) const {
    return Handle() ? GetDlgItem(Handle(), id) : nullptr;
}

HWND ControlBar::ToolTips() const {
    return Handle() ? reinterpret_cast<HWND>(SendMessageA(Handle(), TB_GETTOOLTIPS, 0, 0))
                    : nullptr;
}

void ControlBar::EnableButton(UINT id, bool enable) const {
    if (Handle() && IsButtonEnabled(id) != enable)
        SendMessageA(Handle(), TB_ENABLEBUTTON, id, MAKELPARAM(enable ? TRUE : FALSE, 0));
}

void ControlBar::PressButton(UINT id, bool pressed) const {
    if (Handle() && IsButtonPressed(id) != pressed)
        SendMessageA(Handle(), TB_CHECKBUTTON, id, MAKELPARAM(pressed ? TRUE : FALSE, 0));
}

bool ControlBar::IsButtonEnabled(UINT id) const {
    return Handle() && SendMessageA(Handle(), TB_ISBUTTONENABLED, id, 0) != 0;
}

bool ControlBar::IsButtonPressed(UINT id) const {
    return Handle() && SendMessageA(Handle(), TB_ISBUTTONCHECKED, id, 0) != 0;
}

RECT ControlBar::ButtonRect(UINT id) const {
    RECT r{};
    if (Handle()) SendMessageA(Handle(), TB_GETRECT, id, reinterpret_cast<LPARAM>(&r));
    return r;
}

std::vector<UINT> ControlBar::ButtonIds() const {
    std::vector<UINT> ids;
    for (const Gadget& g : gadgets_)
        if (g.kind == Gadget::Kind::Button) ids.push_back(g.id);
    return ids;
}

std::string ControlBar::TipText(UINT id) {
    char buffer[1024] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    const std::string text(buffer, static_cast<size_t>(length > 0 ? length : 0));
    const auto lineBreak = text.find('\n');
    return lineBreak == std::string::npos ? text : text.substr(lineBreak + 1);
}

bool ControlBar::OnTipRequest(NMHDR* hdr) {
    if (!hdr || hdr->hwndFrom != ToolTips()) return false;
    if (hdr->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
        tip_ = TipText(static_cast<UINT>(hdr->idFrom));
        info->lpszText = tip_.data();
        info->hinst = nullptr;
        return true;
    }
    if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        tip_ = TipText(static_cast<UINT>(hdr->idFrom));
        MultiByteToWideChar(CP_ACP, 0, tip_.c_str(), -1, info->szText,
                            static_cast<int>(std::size(info->szText)));
        info->szText[std::size(info->szText) - 1] = L'\0';
        info->lpszText = info->szText;
        info->hinst = nullptr;
        return true;
    }
    return false;
}

} // namespace fw
