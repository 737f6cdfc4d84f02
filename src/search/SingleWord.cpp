// Wordplay from one dictionary word: the same-length phase (Reversal, Anagram,
// Substitution) and the longer-word phase (Alternation, the deletions, Augmented
// Anagram).
#include "search/WordplaySearch.h"

#include "dictionary/InputEngine.h"
#include "dictionary/MatchEngine.h"

#include <algorithm>
#include <bit>
#include <unordered_set>

namespace {

// Writes a key's letters as canonical characters.
void KeyLetters(const std::uint8_t* key, int length, const std::array<unsigned char, 256>& table,
                char* letters) {
    for (int i = 0; i < length; ++i)
        letters[i] = static_cast<char>(table[key[i]]);
}

} // namespace

void WordplaySearch::SameLengthWords() {
    if (l_ > kMaxMaskLetters) return;
    const bool several = list_.Count() > 1;
    std::unordered_set<std::string> seen;
    char letters[kMaxMaskLetters];
    std::vector<int> counts;
    for (int index = 0; index < list_.Count(); ++index) {
        const LetterTable table = LettersOf(index);
        // Every position holding a letter outside the answer is a difference,
        // and a word with two differences is neither anagram nor substitution:
        // two letters outside the answer rule a word out unread.
        std::uint32_t inAnswer = 0;
        for (int letter = 0; letter < 255; ++letter)
            if (distinctOf_[table[letter]] >= 0)
                inAnswer |= LetterBit(static_cast<std::uint8_t>(letter));
        const auto mayUse = [inAnswer](std::uint32_t held) {
            const std::uint32_t outside = held & ~inAnswer;
            return (outside & (outside - 1)) == 0; // at most one
        };
        ReadEntries(
            list_, index, DecodedOf(index), l_, nullptr, mayUse,
            [&](const std::uint8_t* key, const char* text) {
                KeyLetters(key, l_, table, letters);
                SameLengthWord(std::string_view(letters, static_cast<std::size_t>(l_)), text,
                               several, seen, counts);
            },
            CommonOnly(index));
    }
}

void WordplaySearch::SameLengthWord(std::string_view word, const char* text, bool several,
                                    std::unordered_set<std::string>& seen,
                                    std::vector<int>& counts) {
    counts = distinctCount_;
    bool anagram = true;
    for (const char c : word) {
        const int j = distinctOf_[static_cast<unsigned char>(c)];
        if (j < 0 || --counts[j] < 0) {
            anagram = false;
            break;
        }
    }
    int differs = -1;
    if (!anagram) {
        bool second = false;
        for (int i = 0; i < l_ && !second; ++i) {
            if (word[i] == answer_[i]) continue;
            if (differs >= 0) second = true;
            differs = i;
        }
        if (second || differs < 0) return;
    }
    if (several && !seen.insert(std::string(word)).second) return;
    if (word == answer_) return;

    builder_.Clear();
    builder_.AppendWord(text);
    if (anagram) {
        const bool reversal = std::equal(word.rbegin(), word.rend(), answer_.begin());
        builder_.AppendSymbol(reversal ? NotationSymbol::Reversal : NotationSymbol::Anagram);
        AddRow(builder_, reversal ? WordplayType::Reversal : WordplayType::Anagram, 1);
    } else {
        builder_.AppendSymbol(NotationSymbol::With);
        builder_.AppendAbbreviation(std::string_view(answer_).substr(differs, 1));
        builder_.AppendSymbol(NotationSymbol::For);
        builder_.AppendAbbreviation(word.substr(static_cast<std::size_t>(differs), 1));
        AddRow(builder_, WordplayType::Substitution, 2);
    }
}

void WordplaySearch::LongerWords() {
    if (l_ >= kMaxMaskLetters) return;
    steps_ = 0;
    const bool several = list_.Count() > 1;
    std::unordered_set<std::string> seen;
    std::string query = ";" + answer_;
    // Read a length when its words can be deletions (fewer than MaxPieces letters
    // taken away) or alternations (twice the answer's length, give or take one).
    for (int len = l_ + 1; len <= kMaxMaskLetters && len <= 2 * l_ + 1; ++len) {
        query += '.';
        const bool deletions = len < static_cast<long long>(l_) + maxPieces_;
        if (!deletions && len < 2 * l_) continue;
        seen.clear();
        for (int index = 0; index < list_.Count(); ++index) {
            MatchEngine matcher;
            if (matcher.Compile(list_, index, query) != 0) continue;
            matcher.SetLength(len);
            const LetterTable table = LettersOf(index);
            const auto allLetters = [](std::uint32_t) { return true; };
            ReadEntries(
                list_, index, DecodedOf(index), len, &matcher, allLetters,
                [&](const std::uint8_t* key, const char* text) {
                    if (several) {
                        char letters[kMaxMaskLetters];
                        KeyLetters(key, len, table, letters);
                        if (!seen.insert(std::string(letters, static_cast<std::size_t>(len)))
                                 .second)
                            return;
                    }
                    TryLongerWord(index, table, key, text, len);
                },
                CommonOnly(index));
        }
    }
}

void WordplaySearch::TryLongerWord(int index, const LetterTable& table, const std::uint8_t* key,
                                   const char* text, int len) {
    char letters[kMaxMaskLetters];
    KeyLetters(key, len, table, letters);
    const std::string_view word(letters, static_cast<std::size_t>(len));
    const std::string_view answer(answer_);
    const int d = len - l_;

    std::uint32_t deleted = 0;
    std::int8_t type = -1;
    std::int32_t pieces = d + 1;

    if (d >= l_ - 1 && d <= l_ + 1) {
        // Alternation: the answer in every other letter, starting at the first or
        // the second (a word of 2l+1 letters can only start at the second).
        for (int start = len == 2 * l_ + 1 ? 1 : 0; start <= 1 && type < 0; ++start) {
            bool fits = true;
            for (int i = 0; i < l_ && fits; ++i) {
                const int at = start + 2 * i;
                fits = at < len && word[at] == answer[i];
            }
            if (!fits) continue;
            for (int at = 1 - start; at < len; at += 2)
                deleted |= 1u << at;
            type = WordplayType::Alternation;
            pieces = 2;
        }
    }
    if (type < 0 && len < static_cast<long long>(l_) + maxPieces_) {
        const int half = d / 2;
        if (word.substr(0, l_) == answer) {
            type = WordplayType::TailDeletion;
            deleted = Run(l_, d);
        } else if (word.substr(static_cast<std::size_t>(d)) == answer) {
            type = WordplayType::HeadDeletion;
            deleted = Run(0, d);
        } else if (d % 2 == 0 && word.substr(static_cast<std::size_t>(half), l_) == answer) {
            type = WordplayType::EndsDeletion;
            deleted = Run(0, half) | Run(l_ + half, len - l_ - half);
        } else if (l_ % 2 == 0 && word.substr(0, l_ / 2) == answer.substr(0, l_ / 2) &&
                   word.substr(static_cast<std::size_t>(len - l_ / 2)) ==
                       answer.substr(static_cast<std::size_t>(l_ / 2))) {
            type = WordplayType::MiddleDeletion;
            deleted = Run(l_ / 2, d);
        } else if ((deleted = DeletionPositions(word)) != 0) {
            type = WordplayType::Deletion;
        } else {
            type = WordplayType::AugmentedAnagram;
            deleted = AugmentedPositions(index, key, len);
        }
    }
    if (type < 0) return;
    builder_.Clear();
    builder_.AppendWord(text);
    MarkPositions(builder_, index, deleted);
    if (type == WordplayType::AugmentedAnagram) builder_.AppendSymbol(NotationSymbol::Anagram);
    AddRow(builder_, type, pieces);
}

std::uint32_t WordplaySearch::DeletionPositions(std::string_view word) const {
    // Placements of the answer's letters in the word, in order, that leave the fewest
    // runs of left-over letters. best[i][j]: fewest runs after answer letter i when
    // it sits at word position j (a large number when the rest cannot follow).
    // Among equals the earliest position is taken at each step, which is the first
    // placement a left-to-right trial would meet.
    const int n = static_cast<int>(word.size());
    const int m = l_;
    constexpr int kNone = 1 << 20;
    int best[kMaxMaskLetters][kMaxMaskLetters];
    for (int i = m - 1; i >= 0; --i) {
        for (int j = 0; j < n; ++j) {
            best[i][j] = kNone;
            if (word[j] != answer_[i]) continue;
            if (i == m - 1) {
                best[i][j] = j < n - 1 ? 1 : 0;
                continue;
            }
            for (int k = j + 1; k < n; ++k) {
                if (best[i + 1][k] >= kNone) continue;
                best[i][j] = std::min(best[i][j], (k > j + 1 ? 1 : 0) + best[i + 1][k]);
            }
        }
    }
    int fewest = kNone;
    int at = -1;
    for (int j = 0; j < n; ++j) {
        if (best[0][j] >= kNone) continue;
        const int runs = (j > 0 ? 1 : 0) + best[0][j];
        if (runs < fewest) {
            fewest = runs;
            at = j;
        }
    }
    if (at < 0) return 0;
    std::uint32_t kept = 1u << at;
    for (int i = 0; i + 1 < m; ++i) {
        for (int k = at + 1; k < n; ++k) {
            if (best[i + 1][k] < kNone && (k > at + 1 ? 1 : 0) + best[i + 1][k] == best[i][at]) {
                at = k;
                break;
            }
        }
        kept |= 1u << at;
    }
    return Run(0, n) & ~kept;
}

std::uint32_t WordplaySearch::AugmentedPositions(int index, const std::uint8_t* key, int len) {
    // The letters the word has beyond the answer, in letter-index order, each taken
    // from one of its occurrences; the choice leaving the fewest runs of removed
    // letters wins, the first found among equals. Choices are tried as combinations
    // in increasing position order per letter, which meets every set of positions
    // first in the same order as trying each copy on each occurrence would.
    std::array<int, 256> excess{};
    std::array<std::uint32_t, 256> where{};
    for (int i = 0; i < len; ++i) {
        ++excess[key[i]];
        where[key[i]] |= 1u << i;
    }
    for (const char c : answer_) {
        const std::uint8_t letter = list_.LetterIndex(index, static_cast<unsigned char>(c));
        if (letter != OWDictionaryList::Dictionary::kNotALetter) --excess[letter];
    }
    struct Extra {
        std::uint32_t occurrences;
        int count;
    };
    std::array<Extra, kMaxMaskLetters> extras{};
    int extraCount = 0;
    for (int letter = 0; letter < 256 && extraCount < kMaxMaskLetters; ++letter) {
        if (excess[letter] > 0) extras[extraCount++] = {where[letter], excess[letter]};
    }

    struct Search {
        const std::array<Extra, kMaxMaskLetters>& extras;
        int extraCount;
        std::uint32_t budget;
        std::uint32_t bestMask = 0;
        int bestRuns = 1 << 20;

        // Chooses `need` more positions of extra e above `after`, then the next extra.
        bool Try(int e, int need, int after, std::uint32_t chosen) {
            if (budget == 0) return true;
            --budget;
            if (need == 0) {
                if (++e == extraCount) {
                    const int runs = std::popcount(chosen & ~(chosen << 1));
                    if (runs < bestRuns) {
                        bestRuns = runs;
                        bestMask = chosen;
                    }
                    return bestRuns <= 1;
                }
                return Try(e, extras[e].count, -1, chosen);
            }
            std::uint32_t open = extras[e].occurrences & ~(after >= 0 ? Run(0, after + 1) : 0u);
            while (std::popcount(open) >= need) {
                const int at = std::countr_zero(open);
                open &= open - 1;
                if (Try(e, need - 1, at, chosen | 1u << at)) return true;
            }
            return false;
        }
        std::uint32_t Run(int start, int length) const {
            return length >= 32 ? ~0u : ((1u << length) - 1) << start;
        }
    };
    // Past the search's total each word gets just enough steps to reach its first
    // placement (one per letter chosen and per letter finished).
    const std::uint64_t left = steps_ < kPlacementTotal ? kPlacementTotal - steps_ : 0;
    const std::uint32_t budget = static_cast<std::uint32_t>(std::max<std::uint64_t>(
        std::min<std::uint64_t>(left, kPlacementBudget), 2 * owrecord::kKeySize + 2));
    Search search{extras, extraCount, budget};
    if (extraCount > 0) search.Try(0, extras[0].count, -1, 0);
    steps_ += budget - search.budget;
    if (search.budget == 0) truncated_ = true;
    return search.bestMask;
}
