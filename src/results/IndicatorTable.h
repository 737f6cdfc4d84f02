// Indicator table files: the plain text lists of indicator words and abbreviations
// shown in the Indicators windows, one file per kind.
//
// Format (8-bit text, lines end in LF or CR LF, fields separated by tabs):
//   line 1             the window caption; any text, tabs or not
//   lines without tab  ignored wherever they stand
//   first tab line     the column titles; their number is the number of columns
//   later tab lines    one row each; field 0 is the row's key
// A line is split at its tabs from the left and the split stops at the first empty
// field (two tabs together, or a tab at the end), so whatever follows an empty field
// is ignored. Fields past the last column are ignored; missing ones leave empty cells.
//
// Reading is defensive: a line is cut at its first NUL byte, a line longer than
// MaxLineLength keeps only its first MaxLineLength bytes, and a missing last line
// end is accepted.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace IndicatorKind {
inline constexpr int Charade = 0;
inline constexpr int ContainerAndContents = 1;
inline constexpr int Reversal = 2;
inline constexpr int Anagram = 3;
inline constexpr int Abbreviation = 5; // kind 4 has no table
inline constexpr int Count = 6;
inline constexpr int FirstTitleId = 12310; // title string id = FirstTitleId + kind
} // namespace IndicatorKind

// The kind's title (also its file's base name and its window's settings name);
// empty for kind 4 and kinds outside 0..5.
std::string_view IndicatorKindTitle(int kind);
// Title followed by ".txt"; empty where the title is.
std::string IndicatorFileName(int kind);

// Reads one line at a time from a byte stream, handling LF and CR LF alike.
class TableLineReader {
public:
    static constexpr std::size_t MaxLineLength = 4096;

    explicit TableLineReader(std::istream& in) : in_(in) {}
    // False at the end of the stream; an unterminated last line is still a line.
    bool Next(std::string& line);

private:
    std::istream& in_;
};

// Splits one line at its tabs, stopping at the first empty field. The views point
// into `line`.
std::vector<std::string_view> SplitTableLine(std::string_view line);

struct IndicatorTable {
    std::optional<std::string> caption; // absent for an empty file
    std::vector<std::string> columns;   // empty when no line holds a tab
    // Every row has exactly columns.size() cells.
    std::vector<std::vector<std::string>> rows;
};

// Parses a whole table. With a non-empty filter only rows whose key equals it byte
// for byte are kept; the column titles are read either way.
IndicatorTable ReadIndicatorTable(std::istream& in, std::string_view filter = {});
IndicatorTable ParseIndicatorTable(std::string_view contents, std::string_view filter = {});

// The width of a table window's column: the stored width when it is at least 1
// and at most half the screen, otherwise a sixth of the screen.
int TableColumnWidthOrDefault(int stored, int screenWidth);

// Order of two rows for a click on column `sortColumn`: cells compared byte-wise as
// unsigned characters (at most the first 999 of each), ties broken by column 0, 1,
// ... up to columnCount - 1; negated when descending. Returns -1, 0 or +1.
int CompareTableRows(const std::vector<std::string>& a, const std::vector<std::string>& b,
                     int sortColumn, bool descending, int columnCount);

// The clipboard text of some rows of a table, in the order given: one line
// each, ended by CR LF, its first columnCount cells separated by tabs (empty
// cells at the end left off). Indexes outside rows are passed over.
std::string CopyTableRows(const std::vector<std::vector<std::string>>& rows,
                          const std::vector<std::size_t>& which, int columnCount);
