#include "app/WordplayFrameWindow.h"

#include "context/HelpHook.h"
#include "context/ProductAddresses.h"
#include "dialogs/RedoAboutBoxViewWindows.h"
#include "framework/Handles.h"
#include "resources/resource.h"

#include <iterator>

namespace {

// Which popup a help request refers to: the first row whose command occurs in
// the popup (or in a popup nested in it) gives the context. Order matters: the
// Edit popup also holds the External Lookup popup.
struct PopupHelp {
    UINT command;
    int context;
};
constexpr PopupHelp kPopupHelp[] = {
    {CM_EXIT, IDH_FILEMENU},          {CM_EDITCUT, IDH_EDITMENU},
    {CM_LOOKUPSETUP, IDH_LOOKUPMENU}, {CM_OPTIONS, IDH_TOOLSMENU},
    {CM_HELPCONTENTS, IDH_HELPMENU},  {CM_DEMOTE, IDM_HEADERMENU},
    {CM_LOOKUPWORD, IDM_RESULTMENU},
};

} // namespace

WordplayFrameWindow::WordplayFrameWindow(const std::string& caption, fw::Window* resultsView,
                                         AppContext& context)
    : fw::FrameWindow(caption, resultsView), context_(context) {
    // Page Setup and Options belong to the results view and reach it through
    // the frame's routing to its client.
    commands_.Add(CM_OWBUILD, [this] { context_.LaunchTool("OWBUILD"); });
    commands_.Add(CM_OWMERGE, [this] { context_.LaunchTool("OWMERGE"); });
    commands_.Add(CM_HELPQUICKSTART, [this] { context_.ShowHelp(HELP_CONTEXT, IDH_QUICKSTART); });
    commands_.Add(CM_HELPCONTENTS, [this] { context_.ShowHelp(HELP_FINDER, 0); });
    // The tutorials and the online help are the pages shipped beside the
    // program, so they open without a network and always match the version.
    commands_.Add(CM_TUTORIALS, [this] { context_.ShowHelp(HELP_CONTEXT, IDH_QUICKSTART); });
    commands_.Add(CM_EMAILSUPPORT, [this] { context_.OpenAddress(SupportMailLink(context_)); });
    commands_.Add(CM_ONLINEHELP, [this] { context_.ShowHelp(HELP_FINDER, 0); });
    commands_.Add(CM_HELPABOUT, [this] { OnAbout(); });
}

WordplayFrameWindow::~WordplayFrameWindow() = default;

int WordplayFrameWindow::HelpContextOfPopup(HMENU popup) {
    fw::MenuView menu(popup);
    for (const PopupHelp& row : kPopupHelp) {
        // The External Lookup popup is the one that holds Setup itself: the
        // result list's context menu nests it, and must neither take its help
        // context nor have the lookup methods inserted among its own items.
        const bool found =
            row.command == CM_LOOKUPSETUP ? menu.HasItem(row.command) : menu.Contains(row.command);
        if (found) return row.context;
    }
    return 0;
}

void WordplayFrameWindow::SetupWindow() {
    fw::FrameWindow::SetupWindow();
    RECT r = WindowRect();
    restored_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    helpHook_ = std::make_unique<HelpHook>(Handle());
}

void WordplayFrameWindow::OnDestroy() {
    helpHook_.reset();
    PostQuitMessage(0);
}

bool WordplayFrameWindow::CanClose() {
    context_.SaveWindowPlacement(restored_.x, restored_.y, restored_.width, restored_.height);
    fw::FrameWindow::CanClose(); // the results view saves its settings
    return true;
}

void WordplayFrameWindow::OnInitMenuPopup(HMENU popup, UINT index, bool systemMenu) {
    fw::FrameWindow::OnInitMenuPopup(popup, index, systemMenu);
    if (systemMenu) contextMenuHelp_ = false; // the window menu tracked from the caption
    if (!popup || systemMenu) return;
    if (int context = HelpContextOfPopup(popup)) {
        CurrentHelpContext = context;
        SavedHelpContext = context;
    }
    if (CurrentHelpContext == IDH_LOOKUPMENU && lookupFiller_) {
        fw::CommandEnabler word(CM_LOOKUPWORD);
        RouteCommandEnable(word);
        lookupFiller_(popup, word.Handled() && word.Enabled());
    }
}

void WordplayFrameWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    fw::FrameWindow::OnMenuSelect(item, flags, menu);
    if (contextMenuHelp_) FollowMenuSelection(item, flags, menu);
}

void WordplayFrameWindow::OnHelpRequest() {
    context_.ShowHelp(HELP_CONTEXT, CurrentHelpContext ? CurrentHelpContext : IDH_MAINWINDOW);
}

void WordplayFrameWindow::OnWindowPosChanged() {
    if (IsIconic(Handle()) || IsZoomed(Handle())) return;
    RECT r = WindowRect();
    restored_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void WordplayFrameWindow::OnAbout() {
    RedoAboutBoxViewWindows about(context_);
    about.DoModal(Handle());
}

LRESULT WordplayFrameWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == HelpRequestMessage && msg != 0) {
        OnHelpRequest();
        return TRUE;
    }
    switch (msg) {
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged();
        break; // the base still sizes the client and the bar
    case WM_ENTERMENULOOP:
        // The menu bar enters with FALSE; TrackPopupMenu, which only the
        // results view's context menus use here, with TRUE.
        contextMenuHelp_ = wParam != FALSE;
        break;
    case WM_EXITMENULOOP:
        contextMenuHelp_ = false;
        break; // the base puts the status text back
    case WM_ENDSESSION:
        // Windows is shutting down and will not close the window: keep the
        // placement and the view's settings as a normal close would.
        if (wParam) CanClose();
        return 0;
    }
    return fw::FrameWindow::WndProc(msg, wParam, lParam);
}
