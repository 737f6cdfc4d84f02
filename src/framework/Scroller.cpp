#include "framework/Scroller.h"

#include <algorithm>
#include <climits>

namespace fw {

void Scroller::SetUnits(int x, int y) {
    unitX_ = std::max(x, 1);
    unitY_ = std::max(y, 1);
}

void Scroller::SetLineStep(int x, int y) {
    lineX_ = x;
    lineY_ = y;
}

void Scroller::SetRange(std::int64_t x, std::int64_t y) {
    rangeX_ = std::max<std::int64_t>(x, 0);
    rangeY_ = std::max<std::int64_t>(y, 0);
    SetScrollBars();
    ScrollTo(x_, y_);
}

std::int64_t Scroller::VisibleWidth() const {
    const RECT r = window_.ClientRect();
    return (r.right - r.left) / unitX_;
}

std::int64_t Scroller::VisibleHeight() const {
    const RECT r = window_.ClientRect();
    return (r.bottom - r.top) / unitY_;
}

void Scroller::ScrollTo(std::int64_t x, std::int64_t y) {
    x = std::clamp<std::int64_t>(x, 0, rangeX_);
    y = std::clamp<std::int64_t>(y, 0, rangeY_);
    const bool moved = x != x_ || y != y_;
    x_ = x;
    y_ = y;
    SetScrollBars();
    if (moved && scrolled_) scrolled_();
}

void Scroller::SetScrollBars() {
    HWND hwnd = window_.Handle();
    if (!hwnd) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    for (bool horizontal : {true, false}) {
        if (!(style & (horizontal ? WS_HSCROLL : WS_VSCROLL))) continue;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMax = static_cast<int>(std::min<std::int64_t>(horizontal ? rangeX_ : rangeY_, INT_MAX));
        si.nPos = ScrollBarPosition(horizontal, horizontal ? x_ : y_);
        SetScrollInfo(hwnd, horizontal ? SB_HORZ : SB_VERT, &si, repaint_);
    }
}

int Scroller::ScrollBarPosition(bool, std::int64_t p) const {
    return static_cast<int>(std::clamp<std::int64_t>(p, 0, INT_MAX));
}

std::int64_t Scroller::PositionFromThumb(bool, int thumb) const {
    return thumb;
}

void Scroller::OnScrollBar(bool horizontal, int request, int thumb) {
    const std::int64_t position = horizontal ? x_ : y_;
    const std::int64_t line = horizontal ? lineX_ : lineY_;
    const std::int64_t page = horizontal ? VisibleWidth() : VisibleHeight();
    std::int64_t to = position;
    switch (request) {
    case SB_LINEUP:
        to = position - line;
        break;
    case SB_LINEDOWN:
        to = position + line;
        break;
    case SB_PAGEUP:
        to = position - page;
        break;
    case SB_PAGEDOWN:
        to = position + page;
        break;
    case SB_TOP:
        to = 0;
        break;
    case SB_BOTTOM:
        to = horizontal ? rangeX_ : rangeY_;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        to = PositionFromThumb(horizontal, thumb);
        break;
    default:
        return;
    }
    if (horizontal)
        ScrollTo(to, y_);
    else
        ScrollTo(x_, to);
}

} // namespace fw
