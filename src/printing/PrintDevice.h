// What a printout needs of the device it is paginated for and drawn on: its
// resolution and paper, text measured in a font, and text drawn at a point.
// The Windows side implements it over a printer device context (and, for the
// preview, over a window that shows the printer's page); the unit tests fake
// it with made-up metrics. Coordinates are device pixels with (0, 0) at the
// top-left corner of the printable area.
#pragma once

#include "settings/SettingsText.h"

#include <optional>
#include <string_view>

struct DeviceMetrics {
    int pixelsPerInchX = 0;
    int pixelsPerInchY = 0;
    // Where the printable area starts on the paper, and the whole paper.
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
    int physicalWidth = 0;
    int physicalHeight = 0;
};

struct FontMetrics {
    int height = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
};

class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    virtual DeviceMetrics Metrics() const = 0;
    // Pixels per inch of the screen on which fonts are chosen: a font
    // configured on the screen is scaled by the ratio of the two.
    virtual int ScreenPixelsPerInchX() const = 0;
    virtual int ScreenPixelsPerInchY() const = 0;

    // Makes font (its sizes in device pixels) the font that text is measured
    // and drawn in, in the font's colour.
    virtual void SelectFont(const FontSetting& font) = 0;
    // The metrics of the selected font; none when the device cannot tell.
    virtual std::optional<FontMetrics> SelectedFontMetrics() const = 0;
    virtual int TextWidth(std::string_view text) const = 0;
    // Text is drawn without filling its background.
    virtual void SetTransparentBackground() = 0;
    virtual void DrawText(int x, int y, std::string_view text) = 0;
    // Shown while a long measuring job runs (the wait cursor); nothing by default.
    virtual void ShowBusy(bool) {}

protected:
    PrintDevice() = default;
    PrintDevice(const PrintDevice&) = default;
    PrintDevice& operator=(const PrintDevice&) = default;
};
