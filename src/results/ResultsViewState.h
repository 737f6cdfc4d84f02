// The decisions of the results view that need no window: default column
// widths, where data files named in the settings live,
// what Copy puts on the clipboard, the rewritten Indicators menu item and
// when a cell needs a tooltip. The Windows view (WordplayViewWindows) asks
// these, so the rules are checked natively.
#pragma once

#include "results/ResultList.h"
#include "results/RowPaint.h"
#include "results/WordplayRow.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The width of a column position: the stored value when it is at least 1 and
// below the screen width, otherwise the default (a fifth, a tenth, a fifth of
// the screen for positions 0, 1, 2).
int ColumnWidthOrDefault(int stored, int position, int screenWidth);
int DefaultColumnWidth(int position, int screenWidth);

// A data file name from the settings, made absolute piece by piece (pieces are
// separated by ";"): a piece that is neither rooted ("\..." or "/...") nor
// has a drive ("C:...") gets the program folder in front. Empty pieces stay
// empty. programDirectory ends with a separator or is empty.
std::string ResolveDataPath(std::string_view programDirectory, std::string_view name);

// What Copy puts on the clipboard from the list: the token alone when exactly
// one row is selected and a token is set, otherwise every selected row
// (bracketed) joined by CR LF. Empty means leave the clipboard alone.
std::string CopyText(const std::vector<WordplayRow>& rows, const std::vector<std::size_t>& selected,
                     const WordplayRowContext& token);

// The Indicators item of the result menu for a token that offers indicators:
// an abbreviation in double quotes, or the notation kind's name, followed by
// suffix (" &Indicators..."). Nothing for a token without indicators.
std::optional<std::string> IndicatorsItemText(const WordplayRowContext& token,
                                              std::string_view kindName, std::string_view suffix);
// The Indicators window kind and filter a token opens: kinds 0..3 for
// notation symbols (no filter), 5 for an abbreviation (filtered by its text).
struct IndicatorRequest {
    int kind = 0;
    std::string filter;
    friend bool operator==(const IndicatorRequest&, const IndicatorRequest&) = default;
};
std::optional<IndicatorRequest> IndicatorsFor(const WordplayRowContext& token);

// A cell's tooltip: its text when it does not fit the column (column width
// less the clip indent for the wordplay column, less the cell indent for the
// others: 2 and 6 at 96 DPI), else empty.
std::string CellTooltip(const std::string& cellText, int textWidth, int columnWidth, int position,
                        const RowGeometry& geometry = {});

// The first row whose displayed text (brackets off) equals text.
std::optional<std::size_t> FindRowByText(const std::vector<WordplayRow>& rows,
                                         std::string_view text);
