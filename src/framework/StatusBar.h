#pragma once
// The status bar at the bottom edge of a frame: one text field that shows the
// program's messages and, while a menu is open, the hint of the highlighted
// command.

#include "framework/Handles.h"
#include "framework/Window.h"

#include <string>

namespace fw {

class StatusBar : public Window {
public:
    enum Options : unsigned {
        Recessed = 0,       // the text field is drawn sunk into the bar
        Flat = 1u << 0,     // no border around the text field
        SizeGrip = 1u << 1, // the grip in the bottom-right corner
    };
    explicit StatusBar(unsigned options = Recessed) : options_(options) {}

    bool CreateBar(HWND frame);
    // The default GUI font at another DPI, when the frame has moved.
    void SetDpi(int dpi);
    void SetStatus(const std::string& text);
    std::string Status() const;
    // Height the bar takes at the frame's bottom edge, 0 before it exists.
    int Height() const;
    // Follows the frame's new size (the control sizes itself to the parent).
    void Reposition();
    unsigned Options() const { return options_; }

protected:
    // Removes options before the bar is created (derived bars drop a gadget).
    void SetOptions(unsigned options) { options_ = options; }

private:
    unsigned options_;
    Font font_; // the default GUI font made for a DPI other than the screen's
};

} // namespace fw
