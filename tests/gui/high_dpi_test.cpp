// Sizes that follow the DPI, at start and on WM_DPICHANGED. Wine reads a
// program's DPI from LogPixels at its start, so the checks at 144 DPI run in a
// second copy of this program started with LogPixels at 144.
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

// The height of the font a control draws with.
int FontHeight(HWND control) {
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

// A child's rectangle in its parent's client coordinates.
RECT RectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Tells window it moved to a screen of dpi, suggesting its size times factor.
void MoveToDpi(HWND window, int dpi, int factorTimesTwo) {
    RECT r{};
    GetWindowRect(window, &r);
    r.right = r.left + (r.right - r.left) * factorTimesTwo / 2;
    r.bottom = r.top + (r.bottom - r.top) * factorTimesTwo / 2;
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

// A frame with a print preview toolbar of the buttons given (0: a gap of 20);
// All and Selected go together, All pressed.
struct ToolbarFrame {
    explicit ToolbarFrame(std::initializer_list<int> buttons) {
        auto bar = std::make_unique<fw::ControlBar>();
        for (int id : buttons) {
            if (id == 0)
                bar->AddSeparator(20);
            else
                bar->AddButton(id, id == CM_PREVIEWALL || id == CM_PREVIEWSELECTED,
                               id == CM_PREVIEWALL);
        }
        frame.InsertControlBar(std::move(bar));
        created = frame.CreateFrame();
        ShowWindow(frame.Handle(), SW_SHOWNOACTIVATE);
    }
    fw::ControlBar& Toolbar() { return *frame.GetControlBar(); }
    fw::Window client;
    fw::FrameWindow frame{"Toolbar", &client};
    bool created = false;
};

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
    int AnswerFontHeight() const { return FontHeight(view_->AnswerBox()); }

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
        DWORD size = sizeof before_;
        had_ = RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &before_,
                            &size) == ERROR_SUCCESS;
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, REG_DWORD, &value, sizeof value);
    }
    ~DesktopSetting() {
        if (had_)
            RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name_, REG_DWORD, &before_, sizeof before_);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, name_);
    }
    DesktopSetting(const DesktopSetting&) = delete;
    DesktopSetting& operator=(const DesktopSetting&) = delete;

private:
    static constexpr const char* kKey = "Control Panel\\Desktop";
    const char* name_;
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

    // Row 0's first token is underlined two pixels high, two above the row's
    // bottom, in the selected row's text colour (white); below it the row's black.
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
    ToolbarFrame frame({CM_PREVIEWALL, CM_PREVIEWPRINTPAGE, 0, CM_PREVIEWNEXT});
    ASSERT_TRUE(frame.created);
    fw::ControlBar& toolbar = frame.Toolbar();
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
    const RECT start = RectIn(view.Handle(), GetDlgItem(view.Handle(), IDC_START));
    RECT client{};
    GetClientRect(view.Handle(), &client);
    const int distance = client.right - start.right;
    const int target = before * 3 / 2;
    MoveToDpi(program.Frame(), target, 3);
    PumpMessages(20);
    EXPECT_EQ(view.Dpi(), target);
    EXPECT_EQ(program.AnswerFontHeight(), layout::ScaleToDpi(-15, target));
    EXPECT_EQ(program.RowHeight(), DefaultFontHeight(target) + layout::ScaleToDpi(1, target));
    EXPECT_GT(program.RowHeight(), rowHeight);
    EXPECT_EQ(ListView_GetColumnWidth(view.List(), 0),
              layout::ScaleBetweenDpi(column, before, target));
    // The Start button grew and still keeps its distance from the right edge.
    const RECT now = RectIn(view.Handle(), GetDlgItem(view.Handle(), IDC_START));
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
    RECT ok{}, now{};
    GetWindowRect(about.Item(IDOK), &ok);
    const int font = FontHeight(about.Item(IDOK));
    MoveToDpi(about.Handle(), before * 2, 4);
    GetWindowRect(about.Item(IDOK), &now);
    EXPECT_EQ(now.right - now.left, (ok.right - ok.left) * 2);
    EXPECT_EQ(now.bottom - now.top, (ok.bottom - ok.top) * 2);
    EXPECT_EQ(FontHeight(about.Item(IDOK)), font * 2);
    EXPECT_EQ(about.Dpi(), before * 2);
    about.DestroyWindow();
}

TEST(DpiChange, TheToolbarIsMadeAgain) {
    ToolbarFrame frame({CM_PREVIEWALL, CM_PREVIEWSELECTED, CM_PREVIEWNEXT});
    ASSERT_TRUE(frame.created);
    fw::ControlBar& toolbar = frame.Toolbar();
    toolbar.EnableButton(CM_PREVIEWNEXT, false);
    const int dpi = frame.frame.Dpi();
    EXPECT_EQ(toolbar.ImageSize().cx, layout::ScaleToDpi(19, dpi));
    MoveToDpi(frame.frame.Handle(), dpi * 2, 4);
    EXPECT_EQ(toolbar.ImageSize().cx, layout::ScaleToDpi(19, dpi * 2));
    EXPECT_EQ(toolbar.ImageSize().cy, layout::ScaleToDpi(17, dpi * 2));
    EXPECT_TRUE(toolbar.IsButtonPressed(CM_PREVIEWALL)) << "states survive";
    EXPECT_FALSE(toolbar.IsButtonEnabled(CM_PREVIEWNEXT));
    EXPECT_GE(toolbar.Height(), 2 * layout::ScaleToDpi(17, dpi));
}

} // namespace
