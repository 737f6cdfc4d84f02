// Decides, entry by entry, whether a dictionary entry fits a query.
//
// Query text, letters written as the dictionary's characters:
//   positional part, then optionally ";" and a letter pool.
//   positional part: one item per key letter, a letter or "." for any letter.
//   pool: letters and "." wildcards; every letter of the key not matched by
//         the positional part's letters must be found in the pool, and at most
//         as many of them may fall outside the pool's letters as it has ".".
// Lengths: a positional part fixes the length; without one the length is the
// pool size. So "..;CAT" reads two-letter keys made from C, A, T, and ";CAT.."
// reads five-letter keys that hold C, A and T.
// A part longer than 50 items compiles to a query that accepts nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class OWDictionaryList;

// The letters an entry holds as one 32-bit set: bit i for letter index i, and
// bit 31 for every index from 31 up (letters of a large alphabet share it, so
// the set can only tell that some such letter is there).
inline std::uint32_t LetterBit(std::uint8_t letter) {
    return std::uint32_t{1} << (letter < 31 ? letter : 31);
}

// The compiled form of a query.
struct Pattern {
    static constexpr int kMaxItems = 50;
    // Positional part: a letter index per position, kAny for ".".
    static constexpr std::uint8_t kAny = 254;
    std::uint8_t positions[kMaxItems] = {};
    int positionCount = 0;
    bool hasPool = false;
    int poolWildcards = 0;
    int poolLetters = 0;
    // Letters of the pool counted by letter index.
    std::int16_t pool[256] = {};
    // Literal letters of the whole query, for the letter difference.
    std::int16_t queryLetters[256] = {};
    bool acceptsNothing = false;
};

class MatchEngine {
public:
    enum Status { kCompiled = 0, kNotCompiled = 1, kTooLong = 2, kBadCharacter = 3, kBadList = 4 };

    MatchEngine();
    MatchEngine(const MatchEngine&) = delete;
    MatchEngine& operator=(const MatchEngine&) = delete;

    void Reset();
    // Compiles for the letters of dictionary `index` of the list; 0 = compiled.
    int Compile(OWDictionaryList& list, int index, std::string_view query);
    int Status() const { return status_; }
    void SetLength(int n);
    bool Accept(const std::uint8_t* record);
    // A quick test on the set of letters an entry holds (see LetterBit): false
    // only for entries that Accept refuses, so most of a section is passed
    // over without looking at its keys.
    bool MayAccept(std::uint32_t letters) const {
        return (letters & ~mayHave_) == 0 && (mustHave_ & ~letters) == 0;
    }
    std::uint32_t MayHave() const { return mayHave_; }
    std::uint32_t MustHave() const { return mustHave_; }
    // After an accepted entry: appends "-" and the query letters the entry
    // lacks, then "+" and the entry's letters beyond the query's, each group
    // in letter order, as the dictionary's characters.
    void LetterDifference(std::string& text) const;
    int MinLength() const { return minLength_; }
    int MaxLength() const { return maxLength_; }

private:
    Pattern pattern_;
    OWDictionaryList* list_ = nullptr;
    int index_ = 0;
    int status_ = kNotCompiled;
    int minLength_ = 0;
    int maxLength_ = 0;
    int length_ = 0;
    int extraLength_ = 0;
    // Letters an accepted entry may hold (all when any letter may stand
    // somewhere) and letters every accepted entry holds.
    std::uint32_t mayHave_ = ~std::uint32_t{0};
    std::uint32_t mustHave_ = 0;
    // The key of the last accepted entry, for the letter difference.
    std::uint8_t lastKey_[51] = {};
    int lastKeyLength_ = 0;
    // Working copy of the pool, restored after every entry.
    std::int16_t work_[256] = {};
};
