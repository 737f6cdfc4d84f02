// The search's shared machinery and the phases that work on pieces: collecting
// abbreviation and word pieces with their shells and the anagram fodder, then
// charades, containers, contained and partial anagrams.
#include "search/WordplaySearch.h"

#include "dictionary/MatchEngine.h"

#include <algorithm>
#include <bit>
#include <unordered_set>

std::string NormaliseAnswer(const OWDictionaryList& list, std::string_view typed) {
    std::string answer;
    if (list.Count() < 1) return answer;
    for (const char c : typed) {
        const std::uint8_t letter = list.LetterIndex(0, static_cast<unsigned char>(c));
        if (letter == OWDictionaryList::Dictionary::kNotALetter) continue;
        answer.push_back(static_cast<char>(list.LetterChar(0, letter)));
        if (answer.size() == WordplaySearch::kMaxAnswerLetters) break;
    }
    return answer;
}

const char* WordplaySearch::PhaseName(Phase phase) {
    switch (phase) {
    case Phase::AbbreviationPieces:
        return "abbreviation pieces";
    case Phase::WordPieces:
        return "word pieces and fodder";
    case Phase::SameLength:
        return "same-length words";
    case Phase::CharadesContainers:
        return "charades and containers";
    case Phase::ContainedPartial:
        return "contained and partial anagrams";
    case Phase::LongerWords:
        return "longer words";
    case Phase::MultipleAnagrams:
        return "multiple anagrams";
    }
    return "";
}

WordplaySearch::WordplaySearch(OWDictionaryList& list, const AbbreviationSet& abbreviations,
                               int maxPieces, Reading reading)
    : list_(list), abbreviations_(abbreviations), maxPieces_(maxPieces), reading_(reading) {
    distinctOf_.fill(-1);
}

void WordplaySearch::SetAnswer(std::string_view typed) {
    decoded_.clear();
    if (reading_ == Reading::Decoded)
        for (int index = 0; index < list_.Count(); ++index)
            decoded_.push_back(list_.Decoded(index));
    commonOnly_.assign(static_cast<std::size_t>(std::max(list_.Count(), 0)), 0);
    commonWordsUnmarked_ = false;
    if (commonWordsOnly_) {
        for (int index = 0; index < list_.Count(); ++index) {
            const bool marks = MarksCommonWords(list_, index, DecodedOf(index));
            commonOnly_[static_cast<std::size_t>(index)] = marks ? 1 : 0;
            commonWordsUnmarked_ = commonWordsUnmarked_ || !marks;
        }
    }
    answer_ = NormaliseAnswer(list_, typed);
    l_ = static_cast<int>(answer_.size());
    shortPieceLimit_ = l_ > 9 ? 3 : 2;
    rowsAdded_ = 0;
    truncated_ = false;
    sorted_ = false;
    pieces_.clear();
    shells_.clear();
    for (auto& table : fodder_)
        table.clear();
    groups_.clear();
    groupOf_.clear();

    distinct_.clear();
    distinctCount_.clear();
    distinctOf_.fill(-1);
    for (const char c : answer_) {
        int& slot = distinctOf_[static_cast<unsigned char>(c)];
        if (slot < 0) {
            slot = static_cast<int>(distinct_.size());
            distinct_.push_back(c);
            distinctCount_.push_back(0);
        }
        ++distinctCount_[slot];
    }

    // Packed counts, first distinct letter in the highest field (see the note in
    // the header). Only answers that can have pieces need them.
    unit_.assign(distinct_.size(), 0);
    guards_ = 0;
    whole_ = 0;
    if (!MultiPieceAnswer()) return;
    int offset = 0;
    for (int j = static_cast<int>(distinct_.size()) - 1; j >= 0; --j) {
        const int width = std::bit_width(static_cast<unsigned>(distinctCount_[j]));
        unit_[j] = std::uint64_t{1} << offset;
        guards_ |= std::uint64_t{1} << (offset + width);
        whole_ += unit_[j] * static_cast<unsigned>(distinctCount_[j]);
        offset += width + 1;
    }
}

std::uint64_t WordplaySearch::Signature(std::string_view letters) const {
    if (!MultiPieceAnswer()) return 0;
    std::array<int, kMaxMaskLetters + 1> used{};
    std::uint64_t signature = 0;
    for (const char c : letters) {
        const int j = distinctOf_[static_cast<unsigned char>(c)];
        if (j < 0 || ++used[j] > distinctCount_[j]) return 0;
        signature += unit_[j];
    }
    return signature;
}

const std::vector<WordplaySearch::Fodder>& WordplaySearch::FodderOfLength(int k) const {
    static const std::vector<Fodder> none;
    return k >= 0 && k <= kMaxMaskLetters ? fodder_[k] : none;
}

void WordplaySearch::Run(RowSink& sink) {
    for (int phase = 0; phase < kPhaseCount; ++phase)
        RunPhase(static_cast<Phase>(phase), sink);
}

void WordplaySearch::RunPhase(Phase phase, RowSink& sink) {
    // A one-letter answer has no wordplay of its own: every "finding" would be a
    // word with letters added or exchanged around a single letter.
    if (l_ < 2) return;
    sink_ = &sink;
    switch (phase) {
    case Phase::AbbreviationPieces:
        AbbreviationPieces();
        break;
    case Phase::WordPieces:
        WordPieces();
        SortTables();
        break;
    case Phase::SameLength:
        SameLengthWords();
        break;
    case Phase::CharadesContainers:
        CharadesAndContainers();
        break;
    case Phase::ContainedPartial:
        ContainedAndPartialAnagrams();
        break;
    case Phase::LongerWords:
        LongerWords();
        break;
    case Phase::MultipleAnagrams:
        MultipleAnagrams();
        break;
    }
    sink_ = nullptr;
}

void WordplaySearch::AddRow(const WordplayRowBuilder& row, std::int8_t type, std::int32_t pieces) {
    AddRow(row, type, pieces, static_cast<std::int32_t>(rowsAdded_));
}

void WordplaySearch::AddRow(const WordplayRowBuilder& row, std::int8_t type, std::int32_t pieces,
                            std::int32_t sequence) {
    sink_->AddRow(row.Build(type, pieces, sequence));
    ++rowsAdded_;
}

WordplaySearch::LetterTable WordplaySearch::LettersOf(int index) const {
    // Letters of every dictionary are compared as the first dictionary's canonical
    // characters, so a second list that spells its alphabet differently still meets
    // the answer. A letter the first dictionary lacks keeps its own character: it
    // cannot stand in the normalised answer, so it matches nothing there, yet rows
    // still show it and two words that differ only in such letters stay apart.
    LetterTable table{};
    for (int letter = 0; letter < 255; ++letter) {
        const unsigned char c = list_.LetterChar(index, static_cast<std::uint8_t>(letter));
        const std::uint8_t first = list_.LetterIndex(0, c);
        table[letter] =
            first == OWDictionaryList::Dictionary::kNotALetter ? c : list_.LetterChar(0, first);
    }
    return table;
}

bool WordplaySearch::CommonOnly(int index) const {
    const auto at = static_cast<std::size_t>(index);
    return at < commonOnly_.size() && commonOnly_[at] != 0;
}

DecodedDictionary* WordplaySearch::DecodedOf(int index) const {
    const auto at = static_cast<std::size_t>(index);
    return at < decoded_.size() ? decoded_[at].get() : nullptr;
}

std::uint32_t WordplaySearch::Run(int start, int length) const {
    if (length <= 0) return 0;
    const std::uint32_t bits = length >= 32 ? ~0u : (1u << length) - 1;
    return bits << start;
}

bool WordplaySearch::IsLetter(int index, unsigned char c) const {
    return list_.LetterIndex(index, c) != OWDictionaryList::Dictionary::kNotALetter;
}

void WordplaySearch::MarkPositions(WordplayRowBuilder& row, int index,
                                   std::uint32_t positions) const {
    // Whole runs at a time, so a blank or hyphen between two deleted letters is
    // deleted with them.
    while (positions != 0) {
        const int a = std::countr_zero(positions);
        const int n = std::countr_one(positions >> a);
        row.MarkDeleted(0, static_cast<std::size_t>(a), static_cast<std::size_t>(a + n),
                        [this, index](unsigned char c) { return IsLetter(index, c); });
        positions &= ~Run(a, n);
    }
}

// ---- Phases 1 and 2: pieces, shells and fodder -----------------------------

void WordplaySearch::AbbreviationPieces() {
    if (!MultiPieceAnswer()) return;
    for (const std::string& abbreviation : abbreviations_) {
        if (abbreviation.size() < static_cast<std::size_t>(l_))
            Locate(abbreviation, abbreviation, false);
    }
}

void WordplaySearch::WordPieces() {
    if (!MultiPieceAnswer()) return;
    const bool several = list_.Count() > 1;
    std::unordered_set<std::string> seen;
    std::string letters;
    std::string query;
    // Length 1 feeds only the fodder: every single letter is already an
    // abbreviation piece, but multiple anagrams may use one-letter words.
    for (int k = 1; k < l_; ++k) {
        seen.clear();
        query.assign(static_cast<std::size_t>(k), '.');
        query += ';';
        query += answer_;
        for (int index = 0; index < list_.Count(); ++index) {
            MatchEngine matcher;
            if (matcher.Compile(list_, index, query) != 0) continue;
            matcher.SetLength(k);
            const LetterTable table = LettersOf(index);
            const auto allLetters = [](std::uint32_t) { return true; };
            ReadEntries(
                list_, index, DecodedOf(index), k, &matcher, allLetters,
                [&](const std::uint8_t* key, const char* entryText) {
                    letters.clear();
                    for (int j = 0; j < k; ++j)
                        letters.push_back(static_cast<char>(table[key[j]]));
                    if (several && !seen.insert(letters).second) return;
                    const std::string text(entryText);
                    if (k >= 2) Locate(letters, text, true);
                    if (k <= shortPieceLimit_ || answer_.find(letters) == std::string::npos) {
                        const std::uint64_t signature = Signature(letters);
                        if (signature != 0) fodder_[k].push_back({signature, text});
                    }
                },
                CommonOnly(index));
        }
    }
}

void WordplaySearch::Locate(std::string_view letters, const std::string& text, bool word) {
    // A word that is also an abbreviation was entered as one already.
    const bool known = word && abbreviations_.count(letters) != 0;
    if (!known) AddOccurrences(letters, text);
    if (letters.size() < 2) return;
    std::string reversed(letters.rbegin(), letters.rend());
    const bool reversible = word && reversed != letters;
    if (reversible) AddOccurrences(reversed, text + "<");
    if (!known) AddShells(letters, text);
    if (reversible) AddShells(reversed, text + "<");
}

bool WordplaySearch::IsAbbreviation(const std::string& text) const {
    // A reversed word's "<" is no part of it.
    const std::string_view plain = !text.empty() && text.back() == '<'
                                       ? std::string_view(text).substr(0, text.size() - 1)
                                       : std::string_view(text);
    return abbreviations_.count(plain) != 0;
}

void WordplaySearch::AddOccurrences(std::string_view letters, const std::string& text) {
    if (letters.empty()) return;
    std::size_t at = answer_.find(letters);
    if (at == std::string::npos) return; // most words: no need to look the text up
    const bool abbreviation = IsAbbreviation(text);
    // Overlapping occurrences count: the search goes on one past each hit.
    for (; at != std::string::npos; at = answer_.find(letters, at + 1)) {
        Piece piece;
        piece.start = static_cast<std::uint8_t>(at);
        piece.length = static_cast<std::uint8_t>(letters.size());
        piece.mask = Run(static_cast<int>(at), static_cast<int>(letters.size()));
        piece.abbreviation = abbreviation;
        piece.text = text;
        pieces_.push_back(std::move(piece));
    }
}

void WordplaySearch::AddShells(std::string_view letters, const std::string& text) {
    const int p = static_cast<int>(letters.size());
    if (p < 2 || p >= l_) return;
    int common = 0;
    while (common < p - 1 && letters[common] == answer_[common])
        ++common;
    const std::string_view answer(answer_);
    int abbreviation = -1; // looked up at the first shell
    for (int head = common; head >= 1; --head) {
        const int tail = p - head;
        if (answer.substr(static_cast<std::size_t>(l_ - tail)) != letters.substr(head)) continue;
        if (abbreviation < 0) abbreviation = IsAbbreviation(text) ? 1 : 0;
        Piece shell;
        shell.start = 0;
        shell.length = static_cast<std::uint8_t>(p);
        shell.mask = Run(0, head) | Run(l_ - tail, tail);
        shell.abbreviation = abbreviation == 1;
        shell.text = text;
        shells_.push_back(std::move(shell));
    }
}

void WordplaySearch::SortTables() {
    if (!MultiPieceAnswer()) return;
    const auto byMask = [](const Piece& a, const Piece& b) { return a.mask < b.mask; };
    std::stable_sort(pieces_.begin(), pieces_.end(), byMask);
    std::stable_sort(shells_.begin(), shells_.end(), byMask);
    for (auto& table : fodder_) {
        std::stable_sort(table.begin(), table.end(), [](const Fodder& a, const Fodder& b) {
            return a.signature < b.signature;
        });
    }
    BuildReach();
    BuildGroups();
    sorted_ = true;
}

// ---- Phase 4: charades and containers --------------------------------------

void WordplaySearch::BuildReach() {
    for (auto& list : byStart_)
        list.clear();
    for (std::size_t i = 0; i < pieces_.size(); ++i)
        byStart_[pieces_[i].start].push_back(static_cast<std::uint32_t>(i));
    for (auto& row : reach_)
        row.fill(0);
    for (int end = 1; end <= l_; ++end) {
        reach_[end][end] = 1;
        for (int start = end - 1; start >= 0; --start) {
            std::uint32_t ways = 0;
            for (const std::uint32_t i : byStart_[start]) {
                const int stop = start + pieces_[i].length;
                if (stop <= end) ways |= reach_[end][stop] << 1;
            }
            reach_[end][start] = ways;
        }
    }
}

void WordplaySearch::CharadesAndContainers() {
    if (!MultiPieceAnswer() || !sorted_) return;
    const int most = static_cast<int>(std::min<long long>(maxPieces_, l_));
    kindRows_ = 0;
    stop_ = false;
    for (int c = 2; c <= most && !stop_; ++c) {
        builder_.Clear();
        if ((reach_[l_][0] >> c) & 1) Cover(0, l_, c, c, WordplayType::Charade, nullptr);
    }
    kindRows_ = 0;
    stop_ = false;
    for (int c = 2; c <= most && !stop_; ++c) {
        for (const Piece& shell : shells_) {
            const int head = std::countr_one(shell.mask);
            const int end = head + std::countr_zero(shell.mask >> head);
            if (end > l_ || !((reach_[end][head] >> (c - 1)) & 1)) continue;
            builder_.Clear();
            Cover(head, end, c - 1, c, WordplayType::Container, &shell);
            if (stop_) break;
        }
    }
}

void WordplaySearch::Cover(int from, int end, int left, std::int32_t pieces, std::int8_t type,
                           const Piece* shell) {
    const std::size_t mark = builder_.Size();
    for (const std::uint32_t i : byStart_[from]) {
        const Piece& piece = pieces_[i];
        const int stop = from + piece.length;
        if (stop > end || !((reach_[end][stop] >> (left - 1)) & 1)) continue;
        if (mark != 0) builder_.AppendSymbol(NotationSymbol::Charade);
        builder_.AppendPiece(piece.text, piece.abbreviation);
        if (left == 1) {
            if (shell != nullptr) {
                builder_.AppendSymbol(NotationSymbol::Container);
                builder_.AppendPiece(shell->text, shell->abbreviation);
            }
            AddRow(builder_, type, pieces);
            if (++kindRows_ >= kRowStop) {
                stop_ = true;
                truncated_ = true;
            }
        } else {
            Cover(stop, end, left - 1, pieces, type, shell);
        }
        builder_.Truncate(mark);
        if (stop_) return;
    }
}

// ---- Phase 5: contained and partial anagrams -------------------------------

void WordplaySearch::BuildGroups() {
    groups_.clear();
    groupBegin_.fill(0);
    groupEnd_.fill(0);
    for (int k = l_ - 1; k >= 1; --k) {
        groupBegin_[k] = groups_.size();
        const std::vector<Fodder>& table = fodder_[k];
        for (std::size_t i = 0; i < table.size();) {
            std::size_t j = i + 1;
            while (j < table.size() && table[j].signature == table[i].signature)
                ++j;
            groups_.push_back({table[i].signature, static_cast<std::uint32_t>(i),
                               static_cast<std::uint32_t>(j - i), static_cast<std::uint8_t>(k)});
            i = j;
        }
        groupEnd_[k] = groups_.size();
    }
    // At most half full, so a probe meets an empty slot soon.
    std::size_t slots = 16;
    groupShift_ = 60;
    while (slots < 2 * groups_.size()) {
        slots *= 2;
        --groupShift_;
    }
    groupOf_.assign(slots, 0);
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        std::size_t slot = GroupSlot(groups_[i].signature);
        while (groupOf_[slot] != 0)
            slot = (slot + 1) & (slots - 1);
        groupOf_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

std::size_t WordplaySearch::GroupSlot(std::uint64_t signature) const {
    return static_cast<std::size_t>((signature * 0x9E3779B97F4A7C15u) >> groupShift_);
}

const WordplaySearch::Group* WordplaySearch::FindGroup(int length, std::uint64_t signature) const {
    if (length < 1 || length > kMaxMaskLetters || groupOf_.empty()) return nullptr;
    const std::size_t last = groupOf_.size() - 1;
    for (std::size_t slot = GroupSlot(signature); groupOf_[slot] != 0; slot = (slot + 1) & last) {
        const Group& group = groups_[groupOf_[slot] - 1];
        if (group.signature == signature) return group.length == length ? &group : nullptr;
    }
    return nullptr;
}

bool WordplaySearch::SpelledBy(const std::vector<Piece>& table, std::uint32_t mask,
                               const std::string& word) {
    auto at = std::lower_bound(table.begin(), table.end(), mask,
                               [](const Piece& p, std::uint32_t m) { return p.mask < m; });
    for (; at != table.end() && at->mask == mask; ++at) {
        ++steps_;
        if (at->text == word) return true;
    }
    return false;
}

bool WordplaySearch::AppendFodder(WordplayRowBuilder& row, const Group& group, std::uint32_t mask,
                                  const std::vector<Piece>& spelled) {
    // A word that a piece over the same letters spells exactly is no anagram.
    bool any = false;
    const std::vector<Fodder>& table = fodder_[group.length];
    for (std::uint32_t i = 0; i < group.wordCount && steps_ <= kFodderBudget; ++i) {
        ++steps_;
        const std::string& word = table[group.firstWord + i].text;
        if (SpelledBy(spelled, mask, word)) continue;
        if (any) row.AppendSeparator("/");
        row.AppendWord(word);
        any = true;
    }
    if (any) row.AppendSymbol(NotationSymbol::Anagram);
    return any;
}

// Adds the row composed in builder_; false once the phase has done enough.
bool WordplaySearch::FodderRow(std::int8_t type) {
    AddRow(builder_, type, 2);
    if (++kindRows_ >= kRowStop || steps_ > kFodderBudget) {
        truncated_ = true;
        return false;
    }
    return true;
}

void WordplaySearch::ContainedAndPartialAnagrams() {
    if (!MultiPieceAnswer() || !sorted_) return;
    const std::uint32_t all = Run(0, l_);
    const auto signatureOf = [this](std::uint32_t mask) {
        std::uint64_t signature = 0;
        for (; mask != 0; mask &= mask - 1)
            signature += unit_[distinctOf_[static_cast<unsigned char>(
                answer_[static_cast<std::size_t>(std::countr_zero(mask))])]];
        return signature;
    };

    // Each kind stops after kRowStop rows of its own, and both after kFodderBudget
    // steps, like the enumerations.
    steps_ = 0;
    kindRows_ = 0;
    for (const Piece& shell : shells_) {
        if (steps_ > kFodderBudget) break;
        const std::uint32_t gap = all & ~shell.mask;
        const int g = std::popcount(gap);
        if (g < 3) continue;
        const Group* group = FindGroup(g, signatureOf(gap));
        if (group == nullptr) continue;
        builder_.Clear();
        if (!AppendFodder(builder_, *group, gap, pieces_)) continue;
        builder_.AppendSymbol(NotationSymbol::Container);
        builder_.AppendPiece(shell.text, shell.abbreviation);
        if (!FodderRow(WordplayType::ContainedAnagram)) break;
    }

    kindRows_ = 0;
    for (const Piece& piece : pieces_) {
        if (steps_ > kFodderBudget) break;
        const int r = l_ - piece.length;
        if (r <= 2 || r >= l_) continue;
        const std::uint32_t rest = all & ~piece.mask;
        const bool atStart = (piece.mask & 1u) != 0;
        const bool atEnd = (piece.mask & (1u << (l_ - 1))) != 0;
        const bool inside = !atStart && !atEnd;
        if (piece.length == 1 && inside &&
            answer_.find(answer_[piece.start], 1) != static_cast<std::size_t>(piece.start))
            continue;
        const Group* group = FindGroup(r, signatureOf(rest));
        if (group == nullptr) continue;
        builder_.Clear();
        if (atStart) {
            builder_.AppendPiece(piece.text, piece.abbreviation);
            builder_.AppendSymbol(NotationSymbol::Charade);
            if (!AppendFodder(builder_, *group, rest, pieces_)) continue;
        } else if (atEnd) {
            if (!AppendFodder(builder_, *group, rest, pieces_)) continue;
            builder_.AppendSymbol(NotationSymbol::Charade);
            builder_.AppendPiece(piece.text, piece.abbreviation);
        } else {
            builder_.AppendPiece(piece.text, piece.abbreviation);
            builder_.AppendSymbol(NotationSymbol::Container);
            if (!AppendFodder(builder_, *group, rest, shells_)) continue;
        }
        if (!FodderRow(WordplayType::PartialAnagram)) break;
    }
}
