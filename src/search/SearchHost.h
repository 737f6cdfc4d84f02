// What the wordplay search asks of the program that started it.
//
// The search itself is portable: it reads the dictionaries and composes rows.
// Around the phases come the steps a user sees (the answer recorded in the
// history, the list emptied, a wait cursor, the finished list, the caption);
// the search says when each happens and the host decides what it looks like,
// so the results view keeps its string-table texts and caption to itself and
// the command line overrides only what it needs.
#pragma once

#include "results/WordplayRow.h"

#include <string>

// Receives the rows of a search in the order they are found.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void AddRow(WordplayRow row) = 0;
};

class SearchHost : public RowSink {
public:
    // The dictionary at `path` cannot be used. Nothing else happens: the
    // history and the previous results stay as they were.
    virtual void ShowInvalidDictionary(const std::string& path) = 0;
    // The dictionaries are usable and the rows are about to be found: the
    // answer, as typed, goes into the history and the previous results go.
    virtual void SearchStarting(const std::string& typedAnswer);
    // Every row has been added.
    virtual void SearchFinished(const std::string& typedAnswer);
    // After the search: common words only was asked for, but a dictionary
    // marks none, so all its words were searched.
    virtual void CommonWordsUnmarked();
};
