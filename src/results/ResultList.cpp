#include "results/ResultList.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>

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
    // The list is what sorting the rows by text, dropping repeats (the earliest
    // added stays) and sorting with RowLess, both sorts stable, would give: the
    // row order, ties in text order. Done on small records of each row's sort
    // keys, since a row holds two strings and is dear to move about, and the
    // repeats are found by hash, so texts are compared only where hashes or
    // keys tie.
    struct Entry {
        std::int64_t first; // the keys of positions 1 and 2, negated when descending
        std::int64_t second;
        std::int32_t sequence;
        std::size_t row;
        std::size_t hash;
        std::uint64_t prefix; // the text's first 8 bytes, big-endian, zeros past its end
    };
    const auto prefixOf = [](const std::string& text) {
        std::uint64_t prefix = 0;
        for (std::size_t i = 0; i < 8; ++i)
            prefix = prefix << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
        return prefix;
    };
    const auto keyOf = [](ColumnSlot slot, const WordplayRow& row) -> std::int64_t {
        const std::int64_t value = slot.kind == ColumnKind::Pieces ? row.pieces
                                   : slot.kind == ColumnKind::Type ? row.type
                                                                   : 0;
        return slot.descending ? -value : value;
    };
    const ColumnSlot firstSlot = columns.Slot(1);
    const ColumnSlot secondSlot = columns.Slot(2);
    const std::hash<std::string_view> hashOf;
    std::vector<Entry> entries(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        entries[i] = {keyOf(firstSlot, rows[i]), keyOf(secondSlot, rows[i]), rows[i].sequence, i,
                      hashOf(rows[i].text),      prefixOf(rows[i].text)};

    // Repeats: the rows go into an open hash table in the order they were
    // added, and a row whose text is already there is dropped.
    std::size_t slots = 16;
    while (slots < 2 * entries.size())
        slots *= 2;
    std::vector<std::size_t> table(slots, 0); // entry number + 1, 0 for none
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry entry = entries[i];
        bool repeat = false;
        std::size_t slot = entry.hash & (slots - 1);
        for (; table[slot] != 0; slot = (slot + 1) & (slots - 1)) {
            const Entry& other = entries[table[slot] - 1];
            if (other.hash == entry.hash && rows[other.row].text == rows[entry.row].text) {
                repeat = true;
                break;
            }
        }
        if (repeat) continue;
        entries[kept] = entry;
        table[slot] = ++kept;
    }
    entries.resize(kept);

    // std::string compares through char_traits<char>, which orders bytes as
    // unsigned, so accented entries sort after plain ones on every compiler.
    std::sort(entries.begin(), entries.end(), [&rows](const Entry& a, const Entry& b) {
        if (a.first != b.first) return a.first < b.first;
        if (a.second != b.second) return a.second < b.second;
        if (a.sequence != b.sequence) return a.sequence < b.sequence;
        // The zeros put a text before any longer one it begins, as the full
        // comparison does, which decides when the prefixes are equal.
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return rows[a.row].text < rows[b.row].text;
    });
    std::vector<WordplayRow> finished;
    finished.reserve(entries.size());
    for (const Entry& entry : entries)
        finished.push_back(std::move(rows[entry.row]));
    rows = std::move(finished);
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
