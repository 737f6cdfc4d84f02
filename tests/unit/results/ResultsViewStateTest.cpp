// The results view's window-free rules: column widths, data-file paths, what
// Copy takes, the Indicators item and request for a token, cell tooltips and
// finding the focused row again after a sort.
#include "results/ResultsViewState.h"

#include "results/Tokens.h"

#include <gtest/gtest.h>

namespace {

WordplayRow MakeRow(std::string text, std::string style, std::int32_t pieces = 0) {
    WordplayRow row;
    row.text = std::move(text);
    row.style = std::move(style);
    row.pieces = pieces;
    return row;
}

TEST(ColumnWidths, StoredWidthsOutsideTheScreenFallBackPerPosition) {
    EXPECT_EQ(ColumnWidthOrDefault(0, 0, 1280), 256);
    EXPECT_EQ(ColumnWidthOrDefault(-3, 1, 1280), 128);
    EXPECT_EQ(ColumnWidthOrDefault(1280, 2, 1280), 256) << "not below the screen width";
    EXPECT_EQ(ColumnWidthOrDefault(1279, 2, 1280), 1279);
    EXPECT_EQ(ColumnWidthOrDefault(1, 0, 1280), 1);
    EXPECT_EQ(DefaultColumnWidth(1, 1279), 127) << "integer division";
}

TEST(DataPaths, RelativePiecesGetTheProgramFolder) {
    const std::string dir = "C:\\Program Files\\Quillon\\";
    EXPECT_EQ(ResolveDataPath(dir, "Dictionaries\\Standard English.owd"),
              dir + "Dictionaries\\Standard English.owd");
    EXPECT_EQ(ResolveDataPath(dir, "D:\\words.owd"), "D:\\words.owd");
    EXPECT_EQ(ResolveDataPath(dir, "\\\\server\\share\\a.owd"), "\\\\server\\share\\a.owd");
    EXPECT_EQ(ResolveDataPath(dir, "a.owd;E:\\b.owd;c.owd"),
              dir + "a.owd;E:\\b.owd;" + dir + "c.owd");
    EXPECT_EQ(ResolveDataPath(dir, ""), "") << "no name stays no name";
    EXPECT_EQ(ResolveDataPath(dir, "a.owd;"), dir + "a.owd;");
    EXPECT_EQ(ResolveDataPath("", "Abbreviation.txt"), "Abbreviation.txt");
}

TEST(CopyResults, TokenAloneOnlyForOneSelectedRow) {
    const std::vector<WordplayRow> rows = {MakeRow("car + pet", "eee n eee"),
                                           MakeRow("scarpet", "EeeeeeE")};
    WordplayRowContext token;
    SetTokenFromRun(token, DisplayText(rows[0], true), 6, 3, true);
    ASSERT_EQ(token.text, "pet");

    EXPECT_EQ(CopyText(rows, {0}, token), "pet");
    EXPECT_EQ(CopyText(rows, {0, 1}, token), "car + pet\r\n(s)carpe(t)")
        << "several rows win over an underlined token, and deletions are bracketed";
    EXPECT_EQ(CopyText(rows, {1}, WordplayRowContext{}), "(s)carpe(t)");
    EXPECT_EQ(CopyText(rows, {}, token), "") << "nothing selected leaves the clipboard alone";
}

TEST(Indicators, NotationTokensOpenTheirKindAndAbbreviationsAFilteredTable) {
    const WordplayRow row = MakeRow("c + arpet*", "b n eeeeen");
    const DisplayedText shown = DisplayText(row, false);
    WordplayRowContext plus, abbreviation, word, star;
    SetTokenFromRun(plus, shown, 2, 1, false);
    SetTokenFromRun(abbreviation, shown, 0, 1, false);
    SetTokenFromRun(word, shown, 4, 5, false);
    SetTokenFromRun(star, shown, 9, 1, false);

    EXPECT_EQ(IndicatorsFor(plus), (IndicatorRequest{0, ""}));
    EXPECT_EQ(IndicatorsFor(star), (IndicatorRequest{3, ""}));
    EXPECT_EQ(IndicatorsFor(abbreviation), (IndicatorRequest{5, "c"}));
    EXPECT_FALSE(IndicatorsFor(word));
    EXPECT_FALSE(IndicatorsFor(WordplayRowContext{}));

    EXPECT_EQ(IndicatorsItemText(plus, "Charade", " &Indicators..."), "Charade &Indicators...");
    EXPECT_EQ(IndicatorsItemText(abbreviation, "unused", " &Indicators..."),
              "\"c\" &Indicators...");
    EXPECT_FALSE(IndicatorsItemText(word, "Charade", " &Indicators..."));
}

TEST(CellToolTips, OnlyForTextThatDoesNotFit) {
    EXPECT_EQ(CellTooltip("carpet", 60, 62, 0), "") << "column 0 has 2 pixels of margin";
    EXPECT_EQ(CellTooltip("carpet", 61, 62, 0), "carpet");
    EXPECT_EQ(CellTooltip("Charade", 50, 56, 2), "");
    EXPECT_EQ(CellTooltip("Charade", 51, 56, 2), "Charade") << "other columns have 6";
    EXPECT_EQ(CellTooltip("", 0, 0, 1), "") << "an empty cell never needs a tip";
    // At 144 DPI the margins are half as wide again.
    const RowGeometry sharp = RowGeometry::ForDpi(144);
    EXPECT_EQ(CellTooltip("carpet", 59, 62, 0, sharp), "");
    EXPECT_EQ(CellTooltip("carpet", 60, 62, 0, sharp), "carpet");
    EXPECT_EQ(CellTooltip("Charade", 47, 56, 2, sharp), "");
    EXPECT_EQ(CellTooltip("Charade", 48, 56, 2, sharp), "Charade");
}

TEST(FocusAfterSort, FindsTheFirstRowWithTheSameText) {
    const std::vector<WordplayRow> rows = {MakeRow("a", "e"), MakeRow("b", "e"), MakeRow("b", "b")};
    EXPECT_EQ(FindRowByText(rows, "b"), 1u);
    EXPECT_FALSE(FindRowByText(rows, "B"));
    EXPECT_FALSE(FindRowByText({}, "a"));
}

} // namespace
