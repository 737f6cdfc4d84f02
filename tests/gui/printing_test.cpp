// Printing the results on a real printer: the CUPS-PDF queue that the test
// scripts make this run's default printer. The print and page-setup dialogs
// and the "Printing" box are driven as a user drives them, the PDF that the
// spooler writes is read back with pdftotext (and rendered with pdftoppm),
// and the preview is paged through with its buttons and keys. Leaves
// build/screenshots/print-carpet.pdf, preview-first.png and preview-last.png.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/Persist.h"
#include "printer/GdiPrintDevice.h"
#include "printer/PrintJob.h"
#include "printing/OrbPrintout.h"
#include "resources/resource.h"
#include "results/ResultList.h"
#include "views/PrintPreviewWindow.h"
#include "views/WordplayPrintoutFeeder.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

namespace {

using namespace guitest;

constexpr const char* kNoDictionary = "the default dictionary is not in the runnable folder";
constexpr const char* kNoPrinter =
    "no default printer: CUPS could not run here (scripts/pdf-printer sets one up)";
constexpr const char* kNoPdfFolder =
    "QUILLON_PRINT_OUTPUT names no folder: the printer is not this run's CUPS-PDF queue";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ScreenshotFolder() {
    const std::string dir = Env("QUILLON_SCREENSHOTS");
    return dir.empty() ? QUILLON_SOURCE_DIR "/build/screenshots" : dir;
}

// Starts a program of the Unix side (Wine starts those as well). Wine does
// not wait for such a program nor learn its exit code.
bool StartUnix(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// Runs a Unix command line through the shell and waits for the file it
// writes: the command writes to a scratch name and renames it when done.
// True when the file appeared.
bool RunUnixFor(const std::string& command, const std::string& part, const std::string& output) {
    DeleteFileA(WindowsPath(output).c_str());
    if (!StartUnix("/bin/sh -c \"" + command + " && mv '" + part + "' '" + output + "'\""))
        return false;
    for (int tick = 0; tick < 600; ++tick) {
        if (GetFileAttributesA(WindowsPath(output).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(100);
    }
    return false;
}

std::string ReadWholeFile(const std::string& windowsPath) {
    std::ifstream in(windowsPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The folder this run's printer writes its PDFs to (a Unix path), given by
// the test scripts.
class PdfFolder {
public:
    PdfFolder() : unix_(Env("QUILLON_PRINT_OUTPUT")) {}
    bool Known() const { return !unix_.empty(); }
    const std::string& Path() const { return unix_; }

    std::vector<std::string> Names(const std::string& pattern = "*.pdf") const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA((WindowsPath(unix_) + "\\" + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    // Empties the folder, which is this run's own.
    void Clear() const {
        for (const std::string& name : Names("*"))
            DeleteFileA((WindowsPath(unix_) + "\\" + name).c_str());
    }
    // The PDF of the job just printed, complete (CUPS-PDF writes it some
    // time after the job has ended); its Unix path, or empty.
    std::string WaitForPdf(int seconds = 120) const {
        for (int tick = 0; tick < seconds * 5; ++tick) {
            for (const std::string& name : Names()) {
                const std::string path = WindowsPath(unix_) + "\\" + name;
                const std::string content = ReadWholeFile(path);
                const std::size_t end = content.rfind("%%EOF");
                if (end != std::string::npos && content.size() - end < 8) return unix_ + "/" + name;
            }
            PumpMessages(200);
        }
        return {};
    }

private:
    std::string unix_;
};

// The text of a PDF by pdftotext, keeping the layout; empty when that fails.
std::string PdfText(const std::string& pdf) {
    const std::string text = pdf + ".txt";
    if (!RunUnixFor("pdftotext -layout '" + pdf + "' '" + text + ".part'", text + ".part", text))
        return {};
    return ReadWholeFile(WindowsPath(text));
}

using Cells = std::vector<std::string>;
using PageLayout = std::vector<Cells>; // rows of a page, each the texts across it

// The pages of pdftotext's layout text: each line split into its cells at
// gaps of two or more blanks.
std::vector<PageLayout> PdfPages(const std::string& text) {
    std::vector<PageLayout> pages;
    std::istringstream pagesIn(text);
    for (std::string page; std::getline(pagesIn, page, '\f');) {
        PageLayout rows;
        std::istringstream linesIn(page);
        for (std::string line; std::getline(linesIn, line);) {
            Cells cells;
            std::size_t at = line.find_first_not_of(' ');
            while (at != std::string::npos) {
                std::size_t end = line.find("  ", at);
                cells.push_back(line.substr(at, end == std::string::npos ? end : end - at));
                while (!cells.back().empty() &&
                       (cells.back().back() == ' ' || cells.back().back() == '\r'))
                    cells.back().pop_back();
                if (cells.back().empty()) cells.pop_back();
                at = end == std::string::npos ? end : line.find_first_not_of(' ', end);
            }
            if (!cells.empty()) rows.push_back(cells);
        }
        if (!rows.empty()) pages.push_back(rows);
    }
    return pages;
}

// Passes everything to a printer's device and notes where each text goes.
class RecordingDevice : public PrintDevice {
public:
    explicit RecordingDevice(PrintDevice& inner) : inner_(inner) {}
    std::map<int, std::map<int, std::string>> drawn; // y, then x

    DeviceMetrics Metrics() const override { return inner_.Metrics(); }
    int ScreenPixelsPerInchX() const override { return inner_.ScreenPixelsPerInchX(); }
    int ScreenPixelsPerInchY() const override { return inner_.ScreenPixelsPerInchY(); }
    void SelectFont(const FontSetting& font) override { inner_.SelectFont(font); }
    std::optional<FontMetrics> SelectedFontMetrics() const override {
        return inner_.SelectedFontMetrics();
    }
    int TextWidth(std::string_view text) const override { return inner_.TextWidth(text); }
    void SetTransparentBackground() override {}
    void DrawText(int x, int y, std::string_view text) override { drawn[y][x] = std::string(text); }

private:
    PrintDevice& inner_;
};

std::string DialogItemText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A visible dialog box of this thread with the caption given.
HWND FindDialog(const std::string& caption) {
    struct Search {
        std::string caption;
        HWND found = nullptr;
    } search{caption};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            char cls[32] = {}, text[256] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            GetWindowTextA(hwnd, text, sizeof text);
            if (IsWindowVisible(hwnd) && std::string(cls) == "#32770" && s->caption == text) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Calls a function on a timer until it says it is done, from whatever loop
// runs at the time (a dialog's, a message box's, the preview's, a printing
// job's). Unlike a posted message, a timer never keeps a loop busy, and it
// comes after the messages already posted.
class Watcher : public fw::Window {
public:
    Watcher(std::function<bool()> tick, std::string failure)
        : tick_(std::move(tick)), failure_(std::move(failure)) {
        Create(HWND_MESSAGE, "", 0, 0, 0, 0, 0, 0);
        SetTimer(Handle(), 1, 25, nullptr);
    }
    ~Watcher() override { Stop(); }
    // Looks at the next turn of whatever loop runs, not only when the timer is due.
    void Poke() const { PostMessageA(Handle(), WM_TIMER, 1, 0); }

protected:
    const char* ClassName() const override { return "QuillonPrintTestWatcher"; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_TIMER || !running_) return fw::Window::WndProc(msg, wParam, lParam);
        if (++ticks_ > 400) { // ten seconds
            Stop();
            if (!failure_.empty()) ADD_FAILURE() << failure_;
        } else {
            running_ = false; // the function may run a loop of its own
            if (!tick_())
                running_ = true;
            else
                Stop();
        }
        return 0;
    }

private:
    void Stop() {
        running_ = false;
        if (Handle()) KillTimer(Handle(), 1);
    }
    std::function<bool()> tick_;
    std::string failure_;
    bool running_ = true;
    int ticks_ = 0;
};

// A system without a default printer.
class NoPrinterContext : public AppContext {
public:
    explicit NoPrinterContext(Shell& shell)
        : AppContext(DistDirectory() + "quillo.hlp", DistDirectory(), shell, RegistrySettings()) {}
    int asked = 0;

protected:
    std::unique_ptr<fw::Printer> CreatePrinter() override {
        struct None : fw::Printer {
            None() : fw::Printer(PDERR_NODEFAULTPRN) {}
        };
        ++asked;
        return std::make_unique<None>();
    }
};

class Printing : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override {
        if (app && Frame() && IsWindow(Frame())) DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
    }

    void Start() {
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->InitMainWindow();
        ASSERT_TRUE(app->InitInstance());
        view = app->ResultsView();
        PumpMessages(30);
    }
    // Starts the program and searches for answer; false without a dictionary.
    bool StartAndSearch(const std::string& answer) {
        Start();
        if (HasFatalFailure() || !view->Dictionary() || view->Dictionary()->FirstInvalidPath())
            return false;
        SetWindowTextA(view->AnswerBox(), answer.c_str());
        SendMessageA(GetDlgItem(view->Handle(), IDC_START), BM_CLICK, 0, 0);
        PumpMessages(30);
        return true;
    }
    HWND Frame() const { return app && app->Frame() ? app->Frame()->Handle() : nullptr; }
    fw::Printer* Printer() const { return view->Context().GetPrinter(); }
    bool Enabled(UINT id) const {
        fw::CommandEnabler ce(id);
        app->Frame()->RouteCommandEnable(ce);
        return ce.Handled() && ce.Enabled();
    }
    void Command(UINT id) {
        SendMessageA(Frame(), WM_COMMAND, id, 0);
        PumpMessages(10);
    }
    void SelectRows(const std::vector<int>& rows) {
        ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows)
            ListView_SetItemState(view->List(), row, LVIS_SELECTED, LVIS_SELECTED);
    }
    std::string Bracketed(int row) const {
        return DisplayText(view->Rows()[static_cast<std::size_t>(row)], true).text;
    }
    // Runs act on the dialog box captioned caption as soon as it shows,
    // inside the loop that runs it; a dialog that must show and does not is
    // a failure.
    void WhenDialog(const std::string& caption, std::function<void(HWND)> act,
                    bool mustShow = true) {
        watchers_.push_back(std::make_unique<Watcher>(
            [caption, act] {
                HWND dialog = FindDialog(caption);
                if (dialog) act(dialog);
                return dialog != nullptr;
            },
            mustShow ? "the dialog \"" + caption + "\" did not show" : ""));
    }
    // Runs act on the preview window inside its modal loop.
    void WhenPreview(std::function<void(PrintPreviewWindowOrb&)> act) {
        watchers_.push_back(std::make_unique<Watcher>(
            [act] {
                auto* preview = dynamic_cast<PrintPreviewWindowOrb*>(
                    fw::Window::FromHandle(FindWindowA("QuillonPrintPreview", nullptr)));
                if (preview) act(*preview);
                return preview != nullptr;
            },
            "no preview window"));
    }
    using PreviewStep = std::function<void(PrintPreviewWindowOrb&)>;
    // Runs the steps on the preview one after the other, each in a later
    // turn of its loop, so that what a step posts has been handled.
    void PreviewSteps(std::vector<PreviewStep> steps) {
        steps_ = std::move(steps);
        step_ = 0;
        NextStep();
    }
    void NextStep() {
        if (step_ >= steps_.size()) return;
        WhenPreview([this](PrintPreviewWindowOrb& p) {
            steps_[step_++](p);
            NextStep();
        });
    }
    // The pages as the printout lays them out on this printer: the texts of
    // each row of each page.
    std::vector<PageLayout> ExpectedPages(bool selectedOnly) {
        fw::OwnedDC dc = Printer()->CreatePrinterDC();
        GdiPrintDevice printer(dc.Get());
        RecordingDevice device(printer);
        WordplayPrintoutFeeder feeder(view->List(), view->Rows());
        PrintDialogData data;
        data.flags = selectedOnly ? kPrintSelection : 0;
        OrbPrintout printout("Quillon Output", data, feeder, ParseFont(kDefaultFontText),
                             view->Margins());
        printout.SetPrintDevice(&device, fw::Printer::PageSizeOf(dc.Get()));
        std::vector<PageLayout> pages;
        for (int page = 1; printout.PageExists(page); ++page) {
            device.drawn.clear();
            printout.RenderPage(page);
            PageLayout rows;
            for (const auto& [y, cells] : device.drawn) {
                rows.emplace_back();
                for (const auto& [x, text] : cells)
                    rows.back().push_back(text);
            }
            pages.push_back(rows);
        }
        return pages;
    }

    RecordingShell shell;
    std::unique_ptr<QuillonAppWindows> app;
    WordplayViewWindows* view = nullptr;
    PdfFolder pdfs;
    std::vector<PreviewStep> steps_;
    std::size_t step_ = 0;
    std::vector<std::unique_ptr<Watcher>> watchers_;
};

TEST_F(Printing, PrintingCarpetWritesEveryResultInColumns) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    fw::Printer* printer = Printer();
    if (!printer) GTEST_SKIP() << kNoPrinter;
    if (!pdfs.Known()) GTEST_SKIP() << kNoPdfFolder;
    pdfs.Clear();
    ASSERT_GT(view->Rows().size(), 100u);
    EXPECT_TRUE(Enabled(CM_FILEPRINT));
    EXPECT_TRUE(Enabled(CM_FILEPRINTPREVIEW));

    // Two selected rows: the dialog starts on Selection; the user picks All.
    SelectRows({1, 4});
    bool selectionChosen = false, selectionOffered = false;
    std::string document, device, page;
    WhenDialog("Print", [&](HWND dialog) {
        selectionChosen = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED;
        selectionOffered = IsWindowEnabled(GetDlgItem(dialog, rad2)) != FALSE;
        SaveScreenshot(dialog, "print-dialog");
        Click(dialog, rad1);
        WhenDialog("Printing", [&](HWND box) {
            document = DialogItemText(box, IDC_PRINTINGDOCUMENT);
            device = DialogItemText(box, IDC_PRINTINGDEVICE);
            SaveScreenshot(box, "printing-box");
        });
        Click(dialog, IDOK);
    });
    Command(CM_FILEPRINT);
    EXPECT_TRUE(selectionOffered);
    EXPECT_TRUE(selectionChosen);
    EXPECT_EQ(document, "'Quillon Output' on the");
    EXPECT_EQ(device, printer->DeviceName() + " on " + printer->PortName());
    EXPECT_EQ(LastPrintJobError(), 0);
    EXPECT_EQ(printer->DialogData().flags & kPrintSelection, 0u) << "All stays chosen";
    EXPECT_TRUE(IsWindowEnabled(Frame()));

    const std::string pdf = pdfs.WaitForPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfs.Path();
    CopyFileA(WindowsPath(pdf).c_str(),
              WindowsPath(ScreenshotFolder() + "/print-carpet.pdf").c_str(), FALSE);
    const std::string image = ScreenshotFolder() + "/print-carpet-page1";
    EXPECT_TRUE(
        RunUnixFor("pdftoppm -png -r 50 -f 1 -l 1 -singlefile '" + pdf + "' '" + image + "-part'",
                   image + "-part.png", image + ".png"));

    // Every result's bracketed text, in list order, in the columns of its page.
    const std::vector<PageLayout> printed = PdfPages(PdfText(pdf));
    const std::vector<PageLayout> expected = ExpectedPages(false);
    ASSERT_GT(expected.size(), 1u);
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [](const PageLayout& each) {
        return each[0].size() > 1;
    })) << "a page of more than one column";
    ASSERT_EQ(printed.size(), expected.size());
    for (std::size_t p = 0; p < expected.size(); ++p)
        EXPECT_EQ(printed[p], expected[p]) << "page " << p + 1;
    std::vector<std::string> all;
    for (const PageLayout& p : printed)
        for (const Cells& row : p)
            all.insert(all.end(), row.begin(), row.end());
    ASSERT_EQ(all.size(), view->Rows().size());
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i], Bracketed(static_cast<int>(i)));
}

TEST_F(Printing, PrintingTheSelectionPrintsOnlyTheSelectedRows) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    if (!Printer()) GTEST_SKIP() << kNoPrinter;
    if (!pdfs.Known()) GTEST_SKIP() << kNoPdfFolder;
    pdfs.Clear();
    // A row with deleted letters shows them in brackets on paper.
    int bracketed = -1;
    for (std::size_t i = 0; i < view->Rows().size() && bracketed < 0; ++i)
        if (view->Rows()[i].style.find('E') != std::string::npos) bracketed = static_cast<int>(i);
    ASSERT_GE(bracketed, 0);
    ASSERT_NE(bracketed, 2);
    SelectRows({2, bracketed});
    bool selectionChosen = false;
    WhenDialog("Print", [&](HWND dialog) {
        selectionChosen = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED;
        Click(dialog, IDOK);
    });
    // Ctrl+P in the list, through the program's own message handling.
    SetFocus(view->List());
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(view->List(), WM_KEYDOWN, 'P', 0);
    app->PumpWaitingMessages();
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(selectionChosen);
    const std::string pdf = pdfs.WaitForPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfs.Path();
    const std::vector<PageLayout> printed = PdfPages(PdfText(pdf));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], ExpectedPages(true)[0]);
    const int first = std::min(2, bracketed), second = std::max(2, bracketed);
    EXPECT_EQ(printed[0][0], (Cells{Bracketed(first), Bracketed(second)})) << "in list order";
    EXPECT_NE(Bracketed(bracketed).find('('), std::string::npos);
}

TEST_F(Printing, CancellingPrintsNothingAndCancelInTheJobIsReported) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    if (!Printer()) GTEST_SKIP() << kNoPrinter;
    ASSERT_EQ(ListView_GetSelectedCount(view->List()), 1u);
    // Cancel in the print dialog: nothing printed, nothing reported. With
    // the one row a search selects, Selection is offered but All is chosen.
    bool errorShown = false, allChosen = false, selectionOffered = false;
    WhenDialog("Print", [&](HWND dialog) {
        allChosen = IsDlgButtonChecked(dialog, rad1) == BST_CHECKED;
        selectionOffered = IsWindowEnabled(GetDlgItem(dialog, rad2)) != FALSE;
        Click(dialog, IDCANCEL);
        WhenDialog(
            "Print Error",
            [&](HWND box) {
                errorShown = true;
                Click(box, IDOK);
            },
            false);
    });
    Command(CM_FILEPRINT);
    PumpMessages(300);
    watchers_.clear();
    EXPECT_TRUE(allChosen);
    EXPECT_TRUE(selectionOffered);
    EXPECT_FALSE(errorShown);
    EXPECT_EQ(LastPrintJobError(), 0);

    // Cancel in the "Printing" box stops the job, which says so. The box is
    // looked at as soon as the job first lets messages through.
    std::string report;
    WhenDialog("Print", [&](HWND dialog) {
        WhenDialog("Printing", [&](HWND box) {
            Click(box, IDCANCEL);
            WhenDialog("Print Error", [&](HWND error) {
                report = DialogItemText(error, 0xFFFF);
                SaveScreenshot(error, "print-error");
                Click(error, IDOK);
            });
        });
        watchers_.back()->Poke();
        Click(dialog, IDOK);
    });
    Command(CM_FILEPRINT);
    EXPECT_EQ(report, "'Quillon Output' not printed. Printing canceled.");
    EXPECT_EQ(LastPrintJobError(), SP_APPABORT);
    EXPECT_TRUE(IsWindowEnabled(Frame()));
}

TEST_F(Printing, WithoutAPrinterTheCommandsAreDisabledAndDoNothing) {
    NoPrinterContext context(shell);
    WordplayViewWindows noPrinterView(context);
    fw::FrameWindow frame("Quillon", &noPrinterView);
    ASSERT_TRUE(frame.CreateFrame());
    if (noPrinterView.Dictionary() && !noPrinterView.Dictionary()->FirstInvalidPath())
        noPrinterView.Search("CARPET");
    for (UINT id : {CM_FILEPRINT, CM_FILEPRINTPREVIEW, CM_FILEPAGESETUP}) {
        fw::CommandEnabler ce(id);
        frame.RouteCommandEnable(ce);
        EXPECT_TRUE(ce.Handled()) << id;
        EXPECT_FALSE(ce.Enabled()) << id;
    }
    // Called anyway, they show nothing: the watcher can only run inside them
    // if one of them runs a dialog, which it then closes.
    bool inside = false, dialogShown = false;
    watchers_.push_back(std::make_unique<Watcher>(
        [&] {
            if (!inside) return true;
            dialogShown = true;
            if (HWND dialog = GetActiveWindow(); dialog && dialog != frame.Handle())
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        ""));
    inside = true;
    noPrinterView.Print();
    noPrinterView.PrintPreview();
    noPrinterView.PageSetup();
    inside = false;
    PumpMessages(50);
    EXPECT_FALSE(dialogShown);
    const int asked = context.asked;
    EXPECT_EQ(context.GetPrinter(), nullptr);
    EXPECT_EQ(context.asked, asked + 1) << "a missing printer is looked for again";
    DestroyWindow(frame.Handle());
}

TEST_F(Printing, PageSetupEditsTheMarginsInTheirUnit) {
    WriteSettingInt("MarginUnits", kMarginsInHundredthsOfMillimetre);
    WriteSettingInt("LeftMargin", 1000);
    Start();
    if (!Printer()) GTEST_SKIP() << kNoPrinter;
    EXPECT_TRUE(Enabled(CM_FILEPAGESETUP));
    EXPECT_EQ(view->Margins(),
              (PageMargins{kMarginsInHundredthsOfMillimetre, 1000, 2540, 2540, 2540}));
    std::string shownLeft, shownTop;
    WhenDialog("Setup Page", [&](HWND dialog) {
        shownLeft = DialogItemText(dialog, edt4);
        shownTop = DialogItemText(dialog, edt5);
        SaveScreenshot(dialog, "page-setup");
        SetDlgItemTextA(dialog, edt4, "20");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(edt4, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, edt4)));
        Click(dialog, IDOK);
    });
    Command(CM_FILEPAGESETUP);
    EXPECT_DOUBLE_EQ(std::atof(shownLeft.c_str()), 10.0) << shownLeft;
    EXPECT_DOUBLE_EQ(std::atof(shownTop.c_str()), 25.4) << shownTop;
    EXPECT_EQ(view->Margins().left, 2000);
    EXPECT_EQ(view->Margins().top, 2540);

    // Cancel leaves the margins as they were.
    WhenDialog("Setup Page", [&](HWND dialog) {
        SetDlgItemTextA(dialog, edt5, "40");
        Click(dialog, IDCANCEL);
    });
    Command(CM_FILEPAGESETUP);
    EXPECT_EQ(view->Margins().top, 2540);

    // The margins are stored when the main window closes.
    SendMessageA(Frame(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ReadSettingInt("LeftMargin", 0), 2000);
    EXPECT_EQ(ReadSettingInt("MarginUnits", 0), kMarginsInHundredthsOfMillimetre);
}

TEST_F(Printing, PreviewShowsTheSamePagesAndPagesThroughThem) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    fw::Printer* printer = Printer();
    if (!printer) GTEST_SKIP() << kNoPrinter;
    if (!pdfs.Known()) GTEST_SKIP() << kNoPdfFolder;
    pdfs.Clear();
    SelectRows({0});
    const std::vector<PageLayout> expected = ExpectedPages(false);
    const int pages = static_cast<int>(expected.size());
    ASSERT_GT(pages, 2);
    const std::string count = " of " + std::to_string(pages);

    struct Seen {
        std::string text;
        bool previous = false, next = false;
    };
    std::vector<Seen> seen;
    PrintPreviewWindowOrb* shown = nullptr;
    auto note = [&](PrintPreviewWindowOrb& p) {
        fw::ControlBar& bar = *p.GetControlBar();
        seen.push_back({p.PageText(), bar.IsButtonEnabled(CM_PREVIEWPREVIOUS),
                        bar.IsButtonEnabled(CM_PREVIEWNEXT)});
    };
    auto key = [](PrintPreviewWindowOrb& p, UINT vk) {
        PostMessageA(p.ClientWindow(), WM_KEYDOWN, vk, 0);
    };
    auto click = [](PrintPreviewWindowOrb& p, UINT id) {
        const RECT r = p.GetControlBar()->ButtonRect(id);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(p.GetControlBar()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(p.GetControlBar()->Handle(), WM_LBUTTONUP, 0, at);
    };
    PreviewSteps({
        [&](PrintPreviewWindowOrb& p) {
            shown = &p;
            note(p);
            SaveScreenshot(p.Handle(), "preview-first");
            click(p, CM_PREVIEWNEXT);
        },
        [&](PrintPreviewWindowOrb& p) {
            note(p);
            key(p, VK_END);
        },
        [&](PrintPreviewWindowOrb& p) {
            note(p);
            SaveScreenshot(p.Handle(), "preview-last");
            click(p, CM_PREVIEWPRINTPAGE);
            key(p, VK_NEXT); // nothing after the last page
            key(p, VK_PRIOR);
        },
        [&](PrintPreviewWindowOrb& p) {
            note(p);
            key(p, VK_HOME);
            key(p, VK_LEFT); // nothing before the first
        },
        [&](PrintPreviewWindowOrb& p) {
            note(p);
            key(p, VK_ESCAPE);
        },
    });
    Command(CM_FILEPRINTPREVIEW);
    EXPECT_NE(shown, nullptr);
    const std::vector<Seen> wanted = {{"Page 1" + count, false, true},
                                      {"Page 2" + count, true, true},
                                      {"Page " + std::to_string(pages) + count, true, false},
                                      {"Page " + std::to_string(pages - 1) + count, true, true},
                                      {"Page 1" + count, false, true}};
    ASSERT_EQ(seen.size(), wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        EXPECT_EQ(seen[i].text, wanted[i].text) << "step " << i;
        EXPECT_EQ(seen[i].previous, wanted[i].previous) << "step " << i;
        EXPECT_EQ(seen[i].next, wanted[i].next) << "step " << i;
    }
    EXPECT_FALSE(FindWindowA("QuillonPrintPreview", nullptr)) << "Esc closes the preview";
    EXPECT_TRUE(IsWindowEnabled(Frame()));

    // The page shown went to the printer on its own.
    const std::string pdf = pdfs.WaitForPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfs.Path();
    const std::vector<PageLayout> printed = PdfPages(PdfText(pdf));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], expected.back());
}

TEST_F(Printing, PreviewOffersTheSelectionAsTheResultsWereSelected) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    if (!Printer()) GTEST_SKIP() << kNoPrinter;
    const int allPages = static_cast<int>(ExpectedPages(false).size());
    struct Case {
        std::vector<int> selected;
        bool allPressed, selectedPressed, selectedEnabled;
        int pages;
    };
    const Case cases[] = {
        {{3, 9}, false, true, true, 1}, // two: "Selected Results", their one page
        {{3}, true, false, true, allPages},
        {{}, true, false, false, allPages},
    };
    for (const Case& c : cases) {
        SelectRows(c.selected);
        bool all = false, selected = false, enabled = false;
        int pages = 0, afterToggle = 0;
        WhenPreview([&](PrintPreviewWindowOrb& p) {
            fw::ControlBar& bar = *p.GetControlBar();
            all = bar.IsButtonPressed(CM_PREVIEWALL);
            selected = bar.IsButtonPressed(CM_PREVIEWSELECTED);
            enabled = bar.IsButtonEnabled(CM_PREVIEWSELECTED);
            pages = p.PageCount();
            // The other choice paginates afresh.
            p.ChooseLines(selected ? CM_PREVIEWALL : CM_PREVIEWSELECTED);
            afterToggle = p.PageCount();
            PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
        });
        Command(CM_FILEPRINTPREVIEW);
        const std::string what = std::to_string(c.selected.size()) + " selected";
        EXPECT_EQ(all, c.allPressed) << what;
        EXPECT_EQ(selected, c.selectedPressed) << what;
        EXPECT_EQ(enabled, c.selectedEnabled) << what;
        EXPECT_EQ(pages, c.pages) << what;
        EXPECT_EQ(afterToggle, c.selected.empty()  ? allPages
                               : c.selectedPressed ? allPages
                                                   : 1)
            << what;
    }
}

TEST_F(Printing, PreviewToolbarShowsItsPicturesAndTipsAndHelpShowsItsPage) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    if (!Printer()) GTEST_SKIP() << kNoPrinter;
    std::map<UINT, std::string> tips;
    int images = 0, imageWidth = 0, imageHeight = 0;
    WhenPreview([&](PrintPreviewWindowOrb& p) {
        fw::ControlBar& bar = *p.GetControlBar();
        for (UINT id : bar.ButtonIds()) {
            NMTTDISPINFOA info{};
            info.hdr = {bar.ToolTips(), id, TTN_GETDISPINFOA};
            SendMessageA(p.Handle(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
            tips[id] = info.lpszText ? info.lpszText : "";
        }
        auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(bar.Handle(), TB_GETIMAGELIST, 0, 0));
        images = ImageList_GetImageCount(list);
        ImageList_GetIconSize(list, &imageWidth, &imageHeight);
        SendMessageA(p.Handle(), WM_HELP, 0, 0);
        PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
    });
    Command(CM_FILEPRINTPREVIEW);
    const std::map<UINT, std::string> wanted = {{CM_PREVIEWALL, "All Results"},
                                                {CM_PREVIEWSELECTED, "Selected Results"},
                                                {CM_PREVIEWPREVIOUS, "Show previous page"},
                                                {CM_PREVIEWNEXT, "Show next page"},
                                                {CM_PREVIEWPRINTPAGE, "Print page"}};
    EXPECT_EQ(tips, wanted);
    EXPECT_EQ(images, 5);
    EXPECT_EQ(imageWidth, 21) << "the widest picture, the printer";
    EXPECT_EQ(imageHeight, 21);
    ASSERT_FALSE(shell.opened.empty());
    EXPECT_NE(shell.opened.back().find("print_preview.html"), std::string::npos);
}

TEST_F(Printing, PreviewLaysThePageOutByOrientationAndScrollsBackOnResize) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    fw::Printer* printer = Printer();
    if (!printer) GTEST_SKIP() << kNoPrinter;
    struct Seen {
        bool vertical = false, horizontal = false;
        RECT client{}, page{};
        int margin = 0;
        PageSize size;
        std::int64_t wheeled = 0, afterResize = -1;
    };
    auto look = [&](Seen& s) {
        PreviewSteps({
            [&](PrintPreviewWindowOrb& p) {
                const LONG style = GetWindowLongA(p.ClientWindow(), GWL_STYLE);
                s.vertical = (style & WS_VSCROLL) != 0;
                s.horizontal = (style & WS_HSCROLL) != 0;
                GetClientRect(p.ClientWindow(), &s.client);
                GetWindowRect(p.PageWindow(), &s.page);
                MapWindowPoints(nullptr, p.ClientWindow(), reinterpret_cast<POINT*>(&s.page), 2);
                s.margin = p.PageMargin();
                s.size = p.GetPageSize();
                PostMessageA(p.ClientWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
            },
            [&](PrintPreviewWindowOrb& p) {
                s.wheeled = s.vertical ? p.Scroller().Y() : p.Scroller().X();
                RECT r{};
                GetWindowRect(p.Handle(), &r);
                SetWindowPos(p.Handle(), nullptr, 0, 0, r.right - r.left - 40,
                             r.bottom - r.top - 30, SWP_NOMOVE | SWP_NOZORDER);
                s.afterResize = p.Scroller().X() + p.Scroller().Y();
                PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
            },
        });
        Command(CM_FILEPRINTPREVIEW);
    };

    Seen portrait;
    look(portrait);
    EXPECT_TRUE(portrait.vertical);
    EXPECT_FALSE(portrait.horizontal);
    EXPECT_EQ(portrait.page.left, portrait.margin);
    EXPECT_EQ(portrait.page.top, portrait.margin);
    const int width = portrait.client.right - 2 * portrait.margin;
    EXPECT_EQ(portrait.page.right - portrait.page.left, width);
    EXPECT_EQ(portrait.page.bottom - portrait.page.top,
              width * (portrait.size.height * 95 / portrait.size.width) / 100);
    EXPECT_EQ(portrait.wheeled, 24) << "one wheel notch down is one line";
    EXPECT_EQ(portrait.afterResize, 0);

    // The same printer turned to landscape.
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(printer->DevMode()));
    ASSERT_NE(mode, nullptr);
    const short orientation = mode->dmOrientation;
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    mode->dmFields |= DM_ORIENTATION;
    GlobalUnlock(printer->DevMode());
    Seen landscape;
    look(landscape);
    mode = static_cast<DEVMODEA*>(GlobalLock(printer->DevMode()));
    mode->dmOrientation = orientation;
    GlobalUnlock(printer->DevMode());
    EXPECT_GT(landscape.size.width, landscape.size.height);
    EXPECT_TRUE(landscape.horizontal);
    EXPECT_FALSE(landscape.vertical);
    const int height = landscape.client.bottom - 2 * landscape.margin;
    EXPECT_EQ(landscape.page.bottom - landscape.page.top, height);
    EXPECT_EQ(landscape.page.right - landscape.page.left,
              height * (landscape.size.width * 95 / landscape.size.height) / 100);
}

TEST_F(Printing, PreviewOpensWhereItWasLeftMaximisedOrNot) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    if (!Printer()) GTEST_SKIP() << kNoPrinter;
    // First time: over the results view exactly.
    RECT first{}, viewRect{};
    GetClientRect(view->Handle(), &viewRect);
    MapWindowPoints(view->Handle(), nullptr, reinterpret_cast<POINT*>(&viewRect), 2);
    bool disabledMeanwhile = false;
    WhenPreview([&](PrintPreviewWindowOrb& p) {
        GetWindowRect(p.Handle(), &first);
        disabledMeanwhile = !IsWindowEnabled(Frame());
        SetWindowPos(p.Handle(), nullptr, 40, 50, 600, 500, SWP_NOZORDER);
        ShowWindow(p.Handle(), SW_MAXIMIZE);
        PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
    });
    Command(CM_FILEPRINTPREVIEW);
    EXPECT_TRUE(disabledMeanwhile) << "the preview is modal";
    EXPECT_EQ(first.left, viewRect.left);
    EXPECT_EQ(first.top, viewRect.top - 1);
    EXPECT_EQ(first.right - first.left, viewRect.right - viewRect.left);
    EXPECT_EQ(first.bottom - first.top, viewRect.bottom - viewRect.top + 1);

    bool zoomed = false;
    RECT restored{};
    WhenPreview([&](PrintPreviewWindowOrb& p) {
        zoomed = IsZoomed(p.Handle()) != FALSE;
        ShowWindow(p.Handle(), SW_RESTORE);
        GetWindowRect(p.Handle(), &restored);
        PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
    });
    Command(CM_FILEPRINTPREVIEW);
    EXPECT_TRUE(zoomed);
    EXPECT_EQ(restored.left, 40);
    EXPECT_EQ(restored.top, 50);
    EXPECT_EQ(restored.right - restored.left, 600);
    EXPECT_EQ(restored.bottom - restored.top, 500);
}

} // namespace
