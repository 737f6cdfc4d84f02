#pragma once
// The print settings of the program: the chosen printer (device mode and
// names), the page-setup margins with their unit, and the print dialog's
// flags and page numbers, all kept for the whole run so that one job starts
// where the last left off. Constructing one asks the system for its default
// printer; Error() then holds the common-dialog error code
// (PDERR_NODEFAULTPRN when there is none).

#include "framework/Handles.h"
#include "printing/Printout.h"

#include <windows.h>

#include <string>

namespace fw {

class Printer {
public:
    Printer();
    virtual ~Printer() = default;
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    DWORD Error() const { return error_; }
    HGLOBAL DevMode() const { return devMode_.Get(); }
    HGLOBAL DevNames() const { return devNames_.Get(); }
    // Takes the device handles a common dialog handed back. The dialog has
    // freed or reused the ones it was given, so they are not freed here.
    void SetDevice(HGLOBAL devMode, HGLOBAL devNames);
    std::string DeviceName() const;
    std::string PortName() const;
    // Creates a DC for the chosen printer; empty when there is none.
    OwnedDC CreatePrinterDC() const;
    // The paper of a printer DC in its pixels.
    static PageSize PageSizeOf(HDC dc);

    // The print dialog's choices (PD_SELECTION) and the preview's pages.
    PrintDialogData& DialogData() { return dialog_; }
    // The page-setup dialog's margin rectangle and flags (PSD_MARGINS and the unit).
    RECT pageMargins{};
    DWORD pageSetupFlags = 0;

protected:
    // For printers made up by tests: no query of the system.
    explicit Printer(DWORD error) : error_(error) {}

private:
    GlobalMemory devMode_;
    GlobalMemory devNames_;
    DWORD error_ = 0;
    PrintDialogData dialog_;
};

} // namespace fw
