#pragma once
// The main window: a decorated frame titled "Quillon" whose client is the
// results view and whose bottom edge carries the status bar. It remembers its
// restored placement for the next start, routes the main menu's commands,
// sets the help context of each popup as it opens and installs the F1 hook.

#include "app/AppContext.h"
#include "framework/FrameWindow.h"

class WordplayFrameWindow : public fw::FrameWindow {
public:
    WordplayFrameWindow(const std::string& caption, fw::Window* resultsView, AppContext& context);
    ~WordplayFrameWindow() override;

    // The last restored (neither minimised nor maximised) window rectangle.
    AppContext::Placement RestoredPlacement() const { return restored_; }
    bool CanClose() override;

    // The popup's help context from the table of identifying commands, or 0
    // when the popup holds none of them.
    static int HelpContextOfPopup(HMENU popup);

protected:
    const char* ClassName() const override { return "QuillonMainWindow"; }
    void SetupWindow() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnInitMenuPopup(HMENU popup, UINT index, bool systemMenu) override;
    void OnDestroy() override;
    // The External Lookup popup is about to open; enabled tells whether the
    // results view has a word to look up. The lookup methods fill it.
    virtual void OnLookupPopup(HMENU popup, bool enabled);

private:
    void OnHelpRequest();
    void OnWindowPosChanged();
    void OnAbout();

    AppContext& context_;
    AppContext::Placement restored_;
};
