// Reading word lists: one entry a line, LF or CR LF, UTF-8 or Windows-1252
// (decided per file), an optional supplementary text after a tab.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::tools {

// One line of a word list, in Windows-1252.
struct Entry {
    std::string text;       // the entry itself; blanks, hyphens, apostrophes allowed
    std::string supplement; // what followed the first tab, possibly empty

    friend bool operator==(const Entry&, const Entry&) = default;
    friend auto operator<=>(const Entry&, const Entry&) = default;
};

enum class ListFormat {
    Lines,          // one entry a line
    WordNetPhrases, // a WordNet index file: its multi-word lemmas, "_" read as a blank
};

// Filters applied while reading (the default dictionary uses both).
struct ListFilter {
    bool dropPossessives = false; // entries ending in 's
    bool plainOnly = false;       // only letters, blanks, hyphens and apostrophes
};

struct ListStats {
    bool utf8 = false;             // the file was read as UTF-8
    std::size_t lines = 0;         // lines in the file
    std::size_t entries = 0;       // entries kept
    std::size_t empty = 0;         // blank lines (and WordNet lines that are not phrases)
    std::size_t unconvertible = 0; // characters outside Windows-1252
    std::size_t controls = 0;      // control characters in the line
    std::size_t filtered = 0;      // dropped by the filter
};

// Splits the file's bytes into entries. Never fails: a bad line is counted.
std::vector<Entry> ParseWordList(std::string_view bytes, ListFormat format,
                                 const ListFilter& filter, ListStats& stats);

// Reads a whole file; false (with a message in error) when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);
bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error);

// Command-line texts are UTF-8 on Linux and the ANSI code page on Windows:
// valid UTF-8 is converted, anything else taken as 1252 already. Characters
// outside 1252 become '?'.
std::string ArgumentToCp1252(std::string_view argument);

} // namespace quillon::tools
