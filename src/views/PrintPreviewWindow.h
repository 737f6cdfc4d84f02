#pragma once
// The print preview: a window over the results view that shows a printout one
// page at a time, as the printer will print it, with a toolbar to page
// through it and to print the page shown. It runs modally and remembers its
// position, size and maximised state. PrintPreviewWindowOrb adds the choice
// between all results and only the selected ones.

#include "context/AppContext.h"
#include "framework/FrameWindow.h"
#include "framework/Scroller.h"
#include "printer/GdiPrintDevice.h"
#include "printing/Printout.h"
#include "settings/SettingsAccessor.h"

#include <memory>
#include <string>
#include <vector>

// Buttons of the toolbar that exclude each other, and the one pressed first.
struct ButtonGroup {
    UINT pressed = 0;
    std::vector<UINT> commands;
};

// Scrolls the preview in pixels, 24 to a line at 96 DPI, over the whole size of what it
// shows (not only the part beyond the window), on scroll bars that end at
// 32 767.
class MyScroller : public fw::Scroller {
public:
    explicit MyScroller(fw::Window& window);
    void ScrollTo(std::int64_t x, std::int64_t y) override;

protected:
    void SetScrollBars() override;
    int ScrollBarPosition(bool horizontal, std::int64_t p) const override;
    std::int64_t PositionFromThumb(bool horizontal, int thumb) const override;

private:
    int shownMaxX_ = -1;
    int shownMaxY_ = -1;
};

// One page of the printout, drawn to fit the window: the printer's page is
// mapped onto it, white where nothing is printed.
class PreviewPageWindow : public fw::Window {
public:
    // printerDevice is where the printout goes back to after each painting.
    PreviewPageWindow(PrintPreviewPrintout& printout, HDC printerDC, PageSize pageSize, int page,
                      PrintDevice* printerDevice, const PrintDialogData& dialog);
    int PageNumber() const { return page_; }
    // Shows another page.
    void SetPageNumber(int page);

protected:
    const char* ClassName() const override { return "QuillonPreviewPage"; }
    void PreRegisterClass(WNDCLASSEXA& wc) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    PrintPreviewPrintout& printout_;
    HDC printerDC_;
    PageSize pageSize_;
    int page_;
    PrintDevice* printerDevice_;
    const PrintDialogData& dialog_;
};

// The preview's client: a grey area with one scroll bar that holds the page.
class PreviewClientWindow : public fw::Window {
public:
    explicit PreviewClientWindow(bool horizontal) : horizontal_(horizontal), scroller_(*this) {}
    bool CreateChild(HWND parent) override;
    MyScroller& Scroller() { return scroller_; }

protected:
    const char* ClassName() const override { return "QuillonPreviewClient"; }
    void PreRegisterClass(WNDCLASSEXA& wc) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool horizontal_;
    MyScroller scroller_;
};

class PrintPreviewWindow : public fw::FrameWindow, public SettingsAccessor {
public:
    PrintPreviewWindow(HWND parent, const std::string& caption, const std::string& prefix,
                       AppContext& context, fw::Printer& printer, PrintPreviewPrintout& printout,
                       const std::vector<ButtonGroup>& groups);
    ~PrintPreviewWindow() override;

    // Shows the preview over its parent and returns when it has closed.
    void Run();

    int PageShown() const;
    int PageCount() const;
    std::string PageText() const;
    HWND PageWindow() const { return page_ ? page_->Handle() : nullptr; }
    HWND ClientWindow() const { return client_.Handle(); }
    MyScroller& Scroller() { return client_.Scroller(); }
    PageSize GetPageSize() const { return pageSize_; }
    int PageMargin() const { return pageMargin_; }

    void PreviousPage();
    void NextPage();
    void FirstPage();
    void LastPage();
    // Prints the page shown on the printer, without any dialog.
    void PrintPageShown();

    bool PreTranslateMessage(MSG& msg) override;

protected:
    const char* ClassName() const override { return "QuillonPrintPreview"; }
    void SetupWindow() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    virtual void LayoutPages();
    virtual std::unique_ptr<PreviewPageWindow> CreatePageWindow(HWND parent,
                                                                PrintPreviewPrintout& printout,
                                                                HDC printerDC, PageSize pageSize,
                                                                int page);
    virtual void CreateToolbar(const std::vector<ButtonGroup>& groups);
    virtual void UpdatePageText();
    // The resize handling of the client's scroller, around the frame's own.
    virtual void OnSizeChanged(UINT type);
    void OnDpiChanged(int dpi, const RECT& suggested) override;

    // Paginates the printout afresh on the printer and shows its first page.
    void Repaginate();
    void ShowPage(int page);
    // Enables and presses the toolbar's buttons as their commands say.
    void UpdateButtons();
    fw::Printer& GetPrinter() const { return printer_; }

private:
    void SavePlacement();
    // The page's margin and the scroll step at the window's DPI.
    void ScaleForDpi();
    // "Page 3 of 9".
    std::string PageCounterText(int page, int pages) const;

    HWND parent_;
    fw::Printer& printer_;
    PrintPreviewPrintout& printout_;
    fw::OwnedDC printerDC_;
    PageSize pageSize_;
    std::unique_ptr<GdiPrintDevice> printerDevice_;
    PreviewClientWindow client_;
    std::unique_ptr<PreviewPageWindow> page_;
    AppContext& context_;
    int helpContext_;
    bool maximiseAtStart_ = false;
    int pageMargin_ = 0;
};

// The preview of the results, with the choice between all results and only
// the selected ones (offered when any were selected).
class PrintPreviewWindowOrb : public PrintPreviewWindow {
public:
    PrintPreviewWindowOrb(HWND parent, const std::string& caption, const std::string& prefix,
                          AppContext& context, fw::Printer& printer, PrintPreviewPrintout& printout,
                          const std::vector<ButtonGroup>& groups, bool selectionAvailable);

    // All results (9840) or the selected ones (9850).
    void ChooseLines(UINT command);

private:
    bool selectionAvailable_;
};
