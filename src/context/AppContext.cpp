#include "context/AppContext.h"

#include "context/AnsiPaths.h"
#include "context/ExternalLookup.h"
#include "context/Persist.h"
#include "lookup/LookupMethodSet.h"
#include "resources/resource.h"

#include <commdlg.h>

std::string DirectoryOfPath(const std::string& path) {
    auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ProgramDirectory() {
    const std::wstring module = ModulePath();
    if (module.empty()) return {};
    const auto name = AnsiNameOf(module);
    return name ? DirectoryOfPath(*name) : std::string();
}

AppContext::AppContext(std::string helpFilePath, std::string programDirectory)
    : AppContext(std::move(helpFilePath), std::move(programDirectory), DefaultShell(),
                 RegistrySettings()) {}

AppContext::AppContext(std::string helpFilePath, std::string programDirectory, Shell& shell,
                       SettingsStore& settings)
    : helpFilePath_(std::move(helpFilePath)), programDirectory_(std::move(programDirectory)),
      shell_(shell), settings_(settings), help_(shell) {}

AppContext::~AppContext() = default;

AppContext::Placement AppContext::LoadWindowPlacement(fw::Window* resultsView,
                                                      fw::StatusBar* statusBar) {
    resultsView_ = resultsView;
    statusBar_ = statusBar;
    Placement p;
    if (auto key = settings_.Open(PersistMode::Read)) {
        key->ReadInt("WindowX", p.x);
        key->ReadInt("WindowY", p.y);
        key->ReadInt("WindowW", p.width);
        key->ReadInt("WindowH", p.height);
    }
    HINSTANCE module = GetModuleHandleA(nullptr);
    const int smallWidth = GetSystemMetrics(SM_CXSMICON);
    const int smallHeight = GetSystemMetrics(SM_CYSMICON);
    if (smallWidth > 0 && smallHeight > 0)
        smallIcon_.Reset(static_cast<HICON>(
            LoadImageA(module, IDI_GRIDICON, IMAGE_ICON, smallWidth, smallHeight, 0)));
    largeIcon_.Reset(
        static_cast<HICON>(LoadImageA(module, IDI_GRIDICON, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    return p;
}

void AppContext::SaveWindowPlacement(int x, int y, int width, int height) {
    if (auto key = settings_.Open(PersistMode::Write)) {
        key->WriteInt("WindowX", x);
        key->WriteInt("WindowY", y);
        key->WriteInt("WindowW", width);
        key->WriteInt("WindowH", height);
    }
    ShowHelp(HELP_QUIT, 0);
}

std::unique_ptr<fw::Printer> AppContext::CreatePrinter() {
    return std::make_unique<fw::Printer>();
}

fw::Printer* AppContext::GetPrinter() {
    if (!printer_) {
        printer_ = CreatePrinter();
        // Without a default printer nothing is kept, so that a printer
        // installed later is found on the next call.
        if (printer_ && printer_->Error() == PDERR_NODEFAULTPRN) printer_.reset();
    }
    return printer_.get();
}

void AppContext::ShowHelp(UINT command, ULONG_PTR datum) {
    help_.Call(helpFilePath_, command, datum);
}

std::string AppContext::LoadResourceString(UINT id) const {
    char buffer[4100] = {};
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

void AppContext::SetStatusText(UINT id) {
    if (!statusBar_ || !statusBar_->Handle()) return;
    statusBar_->SetStatus(LoadResourceString(id));
    UpdateWindow(statusBar_->Handle());
}

void AppContext::LaunchTool(const std::string& name) {
    LaunchProgram(shell_, programDirectory_ + name, std::string());
}

void AppContext::OpenAddress(const std::string& address) {
    shell_.Open(address);
}

LookupMethodSet& AppContext::LookupMethods() {
    if (!lookupMethods_) {
        lookupMethods_ = std::make_unique<LookupMethodSet>();
        lookupMethods_->Load(settings_);
    }
    return *lookupMethods_;
}

namespace {
HWND MainWindowOf(fw::Window* view) {
    return view && view->Handle() ? GetAncestor(view->Handle(), GA_ROOT) : nullptr;
}
} // namespace

bool AppContext::LookupOrReport(UINT command, const std::string& word, HWND owner) {
    Win32LookupPlatform platform(*this);
    if (LookupMethods().Execute(command, word, platform)) return true;
    if (!owner) owner = MainWindowOf(resultsView_);
    MessageBoxA(owner, LoadResourceString(IDS_LOOKUPFAILED).c_str(),
                LoadResourceString(IDS_LOOKUPFAILURECAPTION).c_str(), MB_OK | MB_ICONINFORMATION);
    return false;
}

void AppContext::CopyTextToClipboard(const std::string& text) {
    PutTextOnClipboard(resultsView_ ? resultsView_->Handle() : nullptr, text);
}

void AppContext::RebuildLookupMenu(HMENU submenu, bool enableItems) {
    ::RebuildLookupMenu(submenu, LookupMethods().MenuItems(
                                     enableItems, LoadResourceString(IDS_DEFAULTLOOKUPSUFFIX)));
}
