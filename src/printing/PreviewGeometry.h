// The arithmetic of the print preview, kept free of window code: where the
// page goes in the window, and how the preview's scroller maps scroll
// positions onto scroll bars, whose positions end at 32 767.
#pragma once

#include "layout/DialogLayout.h"

#include <cstdint>

namespace preview {

using Rect = layout::Rect;

// The page window inside a client of clientWidth x clientHeight with margin m
// all round: a portrait (or square) page fills the width and takes 95 % of
// its true height for that width; a landscape page fills the height and takes
// 95 % of its true width. Never negative.
Rect PageRect(int clientWidth, int clientHeight, int margin, int pageWidth, int pageHeight);

// Scroll bars count to 32 767 at most.
inline constexpr int kScrollBarLimit = 32767;

// The scroll bar's maximum for a scrollable size: 0 ... min(range, 32 767).
int ScrollBarMaximum(std::int64_t range);
// A scroll position kept within 0 ... range - visible (0 when all is visible).
std::int64_t ClampScrollPosition(std::int64_t position, std::int64_t range, std::int64_t visible);
// The scroll bar position that shows scroll position p: p itself while the
// range fits a scroll bar, else scaled to the bar, rounded.
int ScrollBarPosition(std::int64_t p, std::int64_t range, std::int64_t visible);
// The scroll position a thumb position t stands for: the inverse of the above.
std::int64_t ScrollPositionFromThumb(int t, std::int64_t range, std::int64_t visible);

} // namespace preview
