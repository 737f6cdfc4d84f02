#include "printer/PrintJob.h"

#include "framework/Dialog.h"
#include "printer/GdiPrintDevice.h"
#include "resources/resource.h"

#include <commdlg.h>

#include <climits>
#include <cstdio>

namespace {

static_assert(PD_SELECTION == kPrintSelection);
static_assert(PSD_INTHOUSANDTHSOFINCHES == kMarginsInThousandthsOfInch);
static_assert(PSD_INHUNDREDTHSOFMILLIMETERS == kMarginsInHundredthsOfMillimetre);

int lastError = 0;

std::string LoadText(UINT id) {
    char buffer[1024] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

// A string-table pattern filled in; the pattern is ours, the values may be anything.
template <typename... Args> std::string Format(UINT patternId, Args... args) {
    const std::string pattern = LoadText(patternId);
    const int length = std::snprintf(nullptr, 0, pattern.c_str(), args...);
    if (length <= 0) return pattern;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern.c_str(), args...);
    text.resize(static_cast<size_t>(length));
    return text;
}

UINT ErrorTextId(int code) {
    switch (code) {
    case SP_OUTOFMEMORY:
        return IDS_PRINTERROROUTOFMEMORY;
    case SP_OUTOFDISK:
        return IDS_PRINTERROROUTOFDISK;
    case SP_APPABORT:
        return IDS_PRINTERRORCANCELED;
    case SP_USERABORT:
        return IDS_PRINTERRORABORTED;
    default:
        return IDS_PRINTERRORGENERAL;
    }
}

// The box shown while a job runs: the document, the printer, the page, and
// Cancel, which stops the job after the page being printed.
class PrintingDialog : public fw::Dialog {
public:
    PrintingDialog() : fw::Dialog(IDD_PRINTING) {}
    bool Cancelled() const { return cancelled_; }
    void Cancel() { cancelled_ = true; }
    void SetPage(int page) const {
        SetDlgItemTextA(Handle(), IDC_PRINTINGPAGE, Format(IDS_PRINTINGPAGE, page).c_str());
    }

protected:
    void OnCancel() override {
        cancelled_ = true;
        EnableWindow(Item(IDCANCEL), FALSE);
    }

private:
    bool cancelled_ = false;
};

// The running job's box, for the abort procedure, which gets no context.
PrintingDialog* runningJob = nullptr;

// Keeps the program responsive while the spooler works, and lets Cancel in
// the box stop the job.
void PumpJobMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is ending: stop printing and leave the quit for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (runningJob) runningJob->Cancel();
            return;
        }
        if (runningJob && runningJob->Handle() && IsDialogMessageA(runningJob->Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

BOOL CALLBACK AbortProc(HDC, int) {
    PumpJobMessages();
    return !runningJob || !runningJob->Cancelled();
}

// Prints every page of printout on dc; returns 1 or the spooler's error code.
int PrintPages(HDC dc, Printout& printout, std::uint32_t flags, PrintingDialog* box) {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = printout.Title().c_str();
    int result = StartDocA(dc, &info);
    // Cancel pressed while the spooler worked can make any step fail: it is
    // reported as the user's cancel, not as an error.
    auto outcome = [box](int code) {
        if (code <= 0 && box && box->Cancelled()) return SP_APPABORT;
        return code == 0 ? SP_ERROR : code;
    };
    if (result <= 0) return outcome(result);
    printout.BeginDocument(1, INT_MAX, flags);
    for (int page = 1;; ++page) {
        if (box) {
            PumpJobMessages();
            if (box->Cancelled()) {
                result = SP_APPABORT;
                break;
            }
        }
        if (!printout.PageExists(page)) break;
        if (box) box->SetPage(page);
        if ((result = StartPage(dc)) <= 0) break;
        printout.RenderPage(page);
        if ((result = EndPage(dc)) <= 0) break;
    }
    if (box && box->Cancelled()) result = SP_APPABORT;
    printout.EndDocument();
    if (result > 0)
        result = EndDoc(dc);
    else
        AbortDoc(dc);
    return outcome(result);
}

} // namespace

int LastPrintJobError() {
    return lastError;
}

bool RunPrintJob(fw::Printer& printer, HWND parent, Printout& printout, bool showDialog) {
    lastError = 0;
    HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    PrintDialogData& data = printer.DialogData();
    fw::OwnedDC dc;
    if (showDialog) {
        const DialogRanges ranges = printout.GetDialogRanges();
        PRINTDLGA pd{};
        pd.lStructSize = sizeof pd;
        pd.hwndOwner = owner;
        pd.hDevMode = printer.DevMode();
        pd.hDevNames = printer.DevNames();
        pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
        if (ranges.selectionTo == 0)
            pd.Flags |= PD_NOSELECTION;
        else
            pd.Flags |= data.flags & PD_SELECTION;
        if (ranges.maxPage == 0) {
            pd.Flags |= PD_NOPAGENUMS;
        } else {
            pd.nMinPage = static_cast<WORD>(ranges.minPage);
            pd.nMaxPage = static_cast<WORD>(ranges.maxPage);
            pd.nFromPage = pd.nMinPage;
            pd.nToPage = pd.nMaxPage;
        }
        pd.nCopies = 1;
        const BOOL chosen = PrintDlgA(&pd);
        printer.SetDevice(pd.hDevMode, pd.hDevNames);
        if (!chosen) {
            // Cancel is no failure; a dialog that could not run is.
            if (CommDlgExtendedError() == 0) return false;
            lastError = SP_ERROR;
        } else {
            data.flags = (data.flags & ~PD_SELECTION) | (pd.Flags & PD_SELECTION);
            dc = fw::OwnedDC(pd.hDC);
        }
    } else {
        dc = printer.CreatePrinterDC();
    }

    if (dc) {
        PrintingDialog box;
        if (box.CreateModeless(owner)) {
            SetDlgItemTextA(box.Handle(), IDC_PRINTINGDOCUMENT,
                            Format(IDS_PRINTINGLINE1, printout.Title().c_str()).c_str());
            SetDlgItemTextA(
                box.Handle(), IDC_PRINTINGDEVICE,
                Format(IDS_PRINTINGLINE2, printer.DeviceName().c_str(), printer.PortName().c_str())
                    .c_str());
            ShowWindow(box.Handle(), SW_SHOWNORMAL);
            UpdateWindow(box.Handle());
        }
        const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
        if (ownerWasEnabled) EnableWindow(owner, FALSE);

        GdiPrintDevice device(dc.Get());
        printout.SetPrintDevice(&device, fw::Printer::PageSizeOf(dc.Get()));
        runningJob = box.Handle() ? &box : nullptr;
        SetAbortProc(dc.Get(), AbortProc);
        printout.BeginPrinting();
        const int result = PrintPages(dc.Get(), printout, data.flags, runningJob);
        printout.EndPrinting();
        printout.SetPrintDevice(nullptr, {}); // the device goes with this scope
        runningJob = nullptr;

        // The owner comes back before the box goes, so that it is activated.
        if (ownerWasEnabled) EnableWindow(owner, TRUE);
        box.DestroyWindow();
        if (result > 0) return true;
        lastError = result;
    } else if (lastError == 0) {
        lastError = SP_ERROR;
    }

    const std::string text = Format(IDS_PRINTERRORTEXT, printout.Title().c_str(),
                                    LoadText(ErrorTextId(lastError)).c_str());
    MessageBoxA(owner, text.c_str(), LoadText(IDS_PRINTERRORCAPTION).c_str(), MB_OK | MB_ICONSTOP);
    return false;
}

bool PrintSinglePage(HDC dc, Printout& printout, int page, std::uint32_t flags) {
    if (!dc) return false;
    GdiPrintDevice device(dc);
    printout.SetPrintDevice(&device, fw::Printer::PageSizeOf(dc));
    printout.BeginPrinting();
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = printout.Title().c_str();
    bool printed = false;
    if (StartDocA(dc, &info) > 0) {
        printout.BeginDocument(page, page, flags);
        bool pageOk = true;
        if (printout.PageExists(page)) {
            pageOk = StartPage(dc) > 0;
            if (pageOk) {
                printout.RenderPage(page);
                pageOk = EndPage(dc) > 0;
            }
        }
        printout.EndDocument();
        printed = pageOk ? EndDoc(dc) > 0 : (AbortDoc(dc), false);
    }
    printout.EndPrinting();
    printout.SetPrintDevice(nullptr, {});
    return printed;
}

bool RunPageSetup(fw::Printer& printer, HWND parent, PageMargins& margins) {
    printer.pageMargins = {margins.left, margins.top, margins.right, margins.bottom};
    printer.pageSetupFlags |= PSD_MARGINS;
    printer.pageSetupFlags &=
        ~static_cast<DWORD>(PSD_INTHOUSANDTHSOFINCHES | PSD_INHUNDREDTHSOFMILLIMETERS);
    printer.pageSetupFlags |= static_cast<DWORD>(margins.units);

    PAGESETUPDLGA psd{};
    psd.lStructSize = sizeof psd;
    psd.hwndOwner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    psd.hDevMode = printer.DevMode();
    psd.hDevNames = printer.DevNames();
    psd.Flags = printer.pageSetupFlags;
    psd.rtMargin = printer.pageMargins;
    const BOOL accepted = PageSetupDlgA(&psd);
    printer.SetDevice(psd.hDevMode, psd.hDevNames);
    // Some dialogs change the rectangle as the user types, Cancel or not:
    // only OK takes the margins.
    if (!accepted) return false;
    printer.pageMargins = psd.rtMargin;
    margins.left = psd.rtMargin.left;
    margins.top = psd.rtMargin.top;
    margins.right = psd.rtMargin.right;
    margins.bottom = psd.rtMargin.bottom;
    return true;
}
