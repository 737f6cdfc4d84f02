// Hidden words: the answer standing in the joined letters of two or three
// neighbouring words, as CARPET does in "oscar petulant".
//
// Design. A phrase hides the answer T when T = s + m + p: s a tail of the
// first word (which keeps at least one letter before it), m nothing or one
// whole word, p a head of the last word (which keeps at least one letter
// after it). So the answer crosses a word boundary and never stands as a
// whole word of its own. Reading T backwards gives the reversed hidden words.
// For each split of T the phrases are
//     (words ending in s) x (words equal to m) x (words beginning with p)
// and each factor is one range of one of two sorted arrays of word ids:
//     heads   ordered by the word's letters: the words beginning with p are
//             one range, and the words equal to p lead it
//     tails   ordered by the word's letters read backwards: the words ending
//             in s are one range
// Counting the phrases is thus a product of range sizes per split; only
// listing them costs time.
//
// Ranking. Rows come best first: fewer words not marked common (the
// dictionary's flag bit), then fewer letters, then fewer words, then the text.
// A short fragment hides the answer in millions of phrases, so only the best
// rowLimit rows are kept, in a max-heap whose top is the worst row kept. Each
// range is sorted once per search by (common, letters), and the walks over a
// split's ranges stop as soon as nothing further along can beat that worst
// row; walks are taken in order of how many uncommon words they hold, so once
// the heap is full of phrases of common words the rest end at their first
// step. A walk allocates nothing but the rows it keeps. Past stepBudget
// candidate tests in all, the search ends with the rows it has and says so.
//
// Words. Entries holding a blank are phrases of their own, and entries
// written wholly in capitals are abbreviations ("QQ", "XL", "X"), that no
// clue can hide letters in; neither takes part. The rest are kept once per
// spelling whatever their capitals ("pet" and "Pet" give one row): the marked
// form is preferred, then the one with the fewest capitals. A word counts as common when its
// entry's flag bit is 1; a dictionary with no marks, or with every entry marked, says nothing about
// commonness, and then the ranking starts at the letters.
#pragma once

#include "dictionary/OWDictionaryList.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct HiddenWordRow {
    // The phrase with the hidden letters in capitals between brackets, as in
    // "os[CAR PET]ulant"; a reversed run ends in "<".
    std::string text;
    std::uint8_t words = 0;   // 2 or 3
    std::uint8_t common = 0;  // of them marked common
    std::uint8_t letters = 0; // letters of the whole phrase
    bool reversed = false;

    friend bool operator==(const HiddenWordRow&, const HiddenWordRow&) = default;
};

struct HiddenWordList {
    std::vector<HiddenWordRow> rows; // best first
    // Every phrase that hides the answer; more than rows.size() when the list
    // was cut to its limit.
    std::uint64_t phrases = 0;
    // The walks ran out of steps: rows holds the best of the phrases seen.
    bool stepsRanOut = false;
    // The dictionary marks some words common and not others.
    bool commonMarks = false;

    bool Cut() const { return stepsRanOut || rows.size() < phrases; }
};

// The list as table cells, best first: the phrase, its number of words and
// how many of them are common (empty when the dictionary marks none).
std::vector<std::vector<std::string>> HiddenWordCells(const HiddenWordList& list);

class HiddenWordIndex {
public:
    static constexpr std::size_t kRowLimit = 200;
    static constexpr std::uint64_t kStepBudget = 5'000'000;
    // Three words of at most 31 letters, each keeping one letter outside.
    static constexpr std::size_t kMaxAnswerLetters = 3 * 31 - 2;

    // Reads every word of every dictionary of the list (the first group of
    // each length section, as the search does).
    explicit HiddenWordIndex(OWDictionaryList& list);
    HiddenWordIndex(const HiddenWordIndex&) = delete;
    HiddenWordIndex& operator=(const HiddenWordIndex&) = delete;

    // Words kept (one per spelling) and those of them marked common.
    std::size_t Words() const { return heads_.size(); }
    std::size_t CommonWords() const { return commonWords_; }
    bool HasCommonMarks() const { return commonWords_ > 0 && commonWords_ < heads_.size(); }

    // The hidden words for answer letters in the first dictionary's canonical
    // characters (NormaliseAnswer). Fewer than two letters hide nothing.
    HiddenWordList Find(std::string_view answer, std::size_t rowLimit = kRowLimit,
                        std::uint64_t stepBudget = kStepBudget) const;

private:
    struct Word {
        std::uint32_t text;     // into arena_: the entry text
        std::uint32_t key;      // into arena_: the letters, canonical characters
        std::uint32_t reversed; // into arena_: the letters read backwards
        std::uint16_t textLength;
        std::uint8_t letters;
        std::uint8_t common;
        std::uint8_t capitals;
        std::uint8_t dictionary;
    };
    class Search;

    std::string_view Text(const Word& w) const { return {arena_.data() + w.text, w.textLength}; }
    std::string_view Key(const Word& w) const { return {arena_.data() + w.key, w.letters}; }
    std::string_view Reversed(const Word& w) const {
        return {arena_.data() + w.reversed, w.letters};
    }
    void Add(int dictionary, std::string_view text, std::string_view key, bool common);
    void DropRepeatedSpellings();

    std::string arena_;
    std::vector<Word> words_;
    std::vector<std::uint32_t> heads_; // word ids by letters
    std::vector<std::uint32_t> tails_; // word ids by letters read backwards
    std::size_t commonWords_ = 0;
    // Per dictionary: whether a byte of an entry text is one of its letters.
    std::vector<std::array<bool, 256>> isLetter_;
};
