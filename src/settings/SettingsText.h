// Text encodings of the settings values that are not plain numbers or texts:
// colours, fonts and window placements. All three are comma-separated decimal
// numbers (a font ends with its face name) and are read back with the same
// forgiving rules, so a hand-edited or truncated value never fails: missing
// numbers read as 0 and surplus fields are ignored.
//
//   colour     "r,g,b"                                    e.g. "255,0,0"
//   font       "r,g,b,height,width,escapement,orientation,weight,
//               italic,underline,strikeout,charset,outprecision,
//               clipprecision,quality,pitchandfamily,face"
//   placement  "maximized,left,top,width,height"         e.g. "0,10,20,400,300"
//
// Reading splits at commas the way strtok(copy, ",") does: runs of commas are
// one separator and leading commas are skipped, so an empty field vanishes and
// the fields after it move forward by one. Each number is read the way atoi
// does (blanks, one sign, digits up to the first non-digit; none gives 0) and
// wraps as a 32-bit integer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// 0x00BBGGRR, the layout of a Win32 COLORREF.
using Colour = std::uint32_t;

constexpr Colour MakeColour(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16;
}
constexpr unsigned RedOf(Colour c) {
    return c & 0xFFu;
}
constexpr unsigned GreenOf(Colour c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned BlueOf(Colour c) {
    return (c >> 16) & 0xFFu;
}

// The fields of a Win32 LOGFONTA, in its order and widths, so the engine can
// carry a complete font without <windows.h>; FontSettingWin32.h converts.
struct LogFont {
    static constexpr std::size_t kFaceSize = 32; // including the terminator
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[kFaceSize] = {};

    // The face name up to its terminator, never past the array.
    std::string_view FaceName() const;
    // Copies at most kFaceSize - 1 characters and terminates.
    void SetFaceName(std::string_view face);

    friend bool operator==(const LogFont& a, const LogFont& b);
};

// A font as the user configures it: a text colour and a complete LogFont.
struct FontSetting {
    Colour colour = 0;
    LogFont logFont;

    friend bool operator==(const FontSetting& a, const FontSetting& b) = default;
};

// Black 15-pixel Courier New: the font wherever no font setting is stored.
inline constexpr std::string_view kDefaultFontText =
    "0,0,0,-15,0,0,0,400,0,0,0,0,3,2,1,49,Courier New";

// Font texts are read through a 1000-character buffer and placement texts
// through a 512-character one; longer stored texts are cut to these lengths.
inline constexpr std::size_t kFontTextLimit = 999;
inline constexpr std::size_t kPlacementTextLimit = 511;

struct Placement {
    int maximized = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Placement& a, const Placement& b) = default;
};

std::string FormatColour(Colour colour);
Colour ParseColour(std::string_view text);
// The first three numbers of a colour or font text as written, before
// ParseColour cuts each to eight bits.
std::array<int, 3> ParseColourNumbers(std::string_view text);

std::string FormatFont(const FontSetting& font);
// Cuts the text to kFontTextLimit characters first.
FontSetting ParseFont(std::string_view text);
FontSetting DefaultFont();

std::string FormatPlacement(bool maximized, int left, int top, int width, int height);
Placement ParsePlacement(std::string_view text);

// The number rule of the three parsers, exposed for callers that read a typed
// number the same way (for example the maximum-pieces box).
int ParseDecimal(std::string_view text);
