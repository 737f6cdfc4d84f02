#include "settings/SettingsValues.h"

#include <algorithm>

namespace {

bool ComponentsInRange(std::string_view text) {
    const std::array<int, 3> rgb = ParseColourNumbers(text);
    return std::all_of(rgb.begin(), rgb.end(), [](int c) { return c >= 0 && c <= 255; });
}

bool PixelsInRange(std::int32_t pixels) {
    return pixels >= -kFontPixelLimit && pixels <= kFontPixelLimit;
}

} // namespace

int MaxPiecesOrDefault(int stored) {
    return stored < 1 ? kDefaultMaxPieces : stored;
}

Colour ColourOrDefault(std::string_view text, Colour fallback) {
    if (text.empty() || !ComponentsInRange(text)) return fallback;
    return ParseColour(text);
}

FontSetting FontOrDefault(std::string_view text, const FontSetting& fallback) {
    const std::string_view read = text.substr(0, kFontTextLimit);
    if (!ComponentsInRange(read)) return fallback;
    const FontSetting font = ParseFont(read);
    if (!PixelsInRange(font.logFont.lfHeight) || !PixelsInRange(font.logFont.lfWidth))
        return fallback;
    return font;
}
