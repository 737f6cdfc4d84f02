// The arithmetic behind template-based windows, kept free of window code so it
// can be checked without a screen: where moveable controls go when the window
// is resized, whether a remembered position may be restored, the tooltip part
// of a string-table text, the sort triangle of an owner-drawn list header, the
// short form of a dictionary name, and keeping a popup menu on the screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layout {

// How one control follows the window's size along one axis.
enum class MoveMode : std::uint8_t {
    Fixed = 0,   // stays where the template put it
    Centre = 1,  // keeps its offset from the centre line
    KeepFar = 2, // keeps its distance from the right (bottom) edge, size unchanged
    Stretch = 3, // keeps its left (top) position and its right (bottom) margin
};

// The offset remembered when the moveable control is made, from the client
// extent at that moment and the control's template position and size.
int MoveOffset(MoveMode mode, int client, int position, int size);

struct Span {
    int position = 0;
    int size = 0;
    friend bool operator==(const Span&, const Span&) = default;
};
// Where the control goes for a new client extent. A stretched control never
// gets a negative size, however small the window becomes.
Span MovePlace(MoveMode mode, int client, int offset, int position, int size);

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The window rectangle to restore from a stored placement text
// ("maximized,x,y,width,height"; the flag is ignored). Nothing when the text is
// empty, the size is not positive or the top-left lies beyond the screen. A
// negative y becomes 0 (the caption must stay reachable); x is kept. A window
// without a sizing border keeps its current size.
std::optional<Rect> RestorablePosition(std::string_view stored, int screenWidth, int screenHeight,
                                       bool sizable, int currentWidth, int currentHeight);

// A string-table text as a tooltip: everything after the first line break, or
// the whole text when it has none.
std::string TooltipText(std::string_view tableText);

// The raised triangle that marks a sorted header column. Lines are drawn from
// point to point in the order given; `highlight` picks the pen.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
struct Polyline {
    bool highlight = true;
    std::vector<Point> points;
};
// indicator > 0 points up (ascending), < 0 down (descending), 0 draws nothing.
// `right` is the item's right edge, `top`/`bottom` its vertical extent (y is
// measured from the header's top edge). rightAfter receives the edge left of
// the triangle, where the title must stop.
std::vector<Polyline> SortTriangle(int indicator, int right, int top, int bottom, int& rightAfter);

// The name shown for a dictionary setting: each ";"-separated path cut to its
// file name, a final ".owd" (any case) dropped.
std::string ShortDictionaryName(std::string_view fullName);

// A popup position moved onto the screen.
Point ClampToScreen(Point p, int screenWidth, int screenHeight);

} // namespace layout
