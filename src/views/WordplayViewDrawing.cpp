// Drawing the result list: each row is drawn run by run in the result font,
// the style letters choosing the colour, with the current token underlined.
// Text widths for hit-testing and tooltips are measured in the same font, so
// what the user points at is what was drawn there.
#include "views/WordplayViewWindows.h"

#include "layout/Dpi.h"
#include "results/ColumnTable.h"
#include "results/RowPaint.h"
#include "results/Tokens.h"

DisplayedText WordplayViewWindows::Shown(std::size_t index) const {
    if (index >= rows_.size()) return {};
    return DisplayText(rows_[index], brackets_);
}

std::string WordplayViewWindows::CellTextOf(std::size_t index, int position) const {
    return CellText(rows_, index, position, brackets_, columns_);
}

int WordplayViewWindows::TextWidth(std::string_view text) const {
    if (!measureDC_ || text.empty()) return 0;
    SIZE size{};
    GetTextExtentPoint32A(measureDC_.Get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int WordplayViewWindows::RowHeight() const {
    TEXTMETRICA tm{};
    if (measureDC_ && GetTextMetricsA(measureDC_.Get(), &tm))
        return tm.tmHeight + geometry_.extraHeight;
    return layout::ScaleToDpi(16, Dpi());
}

void WordplayViewWindows::DrawRow(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= rows_.size()) return;
    const std::size_t index = item.itemID;
    HDC dc = item.hDC;
    const DisplayedText shown = Shown(index);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;

    RowColours colours;
    colours.text = resultFont_.colour;
    colours.background = background_;
    colours.notation = notation_;
    colours.deletion = deletion_;
    colours.abbreviation = abbreviation_;
    const RowInk ink = RowInkFor(colours, selected);
    const COLORREF text = ink.text;
    fw::SelectObjectScope font(dc, resultHFont_.Get());
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ink.background);

    // Column 0: the notation, one run of equal style letters at a time. The
    // text alignment that updates the current position lays the runs end to end.
    const RECT& r = item.rcItem;
    const int width0 = list_.ColumnWidth(0);
    RECT clip{r.left + geometry_.clipIndent, r.top, r.left + width0, r.bottom};
    const UINT oldAlign = SetTextAlign(dc, TA_UPDATECP | TA_TOP | TA_LEFT);
    MoveToEx(dc, r.left + geometry_.textIndent, r.top, nullptr);
    const bool oneSelected = list_.SelectedCount() == 1;
    int tokenStartX = -1;
    int tokenEndX = -1;
    bool first = true;
    for (const StyleRun& run : DrawingRuns(shown.style)) {
        SetTextColor(dc, RunColour(run.style, colours, ink));
        const bool inToken = RunInToken(run, token_);
        POINT before{};
        GetCurrentPositionEx(dc, &before);
        if (inToken && tokenStartX < 0) tokenStartX = before.x;
        ExtTextOutA(dc, 0, 0, first ? ETO_OPAQUE | ETO_CLIPPED : ETO_CLIPPED, &clip,
                    shown.text.data() + run.start, static_cast<UINT>(run.length), nullptr);
        if (inToken) {
            POINT after{};
            GetCurrentPositionEx(dc, &after);
            tokenEndX = after.x;
        }
        first = false;
    }
    if (first) ExtTextOutA(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &clip, "", 0, nullptr);
    SetTextAlign(dc, oldAlign);

    // Columns at positions 1 and 2, each cut at the item's right edge.
    SetTextColor(dc, text);
    int left = r.left + width0;
    for (int position = 1; position < ColumnTable::Positions; ++position) {
        const int width = list_.ColumnWidth(position);
        if (left >= r.right) break;
        RECT cell{left, r.top, std::min<LONG>(left + width, r.right), r.bottom};
        const std::string cellText = CellTextOf(index, position);
        ExtTextOutA(dc, left + geometry_.cellIndent, r.top, ETO_OPAQUE | ETO_CLIPPED, &cell,
                    cellText.data(), static_cast<UINT>(cellText.size()), nullptr);
        left += width;
    }
    // The strip left of column 0's clip rectangle belongs to the row as well.
    RECT strip{r.left, r.top, r.left + geometry_.clipIndent, r.bottom};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &strip, "", 0, nullptr);

    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        focus.left += geometry_.clipIndent;
        DrawFocusRect(dc, &focus);
    }
    if (oneSelected && selected && tokenStartX >= 0 && tokenStartX < tokenEndX) {
        const int lineBottom = r.bottom - geometry_.underlineGap;
        RECT line{tokenStartX, lineBottom - geometry_.underlineThickness, tokenEndX, lineBottom};
        fw::Brush brush(CreateSolidBrush(text));
        FillRect(dc, &line, brush.Get());
    }
}
