#include "results/ResultList.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

// Sorts n records stably on a key of kBytes bytes, byteOf(record, b) giving
// byte b (0 the least significant): one counting pass a byte from the least
// significant up, each keeping the order of the pass before among equal bytes.
// The counts of every byte are taken in one read of the records, and a byte
// that all records have alike costs no pass. `scratch` holds n records.
template <int kBytes, class Record, class ByteOf>
void RadixSort(Record* records, Record* scratch, std::size_t n, ByteOf byteOf) {
    if (n < 2) return;
    std::array<std::array<std::uint32_t, 256>, kBytes> counts{};
    for (std::size_t i = 0; i < n; ++i)
        for (int b = 0; b < kBytes; ++b)
            ++counts[b][byteOf(records[i], b)];
    Record* from = records;
    Record* to = scratch;
    for (int b = 0; b < kBytes; ++b) {
        std::array<std::uint32_t, 256>& count = counts[b];
        if (count[byteOf(from[0], b)] == n) continue;
        std::uint32_t at = 0;
        for (std::uint32_t& c : count) {
            const std::uint32_t here = c;
            c = at;
            at += here;
        }
        for (std::size_t i = 0; i < n; ++i)
            to[count[byteOf(from[i], b)]++] = from[i];
        std::swap(from, to);
    }
    if (from != records) std::copy(from, from + n, records);
}

// The rows' texts side by side in one buffer, copied in the order the rows
// were added, which is near enough the order they lie in memory: the sort
// below then reads a few hundred kilobytes instead of every row's own string.
struct TextBuffer {
    std::vector<unsigned char> bytes;
    std::vector<std::size_t> start; // text i is bytes [start[i], start[i + 1])
};

// One text's place in the text order at one depth of the sort below.
struct TextKey {
    std::uint64_t chunk; // the text's bytes depth .. depth+7, the first highest, zeros past its end
    std::uint32_t held;  // how many of those bytes the text has (0 .. 8)
    std::uint32_t row;
    bool SameBytes(const TextKey& other) const {
        return chunk == other.chunk && held == other.held;
    }
    friend bool operator<(const TextKey& a, const TextKey& b) {
        if (a.chunk != b.chunk) return a.chunk < b.chunk;
        return a.held != b.held ? a.held < b.held : a.row < b.row;
    }
};

// The key of text `row` at `depth`: numbers compare as the bytes do, unsigned,
// as std::string compares them.
TextKey KeyAt(const TextBuffer& texts, std::uint32_t row, std::size_t depth) {
    const std::size_t size = texts.start[row + 1] - texts.start[row];
    const unsigned char* text = texts.bytes.data() + texts.start[row];
    std::uint64_t chunk = 0;
    if (depth + 8 <= size) {
        for (std::size_t k = 0; k < 8; ++k)
            chunk = chunk << 8 | text[depth + k];
        return {chunk, 8, row};
    }
    for (std::size_t k = 0; k < 8; ++k)
        chunk = chunk << 8 | (depth + k < size ? text[depth + k] : 0u);
    return {chunk, static_cast<std::uint32_t>(size > depth ? size - depth : 0), row};
}

// Sorts the texts eight bytes at a time from the first: the keys are sorted on
// the bytes at one depth, and every run of keys that agree there and whose
// texts go on is sorted again on the next eight. A text that ends inside a
// chunk holds fewer bytes than one that goes on with zeros, so a text comes
// before every longer one it begins, as in a full comparison. Each sort keeps
// rows that tie in the order of the one before (the rows' order, at first), so
// keys that agree on every byte and end together are equal texts in the order
// the rows were added; all but the first of them are marked in `repeat`.
// Large runs are sorted by counting, small ones by comparing.
void SortTexts(const TextBuffer& texts, std::vector<TextKey>& keys, std::vector<char>& repeat) {
    constexpr std::size_t kCountingFrom = 64;
    struct Range {
        std::size_t begin, end, depth;
    };
    std::vector<TextKey> scratch(keys.size());
    std::vector<Range> pending;
    pending.push_back({0, keys.size(), 0});
    while (!pending.empty()) {
        const Range range = pending.back();
        pending.pop_back();
        TextKey* first = keys.data() + range.begin;
        const std::size_t n = range.end - range.begin;
        for (std::size_t i = 0; i < n; ++i)
            first[i] = KeyAt(texts, first[i].row, range.depth);
        if (n >= kCountingFrom) {
            RadixSort<9>(first, scratch.data(), n, [](const TextKey& key, int b) {
                return b == 0 ? key.held : static_cast<unsigned>(key.chunk >> (8 * b - 8)) & 0xFF;
            });
        } else {
            std::sort(first, first + n);
        }
        for (std::size_t i = range.begin; i < range.end;) {
            std::size_t j = i + 1;
            while (j < range.end && keys[j].SameBytes(keys[i]))
                ++j;
            if (j - i > 1) {
                if (keys[i].held == 8) {
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
    std::size_t total = 0;
    for (std::size_t i = 0; i < n; ++i) {
        texts.start[i] = total;
        total += rows[i].text.size();
    }
    texts.start[n] = total;
    texts.bytes.resize(total);
    // The survivors' keys, filled in text order below.
    struct Entry {
        std::uint64_t columns;  // positions 1 and 2, high and low half
        std::uint32_t sequence; // with the sign bit flipped
        std::uint32_t row;
    };
    std::vector<Entry> byRow(n);
    std::vector<TextKey> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
        const WordplayRow& row = rows[i];
        if (!row.text.empty())
            std::memcpy(texts.bytes.data() + texts.start[i], row.text.data(), row.text.size());
        byRow[i] = {std::uint64_t{ColumnKey(firstSlot, row)} << 32 | ColumnKey(secondSlot, row),
                    static_cast<std::uint32_t>(row.sequence) ^ 0x80000000u,
                    static_cast<std::uint32_t>(i)};
        keys[i].row = static_cast<std::uint32_t>(i);
    }
    std::vector<char> repeat(n, 0);
    SortTexts(texts, keys, repeat);

    // Taken in text order and sorted stably on the column keys and the
    // sequence, the survivors end in the row order with ties in text order.
    std::vector<Entry> entries;
    entries.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        if (!repeat[i]) entries.push_back(byRow[keys[i].row]);
    std::vector<Entry> scratch(entries.size());
    RadixSort<12>(entries.data(), scratch.data(), entries.size(), [](const Entry& entry, int b) {
        return b < 4 ? (entry.sequence >> (8 * b)) & 0xFF
                     : static_cast<unsigned>(entry.columns >> (8 * b - 32)) & 0xFF;
    });

    // The rows move into their places along the permutation's cycles, the
    // survivors to the front; the repeats are left at the end and cut off.
    std::vector<std::uint32_t> from(n);
    std::vector<char> placed(n, 0);
    for (std::size_t i = 0; i < entries.size(); ++i)
        from[i] = entries[i].row;
    for (std::size_t i = 0, next = entries.size(); i < n; ++i)
        if (repeat[i]) from[next++] = keys[i].row;
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
