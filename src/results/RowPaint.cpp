#include "results/RowPaint.h"

#include "layout/Dpi.h"

std::vector<StyleRun> DrawingRuns(std::string_view style) {
    std::vector<StyleRun> runs;
    for (std::size_t at = 0; at < style.size();) {
        std::size_t end = at + 1;
        while (end < style.size() && style[end] == style[at])
            ++end;
        runs.push_back(StyleRun{at, end - at, style[at]});
        at = end;
    }
    return runs;
}

RowInk RowInkFor(const RowColours& colours, bool selected) {
    if (selected) return RowInk{colours.background, colours.text};
    return RowInk{colours.text, colours.background};
}

RowColour RunColour(char style, const RowColours& colours, const RowInk& ink) {
    RowColour colour = ink.text;
    if (style == StyleLetter::Notation)
        colour = colours.notation;
    else if (style == StyleLetter::Abbreviation)
        colour = colours.abbreviation;
    else if (style == StyleLetter::Deleted)
        colour = colours.deletion;
    return colour == ink.background ? ink.text : colour;
}

bool RunInToken(const StyleRun& run, const WordplayRowContext& token) {
    if (token.length == 0) return false;
    return run.start >= token.start &&
           run.start + run.length <= static_cast<std::size_t>(token.start) + token.length;
}

RowGeometry RowGeometry::ForDpi(int dpi) {
    const RowGeometry base;
    RowGeometry g;
    g.clipIndent = layout::ScaleToDpi(base.clipIndent, dpi);
    g.textIndent = layout::ScaleToDpi(base.textIndent, dpi);
    g.cellIndent = layout::ScaleToDpi(base.cellIndent, dpi);
    g.underlineThickness = layout::ScaleToDpi(base.underlineThickness, dpi);
    g.underlineGap = layout::ScaleToDpi(base.underlineGap, dpi);
    g.extraHeight = layout::ScaleToDpi(base.extraHeight, dpi);
    return g;
}
