// Printing the results on a real printer: the CUPS-PDF queue that the test
// scripts make this run's default printer. The print and page-setup dialogs
// and the "Printing" box are driven as a user drives them, the PDF that the
// spooler writes is read back with pdftotext (and rendered with pdftoppm),
// and the preview is paged through with its buttons and keys. Leaves
// build/screenshots/print-carpet.pdf, preview-first.png and preview-last.png.
#include "GuiTestSupport.h"

#include "printer/GdiPrintDevice.h"
#include "printer/PrintJob.h"
#include "printing/OrbPrintout.h"
#include "results/ResultList.h"
#include "views/PrintPreviewWindow.h"
#include "views/WordplayPrintoutFeeder.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using namespace guitest;

constexpr const char* kPreview = "Quillon Output";
constexpr const char* kNoPrinter =
    "no default printer: CUPS could not run here (scripts/pdf-printer sets one up)";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ScreenshotFolder() {
    const std::string dir = Env("QUILLON_SCREENSHOTS");
    return dir.empty() ? QUILLON_SOURCE_DIR "/build/screenshots" : dir;
}

// Runs a Unix command line through the shell and waits for the file it
// writes: the command writes to a scratch name and renames it when done, as
// Wine neither waits for a Unix program nor learns its exit code. True when
// the file appeared.
bool RunUnixFor(const std::string& command, const std::string& part, const std::string& output) {
    DeleteFileA(WindowsPath(output).c_str());
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "/bin/sh -c \"" + command + " && mv '" + part + "' '" + output + "'\"";
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    fw::KernelHandle process(pi.hProcess), thread(pi.hThread);
    for (int tick = 0; tick < 600; ++tick, Sleep(100))
        if (GetFileAttributesA(WindowsPath(output).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
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
    // Empties the folder, which is this run's own; with none named the
    // pattern would match the drive's root, so nothing is deleted then.
    void Clear() const {
        if (!Known()) return;
        for (const std::string& name : Names("*"))
            DeleteFileA((WindowsPath(unix_) + "\\" + name).c_str());
    }
    // The PDF of the job just printed, complete (CUPS-PDF writes it some
    // time after the job has ended); its Unix path, or empty.
    std::string WaitForPdf(int seconds = 120) const {
        for (int tick = 0; tick < seconds * 5; ++tick, PumpMessages(200))
            for (const std::string& name : Names()) {
                const std::string content = ReadWholeFile(WindowsPath(unix_) + "\\" + name);
                const std::size_t end = content.rfind("%%EOF");
                if (end != std::string::npos && content.size() - end < 8) return unix_ + "/" + name;
            }
        return {};
    }

private:
    std::string unix_ = Env("QUILLON_PRINT_OUTPUT");
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

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A step on the preview window, inside its modal loop.
ModalScript::Action OnPreview(std::function<void(PrintPreviewWindowOrb&)> act) {
    return [act](HWND window) {
        act(*dynamic_cast<PrintPreviewWindowOrb*>(fw::Window::FromHandle(window)));
    };
}

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

class Printing : public AppTest<> {
protected:
    // Starts the program and searches CARPET; why the test cannot run, or
    // empty. A test that reads the PDFs back starts with none.
    std::string StartOnCarpet(bool readsPdfs = false) {
        Start();
        if (HasFatalFailure() || !Search("CARPET"))
            return "the default dictionary is not in the runnable folder";
        if (!Printer()) return kNoPrinter;
        if (readsPdfs && !pdfs.Known())
            return "QUILLON_PRINT_OUTPUT names no folder: the printer is not this run's CUPS-PDF "
                   "queue";
        pdfs.Clear();
        return {};
    }
    fw::Printer* Printer() const { return view->Context().GetPrinter(); }
    void SelectRows(const std::vector<int>& rows) {
        ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows)
            ListView_SetItemState(view->List(), row, LVIS_SELECTED, LVIS_SELECTED);
    }
    std::string Bracketed(int row) const {
        return DisplayText(view->Rows()[static_cast<std::size_t>(row)], true).text;
    }
    // The pages of the one PDF printed, as pdftotext lays them out.
    std::vector<PageLayout> PrintedPages() {
        const std::string pdf = pdfs.WaitForPdf();
        EXPECT_FALSE(pdf.empty()) << "no PDF in " << pdfs.Path();
        return pdf.empty() ? std::vector<PageLayout>{} : PdfPages(PdfText(pdf));
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
            PageLayout& rows = pages.emplace_back();
            for (const auto& [y, cells] : device.drawn) {
                rows.emplace_back();
                for (const auto& [x, text] : cells)
                    rows.back().push_back(text);
            }
        }
        return pages;
    }

    PdfFolder pdfs;
};

TEST_F(Printing, PrintingCarpetWritesEveryResultInColumns) {
    if (const std::string why = StartOnCarpet(true); !why.empty()) GTEST_SKIP() << why;
    fw::Printer* printer = Printer();
    ASSERT_GT(view->Rows().size(), 100u);
    EXPECT_TRUE(Enabled(CM_FILEPRINT));
    EXPECT_TRUE(Enabled(CM_FILEPRINTPREVIEW));

    // Two selected rows: the dialog starts on Selection; the user picks All.
    SelectRows({1, 4});
    bool selectionChosen = false, selectionOffered = false;
    std::string document, device;
    ModalScript script;
    script
        .Then("Print",
              [&](HWND dialog) {
                  selectionChosen = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED;
                  selectionOffered = IsWindowEnabled(GetDlgItem(dialog, rad2)) != FALSE;
                  SaveScreenshot(dialog, "print-dialog");
                  Click(dialog, rad1);
                  script.Poke();
                  Click(dialog, IDOK);
              })
        .Then("Printing", [&](HWND box) {
            document = ItemText(box, IDC_PRINTINGDOCUMENT);
            device = ItemText(box, IDC_PRINTINGDEVICE);
            SaveScreenshot(box, "printing-box");
        });
    Run(script, CM_FILEPRINT);
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
    EXPECT_EQ(printed, expected);
    std::vector<std::string> all;
    for (const PageLayout& p : printed)
        for (const Cells& row : p)
            all.insert(all.end(), row.begin(), row.end());
    ASSERT_EQ(all.size(), view->Rows().size());
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i], Bracketed(static_cast<int>(i))) << "row " << i;
}

TEST_F(Printing, PrintingTheSelectionPrintsOnlyTheSelectedRows) {
    if (const std::string why = StartOnCarpet(true); !why.empty()) GTEST_SKIP() << why;
    // A row with deleted letters shows them in brackets on paper.
    const auto& rows = view->Rows();
    const auto withDeletion =
        std::find_if(rows.begin() + 3, rows.end(), [](const WordplayRow& row) {
            return row.style.find('E') != std::string::npos;
        });
    ASSERT_NE(withDeletion, rows.end());
    const int bracketed = static_cast<int>(withDeletion - rows.begin());
    SelectRows({bracketed, 2});
    bool selectionChosen = false;
    ModalScript script;
    script.Then("Print", [&](HWND dialog) {
        selectionChosen = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED;
        Click(dialog, IDOK);
    });
    script.Start();
    // Ctrl+P in the list, through the program's own message handling.
    SetFocus(view->List());
    HoldKeys({VK_CONTROL, VK_LCONTROL}, true);
    PostMessageA(view->List(), WM_KEYDOWN, 'P', 0);
    app->PumpWaitingMessages();
    HoldKeys({VK_CONTROL, VK_LCONTROL}, false);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(selectionChosen);
    const std::vector<PageLayout> printed = PrintedPages();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], ExpectedPages(true)[0]);
    EXPECT_EQ(printed[0][0], (Cells{Bracketed(2), Bracketed(bracketed)})) << "in list order";
    EXPECT_NE(Bracketed(bracketed).find('('), std::string::npos);
}

TEST_F(Printing, CancellingPrintsNothingAndCancelInTheJobIsReported) {
    if (const std::string why = StartOnCarpet(); !why.empty()) GTEST_SKIP() << why;
    ASSERT_EQ(ListView_GetSelectedCount(view->List()), 1u);
    // Cancel in the print dialog: nothing printed, nothing reported. With
    // the one row a search selects, Selection is offered but All is chosen.
    bool allChosen = false, selectionOffered = false;
    {
        ModalScript cancelDialog;
        cancelDialog.Never("Print Error").Then("Print", [&](HWND dialog) {
            allChosen = IsDlgButtonChecked(dialog, rad1) == BST_CHECKED;
            selectionOffered = IsWindowEnabled(GetDlgItem(dialog, rad2)) != FALSE;
            Click(dialog, IDCANCEL);
        });
        Run(cancelDialog, CM_FILEPRINT);
        PumpMessages(300);
    }
    EXPECT_TRUE(allChosen);
    EXPECT_TRUE(selectionOffered);
    EXPECT_EQ(LastPrintJobError(), 0);

    // Cancel in the "Printing" box stops the job, which says so. The box is
    // looked at as soon as the job first lets messages through.
    std::string report;
    ModalScript cancelJob;
    cancelJob
        .Then("Print",
              [&](HWND dialog) {
                  cancelJob.Poke();
                  Click(dialog, IDOK);
              })
        .Then("Printing", [&](HWND box) { Click(box, IDCANCEL); })
        .Then("Print Error", [&](HWND error) {
            report = ItemText(error, 0xFFFF);
            SaveScreenshot(error, "print-error");
            Click(error, IDOK);
        });
    Run(cancelJob, CM_FILEPRINT);
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
    // Called anyway, they show nothing: the callback can only run inside them
    // if one of them runs a dialog, which it then closes.
    bool inside = true, dialogShown = false;
    callback.Post([&] {
        if (!inside) return;
        dialogShown = true;
        if (HWND dialog = GetActiveWindow(); dialog && dialog != frame.Handle())
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
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
    std::string shownLeft, shownTop;
    ModalScript edit;
    edit.Then("Setup Page", [&](HWND dialog) {
        shownLeft = ItemText(dialog, edt4);
        shownTop = ItemText(dialog, edt5);
        SaveScreenshot(dialog, "page-setup");
        SetDlgItemTextA(dialog, edt4, "20");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(edt4, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, edt4)));
        Click(dialog, IDOK);
    });
    Run(edit, CM_FILEPAGESETUP);
    EXPECT_DOUBLE_EQ(std::atof(shownLeft.c_str()), 10.0) << shownLeft;
    EXPECT_DOUBLE_EQ(std::atof(shownTop.c_str()), 25.4) << shownTop;
    EXPECT_EQ(view->Margins(),
              (PageMargins{kMarginsInHundredthsOfMillimetre, 2000, 2540, 2540, 2540}));

    // Cancel leaves the margins as they were.
    ModalScript cancel;
    cancel.Then("Setup Page", [&](HWND dialog) {
        SetDlgItemTextA(dialog, edt5, "40");
        Click(dialog, IDCANCEL);
    });
    Run(cancel, CM_FILEPAGESETUP);
    EXPECT_EQ(view->Margins().top, 2540);

    // The margins are stored when the main window closes.
    SendMessageA(Frame(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ReadSettingInt("LeftMargin", 0), 2000);
    EXPECT_EQ(ReadSettingInt("MarginUnits", 0), kMarginsInHundredthsOfMillimetre);
}

TEST_F(Printing, PreviewShowsTheSamePagesAndPagesThroughThem) {
    if (const std::string why = StartOnCarpet(true); !why.empty()) GTEST_SKIP() << why;
    SelectRows({0});
    const std::vector<PageLayout> expected = ExpectedPages(false);
    const int pages = static_cast<int>(expected.size());
    ASSERT_GT(pages, 2);

    // What the preview shows at each step: the page, and "<" and ">" for
    // the buttons to the previous and next page when they are enabled.
    std::vector<std::string> seen;
    auto key = [](PrintPreviewWindowOrb& p, UINT vk) {
        PostMessageA(p.ClientWindow(), WM_KEYDOWN, vk, 0);
    };
    auto click = [](PrintPreviewWindowOrb& p, UINT id) {
        const RECT r = p.GetControlBar()->ButtonRect(id);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(p.GetControlBar()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(p.GetControlBar()->Handle(), WM_LBUTTONUP, 0, at);
    };
    const std::vector<std::function<void(PrintPreviewWindowOrb&)>> steps = {
        [&](PrintPreviewWindowOrb& p) {
            SaveScreenshot(p.Handle(), "preview-first");
            click(p, CM_PREVIEWNEXT);
        },
        [&](PrintPreviewWindowOrb& p) { key(p, VK_END); },
        [&](PrintPreviewWindowOrb& p) {
            SaveScreenshot(p.Handle(), "preview-last");
            click(p, CM_PREVIEWPRINTPAGE);
            key(p, VK_NEXT); // nothing after the last page
            key(p, VK_PRIOR);
        },
        [&](PrintPreviewWindowOrb& p) {
            key(p, VK_HOME);
            key(p, VK_LEFT); // nothing before the first
        },
        [&](PrintPreviewWindowOrb& p) { key(p, VK_ESCAPE); },
    };
    ModalScript script;
    for (const auto& step : steps)
        script.Then(kPreview, OnPreview([&](PrintPreviewWindowOrb& p) {
                        fw::ControlBar& bar = *p.GetControlBar();
                        seen.push_back(p.PageText() +
                                       (bar.IsButtonEnabled(CM_PREVIEWPREVIOUS) ? " <" : "") +
                                       (bar.IsButtonEnabled(CM_PREVIEWNEXT) ? " >" : ""));
                        step(p);
                    }));
    Run(script, CM_FILEPRINTPREVIEW);
    const std::string of = " of " + std::to_string(pages);
    EXPECT_EQ(seen, (std::vector<std::string>{"Page 1" + of + " >", "Page 2" + of + " < >",
                                              "Page " + std::to_string(pages) + of + " <",
                                              "Page " + std::to_string(pages - 1) + of + " < >",
                                              "Page 1" + of + " >"}));
    EXPECT_FALSE(FindWindowA("QuillonPrintPreview", nullptr)) << "Esc closes the preview";
    EXPECT_TRUE(IsWindowEnabled(Frame()));

    // The page shown went to the printer on its own.
    const std::vector<PageLayout> printed = PrintedPages();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], expected.back());
}

TEST_F(Printing, PreviewOffersTheSelectionAsTheResultsWereSelected) {
    if (const std::string why = StartOnCarpet(); !why.empty()) GTEST_SKIP() << why;
    const int allPages = static_cast<int>(ExpectedPages(false).size());
    struct Case {
        std::vector<int> selected;
        bool allPressed, selectedPressed, selectedEnabled;
        int pages, afterToggle; // the other choice paginates afresh
    };
    const Case cases[] = {
        {{3, 9}, false, true, true, 1, allPages}, // two: "Selected Results", their one page
        {{3}, true, false, true, allPages, 1},
        {{}, true, false, false, allPages, allPages},
    };
    for (const Case& c : cases) {
        SelectRows(c.selected);
        bool all = false, selected = false, enabled = false;
        int pages = 0, afterToggle = 0;
        ModalScript script;
        script.Then(kPreview, OnPreview([&](PrintPreviewWindowOrb& p) {
                        fw::ControlBar& bar = *p.GetControlBar();
                        all = bar.IsButtonPressed(CM_PREVIEWALL);
                        selected = bar.IsButtonPressed(CM_PREVIEWSELECTED);
                        enabled = bar.IsButtonEnabled(CM_PREVIEWSELECTED);
                        pages = p.PageCount();
                        p.ChooseLines(selected ? CM_PREVIEWALL : CM_PREVIEWSELECTED);
                        afterToggle = p.PageCount();
                        PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
                    }));
        Run(script, CM_FILEPRINTPREVIEW);
        // All pressed, Selected pressed, Selected enabled, pages, pages after the other choice.
        EXPECT_EQ((std::vector<int>{all, selected, enabled, pages, afterToggle}),
                  (std::vector<int>{c.allPressed, c.selectedPressed, c.selectedEnabled, c.pages,
                                    c.afterToggle}))
            << c.selected.size() << " selected";
    }
}

TEST_F(Printing, PreviewLaysThePageOutByOrientationAndScrollsBackOnResize) {
    if (const std::string why = StartOnCarpet(); !why.empty()) GTEST_SKIP() << why;
    fw::Printer* printer = Printer();
    // Sets the printer's orientation; the one it had. (Without a device mode
    // the landscape checks fail.)
    auto orient = [&](short orientation) -> short {
        auto* mode = static_cast<DEVMODEA*>(GlobalLock(printer->DevMode()));
        if (!mode) return orientation;
        std::swap(mode->dmOrientation, orientation);
        mode->dmFields |= DM_ORIENTATION;
        GlobalUnlock(printer->DevMode());
        return orientation;
    };
    for (const bool landscape : {false, true}) {
        const short was = orient(landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
        bool vertical = false, horizontal = false;
        RECT client{}, page{};
        int margin = 0;
        PageSize size;
        std::int64_t wheeled = 0, afterResize = -1;
        ModalScript script;
        script
            .Then(kPreview, OnPreview([&](PrintPreviewWindowOrb& p) {
                      const LONG style = GetWindowLongA(p.ClientWindow(), GWL_STYLE);
                      vertical = (style & WS_VSCROLL) != 0;
                      horizontal = (style & WS_HSCROLL) != 0;
                      GetClientRect(p.ClientWindow(), &client);
                      GetWindowRect(p.PageWindow(), &page);
                      MapWindowPoints(nullptr, p.ClientWindow(), reinterpret_cast<POINT*>(&page),
                                      2);
                      margin = p.PageMargin();
                      size = p.GetPageSize();
                      PostMessageA(p.ClientWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
                  }))
            .Then(kPreview, OnPreview([&](PrintPreviewWindowOrb& p) {
                      wheeled = vertical ? p.Scroller().Y() : p.Scroller().X();
                      RECT r{};
                      GetWindowRect(p.Handle(), &r);
                      SetWindowPos(p.Handle(), nullptr, 0, 0, r.right - r.left - 40,
                                   r.bottom - r.top - 30, SWP_NOMOVE | SWP_NOZORDER);
                      afterResize = p.Scroller().X() + p.Scroller().Y();
                      PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
                  }));
        Run(script, CM_FILEPRINTPREVIEW);
        orient(was);
        // The page fills the window across its short side and scrolls along
        // its long one.
        const char* what = landscape ? "landscape" : "portrait";
        EXPECT_EQ(size.width > size.height, landscape) << what;
        EXPECT_EQ(vertical, !landscape) << what;
        EXPECT_EQ(horizontal, landscape) << what;
        const int across = (landscape ? client.bottom : client.right) - 2 * margin;
        const int along = landscape ? page.right - page.left : page.bottom - page.top;
        const int longSide = landscape ? size.width : size.height;
        const int shortSide = landscape ? size.height : size.width;
        EXPECT_EQ(landscape ? page.bottom - page.top : page.right - page.left, across) << what;
        EXPECT_EQ(along, across * (longSide * 95 / shortSide) / 100) << what;
        if (landscape) continue;
        EXPECT_EQ(page.left, margin);
        EXPECT_EQ(page.top, margin);
        EXPECT_EQ(wheeled, 24) << "one wheel notch down is one line";
        EXPECT_EQ(afterResize, 0);
    }
}

// The first preview covers the results view exactly and shows its toolbar;
// the next opens where the user left the last, maximised or not.
TEST_F(Printing, PreviewOpensOverTheViewWithItsToolbarThenWhereItWasLeft) {
    if (const std::string why = StartOnCarpet(); !why.empty()) GTEST_SKIP() << why;
    RECT first{}, viewRect{};
    GetClientRect(view->Handle(), &viewRect);
    MapWindowPoints(view->Handle(), nullptr, reinterpret_cast<POINT*>(&viewRect), 2);
    bool disabledMeanwhile = false;
    std::map<UINT, std::string> tips;
    int images = 0, imageWidth = 0, imageHeight = 0;
    ModalScript script;
    script.Then(kPreview, OnPreview([&](PrintPreviewWindowOrb& p) {
                    GetWindowRect(p.Handle(), &first);
                    disabledMeanwhile = !IsWindowEnabled(Frame());
                    fw::ControlBar& bar = *p.GetControlBar();
                    for (UINT id : bar.ButtonIds()) {
                        NMTTDISPINFOA info{};
                        info.hdr = {bar.ToolTips(), id, TTN_GETDISPINFOA};
                        SendMessageA(p.Handle(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
                        tips[id] = info.lpszText ? info.lpszText : "";
                    }
                    auto list = reinterpret_cast<HIMAGELIST>(
                        SendMessageA(bar.Handle(), TB_GETIMAGELIST, 0, 0));
                    images = ImageList_GetImageCount(list);
                    ImageList_GetIconSize(list, &imageWidth, &imageHeight);
                    SendMessageA(p.Handle(), WM_HELP, 0, 0);
                    SetWindowPos(p.Handle(), nullptr, 40, 50, 600, 500, SWP_NOZORDER);
                    ShowWindow(p.Handle(), SW_MAXIMIZE);
                    PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
                }));
    Run(script, CM_FILEPRINTPREVIEW);
    EXPECT_TRUE(disabledMeanwhile) << "the preview is modal";
    EXPECT_EQ(Text(first),
              Text({viewRect.left, viewRect.top - 1, viewRect.right, viewRect.bottom}));
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

    bool zoomed = false;
    RECT restored{};
    ModalScript again;
    again.Then(kPreview, OnPreview([&](PrintPreviewWindowOrb& p) {
                   zoomed = IsZoomed(p.Handle()) != FALSE;
                   ShowWindow(p.Handle(), SW_RESTORE);
                   GetWindowRect(p.Handle(), &restored);
                   PostMessageA(p.Handle(), WM_CLOSE, 0, 0);
               }));
    Run(again, CM_FILEPRINTPREVIEW);
    EXPECT_TRUE(zoomed);
    EXPECT_EQ(Text(restored), Text({40, 50, 640, 550}));
}

} // namespace
