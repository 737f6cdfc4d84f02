#include "framework/StatusBar.h"

#include "framework/Dpi.h"
#include "layout/Dpi.h"

#include <commctrl.h>

#include <utility>

namespace fw {

bool StatusBar::CreateBar(HWND frame) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_BOTTOM;
    if (options_ & SizeGrip) style |= SBARS_SIZEGRIP;
    if (!CreateControl(frame, STATUSCLASSNAMEA, "", style, 0, 0)) return false;
    SetDpi(WindowDpi(frame));
    SetStatus("");
    return true;
}

void StatusBar::SetDpi(int dpi) {
    if (!Handle()) return;
    // The stock font is made for the screen's DPI.
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf{};
    if (dpi != ScreenDpi() && GetObjectA(font, sizeof lf, &lf)) {
        lf.lfHeight = layout::ScaleBetweenDpi(lf.lfHeight, ScreenDpi(), dpi);
        lf.lfWidth = layout::ScaleBetweenDpi(lf.lfWidth, ScreenDpi(), dpi);
        Font scaled(CreateFontIndirectA(&lf));
        if (scaled) font = scaled.Get();
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        font_ = std::move(scaled);
    } else {
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        font_.Reset();
    }
}

void StatusBar::SetStatus(const std::string& text) {
    if (!Handle()) return;
    const WPARAM kind = (options_ & Flat) ? SBT_NOBORDERS : 0;
    SendMessageA(Handle(), SB_SETTEXTA, 0 | kind, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::Status() const {
    if (!Handle()) return {};
    LRESULT info = SendMessageA(Handle(), SB_GETTEXTLENGTHA, 0, 0);
    std::string text(static_cast<size_t>(LOWORD(info)) + 1, '\0');
    SendMessageA(Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(LOWORD(info)));
    return text;
}

int StatusBar::Height() const {
    if (!Handle() || !IsWindowVisible(Handle())) return 0;
    RECT r = WindowRect();
    return r.bottom - r.top;
}

void StatusBar::Reposition() {
    if (Handle()) SendMessageA(Handle(), WM_SIZE, 0, 0);
}

} // namespace fw
