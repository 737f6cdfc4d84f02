#include "search/ListAbbreviations.h"

#include <cstdint>

AbbreviationSet LoadListAbbreviations(const OWDictionaryList& list, const std::string& path) {
    if (list.Count() < 1) return {};
    constexpr std::uint8_t kNotALetter = OWDictionaryList::Dictionary::kNotALetter;
    // A letter index whose character does not map back to it (the "!" a file
    // leaves for an index no code names) is no letter a user can type.
    std::string alphabet;
    for (int letter = 0; letter < list.LetterCount(0) && letter < kNotALetter; ++letter) {
        const unsigned char c = list.LetterChar(0, static_cast<std::uint8_t>(letter));
        if (list.LetterIndex(0, c) == letter) alphabet.push_back(static_cast<char>(c));
    }
    return LoadAbbreviationSetFromFile(path, alphabet, [&list](unsigned char c) -> char {
        const std::uint8_t letter = list.LetterIndex(0, c);
        return letter == kNotALetter ? '\0' : static_cast<char>(list.LetterChar(0, letter));
    });
}
