// A document that can be printed or previewed page by page. The printing job
// (or the preview) hands the printout its device, asks what the print dialog
// may offer, and then, for page 1, 2, ... while PageExists, has it render the
// page between the begin and end calls below.
#pragma once

#include "printing/PrintDevice.h"

#include <cstdint>
#include <string>

// The print dialog's choices that outlive one dialog: its flags (only
// kPrintSelection, "print the selection", is read by printouts) and the page
// numbers, which the preview uses for the page it shows.
inline constexpr std::uint32_t kPrintSelection = 1;

struct PrintDialogData {
    std::uint32_t flags = 0;
    int fromPage = 1;
    int toPage = 1;
    int minPage = 1;
    int maxPage = 1;
};

// What the print dialog offers: a page range when maxPage > 0, the Selection
// choice when selectionTo > 0.
struct DialogRanges {
    int minPage = 0;
    int maxPage = 0;
    int selectionFrom = 0;
    int selectionTo = 0;
};

struct PageSize {
    int width = 0;
    int height = 0;
};

struct PageRange {
    int first = 1;
    int last = 1;
};

class Printout {
public:
    explicit Printout(std::string title) : title_(std::move(title)) {}
    virtual ~Printout() = default;
    Printout(const Printout&) = delete;
    Printout& operator=(const Printout&) = delete;

    // The spooler's document name.
    const std::string& Title() const { return title_; }

    // The device stays the caller's; it must outlive its use here.
    virtual void SetPrintDevice(PrintDevice* device, PageSize pageSize) {
        device_ = device;
        pageSize_ = pageSize;
    }
    virtual DialogRanges GetDialogRanges() { return {}; }
    virtual void BeginPrinting() {}
    virtual void BeginDocument(int /*startPage*/, int /*endPage*/, std::uint32_t /*flags*/) {}
    virtual bool PageExists(int page) { return page == 1; }
    virtual void RenderPage(int page) = 0;
    virtual void EndDocument() {}
    virtual void EndPrinting() {}

    PrintDevice* Device() const { return device_; }
    PageSize GetPageSize() const { return pageSize_; }

private:
    std::string title_;
    PrintDevice* device_ = nullptr;
    PageSize pageSize_;
};

// A printout the preview can show: it knows how many pages it has.
class PrintPreviewPrintout : public Printout {
public:
    using Printout::Printout;
    virtual PageRange GetPageRange() = 0;
};
