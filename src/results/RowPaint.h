// The window-free half of drawing a result row: which stretches of the text are
// drawn in one colour, which colour that is, and which of them the token
// underline spans. The list's owner-draw code measures and paints them.
#pragma once

#include "results/WordplayRow.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A colour as the platform stores it (0x00bbggrr on Windows); only compared here.
using RowColour = std::uint32_t;

struct RowColours {
    RowColour text = 0;                // the result font's colour
    RowColour background = 0xffffff;   // result background
    RowColour notation = 0x0000ff;     // red
    RowColour deletion = 0x808080;     // grey
    RowColour abbreviation = 0xff0000; // blue
};

// One stretch of identical style letters; case counts here, unlike for tokens,
// because 'e' and 'E' are drawn in different colours.
struct StyleRun {
    std::size_t start = 0;
    std::size_t length = 0;
    char style = 0;
};
std::vector<StyleRun> DrawingRuns(std::string_view style);

// Text and background of a row: exchanged when the row is selected.
struct RowInk {
    RowColour text = 0;
    RowColour background = 0;
};
RowInk RowInkFor(const RowColours& colours, bool selected);

// The colour of a run: notation, abbreviation or deletion colour for 'n', 'b' and
// 'E', the text colour for the rest. A colour that would vanish into the current
// background is replaced by the text colour.
RowColour RunColour(char style, const RowColours& colours, const RowInk& ink);

// Where the parts of a row sit, in pixels of the list. Column 0 is clipped
// clipIndent from the row's left edge and its text starts textIndent in; the
// other cells' texts start cellIndent into the cell. The token underline is
// underlineThickness high with underlineGap below it, and a row is
// extraHeight taller than the result font's text. Hit-testing and tooltips use
// the same numbers as the drawing, so that what the user points at is what
// was drawn there. The defaults are those of a 96-DPI screen.
struct RowGeometry {
    int clipIndent = 2;
    int textIndent = 4;
    int cellIndent = 6;
    int underlineThickness = 1;
    int underlineGap = 1;
    int extraHeight = 1;

    static RowGeometry ForDpi(int dpi);
};

// Whether a run lies wholly inside the token, for placing the underline.
bool RunInToken(const StyleRun& run, const WordplayRowContext& token);
