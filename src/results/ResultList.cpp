#include "results/ResultList.h"

#include <algorithm>

bool RowLess(const WordplayRow& a, const WordplayRow& b, const ColumnTable& columns) {
    for (int position = 1; position < ColumnTable::Positions; ++position) {
        const ColumnSlot slot = columns.Slot(position);
        int left = 0;
        int right = 0;
        if (slot.kind == ColumnKind::Pieces) {
            if (a.pieces == b.pieces) continue;
            left = a.pieces;
            right = b.pieces;
        } else if (slot.kind == ColumnKind::Type) {
            if (a.type == b.type) continue;
            left = a.type;
            right = b.type;
        } else {
            continue;
        }
        return slot.descending ? right < left : left < right;
    }
    return a.sequence < b.sequence;
}

void SortRows(std::vector<WordplayRow>& rows, const ColumnTable& columns) {
    std::stable_sort(
        rows.begin(), rows.end(),
        [&columns](const WordplayRow& a, const WordplayRow& b) { return RowLess(a, b, columns); });
}

void FinishResultList(std::vector<WordplayRow>& rows, const ColumnTable& columns) {
    // std::string compares through char_traits<char>, which orders bytes as
    // unsigned, so accented entries sort after plain ones on every compiler.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const WordplayRow& a, const WordplayRow& b) { return a.text < b.text; });
    const auto last =
        std::unique(rows.begin(), rows.end(),
                    [](const WordplayRow& a, const WordplayRow& b) { return a.text == b.text; });
    rows.erase(last, rows.end());
    SortRows(rows, columns);
}

DisplayedText DisplayText(const WordplayRow& row, bool brackets) {
    DisplayedText shown;
    if (!brackets || row.style.find(StyleLetter::Deleted) == std::string::npos) {
        shown.text = row.text;
        shown.style = row.style;
        return shown;
    }
    // Wrap every maximal run of deleted letters; the brackets take the deletion
    // style so they are drawn with the letters they enclose.
    const std::size_t n = std::min(row.text.size(), row.style.size());
    shown.text.reserve(n + 8);
    shown.style.reserve(n + 8);
    bool inRun = false;
    for (std::size_t i = 0; i < n; ++i) {
        const bool deleted = row.style[i] == StyleLetter::Deleted;
        if (deleted != inRun) {
            shown.text.push_back(deleted ? '(' : ')');
            shown.style.push_back(StyleLetter::Deleted);
            inRun = deleted;
        }
        shown.text.push_back(row.text[i]);
        shown.style.push_back(row.style[i]);
    }
    if (inRun) {
        shown.text.push_back(')');
        shown.style.push_back(StyleLetter::Deleted);
    }
    return shown;
}

std::string CellText(const std::vector<WordplayRow>& rows, std::size_t index, int position,
                     bool brackets, const ColumnTable& columns) {
    if (index >= rows.size()) return {};
    const WordplayRow& row = rows[index];
    switch (columns.Kind(position)) {
    case ColumnKind::Pieces:
        return row.pieces > 0 ? std::to_string(row.pieces) : std::string();
    case ColumnKind::Type:
        return std::string(TypeName(row.type));
    default:
        return DisplayText(row, brackets).text;
    }
}

std::string JoinForCopy(const std::vector<WordplayRow>& rows,
                        const std::vector<std::size_t>& indices) {
    std::string joined;
    bool first = true;
    for (std::size_t index : indices) {
        if (index >= rows.size()) continue;
        if (!first) joined += "\r\n";
        joined += DisplayText(rows[index], true).text;
        first = false;
    }
    return joined;
}
