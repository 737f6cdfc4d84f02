#include "quillon/TerminalText.h"

#include "common/Encoding.h"

namespace quillon::cli {

std::string Utf8(std::string_view cp1252) {
    return tools::Cp1252ToUtf8(cp1252);
}

std::size_t Width(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            static const char* hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool ParseFormat(const std::string& value, Format& format) {
    if (value == "table")
        format = Format::Table;
    else if (value == "tsv")
        format = Format::Tsv;
    else if (value == "json")
        format = Format::Json;
    else
        return false;
    return true;
}

bool ParseColour(const std::string& value, bool terminal, bool& colour) {
    if (value != "auto" && value != "always" && value != "never") return false;
    colour = value == "always" || (value == "auto" && terminal);
    return true;
}

} // namespace quillon::cli
