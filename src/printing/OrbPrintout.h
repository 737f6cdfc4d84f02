// The printout of the results: one line per result, in as many equal columns
// as fit between the margins, in the printout font scaled from the screen to
// the printer. Pages carry nothing else (no header, footer or number).
//
// Pagination walks the lines once, measuring each. A page holds `columns`
// whole columns of `lines per page` lines, so its end is always a multiple of
// lines per page beyond the previous page's end; the last page usually ends
// beyond the last line. The page's column width is the widest line on it,
// and its columns shrink when a wider line arrives. When the lines already on
// the open page no longer fit the narrower columns, the page is closed after
// its last whole column's worth of lines and the rest start the next page,
// so that no line is ever drawn in a column narrower than itself.
//
// Lines run across a page row by row: the first row holds lines start ...
// start + columns - 1. The first column starts at the left margin and the
// last ends at the right margin.
#pragma once

#include "printing/PageMargins.h"
#include "printing/Printout.h"
#include "printing/PrintoutFeeder.h"
#include "settings/SettingsText.h"

#include <cstdint>
#include <vector>

class OrbPrintout : public PrintPreviewPrintout {
public:
    struct PageInfo {
        // The first line after this page, over the chosen lines (all or
        // selected); the page starts at the previous page's end, or 0.
        std::int64_t end = 0;
        // The widest line on the page, in device pixels.
        int columnWidth = 0;

        friend bool operator==(const PageInfo&, const PageInfo&) = default;
    };

    // dialog is the printer's print-dialog data: whether the selection is to
    // be printed is read from it at every pagination. The feeder must outlive
    // the printout.
    OrbPrintout(std::string title, const PrintDialogData& dialog, PrintoutFeeder& feeder,
                const FontSetting& font, const PageMargins& margins);

    DialogRanges GetDialogRanges() override;
    bool PageExists(int page) override;
    void RenderPage(int page) override;
    // Paginates afresh (for the current device and choice of lines).
    PageRange GetPageRange() override;

    // Measures every line and lays out the pages, once: a printout paginates
    // again only through GetPageRange.
    void Paginate();

    const std::vector<PageInfo>& Pages() const { return pages_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int LineCount() const { return lineCount_; }
    const FontSetting& WorkingFont() const { return workingFont_; }
    int LineHeight() const { return lineHeight_; }
    int LinesPerPage() const { return linesPerPage_; }
    int TopOrigin() const { return topOrigin_; }
    int LeftOrigin() const { return leftOrigin_; }
    int PrintableWidth() const { return printableWidth_; }
    int ColumnGap() const { return columnGap_; }

private:
    void MeasureDevice(PrintDevice& device);
    void LayOutLines(PrintDevice& device);

    const PrintDialogData& dialog_;
    FontSetting configuredFont_;
    FontSetting workingFont_;
    PageMargins margins_;
    bool paginated_ = false;
    int lineCount_ = 0;
    PrintoutFeeder& feeder_;
    std::vector<PageInfo> pages_;
    int lineHeight_ = 0;
    int topOrigin_ = 0;
    int leftOrigin_ = 0;
    int linesPerPage_ = 1;
    int printableWidth_ = 0;
    int columnGap_ = 0;
};

// A font size configured on the screen, as the printer draws it: value times
// scale taken to the nearest integer (halves away from zero), kept within
// the range of the font's 32-bit field.
std::int32_t ScaleFontSize(std::int32_t value, double scale);
// A margin in its units as device pixels at pixelsPerInch, rounded half up.
int MarginToPixels(int margin, int pixelsPerInch, int unitsPerInch);
