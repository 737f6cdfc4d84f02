// The arithmetic behind template-based windows, kept free of window code so it
// can be checked without a screen: where moveable controls go when the window
// is resized, whether a remembered position may be restored, the tooltip part
// of a string-table text, the sort triangle of an owner-drawn list header, the
// short form of a dictionary name, and keeping a popup menu on the screen.
//
// Screen positions are virtual-screen coordinates: the primary monitor's
// top-left corner is 0,0 and other monitors may lie to its left or above it,
// at negative coordinates. A position is checked against the monitors that
// actually exist, so a window left on a second monitor comes back there, and
// one left on a monitor that has since gone does not open out of reach.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
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

// The bounding rectangle of the monitors; empty when there are none.
Rect VirtualScreen(std::span<const Rect> monitors);
// Whether r shares at least one pixel with one of the monitors.
bool TouchesAMonitor(const Rect& r, std::span<const Rect> monitors);

// The main window's first rectangle: the stored one when its size is positive
// and it touches a monitor (negative edges are kept: a window may hang off an
// edge), otherwise the default window at the primary monitor's top-left
// corner, 11/20 of its width and 7/8 of its height.
Rect MainWindowRect(const Rect& stored, std::span<const Rect> monitors, int primaryWidth,
                    int primaryHeight);

// The window rectangle to restore from a stored placement text
// ("maximized,x,y,width,height"; the flag is ignored). Nothing when the text is
// empty, the size is not positive, the top-left lies beyond the virtual
// screen's right or bottom edge, or the window would touch no monitor. A top
// edge above the monitor the window is mostly on comes down to that
// monitor's top (the caption must stay reachable); x is kept. A window
// without a sizing border keeps its current size.
std::optional<Rect> RestorablePosition(std::string_view stored, std::span<const Rect> monitors,
                                       bool sizable, int currentWidth, int currentHeight);
// The same for a single screen at 0,0.
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
// A popup position moved into an area (the virtual screen).
Point ClampToArea(Point p, const Rect& area);

// The title of a colour or font chooser from the label before its button:
// the label without its access-key "&" and its ":" ("&Printout font:" gives
// "Printout font").
std::string ChooserTitle(std::string_view label);

// The text a link shows for its address: a leading part up to and including
// "mailto:" and everything from "?Subject=" on are left out, so a mail link
// shows the bare address.
std::string LinkText(std::string_view address);

// A font dimension scaled for a chooser, taken to the nearest integer with
// halves away from zero.
std::int32_t ScaleFontDimension(std::int32_t value, double scale);

} // namespace layout
