// The windows of OWBUILD and OWMERGE: building and merging real lists through
// them, stopping a job, their checks, help and remembered choices, and the
// programs themselves choosing between window and command line.
#include "GuiTestSupport.h"

#include "companions/OwbuildWindow.h"
#include "companions/OwmergeWindow.h"
#include "context/Persist.h"
#include "framework/Handles.h"
#include "platform/Services.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

using namespace guitest;

std::string Scratch() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "QuillonCompanionsTest\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = Scratch() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A list long enough that its job cannot end between two clicks.
std::string LongList() {
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "entry" + std::to_string(i * 7919 % 1000003) + "\n";
    return text;
}

// A Dictionary Builder dialog of the process other than except, once one
// shows (within about ms milliseconds); else null.
HWND BuilderDialog(DWORD process, HWND except, int ms) {
    for (int waited = 0; waited < ms; waited += 10, Sleep(10))
        for (HWND w = FindWindowA("#32770", "Dictionary Builder"); w;
             w = FindWindowExA(nullptr, w, "#32770", "Dictionary Builder")) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (w != except && owner == process) return w;
        }
    return nullptr;
}

// Runs a companion window modelessly, as the tests drive it.
template <typename W> class CompanionTest : public ::testing::Test {
protected:
    void SetUp() override {
        quillon::tools::InstallPlatform(); // as the programs do
        ClearSettings();
        Open();
    }
    void TearDown() override {
        window.reset();
        PumpMessages(10);
        ClearSettings();
    }
    void Open() {
        window = std::make_unique<W>(shell, DistDirectory(), RegistrySettings());
        ASSERT_TRUE(window->CreateModeless(nullptr));
        ShowWindow(window->Handle(), SW_SHOW);
        PumpMessages(10);
    }
    void Click(int id) {
        SendMessageA(window->Item(id), BM_CLICK, 0, 0);
        PumpMessages(0);
    }
    void SetText(int id, const std::string& text) {
        SetDlgItemTextA(window->Handle(), id, text.c_str());
    }
    void WaitForJob() {
        for (int i = 0; i < 6000 && window->Running(); ++i)
            PumpMessages(10);
        PumpMessages(20);
        ASSERT_FALSE(window->Running());
    }
    std::string Caption(int id) {
        char text[256] = {};
        GetDlgItemTextA(window->Handle(), id, text, sizeof text);
        return text;
    }

    RecordingShell shell;
    std::unique_ptr<W> window;
};

using OwbuildWindowTest = CompanionTest<OwbuildWindow>;
using OwmergeWindowTest = CompanionTest<OwmergeWindow>;

TEST(FileSelection, SplitsWhatTheFileDialogReturns) {
    const struct {
        std::string buffer;
        std::vector<std::string> paths;
    } cases[] = {
        {std::string("C:\\Lists\\one.txt\0\0", 18), {"C:\\Lists\\one.txt"}},
        {std::string("C:\\Lists\0a.txt\0b c.txt\0\0", 25),
         {"C:\\Lists\\a.txt", "C:\\Lists\\b c.txt"}},
        {std::string("C:\\\0a.txt\0b.txt\0\0", 18), {"C:\\a.txt", "C:\\b.txt"}},
        {std::string("\0\0", 2), {}},
        {std::string("C:\\no-terminator", 16), {"C:\\no-terminator"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitFileSelection(c.buffer.data(), c.buffer.size()), c.paths) << c.buffer;
}

TEST_F(OwbuildWindowTest, BuildsADictionaryThatInfoReads) {
    const std::string list = WriteFile("words.txt", "cat\r\ncat\r\ncat's\r\nice cream\r\ndog\r\n");
    const std::string index = WriteFile("index.noun", "ice_cream n 1 1 @ 1 0 1\nhot_dog n 1\n");
    // An older dictionary of that name is replaced.
    const std::string output = WriteFile("Built by window.owd", "an older dictionary");
    // hot dog and cat are in the dictionary; mouse is not.
    const std::string common = WriteFile("common.txt", "hot dog\ncat\nmouse\n");
    const std::string clueless = WriteFile("clueless.txt", "genus calluna\none c\n");
    window->Lists().Add({list, list, clueless}); // the same file once
    window->SecondList().Add({index});
    window->CommonList().Add({common});
    EXPECT_EQ(window->Lists().Count(), 2);
    SetText(IDC_BUILDDESCRIPTION, "Pets and puddings");
    Click(IDC_NOPOSSESSIVES);
    Click(IDC_CLUEPHRASES);
    SetText(IDC_OUTPUT, Scratch() + "Built by window"); // the extension comes by itself
    Click(IDC_RUN);
    WaitForJob();
    // cat, ice cream, dog and hot dog; one repeated cat (the phrase ice cream
    // comes twice); cat's is filtered, and so are the two phrases no clue uses.
    const std::string result = window->ResultText();
    EXPECT_EQ(result.rfind("Wrote Built by window.owd. Entries: 4; skipped: 2; size: ", 0), 0u)
        << result;
    EXPECT_EQ(result.substr(result.size() - 18), " Marked common: 2.") << result;
    EXPECT_EQ(SendMessageA(window->Item(IDC_PROGRESS), PBM_GETPOS, 0, 0), 1000);
    EXPECT_EQ(Caption(IDC_OUTPUT), output);
    EXPECT_EQ(Caption(IDC_RUN), "B&uild");
    SaveScreenshot(window->Handle(), "owbuild-window");

    const ProgramRun info =
        RunProgram("\"" + DistDirectory() + "OWBUILD.exe\" --info \"" + output + "\"");
    EXPECT_EQ(info.exitCode, 0) << info.output;
    EXPECT_NE(info.output.find("Description: Pets and puddings"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("Entries:     4"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("Common:      2"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("Valid:       yes"), std::string::npos) << info.output;
}

TEST_F(OwbuildWindowTest, StoppingOrClosingMidwayKeepsTheOldFile) {
    const std::string output = WriteFile("kept.owd", "the previous dictionary");
    window->Lists().Add({WriteFile("long.txt", LongList())});
    SetText(IDC_OUTPUT, output);
    Click(IDC_RUN);
    ASSERT_TRUE(window->Running());
    EXPECT_EQ(Caption(IDC_RUN), "&Stop");
    EXPECT_FALSE(IsWindowEnabled(window->Item(IDC_OUTPUT))) << "choices wait for the job";
    Click(IDC_RUN);
    WaitForJob();
    EXPECT_EQ(window->ResultText(), "Stopped: nothing was written.");
    EXPECT_EQ(ReadFile(output), "the previous dictionary");
    EXPECT_TRUE(IsWindowEnabled(window->Item(IDC_OUTPUT)));

    // Close while it runs: the window goes once the job has stopped.
    Click(IDC_RUN);
    ASSERT_TRUE(window->Running());
    SendMessageA(window->Handle(), WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 6000 && IsWindow(window->Handle()); ++i)
        PumpMessages(10);
    EXPECT_FALSE(IsWindow(window->Handle()));
    EXPECT_EQ(ReadFile(output), "the previous dictionary");
}

TEST_F(OwbuildWindowTest, SaysWhatIsMissingAndWhyAJobFailed) {
    // The message box is answered from another thread once it shows.
    std::string said;
    const HWND self = window->Handle(); // a dialog with the same caption
    auto answer = [&said, self] {
        if (HWND box = BuilderDialog(GetCurrentProcessId(), self, 4000)) {
            char text[256] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            said = text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    };
    // Each problem in turn, then its cure; common words need version 1.
    const auto version = [this](WPARAM item) {
        SendMessageA(window->Item(IDC_FORMATVERSION), CB_SETCURSEL, item, 0);
    };
    const struct {
        const char* said;
        std::function<void()> cure;
    } problems[] = {
        {"Add at least one word list first.",
         [&] { window->Lists().Add({WriteFile("few.txt", "cat\n")}); }},
        {"Choose the file to write first.",
         [&] {
             SetText(IDC_OUTPUT, Scratch() + "no such folder\\x.owd");
             window->CommonList().Add({WriteFile("few common.txt", "cat\n")});
             version(1);
         }},
        {"Only version 1 files can mark common words. Choose Version 1 as the file format, or "
         "remove the common word lists.",
         [&] { version(0); }},
    };
    for (const auto& problem : problems) {
        std::thread answering(answer);
        EXPECT_FALSE(window->Run());
        answering.join();
        EXPECT_EQ(said, problem.said);
        problem.cure();
    }

    ASSERT_TRUE(window->Run());
    WaitForJob();
    EXPECT_EQ(window->ResultText().rfind("Nothing was written: cannot create ", 0), 0u)
        << window->ResultText();
}

TEST_F(OwbuildWindowTest, RemembersItsChoicesAndOpensItsHelp) {
    const std::string list = WriteFile("remembered.txt", "cat\n");
    window->Lists().Add({list});
    SetText(IDC_BUILDDESCRIPTION, "Remembered");
    SendMessageA(window->Item(IDC_FORMATVERSION), CB_SETCURSEL, 1, 0);
    Click(IDC_PLAINONLY);
    Click(IDC_CLUEPHRASES);
    window->CommonList().Add({list});
    SetText(IDC_OUTPUT, "C:\\remembered.owd");
    EXPECT_FALSE(IsWindowEnabled(window->Item(IDC_LISTSREMOVE))) << "nothing selected";
    SendMessageA(window->Item(IDC_LISTS), LB_SETSEL, TRUE, 0);
    SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(IDC_LISTS, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window->Item(IDC_LISTS)));
    EXPECT_TRUE(IsWindowEnabled(window->Item(IDC_LISTSREMOVE)));

    Click(IDC_HELPBUTTON);
    EXPECT_EQ(shell.opened, std::vector<std::string>{DistDirectory() + "help\\owbuild.html"});

    SendMessageA(window->Handle(), WM_COMMAND, IDCANCEL, 0);
    PumpMessages(10);
    Open();
    EXPECT_EQ(window->Lists().Paths(), std::vector<std::string>{list});
    EXPECT_EQ(Caption(IDC_BUILDDESCRIPTION), "Remembered");
    EXPECT_EQ(SendMessageA(window->Item(IDC_FORMATVERSION), CB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsDlgButtonChecked(window->Handle(), IDC_PLAINONLY));
    EXPECT_TRUE(IsDlgButtonChecked(window->Handle(), IDC_CLUEPHRASES));
    EXPECT_EQ(window->CommonList().Paths(), std::vector<std::string>{list});
    EXPECT_FALSE(IsDlgButtonChecked(window->Handle(), IDC_NOPOSSESSIVES));
    EXPECT_EQ(Caption(IDC_OUTPUT), "C:\\remembered.owd");
}

TEST_F(OwmergeWindowTest, MergesListsLeavingOutRepeatsAndRemovals) {
    const std::string a = WriteFile("a.txt", "Pear\napple\nfig\n");
    const std::string b = WriteFile("b.txt", "PEAR\nbanana\ncaf\xC3\xA9\n");
    const std::string removals = WriteFile("rm.txt", "FIG\n");
    const std::string output = Scratch() + "merged.txt";
    DeleteFileA(output.c_str());
    window->Lists().Add({a, b});
    window->SecondList().Add({removals});
    Click(IDC_IGNORECASE);
    SendMessageA(window->Item(IDC_ENCODING), CB_SETCURSEL, 1, 0);
    SetText(IDC_OUTPUT, output);
    Click(IDC_RUN);
    WaitForJob();
    EXPECT_EQ(ReadFile(output), "apple\nbanana\ncaf\xE9\nPear\n");
    EXPECT_EQ(window->ResultText(),
              "Wrote merged.txt. Entries: 4; repeats left out: 1; removed: 1.");
    SaveScreenshot(window->Handle(), "owmerge-window");

    Click(IDC_HELPBUTTON);
    EXPECT_EQ(shell.opened, std::vector<std::string>{DistDirectory() + "help\\owmerge.html"});
}

// The programs: a window without arguments, the command line with them.
TEST(CompanionPrograms, WindowWithoutArgumentsUsageWithHelp) {
    for (const char* program : {"OWBUILD", "OWMERGE"}) {
        const ProgramRun help = RunProgram("\"" + DistDirectory() + program + ".exe\" --help");
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.output.find(std::string(program) + " [options] LIST..."), std::string::npos)
            << help.output;
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + DistDirectory() + "OWBUILD.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    fw::KernelHandle process(pi.hProcess), thread(pi.hThread);
    const HWND shown = BuilderDialog(pi.dwProcessId, nullptr, 10000);
    ASSERT_NE(shown, nullptr) << "OWBUILD without arguments shows its window";
    PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

} // namespace
