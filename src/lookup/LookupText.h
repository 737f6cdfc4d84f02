// The text forms a lookup hands to the outside world.
//
//   web     every byte that is not an ASCII letter or digit becomes "%" and two
//           lowercase hex digits: "o'er" -> "o%27er", a space -> "%20",
//           "é" in Windows-1252 (0xE9) -> "%e9"; the result replaces each
//           "{entry}" of an address template.
//   hex     every byte becomes two uppercase hex digits, no separators:
//           "ab c" -> "61622063" (for programs that cannot take blanks).
//   number  a message method's command: blanks, one sign, then digits up to
//           the first non-digit; none gives 0 ("2026" -> 2026, "x1" -> 0).
#pragma once

#include <string>
#include <string_view>

std::string WebEncode(std::string_view word);
std::string HexEncode(std::string_view word);
// Every "{entry}" of the template replaced by encoded; the rest untouched.
std::string ExpandTemplate(std::string_view address, std::string_view encoded);
int CommandNumber(std::string_view text);
