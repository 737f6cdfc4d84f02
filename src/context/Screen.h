#pragma once
// The desktop's monitors as the placement arithmetic sees them, so that a
// window can be checked against every monitor and not the primary alone.

#include "layout/DialogLayout.h"

#include <vector>

// Every monitor's rectangle in virtual-screen coordinates. Never empty: when
// the system lists no monitor, the virtual screen (or the primary screen)
// stands for one.
std::vector<layout::Rect> MonitorRects();

// The bounding rectangle of all monitors.
layout::Rect VirtualScreenRect();
