// One result of a wordplay search and the small fixed tables that describe it.
//
// The results view aliases these records as WordplayViewWindows::Row and
// WordplayViewWindows::RowContext; they live here, free of any window code, so
// the search, the command line, printing and the tests share one definition.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Style letters: one per character of a row's text, saying what the character is.
// Case matters for colour only; tokens compare them case-insensitively, so a word
// with deleted letters ('e' and 'E') is still one token.
namespace StyleLetter {
inline constexpr char Word = 'e';         // letter of a piece that is a word
inline constexpr char Deleted = 'E';      // letter the wordplay takes away
inline constexpr char Abbreviation = 'b'; // letter of a piece that is an abbreviation
inline constexpr char Notation = 'n';     // character of a notation symbol
inline constexpr char Blank = ' ';        // blank either side of " + ", " in ", ...
inline constexpr char Separator = 's';    // "/" between alternatives, blank between groups
} // namespace StyleLetter

// Wordplay type codes: the index into TypeNames(). Stored in a row as a signed byte.
namespace WordplayType {
inline constexpr std::int8_t Reversal = 0;
inline constexpr std::int8_t Anagram = 1;
inline constexpr std::int8_t HeadDeletion = 2;
inline constexpr std::int8_t MiddleDeletion = 3;
inline constexpr std::int8_t TailDeletion = 4;
inline constexpr std::int8_t EndsDeletion = 5;
inline constexpr std::int8_t Deletion = 6;
inline constexpr std::int8_t Alternation = 7;
inline constexpr std::int8_t Charade = 8;
inline constexpr std::int8_t Container = 9;
inline constexpr std::int8_t Substitution = 10;
inline constexpr std::int8_t ContainedAnagram = 11;
inline constexpr std::int8_t PartialAnagram = 12;
inline constexpr std::int8_t AugmentedAnagram = 13;
inline constexpr std::int8_t MultipleAnagram = 14;
inline constexpr int Count = 15;
} // namespace WordplayType

// The type column's text for a code; empty for a code outside 0..14.
std::string_view TypeName(int type);

// Notation symbols, indexed by token kind (see WordplayRowContext::kind).
namespace NotationSymbol {
inline constexpr std::string_view Charade = " + ";
inline constexpr std::string_view Container = " in ";
inline constexpr std::string_view Reversal = "<";
inline constexpr std::string_view Anagram = "*";
// Symbols that are notation but never a token kind of their own.
inline constexpr std::string_view With = " with ";
inline constexpr std::string_view For = " for ";
inline constexpr int Count = 4;
} // namespace NotationSymbol

// The symbol of token kind 0..3; empty for any other kind.
std::string_view NotationSymbolText(int kind);

struct WordplayRow {
    std::string text;  // the notation as the search composed it
    std::string style; // exactly one style letter per character of text
    std::int8_t type = 0;
    // Last sort key: creation order, or a score for multiple anagrams.
    std::int32_t sequence = 0;
    std::int32_t pieces = 0; // shown only when greater than 0

    friend bool operator==(const WordplayRow&, const WordplayRow&) = default;
};

// Token kinds: 0..3 name a notation symbol; every other token, and no token, is 6.
namespace TokenKind {
inline constexpr std::uint8_t Charade = 0;
inline constexpr std::uint8_t Container = 1;
inline constexpr std::uint8_t Reversal = 2;
inline constexpr std::uint8_t Anagram = 3;
inline constexpr std::uint8_t Other = 6;
} // namespace TokenKind

// The token of the focused row: the run of text the user points at, underlines and
// looks up. start and length are measured in the displayed (possibly bracketed) text.
struct WordplayRowContext {
    std::uint8_t kind = TokenKind::Other;
    char style = 0; // lower-cased style letter of the token; 0 when there is none
    std::string text;
    std::uint32_t start = 0;
    std::uint32_t length = 0;

    friend bool operator==(const WordplayRowContext&, const WordplayRowContext&) = default;
};
