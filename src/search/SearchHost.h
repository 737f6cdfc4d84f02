// What the wordplay search asks of the window that started it.
//
// The search itself is portable: it reads the dictionaries, composes rows and
// decides which status text to show. Everything that touches the screen (the
// message box, the answer history, the wait cursor, the status bar, the list
// control, the frame's caption) goes through this interface, which the results
// view implements on Windows and the command line implements for a terminal.
#pragma once

#include "results/WordplayRow.h"

#include <cstddef>
#include <string>

// String-table ids the search uses; the texts come from the resources on Windows
// and from SearchStringText() everywhere else.
namespace SearchStringId {
inline constexpr int Searching = 4960;  // "Searching for possible wordplay"
inline constexpr int NoWordplay = 9050; // "No wordplay was found for the answer"
inline constexpr int PressF1 = 13081;   // "Press F1 for help"
inline constexpr int InvalidDictionaryText =
    10440; // "\nis not a valid Orbweave Dictionary File: ..."
} // namespace SearchStringId

// Caption of the box that reports an unusable dictionary, and what follows the
// answer in the main frame's caption after a search.
inline constexpr const char* kInvalidDictionaryCaption = "Invalid Dictionary Configured";
inline constexpr const char* kCaptionSuffix = " - Quillon";

// Receives the rows of a search in the order they are found.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void AddRow(WordplayRow row) = 0;
};

class SearchHost : public RowSink {
public:
    // The dictionary at `path` cannot be used: show path + string 10440 in a box
    // captioned kInvalidDictionaryCaption with the exclamation icon. No search follows
    // and the previous results stay.
    virtual void ShowInvalidDictionary(const std::string& path) = 0;
    // Puts the answer, as typed, at the top of the answer box's history.
    virtual void RecordHistory(const std::string& answer) = 0;
    // Clears the rows and the list, shows the wait cursor and status `statusId`.
    virtual void BeginSearch(int statusId) = 0;
    // Finishes the row list, fills the list and sets the focus; returns the number
    // of rows the list now shows.
    virtual std::size_t ShowResults() = 0;
    // Caption becomes the typed answer + kCaptionSuffix, the previous cursor comes
    // back and the status bar shows `statusId`.
    virtual void EndSearch(const std::string& answer, int statusId) = 0;
};
