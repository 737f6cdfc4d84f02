#include "framework/Dpi.h"

#include "layout/Dpi.h"

namespace fw {
namespace {

// Functions of newer versions of user32, looked up once.
template <typename F> F User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                  : nullptr;
}

} // namespace

int ScreenDpi() {
    WindowDC screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : layout::kBaseDpi;
}

int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (hwnd && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(hwnd); dpi > 0) return static_cast<int>(dpi);
    return ScreenDpi();
}

int MetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto forDpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi && dpi > 0) return forDpi(index, static_cast<UINT>(dpi));
    return layout::ScaleBetweenDpi(GetSystemMetrics(index), ScreenDpi(), dpi);
}

LOGFONTA LogFontForDpi(LOGFONTA font, int dpi) {
    font.lfHeight = layout::ScaleToDpi(font.lfHeight, dpi);
    font.lfWidth = layout::ScaleToDpi(font.lfWidth, dpi);
    return font;
}

Font FontForDpi(const LOGFONTA& font, int dpi) {
    const LOGFONTA scaled = LogFontForDpi(font, dpi);
    return Font(CreateFontIndirectA(&scaled));
}

void TakeOverDialogScaling(HWND dialog) {
    // DDC_DISABLE_ALL for both the mask and the values.
    using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);
    static const auto set =
        User32Function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior");
    if (set && dialog) set(dialog, 1, 1);
}

} // namespace fw
