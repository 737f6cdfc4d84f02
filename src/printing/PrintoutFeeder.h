// The lines of a printout, fed one at a time: all of them or only the
// selected ones, from any position. The results view feeds its rows; tests
// feed made-up lines.
#pragma once

#include <string>

class PrintoutFeeder {
public:
    virtual ~PrintoutFeeder() = default;

    virtual int GetLineCount() = 0;
    virtual int GetSelectedCount() = 0;
    // Chooses all lines or only the selected ones, in list order, and rewinds
    // to before the first.
    virtual void SetSelectedOnly(bool selectedOnly) = 0;
    // Positions before line n (from 0) of the chosen lines.
    virtual void SeekLine(int n) = 0;
    // Advances to the next line and returns its text.
    virtual std::string NextLine() = 0;

protected:
    PrintoutFeeder() = default;
    PrintoutFeeder(const PrintoutFeeder&) = default;
    PrintoutFeeder& operator=(const PrintoutFeeder&) = default;
};
