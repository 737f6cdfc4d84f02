// The Options dialog, the About box and the tabbed dialog framework under
// them, driven as a user drives them: the real dialogs open from the menu
// commands, the system's colour, font and file choosers are filled in and
// confirmed from inside their own modal loops, and what the results view
// shows afterwards is checked in the pixels of the screen.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/Persist.h"
#include "context/ProductAddresses.h"
#include "dialogs/WordplayPropertiesViewWindows.h"
#include "help/HelpPages.h"
#include "resources/resource.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace guitest;

constexpr const char* kNoDictionary = "the default dictionary is not in the runnable folder";
constexpr const char* kOptions = "Quillon Options";
constexpr const char* kDefaultDictionary = "Dictionaries\\Standard English.owd";

// Control ids of the system's colour and font choosers and file dialog.
constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708;
constexpr int kFontFace = 0x470, kFontSize = 0x472, kFontColour = 0x473;
constexpr int kFileName = 0x47c;
constexpr int kChooserHelp = 0x40e;

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ItemTextOf(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}

// A click as the mouse gives it, posted so that a chooser it opens runs its
// own loop after the step that clicked has returned.
void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Chooses the entry of a drop-down list whose text is text, and tells the
// dialog as the list does when the user picks it. False when there is none.
bool Pick(HWND dialog, int id, const std::string& text) {
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR) return false;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    return true;
}

// The visible, enabled top-level window of this thread with a caption.
HWND ThreadWindow(const std::string& caption) {
    struct Search {
        const std::string* caption;
        HWND found;
    } search{&caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && TextOf(hwnd) == *s->caption) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Steps run from inside whatever modal loop is running (a dialog's, a
// chooser's, a message box's): each waits until a window with its caption
// is up and can take input, then acts on it. A step that waits in vain
// fails the test and cancels every dialog, so nothing is left hanging.
class ModalScript : public fw::Window {
public:
    using Action = std::function<void(HWND)>;

    ModalScript() { Create(HWND_MESSAGE, "", 0, 0, 0, 0, 0, 0); }
    ~ModalScript() override { KillTimer(Handle(), 1); }

    // delayMs holds the step back after the one before it (for a tooltip to
    // appear, say).
    ModalScript& Then(std::string caption, Action action, int delayMs = 0) {
        steps_.push_back({std::move(caption), std::move(action), delayMs / kTick});
        return *this;
    }
    void Start() { SetTimer(Handle(), 1, kTick, nullptr); }
    bool Done() const { return next_ == steps_.size() && !failed_; }

protected:
    const char* ClassName() const override { return "QuillonTestModalScript"; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_TIMER) {
            Tick();
            return 0;
        }
        return fw::Window::WndProc(msg, wParam, lParam);
    }

private:
    static constexpr int kTick = 20;
    struct Step {
        std::string caption;
        Action action;
        int delayTicks = 0;
    };

    void Tick() {
        if (failed_) {
            CancelAll();
            return;
        }
        if (busy_ || next_ == steps_.size()) return;
        ++waited_;
        if (waited_ <= steps_[next_].delayTicks) return;
        if (HWND window = ThreadWindow(steps_[next_].caption)) {
            waited_ = 0;
            Step step = steps_[next_++];
            busy_ = true;
            step.action(window);
            busy_ = false;
        } else if (waited_ > steps_[next_].delayTicks + 5000 / kTick) {
            ADD_FAILURE() << "no window \"" << steps_[next_].caption << "\" appeared";
            failed_ = true;
        }
    }
    static void CancelAll() {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM) -> BOOL {
                char kind[16] = {};
                GetClassNameA(hwnd, kind, sizeof kind);
                if (IsWindowVisible(hwnd) && std::string(kind) == "#32770")
                    PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            },
            0);
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int waited_ = 0;
    bool failed_ = false;
    bool busy_ = false;
};

// A screenshot of a dialog with its caption and frame drawn afresh.
void Snapshot(HWND window, const std::string& name) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveScreenshot(window, name);
}

// The screen's pixels of a window's client area, as 0x00BBGGRR values.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;

    int Count(COLORREF colour) const {
        return static_cast<int>(std::count(colours.begin(), colours.end(), colour));
    }
    COLORREF At(int x, int y) const {
        return colours[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)];
    }
};

Pixels CaptureClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_TIMER);
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    Pixels p;
    p.width = r.right;
    p.height = r.bottom;
    if (p.width <= 0 || p.height <= 0) return p;
    fw::WindowDC screen(nullptr);
    fw::OwnedDC memory(CreateCompatibleDC(screen.Get()));
    fw::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), p.width, p.height));
    {
        fw::SelectObjectScope select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, p.width, p.height, screen.Get(), origin.x, origin.y, SRCCOPY);
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = p.width;
    bi.bmiHeader.biHeight = -p.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(p.height), raw.data(), &bi,
              DIB_RGB_COLORS);
    p.colours.reserve(raw.size());
    for (DWORD bgrx : raw) // the DIB holds blue in the low byte
        p.colours.push_back(RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF));
    return p;
}

// Holds keys down in the thread's keyboard state (what GetKeyState reads)
// until released.
void HoldKeys(std::initializer_list<int> keys, bool down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    for (int vk : keys)
        state[vk] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

// A key pressed in a dialog, as the keyboard delivers it to the focus.
void PressKey(HWND dialog, UINT vk) {
    HWND focus = GetFocus();
    HWND target = focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    PostMessageA(target, WM_KEYDOWN, vk, 0);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

// The text a tooltip window gives for one of its tools.
std::string ToolText(HWND tooltip, HWND owner, UINT_PTR id, UINT flags) {
    char text[256] = {};
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = owner;
    ti.uId = id;
    ti.uFlags = flags;
    ti.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
}

// The text of the tooltip the user sees, if one is showing.
std::string VisibleToolTip() {
    std::string text;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lp) -> BOOL {
            char kind[32] = {};
            GetClassNameA(hwnd, kind, sizeof kind);
            if (IsWindowVisible(hwnd) && lstrcmpiA(kind, TOOLTIPS_CLASSA) == 0)
                *reinterpret_cast<std::string*>(lp) = TextOf(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

int PageOf(HWND dialog) {
    return TabCtrl_GetCurSel(GetDlgItem(dialog, IDC_OPTIONSTABS));
}

// Shows another page by clicking its tab, as the mouse does.
void ShowPageOf(HWND dialog, int page) {
    HWND tabs = GetDlgItem(dialog, IDC_OPTIONSTABS);
    RECT r{};
    TabCtrl_GetItemRect(tabs, page, &r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);
}

// Whether the user sees and can use a control of the dialog.
bool Usable(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

std::string Setting(const std::string& name) {
    std::string text;
    if (auto key = RegistrySettings().Open(PersistMode::Read)) key->ReadString(name, text);
    return text;
}

bool HasSetting(const std::string& name) {
    std::string text;
    int number = 0;
    auto key = RegistrySettings().Open(PersistMode::Read);
    return key && (key->ReadString(name, text) || key->ReadInt(name, number));
}

void StoreSetting(const std::string& name, const std::string& text) {
    if (auto key = RegistrySettings().Open(PersistMode::Write)) key->WriteString(name, text);
}

// A scratch folder for dictionary files, emptied for each test.
std::string ScratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "QuillonOptionsTest\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// The locale's long date, a blank and its time, for a file's last write.
std::string LocaleFileTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    char date[128] = {}, clock[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &local, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, clock, sizeof clock);
    return std::string(date) + " " + clock;
}

class Options : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override {
        HoldKeys({VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT}, false);
        if (app && Frame() && IsWindow(Frame())) DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
    }

    void Start() {
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->InitMainWindow();
        ASSERT_TRUE(app->InitInstance());
        view = app->ResultsView();
        ASSERT_NE(view, nullptr);
        PumpMessages(30);
    }
    void Restart() {
        DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
        Start();
    }
    bool HaveDictionary() const {
        return view->Dictionary() && !view->Dictionary()->FirstInvalidPath();
    }
    HWND Frame() const { return app && app->Frame() ? app->Frame()->Handle() : nullptr; }
    void SearchFor(const std::string& answer) {
        SetWindowTextA(view->AnswerBox(), answer.c_str());
        SendMessageA(GetDlgItem(view->Handle(), IDC_START), BM_CLICK, 0, 0);
        PumpMessages(30);
    }
    // Runs the script inside the modal loops of a menu command.
    void Run(ModalScript& script, UINT command = CM_OPTIONS) {
        script.Start();
        SendMessageA(Frame(), WM_COMMAND, command, 0);
        PumpMessages(30);
        EXPECT_TRUE(script.Done());
    }
    // Steps that pick a colour in the Choose Color dialog opened by a swatch.
    void ChooseColour(ModalScript& script, int swatch, const std::string& title, COLORREF colour) {
        script.Then(kOptions, [=](HWND dialog) { Click(dialog, swatch); })
            .Then(title, [=](HWND chooser) {
                // Its Help button shows the help of the page it was opened from.
                Click(chooser, kChooserHelp);
                SetDlgItemInt(chooser, kColourRed, GetRValue(colour), FALSE);
                SetDlgItemInt(chooser, kColourGreen, GetGValue(colour), FALSE);
                SetDlgItemInt(chooser, kColourBlue, GetBValue(colour), FALSE);
                Click(chooser, IDOK);
            });
    }
    int RowHeight() const {
        RECT r{};
        ListView_GetItemRect(view->List(), 0, &r, LVIR_BOUNDS);
        return r.bottom - r.top;
    }

    RecordingShell shell;
    std::unique_ptr<QuillonAppWindows> app;
    WordplayViewWindows* view = nullptr;
};

TEST_F(Options, PagesShowOnlyTheirControlsAndFollowTheKeys) {
    Start();
    std::vector<int> pages;
    std::vector<std::string> tabTexts, tips;
    bool appearanceOnly = false, resultOnly = false;
    std::string shownTip;
    ModalScript script;
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  pages.push_back(PageOf(dialog));
                  appearanceOnly =
                      Usable(dialog, IDC_NOTATIONCOLOUR) && Usable(dialog, IDC_BRACKETS) &&
                      !Usable(dialog, IDC_DICTIONARYLIST) && !Usable(dialog, IDC_MAXPIECES);
                  HWND tabs = GetDlgItem(dialog, IDC_OPTIONSTABS);
                  HWND tooltip = TabCtrl_GetToolTips(tabs);
                  for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
                      char text[64] = {};
                      TCITEMA item{};
                      item.mask = TCIF_TEXT;
                      item.pszText = text;
                      item.cchTextMax = sizeof text;
                      SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
                      tabTexts.push_back(text);
                      tips.push_back(ToolText(tooltip, tabs, static_cast<UINT_PTR>(i), 0));
                  }
                  for (int id : {IDC_NOTATIONCOLOUR, IDC_PRINTOUTFONT})
                      tips.push_back(ToolText(tooltip, dialog,
                                              reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id)),
                                              TTF_IDISHWND));
                  // Ctrl+Shift+Tab on the first page goes round to the last.
                  HoldKeys({VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT}, true);
                  PressKey(dialog, VK_TAB);
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  HoldKeys({VK_SHIFT, VK_LSHIFT}, false);
                  pages.push_back(PageOf(dialog));
                  resultOnly = Usable(dialog, IDC_MAXPIECES) &&
                               Usable(dialog, IDC_MAXPIECESUPDOWN) &&
                               !Usable(dialog, IDC_NOTATIONCOLOUR);
                  PressKey(dialog, VK_TAB); // and Ctrl+Tab on the last to the first
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  HoldKeys({VK_CONTROL, VK_LCONTROL}, false);
                  pages.push_back(PageOf(dialog));
                  // The arrow keys on the tab strip go round as well.
                  SetFocus(GetDlgItem(dialog, IDC_OPTIONSTABS));
                  PressKey(dialog, VK_LEFT);
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  pages.push_back(PageOf(dialog));
                  PressKey(dialog, VK_DOWN);
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  pages.push_back(PageOf(dialog));
                  ShowPageOf(dialog, 1);
                  pages.push_back(PageOf(dialog));
                  PressKey(dialog, VK_F1); // help on the page showing
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  Click(dialog, IDC_HELPBUTTON);
                  // The pointer rests on the Result tab.
                  RECT r{};
                  HWND tabs = GetDlgItem(dialog, IDC_OPTIONSTABS);
                  TabCtrl_GetItemRect(tabs, 2, &r);
                  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                  ClientToScreen(tabs, &p);
                  SetCursorPos(p.x - 3, p.y);
                  SetCursorPos(p.x, p.y);
              })
        .Then(
            kOptions,
            [&](HWND dialog) {
                shownTip = VisibleToolTip();
                Click(dialog, IDCANCEL);
            },
            1500);
    Run(script);
    EXPECT_EQ(shownTip, "Options affecting the results shown");
    EXPECT_EQ(pages, (std::vector<int>{0, 2, 0, 2, 0, 1}));
    EXPECT_TRUE(appearanceOnly);
    EXPECT_TRUE(resultOnly);
    EXPECT_EQ(tabTexts, (std::vector<std::string>{"Appearance", "Dictionary", "Result"}));
    EXPECT_EQ(tips, (std::vector<std::string>{
                        "The fonts and colors used in the display and for printing",
                        "The dictionary that is searched", "Options affecting the results shown",
                        "Click to change the wordplay notation color",
                        "Click to change the printout font"}));
    const std::string page = DistDirectory() + "help\\" + HelpPageForContext(IDS_PAGEDICTIONARY);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{page, page}));
}

TEST_F(Options, ChosenColourAndFontRedrawTheResults) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    SearchFor("carpet");
    ASSERT_FALSE(view->Rows().empty());
    const COLORREF green = RGB(0, 160, 0), purple = RGB(128, 0, 128);
    const int rowHeight = RowHeight();
    Pixels before = CaptureClient(view->List());
    ASSERT_EQ(before.Count(green) + before.Count(purple), 0);

    std::string fontTitle;
    COLORREF swatch = 0, sampleBackground = 0;
    int samplePurple = 0;
    ModalScript script;
    ChooseColour(script, IDC_NOTATIONCOLOUR, "Result notation color", green);
    script.Then(kOptions, [](HWND dialog) { Click(dialog, IDC_RESULTFONT); })
        .Then("Result font",
              [&](HWND chooser) {
                  fontTitle = TextOf(chooser);
                  Pick(chooser, kFontFace, "Liberation Serif");
                  EXPECT_TRUE(Pick(chooser, kFontSize, "20"));
                  EXPECT_TRUE(Pick(chooser, kFontColour, "Purple"));
                  Click(chooser, IDOK);
              })
        .Then(kOptions, [&](HWND dialog) {
            const Pixels notation = CaptureClient(GetDlgItem(dialog, IDC_NOTATIONCOLOUR));
            swatch = notation.At(notation.width / 2, notation.height / 2);
            const Pixels sample = CaptureClient(GetDlgItem(dialog, IDC_RESULTFONT));
            sampleBackground = sample.At(5, 5); // inside the frame and the focus rectangle
            samplePurple = sample.Count(purple);
            Snapshot(dialog, "options-appearance");
            Click(dialog, IDOK);
        });
    Run(script);
    EXPECT_EQ(fontTitle, "Result font");
    EXPECT_EQ(swatch, green);
    EXPECT_EQ(sampleBackground, RGB(255, 255, 255)) << "the result background";
    EXPECT_GT(samplePurple, 0);

    const WordplayOptions now = view->CurrentOptions();
    EXPECT_EQ(now.colours[WordplayOptions::Notation], green);
    EXPECT_EQ(now.resultFont.colour, purple);
    EXPECT_EQ(now.resultFont.logFont.FaceName(), "Liberation Serif");
    // The list is drawn again at once: notation symbols in green, letters in
    // purple, in rows made taller by the larger font.
    const Pixels after = CaptureClient(view->List());
    EXPECT_GT(after.Count(green), 10);
    EXPECT_GT(after.Count(purple), 100);
    EXPECT_GT(RowHeight(), rowHeight);
    const std::string help = DistDirectory() + "help\\" + HelpPageForContext(IDS_PAGEAPPEARANCE);
    EXPECT_EQ(shell.opened, std::vector<std::string>{help});
    SaveScreenshot(Frame(), "options-results-redrawn");
}

TEST_F(Options, SaveAsDefaultsWritesThePageShowingOnly) {
    Start();
    const COLORREF teal = RGB(0, 128, 128);
    bool colourBeforeAppearance = true;
    ModalScript script;
    ChooseColour(script, IDC_NOTATIONCOLOUR, "Result notation color", teal);
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  Click(dialog, IDC_BRACKETS);
                  ShowPageOf(dialog, 1);
                  Click(dialog, IDC_SAVEDEFAULTS);
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  colourBeforeAppearance = HasSetting("WordplayWordplayNotationColor");
                  ShowPageOf(dialog, 0);
                  Click(dialog, IDC_SAVEDEFAULTS);
              })
        .Then(kOptions, [&](HWND dialog) { Click(dialog, IDCANCEL); });
    Run(script);
    EXPECT_FALSE(colourBeforeAppearance) << "the Dictionary page saves only the dictionary";
    // The default dictionary stays named relative to the program's folder.
    EXPECT_EQ(Setting("WordplayWordplayDictionary"), "Dictionaries\\Standard English.owd");
    EXPECT_EQ(Setting("WordplayWordplayNotationColor"), "0,128,128");
    EXPECT_EQ(ReadSettingInt("WordplayDisplayBrackets", -1), 1);
    EXPECT_FALSE(HasSetting("WordplayMaxPieces")) << "the Result page was never saved";
    EXPECT_NE(view->CurrentOptions().colours[WordplayOptions::Notation], teal)
        << "Cancel keeps the view as it was";

    Restart();
    const WordplayOptions restored = view->CurrentOptions();
    EXPECT_EQ(restored.colours[WordplayOptions::Notation], teal);
    EXPECT_TRUE(restored.brackets);
    EXPECT_EQ(restored.maxPieces, 4);
}

TEST_F(Options, AnInvalidDictionaryIsRefusedAndTheChosenOneRemembered) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    const std::string standard = view->Dictionary()->Name();
    const std::string folder = ScratchFolder();
    const std::string broken = folder + "Broken.owd";
    const std::string copy = folder + "Copied Words.owd";
    {
        fw::KernelHandle file(CreateFileA(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.Get(), "not a dictionary", 16, &written, nullptr);
    }
    ASSERT_TRUE(CopyFileA(standard.c_str(), copy.c_str(), FALSE));
    // Remembered names that differ only in case are one entry.
    std::string shouting = copy;
    CharUpperA(shouting.data());
    StoreSetting("WordplayPropertiesWordplayDictionary0", shouting);
    StoreSetting("WordplayPropertiesWordplayDictionary1", kDefaultDictionary);

    std::vector<std::string> shown, facts, after, chosen;
    std::string error;
    ModalScript script;
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  ShowPageOf(dialog, 1);
                  HWND list = GetDlgItem(dialog, IDC_DICTIONARYLIST);
                  for (int i = 0; i < ComboBox_GetCount(list); ++i) {
                      char text[MAX_PATH] = {};
                      ComboBox_GetLBText(list, i, text);
                      shown.push_back(text);
                  }
                  for (int id : {IDC_LOCATION, IDC_MODIFIED, IDC_DESCRIPTION, IDC_ENTRIES,
                                 IDC_SHORTEST, IDC_LONGEST})
                      facts.push_back(ItemTextOf(dialog, id));
                  Click(dialog, IDC_DICTIONARYCHANGE);
              })
        .Then("Dictionary File Selection",
              [&](HWND files) {
                  SetDlgItemTextA(files, kFileName, broken.c_str());
                  Click(files, IDOK);
              })
        .Then("Dictionary File Error",
              [&](HWND box) {
                  error = ItemTextOf(box, 0xFFFF);
                  Click(box, IDOK);
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  after.push_back(ItemTextOf(dialog, IDC_DICTIONARYLIST));
                  after.push_back(ItemTextOf(dialog, IDC_LOCATION));
                  Snapshot(dialog, "options-dictionary");
                  Click(dialog, IDC_DICTIONARYCHANGE);
              })
        .Then("Dictionary File Selection",
              [&](HWND files) {
                  SetDlgItemTextA(files, kFileName, copy.c_str());
                  Click(files, IDOK);
              })
        .Then(kOptions, [&](HWND dialog) {
            chosen.push_back(ItemTextOf(dialog, IDC_DICTIONARYLIST));
            chosen.push_back(ItemTextOf(dialog, IDC_LOCATION));
            chosen.push_back(ItemTextOf(dialog, IDC_MODIFIED));
            Click(dialog, IDCANCEL);
        });
    Run(script);

    EXPECT_EQ(shown, (std::vector<std::string>{"Standard English", "COPIED WORDS"}));
    const auto stats = view->Dictionary()->Statistics(0);
    ASSERT_EQ(facts.size(), 6u);
    EXPECT_EQ(facts[0], standard);
    // The user's own date and time format, not the C library's.
    EXPECT_EQ(facts[1], LocaleFileTime(standard));
    EXPECT_NE(facts[1], OWFormatFileTime(view->Dictionary()->Modified(0)));
    EXPECT_EQ(facts[2], view->Dictionary()->Description(0));
    EXPECT_EQ(facts[3], std::to_string(stats.entries));
    EXPECT_EQ(facts[4], std::to_string(stats.shortest));
    EXPECT_EQ(facts[5], std::to_string(stats.longest));

    EXPECT_EQ(error, broken + "\nis not a valid Orbweave Dictionary File.");
    EXPECT_EQ(after, (std::vector<std::string>{"Standard English", standard}));
    // The remembered entry moves to the top, keeping its own spelling.
    EXPECT_EQ(chosen, (std::vector<std::string>{"COPIED WORDS", copy, LocaleFileTime(copy)}));
    // Cancel keeps the view's dictionary but the list remembers the choice,
    // first, once, and without the file that was refused.
    EXPECT_EQ(view->Dictionary()->Name(), standard);
    EXPECT_EQ(Setting("WordplayPropertiesWordplayDictionary0"), shouting);
    EXPECT_EQ(Setting("WordplayPropertiesWordplayDictionary1"), kDefaultDictionary);
    EXPECT_EQ(Setting("WordplayPropertiesWordplayDictionary2"), "");
}

TEST_F(Options, TypedMaxPiecesReachesTheNextSearch) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    std::vector<std::string> arrows;
    ModalScript script;
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  ShowPageOf(dialog, 2);
                  HWND edit = GetDlgItem(dialog, IDC_MAXPIECES);
                  arrows.push_back(TextOf(edit));
                  SetFocus(edit);
                  PressKey(dialog, VK_UP); // already at the top of 2-4
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  arrows.push_back(ItemTextOf(dialog, IDC_MAXPIECES));
                  HWND edit = GetDlgItem(dialog, IDC_MAXPIECES);
                  SendMessageA(edit, EM_SETSEL, 0, -1);
                  SendMessageA(edit, WM_CHAR, '6', 1);
              })
        .Then(kOptions, [&](HWND dialog) {
            Snapshot(dialog, "options-result");
            Click(dialog, IDC_SAVEDEFAULTS);
            Click(dialog, IDOK);
        });
    Run(script);
    EXPECT_EQ(arrows, (std::vector<std::string>{"4", "4"}));
    ASSERT_EQ(view->MaxPieces(), 6) << "a typed number is taken as it stands";
    EXPECT_EQ(ReadSettingInt("WordplayMaxPieces", -1), 6);
    EXPECT_FALSE(HasSetting("WordplayWordplayNotationColor")) << "only the Result page was saved";

    SearchFor("carpet");
    const auto six = std::count_if(view->Rows().begin(), view->Rows().end(),
                                   [](const WordplayRow& row) { return row.pieces == 6; });
    EXPECT_GT(six, 0) << "c + a + r + p + e + t and others";
}

TEST_F(Options, CommonWordsOnlyNarrowsTheNextSearchAndIsSavedWithTheResultPage) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    SearchFor("carpet");
    const std::size_t everyWord = view->Rows().size();
    ModalScript script;
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  ShowPageOf(dialog, 2);
                  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_COMMONWORDSONLY)));
                  EXPECT_EQ(ItemTextOf(dialog, IDC_COMMONWORDSONLY), "&Common words only");
                  Click(dialog, IDC_COMMONWORDSONLY);
              })
        .Then(kOptions, [&](HWND dialog) {
            Snapshot(dialog, "options-result-common-words");
            Click(dialog, IDC_SAVEDEFAULTS);
            Click(dialog, IDOK);
        });
    Run(script);
    ASSERT_TRUE(view->CommonWordsOnly());
    EXPECT_EQ(ReadSettingInt("WordplayCommonWordsOnly", -1), 1);

    SearchFor("carpet");
    std::vector<std::string> texts;
    for (const WordplayRow& row : view->Rows())
        texts.push_back(row.text);
    EXPECT_LT(texts.size(), everyWord);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "car + pet"), texts.end());
    for (const std::string& text : texts)
        EXPECT_EQ(text.find("Capet"), std::string::npos) << text;
    EXPECT_EQ(app->Frame()->GetStatusBar()->Status(), "Press F1 for help")
        << "the dictionary marks its common words";

    Restart();
    EXPECT_TRUE(view->CurrentOptions().commonWordsOnly);
}

TEST_F(Options, ADictionaryWithoutCommonWordsIsSearchedWholeAndTheStatusBarSaysSoOnce) {
    Start();
    WordplayOptions options = view->CurrentOptions();
    options.dictionary =
        WindowsPath(std::string(QUILLON_SOURCE_DIR) + "/tests/fuzz/corpus/dictionary/v0-small.owd");
    options.commonWordsOnly = true;
    view->ApplyOptions(options);
    ASSERT_FALSE(view->Dictionary()->FirstInvalidPath());
    SearchFor("cats");
    EXPECT_EQ(app->Frame()->GetStatusBar()->Status(),
              "The dictionary marks no common words: all its words were searched");
    const std::vector<WordplayRow> rows = view->Rows();
    SearchFor("cats");
    EXPECT_EQ(app->Frame()->GetStatusBar()->Status().find("common words"), std::string::npos)
        << "said once";
    options.commonWordsOnly = false;
    view->ApplyOptions(options);
    SearchFor("cats");
    EXPECT_EQ(view->Rows(), rows) << "as if the setting were off";
}

// The keys that template-based windows take before dispatch reach a modal
// one too, although it runs the system's dialog loop.
class KeyRecorder : public PropertiesViewWindows {
public:
    explicit KeyRecorder(AppContext& context)
        : PropertiesViewWindows("KeyRecorder", context, IDD_ABOUT, false, false) {}
    void SwitchWindows(UINT key) override { keys.push_back(key); }
    std::vector<UINT> keys;
};

TEST_F(Options, FunctionKeysReachModalDialogs) {
    Start();
    KeyRecorder recorder(*app->Context());
    ModalScript script;
    script
        .Then("About Quillon",
              [&](HWND dialog) {
                  for (UINT key : {VK_F4, VK_F5, VK_F6, VK_F1})
                      PressKey(dialog, key);
              })
        .Then("About Quillon", [&](HWND dialog) { Click(dialog, IDOK); });
    script.Start();
    recorder.DoModal(Frame());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(recorder.keys, (std::vector<UINT>{VK_F4, VK_F5, VK_F6}));
    EXPECT_EQ(shell.opened,
              std::vector<std::string>{DistDirectory() + "help\\" + HelpPageForContext(IDD_ABOUT)});
}

// A drop-down list of string-table texts reports what the user picks, and
// only that.
class EncodingList : public PropertiesViewWindows {
public:
    explicit EncodingList(AppContext& context)
        : PropertiesViewWindows("EncodingList", context, IDD_LOOKUP, true, false),
          encoding(*this, IDC_EXEC1ENCODING, {IDS_NOENCODING, IDS_HEXENCODING}) {}
    void SelectionChanged(int index, int id) override { picks.emplace_back(index, id); }
    PVWEnumeration encoding;
    std::vector<std::pair<int, int>> picks;
};

TEST_F(Options, EnumerationsListStringTableTexts) {
    Start();
    EncodingList host(*app->Context());
    ASSERT_TRUE(host.CreateModeless(Frame()));
    HWND combo = host.Item(IDC_EXEC1ENCODING);
    std::vector<std::string> texts;
    for (int i = 0; i < ComboBox_GetCount(combo); ++i) {
        char text[64] = {};
        ComboBox_GetLBText(combo, i, text);
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"No encoding", "Hex encoding"}));
    host.encoding.SetSelection(1);
    EXPECT_EQ(host.encoding.GetSelection(), 1);
    EXPECT_TRUE(host.picks.empty()) << "the program's own choice is not reported";
    ComboBox_SetCurSel(combo, 0);
    SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(IDC_EXEC1ENCODING, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(host.picks, (std::vector<std::pair<int, int>>{{0, IDC_EXEC1ENCODING}}));
    host.DestroyWindow();
}

TEST_F(Options, AboutBoxLinksOpenThroughTheShell) {
    Start();
    SendMessageA(Frame(), WM_COMMAND, CM_EMAILSUPPORT, 0);
    ASSERT_EQ(shell.opened.size(), 1u);
    const std::string mail = shell.opened[0];
    shell.opened.clear();

    std::string mailText, homeText;
    int linkInk = 0;
    ModalScript script;
    script
        .Then("About Quillon",
              [&](HWND dialog) {
                  mailText = ItemTextOf(dialog, IDC_EMAILLINK);
                  homeText = ItemTextOf(dialog, IDC_HOMEPAGELINK);
                  linkInk = CaptureClient(GetDlgItem(dialog, IDC_EMAILLINK))
                                .Count(GetSysColor(COLOR_ACTIVECAPTION));
                  Snapshot(dialog, "about");
                  // A click that stays within 2 pixels opens the link; one
                  // that drags 3 pixels does not.
                  HWND link = GetDlgItem(dialog, IDC_EMAILLINK);
                  PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 4));
                  PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(12, 6));
                  PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 4));
                  PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(13, 4));
              })
        .Then("About Quillon",
              [&](HWND dialog) {
                  SetFocus(GetDlgItem(dialog, IDC_HOMEPAGELINK));
                  PressKey(dialog, VK_RETURN);
                  PressKey(dialog, VK_SPACE);
              })
        .Then("About Quillon", [&](HWND dialog) { Click(dialog, IDOK); });
    Run(script, CM_HELPABOUT);
    EXPECT_EQ(mailText, kSupportMailbox);
    EXPECT_EQ(homeText, kHomePageAddress);
    EXPECT_GT(linkInk, 0) << "links are drawn in the active caption's colour";
    EXPECT_EQ(shell.opened, (std::vector<std::string>{mail, kHomePageAddress, kHomePageAddress}));
    EXPECT_EQ(mail, std::string("mailto:") + kSupportMailbox + "?Subject=Quillon Support Request");
}

} // namespace
