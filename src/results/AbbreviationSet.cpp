#include "results/AbbreviationSet.h"

#include "results/IndicatorTable.h"

#include <fstream>

AbbreviationSet LoadAbbreviationSet(std::istream* table, std::string_view alphabet,
                                    const CanonicalLetterFunction& canonical) {
    AbbreviationSet set;
    for (char letter : alphabet)
        if (letter != '\0') set.emplace(1, letter);
    if (table == nullptr || !canonical) return set;
    // The caption is always the first line, even when it holds a tab, so a caption
    // can never be taken for the column titles and the titles for an abbreviation.
    const IndicatorTable parsed = ReadIndicatorTable(*table);
    std::string key;
    for (const std::vector<std::string>& row : parsed.rows) {
        if (row.empty()) continue;
        key.clear();
        for (char c : row.front()) {
            const char letter = canonical(static_cast<unsigned char>(c));
            if (letter != '\0') key.push_back(letter);
        }
        if (!key.empty()) set.insert(key);
    }
    return set;
}

AbbreviationSet LoadAbbreviationSetFromFile(const std::string& path, std::string_view alphabet,
                                            const CanonicalLetterFunction& canonical) {
    std::ifstream file(path, std::ios::binary);
    return LoadAbbreviationSet(file.is_open() ? &file : nullptr, alphabet, canonical);
}

char PlainCanonicalLetter(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c);
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return '\0';
}
