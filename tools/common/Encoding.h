// Text encodings and letter folding shared by OWBUILD and OWMERGE.
//
// Dictionary files hold their entries as Windows-1252 bytes. Word lists arrive
// as UTF-8 or Windows-1252; a file that is valid UTF-8 throughout is read as
// UTF-8, anything else as Windows-1252 (every byte sequence is valid there).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::tools {

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Converts UTF-8 to Windows-1252; nothing when a character has no 1252 byte
// (the caller skips and counts such entries). The input must be valid UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// Converts Windows-1252 to UTF-8. The five bytes that 1252 leaves unassigned
// (81 8D 8F 90 9D) become the C1 controls of the same value, as Windows does.
std::string Cp1252ToUtf8(std::string_view cp1252);
// The same, appended to `out`.
void AppendCp1252AsUtf8(std::string& out, std::string_view cp1252);

// Letter folding. Every byte is a plain letter (a..z as 0..25, whatever its
// case or accent), not a letter at all (blank, hyphen, apostrophe, digits...),
// or a letter with no single plain equivalent (ß, æ, œ, þ, ð in either case):
// an entry holding one of those in its key part is skipped, because one byte
// can stand for one letter index only and "ss" or "ae" would need two.
constexpr int kNotALetter = -1;
constexpr int kNoPlainLetter = -2;
int FoldLetter(unsigned char byte);

// The lower-case form of a 1252 byte (A..Z, À..Þ except ×, Š, Œ, Ž, Ÿ).
unsigned char LowerCp1252(unsigned char byte);
std::string LowerCp1252(std::string_view text);

// The comparison key OWMERGE sorts by: letters folded to plain lower case,
// every other byte kept, so "Café" sorts beside "cafe".
std::string SortKeyCp1252(std::string_view text);

} // namespace quillon::tools
