#pragma once
// The main window: a decorated frame titled "Quillon" whose client is the
// results view and whose bottom edge carries the status bar. It remembers its
// restored placement for the next start, routes the main menu's commands,
// sets the help context of each popup as it opens (and, in the results
// view's context menus, of each highlighted command) and installs the F1 hook.

#include "context/AppContext.h"
#include "context/HelpHook.h"
#include "framework/FrameWindow.h"

#include <functional>
#include <memory>

class WordplayFrameWindow : public fw::FrameWindow {
public:
    WordplayFrameWindow(const std::string& caption, fw::Window* resultsView, AppContext& context);
    ~WordplayFrameWindow() override;

    // The last restored (neither minimised nor maximised) window rectangle.
    AppContext::Placement RestoredPlacement() const { return restored_; }
    bool CanClose() override;

    // Fills the External Lookup popup with the lookup methods as it opens;
    // enabled tells whether the results view has a word to look up.
    using LookupPopupFiller = std::function<void(HMENU popup, bool enabled)>;
    void SetLookupPopupFiller(LookupPopupFiller filler) { lookupFiller_ = std::move(filler); }

    // The popup's help context from the table of identifying commands, or 0
    // when the popup holds none of them.
    static int HelpContextOfPopup(HMENU popup);

protected:
    const char* ClassName() const override { return "QuillonMainWindow"; }
    void SetupWindow() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnInitMenuPopup(HMENU popup, UINT index, bool systemMenu) override;
    void OnMenuSelect(UINT item, UINT flags, HMENU menu) override;
    void OnDestroy() override;

private:
    void OnHelpRequest();
    void OnWindowPosChanged();
    void OnAbout();

    AppContext& context_;
    AppContext::Placement restored_;
    LookupPopupFiller lookupFiller_;
    // A context menu of the results view is open: the frame owns it, and F1
    // there explains the highlighted command rather than the whole menu.
    bool contextMenuHelp_ = false;
    std::unique_ptr<HelpHook> helpHook_; // from set-up to destruction
};
