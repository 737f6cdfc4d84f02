#include "framework/ControlBar.h"

#include "framework/Dpi.h"
#include "layout/Dpi.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

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

// A bitmap's pixels as 0xAARRGGBB, rows top first, centred in a cell of the
// given size; its background colour and the rest of the cell see-through.
std::vector<std::uint32_t> CellPixels(HBITMAP bitmap, SIZE cell) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(cell.cx) * cell.cy, 0);
    if (!bitmap) return out;
    const SIZE s = BitmapSize(bitmap);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.cx;
    bi.bmiHeader.biHeight = -s.cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(s.cx) * s.cy);
    WindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(s.cy), pixels.data(), &bi,
                  DIB_RGB_COLORS) == 0)
        return out;
    const std::uint32_t background =
        static_cast<std::uint32_t>(GetRValue(kBitmapBackground)) << 16 |
        GetGValue(kBitmapBackground) << 8 | GetBValue(kBitmapBackground);
    const int left = (cell.cx - s.cx) / 2, top = (cell.cy - s.cy) / 2;
    for (int y = 0; y < s.cy; ++y)
        for (int x = 0; x < s.cx; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * s.cx + x] & 0xFFFFFF;
            out[static_cast<std::size_t>(y + top) * cell.cx + (x + left)] =
                p == background ? 0 : (0xFF000000 | p);
        }
    return out;
}

// The picture of a disabled button: its lightness only, faded towards the
// button face, in the same shape.
std::vector<std::uint32_t> Greyed(std::vector<std::uint32_t> pixels) {
    for (std::uint32_t& p : pixels) {
        const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        const std::uint32_t grey = 128 + (r * 30 + g * 59 + b * 11) / 200;
        p = (p & 0xFF000000) | grey << 16 | grey << 8 | grey;
    }
    return pixels;
}

// A 32-bit bitmap with premultiplied alpha, as image lists draw them.
Bitmap AlphaBitmap(const std::vector<std::uint32_t>& pixels, SIZE size) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    Bitmap bitmap(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return bitmap;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t p = pixels[i], a = p >> 24;
        const auto channel = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        out[i] = a << 24 | channel((p >> 16) & 0xFF) << 16 | channel((p >> 8) & 0xFF) << 8 |
                 channel(p & 0xFF);
    }
    GdiFlush();
    return bitmap;
}

} // namespace

ControlBar::~ControlBar() {
    if (Handle()) {
        SendMessageA(Handle(), TB_SETIMAGELIST, 0, 0);
        SendMessageA(Handle(), TB_SETDISABLEDIMAGELIST, 0, 0);
    }
    if (images_) ImageList_Destroy(images_);
    if (disabledImages_) ImageList_Destroy(disabledImages_);
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
    lf.lfHeight = -MulDiv(pointSize_, dpi_, 72);
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
    SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    dpi_ = WindowDpi(frame);
    AddGadgets();
    return true;
}

void ControlBar::SetDpi(int dpi) {
    if (!Handle() || dpi <= 0 || dpi == dpi_) return;
    // The states live in the buttons; keep them across the rebuild.
    for (Gadget& g : gadgets_) {
        if (g.kind != Gadget::Kind::Button) continue;
        g.pressed = IsButtonPressed(g.id);
        g.enabled = IsButtonEnabled(g.id);
    }
    std::vector<std::string> texts;
    for (HWND field : fields_) {
        char text[256] = {};
        GetWindowTextA(field, text, sizeof text);
        texts.emplace_back(text);
    }
    RemoveGadgets();
    dpi_ = dpi;
    AddGadgets();
    for (std::size_t i = 0; i < fields_.size() && i < texts.size(); ++i)
        SetWindowTextA(fields_[i], texts[i].c_str());
}

void ControlBar::RemoveGadgets() {
    while (SendMessageA(Handle(), TB_BUTTONCOUNT, 0, 0) > 0)
        SendMessageA(Handle(), TB_DELETEBUTTON, 0, 0);
    for (HWND field : fields_)
        ::DestroyWindow(field);
    fields_.clear();
    SendMessageA(Handle(), TB_SETIMAGELIST, 0, 0);
    SendMessageA(Handle(), TB_SETDISABLEDIMAGELIST, 0, 0);
    if (images_) ImageList_Destroy(std::exchange(images_, nullptr));
    if (disabledImages_) ImageList_Destroy(std::exchange(disabledImages_, nullptr));
}

// One image list of equal cells, each picture centred in its cell and
// resampled for the bar's DPI.
void ControlBar::MakeImages() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    std::vector<Bitmap> bitmaps;
    SIZE cell{0, 0};
    for (const Gadget& g : gadgets_) {
        if (g.kind != Gadget::Kind::Button) continue;
        bitmaps.emplace_back(static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(g.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        const SIZE s = bitmaps.back() ? BitmapSize(bitmaps.back().Get()) : SIZE{16, 16};
        cell.cx = std::max(cell.cx, s.cx);
        cell.cy = std::max(cell.cy, s.cy);
    }
    if (bitmaps.empty()) return;
    imageSize_ = {layout::ScaleToDpi(cell.cx, dpi_), layout::ScaleToDpi(cell.cy, dpi_)};
    const int count = static_cast<int>(bitmaps.size());
    images_ = ImageList_Create(imageSize_.cx, imageSize_.cy, ILC_COLOR32, count, 0);
    disabledImages_ = ImageList_Create(imageSize_.cx, imageSize_.cy, ILC_COLOR32, count, 0);
    for (const Bitmap& b : bitmaps) {
        const auto scaled = layout::ScaleImage(CellPixels(b.Get(), cell), cell.cx, cell.cy,
                                               imageSize_.cx, imageSize_.cy);
        Bitmap image = AlphaBitmap(scaled, imageSize_);
        ImageList_Add(images_, image.Get(), nullptr);
        Bitmap greyed = AlphaBitmap(Greyed(scaled), imageSize_);
        ImageList_Add(disabledImages_, greyed.Get(), nullptr);
    }
    SendMessageA(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize_.cx, imageSize_.cy));
    SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    SendMessageA(Handle(), TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImages_));
}

void ControlBar::AddGadgets() {
    MakeFont();
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    MakeImages();

    int image = 0;
    for (const Gadget& g : gadgets_) {
        TBBUTTON button{};
        switch (g.kind) {
        case Gadget::Kind::Button:
            button.iBitmap = image++;
            button.idCommand = static_cast<int>(g.id);
            button.fsState = (g.enabled ? TBSTATE_ENABLED : 0) | (g.pressed ? TBSTATE_CHECKED : 0);
            button.fsStyle = g.exclusive ? BTNS_CHECKGROUP : BTNS_BUTTON;
            break;
        case Gadget::Kind::Separator:
            button.iBitmap = layout::ScaleToDpi(g.width, dpi_);
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
                             2 * MetricForDpi(SM_CXEDGE, dpi_) + layout::ScaleToDpi(6, dpi_);
            button.idCommand = static_cast<int>(g.id);
            button.fsStyle = BTNS_SEP;
            break;
        }
        }
        SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(Handle(), TB_AUTOSIZE, 0, 0);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const Gadget& g : gadgets_) {
        if (g.kind != Gadget::Kind::TextField) continue;
        HWND field = CreateWindowExA(
            WS_EX_STATICEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0,
            0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(g.id)), instance, nullptr);
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        fields_.push_back(field);
    }
    PlaceTextFields();
}

void ControlBar::PlaceTextFields() {
    for (HWND field : fields_) {
        const int id = GetDlgCtrlID(field);
        const LRESULT index = SendMessageA(Handle(), TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0);
        RECT r{};
        if (index < 0 || !SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(&r)))
            continue;
        const int inset = layout::ScaleToDpi(2, dpi_);
        InflateRect(&r, -inset, -layout::ScaleToDpi(3, dpi_));
        MoveWindow(field, r.left + inset, r.top, r.right - r.left - inset, r.bottom - r.top, TRUE);
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
