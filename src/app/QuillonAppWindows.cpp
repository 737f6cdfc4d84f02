#include "app/QuillonAppWindows.h"

#include "app/GripBar.h"
#include "context/HelpHook.h"
#include "context/Persist.h"
#include "resources/resource.h"

#include <cstdint>

QuillonAppWindows::QuillonAppWindows()
    : QuillonAppWindows(::ProgramDirectory(), DefaultShell(), RegistrySettings()) {}

QuillonAppWindows::QuillonAppWindows(std::string programDirectory, Shell& shell,
                                     SettingsStore& settings)
    : fw::Application("Quillon"), programDirectory_(std::move(programDirectory)), shell_(shell),
      settings_(settings) {
    RegisterHelpRequestMessage();
}

QuillonAppWindows::~QuillonAppWindows() {
    // The frame and the view go before the context they refer to.
    frame_.reset();
    view_.reset();
    context_.reset();
}

AppContext::Placement QuillonAppWindows::InitialPlacement(const AppContext::Placement& stored,
                                                          int screenWidth, int screenHeight) {
    // A window left partly off the top or left edge comes back there, but one
    // that would lie wholly off screen (values from another monitor layout)
    // is not restored: the user could not reach it.
    const std::int64_t right = std::int64_t{stored.x} + stored.width;
    const std::int64_t bottom = std::int64_t{stored.y} + stored.height;
    if (stored.width > 0 && stored.height > 0 && stored.x < screenWidth &&
        stored.y < screenHeight && right > 0 && bottom > 0)
        return stored;
    return {0, 0, screenWidth * 11 / 20, screenHeight * 7 / 8};
}

void QuillonAppWindows::InitMainWindow() {
    context_ = std::make_unique<AppContext>(programDirectory_ + "quillo.hlp", programDirectory_,
                                            shell_, settings_);
    view_ = std::make_unique<WordplayViewWindows>(*context_);
    frame_ = std::make_unique<WordplayFrameWindow>("Quillon", view_.get(), *context_);
    frame_->InsertStatusBar(std::make_unique<GripBar>());
    frame_->SetLookupPopupFiller([context = context_.get()](HMENU popup, bool enabled) {
        context->RebuildLookupMenu(popup, enabled);
    });

    AppContext::Placement stored =
        context_->LoadWindowPlacement(view_.get(), frame_->GetStatusBar());
    AppContext::Placement p =
        InitialPlacement(stored, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    auto& attr = frame_->Attr();
    attr.x = p.x;
    attr.y = p.y;
    attr.width = p.width;
    attr.height = p.height;
    attr.menuName = IDM_MAINMENU;
    attr.iconName = IDI_GRIDICON;
    SetMainWindow(frame_.get());
}

bool QuillonAppWindows::InitInstance() {
    if (!fw::Application::InitInstance()) return false;
    if (view_ && view_->Handle()) view_->Activate();
    if (context_->StatusBar()) context_->SetStatusText(IDS_PRESSF1);
    return true;
}

bool QuillonAppWindows::OnCommand(UINT id) {
    if (id != CM_EXIT) return false;
    if (fw::FrameWindow* frame = MainWindow(); frame && frame->Handle())
        SendMessageA(frame->Handle(), WM_CLOSE, 0, 0);
    return true;
}

void QuillonAppWindows::CommandEnable(fw::CommandEnabler& ce) {
    if (ce.Id() == CM_EXIT) ce.Enable();
}
