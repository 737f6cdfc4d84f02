// A plain, slow search written straight from the rules, checked against the fast
// one on random word lists over a few letters (so pieces overlap, repeat, reverse
// and share letters far more often than in a real dictionary). The reference keeps
// no masks in bit tricks, no reachability table, no packed counts and no
// shortcuts in the deletion and augmented-anagram choices: it tries every
// placement in the order the rules describe.
#include "SearchFixture.h"

#include "search/WordplaySearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

class ReferenceSearch {
public:
    ReferenceSearch(std::vector<std::string> words, std::string answer, int maxPieces,
                    AbbreviationSet abbreviations)
        : words_(std::move(words)), answer_(std::move(answer)),
          l_(static_cast<int>(answer_.size())), maxPieces_(maxPieces),
          abbreviations_(std::move(abbreviations)) {
        for (const char c : answer_) {
            if (distinct_.find(c) == std::string::npos) distinct_.push_back(c);
        }
    }

    std::vector<WordplayRow> Run() {
        AbbreviationPieces();
        WordPieces();
        SameLength();
        Charades();
        Containers();
        ContainedAnagrams();
        PartialAnagrams();
        LongerWords();
        MultipleAnagrams();
        return rows_;
    }

private:
    struct Piece {
        int start;             // first position (for a shell: 0)
        std::string positions; // one '1' or '0' per answer letter
        std::string text;
    };
    struct Builder {
        std::string text, style;
        void Add(const std::string& t, char s) {
            text += t;
            style.append(t.size(), s);
        }
        void Symbol(const std::string& symbol) {
            text += symbol;
            if (symbol.size() == 1) {
                style += 'n';
            } else {
                style += ' ';
                style.append(symbol.size() - 2, 'n');
                style += ' ';
            }
        }
    };

    std::string Signature(const std::string& letters) const {
        std::string signature(distinct_.size(), '\0');
        for (const char c : letters)
            ++signature[distinct_.find(c)];
        return signature;
    }
    bool MadeFromAnswer(const std::string& word) const {
        std::string rest = answer_;
        for (const char c : word) {
            const auto at = rest.find(c);
            if (at == std::string::npos) return false;
            rest.erase(at, 1);
        }
        return true;
    }
    std::string Positions(int start, int length) const {
        std::string p(static_cast<std::size_t>(l_), '0');
        for (int i = start; i < start + length; ++i)
            p[static_cast<std::size_t>(i)] = '1';
        return p;
    }
    // Masks order as unsigned numbers with bit i for letter i: compare from the top.
    static bool MaskLess(const std::string& a, const std::string& b) {
        return std::string(a.rbegin(), a.rend()) < std::string(b.rbegin(), b.rend());
    }
    void AppendPiece(Builder& row, const std::string& text) const {
        const bool reversed = text.back() == '<';
        const std::string plain = reversed ? text.substr(0, text.size() - 1) : text;
        row.Add(plain, abbreviations_.count(plain) ? 'b' : 'e');
        if (reversed) row.Add("<", 'n');
    }
    void Add(const Builder& row, int type, int pieces, int sequence) {
        rows_.push_back({row.text, row.style, static_cast<std::int8_t>(type), sequence, pieces});
    }
    void Add(const Builder& row, int type, int pieces) {
        Add(row, type, pieces, static_cast<int>(rows_.size()));
    }

    void Occurrences(const std::string& letters, const std::string& text) {
        for (auto at = answer_.find(letters); at != std::string::npos;
             at = answer_.find(letters, at + 1))
            pieces_.push_back({static_cast<int>(at),
                               Positions(static_cast<int>(at), static_cast<int>(letters.size())),
                               text});
    }
    void Shells(const std::string& letters, const std::string& text) {
        const int p = static_cast<int>(letters.size());
        int common = 0;
        while (common < p && common < l_ && letters[common] == answer_[common])
            ++common;
        if (common == p) --common;
        for (int head = common; head >= 1; --head) {
            const int tail = p - head;
            if (answer_.substr(static_cast<std::size_t>(l_ - tail)) != letters.substr(head))
                continue;
            std::string positions = Positions(0, head);
            for (int i = l_ - tail; i < l_; ++i)
                positions[i] = '1';
            shells_.push_back({0, positions, text});
        }
    }
    void Locate(const std::string& letters, bool word) {
        const bool known = word && abbreviations_.count(letters) != 0;
        if (!known) Occurrences(letters, letters);
        if (letters.size() < 2) return;
        const std::string reversed(letters.rbegin(), letters.rend());
        const bool reversible = word && reversed != letters;
        if (reversible) Occurrences(reversed, letters + "<");
        if (!known) Shells(letters, letters);
        if (reversible) Shells(reversed, letters + "<");
    }

    void AbbreviationPieces() {
        for (const std::string& a : abbreviations_) {
            if (static_cast<int>(a.size()) < l_) Locate(a, false);
        }
    }
    void WordPieces() {
        const int shortLimit = l_ > 9 ? 3 : 2;
        for (int k = 1; k < l_; ++k) {
            for (const std::string& w : words_) {
                if (static_cast<int>(w.size()) != k || !MadeFromAnswer(w)) continue;
                if (k >= 2) Locate(w, true);
                if (k <= shortLimit || answer_.find(w) == std::string::npos)
                    fodder_[k].push_back({Signature(w), w});
            }
        }
        const auto byMask = [](const Piece& a, const Piece& b) {
            return MaskLess(a.positions, b.positions);
        };
        std::stable_sort(pieces_.begin(), pieces_.end(), byMask);
        std::stable_sort(shells_.begin(), shells_.end(), byMask);
        for (auto& [k, table] : fodder_)
            std::stable_sort(table.begin(), table.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    void SameLength() {
        for (const std::string& w : words_) {
            if (static_cast<int>(w.size()) != l_ || w == answer_) continue;
            Builder row;
            row.Add(w, 'e');
            if (Signature(w) == Signature(answer_) && MadeFromAnswer(w)) {
                const bool reversal = std::string(w.rbegin(), w.rend()) == answer_;
                row.Symbol(reversal ? "<" : "*");
                Add(row, reversal ? 0 : 1, 1);
                continue;
            }
            int differs = -1, count = 0;
            for (int i = 0; i < l_; ++i) {
                if (w[i] != answer_[i]) {
                    ++count;
                    differs = i;
                }
            }
            if (count != 1) continue;
            row.Symbol(" with ");
            row.Add(answer_.substr(differs, 1), 'b');
            row.Symbol(" for ");
            row.Add(w.substr(differs, 1), 'b');
            Add(row, 10, 2);
        }
    }

    // Every sequence of `left` pieces covering [from, end) exactly, in table order.
    void Cover(int from, int end, int left, Builder row, int pieces, int type, const Piece* shell) {
        for (const Piece& p : pieces_) {
            if (p.start != from) continue;
            const int length =
                static_cast<int>(std::count(p.positions.begin(), p.positions.end(), '1'));
            const int stop = from + length;
            if (stop > end) continue;
            Builder next = row;
            if (!next.text.empty()) next.Symbol(" + ");
            AppendPiece(next, p.text);
            if (left == 1) {
                if (stop != end) continue;
                if (shell != nullptr) {
                    next.Symbol(" in ");
                    AppendPiece(next, shell->text);
                }
                Add(next, type, pieces);
            } else if (stop < end) {
                Cover(stop, end, left - 1, next, pieces, type, shell);
            }
        }
    }
    void Charades() {
        for (int c = 2; c <= maxPieces_; ++c)
            Cover(0, l_, c, {}, c, 8, nullptr);
    }
    void Containers() {
        for (int c = 2; c <= maxPieces_; ++c) {
            for (const Piece& s : shells_) {
                const int from = static_cast<int>(s.positions.find('0'));
                const int end = static_cast<int>(s.positions.find('1', from));
                Cover(from, end, c - 1, {}, c, 9, &s);
            }
        }
    }

    std::string LettersOutside(const std::string& positions) const {
        std::string out;
        for (int i = 0; i < l_; ++i) {
            if (positions[i] == '0') out += answer_[i];
        }
        return out;
    }
    static std::string Complement(std::string positions) {
        for (char& c : positions)
            c = c == '1' ? '0' : '1';
        return positions;
    }
    // Appends the fodder words of these letters not spelled by an entry of `table`
    // over `positions`; false when none is left.
    bool Fodder(Builder& row, const std::string& letters, const std::string& positions,
                const std::vector<Piece>& table) const {
        const auto found = fodder_.find(static_cast<int>(letters.size()));
        if (found == fodder_.end()) return false;
        bool any = false;
        for (const auto& [signature, word] : found->second) {
            if (signature != Signature(letters)) continue;
            const bool spelled = std::any_of(table.begin(), table.end(), [&](const Piece& p) {
                return p.positions == positions && p.text == word;
            });
            if (spelled) continue;
            if (any) row.Add("/", 's');
            row.Add(word, 'e');
            any = true;
        }
        if (any) row.Symbol("*");
        return any;
    }
    void ContainedAnagrams() {
        for (const Piece& s : shells_) {
            const std::string gap = LettersOutside(s.positions);
            if (gap.size() < 3) continue;
            Builder row;
            if (!Fodder(row, gap, Complement(s.positions), pieces_)) continue;
            row.Symbol(" in ");
            AppendPiece(row, s.text);
            Add(row, 11, 2);
        }
    }
    void PartialAnagrams() {
        for (const Piece& p : pieces_) {
            const std::string rest = LettersOutside(p.positions);
            const int r = static_cast<int>(rest.size());
            if (r <= 2 || r >= l_) continue;
            const bool atStart = p.positions.front() == '1';
            const bool atEnd = p.positions.back() == '1';
            if (r == l_ - 1 && !atStart && !atEnd &&
                answer_.find(answer_[p.start], 1) != static_cast<std::size_t>(p.start))
                continue;
            const std::string restPositions = Complement(p.positions);
            Builder row;
            if (atStart) {
                AppendPiece(row, p.text);
                row.Symbol(" + ");
                if (!Fodder(row, rest, restPositions, pieces_)) continue;
            } else if (atEnd) {
                if (!Fodder(row, rest, restPositions, pieces_)) continue;
                row.Symbol(" + ");
                AppendPiece(row, p.text);
            } else {
                AppendPiece(row, p.text);
                row.Symbol(" in ");
                if (!Fodder(row, rest, restPositions, shells_)) continue;
            }
            Add(row, 12, 2);
        }
    }

    static int Runs(const std::vector<bool>& removed) {
        int runs = 0;
        for (std::size_t i = 0; i < removed.size(); ++i)
            runs += removed[i] && (i == 0 || !removed[i - 1]) ? 1 : 0;
        return runs;
    }
    // Answer letter i onwards placed after position `after`; keeps the first
    // placement with the fewest left-over runs.
    void Subsequence(const std::string& w, int i, int after, std::vector<bool>& kept, int& best,
                     std::vector<bool>& bestKept) const {
        if (i == l_) {
            std::vector<bool> removed(kept.size());
            for (std::size_t j = 0; j < kept.size(); ++j)
                removed[j] = !kept[j];
            const int runs = Runs(removed);
            if (runs < best) {
                best = runs;
                bestKept = kept;
            }
            return;
        }
        for (int j = after + 1; j < static_cast<int>(w.size()); ++j) {
            if (w[j] != answer_[i]) continue;
            kept[j] = true;
            Subsequence(w, i + 1, j, kept, best, bestKept);
            kept[j] = false;
        }
    }
    // Each extra letter in turn on each free occurrence, left to right.
    void Place(const std::string& w, const std::string& extras, std::size_t e,
               std::vector<bool>& removed, int& best, std::vector<bool>& bestRemoved) const {
        if (e == extras.size()) {
            const int runs = Runs(removed);
            if (runs < best) {
                best = runs;
                bestRemoved = removed;
            }
            return;
        }
        for (std::size_t j = 0; j < w.size(); ++j) {
            if (w[j] != extras[e] || removed[j]) continue;
            removed[j] = true;
            Place(w, extras, e + 1, removed, best, bestRemoved);
            removed[j] = false;
        }
    }
    void LongerWords() {
        for (int len = l_ + 1; len <= 31 && len <= 2 * l_ + 1; ++len) {
            if (!(len < l_ + maxPieces_ || len >= 2 * l_)) continue;
            const int d = len - l_;
            for (const std::string& w : words_) {
                if (static_cast<int>(w.size()) != len) continue;
                std::string extras = w; // w's letters minus the answer's
                bool contains = true;
                for (const char c : answer_) {
                    const auto at = extras.find(c);
                    if (at == std::string::npos) {
                        contains = false;
                        break;
                    }
                    extras.erase(at, 1);
                }
                if (!contains) continue;
                std::sort(extras.begin(), extras.end());
                std::vector<bool> deleted(static_cast<std::size_t>(len));
                int type = -1, pieces = d + 1;
                if (d >= l_ - 1 && d <= l_ + 1) {
                    for (int start = len == 2 * l_ + 1 ? 1 : 0; start <= 1 && type < 0; ++start) {
                        bool fits = true;
                        for (int i = 0; i < l_; ++i)
                            fits = fits && start + 2 * i < len && w[start + 2 * i] == answer_[i];
                        if (!fits) continue;
                        for (int at = 1 - start; at < len; at += 2)
                            deleted[at] = true;
                        type = 7;
                        pieces = 2;
                    }
                }
                if (type < 0 && len < l_ + maxPieces_) {
                    const auto mark = [&](int a, int b) {
                        for (int i = a; i < b; ++i)
                            deleted[i] = true;
                    };
                    std::vector<bool> kept(static_cast<std::size_t>(len)), bestKept;
                    int best = 1 << 20;
                    Subsequence(w, 0, -1, kept, best, bestKept);
                    if (w.substr(0, l_) == answer_) {
                        type = 4;
                        mark(l_, len);
                    } else if (w.substr(d) == answer_) {
                        type = 2;
                        mark(0, d);
                    } else if (d % 2 == 0 && w.substr(d / 2, l_) == answer_) {
                        type = 5;
                        mark(0, d / 2);
                        mark(l_ + d / 2, len);
                    } else if (l_ % 2 == 0 && w.substr(0, l_ / 2) == answer_.substr(0, l_ / 2) &&
                               w.substr(len - l_ / 2) == answer_.substr(l_ / 2)) {
                        type = 3;
                        mark(l_ / 2, l_ / 2 + d);
                    } else if (!bestKept.empty()) {
                        type = 6;
                        for (int i = 0; i < len; ++i)
                            deleted[i] = !bestKept[i];
                    } else {
                        type = 13;
                        std::vector<bool> removed(static_cast<std::size_t>(len)), bestRemoved;
                        best = 1 << 20;
                        Place(w, extras, 0, removed, best, bestRemoved);
                        deleted = bestRemoved;
                    }
                }
                if (type < 0) continue;
                Builder row;
                for (int i = 0; i < len; ++i)
                    row.Add(w.substr(i, 1), deleted[i] ? 'E' : 'e');
                if (type == 13) row.Symbol("*");
                Add(row, type, pieces);
            }
        }
    }

    struct Group {
        int length;
        std::string signature;
        std::vector<std::string> words;
    };
    void Combine(const std::vector<Group>& groups, std::size_t from, int left,
                 std::string remaining, std::vector<const Group*>& chosen) {
        if (left == 0) {
            if (std::count(remaining.begin(), remaining.end(), '\0') !=
                static_cast<std::ptrdiff_t>(remaining.size()))
                return;
            Builder row;
            int score = 256, product = 1;
            for (std::size_t g = 0; g < chosen.size(); ++g) {
                if (g > 0) row.Add(" ", 's');
                for (std::size_t w = 0; w < chosen[g]->words.size(); ++w) {
                    if (w > 0) row.Add("/", 's');
                    row.Add(chosen[g]->words[w], 'e');
                }
                product *= chosen[g]->length;
                if (chosen[g]->length == 1) {
                    const char c = chosen[g]->words[0][0];
                    score -= c == 'a' ? 4 : c == 'i' ? 16 : 64;
                }
            }
            row.Symbol("*");
            Add(row, 14, static_cast<int>(chosen.size()), -product - score * 65536);
            return;
        }
        for (std::size_t g = from; g < groups.size(); ++g) {
            std::string rest = remaining;
            bool fits = true;
            for (std::size_t j = 0; j < rest.size(); ++j) {
                if (groups[g].signature[j] > rest[j]) fits = false;
                rest[j] = static_cast<char>(rest[j] - groups[g].signature[j]);
            }
            if (!fits) continue;
            chosen.push_back(&groups[g]);
            Combine(groups, g, left - 1, rest, chosen);
            chosen.pop_back();
        }
    }
    void MultipleAnagrams() {
        std::vector<Group> groups;
        for (int k = l_ - 1; k >= 1; --k) {
            for (const auto& [signature, word] : fodder_[k]) {
                if (groups.empty() || groups.back().length != k ||
                    groups.back().signature != signature)
                    groups.push_back({k, signature, {}});
                groups.back().words.push_back(word);
            }
        }
        std::vector<const Group*> chosen;
        for (int n = 2; n <= maxPieces_; ++n)
            Combine(groups, 0, n, Signature(answer_), chosen);
    }

    std::vector<std::string> words_;
    std::string answer_;
    int l_;
    int maxPieces_;
    AbbreviationSet abbreviations_;
    std::string distinct_;
    std::vector<Piece> pieces_, shells_;
    std::map<int, std::vector<std::pair<std::string, std::string>>> fodder_;
    std::vector<WordplayRow> rows_;
};

std::string RandomString(std::mt19937& random, const std::string& alphabet, int length) {
    std::string s;
    for (int i = 0; i < length; ++i)
        s += alphabet[random() % alphabet.size()];
    return s;
}

// Words built around the answer: pieces of it (straight and reversed), its letters
// shuffled, and the answer with letters put in, plus a few strangers.
std::vector<std::string> RandomWords(std::mt19937& random, const std::string& answer,
                                     const std::string& alphabet) {
    std::set<std::string> seen;
    std::vector<std::string> words;
    const auto add = [&](std::string w) {
        if (!w.empty() && w.size() <= 31 && seen.insert(w).second) words.push_back(std::move(w));
    };
    const int l = static_cast<int>(answer.size());
    for (int i = 0; i < 40; ++i) {
        const int a = static_cast<int>(random() % l);
        const int n = 1 + static_cast<int>(random() % (l - a));
        std::string piece = answer.substr(a, n);
        if (random() % 3 == 0) std::reverse(piece.begin(), piece.end());
        if (random() % 3 == 0) std::shuffle(piece.begin(), piece.end(), random);
        add(piece);
    }
    for (int i = 0; i < 30; ++i) {
        std::string w = answer;
        const int extra = 1 + static_cast<int>(random() % (l + 2));
        for (int e = 0; e < extra; ++e)
            w.insert(random() % (w.size() + 1), 1, alphabet[random() % alphabet.size()]);
        if (random() % 4 == 0) std::shuffle(w.begin(), w.end(), random);
        add(w);
    }
    for (int i = 0; i < 10; ++i)
        add(RandomString(random, alphabet, 1 + static_cast<int>(random() % (2 * l))));
    std::string shuffled = answer;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    add(shuffled);
    add(std::string(answer.rbegin(), answer.rend()));
    return words;
}

TEST(ReferenceSearch, AgreesOnRandomWordListsRowForRow) {
    std::mt19937 random(20240611);
    const std::string alphabet = "aeinrst";
    for (int trial = 0; trial < 400; ++trial) {
        const int l = 2 + static_cast<int>(random() % 12);
        const std::string answer = RandomString(random, alphabet.substr(0, 3 + trial % 5), l);
        const std::vector<std::string> words = RandomWords(random, answer, alphabet);
        const int maxPieces = 2 + static_cast<int>(random() % 4);
        const AbbreviationSet abbreviations = Abbreviations({"ae", "st", "nr"});
        SCOPED_TRACE("answer " + answer + " max " + std::to_string(maxPieces));

        // Every other trial splits the words over two dictionaries that share some;
        // each word must then be used once, where the first dictionary has it.
        std::string listName;
        std::vector<std::string> listed = words; // as the search meets them, repeats dropped
        if (trial % 2 == 0) {
            listName = WriteDictionary(words);
        } else {
            std::vector<std::string> first, second;
            for (std::size_t i = 0; i < words.size(); ++i) {
                const unsigned where = static_cast<unsigned>(random() % 3);
                if (where != 1) first.push_back(words[i]);
                if (where != 0) second.push_back(words[i]);
            }
            // The second list also repeats a few of the first's words in its own order.
            for (std::size_t i = 0; i < first.size(); i += 4)
                second.push_back(first[i]);
            listName = WriteDictionary(first) + ";" + WriteDictionary(second);
            listed = first;
            for (const std::string& w : second) {
                if (std::find(first.begin(), first.end(), w) == first.end()) listed.push_back(w);
            }
        }
        const std::vector<WordplayRow> fast =
            SearchRows(listName, answer, maxPieces, abbreviations);
        // Read straight from the files, the search finds the same rows in the same order.
        ASSERT_EQ(SearchRows(listName, answer, maxPieces, abbreviations,
                             WordplaySearch::Reading::Streaming),
                  fast);
        const auto plain = ReferenceSearch(listed, answer, maxPieces, abbreviations).Run();
        // Multiple anagrams may come in any order (their sequence is a score);
        // everything else must match row for row.
        std::vector<WordplayRow> fastRest, plainRest, fastMultiple, plainMultiple;
        for (const auto& row : fast)
            (row.type == WordplayType::MultipleAnagram ? fastMultiple : fastRest).push_back(row);
        for (const auto& row : plain)
            (row.type == WordplayType::MultipleAnagram ? plainMultiple : plainRest).push_back(row);
        const auto byText = [](const WordplayRow& a, const WordplayRow& b) {
            return a.text < b.text;
        };
        std::sort(fastMultiple.begin(), fastMultiple.end(), byText);
        std::sort(plainMultiple.begin(), plainMultiple.end(), byText);
        ASSERT_EQ(fastRest.size(), plainRest.size());
        for (std::size_t i = 0; i < fastRest.size(); ++i) {
            WordplayRow a = fastRest[i], b = plainRest[i];
            ASSERT_EQ(a, b) << "row " << i;
        }
        ASSERT_EQ(fastMultiple.size(), plainMultiple.size());
        for (std::size_t i = 0; i < fastMultiple.size(); ++i) {
            // Creation order differs from the reference's; compare all but that.
            ASSERT_EQ(fastMultiple[i], plainMultiple[i]);
        }
    }
}

} // namespace
