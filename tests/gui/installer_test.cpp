// The runnable folder away from the build: installed silently, run and
// uninstalled without trace; copied to folders with names outside the ANSI
// code page; the ANSI names themselves.
#include "GuiTestSupport.h"

#include "context/AnsiPaths.h"
#include "context/HelpEngine.h"
#include "resources/resource.h"
#include "settings/SettingsStore.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace {

using namespace guitest;

constexpr const wchar_t* kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillon";

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(std::max(n, 0)));
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

// Every file and folder under root as a path relative to it ("help\\",
// "help\\index.html"), with the size of each file (-1 for a folder).
std::map<std::wstring, long long> Tree(const std::wstring& root, const std::wstring& under = L"") {
    std::map<std::wstring, long long> found;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((root + under + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        const std::wstring name = data.cFileName;
        // Links (Wine's lead to the Unix home folder) are not followed.
        if (name == L"." || name == L".." || data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            found[under + name + L"\\"] = -1;
            found.merge(Tree(root, under + name + L"\\"));
        } else {
            found[under + name] =
                static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

namespace fs = std::filesystem;

void RemoveTree(const std::wstring& root) {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

bool CopyTree(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    for (const auto& [path, size] : Tree(from)) {
        const bool ok = size < 0
                            ? CreateDirectoryW((to + path).c_str(), nullptr) != 0
                            : CopyFileW((from + path).c_str(), (to + path).c_str(), FALSE) != 0;
        if (!ok) return false;
    }
    return true;
}

std::wstring KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Where the .lnk file leads.
std::wstring ShortcutTarget(const std::wstring& link) {
    std::wstring target;
    IShellLinkW* shell = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shell))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
            SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shell->Release();
    return target;
}

std::optional<std::wstring> RegString(const wchar_t* key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

// Names of the keys below path, depth levels down (the classes, which the
// programs do not touch, are not walked).
void AddKeys(HKEY root, const std::wstring& prefix, const std::wstring& path, int depth,
             std::set<std::wstring>& keys) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::wstring child = path + L"\\" + name;
        keys.insert(prefix + child);
        if (depth > 1 && _wcsicmp(name, L"Classes") != 0)
            AddKeys(root, prefix, child, depth - 1, keys);
    }
    RegCloseKey(key);
}

// What an installation might leave behind: the files of drive C: outside the
// temporary folders, the software keys of the machine and the user, and the
// uninstall entries. The user's settings key is left out: it is theirs.
std::set<std::wstring> MachineState() {
    std::set<std::wstring> state;
    for (const auto& [path, size] : Tree(L"C:\\")) {
        std::wstring lower = path;
        std::transform(lower.begin(), lower.end(), lower.begin(), towlower);
        if (lower.find(L"temp\\") == std::wstring::npos)
            state.insert(L"C:\\" + path + L" " + std::to_wstring(size));
    }
    std::set<std::wstring> keys;
    AddKeys(HKEY_LOCAL_MACHINE, L"HKLM\\", L"Software", 2, keys);
    AddKeys(HKEY_CURRENT_USER, L"HKCU\\", L"Software", 2, keys);
    AddKeys(HKEY_LOCAL_MACHINE, L"HKLM\\",
            L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 1, keys);
    for (const auto& key : keys)
        if (key.rfind(L"HKCU\\Software\\Marbleton", 0) != 0) state.insert(key);
    return state;
}

bool SettingsKeyExists() {
    HKEY key = nullptr;
    const bool found =
        RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0, KEY_READ, &key) == 0;
    if (found) RegCloseKey(key);
    return found;
}

// Waits up to ms milliseconds for done() to hold.
bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(100);
    }
    return true;
}

// A program started from a command line; one still running when the test
// ends is stopped, so that no failure can leave a window waiting.
class Process {
public:
    Process(std::wstring commandLine, const wchar_t* directory = L"C:\\") {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  directory, &si, &info_) != 0;
    }
    ~Process() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or nothing when the program has not ended within ms.
    std::optional<DWORD> Wait(DWORD ms) {
        if (!started_ || WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The first visible top-level window of a process with the class name given.
HWND WindowOf(DWORD process, const char* className) {
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, className, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

HWND Descendant(HWND parent, int id) {
    std::pair<int, HWND> search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto& s = *reinterpret_cast<std::pair<int, HWND>*>(lp);
            if (GetDlgCtrlID(hwnd) != s.first) return TRUE;
            s.second = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Quillon.exe started as the user starts it, in a folder other than its own,
// and driven from this process with messages, as another program could.
class RunningQuillon {
public:
    explicit RunningQuillon(const std::wstring& exe) : process_(L"\"" + exe + L"\"") {
        if (process_.Started())
            WaitFor(
                [&] {
                    frame_ = WindowOf(process_.Id(), "QuillonMainWindow");
                    return frame_ != nullptr;
                },
                30000);
    }
    HWND Frame() const { return frame_; }

    // Types the answer, presses Start and waits for the search to end; the
    // number of results, or -1 when the program said something instead.
    int Search(const std::string& answer) {
        HWND box = Descendant(frame_, IDC_ANSWER);
        HWND start = Descendant(frame_, IDC_START);
        HWND list = Descendant(frame_, IDC_RESULTLIST);
        if (!box || !start || !list) {
            ADD_FAILURE() << "the results view's controls are missing";
            return -1;
        }
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.c_str()),
                            SMTO_ABORTIFHUNG, 5000, &ignored);
        PostMessageA(GetParent(start), WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                     reinterpret_cast<LPARAM>(start));
        HWND message = nullptr;
        const bool ended = WaitFor(
            [&] {
                message = WindowOf(process_.Id(), "#32770");
                return message || TextOf(frame_) == answer + " - Quillon";
            },
            60000);
        if (message) {
            HWND text = Descendant(message, 0xFFFF);
            ADD_FAILURE() << "Quillon said: " << TextOf(message) << ": "
                          << (text ? TextOf(text) : "");
            return -1;
        }
        if (!ended) {
            ADD_FAILURE() << "the search for " << answer << " did not end within a minute";
            return -1;
        }
        DWORD_PTR count = 0;
        SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        return static_cast<int>(count);
    }

    // Closes the main window as the user does; the exit code.
    std::optional<DWORD> Close() {
        PostMessageA(frame_, WM_CLOSE, 0, 0);
        return process_.Wait(20000);
    }

private:
    Process process_;
    HWND frame_ = nullptr;
};

// The number of results for carpet from the program in the build's own
// runnable folder, which every copy of it must match.
int ReferenceCount() {
    static const int count = [] {
        ClearSettings();
        RunningQuillon quillon(Widen(DistDirectory()) + L"Quillon.exe");
        const int n = quillon.Frame() ? quillon.Search("carpet") : -1;
        quillon.Close();
        return n;
    }();
    return count;
}

// Starts the copy in folder (ending in a backslash) with fresh settings,
// searches, and checks that it finds what the build's own copy finds.
void ExpectSearchWorks(const std::wstring& folder, const char* screenshot = nullptr) {
    const int expected = ReferenceCount();
    ASSERT_GT(expected, 0);
    ClearSettings();
    RunningQuillon quillon(folder + L"Quillon.exe");
    ASSERT_TRUE(quillon.Frame()) << "no main window from " << Narrow(folder);
    EXPECT_EQ(quillon.Search("carpet"), expected)
        << "the dictionary or the abbreviation table was not found beside " << Narrow(folder);
    if (screenshot) SaveScreenshot(quillon.Frame(), screenshot);
    EXPECT_EQ(quillon.Close(), std::optional<DWORD>(0));
}

TEST(AnsiPaths, NamesWhatTheCodePageHoldsAndShortensTheRest) {
    if (GetACP() != 1252) GTEST_SKIP() << "the cases are written for code page 1252";
    static std::wstring shortForm;
    const ShortPathFunction shortPath = [](const std::wstring&) { return shortForm; };
    const struct {
        const wchar_t* path;
        const wchar_t* shortForm;
        std::optional<std::string> name;
    } cases[] = {
        {L"C:\\Tools\\app.exe", L"", "C:\\Tools\\app.exe"},
        {L"C:\\Program Files\\Quillon T\u00e9st\\Quillon.exe", L"",
         "C:\\Program Files\\Quillon T\xE9st\\Quillon.exe"},
        // 1252 holds the ligature at 0x8C, outside Latin-1.
        {L"C:\\Quillon \u0152uvre\\Quillon.exe", L"", "C:\\Quillon \x8Cuvre\\Quillon.exe"},
        // Greek is not in 1252: no look-alike "O", but the short name.
        {L"C:\\Quillon \u03A9mega\\Quillon.exe", L"C:\\QUIL~2FA\\Quillon.exe",
         "C:\\QUIL~2FA\\Quillon.exe"},
        // A volume without short names gives back the long one: no name.
        {L"C:\\Quillon \u03A9mega\\Quillon.exe", L"C:\\Quillon \u03A9mega\\Quillon.exe",
         std::nullopt},
        {L"C:\\\u0391\\x.exe", L"C:\\\u0391~1\\x.exe", std::nullopt},
    };
    for (const auto& c : cases) {
        shortForm = c.shortForm;
        EXPECT_EQ(AnsiNameOf(c.path, shortPath), c.name) << Narrow(c.path);
    }
    EXPECT_EQ(AnsiPath(L"C:\\\u0391"), std::nullopt) << "Alpha must not become A";
}

TEST(AnsiPaths, ReadsFileFactsByTheAnsiName) {
    if (GetACP() != 1252) GTEST_SKIP() << "the folder name is written for code page 1252";
    const std::wstring folder = L"C:\\Quillon \u0152uvre facts\\";
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring file = folder + L"words.owd";
    ASSERT_TRUE(std::ofstream(fs::path(file), std::ios::binary) << "OWD1 and more");
    WIN32_FILE_ATTRIBUTE_DATA wide{};
    ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &wide));

    const std::string ansiFolder = *AnsiPath(folder);
    std::int64_t modified = 0, size = 0;
    ASSERT_TRUE(ReadAnsiFileFacts(ansiFolder + "words.owd", modified, size));
    EXPECT_EQ(size, 13);
    EXPECT_EQ(static_cast<std::uint64_t>(modified),
              static_cast<std::uint64_t>(wide.ftLastWriteTime.dwHighDateTime) << 32 |
                  wide.ftLastWriteTime.dwLowDateTime);
    EXPECT_FALSE(ReadAnsiFileFacts(ansiFolder, modified, size)) << "a folder";
    EXPECT_FALSE(ReadAnsiFileFacts(ansiFolder + "absent.owd", modified, size));
    EXPECT_FALSE(ReadAnsiFileFacts("", modified, size));
    RemoveTree(folder);
}

// The runnable folder copied where the code page holds the name only in part
// (the ligature lies outside Latin-1) or not at all (Greek): the program
// still finds its dictionary, abbreviation table and help beside itself.
TEST(Relocation, TheRunnableFolderWorksFromForeignNamedFolders) {
    for (const std::wstring folder : {L"C:\\Quillon \u0152uvre\\", L"C:\\Quillon \u03A9mega\\"}) {
        SCOPED_TRACE(Narrow(folder));
        RemoveTree(folder);
        ASSERT_TRUE(CopyTree(Widen(DistDirectory()), folder));
        ExpectSearchWorks(folder);

        const auto ansi = AnsiNameOf(folder);
        ASSERT_TRUE(ansi);
        RecordingShell shell;
        HelpEngine(shell).Call(*ansi + "quillo.hlp", HELP_CONTEXT, IDH_MAINWINDOW);
        EXPECT_TRUE(shell.reported.empty()) << "the help pages were not found";
        ASSERT_EQ(shell.opened.size(), 1u);
        EXPECT_TRUE(shell.FileExists(shell.opened[0]));
        RemoveTree(folder);
    }
}

class Installer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }

    // Runs the installer silently; /D= must come last and unquoted.
    static void Install(const std::wstring& folder) {
        std::wstring command =
            L"\"" + Widen(WindowsPath(QUILLON_BINARY_DIR "/Quillon-setup.exe")) + L"\" /S";
        if (!folder.empty()) command += L" /D=" + folder;
        Process setup(command);
        ASSERT_TRUE(setup.Started()) << "Quillon-setup.exe is missing";
        EXPECT_EQ(setup.Wait(120000), std::optional<DWORD>(0)) << "the installer failed";
    }

    // Runs the uninstaller as Windows does, from the command the uninstall
    // entry gives; it hands over to a copy of itself and returns at once, so
    // the test waits for the entry to go, which is its last step.
    static void Uninstall() {
        const auto command = RegString(kUninstallKey, L"QuietUninstallString");
        ASSERT_TRUE(command);
        Process uninstall(*command);
        ASSERT_TRUE(uninstall.Started());
        EXPECT_TRUE(uninstall.Wait(60000));
        EXPECT_TRUE(WaitFor([] { return !RegString(kUninstallKey, L"DisplayName"); }, 60000))
            << "the uninstall entry is still there";
    }

    static std::wstring Shortcuts() { return KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\Quillon\\"; }
};

TEST_F(Installer, InstallsRunsAndUninstallsCleanly) {
    const std::wstring folder = L"C:\\Program Files\\Quillon T\u00e9st";
    const std::wstring home = folder + L"\\";
    RemoveTree(home);
    const auto before = MachineState();
    const auto dist = Tree(Widen(DistDirectory()));
    ASSERT_TRUE(dist.count(L"Dictionaries\\Standard English.owd"));

    Install(folder);
    // The runnable folder, file for file, and the uninstaller.
    auto installed = Tree(home);
    EXPECT_EQ(installed.erase(L"Uninstall.exe"), 1u);
    EXPECT_EQ(installed, dist);

    const struct {
        const wchar_t* link;
        const wchar_t* program;
    } shortcuts[] = {{L"Quillon.lnk", L"Quillon.exe"},
                     {L"Dictionary Builder.lnk", L"OWBUILD.exe"},
                     {L"Word List Merge.lnk", L"OWMERGE.exe"}};
    for (const auto& s : shortcuts) {
        EXPECT_EQ(
            _wcsicmp(ShortcutTarget(Shortcuts() + s.link).c_str(), (home + s.program).c_str()), 0)
            << Narrow(s.link) << " leads to " << Narrow(ShortcutTarget(Shortcuts() + s.link));
    }
    EXPECT_EQ(RegString(kUninstallKey, L"DisplayName"), L"Quillon");
    EXPECT_EQ(RegString(kUninstallKey, L"DisplayVersion"), Widen(QUILLON_VERSION));
    EXPECT_EQ(RegString(kUninstallKey, L"InstallLocation"), folder);
    EXPECT_EQ(RegString(kUninstallKey, L"UninstallString"), L"\"" + home + L"Uninstall.exe\"");

    ExpectSearchWorks(home, "installed");
    EXPECT_TRUE(SettingsKeyExists()) << "the program keeps its settings";

    Uninstall();
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_FALSE(fs::exists(Shortcuts()));
    EXPECT_TRUE(SettingsKeyExists()) << "the user's settings stay";
    const auto after = MachineState();
    for (const auto& l : after)
        if (!before.count(l)) ADD_FAILURE() << "left behind: " << Narrow(l);
    for (const auto& l : before)
        if (!after.count(l)) ADD_FAILURE() << "gone: " << Narrow(l);
    RemoveTree(home);
}

TEST_F(Installer, KeepsTheUsersOwnFilesInTheDefaultFolder) {
    const std::wstring home = KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Quillon\\";
    RemoveTree(home);
    Install(L"");
    EXPECT_EQ(RegString(kUninstallKey, L"InstallLocation"), home.substr(0, home.size() - 1));
    ASSERT_TRUE(fs::exists(home + L"Quillon.exe"));
    for (const wchar_t* own : {L"Dictionaries\\My words.owd", L"notes.txt"})
        ASSERT_TRUE(std::ofstream(fs::path(home + own)) << "mine") << Narrow(own);

    Uninstall();
    auto left = Tree(home);
    EXPECT_EQ(left.size(), 3u) << "the two files and the folder that holds one";
    EXPECT_TRUE(left.count(L"Dictionaries\\My words.owd"));
    EXPECT_TRUE(left.count(L"notes.txt"));
    EXPECT_FALSE(fs::exists(Shortcuts()));
    RemoveTree(home);
}

} // namespace
