#pragma once
// Stands in for the results view as the main window's client while that view
// is not part of the program: an empty window that takes the focus and
// answers no commands, so the commands meant for the view stay disabled.

#include "framework/Window.h"

class PlaceholderView : public fw::Window {
protected:
    const char* ClassName() const override { return "QuillonPlaceholderView"; }
    void PreRegisterClass(WNDCLASSEXA& wc) override {
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    }
};
