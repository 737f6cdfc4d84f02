// Layout arithmetic of template-based windows: moveable controls, restoring a
// remembered position, tooltip texts, the header's sort triangle, dictionary
// short names and popup positions.
#include "layout/DialogLayout.h"

#include <gtest/gtest.h>

namespace {

using namespace layout;

TEST(MoveableControls, EachModeKeepsItsDistanceAsTheWindowGrows) {
    // Template: client 400 wide, control at x 100, 50 wide.
    const int client = 400, x = 100, w = 50;
    struct Case {
        MoveMode mode;
        Span at500;
    };
    const Case cases[] = {
        {MoveMode::Fixed, {100, 50}},
        {MoveMode::Centre, {150, 50}},   // stays 100 left of the centre line
        {MoveMode::KeepFar, {200, 50}},  // stays 300 from the right edge
        {MoveMode::Stretch, {100, 150}}, // right margin of 250 kept
    };
    for (const Case& c : cases) {
        const int offset = MoveOffset(c.mode, client, x, w);
        EXPECT_EQ(MovePlace(c.mode, client, offset, x, w), (Span{x, w}))
            << "mode " << int(c.mode) << " must not move at the size it was made for";
        EXPECT_EQ(MovePlace(c.mode, 500, offset, x, w), c.at500) << "mode " << int(c.mode);
    }
}

TEST(MoveableControls, CentreUsesTheRoundedHalfAndStretchNeverGoesNegative) {
    EXPECT_EQ(MoveOffset(MoveMode::Centre, 401, 150, 20), 51); // (401 + 1) / 2 - 150
    EXPECT_EQ(MovePlace(MoveMode::Centre, 300, 51, 150, 20), (Span{99, 20}));
    const int offset = MoveOffset(MoveMode::Stretch, 400, 100, 250);
    EXPECT_EQ(MovePlace(MoveMode::Stretch, 120, offset, 100, 250), (Span{100, 0}));
}

TEST(RestorePosition, AppliesOnlySensibleStoredPlacements) {
    EXPECT_FALSE(RestorablePosition("", 1280, 1024, true, 300, 200));
    EXPECT_FALSE(RestorablePosition("0,10,20,0,300", 1280, 1024, true, 300, 200));
    EXPECT_FALSE(RestorablePosition("0,10,20,400,-1", 1280, 1024, true, 300, 200));
    EXPECT_FALSE(RestorablePosition("0,1280,20,400,300", 1280, 1024, true, 300, 200))
        << "x equal to the screen width lies off the screen";
    EXPECT_FALSE(RestorablePosition("0,10,1024,400,300", 1280, 1024, true, 300, 200));
    EXPECT_FALSE(RestorablePosition("garbage", 1280, 1024, true, 300, 200));
    EXPECT_EQ(RestorablePosition("1,10,20,400,300", 1280, 1024, true, 300, 200),
              (Rect{10, 20, 400, 300}))
        << "the maximized flag is ignored";
}

TEST(RestorePosition, NegativeYIsCorrectedButXIsNot) {
    EXPECT_EQ(RestorablePosition("0,-20,-30,400,300", 1280, 1024, true, 300, 200),
              (Rect{-20, 0, 400, 300}));
    EXPECT_EQ(RestorablePosition("0,-20,-30,400,300", 1280, 1024, false, 300, 200),
              (Rect{-20, 0, 300, 200}))
        << "a window without a sizing border keeps its own size";
}

TEST(ToolTips, TextAfterTheFirstLineBreak) {
    EXPECT_EQ(TooltipText("\nClick to change the answer font"), "Click to change the answer font");
    EXPECT_EQ(TooltipText("Hint\nTip\nmore"), "Tip\nmore");
    EXPECT_EQ(TooltipText("No break"), "No break");
    EXPECT_EQ(TooltipText(""), "");
}

TEST(SortTriangle, PointsUpForAscendingAndDownForDescending) {
    int right = 0;
    EXPECT_TRUE(SortTriangle(0, 100, 0, 18, right).empty());
    EXPECT_EQ(right, 100) << "no triangle leaves the whole width to the title";

    // b = 18 / 3 = 6; 3b/2 = 9; 5b/2 = 15.
    auto up = SortTriangle(1, 100, 0, 18, right);
    ASSERT_EQ(up.size(), 2u);
    EXPECT_TRUE(up[0].highlight);
    EXPECT_EQ(up[0].points, (std::vector<Point>{{88, 5}, {91, 12}, {83, 12}}));
    EXPECT_FALSE(up[1].highlight);
    EXPECT_EQ(up[1].points, (std::vector<Point>{{84, 11}, {88, 4}}));
    EXPECT_EQ(right, 82);

    auto down = SortTriangle(-1, 100, 0, 18, right);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(down[0].points, (std::vector<Point>{{91, 7}, {87, 13}}));
    EXPECT_EQ(down[1].points, (std::vector<Point>{{87, 12}, {84, 5}, {91, 5}}));
    EXPECT_EQ(right, 82);
}

TEST(SortTriangle, OddHeightsTruncateTheThirds) {
    int right = 0;
    // Height 20 (top -1 after the pressed-state shift): b = 6, 5b/2 = 15.
    auto up = SortTriangle(1, 50, -1, 19, right);
    ASSERT_FALSE(up.empty());
    EXPECT_EQ(up[0].points.front(), (Point{38, 5}));
    EXPECT_EQ(right, 32);
}

TEST(DictionaryNames, ShortFormDropsFoldersAndTheExtension) {
    EXPECT_EQ(ShortDictionaryName("C:\\Dicts\\Standard English.owd"), "Standard English");
    EXPECT_EQ(ShortDictionaryName("a\\b.OWD;c\\d.owd;plain"), "b;d;plain");
    EXPECT_EQ(ShortDictionaryName("words.owdx"), "words.owdx");
    EXPECT_EQ(ShortDictionaryName(".owd"), "");
    EXPECT_EQ(ShortDictionaryName(""), "");
    EXPECT_EQ(ShortDictionaryName("x\\;"), ";");
}

TEST(PopupPosition, ClampedToTheScreen) {
    EXPECT_EQ(ClampToScreen({-5, 2000}, 1280, 1024), (Point{0, 1024}));
    EXPECT_EQ(ClampToScreen({1300, -1}, 1280, 1024), (Point{1280, 0}));
    EXPECT_EQ(ClampToScreen({10, 20}, 1280, 1024), (Point{10, 20}));
}

} // namespace
