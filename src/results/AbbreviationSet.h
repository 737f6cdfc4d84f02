// The abbreviation set the search uses as pieces: every single letter of the first
// dictionary's alphabet plus the keys of the Abbreviation table, each reduced to the
// dictionary's canonical letters. Kept in ascending byte-wise order, which is the
// order the search walks it in.
#pragma once

#include <functional>
#include <istream>
#include <set>
#include <string>
#include <string_view>

// Looked up by string_view too, so the search asks without building strings.
using AbbreviationSet = std::set<std::string, std::less<>>;

// The dictionary's canonical character for a byte of text, or '\0' when the byte
// is not a letter of its alphabet.
using CanonicalLetterFunction = std::function<char(unsigned char)>;

// Builds the set from the alphabet's canonical letters (one character each) and an
// Abbreviation table in the indicator-table format. Only row keys are used: the
// caption line and the column-title line never are. Characters of a key outside the
// alphabet are dropped, and a key left empty adds nothing. A null table gives just
// the letters.
AbbreviationSet LoadAbbreviationSet(std::istream* table, std::string_view alphabet,
                                    const CanonicalLetterFunction& canonical);

// Same, reading the table from a file; a file that cannot be opened gives the letters.
AbbreviationSet LoadAbbreviationSetFromFile(const std::string& path, std::string_view alphabet,
                                            const CanonicalLetterFunction& canonical);

// The plain 26-letter alphabet folded to lower case, for callers without a
// dictionary at hand (tests, tools).
inline constexpr std::string_view PlainAlphabet = "abcdefghijklmnopqrstuvwxyz";
char PlainCanonicalLetter(unsigned char c);
