#include "results/ResultList.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

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

namespace {

// The rows' texts side by side in one buffer, copied in the order the rows
// were added, which is near enough the order they lie in memory: the sort
// below then reads a few hundred kilobytes instead of every row's own string.
struct TextBuffer {
    std::vector<unsigned char> bytes;
    std::vector<std::size_t> start; // text i is bytes [start[i], start[i + 1])

    std::size_t Size(std::uint32_t i) const { return start[i + 1] - start[i]; }

    // Eight bytes of text i from `at` on as one number, the first byte highest
    // and zeros past the text's end, so that numbers compare as the bytes do
    // (unsigned, as std::string compares them).
    std::uint64_t Chunk(std::uint32_t i, std::size_t at) const {
        const std::size_t size = Size(i);
        const unsigned char* text = bytes.data() + start[i];
        std::uint64_t chunk = 0;
        if (at + 8 <= size) {
            for (std::size_t k = 0; k < 8; ++k)
                chunk = chunk << 8 | text[at + k];
            return chunk;
        }
        for (std::size_t k = 0; k < 8; ++k)
            chunk = chunk << 8 | (at + k < size ? text[at + k] : 0u);
        return chunk;
    }
};

// One text's place in the text order at one depth of the sort below.
struct TextKey {
    std::uint64_t chunk; // the text's bytes depth .. depth+7
    std::uint64_t rest;  // how many of those bytes the text has (0 .. 8), then the row
    bool SameBytes(const TextKey& other) const {
        return chunk == other.chunk && rest >> 32 == other.rest >> 32;
    }
    std::uint32_t Held() const { return static_cast<std::uint32_t>(rest >> 32); }
    std::uint32_t Row() const { return static_cast<std::uint32_t>(rest); }
    friend bool operator<(const TextKey& a, const TextKey& b) {
        return a.chunk != b.chunk ? a.chunk < b.chunk : a.rest < b.rest;
    }
};

TextKey KeyAt(const TextBuffer& texts, std::uint32_t row, std::size_t depth) {
    const std::size_t size = texts.Size(row);
    const std::uint64_t held = size > depth ? std::min<std::size_t>(size - depth, 8) : 0;
    return {texts.Chunk(row, depth), held << 32 | row};
}

// Sorts the texts eight bytes at a time from the first: the keys are sorted on
// the bytes at one depth, and every run of keys that agree there and whose
// texts go on is sorted again on the next eight. A text that ends inside a
// chunk holds fewer bytes than one that goes on with zeros, so a text comes
// before every longer one it begins, as in a full comparison. Keys that agree
// on every byte and end together are equal texts, ordered by row; all but the
// first of them are marked in `repeat`.
void SortTexts(const TextBuffer& texts, std::vector<TextKey>& keys, std::vector<char>& repeat) {
    struct Range {
        std::size_t begin, end, depth;
    };
    std::vector<Range> pending;
    pending.push_back({0, keys.size(), 0});
    while (!pending.empty()) {
        const Range range = pending.back();
        pending.pop_back();
        const auto first = keys.begin() + static_cast<std::ptrdiff_t>(range.begin);
        const auto last = keys.begin() + static_cast<std::ptrdiff_t>(range.end);
        if (range.depth > 0)
            for (auto key = first; key != last; ++key)
                *key = KeyAt(texts, key->Row(), range.depth);
        std::sort(first, last);
        for (std::size_t i = range.begin; i < range.end;) {
            std::size_t j = i + 1;
            while (j < range.end && keys[j].SameBytes(keys[i]))
                ++j;
            if (j - i > 1) {
                if (keys[i].Held() == 8) {
                    pending.push_back({i, j, range.depth + 8});
                } else {
                    for (std::size_t k = i + 1; k < j; ++k)
                        repeat[k] = 1;
                }
            }
            i = j;
        }
    }
}

// A column's key of a row as a number that orders as RowLess does: the value
// with its sign bit flipped (so unsigned order is signed order), complemented
// when the column sorts descending; 0 for the Wordplay column, which never decides.
std::uint32_t ColumnKey(ColumnSlot slot, const WordplayRow& row) {
    if (slot.kind != ColumnKind::Pieces && slot.kind != ColumnKind::Type) return 0;
    const std::int32_t value = slot.kind == ColumnKind::Pieces ? row.pieces : row.type;
    const std::uint32_t key = static_cast<std::uint32_t>(value) ^ 0x80000000u;
    return slot.descending ? ~key : key;
}

} // namespace

void FinishResultList(std::vector<WordplayRow>& rows, const ColumnTable& columns) {
    // The list is what sorting the rows by text, dropping repeats (the earliest
    // added stays) and sorting with RowLess, both sorts stable, would give: the
    // row order, ties in text order. A row holds two strings and is dear to
    // move about, and its text lies wherever it was allocated, so everything is
    // worked out on small records read in one pass over the rows, and the rows
    // move once, at the end. Up to 2^32 rows.
    const std::size_t n = rows.size();
    const ColumnSlot firstSlot = columns.Slot(1);
    const ColumnSlot secondSlot = columns.Slot(2);
    TextBuffer texts;
    texts.start.resize(n + 1);
    std::vector<std::uint64_t> columnKeys(n); // positions 1 and 2, high and low half
    std::vector<std::uint32_t> sequences(n);  // with the sign bit flipped
    std::size_t total = 0;
    for (std::size_t i = 0; i < n; ++i) {
        texts.start[i] = total;
        total += rows[i].text.size();
    }
    texts.start[n] = total;
    texts.bytes.resize(total);
    for (std::size_t i = 0; i < n; ++i) {
        const WordplayRow& row = rows[i];
        std::copy(row.text.begin(), row.text.end(),
                  texts.bytes.begin() + static_cast<std::ptrdiff_t>(texts.start[i]));
        columnKeys[i] = std::uint64_t{ColumnKey(firstSlot, row)} << 32 | ColumnKey(secondSlot, row);
        sequences[i] = static_cast<std::uint32_t>(row.sequence) ^ 0x80000000u;
    }

    std::vector<TextKey> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = KeyAt(texts, static_cast<std::uint32_t>(i), 0);
    std::vector<char> repeat(n, 0);
    SortTexts(texts, keys, repeat);

    // The survivors, each with its place among the texts as the last key.
    struct Entry {
        std::uint64_t columns;
        std::uint64_t sequenceAndRank;
        std::uint32_t row;
    };
    std::vector<Entry> entries;
    entries.reserve(n);
    std::uint64_t rank = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (repeat[i]) continue;
        const std::uint32_t row = keys[i].Row();
        entries.push_back({columnKeys[row], std::uint64_t{sequences[row]} << 32 | rank++, row});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.columns != b.columns ? a.columns < b.columns
                                      : a.sequenceAndRank < b.sequenceAndRank;
    });

    // The rows move into their places along the permutation's cycles, the
    // survivors to the front; the repeats are left at the end and cut off.
    std::vector<std::uint32_t> from(n);
    std::vector<char> placed(n, 0);
    for (std::size_t i = 0; i < entries.size(); ++i)
        from[i] = entries[i].row;
    for (std::size_t i = 0, next = entries.size(); i < n; ++i)
        if (repeat[i]) from[next++] = keys[i].Row();
    for (std::size_t start = 0; start < n; ++start) {
        if (placed[start] || from[start] == start) continue;
        WordplayRow held = std::move(rows[start]);
        std::size_t at = start;
        while (from[at] != start) {
            rows[at] = std::move(rows[from[at]]);
            placed[at] = 1;
            at = from[at];
        }
        rows[at] = std::move(held);
        placed[at] = 1;
    }
    rows.resize(entries.size());
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
