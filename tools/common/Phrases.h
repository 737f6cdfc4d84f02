// Phrases a setter would use. WordNet's multi-word lemmas include thousands
// of taxonomic names ("genus calluna", "family bramidae") and phrases that
// end in a lone letter ("one c", "george i"); they crowd the rows of
// multi-word answers with wordplay no clue could use.
//
// A phrase (an entry holding a blank) is a taxonomic name when its first word
// is a rank: genus, subfamily, suborder, superorder, subclass, phylum or
// tribe, which name nothing else; or family, order, class, division or
// kingdom followed by exactly one word that is not an ordinary word, which
// keeps "family tree", "class act" and "order of the day".
#pragma once

#include "common/WordList.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace quillon::tools {

struct PhraseStats {
    std::size_t taxonomic = 0;  // taxonomic names left out
    std::size_t loneLetter = 0; // phrases ending in a single letter left out
};

// The words that count as ordinary after an ambiguous rank word: the common
// lists when there are any, else every entry of the lists written as one
// lower-case word.
std::unordered_set<std::string> OrdinaryWords(const std::vector<Entry>& entries,
                                              const std::unordered_set<std::string>& common);

// Leaves out the taxonomic names and the phrases whose last word has a single
// letter, keeping the order of the rest.
void DropUnusablePhrases(std::vector<Entry>& entries,
                         const std::unordered_set<std::string>& ordinaryWords, PhraseStats& stats);

} // namespace quillon::tools
