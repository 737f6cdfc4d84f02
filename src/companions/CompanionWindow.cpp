#include "companions/CompanionWindow.h"

#include "context/HelpEngine.h"
#include "context/Screen.h"
#include "framework/Handles.h"
#include "layout/DialogLayout.h"
#include "resources/resource.h"
#include "settings/SettingsText.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>

namespace {

// Posted by the worker: progress in thousandths (wParam), and the end.
constexpr UINT kProgressMessage = WM_APP + 40;
constexpr UINT kDoneMessage = WM_APP + 41;
// Posted to itself once the system has scaled the window for a new DPI.
constexpr UINT kDpiScaledMessage = WM_APP + 42;

constexpr std::size_t kSelectionBuffer = 64 * 1024;

// "Name|pattern|Name|pattern" as the file dialogs want it: NUL between the
// parts and two at the end.
std::string DialogFilter(std::string text) {
    for (char& c : text)
        if (c == '|') c = '\0';
    text.append(2, '\0');
    return text;
}

} // namespace

CompanionWindow::CompanionWindow(int templateId, std::string prefix, Shell& shell,
                                 std::string programDirectory, SettingsStore& settings)
    : fw::Dialog(templateId), SettingsAccessor(std::move(prefix), settings),
      templateId_(templateId), shell_(shell), programDirectory_(std::move(programDirectory)) {
    AddFileList(IDC_LISTS, IDC_LISTSREMOVE);
    AddFileList(IDC_SECONDLIST, IDC_SECONDREMOVE);
    commands_.Add(IDC_RUN, [this] { OnRunOrStop(); });
    commands_.Add(IDC_HELPBUTTON, [this] { OnHelp(); });
    commands_.Add(IDC_LISTSADD, [this] {
        Lists().Add(ChooseFilesToRead(IDS_WORDLISTSELECTION, IDS_WORDLISTFILTER));
    });
    // The worker asks through this whether to go on; it posts what it reports.
    report_ = [this](int permille) {
        if (posted_.exchange(permille) != permille)
            PostMessageA(jobWindow_, kProgressMessage, static_cast<WPARAM>(permille), 0);
        return !stop_.load();
    };
}

CompanionWindow::~CompanionWindow() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

FileListBox& CompanionWindow::AddFileList(int listId, int removeId) {
    files_.push_back(
        {std::make_unique<FileListBox>([this] { UpdateButtons(); }), listId, removeId});
    FileListBox& list = *files_.back().list;
    commands_.Add(removeId, [&list] { list.RemoveSelected(); });
    return list;
}

void CompanionWindow::SetupWindow() {
    fw::Dialog::SetupWindow();
    for (WPARAM size : {ICON_BIG, ICON_SMALL}) {
        const int metric = size == ICON_BIG ? SM_CXICON : SM_CXSMICON;
        if (HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "GRIDICON",
                                                       IMAGE_ICON, GetSystemMetrics(metric),
                                                       GetSystemMetrics(metric), LR_SHARED)))
            SendMessageA(Handle(), WM_SETICON, size, reinterpret_cast<LPARAM>(icon));
    }
    char run[64] = {};
    GetDlgItemTextA(Handle(), IDC_RUN, run, sizeof run);
    runText_ = run;
    for (FileList& files : files_)
        files.list->Attach(Item(files.listId));
    SendMessageA(Item(IDC_PROGRESS), PBM_SETRANGE32, 0, 1000);
    SendMessageA(Item(IDC_OUTPUT), EM_LIMITTEXT, MAX_PATH - 1, 0);
    LoadChoices();
    RestorePosition();
    UpdateButtons();
}

INT_PTR CompanionWindow::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kProgressMessage:
        OnProgress(static_cast<int>(wParam));
        return TRUE;
    case kDoneMessage:
        OnJobDone();
        return TRUE;
    case WM_HELP:
        OnHelp();
        return TRUE;
    case WM_DPICHANGED:
        // The dialog manager scales the window and its fonts; the lists'
        // scroll extents follow once it has.
        PostMessageA(Handle(), kDpiScaledMessage, 0, 0);
        break;
    case kDpiScaledMessage:
        for (FileList& files : files_)
            files.list->UpdateExtent();
        return TRUE;
    case WM_DESTROY:
        SavePosition();
        SaveChoices();
        break;
    }
    return fw::Dialog::DialogProc(msg, wParam, lParam);
}

std::wstring AnsiToWide(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(wide > 0 ? wide : 0), L'\0');
    if (wide > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, result.data(), wide);
    return result;
}

std::string Utf8ToAnsi(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (wide <= 0) return text;
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, utf16.data(), wide);
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

std::string AnsiToCp1252(const std::string& text) {
    if (GetACP() == 1252) return text;
    const std::wstring wide = AnsiToWide(text);
    const int length = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(1252, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(1252, 0, wide.data(), length, result.data(), bytes, "?", nullptr);
    return result;
}

int RunCompanionWindow(CompanionWindow& window) {
    DWORD processes[2];
    if (GetConsoleWindow() && GetConsoleProcessList(processes, 2) == 1) FreeConsole();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return window.DoModal(nullptr) == -1 ? 1 : 0;
}

std::string CompanionWindow::DialogText(int id) const {
    const HWND control = Item(id);
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

std::string CompanionWindow::LoadText(int id) const {
    char buffer[1024] = {};
    const int length =
        LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer, sizeof buffer);
    return std::string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string CompanionWindow::FormatCount(std::size_t value) {
    const std::string digits = std::to_string(value);
    // No decimals: the locale's digit grouping only.
    NUMBERFMTA format{};
    char decimal[] = ".", thousand[8] = ",", grouping[16] = "3;0";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, sizeof thousand);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, sizeof grouping);
    format.Grouping =
        grouping[0] >= '1' && grouping[0] <= '9' ? static_cast<UINT>(grouping[0] - '0') : 3;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    char text[64] = {};
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, text, sizeof text) > 0)
        return text;
    return digits;
}

std::vector<std::string> CompanionWindow::GetSettingList(const std::string& name) const {
    std::vector<std::string> items;
    const std::string text = GetSettingString(name, "");
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('|', at);
        if (end == std::string::npos) end = text.size();
        if (end > at) items.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return items;
}

void CompanionWindow::SetSettingList(const std::string& name,
                                     const std::vector<std::string>& items) const {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : "|") + item;
    SetSettingString(name, text);
}

std::vector<std::string> CompanionWindow::ChooseFilesToRead(int titleId, int filterId) {
    std::string buffer(kSelectionBuffer, '\0');
    const std::string filter = DialogFilter(LoadText(filterId));
    const std::string title = LoadText(titleId);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size() - 2);
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&ofn)) return {};
    return SplitFileSelection(buffer.data(), buffer.size());
}

void CompanionWindow::ChooseOutput(int filterId, const char* defaultExtension) {
    char path[MAX_PATH] = {};
    GetDlgItemTextA(Handle(), IDC_OUTPUT, path, sizeof path);
    const std::string filter = DialogFilter(LoadText(filterId));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrDefExt = defaultExtension;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
    if (GetSaveFileNameA(&ofn)) SetDlgItemTextA(Handle(), IDC_OUTPUT, path);
}

std::string CompanionWindow::OutputPath() const {
    std::string path = DialogText(IDC_OUTPUT);
    while (!path.empty() && path.back() == ' ')
        path.pop_back();
    if (path.empty()) return path;
    // A name without a folder means the current folder; named in full, the
    // result line says where the file went.
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full) : path;
}

bool CompanionWindow::Run() {
    if (Running()) return false;
    int problem = 0;
    if (!Prepare(problem)) {
        MessageBoxA(Handle(), LoadText(problem).c_str(), Text().c_str(),
                    MB_OK | MB_ICONINFORMATION);
        return false;
    }
    stop_ = false;
    posted_ = -1;
    closeWhenDone_ = false;
    SendMessageA(Item(IDC_PROGRESS), PBM_SETPOS, 0, 0);
    ShowResult(LoadText(IDS_JOBRUNNING));
    EnableChoices(false);
    SetDlgItemTextA(Handle(), IDC_RUN, LoadText(IDS_STOPJOB).c_str());
    const HWND window = jobWindow_ = Handle();
    worker_ = std::thread([this, window] {
        std::string error;
        const bool ok = Work(quillon::tools::Progress(&report_), error);
        // Handed over before the message that says so; joining the thread
        // makes them visible to the window's thread.
        succeeded_ = ok;
        error_ = std::move(error);
        PostMessageA(window, kDoneMessage, 0, 0);
    });
    return true;
}

void CompanionWindow::OnRunOrStop() {
    if (Running())
        stop_ = true;
    else
        Run();
}

void CompanionWindow::OnProgress(int permille) {
    if (Running()) SendMessageA(Item(IDC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(permille), 0);
}

void CompanionWindow::OnJobDone() {
    if (!worker_.joinable()) return;
    worker_.join();
    const bool stopped = stop_.load();
    if (succeeded_) {
        SendMessageA(Item(IDC_PROGRESS), PBM_SETPOS, 1000, 0);
        ShowResult(Outcome());
    } else {
        SendMessageA(Item(IDC_PROGRESS), PBM_SETPOS, 0, 0);
        if (stopped) {
            ShowResult(LoadText(IDS_JOBSTOPPED));
        } else {
            char text[2048] = {};
            // The tools' messages are UTF-8, as they print them.
            std::snprintf(text, sizeof text, LoadText(IDS_JOBFAILED).c_str(),
                          Utf8ToAnsi(error_).c_str());
            ShowResult(text);
            MessageBeep(MB_ICONEXCLAMATION);
        }
    }
    SetDlgItemTextA(Handle(), IDC_RUN, runText_.c_str());
    EnableChoices(true);
    UpdateButtons();
    if (closeWhenDone_) EndDialog(IDCANCEL);
}

void CompanionWindow::OnCancel() {
    // Closing while the job runs stops it; the window goes when it has.
    if (Running()) {
        stop_ = true;
        closeWhenDone_ = true;
        return;
    }
    EndDialog(IDCANCEL);
}

void CompanionWindow::OnHelp() {
    HelpEngine(shell_).Call(programDirectory_ + "quillo.hlp", HELP_CONTEXT,
                            static_cast<ULONG_PTR>(templateId_));
}

std::string CompanionWindow::ResultText() const {
    char text[2048] = {};
    GetDlgItemTextA(Handle(), IDC_RESULT, text, sizeof text);
    return text;
}

void CompanionWindow::ShowResult(const std::string& text) {
    SetDlgItemTextA(Handle(), IDC_RESULT, text.c_str());
}

void CompanionWindow::EnableChoices(bool enable) {
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id != IDC_RUN && id != IDCANCEL && id != IDC_HELPBUTTON && id != IDC_PROGRESS &&
            id != IDC_RESULT)
            EnableWindow(child, enable ? TRUE : FALSE);
    }
}

void CompanionWindow::UpdateButtons() {
    if (Running()) return;
    for (const FileList& files : files_)
        EnableWindow(Item(files.removeId), files.list->HasSelection() ? TRUE : FALSE);
}

void CompanionWindow::RestorePosition() {
    const std::string stored = GetSettingString("Position", "");
    RECT r = WindowRect();
    if (auto p = layout::RestorablePosition(stored, MonitorRects(), false, r.right - r.left,
                                            r.bottom - r.top))
        SetWindowPos(Handle(), nullptr, p->x, p->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CompanionWindow::SavePosition() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(Handle(), &wp)) return;
    const RECT& r = wp.rcNormalPosition;
    SetSettingString("Position",
                     FormatPlacement(false, r.left, r.top, r.right - r.left, r.bottom - r.top));
}
