#include "common/Encoding.h"

#include <array>
#include <cstdint>

namespace quillon::tools {
namespace {

// Code points of the bytes 80..9F; the unassigned ones map to themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Letter of each byte from C0 to FF; '?' marks a letter with no plain
// equivalent and '.' a non-letter.
constexpr std::string_view kLatin1Letters = "aaaaaa?ceeeeiiii?nooooo.ouuuuy??"
                                            "aaaaaa?ceeeeiiii?nooooo.ouuuuy?y";

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra;
        char32_t cp, least;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, cp = b & 0x1F, least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, cp = b & 0x0F, least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, cp = b & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        std::size_t len;
        if (b < 0x80) {
            cp = b, len = 1;
        } else if (b < 0xE0) {
            cp = b & 0x1F, len = 2;
        } else if (b < 0xF0) {
            cp = b & 0x0F, len = 3;
        } else {
            cp = b & 0x07, len = 4;
        }
        if (utf8.size() - i < len) return std::nullopt;
        for (std::size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        const auto byte = ByteOf(cp);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
        i += len;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    AppendCp1252AsUtf8(out, cp1252);
    return out;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view cp1252) {
    // Runs of ASCII, most of any text, are the same bytes in both.
    std::size_t at = 0;
    while (at < cp1252.size()) {
        std::size_t plain = at;
        while (plain < cp1252.size() && static_cast<unsigned char>(cp1252[plain]) < 0x80)
            ++plain;
        out.append(cp1252, at, plain - at);
        if (plain == cp1252.size()) break;
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(cp1252[plain])));
        at = plain + 1;
    }
}

int FoldLetter(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z') return byte - 'a';
    if (byte >= 'A' && byte <= 'Z') return byte - 'A';
    switch (byte) {
    case 0x8A: // Š
    case 0x9A: // š
        return 's' - 'a';
    case 0x8E: // Ž
    case 0x9E: // ž
        return 'z' - 'a';
    case 0x9F: // Ÿ
        return 'y' - 'a';
    case 0x8C: // Œ
    case 0x9C: // œ
        return kNoPlainLetter;
    default:
        break;
    }
    if (byte >= 0xC0) {
        const char c = kLatin1Letters[byte - 0xC0];
        if (c == '?') return kNoPlainLetter;
        if (c == '.') return kNotALetter;
        return c - 'a';
    }
    return kNotALetter;
}

unsigned char LowerCp1252(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 32);
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 32);
    switch (byte) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<unsigned char>(byte + 0x10);
    case 0x9F:
        return 0xFF;
    default:
        return byte;
    }
}

std::string LowerCp1252(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(LowerCp1252(static_cast<unsigned char>(c)));
    return out;
}

std::string SortKeyCp1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        const int letter = FoldLetter(b);
        c = letter >= 0 ? static_cast<char>('a' + letter) : static_cast<char>(LowerCp1252(b));
    }
    return out;
}

} // namespace quillon::tools
