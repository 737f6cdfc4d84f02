#pragma once
// The main window's status bar: a recessed text field in the default GUI font
// with a size grip in the corner and no keyboard-mode indicators.

#include "framework/StatusBar.h"

class GripBar : public fw::StatusBar {
public:
    GripBar() : fw::StatusBar(Recessed | SizeGrip) {}
};
