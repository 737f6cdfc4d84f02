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
// The level before it, which takes at least half of what is left, needs no
// list of its own: it reads the list above from its position on, testing each
// group as it goes, and stops at the first group too short, so the many short
// groups that end every list are never touched there.
//
// The step count, which bounds the enumeration, counts every candidate a list
// would hold, as if each level had its list.
#include "search/WordplaySearch.h"

#include <algorithm>
#include <cctype>
#include <cstring>

void WordplaySearch::MultipleAnagrams() {
    if (!MultiPieceAnswer() || !sorted_ || groups_.empty()) return;
    const int most = static_cast<int>(std::min<long long>(maxPieces_, l_));
    if (most < 2) return;
    const std::size_t g = groups_.size();
    // Levels 0 .. most-2 iterate; the last group is looked up.
    candidates_.resize(static_cast<std::size_t>(most - 1) * g);
    listSize_.assign(static_cast<std::size_t>(most - 1), 0);
    groupText_.clear();
    groupStyle_.clear();
    groupAt_.assign(g, kNotJoined);
    groupSize_.assign(g, 0);
    groupCost_.assign(g, 0);
    for (std::size_t i = 0; i < g; ++i) {
        const Group& group = groups_[i];
        candidates_[i] = {group.signature, static_cast<std::uint32_t>(i), group.length};
        if (group.length != 1) continue;
        // A lone A costs a row least, a lone I more, any other letter most.
        char letter = 0;
        for (std::size_t j = 0; j < unit_.size(); ++j) {
            if (unit_[j] == group.signature) letter = distinct_[j];
        }
        const int lower = std::tolower(static_cast<unsigned char>(letter));
        groupCost_[i] = lower == 'a' ? 4 : lower == 'i' ? 16 : 64;
    }
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
    const Candidate* list = &candidates_[static_cast<std::size_t>(depth) * g];
    const std::size_t size = listSize_[depth];
    // This group's length: at least its share of what remains, and small enough to
    // leave a letter for each group still to come.
    const int lowest = (remaining + left - 1) / left;
    const int highest = remaining - (left - 1);
    for (std::size_t i = 0; i < size; ++i) {
        const Candidate& candidate = list[i];
        const int length = static_cast<int>(candidate.length);
        if (length > highest) continue;
        if (length < lowest) break;
        const std::uint64_t next = ((rest | guards_) - candidate.signature) & ~guards_;
        if (left == 3) {
            steps_ += size - i;
        } else if (left > 3) {
            // The next level's list: the groups from this one on that fit what
            // is left, without those longer than the next level (or any after
            // it) may take. Every candidate is written and only a fitting one
            // kept, so the loop has no branch to mispredict.
            const int longest = remaining - length - (left - 2);
            Candidate* out = &candidates_[static_cast<std::size_t>(depth + 1) * g];
            std::size_t kept = 0;
            std::size_t j = i;
            while (j<size&& static_cast<int>(list[j].length)> longest)
                ++j;
            const std::uint64_t open = next | guards_;
            for (; j < size; ++j) {
                out[kept] = list[j];
                kept += ((open - list[j].signature) & guards_) == guards_ ? 1 : 0;
            }
            // Counted as every candidate tested, as the bound was set.
            steps_ += size - i;
            listSize_[depth + 1] = kept;
        }
        if (++steps_ > kStepBudget) {
            stop_ = true;
            truncated_ = true;
            return false;
        }
        chosen_[depth] = candidate.group;
        if (left == 3 ? !ChoosePair(depth + 1, remaining - length, next, list + i, size - i)
                      : !Choose(depth + 1, left - 1, remaining - length, next, candidate.group))
            return false;
    }
    return !stop_;
}

bool WordplaySearch::ChoosePair(int depth, int remaining, std::uint64_t rest, const Candidate* list,
                                std::size_t size) {
    // Choose(depth, 2, ...) over the candidates of `list` that fit `rest`. The
    // lengths only fall along the list, so the first one too short ends it,
    // whether it fits or not.
    const int lowest = (remaining + 1) / 2;
    const int highest = remaining - 1;
    const std::uint64_t open = rest | guards_;
    for (std::size_t i = 0; i < size; ++i) {
        const Candidate& candidate = list[i];
        const int length = static_cast<int>(candidate.length);
        if (length < lowest) break;
        if (((open - candidate.signature) & guards_) != guards_ || length > highest) continue;
        if (++steps_ > kStepBudget) {
            stop_ = true;
            truncated_ = true;
            return false;
        }
        chosen_[depth] = candidate.group;
        const std::uint64_t next = (open - candidate.signature) & ~guards_;
        if (!Choose(depth + 1, 1, remaining - length, next, candidate.group)) return false;
    }
    return !stop_;
}

void WordplaySearch::JoinGroup(std::uint32_t group) {
    const Group& g = groups_[group];
    const std::vector<Fodder>& table = fodder_[g.length];
    groupAt_[group] = static_cast<std::uint32_t>(groupText_.size());
    for (std::uint32_t w = 0; w < g.wordCount; ++w) {
        if (w > 0) {
            groupText_ += '/';
            groupStyle_ += StyleLetter::Separator;
        }
        const std::string& word = table[g.firstWord + w].text;
        groupText_ += word;
        groupStyle_.append(word.size(), StyleLetter::Word);
    }
    groupSize_[group] = static_cast<std::uint32_t>(groupText_.size()) - groupAt_[group];
    groupText_.append(kSpare, '\0');
    groupStyle_.append(kSpare, '\0');
}

namespace {

// Copies `size` bytes eight at a time: `from` may be read, and `to` written,
// up to seven bytes past the end.
void CopyInEights(char* to, const char* from, std::size_t size) {
    for (std::size_t at = 0; at < size; at += 8)
        std::memcpy(to + at, from + at, 8);
}

} // namespace

void WordplaySearch::EmitMultiple(int count) {
    // Sequence: combinations without single letters first, then those whose lengths
    // multiply to more; a lone A costs least, a lone I more, any other letter most.
    // A row is its groups' joined words side by side, with a blank (a separator)
    // between two groups and the anagram sign at the end.
    int score = 256;
    std::int64_t product = 1;
    std::size_t size = static_cast<std::size_t>(count); // the blanks and the sign
    for (int d = 0; d < count; ++d) {
        const std::uint32_t at = chosen_[d];
        if (groupAt_[at] == kNotJoined) JoinGroup(at);
        size += groupSize_[at];
        product *= groups_[at].length;
        score -= groupCost_[at];
    }
    if (rowText_.size() < size + kSpare) {
        rowText_.resize(size + kSpare);
        rowStyle_.resize(size + kSpare);
    }
    char* text = rowText_.data();
    char* style = rowStyle_.data();
    for (int d = 0; d < count; ++d) {
        if (d > 0) {
            *text++ = ' ';
            *style++ = StyleLetter::Separator;
        }
        const std::uint32_t at = chosen_[d];
        CopyInEights(text, groupText_.data() + groupAt_[at], groupSize_[at]);
        CopyInEights(style, groupStyle_.data() + groupAt_[at], groupSize_[at]);
        text += groupSize_[at];
        style += groupSize_[at];
    }
    *text = NotationSymbol::Anagram[0];
    *style = StyleLetter::Notation;
    WordplayRow row;
    row.text.assign(rowText_.data(), size);
    row.style.assign(rowStyle_.data(), size);
    // Lengths of at most 31 letters multiply to at most 78732, well inside the
    // 4 * 65536 that separates two scores.
    row.type = WordplayType::MultipleAnagram;
    row.pieces = count;
    row.sequence = static_cast<std::int32_t>(-product - std::int64_t{score} * 65536);
    sink_->AddRow(std::move(row));
    ++rowsAdded_;
    if (rowsAdded_ >= kRowStop) {
        stop_ = true;
        truncated_ = true;
    }
}
