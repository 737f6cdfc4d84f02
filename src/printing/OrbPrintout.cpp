#include "printing/OrbPrintout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int ClampToInt(double v) {
    if (!(v >= INT_MIN)) return INT_MIN; // also NaN
    if (v > INT_MAX) return INT_MAX;
    return static_cast<int>(v);
}

int ClampToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// The device shows that it is busy for the length of one pagination.
class BusyScope {
public:
    explicit BusyScope(PrintDevice& device) : device_(device) { device_.ShowBusy(true); }
    ~BusyScope() { device_.ShowBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    PrintDevice& device_;
};

double Scale(int printer, int screen) {
    return screen > 0 ? static_cast<double>(printer) / screen : 1.0;
}

} // namespace

std::int32_t ScaleFontSize(std::int32_t value, double scale) {
    // std::round takes halves away from zero, so -93.5 gives -94.
    return ClampToInt(std::round(static_cast<double>(value) * scale));
}

int MarginToPixels(int margin, int pixelsPerInch, int unitsPerInch) {
    if (unitsPerInch <= 0) return 0;
    const double pixels = static_cast<double>(margin) * pixelsPerInch / unitsPerInch + 0.5;
    return ClampToInt(std::trunc(pixels));
}

OrbPrintout::OrbPrintout(std::string title, const PrintDialogData& dialog, PrintoutFeeder& feeder,
                         const FontSetting& font, const PageMargins& margins)
    : PrintPreviewPrintout(std::move(title)), dialog_(dialog), configuredFont_(font),
      workingFont_(font), margins_(margins), feeder_(feeder) {}

DialogRanges OrbPrintout::GetDialogRanges() {
    // No page range; the Selection choice only while rows are selected.
    DialogRanges ranges;
    if (feeder_.GetSelectedCount() > 0) {
        ranges.selectionFrom = 1;
        ranges.selectionTo = INT_MAX;
    }
    return ranges;
}

bool OrbPrintout::PageExists(int page) {
    Paginate();
    return page >= 1 && page <= PageCount();
}

PageRange OrbPrintout::GetPageRange() {
    paginated_ = false;
    Paginate();
    return {1, PageCount()};
}

void OrbPrintout::Paginate() {
    PrintDevice* device = Device();
    if (paginated_ || !device) return;
    BusyScope busy(*device);
    MeasureDevice(*device);
    LayOutLines(*device);
    paginated_ = true;
}

void OrbPrintout::MeasureDevice(PrintDevice& device) {
    const DeviceMetrics m = device.Metrics();
    workingFont_ = configuredFont_;
    LogFont& lf = workingFont_.logFont;
    lf.lfWidth = ScaleFontSize(lf.lfWidth, Scale(m.pixelsPerInchX, device.ScreenPixelsPerInchX()));
    lf.lfHeight =
        ScaleFontSize(lf.lfHeight, Scale(m.pixelsPerInchY, device.ScreenPixelsPerInchY()));
    device.SelectFont(workingFont_);

    const int perInch = MarginUnitsPerInch(margins_.units);
    const int left = MarginToPixels(margins_.left, m.pixelsPerInchX, perInch);
    const int right = MarginToPixels(margins_.right, m.pixelsPerInchX, perInch);
    const int top = MarginToPixels(margins_.top, m.pixelsPerInchY, perInch);
    const int bottom = MarginToPixels(margins_.bottom, m.pixelsPerInchY, perInch);
    // The origins are in the printable area's coordinates: a margin smaller
    // than the paper's unprintable edge prints at that edge.
    auto atLeastZero = [](std::int64_t v) { return ClampToInt(std::max<std::int64_t>(v, 0)); };
    printableWidth_ = atLeastZero(std::int64_t{m.physicalWidth} - left - right);
    const int printableHeight = atLeastZero(std::int64_t{m.physicalHeight} - top - bottom);
    leftOrigin_ = atLeastZero(std::int64_t{left} - m.physicalOffsetX);
    topOrigin_ = atLeastZero(std::int64_t{top} - m.physicalOffsetY);

    lineHeight_ = 0;
    linesPerPage_ = 1;
    columnGap_ = 0;
    if (const auto fm = device.SelectedFontMetrics()) {
        lineHeight_ = ClampToInt(std::int64_t{fm->height} + fm->externalLeading);
        if (lineHeight_ > 0) linesPerPage_ = printableHeight / lineHeight_;
        columnGap_ = atLeastZero(std::int64_t{4} * fm->averageCharWidth);
    }
    // Margins that leave less than a line still print one line a page, so
    // that every line is printed and nothing divides by zero.
    linesPerPage_ = std::max(linesPerPage_, 1);
}

void OrbPrintout::LayOutLines(PrintDevice& device) {
    const bool selectedOnly = feeder_.GetSelectedCount() > 0 && (dialog_.flags & kPrintSelection);
    feeder_.SetSelectedOnly(selectedOnly);
    lineCount_ = std::max(0, selectedOnly ? feeder_.GetSelectedCount() : feeder_.GetLineCount());

    pages_.clear();
    const std::int64_t perColumn = linesPerPage_;
    int widest = -1;       // the widest line of the open page
    bool pageOpen = false; // a page takes lines until it is full
    for (int i = 0; i < lineCount_; ++i) {
        const int w = std::max(0, device.TextWidth(feeder_.NextLine()));
        if (w > widest) {
            widest = w;
            const std::int64_t pitch = std::max<std::int64_t>(1, std::int64_t{w} + columnGap_);
            const std::int64_t columns = pitch < printableWidth_ ? printableWidth_ / pitch : 1;
            if (!pageOpen) pages_.push_back({});
            const std::int64_t start = pages_.size() > 1 ? pages_[pages_.size() - 2].end : 0;
            std::int64_t end = start + columns * perColumn;
            if (i >= end) {
                // The lines already on the page do not fit the narrower
                // columns: the page keeps its whole columns' worth of lines,
                // in its own column width, and the rest start the next page.
                pages_.back().end = start + (i - start) / perColumn * perColumn;
                end = pages_.back().end + columns * perColumn;
                pages_.push_back({});
            }
            pageOpen = true;
            pages_.back() = {end, widest};
        }
        if (pages_.back().end <= i + 1) { // the page is full
            widest = -1;
            pageOpen = false;
        }
    }
}

void OrbPrintout::RenderPage(int page) {
    Paginate();
    PrintDevice* device = Device();
    if (!device || page < 1 || page > PageCount()) return;
    device->SelectFont(workingFont_);
    device->SetTransparentBackground();

    const PageInfo& info = pages_[static_cast<std::size_t>(page - 1)];
    const std::int64_t start = page == 1 ? 0 : pages_[static_cast<std::size_t>(page - 2)].end;
    const std::int64_t columns = (info.end - start) / linesPerPage_;
    if (columns < 1) return;
    // Spread the columns so that the first starts at the left margin and the
    // last ends at the right one.
    std::int64_t spare = std::int64_t{printableWidth_} - columns * info.columnWidth;
    if (columns > 1) spare /= columns - 1;
    const std::int64_t pitch = info.columnWidth + spare;

    feeder_.SeekLine(ClampToInt(start));
    for (std::int64_t i = start; i < info.end && i < lineCount_; ++i) {
        const std::string text = feeder_.NextLine();
        const std::int64_t k = i - start;
        device->DrawText(ClampToInt(leftOrigin_ + k % columns * pitch),
                         ClampToInt(topOrigin_ + k / columns * lineHeight_), text);
    }
}
