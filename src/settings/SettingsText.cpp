#include "settings/SettingsText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

// Walks the comma-separated fields of a text the way strtok(copy, ",") does:
// every call skips any commas, then takes characters up to the next comma.
// A C string ends at its first NUL, so the text is cut there too.
class TokenReader {
public:
    explicit TokenReader(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    // The next token, or an empty view once the text is used up.
    std::string_view Next() {
        while (pos_ < text_.size() && text_[pos_] == ',')
            ++pos_;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',')
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    int NextInt() { return ParseDecimal(Next()); }
    std::uint8_t NextByte() { return static_cast<std::uint8_t>(NextInt() & 0xFF); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

int ParseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Unsigned arithmetic wraps where a signed overflow would be undefined.
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::string_view LogFont::FaceName() const {
    return std::string_view(lfFaceName, strnlen(lfFaceName, kFaceSize));
}

void LogFont::SetFaceName(std::string_view face) {
    std::memset(lfFaceName, 0, kFaceSize);
    const std::size_t n = std::min(face.size(), kFaceSize - 1);
    std::memcpy(lfFaceName, face.data(), n);
}

bool operator==(const LogFont& a, const LogFont& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight &&
           a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
           a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           a.FaceName() == b.FaceName();
}

std::string FormatColour(Colour colour) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d", static_cast<int>(RedOf(colour)),
                  static_cast<int>(GreenOf(colour)), static_cast<int>(BlueOf(colour)));
    return buffer;
}

Colour ParseColour(std::string_view text) {
    const std::array<int, 3> rgb = ParseColourNumbers(text);
    return MakeColour(static_cast<unsigned>(rgb[0]), static_cast<unsigned>(rgb[1]),
                      static_cast<unsigned>(rgb[2]));
}

std::array<int, 3> ParseColourNumbers(std::string_view text) {
    TokenReader reader(text);
    const int red = reader.NextInt();
    const int green = reader.NextInt();
    const int blue = reader.NextInt();
    return {red, green, blue};
}

std::string FormatFont(const FontSetting& font) {
    const LogFont& lf = font.logFont;
    std::array<char, 256> buffer;
    const std::string face(lf.FaceName());
    std::snprintf(
        buffer.data(), buffer.size(), "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%s",
        static_cast<int>(RedOf(font.colour)), static_cast<int>(GreenOf(font.colour)),
        static_cast<int>(BlueOf(font.colour)), static_cast<int>(lf.lfHeight),
        static_cast<int>(lf.lfWidth), static_cast<int>(lf.lfEscapement),
        static_cast<int>(lf.lfOrientation), static_cast<int>(lf.lfWeight),
        static_cast<int>(lf.lfItalic), static_cast<int>(lf.lfUnderline),
        static_cast<int>(lf.lfStrikeOut), static_cast<int>(lf.lfCharSet),
        static_cast<int>(lf.lfOutPrecision), static_cast<int>(lf.lfClipPrecision),
        static_cast<int>(lf.lfQuality), static_cast<int>(lf.lfPitchAndFamily), face.c_str());
    return buffer.data();
}

FontSetting ParseFont(std::string_view text) {
    TokenReader reader(text.substr(0, kFontTextLimit));
    FontSetting font;
    const int red = reader.NextInt();
    const int green = reader.NextInt();
    const int blue = reader.NextInt();
    font.colour = MakeColour(static_cast<unsigned>(red), static_cast<unsigned>(green),
                             static_cast<unsigned>(blue));
    LogFont& lf = font.logFont;
    lf.lfHeight = reader.NextInt();
    lf.lfWidth = reader.NextInt();
    lf.lfEscapement = reader.NextInt();
    lf.lfOrientation = reader.NextInt();
    lf.lfWeight = reader.NextInt();
    lf.lfItalic = reader.NextByte();
    lf.lfUnderline = reader.NextByte();
    lf.lfStrikeOut = reader.NextByte();
    lf.lfCharSet = reader.NextByte();
    lf.lfOutPrecision = reader.NextByte();
    lf.lfClipPrecision = reader.NextByte();
    lf.lfQuality = reader.NextByte();
    lf.lfPitchAndFamily = reader.NextByte();
    lf.SetFaceName(reader.Next());
    return font;
}

FontSetting DefaultFont() {
    return ParseFont(kDefaultFontText);
}

std::string FormatPlacement(bool maximized, int left, int top, int width, int height) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d,%d", maximized ? 1 : 0, left, top, width,
                  height);
    return buffer;
}

Placement ParsePlacement(std::string_view text) {
    TokenReader reader(text);
    Placement p;
    p.maximized = reader.NextInt();
    p.left = reader.NextInt();
    p.top = reader.NextInt();
    p.width = reader.NextInt();
    p.height = reader.NextInt();
    return p;
}
