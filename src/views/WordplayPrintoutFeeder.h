#pragma once
// The results as printout lines: the displayed text of each row of the result
// list, always with deleted letters in brackets, all rows or only the
// selected ones in list order. The list is asked afresh at every step, so the
// lines follow the list as it is sorted and selected when printing starts.

#include "printing/PrintoutFeeder.h"
#include "results/WordplayRow.h"

#include <windows.h>

#include <vector>

class WordplayPrintoutFeeder : public PrintoutFeeder {
public:
    WordplayPrintoutFeeder(HWND list, const std::vector<WordplayRow>& rows)
        : list_(list), rows_(rows) {}

    int GetLineCount() override;
    int GetSelectedCount() override;
    void SetSelectedOnly(bool selectedOnly) override;
    void SeekLine(int n) override;
    std::string NextLine() override;

private:
    // The selected item after item (-1: the first); -1 when there is none.
    int NextSelected(int item) const;

    HWND list_;
    const std::vector<WordplayRow>& rows_;
    bool selectedOnly_ = false;
    int position_ = -1; // the list item of the line returned last
    bool exhausted_ = false;
};
