#include "views/PrintPreviewWindow.h"

#include "framework/Dpi.h"
#include "layout/DialogLayout.h"
#include "layout/Dpi.h"
#include "printer/PrintJob.h"
#include "printing/PreviewGeometry.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// Pixels of a 96-DPI screen.
constexpr int kLineStep = 24;
constexpr int kGroupGap = 20;
constexpr int kCounterGap = 6;
constexpr int kCounterCharacters = 8;

} // namespace

// ------------------------------------------------------------- scroller

MyScroller::MyScroller(fw::Window& window) : fw::Scroller(window) {
    SetUnits(1, 1);
    SetLineStep(kLineStep, kLineStep);
}

void MyScroller::ScrollTo(std::int64_t x, std::int64_t y) {
    fw::Scroller::ScrollTo(preview::ClampScrollPosition(x, RangeX(), VisibleWidth()),
                           preview::ClampScrollPosition(y, RangeY(), VisibleHeight()));
}

void MyScroller::SetScrollBars() {
    HWND hwnd = GetWindow().Handle();
    if (!hwnd) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    for (bool horizontal : {true, false}) {
        if (!(style & (horizontal ? WS_HSCROLL : WS_VSCROLL))) continue;
        const int bar = horizontal ? SB_HORZ : SB_VERT;
        const int maximum = preview::ScrollBarMaximum(horizontal ? RangeX() : RangeY());
        int& shown = horizontal ? shownMaxX_ : shownMaxY_;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_POS | SIF_DISABLENOSCROLL;
        if (maximum != shown) {
            // The thumb is as long as the part in view, so that it ends at
            // the end of the range.
            si.fMask |= SIF_RANGE | SIF_PAGE;
            si.nMax = maximum;
            si.nPage = static_cast<UINT>(std::clamp<std::int64_t>(
                horizontal ? VisibleWidth() : VisibleHeight(), 0, maximum));
            shown = maximum;
        }
        si.nPos = ScrollBarPosition(horizontal, horizontal ? X() : Y());
        SetScrollInfo(hwnd, bar, &si, Repaint());
    }
}

int MyScroller::ScrollBarPosition(bool horizontal, std::int64_t p) const {
    return horizontal ? preview::ScrollBarPosition(p, RangeX(), VisibleWidth())
                      : preview::ScrollBarPosition(p, RangeY(), VisibleHeight());
}

std::int64_t MyScroller::PositionFromThumb(bool horizontal, int thumb) const {
    return horizontal ? preview::ScrollPositionFromThumb(thumb, RangeX(), VisibleWidth())
                      : preview::ScrollPositionFromThumb(thumb, RangeY(), VisibleHeight());
}

// ---------------------------------------------------------- page window

PreviewPageWindow::PreviewPageWindow(PrintPreviewPrintout& printout, HDC printerDC,
                                     PageSize pageSize, int page, PrintDevice* printerDevice,
                                     const PrintDialogData& dialog)
    : printout_(printout), printerDC_(printerDC), pageSize_(pageSize), page_(page),
      printerDevice_(printerDevice), dialog_(dialog) {}

void PreviewPageWindow::SetPageNumber(int page) {
    page_ = page;
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void PreviewPageWindow::PreRegisterClass(WNDCLASSEXA& wc) {
    wc.hbrBackground = nullptr; // painting fills the page itself
}

void PreviewPageWindow::OnPaint() {
    fw::PaintDC paint(Handle());
    HDC dc = paint.Get();
    const RECT r = ClientRect();
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (printerDC_ && pageSize_.width > 0 && pageSize_.height > 0 && r.right > 0 && r.bottom > 0) {
        const int saved = SaveDC(dc);
        // The printer's paper onto the window; the printout draws in the
        // printable area, which starts this far into the paper.
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, pageSize_.width, pageSize_.height, nullptr);
        SetViewportExtEx(dc, r.right, r.bottom, nullptr);
        SetWindowOrgEx(dc, -GetDeviceCaps(printerDC_, PHYSICALOFFSETX),
                       -GetDeviceCaps(printerDC_, PHYSICALOFFSETY), nullptr);
        {
            GdiPrintDevice device(dc, printerDC_);
            printout_.SetPrintDevice(&device, pageSize_);
            if (printout_.PageExists(page_)) {
                printout_.BeginPrinting();
                printout_.BeginDocument(page_, page_, dialog_.flags);
                printout_.RenderPage(page_);
                printout_.EndDocument();
                printout_.EndPrinting();
            }
            printout_.SetPrintDevice(printerDevice_, pageSize_);
        }
        RestoreDC(dc, saved);
    }
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
}

LRESULT PreviewPageWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    }
    return fw::Window::WndProc(msg, wParam, lParam);
}

// --------------------------------------------------------------- client

bool PreviewClientWindow::CreateChild(HWND parent) {
    const DWORD bar = horizontal_ ? WS_HSCROLL : WS_VSCROLL;
    return Create(parent, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | bar, 0, 0, 0, 0, 0);
}

void PreviewClientWindow::PreRegisterClass(WNDCLASSEXA& wc) {
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
}

LRESULT PreviewClientWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        scroller_.OnScrollBar(msg == WM_HSCROLL, LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    return fw::Window::WndProc(msg, wParam, lParam);
}

// --------------------------------------------------------- preview frame

PrintPreviewWindow::PrintPreviewWindow(HWND parent, const std::string& caption,
                                       const std::string& prefix, AppContext& context,
                                       fw::Printer& printer, PrintPreviewPrintout& printout,
                                       const std::vector<ButtonGroup>& groups)
    : fw::FrameWindow(caption, &client_), SettingsAccessor(prefix, context.Settings()),
      parent_(parent), printer_(printer), printout_(printout),
      printerDC_(printer.CreatePrinterDC()),
      pageSize_(printerDC_ ? fw::Printer::PageSizeOf(printerDC_.Get()) : PageSize{}),
      printerDevice_(printerDC_ ? std::make_unique<GdiPrintDevice>(printerDC_.Get()) : nullptr),
      client_(pageSize_.width > pageSize_.height), context_(context),
      helpContext_(IDH_PRINTPREVIEW) {
    commands_.Add(CM_PREVIEWPRINTPAGE, [this] { PrintPageShown(); });
    commands_.Add(
        CM_PREVIEWPREVIOUS, [this] { PreviousPage(); },
        [this] { return printer_.DialogData().fromPage > 1; });
    commands_.Add(
        CM_PREVIEWNEXT, [this] { NextPage(); },
        [this] { return printer_.DialogData().toPage < printer_.DialogData().maxPage; });
    CreateToolbar(groups);

    // By default the preview covers the results view exactly.
    RECT area{};
    POINT corner{0, -1};
    if (parent) {
        GetClientRect(parent, &area);
        ClientToScreen(parent, &corner);
    }
    Attributes& attr = Attr();
    attr.x = corner.x;
    attr.y = corner.y;
    attr.width = area.right;
    attr.height = area.bottom + 1;
    const std::string stored = GetSettingString("Position", "");
    if (auto r = layout::RestorablePosition(stored, GetSystemMetrics(SM_CXSCREEN),
                                            GetSystemMetrics(SM_CYSCREEN), true, 0, 0)) {
        attr.x = r->x;
        attr.y = r->y;
        attr.width = r->width;
        attr.height = r->height;
        maximiseAtStart_ = ParsePlacement(stored).maximized != 0;
    }
}

PrintPreviewWindow::~PrintPreviewWindow() {
    // The device goes with this window; the printout must not keep it.
    printout_.SetPrintDevice(nullptr, {});
    page_.reset();
}

void PrintPreviewWindow::Run() {
    const bool maximised = std::exchange(maximiseAtStart_, false);
    RunModal(parent_, maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void PrintPreviewWindow::CreateToolbar(const std::vector<ButtonGroup>& groups) {
    auto bar = std::make_unique<fw::ControlBar>(10);
    for (const ButtonGroup& group : groups) {
        if (group.commands.empty()) break; // the list of groups ends here
        for (UINT id : group.commands)
            bar->AddButton(id, true, id == group.pressed);
        bar->AddSeparator(kGroupGap);
    }
    // Wide enough for the counter of any printout that is likely.
    bar->AddTextField(IDC_PREVIEWPAGETEXT, kCounterCharacters, PageCounterText(888, 888));
    bar->AddSeparator(kCounterGap);
    bar->AddButton(CM_PREVIEWPREVIOUS);
    bar->AddButton(CM_PREVIEWNEXT);
    bar->AddSeparator(kGroupGap);
    bar->AddButton(CM_PREVIEWPRINTPAGE);
    InsertControlBar(std::move(bar));
}

void PrintPreviewWindow::SetupWindow() {
    fw::FrameWindow::SetupWindow();
    if (HICON icon = context_.LargeIcon())
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (HICON icon = context_.SmallIcon())
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    Repaginate();
    page_ = CreatePageWindow(client_.Handle(), printout_, printerDC_.Get(), pageSize_, 1);
    ScaleForDpi();
    client_.Scroller().OnScrolled([this] { LayoutPages(); });
    LayoutPages();
    UpdatePageText();
    UpdateButtons();
}

std::unique_ptr<PreviewPageWindow>
PrintPreviewWindow::CreatePageWindow(HWND parent, PrintPreviewPrintout& printout, HDC printerDC,
                                     PageSize pageSize, int page) {
    auto window = std::make_unique<PreviewPageWindow>(printout, printerDC, pageSize, page,
                                                      printerDevice_.get(), printer_.DialogData());
    window->Create(parent, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0);
    return window;
}

void PrintPreviewWindow::Repaginate() {
    PrintDialogData& data = printer_.DialogData();
    PageRange range{1, 1};
    if (printerDevice_) {
        printout_.SetPrintDevice(printerDevice_.get(), pageSize_);
        range = printout_.GetPageRange();
    }
    data.minPage = range.first;
    // A printout without lines still shows one (empty) page.
    data.maxPage = std::max(range.last, range.first);
    data.fromPage = data.toPage = 1;
}

void PrintPreviewWindow::LayoutPages() {
    if (!page_ || !page_->Handle() || !client_.Handle()) return;
    const RECT c = client_.ClientRect();
    const preview::Rect r =
        preview::PageRect(c.right, c.bottom, pageMargin_, pageSize_.width, pageSize_.height);
    MyScroller& s = client_.Scroller();
    MoveWindow(page_->Handle(), r.x - static_cast<int>(s.X()), r.y - static_cast<int>(s.Y()),
               r.width, r.height, TRUE);
}

void PrintPreviewWindow::ScaleForDpi() {
    const int dpi = Dpi();
    pageMargin_ = (fw::MetricForDpi(SM_CXVSCROLL, dpi) + fw::MetricForDpi(SM_CYHSCROLL, dpi)) / 4;
    const int step = layout::ScaleToDpi(kLineStep, dpi);
    client_.Scroller().SetLineStep(step, step);
}

void PrintPreviewWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    fw::FrameWindow::OnDpiChanged(dpi, suggested);
    ScaleForDpi();
    OnSizeChanged(IsIconic(Handle()) ? SIZE_MINIMIZED : SIZE_RESTORED);
}

void PrintPreviewWindow::OnSizeChanged(UINT type) {
    MyScroller& s = client_.Scroller();
    const bool minimised = type == SIZE_MINIMIZED;
    s.SetAutoRepaint(false);
    if (!minimised) {
        s.SetRange(32766, 32766);
        s.ScrollTo(0, 0);
    }
    fw::FrameWindow::OnSize();
    LayoutPages();
    s.SetAutoRepaint(true);
    if (!minimised && page_ && page_->Handle()) {
        const RECT r = page_->WindowRect();
        s.SetRange(r.right - r.left + 2 * pageMargin_, r.bottom - r.top + 2 * pageMargin_);
    }
}

std::string PrintPreviewWindow::PageCounterText(int page, int pages) const {
    const std::string pattern = context_.LoadResourceString(IDS_PAGEOFPAGES);
    char text[64] = {};
    std::snprintf(text, sizeof text, pattern.c_str(), page, pages);
    return text;
}

void PrintPreviewWindow::UpdatePageText() {
    const PrintDialogData& data = printer_.DialogData();
    if (fw::ControlBar* bar = GetControlBar())
        SetWindowTextA(bar->TextField(IDC_PREVIEWPAGETEXT),
                       PageCounterText(data.fromPage, data.maxPage).c_str());
}

std::string PrintPreviewWindow::PageText() const {
    char text[64] = {};
    if (fw::ControlBar* bar = GetControlBar())
        GetWindowTextA(bar->TextField(IDC_PREVIEWPAGETEXT), text, sizeof text);
    return text;
}

int PrintPreviewWindow::PageShown() const {
    return printer_.DialogData().fromPage;
}

int PrintPreviewWindow::PageCount() const {
    return printer_.DialogData().maxPage;
}

void PrintPreviewWindow::UpdateButtons() {
    fw::ControlBar* bar = GetControlBar();
    if (!bar) return;
    for (UINT id : bar->ButtonIds()) {
        fw::CommandEnabler ce(id);
        RouteCommandEnable(ce);
        bar->EnableButton(id, ce.Handled() && ce.Enabled());
    }
}

void PrintPreviewWindow::ShowPage(int page) {
    PrintDialogData& data = printer_.DialogData();
    data.fromPage = data.toPage = page;
    if (page_) page_->SetPageNumber(page);
    UpdatePageText();
    UpdateButtons();
}

void PrintPreviewWindow::PreviousPage() {
    const PrintDialogData& data = printer_.DialogData();
    if (data.minPage < data.fromPage) ShowPage(data.fromPage - 1);
}

void PrintPreviewWindow::NextPage() {
    const PrintDialogData& data = printer_.DialogData();
    if (data.toPage < data.maxPage) ShowPage(data.toPage + 1);
}

void PrintPreviewWindow::FirstPage() {
    if (printer_.DialogData().fromPage >= 2) ShowPage(1);
}

void PrintPreviewWindow::LastPage() {
    const PrintDialogData& data = printer_.DialogData();
    if (data.toPage < data.maxPage) ShowPage(data.maxPage);
}

void PrintPreviewWindow::PrintPageShown() {
    if (!printerDC_) return;
    const PrintDialogData& data = printer_.DialogData();
    PrintSinglePage(printerDC_.Get(), printout_, data.fromPage, data.flags);
    printout_.SetPrintDevice(printerDevice_.get(), pageSize_);
}

bool PrintPreviewWindow::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_ESCAPE:
            PostMessageA(Handle(), WM_CLOSE, 0, 0);
            return true;
        case VK_PRIOR:
        case VK_LEFT:
        case VK_UP:
            PreviousPage();
            return true;
        case VK_NEXT:
        case VK_RIGHT:
        case VK_DOWN:
            NextPage();
            return true;
        case VK_HOME:
            FirstPage();
            return true;
        case VK_END:
            LastPage();
            return true;
        }
    } else if (msg.message == WM_MOUSEWHEEL) {
        const short delta = GET_WHEEL_DELTA_WPARAM(msg.wParam);
        SendMessageA(client_.Handle(), WM_VSCROLL, delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        return true;
    }
    return false;
}

void PrintPreviewWindow::SavePlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(Handle(), &wp)) return;
    const RECT& r = wp.rcNormalPosition;
    SetSettingString("Position", FormatPlacement(IsZoomed(Handle()) != FALSE, r.left, r.top,
                                                 r.right - r.left, r.bottom - r.top));
}

LRESULT PrintPreviewWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        OnSizeChanged(static_cast<UINT>(wParam));
        return 0;
    case WM_HELP:
        context_.ShowHelp(HELP_CONTEXT, static_cast<ULONG_PTR>(helpContext_));
        return TRUE;
    case WM_DESTROY:
        SavePlacement();
        break;
    }
    return fw::FrameWindow::WndProc(msg, wParam, lParam);
}

// ------------------------------------------------------ results preview

PrintPreviewWindowOrb::PrintPreviewWindowOrb(HWND parent, const std::string& caption,
                                             const std::string& prefix, AppContext& context,
                                             fw::Printer& printer, PrintPreviewPrintout& printout,
                                             const std::vector<ButtonGroup>& groups,
                                             bool selectionAvailable)
    : PrintPreviewWindow(parent, caption, prefix, context, printer, printout, groups),
      selectionAvailable_(selectionAvailable) {
    commands_.Add(CM_PREVIEWALL, [this] { ChooseLines(CM_PREVIEWALL); });
    commands_.Add(
        CM_PREVIEWSELECTED, [this] { ChooseLines(CM_PREVIEWSELECTED); },
        [this] { return selectionAvailable_; });
}

void PrintPreviewWindowOrb::ChooseLines(UINT command) {
    PrintDialogData& data = GetPrinter().DialogData();
    const std::uint32_t before = data.flags;
    if (command == CM_PREVIEWSELECTED)
        data.flags |= kPrintSelection;
    else
        data.flags &= ~kPrintSelection;
    if (data.flags == before) return;
    Repaginate();
    ShowPage(1);
}
