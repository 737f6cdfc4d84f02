#pragma once
// Printing with the printer object: the print dialog, the printing job with
// its "Printing" box, one page without any dialog (the preview's), and the
// page-setup dialog.

#include "framework/Printer.h"
#include "printing/PageMargins.h"
#include "printing/Printout.h"

#include <windows.h>

// The printing job. With showDialog, the print dialog first offers what the
// printout allows (a page range, the Selection choice) with the printer's
// current choices; Cancel there prints nothing. Then every page of the
// printout goes to the chosen printer while a modeless "Printing" box says
// which page and offers Cancel, and parent's window is disabled. A failure,
// Cancel included, is reported in a "Print Error" box. Returns whether the
// document was printed.
bool RunPrintJob(fw::Printer& printer, HWND parent, Printout& printout, bool showDialog);

// The spooler's code for the last job's failure (SP_ERROR, SP_APPABORT, ...),
// 0 when it printed or was not started.
int LastPrintJobError();

// One page to the printer of printerDC, no dialog and no report: the
// preview's "print the page shown". flags are the print dialog's.
bool PrintSinglePage(HDC printerDC, Printout& printout, int page, std::uint32_t flags);

// The page-setup dialog over the printer's page-setup data: the margins go
// in, and come back out as the user left them with OK; after Cancel they are
// as they were. Paper and orientation chosen there stay with the printer.
// Returns whether the user chose OK.
bool RunPageSetup(fw::Printer& printer, HWND parent, PageMargins& margins);
