#include "results/RowPaint.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RowPaint, RunsSplitOnCaseToo) {
    const std::vector<StyleRun> runs = DrawingRuns("eeEEe n b");
    ASSERT_EQ(runs.size(), 7u);
    EXPECT_EQ(runs[0].length, 2u);
    EXPECT_EQ(runs[1].style, 'E');
    EXPECT_EQ(runs[1].start, 2u);
    EXPECT_EQ(runs[2].style, 'e');
    EXPECT_EQ(runs[6].start, 8u);
    EXPECT_TRUE(DrawingRuns("").empty());
}

TEST(RowPaint, ColoursPerStyleAndSelection) {
    RowColours c;
    c.text = 1;
    c.background = 2;
    c.notation = 3;
    c.deletion = 4;
    c.abbreviation = 5;
    const RowInk plain = RowInkFor(c, false);
    EXPECT_EQ(RunColour('n', c, plain), 3u);
    EXPECT_EQ(RunColour('E', c, plain), 4u);
    EXPECT_EQ(RunColour('b', c, plain), 5u);
    EXPECT_EQ(RunColour('e', c, plain), 1u);
    EXPECT_EQ(RunColour('s', c, plain), 1u);

    // Selected: text and background change places.
    const RowInk selected = RowInkFor(c, true);
    EXPECT_EQ(selected.text, 2u);
    EXPECT_EQ(selected.background, 1u);
    EXPECT_EQ(RunColour('e', c, selected), 2u);

    // A notation colour equal to the background would be invisible.
    c.notation = 2;
    EXPECT_EQ(RunColour('n', c, RowInkFor(c, false)), 1u);
    // Selected, the background is the text colour: a deletion colour equal to it
    // falls back to the (exchanged) text colour.
    c.deletion = 1;
    EXPECT_EQ(RunColour('E', c, RowInkFor(c, true)), 2u);
}

TEST(RowPaint, RunsInsideTheTokenOnly) {
    WordplayRowContext token;
    token.start = 2;
    token.length = 5;
    EXPECT_TRUE(RunInToken(StyleRun{2, 2, 'e'}, token));
    EXPECT_TRUE(RunInToken(StyleRun{4, 3, 'E'}, token));
    EXPECT_FALSE(RunInToken(StyleRun{1, 2, 'e'}, token));
    EXPECT_FALSE(RunInToken(StyleRun{6, 2, 'e'}, token));
    EXPECT_FALSE(RunInToken(StyleRun{0, 0, 'e'}, WordplayRowContext{}));
}

TEST(RowPaint, GeometryGrowsWithTheScreen) {
    const struct {
        int dpi;
        RowGeometry g;
    } cases[] = {
        {96, {2, 4, 6, 1, 1, 1}},  {0, {2, 4, 6, 1, 1, 1}}, // unknown: as at 96
        {120, {3, 5, 8, 1, 1, 1}}, {144, {3, 6, 9, 2, 2, 2}}, {192, {4, 8, 12, 2, 2, 2}},
    };
    for (const auto& c : cases) {
        const RowGeometry g = RowGeometry::ForDpi(c.dpi);
        EXPECT_EQ((std::vector<int>{g.clipIndent, g.textIndent, g.cellIndent, g.underlineThickness,
                                    g.underlineGap, g.extraHeight}),
                  (std::vector<int>{c.g.clipIndent, c.g.textIndent, c.g.cellIndent,
                                    c.g.underlineThickness, c.g.underlineGap, c.g.extraHeight}))
            << c.dpi;
    }
}
