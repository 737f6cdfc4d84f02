#include "lookup/LookupText.h"

#include "settings/SettingsText.h"

namespace {

constexpr char kLowerHex[] = "0123456789abcdef";
constexpr char kUpperHex[] = "0123456789ABCDEF";
constexpr std::string_view kEntry = "{entry}";

bool IsAsciiAlnum(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

std::string WebEncode(std::string_view word) {
    std::string out;
    out.reserve(word.size() * 3);
    for (const char ch : word) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsAsciiAlnum(c)) {
            out += ch;
        } else {
            out += '%';
            out += kLowerHex[c >> 4];
            out += kLowerHex[c & 0xF];
        }
    }
    return out;
}

std::string HexEncode(std::string_view word) {
    std::string out;
    out.reserve(word.size() * 2);
    for (const char ch : word) {
        const auto c = static_cast<unsigned char>(ch);
        out += kUpperHex[c >> 4];
        out += kUpperHex[c & 0xF];
    }
    return out;
}

// Works from the end of the template towards its start; "{entry}" cannot
// overlap itself and the encoded word holds no braces, so this gives the same
// text as a replacement from the start.
std::string ExpandTemplate(std::string_view address, std::string_view encoded) {
    std::string out(address);
    std::size_t end = out.size();
    while (end >= kEntry.size()) {
        const std::size_t at = out.rfind(kEntry, end - kEntry.size());
        if (at == std::string::npos) break;
        out.replace(at, kEntry.size(), encoded);
        end = at;
    }
    return out;
}

int CommandNumber(std::string_view text) {
    return ParseDecimal(text);
}
