#include "search/HiddenWords.h"

#include "dictionary/InputEngine.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <queue>
#include <span>

namespace {

// Case in the Windows-1252 letters the dictionaries hold: A..Z, À..Þ (but
// not ×) and the four capitals 1252 keeps at 8A, 8C, 8E and 9F.
unsigned char UpperCp1252(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9E:
        return c - 0x10;
    case 0xFF:
        return 0x9F;
    }
    return c;
}

unsigned char LowerCp1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return c + 0x10;
    case 0x9F:
        return 0xFF;
    }
    return c;
}

// Written wholly in capitals: an abbreviation rather than a word.
bool Abbreviation(std::string_view text) {
    bool capitals = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (LowerCp1252(byte) != byte)
            capitals = true;
        else if (UpperCp1252(byte) != byte)
            return false;
    }
    return capitals;
}

int CompareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = LowerCp1252(static_cast<unsigned char>(a[i]));
        const unsigned char y = LowerCp1252(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a)
        return std::numeric_limits<std::uint64_t>::max();
    return a * b;
}

std::uint64_t SaturatingSum(std::uint64_t a, std::uint64_t b) {
    return a > std::numeric_limits<std::uint64_t>::max() - b
               ? std::numeric_limits<std::uint64_t>::max()
               : a + b;
}

} // namespace

std::vector<std::vector<std::string>> HiddenWordCells(const HiddenWordList& list) {
    std::vector<std::vector<std::string>> cells;
    cells.reserve(list.rows.size());
    for (const HiddenWordRow& row : list.rows)
        cells.push_back({row.text, std::to_string(row.words),
                         list.commonMarks ? std::to_string(row.common) : std::string()});
    return cells;
}

// ----------------------------------------------------------------- index

HiddenWordIndex::HiddenWordIndex(OWDictionaryList& list) {
    using Dictionary = OWDictionaryList::Dictionary;
    const int count = std::min(list.Count(), int{std::numeric_limits<std::uint16_t>::max()} + 1);
    isLetter_.resize(static_cast<std::size_t>(std::max(count, 0)));
    std::string key;
    for (int i = 0; i < count; ++i) {
        auto& letters = isLetter_[static_cast<std::size_t>(i)];
        for (int b = 0; b < 256; ++b)
            letters[static_cast<std::size_t>(b)] =
                list.LetterIndex(i, static_cast<unsigned char>(b)) != Dictionary::kNotALetter;
        if (!list.IsValid(i)) continue;
        const bool flagged = list.Version(i) > 0;
        const int slots = std::min(list.SlotCount(i), Dictionary::kMaxSlots);
        for (int n = 1; n < slots; ++n) {
            InputEngine input(list, i);
            if (!input.Start(n)) continue;
            for (;;) {
                const std::uint8_t* record = input.Next();
                if (record[owrecord::kKey] == owrecord::kEnd) break;
                const char* text = reinterpret_cast<const char*>(record + owrecord::kText);
                const std::string_view entry(text,
                                             strnlen(text, owrecord::kSize - owrecord::kText));
                if (entry.find(' ') != std::string_view::npos || Abbreviation(entry)) continue;
                key.resize(static_cast<std::size_t>(n));
                for (int k = 0; k < n; ++k)
                    key[static_cast<std::size_t>(k)] =
                        static_cast<char>(list.LetterChar(i, record[owrecord::kKey + k]));
                Add(i, entry, key, flagged && input.Flag() == 1);
            }
        }
    }
    DropRepeatedSpellings();
}

void HiddenWordIndex::Add(int dictionary, std::string_view text, std::string_view key,
                          bool common) {
    // Offsets are 32-bit; a list of dictionaries that large keeps its first 4 GB of words.
    const std::size_t need = text.size() + 2 * key.size();
    if (arena_.size() + need > std::numeric_limits<std::uint32_t>::max()) return;
    Word w{};
    w.text = static_cast<std::uint32_t>(arena_.size());
    w.textLength = static_cast<std::uint16_t>(text.size());
    arena_.append(text);
    w.key = static_cast<std::uint32_t>(arena_.size());
    arena_.append(key);
    w.reversed = static_cast<std::uint32_t>(arena_.size());
    arena_.append(key.rbegin(), key.rend());
    w.letters = static_cast<std::uint8_t>(key.size());
    w.common = common ? 1 : 0;
    int capitals = 0;
    for (const char c : text)
        capitals += LowerCp1252(static_cast<unsigned char>(c)) != static_cast<unsigned char>(c);
    w.capitals = static_cast<std::uint8_t>(std::min(capitals, 255));
    w.dictionary = static_cast<std::uint16_t>(dictionary);
    words_.push_back(w);
}

namespace {

// The first eight letters packed so that the numbers order as the strings do
// (letters are never 0, so a shorter word's padding sorts it first); most
// comparisons of a sort end here, without reaching the arena.
std::uint64_t PackedPrefix(std::string_view letters) {
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < 8; ++i)
        packed = packed << 8 | (i < letters.size() ? static_cast<unsigned char>(letters[i]) : 0u);
    return packed;
}

struct Sortable {
    std::uint64_t prefix;
    std::uint32_t id;
};

} // namespace

// One word per spelling: sorted by letters, then spelling without case, the
// preferred form first, a spelling's later forms go.
void HiddenWordIndex::DropRepeatedSpellings() {
    std::vector<Sortable> order(words_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = {PackedPrefix(Key(words_[i])), static_cast<std::uint32_t>(i)};
    std::sort(order.begin(), order.end(), [this](const Sortable& a, const Sortable& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        const Word& x = words_[a.id];
        const Word& y = words_[b.id];
        if (const int c = Key(x).compare(Key(y)); c != 0) return c < 0;
        if (const int c = CompareFolded(Text(x), Text(y)); c != 0) return c < 0;
        if (x.common != y.common) return x.common > y.common;
        if (x.capitals != y.capitals) return x.capitals < y.capitals;
        return a.id < b.id;
    });
    heads_.clear();
    for (const Sortable& s : order) {
        if (!heads_.empty()) {
            const Word& kept = words_[heads_.back()];
            const Word& w = words_[s.id];
            if (Key(kept) == Key(w) && CompareFolded(Text(kept), Text(w)) == 0) continue;
        }
        heads_.push_back(s.id);
    }
    // Ties among the tails keep the heads' order, so every build is the same.
    order.resize(heads_.size());
    for (std::size_t i = 0; i < heads_.size(); ++i)
        order[i] = {PackedPrefix(Reversed(words_[heads_[i]])), static_cast<std::uint32_t>(i)};
    std::sort(order.begin(), order.end(), [this](const Sortable& a, const Sortable& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        if (const int c = Reversed(words_[heads_[a.id]]).compare(Reversed(words_[heads_[b.id]]));
            c != 0)
            return c < 0;
        return a.id < b.id;
    });
    tails_.resize(heads_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        tails_[i] = heads_[order[i].id];
    commonWords_ = 0;
    for (const std::uint32_t id : heads_)
        commonWords_ += words_[id].common;
}

// ---------------------------------------------------------------- search

// One search: the ranges of each fragment of the answer, the walks over the
// splits and the heap of the best rows.
class HiddenWordIndex::Search {
public:
    Search(const HiddenWordIndex& index, std::size_t rowLimit, std::uint64_t stepBudget)
        : index_(index), marks_(index.HasCommonMarks()), rowLimit_(rowLimit),
          stepBudget_(stepBudget) {}

    // Adds the walks of one reading of the answer and counts its phrases.
    void Plan(std::string_view target, bool reversed);
    // Runs the walks, fewest uncommon words first.
    void Walk();
    HiddenWordList Finish();

private:
    // Word ids ordered by (not common, letters); the common ones first.
    struct Range {
        std::vector<std::uint32_t> ids;
        std::size_t commonEnd = 0;
        std::span<const std::uint32_t> Part(int uncommon) const {
            return uncommon ? std::span(ids).subspan(commonEnd) : std::span(ids).first(commonEnd);
        }
    };
    struct Reading {
        std::string target;
        bool reversed = false;
        std::vector<Range> tails; // tails[i]: words ending in target[0, i)
        std::vector<Range> heads; // heads[j]: words beginning with target[j, l)
    };
    // A split's ranges and the uncommon words a walk over their parts holds.
    struct Walker {
        const Reading* reading;
        int tail;   // letters of the first word's part
        int middle; // letters of the whole middle word; 0 for none
        std::span<const std::uint32_t> first, middleWords, last;
        int uncommon;
    };
    struct Kept {
        int uncommon;
        HiddenWordRow row;
    };
    // Orders kept rows best first; the heap's top is the worst.
    struct Better {
        bool operator()(const Kept& a, const Kept& b) const {
            if (a.uncommon != b.uncommon) return a.uncommon < b.uncommon;
            if (a.row.letters != b.row.letters) return a.row.letters < b.row.letters;
            if (a.row.words != b.row.words) return a.row.words < b.row.words;
            return a.row.text < b.row.text;
        }
    };

    Range MakeRange(const std::vector<std::uint32_t>& sorted, bool backwards,
                    std::string_view fragment, bool exact) const;
    void Walk(const Walker& walker);
    // -1, 0 or +1: how a phrase of this many uncommon words, letters and
    // words stands to the worst row kept, text aside.
    int AgainstWorst(int uncommon, int letters, int words) const;
    void Compose(const Walker& walker, std::uint32_t first, const std::uint32_t* middle,
                 std::uint32_t last, std::string& text) const;
    int Uncommon(const Word& w) const { return marks_ && !w.common ? 1 : 0; }
    bool Full() const { return kept_.size() >= rowLimit_; }

    const HiddenWordIndex& index_;
    const bool marks_;
    const std::size_t rowLimit_;
    const std::uint64_t stepBudget_;
    std::vector<std::unique_ptr<Reading>> readings_;
    // Kept alive for the walkers' spans, which point into the ranges' own
    // storage and so survive the vector growing.
    std::vector<Range> middles_;
    std::vector<Walker> walkers_;
    std::priority_queue<Kept, std::vector<Kept>, Better> kept_;
    std::uint64_t phrases_ = 0;
    std::uint64_t steps_ = 0;
    bool ranOut_ = false;
    std::string scratch_;
};

HiddenWordIndex::Search::Range
HiddenWordIndex::Search::MakeRange(const std::vector<std::uint32_t>& sorted, bool backwards,
                                   std::string_view fragment, bool exact) const {
    const auto letters = [&](std::uint32_t id) {
        const Word& w = index_.words_[id];
        return backwards ? index_.Reversed(w) : index_.Key(w);
    };
    const auto from = std::partition_point(
        sorted.begin(), sorted.end(), [&](std::uint32_t id) { return letters(id) < fragment; });
    const auto to = std::partition_point(
        from, sorted.end(), [&](std::uint32_t id) { return letters(id).starts_with(fragment); });
    // The words equal to the fragment lead the range.
    const auto longer = std::partition_point(
        from, to, [&](std::uint32_t id) { return letters(id).size() == fragment.size(); });
    // Bucketed by (not common, letters): a counting sort, keeping the index's
    // order within a bucket.
    constexpr int kBuckets = 2 * 32;
    const auto bucket = [&](std::uint32_t id) {
        const Word& w = index_.words_[id];
        return Uncommon(w) * 32 + std::min<int>(w.letters, 31);
    };
    const auto begin = exact ? from : longer;
    const auto end = exact ? longer : to;
    std::array<std::size_t, kBuckets + 1> start{};
    for (auto it = begin; it != end; ++it)
        ++start[static_cast<std::size_t>(bucket(*it)) + 1];
    for (int b = 0; b < kBuckets; ++b)
        start[static_cast<std::size_t>(b) + 1] += start[static_cast<std::size_t>(b)];
    Range range;
    range.commonEnd = start[32];
    range.ids.resize(static_cast<std::size_t>(end - begin));
    for (auto it = begin; it != end; ++it)
        range.ids[start[static_cast<std::size_t>(bucket(*it))]++] = *it;
    return range;
}

void HiddenWordIndex::Search::Plan(std::string_view target, bool reversed) {
    const int l = static_cast<int>(target.size());
    auto reading = std::make_unique<Reading>();
    reading->target = std::string(target);
    reading->reversed = reversed;
    reading->tails.resize(static_cast<std::size_t>(l));
    reading->heads.resize(static_cast<std::size_t>(l));
    for (int i = 1; i < l; ++i) {
        const std::string tail(target.substr(0, static_cast<std::size_t>(i)));
        reading->tails[static_cast<std::size_t>(i)] =
            MakeRange(index_.tails_, true, std::string(tail.rbegin(), tail.rend()), false);
        reading->heads[static_cast<std::size_t>(i)] =
            MakeRange(index_.heads_, false, target.substr(static_cast<std::size_t>(i)), false);
    }
    // Splits: target[0, i) ends the first word, target[i, j) is the middle
    // word (none when j == i), target[j, l) begins the last.
    for (int i = 1; i < l; ++i) {
        const Range& first = reading->tails[static_cast<std::size_t>(i)];
        if (first.ids.empty()) continue;
        for (int j = i; j < l; ++j) {
            const Range& last = reading->heads[static_cast<std::size_t>(j)];
            if (last.ids.empty()) continue;
            const Range* middle = nullptr;
            if (j > i) {
                if (j - i > 31) break; // no word is longer
                middles_.push_back(MakeRange(
                    index_.heads_, false,
                    target.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(j - i)),
                    true));
                middle = &middles_.back();
                if (middle->ids.empty()) continue;
            }
            std::uint64_t count = SaturatingProduct(first.ids.size(), last.ids.size());
            if (middle) count = SaturatingProduct(count, middle->ids.size());
            phrases_ = SaturatingSum(phrases_, count);
            for (int a = 0; a < 2; ++a) {
                for (int m = 0; m < (middle ? 2 : 1); ++m) {
                    for (int b = 0; b < 2; ++b) {
                        Walker w{reading.get(),
                                 i,
                                 j - i,
                                 first.Part(a),
                                 middle ? middle->Part(m) : std::span<const std::uint32_t>(),
                                 last.Part(b),
                                 a + m + b};
                        if (w.first.empty() || w.last.empty() || (middle && w.middleWords.empty()))
                            continue;
                        walkers_.push_back(w);
                    }
                }
            }
        }
    }
    readings_.push_back(std::move(reading));
}

void HiddenWordIndex::Search::Walk() {
    std::stable_sort(walkers_.begin(), walkers_.end(),
                     [](const Walker& a, const Walker& b) { return a.uncommon < b.uncommon; });
    for (const Walker& walker : walkers_) {
        if (ranOut_) break;
        Walk(walker);
    }
}

int HiddenWordIndex::Search::AgainstWorst(int uncommon, int letters, int words) const {
    if (!Full()) return -1;
    const Kept& worst = kept_.top();
    if (uncommon != worst.uncommon) return uncommon < worst.uncommon ? -1 : 1;
    if (letters != worst.row.letters) return letters < worst.row.letters ? -1 : 1;
    if (words != worst.row.words) return words < worst.row.words ? -1 : 1;
    return 0;
}

void HiddenWordIndex::Search::Walk(const Walker& walker) {
    const auto& words = index_.words_;
    const int wordCount = walker.middle > 0 ? 3 : 2;
    const int lastMin = words[walker.last.front()].letters;
    const int middleMin = walker.middle > 0 ? walker.middle : 0;
    // A two-word walk has one pass through the middle loop, with no word.
    const std::size_t middleCount = walker.middle > 0 ? walker.middleWords.size() : 1;
    for (const std::uint32_t first : walker.first) {
        const int firstLetters = words[first].letters;
        // Every list is in ascending letters: once the shortest phrase still
        // ahead is worse than the worst row kept, nothing further is better.
        if (AgainstWorst(walker.uncommon, firstLetters + middleMin + lastMin, wordCount) > 0)
            return;
        for (std::size_t m = 0; m < middleCount; ++m) {
            const std::uint32_t* middle = walker.middle > 0 ? &walker.middleWords[m] : nullptr;
            for (const std::uint32_t last : walker.last) {
                if (++steps_ > stepBudget_) {
                    ranOut_ = true;
                    return;
                }
                const int letters = firstLetters + middleMin + words[last].letters;
                const int against = AgainstWorst(walker.uncommon, letters, wordCount);
                if (against > 0) break;
                Compose(walker, first, middle, last, scratch_);
                if (against == 0 && !(scratch_ < kept_.top().row.text)) continue;
                Kept kept;
                kept.uncommon = walker.uncommon;
                kept.row.text = scratch_;
                kept.row.words = static_cast<std::uint8_t>(wordCount);
                kept.row.common =
                    static_cast<std::uint8_t>(words[first].common + words[last].common +
                                              (middle ? words[*middle].common : 0));
                kept.row.letters = static_cast<std::uint8_t>(letters);
                kept.row.reversed = walker.reading->reversed;
                kept_.push(std::move(kept));
                if (kept_.size() > rowLimit_) kept_.pop();
            }
        }
    }
}

// "os[CAR PET]ulant": the first word up to its tail, the hidden letters in
// capitals between brackets, the rest of the last word; "<" for a reversal.
void HiddenWordIndex::Search::Compose(const Walker& walker, std::uint32_t first,
                                      const std::uint32_t* middle, std::uint32_t last,
                                      std::string& text) const {
    const auto upper = [&text](std::string_view part) {
        for (const char c : part)
            text.push_back(static_cast<char>(UpperCp1252(static_cast<unsigned char>(c))));
    };
    text.clear();
    const Word& head = index_.words_[first];
    const std::string_view headText = index_.Text(head);
    const auto& headLetter = index_.isLetter_[head.dictionary];
    // The hidden part starts at letter (letters - tail) of the first word.
    std::size_t at = 0;
    for (int seen = 0, skip = head.letters - walker.tail; at < headText.size(); ++at) {
        if (!headLetter[static_cast<unsigned char>(headText[at])]) continue;
        if (seen++ == skip) break;
    }
    text.append(headText.substr(0, at));
    text.push_back('[');
    upper(headText.substr(at));
    text.push_back(' ');
    if (middle) {
        upper(index_.Text(index_.words_[*middle]));
        text.push_back(' ');
    }
    const Word& tail = index_.words_[last];
    const std::string_view tailText = index_.Text(tail);
    const auto& tailLetter = index_.isLetter_[tail.dictionary];
    const int take = static_cast<int>(walker.reading->target.size()) - walker.tail - walker.middle;
    std::size_t end = 0;
    for (int seen = 0; end < tailText.size() && seen < take; ++end)
        seen += tailLetter[static_cast<unsigned char>(tailText[end])] ? 1 : 0;
    upper(tailText.substr(0, end));
    text.push_back(']');
    text.append(tailText.substr(end));
    if (walker.reading->reversed) text.push_back('<');
}

HiddenWordList HiddenWordIndex::Search::Finish() {
    HiddenWordList list;
    list.phrases = phrases_;
    list.stepsRanOut = ranOut_;
    list.commonMarks = marks_;
    std::vector<Kept> rows;
    rows.reserve(kept_.size());
    while (!kept_.empty()) {
        rows.push_back(kept_.top());
        kept_.pop();
    }
    std::sort(rows.begin(), rows.end(), Better());
    for (Kept& k : rows)
        list.rows.push_back(std::move(k.row));
    return list;
}

HiddenWordList HiddenWordIndex::Find(std::string_view answer, std::size_t rowLimit,
                                     std::uint64_t stepBudget) const {
    if (answer.size() < 2 || answer.size() > kMaxAnswerLetters || rowLimit == 0) {
        HiddenWordList none;
        none.commonMarks = HasCommonMarks();
        return none;
    }
    Search search(*this, rowLimit, stepBudget);
    search.Plan(answer, false);
    const std::string backwards(answer.rbegin(), answer.rend());
    // A palindrome read backwards would only repeat itself.
    if (backwards != answer) search.Plan(backwards, true);
    search.Walk();
    return search.Finish();
}
