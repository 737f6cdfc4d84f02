#include "app/QuillonAppWindows.h"

#include "app/GripBar.h"
#include "context/AnsiPaths.h"
#include "context/HelpHook.h"
#include "context/Persist.h"
#include "context/Screen.h"
#include "dictionary/OWDictionaryList.h"
#include "resources/resource.h"

QuillonAppWindows::QuillonAppWindows()
    : QuillonAppWindows(::ProgramDirectory(), DefaultShell(), RegistrySettings()) {}

QuillonAppWindows::QuillonAppWindows(std::string programDirectory, Shell& shell,
                                     SettingsStore& settings)
    : fw::Application("Quillon"), programDirectory_(std::move(programDirectory)), shell_(shell),
      settings_(settings) {
    RegisterHelpRequestMessage();
    // Dictionary paths are ANSI, as fopen takes them; their time and size
    // must be read under the same names.
    OWSetFileFactsReader([](const std::string& path, OWFileFacts& facts) {
        return ReadAnsiFileFacts(path, facts.modified, facts.size);
    });
}

QuillonAppWindows::~QuillonAppWindows() {
    // The frame and the view go before the context they refer to.
    frame_.reset();
    view_.reset();
    context_.reset();
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

    const AppContext::Placement stored =
        context_->LoadWindowPlacement(view_.get(), frame_->GetStatusBar());
    // A window left on another monitor comes back there; one that would
    // touch no monitor of this session (values from another monitor layout)
    // could not be reached and opens at the default place instead.
    const layout::Rect p =
        layout::MainWindowRect({stored.x, stored.y, stored.width, stored.height}, MonitorRects(),
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
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
