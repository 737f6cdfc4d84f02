#include "printer/GdiPrintDevice.h"

#include "context/FontSettingWin32.h"
#include "layout/Dpi.h"

#include <algorithm>
#include <climits>

namespace {

int Length(std::string_view text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

} // namespace

GdiPrintDevice::GdiPrintDevice(HDC draw, HDC printer) : draw_(draw), printer_(printer) {}

GdiPrintDevice::~GdiPrintDevice() {
    if (drawOldFont_) SelectObject(draw_, drawOldFont_);
    if (printerOldFont_ && printer_ != draw_) SelectObject(printer_, printerOldFont_);
    if (cursorBeforeBusy_) SetCursor(cursorBeforeBusy_);
}

DeviceMetrics GdiPrintDevice::Metrics() const {
    return {GetDeviceCaps(printer_, LOGPIXELSX),      GetDeviceCaps(printer_, LOGPIXELSY),
            GetDeviceCaps(printer_, PHYSICALOFFSETX), GetDeviceCaps(printer_, PHYSICALOFFSETY),
            GetDeviceCaps(printer_, PHYSICALWIDTH),   GetDeviceCaps(printer_, PHYSICALHEIGHT)};
}

// Font heights in the settings are pixels of a 96-DPI screen, whatever the
// screen the program runs on (the window scales them for its own DPI), so a
// printout is the same on every machine.
int GdiPrintDevice::ScreenPixelsPerInchX() const {
    return layout::kBaseDpi;
}

int GdiPrintDevice::ScreenPixelsPerInchY() const {
    return layout::kBaseDpi;
}

void GdiPrintDevice::SelectFont(const FontSetting& font) {
    const LOGFONTA lf = ToLogFontA(font.logFont);
    // Each context gets a font of its own: one font selected into two
    // contexts at once is not allowed.
    fw::Font forPrinter(CreateFontIndirectA(&lf));
    HGDIOBJ old = SelectObject(printer_, forPrinter.Get());
    if (!printerOldFont_ && draw_ != printer_) printerOldFont_ = old;
    if (draw_ == printer_) {
        if (!drawOldFont_) drawOldFont_ = old;
        drawFont_ = std::move(forPrinter);
    } else {
        printerFont_ = std::move(forPrinter);
        fw::Font forDrawing(CreateFontIndirectA(&lf));
        HGDIOBJ oldDraw = SelectObject(draw_, forDrawing.Get());
        if (!drawOldFont_) drawOldFont_ = oldDraw;
        drawFont_ = std::move(forDrawing);
    }
    SetTextColor(draw_, font.colour);
    if (printer_ != draw_) SetTextColor(printer_, font.colour);
}

std::optional<FontMetrics> GdiPrintDevice::SelectedFontMetrics() const {
    TEXTMETRICA tm{};
    if (!GetTextMetricsA(printer_, &tm)) return std::nullopt;
    return FontMetrics{tm.tmHeight, tm.tmExternalLeading, tm.tmAveCharWidth};
}

int GdiPrintDevice::TextWidth(std::string_view text) const {
    if (text.empty()) return 0;
    SIZE size{};
    if (!GetTextExtentPoint32A(printer_, text.data(), Length(text), &size)) return 0;
    return size.cx;
}

void GdiPrintDevice::SetTransparentBackground() {
    SetBkMode(draw_, TRANSPARENT);
    if (printer_ != draw_) SetBkMode(printer_, TRANSPARENT);
}

void GdiPrintDevice::DrawText(int x, int y, std::string_view text) {
    TextOutA(draw_, x, y, text.data(), Length(text));
}

void GdiPrintDevice::ShowBusy(bool busy) {
    if (busy) {
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        if (!cursorBeforeBusy_) cursorBeforeBusy_ = previous;
    } else if (cursorBeforeBusy_) {
        SetCursor(cursorBeforeBusy_);
        cursorBeforeBusy_ = nullptr;
    }
}
