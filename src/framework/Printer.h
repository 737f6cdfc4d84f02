#pragma once
// The print settings of the program: the chosen printer (device mode and
// names), the page-setup margins and the print dialog's flags and page range.
// Constructing one asks the system for its default printer; Error() then holds
// the common-dialog error code (PDERR_NODEFAULTPRN when there is none).

#include "framework/Handles.h"

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
    // Replaces the chosen printer with handles returned by a common dialog.
    void SetDevice(HGLOBAL devMode, HGLOBAL devNames);
    std::string DeviceName() const;
    // Creates a DC for the chosen printer; empty when there is none.
    OwnedDC CreatePrinterDC() const;

    // Page-setup margins in thousandths of an inch or hundredths of a millimetre.
    RECT margins{};
    bool marginsInThousandths = true;
    DWORD printFlags = 0;
    WORD fromPage = 1;
    WORD toPage = 1;

protected:
    // For printers made up by tests: no query of the system.
    explicit Printer(DWORD error) : error_(error) {}

private:
    GlobalMemory devMode_;
    GlobalMemory devNames_;
    DWORD error_ = 0;
};

} // namespace fw
