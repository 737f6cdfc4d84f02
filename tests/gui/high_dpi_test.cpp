// Quillon on sharper screens. The results view, the toolbar of the print
// preview and the template windows scale their fixed sizes with the DPI, at
// start and when a window is told it moved to a screen of another DPI.
// Wine takes a program's DPI from the prefix's LogPixels when the program
// starts, so the checks at 144 DPI run in a second copy of this program
// started with LogPixels at 144; in the first copy they are skipped.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/FontSettingWin32.h"
#include "context/Persist.h"
#include "dialogs/RedoAboutBoxViewWindows.h"
#include "framework/Dpi.h"
#include "framework/FrameWindow.h"
#include "layout/Dpi.h"
#include "resources/resource.h"
#include "settings/SettingsText.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace guitest;

constexpr int kHighDpi = 144;

// The results view of a running program, searched for an answer.
class ProgramView {
public:
    explicit ProgramView(const std::string& answer) {
        ClearSettings();
        app_ = std::make_unique<QuillonAppWindows>(DistDirectory(), shell_, RegistrySettings());
        app_->InitMainWindow();
        started_ = app_->InitInstance();
        view_ = app_->ResultsView();
        PumpMessages(30);
        if (!started_ || !view_->Dictionary() || view_->Dictionary()->FirstInvalidPath()) return;
        SetWindowTextA(view_->AnswerBox(), answer.c_str());
        SendMessageA(GetDlgItem(view_->Handle(), IDC_START), BM_CLICK, 0, 0);
        PumpMessages(30);
    }
    ~ProgramView() {
        if (HWND frame = Frame(); frame && IsWindow(frame)) DestroyWindow(frame);
        PumpMessages(10);
        app_.reset();
        ClearSettings();
    }
    bool Searched() const { return started_ && !view_->Rows().empty(); }
    WordplayViewWindows& View() const { return *view_; }
    HWND Frame() const { return app_ && app_->Frame() ? app_->Frame()->Handle() : nullptr; }
    int RowHeight() const {
        RECT r{};
        ListView_GetItemRect(view_->List(), 0, &r, LVIR_BOUNDS);
        return r.bottom - r.top;
    }
    int AnswerFontHeight() const {
        LOGFONTA lf{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(view_->AnswerBox(), WM_GETFONT, 0, 0)),
                   sizeof lf, &lf);
        return lf.lfHeight;
    }

private:
    RecordingShell shell_;
    std::unique_ptr<QuillonAppWindows> app_;
    WordplayViewWindows* view_ = nullptr;
    bool started_ = false;
};

// The text height of the stored default font drawn at dpi.
int DefaultFontHeight(int dpi) {
    fw::Font font = fw::FontForDpi(ToLogFontA(DefaultFont().logFont), dpi);
    fw::OwnedDC dc(CreateCompatibleDC(nullptr));
    fw::SelectObjectScope use(dc.Get(), font.Get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.Get(), &tm);
    return tm.tmHeight;
}

COLORREF PixelOnScreen(int x, int y) {
    fw::WindowDC screen(nullptr);
    return GetPixel(screen.Get(), x, y);
}

// Sets a value of HKCU\Control Panel\Desktop for one scope and puts back what
// was there.
class DesktopSetting {
public:
    DesktopSetting(const char* name, DWORD value) : name_(name) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        key_.Reset(key);
        DWORD size = sizeof before_;
        had_ = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&before_),
                                &size) == ERROR_SUCCESS;
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    ~DesktopSetting() {
        if (!key_) return;
        if (had_)
            RegSetValueExA(key_.Get(), name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_),
                           sizeof before_);
        else
            RegDeleteValueA(key_.Get(), name_);
    }
    DesktopSetting(const DesktopSetting&) = delete;
    DesktopSetting& operator=(const DesktopSetting&) = delete;

private:
    const char* name_;
    fw::RegKey key_;
    DWORD before_ = 0;
    bool had_ = false;
};

TEST(HighDpi, ChecksRunInACopyAt144Dpi) {
    if (fw::ScreenDpi() == kHighDpi) GTEST_SKIP() << "this is the copy at 144 DPI";
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    DWORD code = 1;
    {
        DesktopSetting dpi("LogPixels", kHighDpi);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION pi{};
        std::string line = std::string("\"") + self + "\" --gtest_filter=HighDpiScreen.*";
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   nullptr, &si, &pi));
        fw::KernelHandle process(pi.hProcess), thread(pi.hThread);
        ASSERT_EQ(WaitForSingleObject(pi.hProcess, 240000), WAIT_OBJECT_0);
        GetExitCodeProcess(pi.hProcess, &code);
    }
    EXPECT_EQ(code, 0u) << "the checks at 144 DPI failed (their report is above)";
}

class HighDpiScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (fw::ScreenDpi() != kHighDpi) GTEST_SKIP() << "run by HighDpi.ChecksRunInACopyAt144Dpi";
    }
};

TEST_F(HighDpiScreen, ResultRowsFontsAndMarginsScale) {
    ProgramView program("carpet");
    ASSERT_TRUE(program.Searched()) << "no dictionary to search";
    WordplayViewWindows& view = program.View();
    EXPECT_EQ(view.Dpi(), kHighDpi);
    // The stored default font (15 pixels at 96 DPI) is drawn half as large again.
    EXPECT_EQ(program.AnswerFontHeight(), layout::ScaleToDpi(-15, kHighDpi));
    EXPECT_EQ(program.RowHeight(), DefaultFontHeight(kHighDpi) + 2);
    EXPECT_GE(program.RowHeight() * 2, (DefaultFontHeight(96) + 1) * 3 - 2);

    // Row 0 is selected with its first token underlined: the line is two
    // pixels high, two pixels above the row's bottom, in the selected row's
    // text colour (the background colour, white); below it the row's own
    // black, then the dotted focus frame on the last line.
    ASSERT_GT(view.Token().length, 0u);
    RECT inList{};
    ListView_GetItemRect(view.List(), 0, &inList, LVIR_BOUNDS);
    RECT row = inList;
    MapWindowPoints(view.List(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    const int tokenEnd = 6 + view.TextWidth(view.Token().text);
    SaveScreenshot(program.Frame(), "results-144dpi");
    for (int x = row.left + 8; x < row.left + tokenEnd - 2; x += 3) {
        EXPECT_EQ(PixelOnScreen(x, row.bottom - 4), RGB(255, 255, 255)) << x;
        EXPECT_EQ(PixelOnScreen(x, row.bottom - 3), RGB(255, 255, 255)) << x;
        EXPECT_EQ(PixelOnScreen(x, row.bottom - 2), RGB(0, 0, 0)) << x;
    }
    // Pointing starts inside the wider margin: 2 pixels in is outside it.
    view.HitTestToken({inList.left + 2, inList.top + 2});
    EXPECT_EQ(view.Token().length, 0u);
}

TEST_F(HighDpiScreen, ToolbarPicturesAndGapsScale) {
    fw::Window client;
    fw::FrameWindow frame("Toolbar", &client);
    auto bar = std::make_unique<fw::ControlBar>();
    bar->AddButton(CM_PREVIEWALL, true, true);
    bar->AddButton(CM_PREVIEWPRINTPAGE);
    bar->AddSeparator(20);
    bar->AddButton(CM_PREVIEWNEXT);
    frame.InsertControlBar(std::move(bar));
    ASSERT_TRUE(frame.CreateFrame());
    ShowWindow(frame.Handle(), SW_SHOWNOACTIVATE);
    fw::ControlBar& toolbar = *frame.GetControlBar();
    // The pictures are 19 x 17 and 21 x 21 pixels at 96 DPI.
    EXPECT_EQ(toolbar.ImageSize().cx, 32);
    EXPECT_EQ(toolbar.ImageSize().cy, 32);
    RECT gap{};
    SendMessageA(toolbar.Handle(), TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&gap));
    EXPECT_EQ(gap.right - gap.left, 30);
}

// In the usual run (96 DPI, or any): a window told by the system that it
// moved to a screen of 144 DPI scales what it drew.
TEST(DpiChange, TheResultsViewFollowsItsFrame) {
    ProgramView program("carpet");
    ASSERT_TRUE(program.Searched()) << "no dictionary to search";
    WordplayViewWindows& view = program.View();
    const int before = view.Dpi();
    const int rowHeight = program.RowHeight();
    const int column = ListView_GetColumnWidth(view.List(), 0);
    RECT start{}, client{};
    GetWindowRect(GetDlgItem(view.Handle(), IDC_START), &start);
    MapWindowPoints(nullptr, view.Handle(), reinterpret_cast<POINT*>(&start), 2);
    GetClientRect(view.Handle(), &client);
    const int distance = client.right - start.right;
    const int target = before * 3 / 2;
    RECT suggested{};
    GetWindowRect(program.Frame(), &suggested);
    suggested.right = suggested.left + (suggested.right - suggested.left) * 3 / 2;
    suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 3 / 2;
    SendMessageA(program.Frame(), WM_DPICHANGED, MAKEWPARAM(target, target),
                 reinterpret_cast<LPARAM>(&suggested));
    PumpMessages(20);
    EXPECT_EQ(view.Dpi(), target);
    EXPECT_EQ(program.AnswerFontHeight(), layout::ScaleToDpi(-15, target));
    EXPECT_EQ(program.RowHeight(), DefaultFontHeight(target) + layout::ScaleToDpi(1, target));
    EXPECT_GT(program.RowHeight(), rowHeight);
    EXPECT_EQ(ListView_GetColumnWidth(view.List(), 0),
              layout::ScaleBetweenDpi(column, before, target));
    // The Start button grew and still keeps its distance from the right edge.
    RECT now{};
    GetWindowRect(GetDlgItem(view.Handle(), IDC_START), &now);
    MapWindowPoints(nullptr, view.Handle(), reinterpret_cast<POINT*>(&now), 2);
    EXPECT_NEAR(now.bottom - now.top, (start.bottom - start.top) * 3 / 2, 1);
    GetClientRect(view.Handle(), &client);
    EXPECT_EQ(client.right - now.right, layout::ScaleBetweenDpi(distance, before, target));
}

TEST(DpiChange, ATemplateWindowScalesItsControls) {
    RecordingShell shell;
    AppContext context(DistDirectory() + "quillo.hlp", DistDirectory(), shell, RegistrySettings());
    RedoAboutBoxViewWindows about(context);
    ASSERT_TRUE(about.CreateModeless(nullptr));
    const int before = about.Dpi();
    RECT ok{};
    GetWindowRect(about.Item(IDOK), &ok);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(about.Item(IDOK), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    RECT window{};
    GetWindowRect(about.Handle(), &window);
    window.right = window.left + (window.right - window.left) * 2;
    window.bottom = window.top + (window.bottom - window.top) * 2;
    SendMessageA(about.Handle(), WM_DPICHANGED, MAKEWPARAM(before * 2, before * 2),
                 reinterpret_cast<LPARAM>(&window));
    RECT now{};
    GetWindowRect(about.Item(IDOK), &now);
    EXPECT_EQ(now.right - now.left, (ok.right - ok.left) * 2);
    EXPECT_EQ(now.bottom - now.top, (ok.bottom - ok.top) * 2);
    LOGFONTA scaled{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(about.Item(IDOK), WM_GETFONT, 0, 0)),
               sizeof scaled, &scaled);
    EXPECT_EQ(scaled.lfHeight, font.lfHeight * 2);
    EXPECT_EQ(about.Dpi(), before * 2);
    about.DestroyWindow();
}

TEST(DpiChange, TheToolbarIsMadeAgain) {
    fw::Window client;
    fw::FrameWindow frame("Toolbar", &client);
    auto bar = std::make_unique<fw::ControlBar>();
    bar->AddButton(CM_PREVIEWALL, true, true);
    bar->AddButton(CM_PREVIEWSELECTED, true);
    bar->AddButton(CM_PREVIEWNEXT);
    frame.InsertControlBar(std::move(bar));
    ASSERT_TRUE(frame.CreateFrame());
    ShowWindow(frame.Handle(), SW_SHOWNOACTIVATE);
    fw::ControlBar& toolbar = *frame.GetControlBar();
    toolbar.EnableButton(CM_PREVIEWNEXT, false);
    const int dpi = frame.Dpi();
    EXPECT_EQ(toolbar.ImageSize().cx, layout::ScaleToDpi(19, dpi));
    RECT r{0, 0, 600, 400};
    SendMessageA(frame.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2),
                 reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(toolbar.ImageSize().cx, layout::ScaleToDpi(19, dpi * 2));
    EXPECT_EQ(toolbar.ImageSize().cy, layout::ScaleToDpi(17, dpi * 2));
    EXPECT_TRUE(toolbar.IsButtonPressed(CM_PREVIEWALL)) << "states survive";
    EXPECT_FALSE(toolbar.IsButtonEnabled(CM_PREVIEWNEXT));
    EXPECT_GE(toolbar.Height(), 2 * layout::ScaleToDpi(17, dpi));
}

} // namespace
