#include "results/RowBuilder.h"

#include <algorithm>

std::size_t WordplayRowBuilder::Append(std::string_view text, char style) {
    const std::size_t at = text_.size();
    text_.append(text);
    style_.append(text.size(), style);
    return at;
}

std::size_t WordplayRowBuilder::AppendStyled(std::string_view text, std::string_view style) {
    const std::size_t at = text_.size();
    text_.append(text);
    style_.append(style.substr(0, text.size()));
    style_.append(text.size() - std::min(text.size(), style.size()), StyleLetter::Word);
    return at;
}

std::size_t WordplayRowBuilder::AppendPiece(std::string_view text, bool abbreviation) {
    const std::size_t at = text_.size();
    const bool reversed = !text.empty() && text.back() == '<';
    if (reversed) text.remove_suffix(1);
    Append(text, abbreviation ? StyleLetter::Abbreviation : StyleLetter::Word);
    if (reversed) Append("<", StyleLetter::Notation);
    return at;
}

std::size_t WordplayRowBuilder::AppendSymbol(std::string_view symbol) {
    const std::size_t at = text_.size();
    text_.append(symbol);
    if (symbol.size() == 1) {
        style_.push_back(StyleLetter::Notation);
    } else if (!symbol.empty()) {
        style_.push_back(StyleLetter::Blank);
        style_.append(symbol.size() - 2, StyleLetter::Notation);
        style_.push_back(StyleLetter::Blank);
    }
    return at;
}

void WordplayRowBuilder::Truncate(std::size_t size) {
    if (size < text_.size()) {
        text_.resize(size);
        style_.resize(size);
    }
}

WordplayRow WordplayRowBuilder::Build(std::int8_t type, std::int32_t pieces,
                                      std::int32_t sequence) const {
    WordplayRow row;
    row.text = text_;
    row.style = style_;
    row.type = type;
    row.pieces = pieces;
    row.sequence = sequence;
    return row;
}
