// The results view in the real main window: a search fills the owner-drawn
// list with exactly the engine's rows, the answer history, copying to the
// clipboard, sorting from the header and the sort commands, token walking
// with Ctrl+Left and Ctrl+Right, the context menus, and the view's settings
// written on close and read again on start. Screenshots of the main cases
// go to build/screenshots.
#include "GuiTestSupport.h"

#include "app/Persist.h"
#include "app/QuillonAppWindows.h"
#include "resources/resource.h"
#include "results/ColumnTable.h"
#include "results/ResultsViewState.h"
#include "results/Tokens.h"
#include "results/WordplayViewWindows.h"
#include "search/WordplaySearch.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

using namespace guitest;

// Runs a function from inside a modal loop (a popup menu's), where posted
// messages are still dispatched.
class LoopCallback : public fw::Window {
public:
    static constexpr UINT kRun = WM_APP + 7;
    LoopCallback() { Create(HWND_MESSAGE, "", 0, 0, 0, 0, 0, 0); }
    void Post(std::function<void()> f, int turns = 3) {
        pending_ = std::move(f);
        PostMessageA(Handle(), kRun, static_cast<WPARAM>(turns), 0);
    }

protected:
    const char* ClassName() const override { return "QuillonResultsTestCallback"; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kRun && pending_) {
            // Wait a few turns so that the menu has shown itself.
            if (wParam > 0) {
                Sleep(20);
                PostMessageA(Handle(), kRun, wParam - 1, 0);
                return 0;
            }
            auto f = std::move(pending_);
            pending_ = nullptr;
            f();
            return 0;
        }
        return fw::Window::WndProc(msg, wParam, lParam);
    }

private:
    std::function<void()> pending_;
};

// The engine's own rows for an answer, finished as the view finishes them.
class EngineRows : public SearchHost {
public:
    void AddRow(WordplayRow row) override { rows.push_back(std::move(row)); }
    void ShowInvalidDictionary(const std::string&) override { invalid = true; }
    void RecordHistory(const std::string&) override {}
    void BeginSearch(int) override { rows.clear(); }
    std::size_t ShowResults() override {
        FinishResultList(rows, TheColumnTable());
        return rows.size();
    }
    void EndSearch(const std::string&, int) override {}

    std::vector<WordplayRow> rows;
    bool invalid = false;
};

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

// Holds Ctrl down in the thread's keyboard state (what GetKeyState reads).
class CtrlHeld {
public:
    CtrlHeld() { Set(0x80); }
    ~CtrlHeld() { Set(0); }

private:
    static void Set(BYTE state) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = state;
        keys[VK_LCONTROL] = state;
        SetKeyboardState(keys);
    }
};

class ResultsView : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        TheColumnTable().Reset();
    }
    void TearDown() override {
        if (app && Frame() && IsWindow(Frame())) DestroyWindow(Frame());
        PumpMessages(10);
        app.reset();
    }

    void Start() {
        app = std::make_unique<QuillonAppWindows>(DistDirectory(), shell, RegistrySettings());
        app->InitMainWindow();
        ASSERT_TRUE(app->InitInstance());
        view = dynamic_cast<WordplayViewWindows*>(app->ResultsView());
        ASSERT_NE(view, nullptr);
        ASSERT_NE(view->Handle(), nullptr);
        PumpMessages(30);
    }
    bool HaveDictionary() const {
        return view->Dictionary() && !view->Dictionary()->FirstInvalidPath();
    }
    // Types the answer and presses Start, as the user does.
    void SearchFor(const std::string& answer) {
        SetWindowTextA(view->AnswerBox(), answer.c_str());
        SendMessageA(GetDlgItem(view->Handle(), IDC_START), BM_CLICK, 0, 0);
        PumpMessages(30);
    }
    HWND Frame() const { return app && app->Frame() ? app->Frame()->Handle() : nullptr; }
    std::string Caption() const {
        char text[256] = {};
        GetWindowTextA(Frame(), text, sizeof text);
        return text;
    }
    std::string Status() const { return app->Frame()->GetStatusBar()->Status(); }
    std::string ItemText(int item, int column) const {
        char text[1000] = {};
        ListView_GetItemText(view->List(), item, column, text, sizeof text);
        return text;
    }
    int SelectedCount() const { return ListView_GetSelectedCount(view->List()); }
    void SelectRow(int index) {
        ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(view->List(), index, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    bool Enabled(UINT id) {
        fw::CommandEnabler ce(id);
        app->Frame()->RouteCommandEnable(ce);
        return ce.Handled() && ce.Enabled();
    }
    void Command(UINT id) {
        SendMessageA(Frame(), WM_COMMAND, id, 0);
        PumpMessages(10);
    }
    void Key(UINT vk) {
        SendMessageA(view->List(), WM_KEYDOWN, vk, 0);
        SendMessageA(view->List(), WM_KEYUP, vk, 0);
    }
    // Opens a context menu as the given request does and returns the texts
    // of its items; name is a screenshot taken while it is open.
    std::vector<std::string> MenuTexts(HWND control, POINT screen, const std::string& name) {
        std::vector<std::string> texts;
        RedrawWindow(Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        callback.Post(
            [&] {
                HWND popup = FindWindowA("#32768", nullptr);
                if (popup) {
                    RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
                    fw::MenuView items(menu);
                    for (int i = 0; i < items.ItemCount(); ++i)
                        texts.push_back(items.ItemText(i));
                    if (!name.empty()) SaveScreenshot(Frame(), name);
                }
                EndMenu();
            },
            8);
        SendMessageA(view->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                     MAKELPARAM(screen.x, screen.y));
        PumpMessages(20);
        return texts;
    }
    POINT HeaderPoint(int position) const {
        HWND header = ListView_GetHeader(view->List());
        RECT r{};
        Header_GetItemRect(header, position, &r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(header, &p);
        return p;
    }

    RecordingShell shell;
    LoopCallback callback;
    std::unique_ptr<QuillonAppWindows> app;
    WordplayViewWindows* view = nullptr;
};

TEST_F(ResultsView, StartsEmptyWithTheTemplateLayout) {
    Start();
    EXPECT_EQ(GetParent(view->Handle()), Frame());
    EXPECT_EQ(ListView_GetItemCount(view->List()), 0);
    EXPECT_EQ(Status(), "Press F1 for help");
    EXPECT_EQ(view->MaxPieces(), 4);
    EXPECT_FALSE(view->Brackets());
    // The answer box keeps at most 31 characters.
    SetFocus(view->AnswerBox());
    const std::string longAnswer(40, 'a');
    for (char c : longAnswer)
        SendMessageA(GetWindow(view->AnswerBox(), GW_CHILD), WM_CHAR, c, 0);
    EXPECT_EQ(GetWindowTextLengthA(view->AnswerBox()), 31);

    // The list stretches with the window; Start keeps its distance from the right.
    RECT client{}, list{}, start{};
    GetClientRect(view->Handle(), &client);
    GetWindowRect(view->List(), &list);
    GetWindowRect(GetDlgItem(view->Handle(), IDC_START), &start);
    MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&list), 2);
    MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&start), 2);
    const int listMargin = client.right - list.right;
    const int startMargin = client.right - start.right;
    SetWindowPos(Frame(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages(20);
    GetClientRect(view->Handle(), &client);
    GetWindowRect(view->List(), &list);
    GetWindowRect(GetDlgItem(view->Handle(), IDC_START), &start);
    MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&list), 2);
    MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&start), 2);
    EXPECT_EQ(client.right - list.right, listMargin);
    EXPECT_EQ(client.right - start.right, startMargin);
    EXPECT_GT(list.bottom, 400);
    // The answer box still has room for its drop-down list after the move.
    for (const char* answer : {"one", "two", "three", "four", "five", "six"})
        SendMessageA(view->AnswerBox(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(answer));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(view->AnswerBox(), &info));
    SendMessageA(view->AnswerBox(), CB_SHOWDROPDOWN, TRUE, 0);
    RECT dropped{};
    GetWindowRect(info.hwndList, &dropped);
    SendMessageA(view->AnswerBox(), CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(view->AnswerBox(), CB_RESETCONTENT, 0, 0);
    EXPECT_GT(dropped.bottom - dropped.top, 80);

    // The tooltips of the answer box and Start come from the string table.
    ASSERT_NE(view->ToolTip(), nullptr);
    char tip[256] = {};
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = view->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(view->Handle(), IDC_START));
    ti.lpszText = tip;
    SendMessageA(view->ToolTip(), TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(tip, "Search the dictionary for wordplay that gives the answer");
}

TEST_F(ResultsView, SearchShowsTheEngineRowsInOrder) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "the default dictionary is not in the runnable folder";
    SearchFor("carpet");

    EngineRows engine;
    RunWordplaySearch(engine, *view->Dictionary(), view->Abbreviations(), view->MaxPieces(),
                      "carpet");
    ASSERT_FALSE(engine.rows.empty());
    ASSERT_EQ(view->Rows().size(), engine.rows.size());
    for (std::size_t i = 0; i < engine.rows.size(); ++i) {
        EXPECT_EQ(view->Rows()[i].text, engine.rows[i].text) << "row " << i;
        EXPECT_EQ(view->Rows()[i].type, engine.rows[i].type) << "row " << i;
    }
    // The list holds no text of its own: every cell is supplied on demand.
    ASSERT_EQ(ListView_GetItemCount(view->List()), static_cast<int>(engine.rows.size()));
    EXPECT_EQ(ItemText(0, 0), engine.rows[0].text);
    EXPECT_EQ(ItemText(0, 2), TypeName(engine.rows[0].type));
    const int last = static_cast<int>(engine.rows.size()) - 1;
    EXPECT_EQ(ItemText(last, 0), DisplayText(engine.rows.back(), false).text);

    EXPECT_EQ(Caption(), "carpet - Quillon");
    EXPECT_EQ(Status(), "Press F1 for help");
    // The first row is selected and focused, with its first token chosen.
    EXPECT_EQ(GetFocus(), view->List());
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(ListView_GetNextItem(view->List(), -1, LVNI_FOCUSED), 0);
    EXPECT_EQ(view->Token().start, 0u);
    EXPECT_GT(view->Token().length, 0u);
    SaveScreenshot(Frame(), "results-carpet");
}

TEST_F(ResultsView, NoResultsLeavesTheFocusInTheAnswerBox) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("12345");
    EXPECT_TRUE(view->Rows().empty());
    EXPECT_EQ(ListView_GetItemCount(view->List()), 0);
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == view->AnswerBox() || IsChild(view->AnswerBox(), focus));
    EXPECT_EQ(Status(), "No wordplay was found for the answer");
    EXPECT_EQ(Caption(), "12345 - Quillon");
    SearchFor("");
    EXPECT_TRUE(view->Rows().empty()) << "an empty answer is a search without results";
    EXPECT_EQ(Status(), "No wordplay was found for the answer");
}

TEST_F(ResultsView, HistoryIsMostRecentFirstAndIgnoresCase) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("ice");
    SearchFor("tea");
    EXPECT_EQ(view->History(), (std::vector<std::string>{"tea", "ice"}));
    SearchFor("tea");
    EXPECT_EQ(view->History(), (std::vector<std::string>{"tea", "ice"}))
        << "the first entry is not added twice";
    SearchFor("ICE");
    EXPECT_EQ(view->History(), (std::vector<std::string>{"ICE", "tea"}))
        << "an older entry gives way to the answer as typed, at the top";
    SearchFor("Ice");
    EXPECT_EQ(view->History(), (std::vector<std::string>{"ICE", "tea"}))
        << "a first entry that differs only in case stays as it is";
    EXPECT_EQ(Caption(), "Ice - Quillon") << "the caption shows the answer as typed";

    // Picking an entry from the drop-down list searches for it.
    SendMessageA(view->AnswerBox(), CB_SETCURSEL, 1, 0);
    SendMessageA(view->Handle(), WM_COMMAND, MAKEWPARAM(IDC_ANSWER, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(view->AnswerBox()));
    PumpMessages(20);
    EXPECT_EQ(Caption(), "tea - Quillon");
    EXPECT_EQ(view->History(), (std::vector<std::string>{"tea", "ICE"}));

    // Moving through the open list searches nothing; the entry it closes on with
    // Enter or a click is searched, and a list closed with Escape searches nothing.
    HWND box = view->AnswerBox();
    const auto notify = [&](int code) {
        SendMessageA(view->Handle(), WM_COMMAND, MAKEWPARAM(IDC_ANSWER, code),
                     reinterpret_cast<LPARAM>(box));
        PumpMessages(10);
    };
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0));
    SendMessageA(box, CB_SETCURSEL, 1, 0);
    notify(CBN_SELCHANGE);
    EXPECT_EQ(Caption(), "tea - Quillon") << "browsing the open list is no pick";
    notify(CBN_SELENDCANCEL);
    SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
    PumpMessages(10);
    EXPECT_EQ(Caption(), "tea - Quillon") << "Escape picks nothing";
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(box, CB_SETCURSEL, 1, 0);
    notify(CBN_SELCHANGE);
    notify(CBN_SELENDOK);
    EXPECT_EQ(Caption(), "ICE - Quillon") << "the entry the list closes on is searched";
    SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
    PumpMessages(10);
    EXPECT_EQ(view->History(), (std::vector<std::string>{"ICE", "tea"}));
}

TEST_F(ResultsView, CopyTakesTheTokenOrAllSelectedRows) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    ASSERT_GE(view->Rows().size(), 2u);
    SetClipboardText("unchanged");

    ASSERT_TRUE(Enabled(CM_EDITCOPY));
    Command(CM_EDITCOPY);
    EXPECT_EQ(ClipboardText(), view->Token().text) << "one row with a token: the token alone";

    Command(CM_EDITSELECTALL);
    EXPECT_EQ(SelectedCount(), static_cast<int>(view->Rows().size()));
    EXPECT_EQ(view->Token().length, 0u) << "Select All clears the token";
    Command(CM_EDITCOPY);
    const std::string all = ClipboardText();
    std::string expected;
    for (std::size_t i = 0; i < view->Rows().size(); ++i) {
        if (i) expected += "\r\n";
        expected += DisplayText(view->Rows()[i], true).text;
    }
    EXPECT_EQ(all, expected);

    // Two rows selected after a token was underlined still copy both rows.
    SelectRow(0);
    {
        CtrlHeld ctrl;
        Key(VK_RIGHT);
    }
    ListView_SetItemState(view->List(), 1, LVIS_SELECTED, LVIS_SELECTED);
    Command(CM_EDITCOPY);
    EXPECT_EQ(ClipboardText(), DisplayText(view->Rows()[0], true).text + "\r\n" +
                                   DisplayText(view->Rows()[1], true).text);

    // With the answer box focused, Copy and Cut act on its text.
    SetFocus(view->AnswerBox());
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(0, 3));
    EXPECT_TRUE(Enabled(CM_EDITCUT));
    Command(CM_EDITCOPY);
    EXPECT_EQ(ClipboardText(), "car");
    EXPECT_EQ(view->GetSelectedWord(), "car");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
    EXPECT_FALSE(Enabled(CM_EDITCUT));
    EXPECT_FALSE(Enabled(CM_EDITCOPY));
    EXPECT_EQ(view->GetSelectedWord(), "carpet");
}

TEST_F(ResultsView, HeaderClicksAndSortCommandsReorderAndKeepTheFocusedRow) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    const auto& rows = view->Rows();
    ASSERT_GE(rows.size(), 3u);
    auto piecesOrdered = [&](bool descending) {
        for (std::size_t i = 1; i < rows.size(); ++i)
            if (descending ? rows[i - 1].pieces < rows[i].pieces
                           : rows[i - 1].pieces > rows[i].pieces)
                return false;
        return true;
    };
    EXPECT_TRUE(piecesOrdered(false));
    SelectRow(2);
    const std::string focused = rows[2].text;

    // A click on the Pieces heading reverses its direction.
    NMLISTVIEW click{};
    click.hdr.hwndFrom = view->List();
    click.hdr.idFrom = IDC_RESULTLIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 1;
    SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_TRUE(TheColumnTable().Descending(1));
    EXPECT_TRUE(piecesOrdered(true));
    const int now = ListView_GetNextItem(view->List(), -1, LVNI_FOCUSED);
    ASSERT_GE(now, 0);
    EXPECT_EQ(rows[static_cast<std::size_t>(now)].text, focused);
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(view->HeaderSortIndicator(1), -1);
    SaveScreenshot(Frame(), "results-pieces-descending");

    // The Wordplay heading reverses both sortable columns.
    click.iSubItem = 0;
    SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_FALSE(TheColumnTable().Descending(1));
    EXPECT_TRUE(TheColumnTable().Descending(2));

    // The header menu's commands act on the position it was opened over.
    auto texts = MenuTexts(ListView_GetHeader(view->List()), HeaderPoint(2), "header-menu");
    EXPECT_EQ(texts, (std::vector<std::string>{"D&emote", "&Promote", "", "&Ascending Sort",
                                               "&Descending Sort"}));
    EXPECT_EQ(view->HeaderMenuPosition(), 2);
    EXPECT_TRUE(Enabled(CM_PROMOTE));
    EXPECT_FALSE(Enabled(CM_DEMOTE));
    fw::CommandEnabler descending(CM_SORTDESCENDING);
    app->Frame()->RouteCommandEnable(descending);
    EXPECT_TRUE(descending.Checked());
    Command(CM_SORTASCENDING);
    EXPECT_FALSE(TheColumnTable().Descending(2));
    Command(CM_PROMOTE);
    EXPECT_EQ(TheColumnTable().Kind(1), ColumnKind::Type);
    EXPECT_EQ(TheColumnTable().Kind(2), ColumnKind::Pieces);
    EXPECT_EQ(view->HeaderTitle(1), "Type");
    EXPECT_EQ(ItemText(0, 1), TypeName(rows[0].type));
    for (std::size_t i = 1; i < rows.size(); ++i)
        ASSERT_LE(rows[i - 1].type, rows[i].type) << "sorted by type first";

    // The Wordplay heading has no menu at all.
    texts = MenuTexts(ListView_GetHeader(view->List()), HeaderPoint(0), "");
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(view->HeaderMenuPosition(), 0);
    EXPECT_FALSE(Enabled(CM_SORTASCENDING));
}

TEST_F(ResultsView, CtrlArrowsWalkTheTokensOfTheSelectedRow) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    // Find a charade of words alone, whose tokens are words and " + ".
    int index = -1;
    for (std::size_t i = 0; i < view->Rows().size(); ++i)
        if (view->Rows()[i].text.find(" + ") != std::string::npos &&
            view->Rows()[i].style.find_first_of("bEs") == std::string::npos) {
            index = static_cast<int>(i);
            break;
        }
    ASSERT_GE(index, 0) << "carpet has charades";
    SelectRow(index);
    Key(VK_HOME);
    Key(VK_DOWN);
    Key(VK_UP);
    ASSERT_EQ(ListView_GetNextItem(view->List(), -1, LVNI_SELECTED), 0)
        << "Home moves the selection";
    SelectRow(index);
    const std::string text = view->Rows()[static_cast<std::size_t>(index)].text;

    std::vector<std::string> walked;
    {
        CtrlHeld ctrl;
        Key(VK_LEFT); // from the first token: cleared
        EXPECT_EQ(view->Token().length, 0u);
        for (int i = 0; i < 12; ++i) {
            Key(VK_RIGHT);
            if (view->Token().length == 0) break;
            walked.push_back(view->Token().text);
        }
        EXPECT_EQ(ListView_GetNextItem(view->List(), -1, LVNI_SELECTED), index)
            << "the selected row never changes";
        EXPECT_EQ(view->Token().length, 0u) << "past the last token the token is cleared";
        Key(VK_LEFT);
        ASSERT_FALSE(walked.empty());
        EXPECT_EQ(view->Token().text, walked.back()) << "from no token, Ctrl+Left takes the last";
        Key(VK_RIGHT);
        Key(VK_RIGHT);
        EXPECT_EQ(view->Token().text, walked.front()) << "and Ctrl+Right starts over";
    }
    std::string joined;
    for (const auto& t : walked)
        joined += t == "+" ? " + " : t;
    EXPECT_EQ(joined, text);
    EXPECT_EQ(walked[1], "+");

    {
        CtrlHeld ctrl;
        Key(VK_RIGHT); // "+"
    }
    EXPECT_EQ(view->Token().kind, 0);
    EXPECT_TRUE(Enabled(CM_INDICATORS));
    auto texts = MenuTexts(view->List(), POINT{-1, -1}, "result-menu");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "Charade &Indicators...");
    EXPECT_EQ(texts[1], "&External Lookup");
    EXPECT_EQ(texts[3], "&Copy\tCtrl+C");
    EXPECT_EQ(texts[4], "&Select All\tCtrl+A");
    SaveScreenshot(Frame(), "results-token-underlined");
    Command(CM_INDICATORS);
    ASSERT_TRUE(view->LastIndicatorsRequest());
    EXPECT_EQ(view->LastIndicatorsRequest()->first, 0);

    // A word token: lookup, but no indicators, and the menu item keeps its text.
    {
        CtrlHeld ctrl;
        Key(VK_RIGHT);
    }
    EXPECT_FALSE(Enabled(CM_INDICATORS));
    EXPECT_EQ(view->GetSelectedWord(), walked[2]);
    texts = MenuTexts(view->List(), POINT{-1, -1}, "");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "&Indicators...\tCtrl+Enter");
}

TEST_F(ResultsView, BracketsSettingShowsDeletions) {
    WriteSettingInt("WordplayDisplayBrackets", 1);
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    EXPECT_TRUE(view->Brackets());
    SearchFor("carpet");
    bool bracketed = false;
    for (std::size_t i = 0; i < view->Rows().size() && !bracketed; ++i) {
        if (view->Rows()[i].style.find('E') == std::string::npos) continue;
        const std::string cell = ItemText(static_cast<int>(i), 0);
        EXPECT_NE(cell.find('('), std::string::npos) << cell;
        ListView_EnsureVisible(view->List(), static_cast<int>(i), FALSE);
        bracketed = true;
    }
    EXPECT_TRUE(bracketed) << "carpet has deletions";
    PumpMessages(20);
    SaveScreenshot(Frame(), "results-brackets");
}

TEST_F(ResultsView, SettingsAreWrittenOnCloseAndReadOnStart) {
    WriteSettingInt("WordplayColumnUsage0", 0);
    WriteSettingInt("WordplayColumnUsage1", 2);
    WriteSettingInt("WordplayColumnUsage2", 1);
    WriteSettingInt("WordplayColumnDescending2", 1);
    WriteSettingInt("WordplayColumnWidth1", 77);
    WriteSettingInt("WordplayColumnWidth2", 0);
    Start();
    EXPECT_EQ(TheColumnTable().Kind(1), ColumnKind::Type);
    EXPECT_TRUE(TheColumnTable().Descending(2));
    EXPECT_EQ(ListView_GetColumnWidth(view->List(), 1), 77);
    EXPECT_EQ(ListView_GetColumnWidth(view->List(), 2), GetSystemMetrics(SM_CXSCREEN) / 5)
        << "a stored width of 0 falls back to the default";

    ListView_SetColumnWidth(view->List(), 0, 321);
    TheColumnTable().ToggleDirection(1);
    SendMessageA(Frame(), WM_CLOSE, 0, 0);
    PumpMessages(20);
    EXPECT_EQ(ReadSettingInt("WordplayColumnWidth0", -1), 321);
    EXPECT_EQ(ReadSettingInt("WordplayColumnUsage1", -1), 2);
    EXPECT_EQ(ReadSettingInt("WordplayColumnDescending1", -1), 1);
    EXPECT_EQ(ReadSettingInt("WordplayColumnDescending2", -1), 1);
    const int units = ReadSettingInt("MarginUnits", -1);
    EXPECT_TRUE(units == 4 || units == 8);
    EXPECT_EQ(ReadSettingInt("LeftMargin", -1), units == 4 ? 1000 : 2540);
}

TEST_F(ResultsView, ColumnOrderThatIsNotAPermutationFallsBack) {
    WriteSettingInt("WordplayColumnUsage0", 0);
    WriteSettingInt("WordplayColumnUsage1", 0);
    WriteSettingInt("WordplayColumnUsage2", 2);
    WriteSettingInt("WordplayColumnDescending1", 1);
    Start();
    EXPECT_EQ(TheColumnTable(), ColumnTable());
    EXPECT_EQ(view->HeaderTitle(0), "Wordplay");
    EXPECT_EQ(view->HeaderTitle(1), "Pieces");
    EXPECT_EQ(view->HeaderTitle(2), "Type");
}

} // namespace

namespace {

TEST_F(ResultsView, PointingPicksTokensAndCutOffCellsGetATooltip) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    int index = -1;
    for (std::size_t i = 0; i < view->Rows().size(); ++i)
        if (view->Rows()[i].text.rfind("car + ", 0) == 0) index = static_cast<int>(i);
    ASSERT_GE(index, 0);
    SelectRow(index);
    RECT r{};
    ListView_GetItemRect(view->List(), index, &r, LVIR_BOUNDS);
    const int y = (r.top + r.bottom) / 2;
    // x is measured from the row's left edge, 2 pixels in, run by run.
    const int car = view->TextWidth("car");
    const int blank = view->TextWidth(" ");
    view->HitTestToken(POINT{r.left + 2 + car + blank + 1, y});
    EXPECT_EQ(view->Token().text, "+");
    EXPECT_EQ(view->Token().kind, 0);
    view->HitTestToken(POINT{r.left + 2 + car + 1, y});
    EXPECT_EQ(view->Token().length, 0u) << "the blank of \" + \" is no token";
    view->HitTestToken(POINT{r.left + 3, y});
    EXPECT_EQ(view->Token().text, "car");

    // A double-click on an abbreviation asks for its filtered Indicators window.
    int abbreviated = -1;
    for (std::size_t i = 0; i < view->Rows().size() && abbreviated < 0; ++i)
        if (view->Rows()[i].style[0] == 'b') abbreviated = static_cast<int>(i);
    ASSERT_GE(abbreviated, 0) << "carpet has wordplay that starts with an abbreviation";
    SelectRow(abbreviated);
    ListView_GetItemRect(view->List(), abbreviated, &r, LVIR_BOUNDS);
    view->HitTestToken(POINT{r.left + 3, (r.top + r.bottom) / 2});
    ASSERT_EQ(view->Token().style, 'b');
    NMHDR doubleClick{view->List(), IDC_RESULTLIST, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&doubleClick));
    ASSERT_TRUE(view->LastIndicatorsRequest());
    EXPECT_EQ(*view->LastIndicatorsRequest(), std::make_pair(5, view->Token().text));
    SelectRow(index);

    // The Type cell of a narrow column gets its text as a tooltip; a cell that fits none.
    ListView_SetColumnWidth(view->List(), 2, 20);
    const int typeX =
        ListView_GetColumnWidth(view->List(), 0) + ListView_GetColumnWidth(view->List(), 1) + 5;
    SendMessageA(view->List(), WM_MOUSEMOVE, 0, MAKELPARAM(r.left + typeX, y));
    EXPECT_EQ(view->ToolTipText(), "Charade");
    SendMessageA(view->List(), WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 3, y));
    EXPECT_EQ(view->ToolTipText(), "");
    SendMessageA(view->List(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(r.left + ListView_GetColumnWidth(view->List(), 0) + 3, y));
    EXPECT_EQ(view->PointingCursor(), nullptr) << "only the wordplay column has tokens";
    SendMessageA(view->List(), WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 2 + car + blank + 1, y));
    EXPECT_NE(view->PointingCursor(), nullptr) << "\"+\" offers the Charade indicators";
}

TEST_F(ResultsView, AcceleratorsReachTheViewBeforeTheList) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    CtrlHeld ctrl;
    MSG msg{view->List(), WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_TRUE(view->PreTranslateMessage(msg));
    PumpMessages(10);
    EXPECT_EQ(SelectedCount(), static_cast<int>(view->Rows().size()));
    MSG f5{view->List(), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(view->PreTranslateMessage(f5)) << "F5 is taken for window switching";
    MSG plain{view->List(), WM_CHAR, 'x', 0, 0, {}};
    EXPECT_FALSE(view->PreTranslateMessage(plain));
}

TEST_F(ResultsView, EnterInTheAnswerBoxPressesStart) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    HWND edit = GetWindow(view->AnswerBox(), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    SetWindowTextA(view->AnswerBox(), "tea");
    MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_FALSE(view->PreTranslateMessage(enter)) << "plain Enter is no accelerator";
    EXPECT_TRUE(IsDialogMessageA(view->Handle(), &enter));
    PumpMessages(30);
    EXPECT_EQ(Caption(), "tea - Quillon");
    EXPECT_FALSE(view->Rows().empty());
}

} // namespace

namespace {

// Everything a program writes to its standard output, or nothing when it
// cannot be started.
std::optional<std::string> RunAndRead(const std::string& commandLine) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return std::nullopt;
    fw::KernelHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return std::nullopt;
    fw::KernelHandle process(pi.hProcess), thread(pi.hThread);
    writer.Reset();
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    WaitForSingleObject(pi.hProcess, 60000);
    return output;
}

TEST_F(ResultsView, ListMatchesTheCommandLineSearch) {
    const std::string program = DistDirectory() + "quillon-cmd.exe";
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "quillon-cmd.exe is not in the runnable folder";
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    const auto output = RunAndRead("\"" + program + "\" search --format tsv carpet");
    ASSERT_TRUE(output);
    std::vector<std::string> expected;
    std::size_t from = 0;
    while (from < output->size()) {
        std::size_t end = output->find('\n', from);
        if (end == std::string::npos) end = output->size();
        std::string line = output->substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) expected.push_back(line);
        from = end + 1;
    }
    std::vector<std::string> shown;
    for (int i = 0; i < ListView_GetItemCount(view->List()); ++i)
        shown.push_back(ItemText(i, 0) + "\t" + ItemText(i, 1) + "\t" + ItemText(i, 2));
    EXPECT_EQ(shown, expected);
}

} // namespace

namespace {

void WriteSettingText(const char* name, const std::string& text) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(raw, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(raw);
}

class ResultsViewInput : public ResultsView {
protected:
    // Where the context menu opened, or {-1,-1} when none did.
    POINT MenuOrigin(HWND control, POINT screen) {
        POINT origin{-1, -1};
        callback.Post(
            [&] {
                if (HWND popup = FindWindowA("#32768", nullptr)) {
                    RECT r{};
                    GetWindowRect(popup, &r);
                    origin = {r.left, r.top};
                }
                EndMenu();
            },
            8);
        SendMessageA(view->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                     MAKELPARAM(screen.x, screen.y));
        PumpMessages(20);
        return origin;
    }
};

TEST_F(ResultsViewInput, KeyboardMenuOpensUnderTheFirstSelectedRow) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    SelectRow(3);
    RECT r{};
    ListView_GetItemRect(view->List(), 3, &r, LVIR_BOUNDS);
    POINT expected{r.left, r.bottom};
    ClientToScreen(view->List(), &expected);
    EXPECT_EQ(MenuOrigin(view->List(), POINT{-1, -1}).x, expected.x);
    EXPECT_EQ(MenuOrigin(view->List(), POINT{-1, -1}).y, expected.y);

    ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED);
    POINT origin{0, 0};
    ClientToScreen(view->List(), &origin);
    const POINT at = MenuOrigin(view->List(), POINT{-1, -1});
    EXPECT_EQ(at.x, origin.x);
    EXPECT_EQ(at.y, origin.y);

    // A right-click inside the list opens the menu at the pointer.
    POINT pointer{origin.x + 40, origin.y + 60};
    const POINT clicked = MenuOrigin(view->List(), pointer);
    EXPECT_EQ(clicked.x, pointer.x);
    EXPECT_EQ(clicked.y, pointer.y);
}

TEST_F(ResultsViewInput, MovementKeysPickTheFirstTokenAndSideKeysKeepIt) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    SelectRow(0);
    {
        CtrlHeld ctrl;
        Key(VK_RIGHT);
    }
    const auto token = view->Token();
    ASSERT_GT(token.start, 0u);
    Key(VK_RIGHT);
    EXPECT_EQ(view->Token(), token) << "Right alone leaves the token";
    Key(VK_LEFT);
    EXPECT_EQ(view->Token(), token) << "Left alone leaves the token";
    Key(VK_NEXT);
    const int now = ListView_GetNextItem(view->List(), -1, LVNI_SELECTED);
    ASSERT_GT(now, 0);
    EXPECT_EQ(view->Token().start, 0u);
    EXPECT_EQ(
        view->Token().length,
        RunLengthFrom(DisplayText(view->Rows()[static_cast<std::size_t>(now)], false).style, 0));

    // With two rows selected the keys leave no token and Ctrl+Right does nothing.
    ListView_SetItemState(view->List(), 0, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(SelectedCount(), 2);
    {
        CtrlHeld ctrl;
        Key(VK_RIGHT);
        EXPECT_EQ(view->Token().start, 0u);
        EXPECT_EQ(SelectedCount(), 2);
    }
    // Shift+Down extends the selection; the token is cleared.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Key(VK_DOWN);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_GE(SelectedCount(), 2);
    EXPECT_EQ(view->Token().length, 0u);
}

TEST_F(ResultsViewInput, PasteAndCutGoToTheAnswerBoxOnly) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    ASSERT_EQ(GetFocus(), view->List());
    EXPECT_FALSE(Enabled(CM_EDITPASTE));
    EXPECT_FALSE(Enabled(CM_EDITCUT));
    SetFocus(view->AnswerBox());
    EXPECT_TRUE(Enabled(CM_EDITPASTE));
    SetClipboardText("rug");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Command(CM_EDITPASTE);
    char text[64] = {};
    GetWindowTextA(view->AnswerBox(), text, sizeof text);
    EXPECT_STREQ(text, "rug");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
    Command(CM_EDITCUT);
    GetWindowTextA(view->AnswerBox(), text, sizeof text);
    EXPECT_STREQ(text, "r");
    EXPECT_EQ(ClipboardText(), "ug");
    SetWindowTextA(view->AnswerBox(), "carpet");
    Command(CM_EDITSELECTALL);
    DWORD from = 0, to = 0;
    SendMessageA(view->AnswerBox(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 6u);
    EXPECT_EQ(SelectedCount(), 1) << "Select All in the box leaves the rows alone";
}

TEST_F(ResultsViewInput, DemoteAndDoubleClicks) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    const auto& rows = view->Rows();
    SelectRow(5);
    const std::string focused = rows[5].text;
    auto texts = MenuTexts(ListView_GetHeader(view->List()), HeaderPoint(1), "");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(view->HeaderMenuPosition(), 1);
    EXPECT_TRUE(Enabled(CM_DEMOTE));
    EXPECT_FALSE(Enabled(CM_PROMOTE));
    fw::CommandEnabler ascending(CM_SORTASCENDING);
    app->Frame()->RouteCommandEnable(ascending);
    EXPECT_TRUE(ascending.Checked());
    Command(CM_DEMOTE);
    EXPECT_EQ(TheColumnTable().Kind(1), ColumnKind::Type);
    const int now = ListView_GetNextItem(view->List(), -1, LVNI_FOCUSED);
    ASSERT_GE(now, 0);
    EXPECT_EQ(rows[static_cast<std::size_t>(now)].text, focused);
    Command(CM_SORTDESCENDING);
    EXPECT_TRUE(TheColumnTable().Descending(1));
    EXPECT_FALSE(TheColumnTable().Descending(2));

    // A double-click on a word opens nothing; on a symbol the indicators of its kind.
    int charade = -1;
    for (std::size_t i = 0; i < rows.size() && charade < 0; ++i)
        if (rows[i].text.find(" + ") != std::string::npos &&
            rows[i].style.find_first_of("bEs") == std::string::npos)
            charade = static_cast<int>(i);
    ASSERT_GE(charade, 0);
    const WordplayRow& row = rows[static_cast<std::size_t>(charade)];
    const std::string firstWord = row.text.substr(0, RunLengthFrom(row.style, 0));
    SelectRow(charade);
    RECT r{};
    ListView_GetItemRect(view->List(), charade, &r, LVIR_BOUNDS);
    view->HitTestToken(POINT{r.left + 3, (r.top + r.bottom) / 2});
    ASSERT_EQ(view->Token().text, firstWord);
    NMHDR doubleClick{view->List(), IDC_RESULTLIST, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&doubleClick));
    EXPECT_FALSE(view->LastIndicatorsRequest());
    {
        CtrlHeld ctrl;
        Key(VK_RIGHT);
    }
    ASSERT_EQ(view->Token().style, 'n');
    const int kind = view->Token().kind;
    ASSERT_LE(kind, 3);
    EXPECT_FALSE(Enabled(CM_LOOKUPWORD)) << "a symbol is nothing to look up";
    ListView_SetItemState(view->List(), 0, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&doubleClick));
    EXPECT_FALSE(view->LastIndicatorsRequest()) << "two rows selected";
    SelectRow(charade);
    SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&doubleClick));
    ASSERT_TRUE(view->LastIndicatorsRequest());
    EXPECT_EQ(*view->LastIndicatorsRequest(), std::make_pair(kind, std::string()));
}

TEST_F(ResultsViewInput, ViewSettingsAreReadAtSetUp) {
    WriteSettingInt("WordplayMaxPieces", 3);
    WriteSettingText("WordplayWordplayBackgroundColor", "0,0,64");
    WriteSettingText("WordplayWordplayFont", "0,0,0,-20,0,0,0,700,0,0,0,0,3,2,1,49,Courier New");
    WriteSettingText("WordplayWordplayNotationColor", "");
    WriteSettingInt("MarginUnits", 4);
    WriteSettingInt("LeftMargin", 500);
    WriteSettingInt("BottomMargin", 750);
    Start();
    EXPECT_EQ(view->MaxPieces(), 3);
    EXPECT_EQ(ListView_GetBkColor(view->List()), RGB(0, 0, 64));
    EXPECT_EQ(view->RowHeight() > 20, true);
    SendMessageA(Frame(), WM_CLOSE, 0, 0);
    PumpMessages(20);
    EXPECT_EQ(ReadSettingInt("MarginUnits", -1), 4);
    EXPECT_EQ(ReadSettingInt("LeftMargin", -1), 500);
    EXPECT_EQ(ReadSettingInt("BottomMargin", -1), 750);
    EXPECT_EQ(ReadSettingInt("TopMargin", -1), 1000);
    EXPECT_EQ(ReadSettingInt("WordplayMaxPieces", -1), 3) << "not rewritten";
}

} // namespace

namespace {

TEST_F(ResultsViewInput, PointingCursorStaysOffTheHeader) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    int index = -1;
    for (std::size_t i = 0; i < view->Rows().size() && index < 0; ++i)
        if (view->Rows()[i].text.rfind("car + ", 0) == 0) index = static_cast<int>(i);
    ASSERT_GE(index, 0);
    RECT r{};
    ListView_GetItemRect(view->List(), index, &r, LVIR_BOUNDS);
    const int x = r.left + 2 + view->TextWidth("car") + view->TextWidth(" ") + 1;
    SendMessageA(view->List(), WM_MOUSEMOVE, 0, MAKELPARAM(x, (r.top + r.bottom) / 2));
    const HCURSOR pointing = view->PointingCursor();
    ASSERT_NE(pointing, nullptr);

    // The header asks its parent, the list, for its cursor first; the last
    // mouse move over the rows says nothing about the header.
    HWND header = ListView_GetHeader(view->List());
    SendMessageA(view->List(), WM_SETCURSOR, reinterpret_cast<WPARAM>(header),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), pointing);
    SendMessageA(view->List(), WM_SETCURSOR, reinterpret_cast<WPARAM>(view->List()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), pointing) << "over the token itself the hand stays";
}

} // namespace

namespace {

TEST_F(ResultsViewInput, ResortTakesTheTokenFromTheRowItSelects) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    const auto& rows = view->Rows();
    ASSERT_GE(rows.size(), 6u);
    SelectRow(1);
    {
        CtrlHeld ctrl;
        Key(VK_RIGHT);
    }
    ASSERT_GT(view->Token().length, 0u);
    // The focus moves on to row 5 while row 1 stays the selected one.
    ListView_SetItemState(view->List(), 5, LVIS_FOCUSED, LVIS_FOCUSED);
    const std::string focused = rows[5].text;
    NMLISTVIEW click{};
    click.hdr.hwndFrom = view->List();
    click.hdr.idFrom = IDC_RESULTLIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 2;
    SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&click));
    const int now = ListView_GetNextItem(view->List(), -1, LVNI_SELECTED);
    ASSERT_GE(now, 0);
    ASSERT_EQ(rows[static_cast<std::size_t>(now)].text, focused);
    ASSERT_EQ(SelectedCount(), 1);
    // The token is one of the selected row's own: its first.
    const DisplayedText shown = DisplayText(rows[static_cast<std::size_t>(now)], false);
    EXPECT_EQ(view->Token().start, 0u);
    EXPECT_EQ(view->Token().length, RunLengthFrom(shown.style, 0));
}

} // namespace

namespace {

TEST_F(ResultsViewInput, FocusComesBackToTheListAfterAnotherWindow) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    ASSERT_EQ(GetFocus(), view->List());
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(other);
    SetFocus(other);
    PumpMessages(10);
    SetActiveWindow(Frame());
    PumpMessages(10);
    EXPECT_EQ(GetFocus(), view->List());

    SetFocus(view->AnswerBox());
    SetActiveWindow(other);
    PumpMessages(10);
    SetActiveWindow(Frame());
    PumpMessages(10);
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == view->AnswerBox() || IsChild(view->AnswerBox(), focus));
    DestroyWindow(other);
}

} // namespace

namespace {

TEST_F(ResultsViewInput, CutOffCellShowsItsTextInATooltip) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("carpet");
    int index = -1;
    for (std::size_t i = 0; i < view->Rows().size() && index < 0; ++i)
        if (view->TextWidth(view->Rows()[i].text) > ListView_GetColumnWidth(view->List(), 0))
            index = static_cast<int>(i);
    ASSERT_GE(index, 0) << "carpet has wordplay wider than the column";
    ListView_EnsureVisible(view->List(), index, FALSE);
    RECT r{};
    ListView_GetItemRect(view->List(), index, &r, LVIR_BOUNDS);
    POINT p{r.left + 20, (r.top + r.bottom) / 2};
    ClientToScreen(view->List(), &p);
    SetCursorPos(p.x - 3, p.y);
    PumpMessages(50);
    SetCursorPos(p.x, p.y);
    PumpMessages(1200);
    EXPECT_EQ(view->ToolTipText(), view->Rows()[static_cast<std::size_t>(index)].text);
    EXPECT_TRUE(IsWindowVisible(view->ToolTip())) << "the tip shows the whole text";
    SaveScreenshot(Frame(), "results-cell-tooltip");
}

} // namespace

namespace {

TEST_F(ResultsViewInput, AbbreviationTokenNamesItselfInTheMenuAndCtrlEnterOpensIt) {
    WriteSettingInt("WordplayColumnWidth0", GetSystemMetrics(SM_CXSCREEN));
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    EXPECT_EQ(ListView_GetColumnWidth(view->List(), 0), GetSystemMetrics(SM_CXSCREEN) / 5)
        << "a width as wide as the screen falls back to the default";
    SearchFor("carpet");
    int index = -1;
    for (std::size_t i = 0; i < view->Rows().size() && index < 0; ++i)
        if (view->Rows()[i].style[0] == 'b') index = static_cast<int>(i);
    ASSERT_GE(index, 0);
    SelectRow(index);
    RECT r{};
    ListView_GetItemRect(view->List(), index, &r, LVIR_BOUNDS);
    view->HitTestToken(POINT{r.left + 3, (r.top + r.bottom) / 2});
    const std::string abbreviation = view->Token().text;
    ASSERT_EQ(view->Token().style, 'b');
    auto texts = MenuTexts(view->List(), POINT{-1, -1}, "");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "\"" + abbreviation + "\" &Indicators...");

    CtrlHeld ctrl;
    MSG enter{view->List(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(view->PreTranslateMessage(enter));
    PumpMessages(10);
    ASSERT_TRUE(view->LastIndicatorsRequest());
    EXPECT_EQ(*view->LastIndicatorsRequest(), std::make_pair(5, abbreviation));
}

} // namespace

namespace {

TEST_F(ResultsViewInput, PickingFromTheHistoryWithTheMouseSearchesAndFocusesTheList) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << "no default dictionary";
    SearchFor("tea");
    SearchFor("carpet");
    HWND box = view->AnswerBox();
    SetFocus(box);
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    PumpMessages(20);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(box, &info));
    RECT item{};
    SendMessageA(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(info.hwndList, &p);
    SetCursorPos(p.x, p.y);
    PumpMessages(30);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    PumpMessages(300);
    EXPECT_EQ(Caption(), "tea - Quillon");
    EXPECT_FALSE(view->Rows().empty());
    EXPECT_EQ(GetFocus(), view->List()) << "the results take the focus, as after Start";
    char text[64] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "tea");
}

} // namespace

namespace {

TEST_F(ResultsViewInput, AnswerTextTakesTheAnswerFontColour) {
    WriteSettingText("WordplayAnswerFont", "0,128,0,-15,0,0,0,400,0,0,0,0,3,2,1,49,Courier New");
    Start();
    HWND edit = GetWindow(view->AnswerBox(), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    HDC dc = GetDC(edit);
    const LRESULT brush =
        SendMessageA(view->AnswerBox(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(edit));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 128, 0));
    ReleaseDC(edit, dc);
}

} // namespace
