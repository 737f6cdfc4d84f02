// A made-up printer and a list of lines for the printout tests: the device
// measures text at a fixed width per character (or by a table), remembers
// the font it was given and records every line drawn.
#pragma once

#include "printing/PrintDevice.h"
#include "printing/PrintoutFeeder.h"

#include <map>
#include <string>
#include <vector>

class FakeDevice : public PrintDevice {
public:
    struct Drawn {
        int x = 0;
        int y = 0;
        std::string text;
    };

    DeviceMetrics metrics{600, 600, 0, 0, 5100, 6600}; // 8.5 x 11 inches at 600 dpi
    int screenX = 96;
    int screenY = 96;
    bool hasMetrics = true;
    FontMetrics font{20, 0, 5};
    int charWidth = 10;
    std::map<std::string, int> widths; // overrides charWidth for these texts

    FontSetting selected;
    int busy = 0;
    bool transparent = false;
    std::vector<Drawn> drawn;

    DeviceMetrics Metrics() const override { return metrics; }
    int ScreenPixelsPerInchX() const override { return screenX; }
    int ScreenPixelsPerInchY() const override { return screenY; }
    void SelectFont(const FontSetting& f) override { selected = f; }
    std::optional<FontMetrics> SelectedFontMetrics() const override {
        if (!hasMetrics) return std::nullopt;
        return font;
    }
    int TextWidth(std::string_view text) const override {
        auto it = widths.find(std::string(text));
        return it != widths.end() ? it->second : static_cast<int>(text.size()) * charWidth;
    }
    void SetTransparentBackground() override { transparent = true; }
    void DrawText(int x, int y, std::string_view text) override {
        drawn.push_back({x, y, std::string(text)});
    }
    void ShowBusy(bool on) override { busy += on ? 1 : -1; }
};

// Lines with some of them selected (indices in list order).
class LinesFeeder : public PrintoutFeeder {
public:
    std::vector<std::string> lines;
    std::vector<int> selected;

    int GetLineCount() override { return static_cast<int>(lines.size()); }
    int GetSelectedCount() override { return static_cast<int>(selected.size()); }
    void SetSelectedOnly(bool on) override {
        selectedOnly_ = on;
        next_ = 0;
    }
    void SeekLine(int n) override { next_ = n; }
    std::string NextLine() override {
        const int at = next_++;
        if (selectedOnly_)
            return at < GetSelectedCount() ? lines[static_cast<std::size_t>(selected[at])] : "";
        return at < GetLineCount() ? lines[static_cast<std::size_t>(at)] : "";
    }

private:
    bool selectedOnly_ = false;
    int next_ = 0;
};
