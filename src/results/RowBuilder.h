// Composes a row's text and style side by side, so the two can never drift apart.
//
// The search keeps one builder per phase, appends pieces and symbols as it recurses
// and cuts back to a saved Size() when it backtracks; nothing here allocates once
// the strings have grown to the longest row seen.
#pragma once

#include "results/WordplayRow.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class WordplayRowBuilder {
public:
    // Each Append returns the offset at which the appended text starts.
    std::size_t AppendWord(std::string_view text) { return Append(text, StyleLetter::Word); }
    std::size_t AppendAbbreviation(std::string_view text) {
        return Append(text, StyleLetter::Abbreviation);
    }
    std::size_t AppendDeleted(std::string_view text) { return Append(text, StyleLetter::Deleted); }
    std::size_t AppendSeparator(std::string_view text) {
        return Append(text, StyleLetter::Separator);
    }

    // Text with its style as composed elsewhere (the two must be equally long).
    std::size_t AppendStyled(std::string_view text, std::string_view style);

    // A piece of a charade or container: its letters are 'b' for an abbreviation and
    // 'e' for a word, and a trailing "<" (a reversed word) is notation.
    std::size_t AppendPiece(std::string_view text, bool abbreviation);

    // A one-character symbol ("<", "*") is all notation; a longer one (" + ", " in ",
    // " with ") keeps its outer blanks as blanks and styles the inside as notation.
    std::size_t AppendSymbol(std::string_view symbol);

    // Marks letters [firstLetter, lastLetter) of the text from pieceStart on as deleted,
    // counting only characters for which isLetter(unsigned char) holds; blanks and
    // hyphens lying between two marked letters are marked with them. Letter numbers
    // past the end of the text are ignored.
    template <class IsLetter>
    void MarkDeleted(std::size_t pieceStart, std::size_t firstLetter, std::size_t lastLetter,
                     IsLetter isLetter);

    const std::string& Text() const { return text_; }
    const std::string& Style() const { return style_; }
    std::size_t Size() const { return text_.size(); }
    bool Empty() const { return text_.empty(); }

    // Cuts text and style back to the first `size` characters (backtracking).
    void Truncate(std::size_t size);
    void Clear() { Truncate(0); }

    // A copy of the row composed so far; the builder keeps its contents.
    WordplayRow Build(std::int8_t type, std::int32_t pieces, std::int32_t sequence = 0) const;

private:
    std::size_t Append(std::string_view text, char style);

    std::string text_;
    std::string style_;
};

template <class IsLetter>
void WordplayRowBuilder::MarkDeleted(std::size_t pieceStart, std::size_t firstLetter,
                                     std::size_t lastLetter, IsLetter isLetter) {
    // The marked letters are consecutive among the letters, so everything from the
    // first of them to the last is a marked letter or a non-letter between two.
    const std::size_t none = text_.size();
    std::size_t from = none;
    std::size_t to = none;
    std::size_t letter = 0;
    for (std::size_t i = pieceStart; i < text_.size() && letter < lastLetter; ++i) {
        if (!isLetter(static_cast<unsigned char>(text_[i]))) continue;
        if (letter >= firstLetter) {
            if (from == none) from = i;
            to = i + 1;
        }
        ++letter;
    }
    if (from == none) return;
    for (std::size_t i = from; i < to; ++i)
        style_[i] = StyleLetter::Deleted;
}
