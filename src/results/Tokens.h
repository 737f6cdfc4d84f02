// Tokens: the pieces of a displayed row the user can point at, underline, copy and
// look up. A token is a maximal run of characters whose style letters agree when
// case is ignored (so a word with deleted letters, brackets included, is one);
// runs of blanks and separators are never tokens.
//
// Every function works on the displayed text and style (DisplayText), because
// token offsets are what the user sees, brackets included.
#pragma once

#include "results/ResultList.h"
#include "results/WordplayRow.h"

#include <cstddef>
#include <functional>
#include <string_view>

// ' ' and 's' separate tokens.
bool IsSeparatorStyle(char style);

// Length of the run starting at `start`; 0 when start is at or past the end.
std::size_t RunLengthFrom(std::string_view style, std::size_t start);
// Offset of the first character of the run that ends with the character at `last`.
std::size_t RunStartBefore(std::string_view style, std::size_t last);

void ClearToken(WordplayRowContext& token);

// Makes the run [start, start + length) the token: its lower-cased style letter, its
// characters (a word's brackets taken out when brackets are shown), and the notation
// kind when a notation run reads as one of the four symbols, with or without blanks.
// A run that does not lie inside the text clears the token.
void SetTokenFromRun(WordplayRowContext& token, const DisplayedText& shown, std::size_t start,
                     std::size_t length, bool brackets);

// Keyboard movement. An empty text leaves the token as it is when asking for the
// first token; moving past either end clears the token, and moving again from a
// cleared token starts over from that end.
void SelectFirstToken(WordplayRowContext& token, const DisplayedText& shown, bool brackets);
void SelectNextToken(WordplayRowContext& token, const DisplayedText& shown, bool brackets);
void SelectPreviousToken(WordplayRowContext& token, const DisplayedText& shown, bool brackets);

// Indicators exist for the four symbols and for abbreviations; lookup for words
// and abbreviations.
bool OffersIndicators(const WordplayRowContext& token);
bool OffersLookup(const WordplayRowContext& token);

// Measures text in the result font, in pixels.
using TextWidthFunction = std::function<int(std::string_view)>;

// The token under a point x pixels from the row's left edge, in a first column
// `columnWidth` pixels wide whose clip starts clipIndent pixels in (2 at 96
// DPI; the text is measured from there). Outside the column, beyond the text,
// or on a blank or separator, the result is a cleared token.
WordplayRowContext TokenAt(const DisplayedText& shown, bool brackets, int x, int columnWidth,
                           const TextWidthFunction& width, int clipIndent = 2);
