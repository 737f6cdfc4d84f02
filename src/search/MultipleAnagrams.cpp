// Multiple anagrams: every multiset of fodder groups whose letters add up to the
// answer.
//
// All groups stand in one array, longest first and, within a length, in the
// fodder table's signature order. A combination is a non-decreasing sequence of
// positions in that array, which gives lengths in non-increasing order, lets a
// group be taken again and produces each multiset once. Each level keeps the
// candidates of the level above that still fit the remaining letters (packed
// counts: one subtraction and a mask test), so the lists shrink as the recursion
// deepens; the lists live in one buffer sized before the recursion starts. The
// last group is not searched for: the remaining letters' signature names it.
#include "search/WordplaySearch.h"

#include <algorithm>
#include <cctype>

void WordplaySearch::MultipleAnagrams() {
    if (!MultiPieceAnswer() || !sorted_ || groups_.empty()) return;
    const int most = static_cast<int>(std::min<long long>(maxPieces_, l_));
    if (most < 2) return;
    const std::size_t g = groups_.size();
    // Levels 0 .. most-2 iterate; the last group is looked up.
    candidates_.assign(static_cast<std::size_t>(most - 1) * g, 0);
    listSize_.assign(static_cast<std::size_t>(most - 1), 0);
    groupWords_.assign(g, WordplayRowBuilder());
    for (std::size_t i = 0; i < g; ++i)
        candidates_[i] = static_cast<std::uint32_t>(i);
    listSize_[0] = g;
    steps_ = 0;
    stop_ = false;
    for (int n = 2; n <= most && !stop_; ++n)
        Choose(0, n, l_, whole_, 0);
}

bool WordplaySearch::Choose(int depth, int left, int remaining, std::uint64_t rest,
                            std::size_t from) {
    if (left == 1) {
        ++steps_;
        const Group* last = FindGroup(remaining, rest);
        if (last != nullptr && static_cast<std::size_t>(last - groups_.data()) >= from) {
            chosen_[depth] = static_cast<std::uint32_t>(last - groups_.data());
            EmitMultiple(depth + 1);
        }
        return !stop_;
    }
    const std::size_t g = groups_.size();
    const std::uint32_t* list = &candidates_[static_cast<std::size_t>(depth) * g];
    const std::size_t size = listSize_[depth];
    // This group's length: at least its share of what remains, and small enough to
    // leave a letter for each group still to come.
    const int lowest = (remaining + left - 1) / left;
    const int highest = remaining - (left - 1);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint32_t at = list[i];
        const Group& group = groups_[at];
        if (group.length > highest) continue;
        if (group.length < lowest) break;
        const std::uint64_t next = ((rest | guards_) - group.signature) & ~guards_;
        if (left > 2) {
            std::uint32_t* out = &candidates_[static_cast<std::size_t>(depth + 1) * g];
            std::size_t kept = 0;
            for (std::size_t j = i; j < size; ++j) {
                const std::uint64_t signature = groups_[list[j]].signature;
                if ((((next | guards_) - signature) & guards_) == guards_) out[kept++] = list[j];
            }
            steps_ += size - i;
            listSize_[depth + 1] = kept;
        }
        if (++steps_ > kStepBudget) {
            stop_ = true;
            truncated_ = true;
            return false;
        }
        chosen_[depth] = at;
        if (!Choose(depth + 1, left - 1, remaining - group.length, next, at)) return false;
    }
    return !stop_;
}

void WordplaySearch::EmitMultiple(int count) {
    // Sequence: combinations without single letters first, then those whose lengths
    // multiply to more; a lone A costs least, a lone I more, any other letter most.
    builder_.Clear();
    int score = 256;
    std::int64_t product = 1;
    for (int d = 0; d < count; ++d) {
        const Group& group = groups_[chosen_[d]];
        if (d > 0) builder_.AppendSeparator(" ");
        // A group's words stand in many rows: they are joined once.
        WordplayRowBuilder& words = groupWords_[chosen_[d]];
        if (words.Empty()) {
            const std::vector<Fodder>& table = fodder_[group.length];
            for (std::uint32_t w = 0; w < group.wordCount; ++w) {
                if (w > 0) words.AppendSeparator("/");
                words.AppendWord(table[group.firstWord + w].text);
            }
        }
        builder_.AppendStyled(words.Text(), words.Style());
        product *= group.length;
        if (group.length == 1) {
            char letter = 0;
            for (std::size_t j = 0; j < unit_.size(); ++j) {
                if (unit_[j] == group.signature) letter = distinct_[j];
            }
            const int lower = std::tolower(static_cast<unsigned char>(letter));
            score -= lower == 'a' ? 4 : lower == 'i' ? 16 : 64;
        }
    }
    builder_.AppendSymbol(NotationSymbol::Anagram);
    // Lengths of at most 31 letters multiply to at most 78732, well inside the
    // 4 * 65536 that separates two scores.
    const auto sequence = static_cast<std::int32_t>(-product - std::int64_t{score} * 65536);
    AddRow(builder_, WordplayType::MultipleAnagram, count, sequence);
    if (rowsAdded_ >= kRowStop) {
        stop_ = true;
        truncated_ = true;
    }
}
