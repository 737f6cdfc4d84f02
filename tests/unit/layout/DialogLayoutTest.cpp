// Layout arithmetic of template-based windows: moveable controls, restoring a
// remembered position, tooltip texts, the header's sort triangle, dictionary
// short names and popup positions.
#include "layout/DialogLayout.h"

#include <gtest/gtest.h>

#include <optional>

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

// A 1280 x 1024 screen and a window 300 x 200 of its own.
std::optional<Rect> OnOneScreen(const char* stored, bool sizable = true) {
    return RestorablePosition(stored, 1280, 1024, sizable, 300, 200);
}

TEST(RestorePosition, AppliesOnlySensibleStoredPlacements) {
    for (const char* stored : {"", "garbage", "0,10,20,0,300", "0,10,20,400,-1",
                               "0,10,1024,400,300", "0,-400,10,400,300"})
        EXPECT_FALSE(OnOneScreen(stored)) << stored;
    EXPECT_FALSE(OnOneScreen("0,1280,20,400,300")) << "x equal to the screen width lies off it";
    EXPECT_EQ(OnOneScreen("1,10,20,400,300"), (Rect{10, 20, 400, 300}))
        << "the maximized flag is ignored";
    EXPECT_EQ(OnOneScreen("0,-20,-30,400,300"), (Rect{-20, 0, 400, 300})) << "y corrected, x not";
    EXPECT_EQ(OnOneScreen("0,-20,-30,400,300", false), (Rect{-20, 0, 300, 200}))
        << "a window without a sizing border keeps its own size";
}

// A 1920 x 1080 primary monitor with a 1280 x 1024 one to its left whose top
// lies 200 pixels higher, and a 1600 x 900 one above the primary.
const Rect kPrimary{0, 0, 1920, 1080};
const Rect kLeft{-1280, -200, 1280, 1024};
const Rect kAbove{0, -900, 1600, 900};
const Rect kThree[] = {kPrimary, kLeft, kAbove};

TEST(Monitors, VirtualScreenAndTouching) {
    EXPECT_EQ(VirtualScreen(kThree), (Rect{-1280, -900, 3200, 1980}));
    EXPECT_EQ(VirtualScreen({}), Rect{});
    const struct {
        Rect r;
        bool touches;
    } cases[] = {
        {{-1000, 100, 800, 600}, true},   // on the left monitor
        {{100, -700, 800, 600}, true},    // on the monitor above
        {{-1000, -800, 800, 500}, false}, // in the corner no monitor covers
        {{-1281, 0, 1, 10}, false},       // ends where the left monitor starts
        {{1919, 1079, 400, 300}, true},   // one pixel of the primary
        {{1600, -900, 320, 900}, false},  // beside the narrower monitor above
    };
    for (const auto& c : cases)
        EXPECT_EQ(TouchesAMonitor(c.r, kThree), c.touches) << c.r.x << "," << c.r.y;
}

TEST(MainWindow, StoredRectangleOnAnyMonitorOrTheDefault) {
    const Rect kDefault{0, 0, 1056, 945}; // 11/20 and 7/8 of the primary
    const struct {
        Rect stored;
        bool used;
    } cases[] = {
        {{-1100, -150, 800, 600}, true}, // wholly on the monitor to the left
        {{200, -850, 800, 600}, true},   // wholly on the monitor above
        {{-50, 20, 400, 300}, true},     // hanging off an edge
        {{3000, 0, 800, 600}, false},    // right of every monitor
        {{-2200, 0, 800, 600}, false},   // left of every monitor
        {{100, -700 - 900, 800, 600}, false},
        {{-1000, -800, 800, 500}, false}, // only in the uncovered corner
        {{10, 10, 0, 300}, false},
        {{10, 10, 400, -5}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MainWindowRect(c.stored, kThree, 1920, 1080), c.used ? c.stored : kDefault)
            << c.stored.x << "," << c.stored.y;
    // With the primary monitor alone, the monitors of the last session are gone.
    const Rect primaryOnly[] = {kPrimary};
    EXPECT_EQ(MainWindowRect({-1100, -150, 800, 600}, primaryOnly, 1920, 1080), kDefault);
    EXPECT_EQ(MainWindowRect({100, -50, 800, 600}, primaryOnly, 1920, 1080),
              (Rect{100, -50, 800, 600}));
    EXPECT_EQ(MainWindowRect({100, -700, 800, 600}, primaryOnly, 1920, 1080), kDefault);
}

std::optional<Rect> OnThree(const char* stored) {
    return RestorablePosition(stored, kThree, true, 1, 1);
}

TEST(RestorePosition, OtherMonitorsKeepTheirPlaces) {
    EXPECT_EQ(OnThree("0,-1100,-150,400,300"), (Rect{-1100, -150, 400, 300}))
        << "above the primary's top but on the left monitor";
    EXPECT_EQ(OnThree("0,-1100,-250,400,300"), (Rect{-1100, -200, 400, 300}))
        << "the caption comes down to the top of the monitor it is on";
    EXPECT_EQ(OnThree("0,100,-2000,400,300"), (Rect{100, -900, 400, 300}))
        << "above every monitor: down to the virtual screen's top";
    EXPECT_FALSE(OnThree("0,-3000,0,400,300")) << "wholly left of every monitor";
    EXPECT_FALSE(OnThree("0,3200,0,400,300"));
    EXPECT_FALSE(RestorablePosition("0,-900,-850,400,300", kThree, false, 100, 100))
        << "its own size lies in the uncovered corner";
}

TEST(PopupPosition, ClampedToTheVirtualScreenOrTheScreen) {
    const Rect all = VirtualScreen(kThree);
    EXPECT_EQ(ClampToArea({-1200, 500}, all), (Point{-1200, 500}));
    EXPECT_EQ(ClampToArea({-5000, -5000}, all), (Point{-1280, -900}));
    EXPECT_EQ(ClampToArea({5000, 5000}, all), (Point{1920, 1080}));
    EXPECT_EQ(ClampToScreen({-5, 2000}, 1280, 1024), (Point{0, 1024}));
    EXPECT_EQ(ClampToScreen({1300, -1}, 1280, 1024), (Point{1280, 0}));
    EXPECT_EQ(ClampToScreen({10, 20}, 1280, 1024), (Point{10, 20}));
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

    // Height 20 (top -1 after the pressed-state shift) truncates: b = 6, 5b/2 = 15.
    EXPECT_EQ(SortTriangle(1, 50, -1, 19, right).at(0).points.front(), (Point{38, 5}));
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

TEST(Choosers, TitleIsTheLabelWithoutAccessKeyAndColon) {
    EXPECT_EQ(ChooserTitle("&Printout font:"), "Printout font");
    EXPECT_EQ(ChooserTitle("Result abbre&viation color:"), "Result abbreviation color");
    EXPECT_EQ(ChooserTitle("A && B: c"), "A  B c");
    EXPECT_EQ(ChooserTitle(""), "");
}

TEST(Choosers, FontDimensionsRoundHalvesAwayFromZero) {
    const struct {
        std::int32_t value;
        double scale;
        std::int32_t expected;
    } cases[] = {
        {-15, 1.0, -15},
        {5, 0.5, 3},
        {-5, 0.5, -3},
        {7, 1.5, 11},
        {-7, 1.5, -11},
        {0, 3.0, 0},
        {2000000000, 4.0, 2147483647},
        {-2000000000, 4.0, -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleFontDimension(c.value, c.scale), c.expected) << c.value << " x " << c.scale;
}

TEST(Links, MailLinksShowTheBareAddress) {
    EXPECT_EQ(LinkText("mailto:help@example.org?Subject=Quillon Support Request"),
              "help@example.org");
    EXPECT_EQ(LinkText("https://example.org/quillon/"), "https://example.org/quillon/");
    EXPECT_EQ(LinkText("mailto:"), "");
    EXPECT_EQ(LinkText("?Subject=only"), "");
    EXPECT_EQ(LinkText("x mailto:a@b"), "a@b") << "the part before mailto: goes too";
}

} // namespace
