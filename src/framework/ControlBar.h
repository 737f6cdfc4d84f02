#pragma once
// The control bar along the top edge of a frame: a toolbar of bitmap buttons
// that send their command to the frame, groups of exclusive buttons (pressing
// one releases the others), gaps, and text fields sitting in gaps of their
// own. It draws in a gadget font of its own, and each button's tip is the
// text after the line break of the string-table entry with its command's
// number. Gadgets are declared first and made with the bar, at the DPI of
// its frame: pictures, gaps and the font grow on sharper screens, and are
// made again when the frame moves to a screen of another DPI.

#include "framework/Handles.h"
#include "framework/Window.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace fw {

class ControlBar : public Window {
public:
    explicit ControlBar(int gadgetPointSize = 10) : pointSize_(gadgetPointSize) {}
    ~ControlBar() override;

    // A button showing the bitmap resource with the command's number.
    void AddButton(UINT id, bool exclusive = false, bool pressed = false);
    // A gap of width pixels at 96 DPI.
    void AddSeparator(int width);
    // A recessed, left-aligned text field wide enough for `averageChars`
    // average characters of the gadget font, and for sample when given.
    void AddTextField(int id, int averageChars, std::string sample = {});

    bool CreateBar(HWND frame);
    // Makes the gadgets again for another DPI, keeping their states.
    void SetDpi(int dpi);
    int Dpi() const { return dpi_; }
    int Height() const;
    // The size of the buttons' pictures.
    SIZE ImageSize() const { return imageSize_; }
    HFONT GadgetFont() const { return font_.Get(); }
    HWND TextField(int id) const;
    HWND ToolTips() const;

    void EnableButton(UINT id, bool enable) const;
    void PressButton(UINT id, bool pressed) const;
    bool IsButtonEnabled(UINT id) const;
    bool IsButtonPressed(UINT id) const;
    // Where a button is, in the bar's client coordinates.
    RECT ButtonRect(UINT id) const;
    std::vector<UINT> ButtonIds() const;

    // The tip of a button: the text after the first line break of its string.
    static std::string TipText(UINT id);
    // Answers the tooltip's request for a button's text; false for other
    // notifications.
    bool OnTipRequest(NMHDR* hdr);

private:
    struct Gadget {
        enum class Kind { Button, Separator, TextField } kind;
        UINT id = 0;
        int width = 0; // separators; average characters of text fields
        bool exclusive = false;
        bool pressed = false;
        std::string sample;
        bool enabled = true;
    };

    void MakeFont();
    void MakeImages();
    void AddGadgets();
    void RemoveGadgets();
    void PlaceTextFields();

    int pointSize_;
    int dpi_ = 96;
    SIZE imageSize_{0, 0};
    std::vector<Gadget> gadgets_;
    Font font_;
    HIMAGELIST images_ = nullptr;         // the buttons' images, one cell each
    HIMAGELIST disabledImages_ = nullptr; // the same, greyed
    std::vector<HWND> fields_;            // children of the bar, which destroys them
    std::string tip_;                     // the text handed to the tooltip last
};

} // namespace fw
