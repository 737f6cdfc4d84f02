#pragma once
// A device context as the device a printout measures and draws on. For
// printing, both are the printer's context. For the preview, text is drawn
// on a window's context that shows the printer's page, while resolution,
// paper, fonts and text widths are still asked of the printer's context, so
// that the preview pages exactly as the printer does.

#include "framework/Handles.h"
#include "printing/PrintDevice.h"

#include <windows.h>

class GdiPrintDevice : public PrintDevice {
public:
    explicit GdiPrintDevice(HDC printer) : GdiPrintDevice(printer, printer) {}
    GdiPrintDevice(HDC draw, HDC printer);
    // Puts back the fonts the contexts had.
    ~GdiPrintDevice() override;
    GdiPrintDevice(const GdiPrintDevice&) = delete;
    GdiPrintDevice& operator=(const GdiPrintDevice&) = delete;

    DeviceMetrics Metrics() const override;
    int ScreenPixelsPerInchX() const override;
    int ScreenPixelsPerInchY() const override;
    void SelectFont(const FontSetting& font) override;
    std::optional<FontMetrics> SelectedFontMetrics() const override;
    int TextWidth(std::string_view text) const override;
    void SetTransparentBackground() override;
    void DrawText(int x, int y, std::string_view text) override;
    void ShowBusy(bool busy) override;

private:
    HDC draw_;
    HDC printer_;
    fw::Font drawFont_;
    fw::Font printerFont_;
    HGDIOBJ drawOldFont_ = nullptr;
    HGDIOBJ printerOldFont_ = nullptr;
    HCURSOR cursorBeforeBusy_ = nullptr;
};
