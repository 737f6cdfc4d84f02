// The Options dialog, the About box and the tabbed dialog framework under
// them, driven as a user drives them: the real dialogs open from the menu
// commands, the system's colour, font and file choosers are filled in and
// confirmed from inside their own modal loops, and what the results view
// shows afterwards is checked in the pixels of the screen.
#include "GuiTestSupport.h"

#include "context/ProductAddresses.h"
#include "dialogs/WordplayPropertiesViewWindows.h"
#include "help/HelpPages.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <fstream>

namespace {

using namespace guitest;

constexpr const char* kOptions = "Quillon Options";
constexpr const char* kDefaultDictionary = "Dictionaries\\Standard English.owd";

// Control ids of the system's colour and font choosers and file dialog.
constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708;
constexpr int kFontFace = 0x470, kFontSize = 0x472, kFontColour = 0x473;
constexpr int kFileName = 0x47c;
constexpr int kChooserHelp = 0x40e;

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

std::vector<std::string> ComboTexts(HWND combo) {
    std::vector<std::string> texts;
    for (int i = 0; i < ComboBox_GetCount(combo); ++i) {
        char text[MAX_PATH] = {};
        ComboBox_GetLBText(combo, i, text);
        texts.push_back(text);
    }
    return texts;
}

// A screenshot of a dialog with its caption and frame drawn afresh.
void Snapshot(HWND window, const std::string& name) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveScreenshot(window, name);
}

// The screen's pixels of a window's client area.
struct Pixels {
    int width = 0;
    std::vector<unsigned char> rgb;

    int Height() const { return width ? static_cast<int>(rgb.size() / 3) / width : 0; }
    COLORREF At(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
    int Count(COLORREF colour) const {
        int count = 0;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            count += RGB(rgb[i], rgb[i + 1], rgb[i + 2]) == colour;
        return count;
    }
};

Pixels CaptureClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_TIMER);
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return {r.right - r.left, ScreenRgb(r)};
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
    const std::vector<HWND> shown = VisibleThreadWindows(TOOLTIPS_CLASSA);
    return shown.empty() ? "" : TextOf(shown.back());
}

int PageOf(HWND dialog) {
    return TabCtrl_GetCurSel(GetDlgItem(dialog, IDC_OPTIONSTABS));
}

// The centre of a tab, in the tab strip's client coordinates.
POINT TabCentre(HWND dialog, int page) {
    RECT r{};
    TabCtrl_GetItemRect(GetDlgItem(dialog, IDC_OPTIONSTABS), page, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Shows another page by clicking its tab, as the mouse does.
void ShowPageOf(HWND dialog, int page) {
    HWND tabs = GetDlgItem(dialog, IDC_OPTIONSTABS);
    const POINT p = TabCentre(dialog, page);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(tabs, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

// Whether the user sees and can use a control of the dialog.
bool Usable(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return IsWindowVisible(control) && IsWindowEnabled(control);
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

std::string HelpFile(UINT context) {
    return DistDirectory() + "help\\" + HelpPageForContext(context);
}

class Options : public AppTest<> {
protected:
    void TearDown() override {
        HoldKeys({VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT}, false);
        AppTest::TearDown();
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
};

TEST_F(Options, PagesShowOnlyTheirControlsAndFollowTheKeys) {
    Start();
    std::vector<int> pages;
    std::vector<std::string> tabTexts, tips;
    bool appearanceOnly = false, resultOnly = false;
    std::string shownTip;
    ModalScript script;
    script.Then(kOptions, [&](HWND dialog) {
        pages.push_back(PageOf(dialog));
        appearanceOnly = Usable(dialog, IDC_NOTATIONCOLOUR) && Usable(dialog, IDC_BRACKETS) &&
                         !Usable(dialog, IDC_DICTIONARYLIST) && !Usable(dialog, IDC_MAXPIECES);
        HWND tabs = GetDlgItem(dialog, IDC_OPTIONSTABS);
        HWND tooltip = TabCtrl_GetToolTips(tabs);
        for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
            char text[64] = {};
            TCITEMA item{TCIF_TEXT, 0, 0, text, sizeof text, 0, 0};
            SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            tabTexts.push_back(text);
            tips.push_back(ToolText(tooltip, tabs, static_cast<UINT_PTR>(i), 0));
        }
        for (int id : {IDC_NOTATIONCOLOUR, IDC_PRINTOUTFONT})
            tips.push_back(ToolText(
                tooltip, dialog, reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id)), TTF_IDISHWND));
    });
    // Ctrl+Shift+Tab on the first page goes round to the last, Ctrl+Tab on
    // the last to the first; the arrow keys on the tab strip go round too.
    struct Key {
        std::vector<int> held;
        UINT key;
    };
    const std::vector<Key> keys = {{{VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT}, VK_TAB},
                                   {{VK_CONTROL, VK_LCONTROL}, VK_TAB},
                                   {{}, VK_LEFT},
                                   {{}, VK_DOWN}};
    for (const Key& key : keys)
        script
            .Then(kOptions,
                  [&, key](HWND dialog) {
                      HoldKeys(key.held, true);
                      if (key.held.empty()) SetFocus(GetDlgItem(dialog, IDC_OPTIONSTABS));
                      PressKey(dialog, key.key);
                  })
            .Then(kOptions, [&](HWND dialog) {
                HoldKeys({VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT}, false);
                pages.push_back(PageOf(dialog));
                if (pages.size() == 2)
                    resultOnly = Usable(dialog, IDC_MAXPIECES) &&
                                 Usable(dialog, IDC_MAXPIECESUPDOWN) &&
                                 !Usable(dialog, IDC_NOTATIONCOLOUR);
            });
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  ShowPageOf(dialog, 1);
                  pages.push_back(PageOf(dialog));
                  PressKey(dialog, VK_F1); // help on the page showing
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  Click(dialog, IDC_HELPBUTTON);
                  // The pointer comes to rest on the Result tab.
                  POINT p = TabCentre(dialog, 2);
                  ClientToScreen(GetDlgItem(dialog, IDC_OPTIONSTABS), &p);
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
    Run(script, CM_OPTIONS);
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
    const std::string page = HelpFile(IDS_PAGEDICTIONARY);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{page, page}));
}

TEST_F(Options, ChosenColourAndFontRedrawTheResults) {
    Start();
    if (!Search("carpet")) GTEST_SKIP() << kNoDictionary;
    ASSERT_FALSE(view->Rows().empty());
    const COLORREF green = RGB(0, 160, 0), purple = RGB(128, 0, 128);
    const int rowHeight = RowHeight();
    const Pixels before = CaptureClient(view->List());
    ASSERT_EQ(before.Count(green) + before.Count(purple), 0);

    COLORREF swatch = 0, sampleBackground = 0;
    int samplePurple = 0;
    ModalScript script;
    ChooseColour(script, IDC_NOTATIONCOLOUR, "Result notation color", green);
    script.Then(kOptions, [](HWND dialog) { Click(dialog, IDC_RESULTFONT); })
        .Then("Result font",
              [&](HWND chooser) {
                  Pick(chooser, kFontFace, "Liberation Serif");
                  EXPECT_TRUE(Pick(chooser, kFontSize, "20"));
                  EXPECT_TRUE(Pick(chooser, kFontColour, "Purple"));
                  Click(chooser, IDOK);
              })
        .Then(kOptions, [&](HWND dialog) {
            const Pixels notation = CaptureClient(GetDlgItem(dialog, IDC_NOTATIONCOLOUR));
            swatch = notation.At(notation.width / 2, notation.Height() / 2);
            const Pixels sample = CaptureClient(GetDlgItem(dialog, IDC_RESULTFONT));
            sampleBackground = sample.At(5, 5); // inside the frame and the focus rectangle
            samplePurple = sample.Count(purple);
            Snapshot(dialog, "options-appearance");
            Click(dialog, IDOK);
        });
    Run(script, CM_OPTIONS);
    EXPECT_EQ(swatch, green);
    EXPECT_EQ(sampleBackground, RGB(255, 255, 255)) << "the result background";
    EXPECT_GT(samplePurple, 0);
    EXPECT_EQ(view->CurrentOptions().resultFont.logFont.FaceName(), "Liberation Serif");
    // The list is drawn again at once: notation symbols in green, letters in
    // purple, in rows made taller by the larger font.
    const Pixels after = CaptureClient(view->List());
    EXPECT_GT(after.Count(green), 10);
    EXPECT_GT(after.Count(purple), 100);
    EXPECT_GT(RowHeight(), rowHeight);
    EXPECT_EQ(shell.opened, std::vector<std::string>{HelpFile(IDS_PAGEAPPEARANCE)});
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
                  colourBeforeAppearance = ReadSettingText("WordplayWordplayNotationColor") != "";
                  ShowPageOf(dialog, 0);
                  Click(dialog, IDC_SAVEDEFAULTS);
              })
        .Then(kOptions, [&](HWND dialog) { Click(dialog, IDCANCEL); });
    Run(script, CM_OPTIONS);
    EXPECT_FALSE(colourBeforeAppearance) << "the Dictionary page saves only the dictionary";
    // The default dictionary stays named relative to the program's folder.
    EXPECT_EQ(ReadSettingText("WordplayWordplayDictionary"), kDefaultDictionary);
    EXPECT_EQ(ReadSettingText("WordplayWordplayNotationColor"), "0,128,128");
    EXPECT_EQ(ReadSettingInt("WordplayDisplayBrackets", -1), 1);
    EXPECT_EQ(ReadSettingInt("WordplayMaxPieces", -1), -1) << "the Result page was never saved";
    EXPECT_NE(view->CurrentOptions().colours[WordplayOptions::Notation], teal)
        << "Cancel keeps the view as it was";

    Restart();
    EXPECT_EQ(view->CurrentOptions().colours[WordplayOptions::Notation], teal);
    EXPECT_TRUE(view->CurrentOptions().brackets);
}

TEST_F(Options, AnInvalidDictionaryIsRefusedAndTheChosenOneRemembered) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
    const std::string standard = view->Dictionary()->Name();
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "QuillonOptionsTest\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string broken = folder + "Broken.owd", copy = folder + "Copied Words.owd";
    std::ofstream(broken, std::ios::binary) << "not a dictionary";
    ASSERT_TRUE(CopyFileA(standard.c_str(), copy.c_str(), FALSE));
    // Remembered names that differ only in case are one entry.
    std::string shouting = copy;
    CharUpperA(shouting.data());
    WriteSettingText("WordplayPropertiesWordplayDictionary0", shouting);
    WriteSettingText("WordplayPropertiesWordplayDictionary1", kDefaultDictionary);

    std::vector<std::string> shown, facts, after, chosen;
    std::string error;
    auto choose = [](const std::string& file) {
        return [file](HWND files) {
            SetDlgItemTextA(files, kFileName, file.c_str());
            Click(files, IDOK);
        };
    };
    ModalScript script;
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  ShowPageOf(dialog, 1);
                  shown = ComboTexts(GetDlgItem(dialog, IDC_DICTIONARYLIST));
                  for (int id : {IDC_LOCATION, IDC_MODIFIED, IDC_DESCRIPTION, IDC_ENTRIES,
                                 IDC_SHORTEST, IDC_LONGEST})
                      facts.push_back(ItemText(dialog, id));
                  Click(dialog, IDC_DICTIONARYCHANGE);
              })
        .Then("Dictionary File Selection", choose(broken))
        .Then("Dictionary File Error",
              [&](HWND box) {
                  error = ItemText(box, 0xFFFF);
                  Click(box, IDOK);
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  after = {ItemText(dialog, IDC_DICTIONARYLIST), ItemText(dialog, IDC_LOCATION)};
                  Snapshot(dialog, "options-dictionary");
                  Click(dialog, IDC_DICTIONARYCHANGE);
              })
        .Then("Dictionary File Selection", choose(copy))
        .Then(kOptions, [&](HWND dialog) {
            chosen = {ItemText(dialog, IDC_DICTIONARYLIST), ItemText(dialog, IDC_LOCATION),
                      ItemText(dialog, IDC_MODIFIED)};
            Click(dialog, IDCANCEL);
        });
    Run(script, CM_OPTIONS);

    EXPECT_EQ(shown, (std::vector<std::string>{"Standard English", "COPIED WORDS"}));
    const auto stats = view->Dictionary()->Statistics(0);
    // The modification time in the user's own date and time format, not the C library's.
    EXPECT_EQ(facts, (std::vector<std::string>{
                         standard, LocaleFileTime(standard), view->Dictionary()->Description(0),
                         std::to_string(stats.entries), std::to_string(stats.shortest),
                         std::to_string(stats.longest)}));
    EXPECT_NE(facts.at(1), OWFormatFileTime(view->Dictionary()->Modified(0)));
    EXPECT_EQ(error, broken + "\nis not a valid Orbweave Dictionary File.");
    EXPECT_EQ(after, (std::vector<std::string>{"Standard English", standard}));
    // The remembered entry moves to the top, keeping its own spelling.
    EXPECT_EQ(chosen, (std::vector<std::string>{"COPIED WORDS", copy, LocaleFileTime(copy)}));
    // Cancel keeps the view's dictionary but the list remembers the choice,
    // first, once, and without the file that was refused.
    EXPECT_EQ(view->Dictionary()->Name(), standard);
    EXPECT_EQ(ReadSettingText("WordplayPropertiesWordplayDictionary0"), shouting);
    EXPECT_EQ(ReadSettingText("WordplayPropertiesWordplayDictionary1"), kDefaultDictionary);
    EXPECT_EQ(ReadSettingText("WordplayPropertiesWordplayDictionary2"), "");
}

TEST_F(Options, ResultPageChoicesReachTheNextSearchAndAreSavedWithThatPage) {
    Start();
    if (!Search("carpet")) GTEST_SKIP() << kNoDictionary;
    auto texts = [&] {
        std::vector<std::string> all;
        for (const WordplayRow& row : view->Rows())
            all.push_back(row.text);
        return all;
    };
    auto hasCapet = [](const std::vector<std::string>& all) {
        return std::any_of(all.begin(), all.end(), [](const std::string& text) {
            return text.find("Capet") != std::string::npos;
        });
    };
    ASSERT_TRUE(hasCapet(texts())) << "a rare word among every word";
    std::vector<std::string> arrows;
    ModalScript script;
    script
        .Then(kOptions,
              [&](HWND dialog) {
                  ShowPageOf(dialog, 2);
                  arrows.push_back(ItemText(dialog, IDC_MAXPIECES));
                  SetFocus(GetDlgItem(dialog, IDC_MAXPIECES));
                  PressKey(dialog, VK_UP); // already at the top of 2-4
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  arrows.push_back(ItemText(dialog, IDC_MAXPIECES));
                  SendDlgItemMessageA(dialog, IDC_MAXPIECES, EM_SETSEL, 0, -1);
                  SendDlgItemMessageA(dialog, IDC_MAXPIECES, WM_CHAR, '6', 1);
              })
        .Then(kOptions,
              [&](HWND dialog) {
                  Snapshot(dialog, "options-result");
                  EXPECT_TRUE(Usable(dialog, IDC_COMMONWORDSONLY));
                  EXPECT_EQ(ItemText(dialog, IDC_COMMONWORDSONLY), "&Common words only");
                  Click(dialog, IDC_COMMONWORDSONLY);
              })
        .Then(kOptions, [&](HWND dialog) {
            Snapshot(dialog, "options-result-common-words");
            Click(dialog, IDC_SAVEDEFAULTS);
            Click(dialog, IDOK);
        });
    Run(script, CM_OPTIONS);
    EXPECT_EQ(arrows, (std::vector<std::string>{"4", "4"}));
    EXPECT_EQ(ReadSettingInt("WordplayMaxPieces", -1), 6) << "a typed number is taken as it stands";
    EXPECT_EQ(ReadSettingInt("WordplayCommonWordsOnly", -1), 1);
    EXPECT_EQ(ReadSettingText("WordplayWordplayNotationColor"), "")
        << "only the Result page was saved";

    Search("carpet");
    EXPECT_TRUE(std::any_of(view->Rows().begin(), view->Rows().end(), [](const WordplayRow& row) {
        return row.pieces == 6;
    })) << "c + a + r + p + e + t and others";
    const std::vector<std::string> common = texts();
    EXPECT_NE(std::find(common.begin(), common.end(), "car + pet"), common.end());
    EXPECT_FALSE(hasCapet(common));
    EXPECT_EQ(app->Frame()->GetStatusBar()->Status(), "Press F1 for help")
        << "the dictionary marks its common words";
    Restart();
    EXPECT_TRUE(view->CurrentOptions().commonWordsOnly);
    EXPECT_EQ(view->CurrentOptions().maxPieces, 6);
}

TEST_F(Options, ADictionaryWithoutCommonWordsIsSearchedWholeAndTheStatusBarSaysSoOnce) {
    Start();
    WordplayOptions options = view->CurrentOptions();
    options.dictionary =
        WindowsPath(std::string(QUILLON_SOURCE_DIR) + "/tests/fuzz/corpus/dictionary/v0-small.owd");
    options.commonWordsOnly = true;
    view->ApplyOptions(options);
    ASSERT_TRUE(Search("cats"));
    EXPECT_EQ(app->Frame()->GetStatusBar()->Status(),
              "The dictionary marks no common words: all its words were searched");
    const std::vector<WordplayRow> rows = view->Rows();
    Search("cats");
    EXPECT_EQ(app->Frame()->GetStatusBar()->Status().find("common words"), std::string::npos)
        << "said once";
    options.commonWordsOnly = false;
    view->ApplyOptions(options);
    Search("cats");
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
    EXPECT_EQ(shell.opened, std::vector<std::string>{HelpFile(IDD_ABOUT)});
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
    EXPECT_EQ(ComboTexts(combo), (std::vector<std::string>{"No encoding", "Hex encoding"}));
    host.encoding.SetSelection(1);
    EXPECT_EQ(TextOf(combo), "Hex encoding");
    EXPECT_TRUE(host.picks.empty()) << "the program's own choice is not reported";
    ComboBox_SetCurSel(combo, 0);
    SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(IDC_EXEC1ENCODING, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(host.picks, (std::vector<std::pair<int, int>>{{0, IDC_EXEC1ENCODING}}));
    host.DestroyWindow();
}

TEST_F(Options, AboutBoxLinksOpenThroughTheShell) {
    Start();
    Command(CM_EMAILSUPPORT);
    std::string mailText, homeText;
    int linkInk = 0;
    ModalScript script;
    script
        .Then("About Quillon",
              [&](HWND dialog) {
                  mailText = ItemText(dialog, IDC_EMAILLINK);
                  homeText = ItemText(dialog, IDC_HOMEPAGELINK);
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
    const std::string mail =
        std::string("mailto:") + kSupportMailbox + "?Subject=Quillon Support Request";
    EXPECT_EQ(shell.opened,
              (std::vector<std::string>{mail, mail, kHomePageAddress, kHomePageAddress}));
}

} // namespace
