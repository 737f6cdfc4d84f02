// What the quillon commands share in their output: texts turned to UTF-8 for
// the terminal, their width on screen, JSON strings, the notation's colour,
// and the two output options every command takes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::cli {

enum class Format { Table, Tsv, Json };

// What the program says of a dictionary it cannot use, after its path.
inline constexpr const char* kInvalidDictionaryText =
    "\nis not a valid Orbweave Dictionary File: select a new dictionary file using the "
    "Options... command on the Tools menu.";

// Terminal colours of the result list's notation, and the end of a colour.
inline constexpr const char* kNotationColour = "\x1b[38;2;255;0;0m";
inline constexpr const char* kResetColour = "\x1b[0m";

// A dictionary or answer text (Windows-1252) as the terminal shows it.
std::string Utf8(std::string_view cp1252);

// Characters on screen: every UTF-8 lead byte starts one.
std::size_t Width(std::string_view utf8);

// A UTF-8 text as a JSON string, quotes included.
std::string JsonString(std::string_view utf8);

// The values of --format and --color; false for a value they do not take.
bool ParseFormat(const std::string& value, Format& format);
bool ParseColour(const std::string& value, bool terminal, bool& colour);

} // namespace quillon::cli
