// Printing the results: Print with the print dialog, Print Preview, and Page
// Setup for the margins. Both print commands lay the bracketed text of the
// rows out in columns with the printout font between the view's margins.
#include "views/WordplayViewWindows.h"

#include "printer/PrintJob.h"
#include "printing/OrbPrintout.h"
#include "resources/resource.h"
#include "views/PrintPreviewWindow.h"
#include "views/WordplayPrintoutFeeder.h"

namespace {

// Two or more selected rows make "Selection" the dialog's first choice; one
// selected row is offered but not chosen.
void ChooseSelection(fw::Printer& printer, int selected) {
    PrintDialogData& data = printer.DialogData();
    if (selected >= 2)
        data.flags |= kPrintSelection;
    else
        data.flags &= ~kPrintSelection;
}

} // namespace

bool WordplayViewWindows::CanPrint() {
    return !rows_.empty() && Context().GetPrinter() != nullptr;
}

void WordplayViewWindows::Print() {
    fw::Printer* printer = rows_.empty() ? nullptr : Context().GetPrinter();
    if (!printer) return;
    ChooseSelection(*printer, list_.SelectedCount());
    WordplayPrintoutFeeder feeder(list_.Handle(), rows_);
    OrbPrintout printout(Context().LoadResourceString(IDS_PRINTOUTTITLE), printer->DialogData(),
                         feeder, outputFont_, margins_);
    RunPrintJob(*printer, Handle(), printout, true);
}

void WordplayViewWindows::PrintPreview() {
    fw::Printer* printer = rows_.empty() ? nullptr : Context().GetPrinter();
    if (!printer) return;
    const int selected = list_.SelectedCount();
    ChooseSelection(*printer, selected);
    WordplayPrintoutFeeder feeder(list_.Handle(), rows_);
    OrbPrintout printout(Context().LoadResourceString(IDS_PRINTOUTTITLE), printer->DialogData(),
                         feeder, outputFont_, margins_);
    const std::vector<ButtonGroup> groups = {
        {selected >= 2 ? static_cast<UINT>(CM_PREVIEWSELECTED) : static_cast<UINT>(CM_PREVIEWALL),
         {CM_PREVIEWALL, CM_PREVIEWSELECTED}},
        {}};
    PrintPreviewWindowOrb preview(Handle(), printout.Title(), "WordplayPrintPreview", Context(),
                                  *printer, printout, groups, selected > 0);
    preview.Run();
}

void WordplayViewWindows::PageSetup() {
    if (fw::Printer* printer = Context().GetPrinter()) RunPageSetup(*printer, Handle(), margins_);
}
