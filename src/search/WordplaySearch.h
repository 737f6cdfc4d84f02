// The wordplay search for one answer.
//
// Design. The answer is reduced to its letters (the first dictionary's canonical
// characters) and the phases run in a fixed order, each adding rows as it finds
// them:
//   1. abbreviation pieces    every abbreviation shorter than the answer that stands
//                             in it (and its head/tail splits, the "shells")
//   2. word pieces, fodder    words of 1 .. l-1 letters made from the answer's
//                             letters: pieces where they (or their reversals) stand
//                             in the answer, anagram fodder where they do not
//   3. same-length words      Reversal, Anagram, Substitution
//   4. charades, containers   covers of the answer by 2 .. MaxPieces pieces
//   5. contained, partial     an anagram inside a shell, or beside/around a piece
//   6. longer words           Alternation, the deletions, Augmented Anagram
//   7. multiple anagrams      multisets of fodder groups that spell the answer
// Phases 2, 3 and 6 read each dictionary one length section at a time, in the
// section's order, filtered by MatchEngine (ReadEntries). A search that is one
// of many reads the decoded forms (DecodedDictionary: decoded on first use and
// kept while the file is unchanged), passing over most entries on a test of
// the letters they hold; a lone search in a process that ends after it reads
// straight from the file, which costs no more than the sections it needs. Both
// give the same entries in the same order, so the rows do not depend on it.
// The decoded forms are taken when the answer is set, so a search keeps its
// words whatever the reload check does meanwhile. Searches on several threads
// share the decoded forms read-only; every table below belongs to one search.
//
// Common words only. A dictionary may mark its common words with the entries'
// flag bits; asked for common words only, phases 2, 3 and 6 pass over every
// entry not marked, so no row leans on a word a solver would not know. The
// abbreviations are not dictionary entries and stay as they are. A dictionary
// that marks nothing is read whole, as if the request had not been made, and
// CommonWordsUnmarked says so.
//
// Positions in the answer are bits of one 32-bit mask, so a piece is a run of
// bits and covering tests are an AND and a compare. Answers of more than 31
// letters therefore have no pieces; they have no same-length or longer words
// either (no dictionary section holds more than 31 letters).
//
// Letter counts are packed into one 64-bit word: each distinct answer letter gets
// a field just wide enough for its count in the answer plus a guard bit above it.
// With the guard bits set, subtracting a word's packed counts leaves every guard
// bit standing exactly when the word fits in the remaining letters. Fields for
// 31 letters, all distinct, take 62 bits. The first distinct letter sits in the
// highest field, so the packed value orders like the byte-string signature.
//
// Bounds. Charades and containers are enumerated only along covers that can be
// completed (a reachability table per end position), so every step leads to a
// row; each of the two stops after kRowStop rows of its own. Multiple anagrams
// stop when the result list holds kRowStop rows, and after kStepBudget candidate
// tests, since dead ends there cost time without rows. Contained and partial
// anagrams stop after kRowStop rows of each kind or kFodderBudget steps, and the
// augmented anagrams share kPlacementTotal placement trials; only dictionaries
// with vast numbers of entries over the same letters come near these. Whatever
// MaxPieces says, no enumeration goes deeper than the answer has letters.
#pragma once

#include "dictionary/DecodedDictionary.h"
#include "dictionary/OWDictionaryList.h"
#include "results/AbbreviationSet.h"
#include "results/RowBuilder.h"
#include "search/SearchHost.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The answer's letters in the first dictionary's canonical characters: every
// character that is a letter of that alphabet, folded to its canonical form; all
// others dropped. At most kMaxAnswerLetters letters. Empty for a list without
// dictionaries.
std::string NormaliseAnswer(const OWDictionaryList& list, std::string_view typed);

class WordplaySearch {
public:
    static constexpr std::size_t kMaxAnswerLetters = 999;
    static constexpr int kMaxMaskLetters = 31;
    // Rows after which a combinatorial enumeration ends.
    static constexpr std::size_t kRowStop = 10000;
    // Candidate tests after which the multiple-anagram enumeration ends.
    static constexpr std::uint64_t kStepBudget = 40'000'000;
    // Placements tried per word when choosing the letters an augmented anagram drops,
    // and for all words of a search together; past the latter each word keeps the
    // first placement that fits.
    static constexpr std::uint32_t kPlacementBudget = 200'000;
    static constexpr std::uint64_t kPlacementTotal = 20'000'000;
    // Fodder words and piece comparisons after which the contained and partial
    // anagrams end (only a list with huge numbers of same-letter entries gets there).
    static constexpr std::uint64_t kFodderBudget = 20'000'000;

    enum class Phase {
        AbbreviationPieces,
        WordPieces,
        SameLength,
        CharadesContainers,
        ContainedPartial,
        LongerWords,
        MultipleAnagrams,
    };
    static constexpr int kPhaseCount = 7;
    static const char* PhaseName(Phase phase);

    struct Piece {
        std::uint32_t mask = 0;
        std::uint8_t start = 0;  // first position covered
        std::uint8_t length = 0; // letters covered (for a shell: head + tail)
        bool abbreviation = false;
        std::string text; // with "<" for a reversed word
    };
    struct Fodder {
        std::uint64_t signature = 0; // packed letter counts
        std::string text;
    };

    // Where the phases take the dictionaries' words from (see above).
    enum class Reading { Decoded, Streaming };

    WordplaySearch(OWDictionaryList& list, const AbbreviationSet& abbreviations, int maxPieces,
                   Reading reading = Reading::Decoded);
    WordplaySearch(const WordplaySearch&) = delete;
    WordplaySearch& operator=(const WordplaySearch&) = delete;

    // Reads only the entries marked common from the dictionaries that mark
    // any; takes effect at the next SetAnswer.
    void SetCommonWordsOnly(bool on) { commonWordsOnly_ = on; }
    // Common words only was asked for, and a dictionary of the list marks none.
    bool CommonWordsUnmarked() const { return commonWordsUnmarked_; }

    // Normalises the answer and forgets the tables of any earlier answer.
    void SetAnswer(std::string_view typed);
    const std::string& Answer() const { return answer_; }

    // Runs one phase; the phases build on each other and must run in order.
    void RunPhase(Phase phase, RowSink& sink);
    // Runs every phase in order.
    void Run(RowSink& sink);

    // Rows added since SetAnswer.
    std::size_t RowsAdded() const { return rowsAdded_; }
    // Whether an enumeration stopped early at a bound (rows or steps).
    bool Truncated() const { return truncated_; }

    // The tables, in their final order once the pieces and fodder are collected.
    const std::vector<Piece>& Pieces() const { return pieces_; }
    const std::vector<Piece>& Shells() const { return shells_; }
    const std::vector<Fodder>& FodderOfLength(int k) const;
    // The packed signature of a string of canonical letters (0 when a letter is
    // not in the answer or occurs too often).
    std::uint64_t Signature(std::string_view letters) const;

private:
    struct Group {
        std::uint64_t signature;
        std::uint32_t firstWord; // into fodder_[length]
        std::uint32_t wordCount;
        std::uint8_t length;
    };
    // A group that a level of the multiple-anagram enumeration may still take.
    struct Candidate {
        std::uint64_t signature;
        std::uint32_t group; // into groups_
        std::uint32_t length;
    };
    // Per dictionary: the answer's canonical character for each letter index.
    using LetterTable = std::array<unsigned char, 256>;

    void AddRow(const WordplayRowBuilder& row, std::int8_t type, std::int32_t pieces);
    void AddRow(const WordplayRowBuilder& row, std::int8_t type, std::int32_t pieces,
                std::int32_t sequence);
    bool MultiPieceAnswer() const { return l_ >= 2 && l_ <= kMaxMaskLetters; }
    LetterTable LettersOf(int index) const;
    // The decoded form phases read dictionary `index` from; nullptr when they
    // read the file.
    DecodedDictionary* DecodedOf(int index) const;
    // Whether the phases take only the marked entries of dictionary `index`.
    bool CommonOnly(int index) const;
    std::uint32_t Run(int start, int length) const;
    bool IsLetter(int index, unsigned char c) const;
    void MarkPositions(WordplayRowBuilder& row, int index, std::uint32_t positions) const;

    // Phase 1 and 2.
    void AbbreviationPieces();
    void WordPieces();
    void Locate(std::string_view letters, const std::string& text, bool word);
    bool IsAbbreviation(const std::string& text) const;
    void AddOccurrences(std::string_view letters, const std::string& text);
    void AddShells(std::string_view letters, const std::string& text);
    void SortTables();

    // Phase 3.
    void SameLengthWords();
    void SameLengthWord(std::string_view word, const char* text, bool several,
                        std::unordered_set<std::string>& seen, std::vector<int>& counts);

    // Phase 4.
    void CharadesAndContainers();
    void BuildReach();
    void Cover(int from, int end, int left, std::int32_t pieces, std::int8_t type,
               const Piece* shell);

    // Phase 5.
    void ContainedAndPartialAnagrams();
    std::size_t GroupSlot(std::uint64_t signature) const;
    const Group* FindGroup(int length, std::uint64_t signature) const;
    bool SpelledBy(const std::vector<Piece>& table, std::uint32_t mask, const std::string& word);
    bool AppendFodder(WordplayRowBuilder& row, const Group& group, std::uint32_t mask,
                      const std::vector<Piece>& spelled);
    bool FodderRow(std::int8_t type);

    // Phase 6.
    void LongerWords();
    void TryLongerWord(int index, const LetterTable& letters, const std::uint8_t* key,
                       const char* text, int len);
    std::uint32_t DeletionPositions(std::string_view word) const;
    std::uint32_t AugmentedPositions(int index, const std::uint8_t* key, int len);

    // Phase 7.
    void MultipleAnagrams();
    void BuildGroups();
    bool Choose(int depth, int left, int remaining, std::uint64_t rest, std::size_t from);
    bool ChoosePair(int depth, int remaining, std::uint64_t rest, const Candidate* list,
                    std::size_t size);
    void JoinGroup(std::uint32_t group);
    void EmitMultiple(int count);

    OWDictionaryList& list_;
    const AbbreviationSet& abbreviations_;
    int maxPieces_;
    Reading reading_;
    RowSink* sink_ = nullptr;
    std::vector<std::shared_ptr<DecodedDictionary>> decoded_; // per dictionary of the list
    bool commonWordsOnly_ = false;
    bool commonWordsUnmarked_ = false;
    std::vector<char> commonOnly_; // per dictionary of the list

    std::string answer_;
    int l_ = 0;
    int shortPieceLimit_ = 2;
    std::string distinct_;              // distinct letters, in order of first occurrence
    std::array<int, 256> distinctOf_{}; // canonical character -> index in distinct_, -1
    std::vector<int> distinctCount_;
    std::vector<std::uint64_t> unit_; // packed 1 for each distinct letter
    std::uint64_t guards_ = 0;        // every guard bit
    std::uint64_t whole_ = 0;         // packed counts of the whole answer

    std::size_t rowsAdded_ = 0;
    bool truncated_ = false;
    bool sorted_ = false;

    std::vector<Piece> pieces_;
    std::vector<Piece> shells_;
    std::array<std::vector<Fodder>, kMaxMaskLetters + 1> fodder_;

    // Phase 4: pieces by start position, reach_[end][start] = bit k set when
    // [start, end) can be covered by exactly k pieces.
    std::array<std::vector<std::uint32_t>, kMaxMaskLetters + 1> byStart_;
    std::array<std::array<std::uint32_t, kMaxMaskLetters + 1>, kMaxMaskLetters + 1> reach_{};
    std::size_t kindRows_ = 0;
    WordplayRowBuilder builder_;

    // Phase 5 and 7: fodder grouped by signature, longest length first, and
    // an open hash table from signature to group (the signature's counts add
    // up to the length, so one table serves every length).
    std::vector<Group> groups_;
    std::array<std::size_t, kMaxMaskLetters + 1> groupBegin_{}; // groups of length k:
    std::array<std::size_t, kMaxMaskLetters + 1> groupEnd_{};   // [groupBegin_[k], groupEnd_[k])
    std::vector<std::uint32_t> groupOf_; // group number + 1; 0 for an empty slot
    int groupShift_ = 64;                // 64 - log2 of groupOf_.size()
    // Phase 7 working state, sized once per phase.
    std::vector<Candidate> candidates_; // one list of up to groups_.size() per level
    std::vector<std::size_t> listSize_;
    // Each group's words joined by "/", text and style side by side in two
    // buffers, made on the group's first use and followed by kSpare bytes, so
    // that a row is put together eight bytes at a time in rowText_ and rowStyle_
    // (each with kSpare bytes beyond the longest row) and then copied whole.
    static constexpr std::size_t kSpare = 8;
    static constexpr std::uint32_t kNotJoined = 0xFFFFFFFF;
    std::string groupText_;
    std::string groupStyle_;
    std::vector<std::uint32_t> groupAt_;   // where a group's words start; kNotJoined before
    std::vector<std::uint32_t> groupSize_; // their length
    std::string rowText_;
    std::string rowStyle_;
    std::vector<std::uint8_t> groupCost_; // what a group takes off a row's score
    std::array<std::uint32_t, kMaxMaskLetters + 1> chosen_{};
    std::uint64_t steps_ = 0; // candidate tests, fodder words or placements of a phase
    bool stop_ = false;
};

// The whole search as a user starts it: the dictionary check, then the host's
// start, the phases and the host's finish.
void RunWordplaySearch(SearchHost& host, OWDictionaryList& list,
                       const AbbreviationSet& abbreviations, int maxPieces,
                       const std::string& typedAnswer, bool commonWordsOnly = false);
