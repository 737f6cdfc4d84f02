// The preview's page placement and its scroller's mapping onto scroll bars.
#include "printing/PreviewGeometry.h"

#include <gtest/gtest.h>

namespace {

using namespace preview;

TEST(PreviewPage, FillsTheScrollingDirectionAt95PerCent) {
    struct Case {
        int clientWidth, clientHeight, pageWidth, pageHeight;
        Rect expected;
    };
    const Case cases[] = {
        // A4 at 300 dpi: 3508 * 95 / 2480 = 134 (integer), so the height is 1.34 x the width.
        {800, 600, 2480, 3508, {8, 8, 784, 1050}},
        {800, 600, 3508, 2480, {8, 8, 782, 584}}, // landscape: fills the height
        {500, 500, 1000, 1000, {8, 8, 484, 459}}, // square counts as portrait
        {10, 10, 2480, 3508, {8, 8, 0, 0}},       // a window smaller than its margins
        {800, 600, 0, 3508, {8, 8, 0, 0}},        // no page size
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageRect(c.clientWidth, c.clientHeight, 8, c.pageWidth, c.pageHeight), c.expected)
            << c.clientWidth << "x" << c.clientHeight << " page " << c.pageWidth << "x"
            << c.pageHeight;
}

TEST(PreviewScroller, PositionsStayInRangeAndFitTheScrollBar) {
    EXPECT_EQ(ScrollBarMaximum(-5), 0);
    EXPECT_EQ(ScrollBarMaximum(1200), 1200);
    EXPECT_EQ(ScrollBarMaximum(100000), 32767);

    EXPECT_EQ(ClampScrollPosition(-10, 1200, 500), 0);
    EXPECT_EQ(ClampScrollPosition(900, 1200, 500), 700);
    EXPECT_EQ(ClampScrollPosition(50, 400, 500), 0) << "all visible: nothing to scroll";

    // Small ranges map one to one.
    EXPECT_EQ(ScrollBarPosition(700, 1200, 500), 700);
    EXPECT_EQ(ScrollPositionFromThumb(700, 1200, 500), 700);
    // Large ranges are scaled so that the end of the range is the end of the bar.
    EXPECT_EQ(ScrollBarPosition(99000, 100000, 1000), 31767);
    EXPECT_EQ(ScrollPositionFromThumb(31767, 100000, 1000), 99000);
    EXPECT_EQ(ScrollBarPosition(49500, 100000, 1000), 15884); // 15883.5 rounds up
    for (int t : {0, 1, 5000, 31766})
        EXPECT_NEAR(ScrollBarPosition(ScrollPositionFromThumb(t, 100000, 1000), 100000, 1000), t,
                    1);
}

} // namespace
