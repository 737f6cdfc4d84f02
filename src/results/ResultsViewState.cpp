#include "results/ResultsViewState.h"

#include "results/Tokens.h"

#include <algorithm>
#include <cctype>

int DefaultColumnWidth(int position, int screenWidth) {
    return position == 1 ? screenWidth / 10 : screenWidth / 5;
}

int ColumnWidthOrDefault(int stored, int position, int screenWidth) {
    if (stored < 1 || stored >= screenWidth) return DefaultColumnWidth(position, screenWidth);
    return stored;
}

namespace {

bool IsAbsolutePiece(std::string_view piece) {
    if (piece.empty()) return true;
    if (piece[0] == '\\' || piece[0] == '/') return true;
    return piece.size() >= 2 && piece[1] == ':' &&
           std::isalpha(static_cast<unsigned char>(piece[0]));
}

} // namespace

std::string ResolveDataPath(std::string_view programDirectory, std::string_view name) {
    std::string result;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = std::min(name.find(';', from), name.size());
        const std::string_view piece = name.substr(from, end - from);
        if (from != 0) result += ';';
        if (!IsAbsolutePiece(piece)) result += programDirectory;
        result += piece;
        if (end >= name.size()) break;
        from = end + 1;
    }
    return result;
}

std::string CopyText(const std::vector<WordplayRow>& rows, const std::vector<std::size_t>& selected,
                     const WordplayRowContext& token) {
    if (selected.size() == 1 && !token.text.empty()) return token.text;
    return JoinForCopy(rows, selected);
}

std::optional<IndicatorRequest> IndicatorsFor(const WordplayRowContext& token) {
    if (token.style == StyleLetter::Notation && token.kind <= TokenKind::Anagram)
        return IndicatorRequest{token.kind, {}};
    if (token.style == StyleLetter::Abbreviation && !token.text.empty())
        return IndicatorRequest{5, token.text};
    return std::nullopt;
}

std::optional<std::string> IndicatorsItemText(const WordplayRowContext& token,
                                              std::string_view kindName, std::string_view suffix) {
    if (!OffersIndicators(token)) return std::nullopt;
    std::string text;
    if (token.style == StyleLetter::Abbreviation)
        text = "\"" + token.text + "\"";
    else
        text = std::string(kindName);
    text += suffix;
    return text;
}

std::string CellTooltip(const std::string& cellText, int textWidth, int columnWidth, int position,
                        const RowGeometry& geometry) {
    const int available = columnWidth - (position == 0 ? geometry.clipIndent : geometry.cellIndent);
    return available < textWidth ? cellText : std::string();
}

std::optional<std::size_t> FindRowByText(const std::vector<WordplayRow>& rows,
                                         std::string_view text) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].text == text) return i;
    return std::nullopt;
}
