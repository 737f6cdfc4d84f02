#include "dictionary/MatchEngine.h"

#include <algorithm>
#include <cstring>

#include "dictionary/InputEngine.h"
#include "dictionary/OWDictionaryList.h"

// Design: a query is a positional part (one item per key letter) and a letter
// pool. Accepting an entry takes its key letters that the positional part
// leaves open out of a working copy of the pool; a letter the pool lacks costs
// one "." of the pool. The letters taken are put back afterwards, so each
// entry costs two passes over at most 31 key bytes and never touches the
// 256-entry pool as a whole.

MatchEngine::MatchEngine() {
    Reset();
}

void MatchEngine::Reset() {
    pattern_ = Pattern{};
    std::memset(work_, 0, sizeof work_);
    list_ = nullptr;
    index_ = 0;
    status_ = kNotCompiled;
    minLength_ = maxLength_ = 0;
    length_ = extraLength_ = 0;
    mayHave_ = ~std::uint32_t{0};
    mustHave_ = 0;
    lastKeyLength_ = 0;
}

int MatchEngine::Compile(OWDictionaryList& list, int index, std::string_view query) {
    Reset();
    list_ = &list;
    index_ = index;
    if (index < 0 || index >= list.Count()) return status_ = kBadList;

    Pattern& p = pattern_;
    bool inPool = false;
    int poolItems = 0;
    for (char ch : query) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == ';') {
            if (inPool) return status_ = kBadCharacter;
            inPool = true;
            p.hasPool = true;
            continue;
        }
        std::uint8_t letter = Pattern::kAny;
        if (c != '.') {
            letter = list.LetterIndex(index, c);
            if (letter == OWDictionaryList::Dictionary::kNotALetter) return status_ = kBadCharacter;
            ++p.queryLetters[letter];
        }
        if (!inPool) {
            if (p.positionCount == Pattern::kMaxItems) {
                p.acceptsNothing = true;
                continue;
            }
            p.positions[p.positionCount++] = letter;
        } else {
            if (++poolItems > Pattern::kMaxItems) p.acceptsNothing = true;
            if (letter == Pattern::kAny) {
                ++p.poolWildcards;
            } else {
                ++p.pool[letter];
                ++p.poolLetters;
            }
        }
    }
    if (p.acceptsNothing) return status_ = kTooLong;
    minLength_ = p.positionCount > 0 ? p.positionCount : p.poolLetters + p.poolWildcards;
    maxLength_ = std::min(minLength_, 32);

    // Letters fixed by position are in every accepted key. The key letters
    // left open are matched against the pool: with no wildcards they can only
    // be pool letters, and when there are exactly as many open places as pool
    // items, every pool letter must be among them.
    std::uint32_t positional = 0;
    int open = p.positionCount > 0 ? 0 : minLength_;
    for (int i = 0; i < p.positionCount; ++i) {
        if (p.positions[i] == Pattern::kAny)
            ++open;
        else
            positional |= LetterBit(p.positions[i]);
    }
    std::uint32_t pool = 0;
    for (int letter = 0; letter < 256; ++letter)
        if (p.pool[letter] > 0) pool |= LetterBit(static_cast<std::uint8_t>(letter));
    const bool anyLetter = p.hasPool ? p.poolWildcards > 0 : open > 0;
    mayHave_ = anyLetter ? ~std::uint32_t{0} : positional | pool;
    mustHave_ = positional;
    if (p.hasPool && open == p.poolLetters + p.poolWildcards) mustHave_ |= pool;
    std::memcpy(work_, p.pool, sizeof work_);
    status_ = kCompiled;
    SetLength(minLength_);
    return status_;
}

void MatchEngine::SetLength(int n) {
    length_ = n;
    extraLength_ = n - minLength_;
}

bool MatchEngine::Accept(const std::uint8_t* record) {
    if (status_ != kCompiled) return false;
    const int n = length_;
    if (n < minLength_ || n > maxLength_ || n <= 0 || n >= owrecord::kKeySize) return false;
    const Pattern& p = pattern_;
    if (p.positionCount > 0) {
        for (int i = 0; i < n; ++i)
            if (p.positions[i] != Pattern::kAny && p.positions[i] != record[i]) return false;
    }
    if (p.hasPool) {
        int outside = 0;
        for (int i = 0; i < n; ++i) {
            if (p.positionCount > 0 && p.positions[i] != Pattern::kAny) continue;
            if (--work_[record[i]] < 0) ++outside;
        }
        for (int i = 0; i < n; ++i) {
            if (p.positionCount > 0 && p.positions[i] != Pattern::kAny) continue;
            ++work_[record[i]];
        }
        if (outside > p.poolWildcards) return false;
    }
    std::memcpy(lastKey_, record, static_cast<std::size_t>(n));
    lastKeyLength_ = n;
    return true;
}

void MatchEngine::LetterDifference(std::string& text) const {
    if (status_ != kCompiled || !list_) return;
    std::int16_t have[256] = {};
    for (int i = 0; i < lastKeyLength_; ++i)
        ++have[lastKey_[i]];
    std::string shortText, overText;
    for (int letter = 0; letter < 255; ++letter) {
        int diff = have[letter] - pattern_.queryLetters[letter];
        char c = static_cast<char>(list_->LetterChar(index_, static_cast<std::uint8_t>(letter)));
        if (diff < 0) shortText.append(static_cast<std::size_t>(-diff), c);
        if (diff > 0) overText.append(static_cast<std::size_t>(diff), c);
    }
    if (!shortText.empty()) text += "-" + shortText;
    if (!overText.empty()) text += "+" + overText;
}
