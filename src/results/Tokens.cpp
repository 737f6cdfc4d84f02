#include "results/Tokens.h"

#include <algorithm>
#include <string>

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameRun(char a, char b) {
    return Lower(a) == Lower(b);
}

// A row built elsewhere may, through a fault, carry a style shorter or longer than
// its text; tokens only ever look at the part both cover.
std::size_t UsableLength(const DisplayedText& shown) {
    return std::min(shown.text.size(), shown.style.size());
}

std::string_view UsableStyle(const DisplayedText& shown) {
    return std::string_view(shown.style).substr(0, UsableLength(shown));
}

void SetRunStartingAt(WordplayRowContext& token, const DisplayedText& shown, std::size_t start,
                      bool brackets) {
    SetTokenFromRun(token, shown, start, RunLengthFrom(UsableStyle(shown), start), brackets);
}

} // namespace

bool IsSeparatorStyle(char style) {
    return style == StyleLetter::Blank || style == StyleLetter::Separator;
}

std::size_t RunLengthFrom(std::string_view style, std::size_t start) {
    if (start >= style.size()) return 0;
    std::size_t end = start + 1;
    while (end < style.size() && SameRun(style[end], style[start]))
        ++end;
    return end - start;
}

std::size_t RunStartBefore(std::string_view style, std::size_t last) {
    if (last >= style.size()) return style.size();
    std::size_t first = last;
    while (first > 0 && SameRun(style[first - 1], style[last]))
        --first;
    return first;
}

void ClearToken(WordplayRowContext& token) {
    token = WordplayRowContext{};
}

void SetTokenFromRun(WordplayRowContext& token, const DisplayedText& shown, std::size_t start,
                     std::size_t length, bool brackets) {
    const std::size_t n = UsableLength(shown);
    if (start >= n || length == 0) {
        ClearToken(token);
        return;
    }
    length = std::min(length, n - start);
    token.style = Lower(shown.style[start]);
    token.kind = TokenKind::Other;
    token.text.assign(shown.text, start, length);
    token.start = static_cast<std::uint32_t>(start);
    token.length = static_cast<std::uint32_t>(length);
    if (token.style == StyleLetter::Word && brackets)
        std::erase_if(token.text, [](char c) { return c == '(' || c == ')'; });
    // Only notation can be a symbol: a word or abbreviation that happens to read
    // "in" must still offer its own lookup and indicators, not the container's.
    if (token.style != StyleLetter::Notation) return;
    for (int kind = 0; kind < NotationSymbol::Count; ++kind) {
        const std::string_view symbol = NotationSymbolText(kind);
        const bool spaced = symbol.size() == token.text.size() + 2 && symbol.front() == ' ' &&
                            symbol.back() == ' ' &&
                            symbol.substr(1, token.text.size()) == token.text;
        if (symbol == token.text || spaced) {
            token.kind = static_cast<std::uint8_t>(kind);
            break;
        }
    }
}

void SelectFirstToken(WordplayRowContext& token, const DisplayedText& shown, bool brackets) {
    if (UsableLength(shown) == 0) return;
    SetRunStartingAt(token, shown, 0, brackets);
}

void SelectNextToken(WordplayRowContext& token, const DisplayedText& shown, bool brackets) {
    const std::string_view style = UsableStyle(shown);
    std::size_t at = static_cast<std::size_t>(token.start) + token.length;
    while (at < style.size() && IsSeparatorStyle(style[at]))
        ++at;
    if (at < style.size())
        SetRunStartingAt(token, shown, at, brackets);
    else
        ClearToken(token);
}

void SelectPreviousToken(WordplayRowContext& token, const DisplayedText& shown, bool brackets) {
    const std::string_view style = UsableStyle(shown);
    std::size_t from = 0; // one past the character to look at first
    if (token.start > 0)
        from = std::min<std::size_t>(token.start, style.size());
    else if (token.length == 0)
        from = style.size();
    while (from > 0 && IsSeparatorStyle(style[from - 1]))
        --from;
    if (from == 0) {
        ClearToken(token);
        return;
    }
    const std::size_t first = RunStartBefore(style, from - 1);
    SetTokenFromRun(token, shown, first, from - first, brackets);
}

bool OffersIndicators(const WordplayRowContext& token) {
    return token.kind < NotationSymbol::Count || token.style == StyleLetter::Abbreviation;
}

bool OffersLookup(const WordplayRowContext& token) {
    return token.style == StyleLetter::Word || token.style == StyleLetter::Abbreviation;
}

WordplayRowContext TokenAt(const DisplayedText& shown, bool brackets, int x, int columnWidth,
                           const TextWidthFunction& width, int clipIndent) {
    WordplayRowContext token;
    if (!(x > clipIndent - 1 && x < columnWidth) || !width) return token;
    long remaining = static_cast<long>(x) - clipIndent;
    const std::string_view style = UsableStyle(shown);
    for (std::size_t at = 0; at < style.size();) {
        const std::size_t length = RunLengthFrom(style, at);
        remaining -= width(std::string_view(shown.text).substr(at, length));
        if (remaining < 0) {
            if (!IsSeparatorStyle(style[at])) SetTokenFromRun(token, shown, at, length, brackets);
            return token;
        }
        at += length;
    }
    return token;
}
