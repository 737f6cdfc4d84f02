// Small hand-made dictionaries for the search tests: words are written to a
// temporary .owd file in the order given, grouped by their number of letters.
#pragma once

#include "dictionary/OWDictionaryList.h"
#include "results/AbbreviationSet.h"
#include "results/WordplayRow.h"
#include "search/SearchHost.h"
#include "search/WordplaySearch.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

struct RowCollector : RowSink {
    std::vector<WordplayRow> rows;
    void AddRow(WordplayRow row) override { rows.push_back(std::move(row)); }
};

// Writes the words to a fresh file and returns its path. The words in common
// get flag bit 1, all others 0.
std::string WriteDictionary(const std::vector<std::string>& words,
                            const std::set<std::string>& common = {});

// The single letters a-z plus the extra abbreviations.
AbbreviationSet Abbreviations(const std::vector<std::string>& extra = {});

// Every row the search adds, in the order it adds them (unfinished).
std::vector<WordplayRow>
SearchRows(const std::string& listName, const std::string& answer, int maxPieces = 4,
           const AbbreviationSet& abbreviations = Abbreviations(),
           WordplaySearch::Reading reading = WordplaySearch::Reading::Decoded);
std::vector<WordplayRow> SearchWords(const std::vector<std::string>& words,
                                     const std::string& answer, int maxPieces = 4,
                                     const AbbreviationSet& abbreviations = Abbreviations());

// The texts of the rows of one type, in order.
std::vector<std::string> TextsOfType(const std::vector<WordplayRow>& rows, int type);
// The row with this text; fails the test when there is none.
WordplayRow RowWithText(const std::vector<WordplayRow>& rows, const std::string& text);

// Readable rows in test failures.
#include <ostream>
inline void PrintTo(const WordplayRow& row, std::ostream* out) {
    *out << '"' << row.text << "\" [" << row.style << "] type " << int(row.type) << " pieces "
         << row.pieces << " sequence " << row.sequence;
}
