// The result list as a whole: the order of rows, finishing a list after a search,
// the bracketed display of deleted letters and the text of each cell.
#pragma once

#include "results/ColumnTable.h"
#include "results/WordplayRow.h"

#include <cstddef>
#include <string>
#include <vector>

// Row order for every sort of the list: positions 1 then 2 decide on Pieces or
// Type in their own direction, and the sequence decides the rest. The text is
// never a sort key.
bool RowLess(const WordplayRow& a, const WordplayRow& b, const ColumnTable& columns);

// Sorts with RowLess, keeping equal rows in their current order.
void SortRows(std::vector<WordplayRow>& rows, const ColumnTable& columns);

// Done once when a search ends: drops every row whose text repeats (the earliest
// added one stays) and sorts the survivors with the row order.
void FinishResultList(std::vector<WordplayRow>& rows, const ColumnTable& columns);

struct DisplayedText {
    std::string text;
    std::string style;
};

// With brackets on, each maximal run of deleted letters is wrapped in "(" and ")",
// which are styled as deleted too so they are drawn in the deletion colour. With
// brackets off, or with nothing deleted, text and style come back as they are.
DisplayedText DisplayText(const WordplayRow& row, bool brackets);

// The text of the cell at a column position; empty for a row index outside the list.
std::string CellText(const std::vector<WordplayRow>& rows, std::size_t index, int position,
                     bool brackets, const ColumnTable& columns);

// Clipboard text of several rows: each bracketed, joined by CR LF, none after the last.
std::string JoinForCopy(const std::vector<WordplayRow>& rows,
                        const std::vector<std::size_t>& indices);
