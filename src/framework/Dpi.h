#pragma once
// The DPI of the screen a window is on. Quillon is aware of each monitor's
// DPI: a window measures its fixed sizes from its own DPI and is told when it
// moves to a monitor of another (WM_DPICHANGED). The functions that give a
// window's DPI and metrics at a DPI arrived with Windows 10; on older systems
// the screen's DPI, the same for every monitor, stands in.

#include "framework/Handles.h"

#include <windows.h>

namespace fw {

// GetDpiForWindow where the system has it, else the screen's LOGPIXELSY.
int WindowDpi(HWND hwnd);
// The screen's DPI (the system DPI of older Windows).
int ScreenDpi();
// A system metric at a DPI: GetSystemMetricsForDpi where the system has it,
// else the metric at the screen's DPI scaled to dpi.
int MetricForDpi(int index, int dpi);
// A LOGFONT whose height and width are 96-DPI pixels, for drawing at dpi.
LOGFONTA LogFontForDpi(LOGFONTA font, int dpi);
// A font made from such a LOGFONT for drawing at dpi.
Font FontForDpi(const LOGFONTA& font, int dpi);
// Stops the dialog manager of Windows 10 from rescaling a dialog by itself
// when its DPI changes, for windows that do it themselves.
void TakeOverDialogScaling(HWND dialog);

} // namespace fw
