#pragma once
// Scrolls the contents of a window: keeps a scroll position and a scrollable
// range (both in units of so many pixels), sets the window's scroll bars and
// answers their messages (line steps, pages, thumb). The window hears of
// every change of position and moves its contents. Derived scrollers change
// how a position is kept in range and how positions map onto scroll bars.

#include "framework/Window.h"

#include <cstdint>
#include <functional>

namespace fw {

class Scroller {
public:
    explicit Scroller(Window& window) : window_(window) {}
    virtual ~Scroller() = default;
    Scroller(const Scroller&) = delete;
    Scroller& operator=(const Scroller&) = delete;

    void SetUnits(int x, int y);
    void SetLineStep(int x, int y);
    void SetRange(std::int64_t x, std::int64_t y);
    // Whether changes show on the scroll bars at once.
    void SetAutoRepaint(bool on) { repaint_ = on; }
    // Called after every change of position.
    void OnScrolled(std::function<void()> f) { scrolled_ = std::move(f); }

    virtual void ScrollTo(std::int64_t x, std::int64_t y);
    void ScrollBy(std::int64_t dx, std::int64_t dy) { ScrollTo(x_ + dx, y_ + dy); }
    // WM_HSCROLL (horizontal) or WM_VSCROLL with its request and thumb position.
    void OnScrollBar(bool horizontal, int request, int thumb);

    std::int64_t X() const { return x_; }
    std::int64_t Y() const { return y_; }
    std::int64_t RangeX() const { return rangeX_; }
    std::int64_t RangeY() const { return rangeY_; }
    int UnitX() const { return unitX_; }
    int UnitY() const { return unitY_; }
    // What the window shows, in units.
    std::int64_t VisibleWidth() const;
    std::int64_t VisibleHeight() const;

protected:
    // Sets both scroll bars from the range and the position.
    virtual void SetScrollBars();
    // The position a scroll bar shows for scroll position p.
    virtual int ScrollBarPosition(bool horizontal, std::int64_t p) const;
    // The scroll position a thumb position stands for.
    virtual std::int64_t PositionFromThumb(bool horizontal, int thumb) const;
    Window& GetWindow() const { return window_; }
    bool Repaint() const { return repaint_; }

private:
    Window& window_;
    int unitX_ = 1;
    int unitY_ = 1;
    int lineX_ = 1;
    int lineY_ = 1;
    std::int64_t rangeX_ = 0;
    std::int64_t rangeY_ = 0;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
    bool repaint_ = true;
    std::function<void()> scrolled_;
};

} // namespace fw
