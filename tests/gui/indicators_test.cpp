// The Indicators windows, opened from the tokens of a real search and compared
// with a plain reading of the shipped table files; table files that are odd.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/Persist.h"
#include "resources/resource.h"
#include "results/IndicatorTable.h"
#include "results/Tokens.h"
#include "views/TableViewWindows.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <tuple>
#include <utility>

namespace {

using namespace guitest;

// The rows of a shipped table as a plain reading of its lines gives them:
// every line with a tab after the caption and the titles, split at its tabs,
// kept when its key equals filter (or always, with no filter).
Rows ReferenceRows(const std::string& file, const std::string& filter = "") {
    std::ifstream in(DistDirectory() + file, std::ios::binary);
    Rows rows;
    std::string line;
    std::getline(in, line); // caption
    bool titles = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('\t') == std::string::npos) continue;
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        if (std::exchange(titles, false)) continue;
        if (filter.empty() || fields[0] == filter) rows.push_back(fields);
    }
    return rows;
}

std::vector<std::string> Headings(HWND list, int columns) {
    std::vector<std::string> titles;
    for (int i = 0; i < columns; ++i) {
        char text[256] = {};
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT;
        c.pszText = text;
        c.cchTextMax = sizeof text;
        ListView_GetColumn(list, i, &c);
        titles.push_back(text);
    }
    return titles;
}

std::string Caption(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void Click(HWND window, int x, int y) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages(10);
}

void ClickHeading(HWND list, int column) {
    RECT r{};
    Header_GetItemRect(ListView_GetHeader(list), column, &r);
    Click(ListView_GetHeader(list), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class Indicators : public AppTest<> {
protected:
    void TearDown() override { Quit(); }

    // Closes the program as the user does, so that it saves its settings.
    void Quit() {
        if (Frame() && IsWindow(Frame())) SendMessageA(Frame(), WM_CLOSE, 0, 0);
        Stop();
    }
    // Starts the program and searches for answer; false without a dictionary.
    bool StartAndSearch(const std::string& answer) {
        Start();
        return !HasFatalFailure() && Search(answer) && !view->Rows().empty();
    }
    // A key pressed where the keyboard focus is, through the program's own loop.
    void Press(UINT vk) {
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        PostMessageA(focus, WM_KEYDOWN, vk, 0);
        PostMessageA(focus, WM_KEYUP, vk, 0);
        app->PumpWaitingMessages();
        PumpMessages(20);
    }
    void CtrlEnter() {
        HoldKeys({VK_CONTROL, VK_LCONTROL}, true);
        Press(VK_RETURN);
        HoldKeys({VK_CONTROL, VK_LCONTROL}, false);
    }
    // Walks the tokens of the rows with Ctrl+Right until one satisfies
    // wanted; false when no row has one.
    bool PointAt(const std::function<bool(const WordplayRowContext&)>& wanted) {
        SetFocus(view->List());
        HoldKeys({VK_CONTROL, VK_LCONTROL}, true);
        bool found = false;
        for (std::size_t row = 0; row < view->Rows().size() && !found; ++row) {
            const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
            ListView_SetItemState(view->List(), -1, 0, state);
            ListView_SetItemState(view->List(), static_cast<int>(row), state, state);
            view->HitTestToken(POINT{-100, -100}); // no token: the walk starts at the first
            for (int step = 0; step < 24 && !found; ++step) {
                SendMessageA(view->List(), WM_KEYDOWN, VK_RIGHT, 0);
                if (view->Token().length == 0) break;
                found = wanted(view->Token());
            }
        }
        HoldKeys({VK_CONTROL, VK_LCONTROL}, false);
        return found;
    }
    bool PointAtSymbol(int kind) {
        return PointAt([kind](const WordplayRowContext& t) {
            return t.style == StyleLetter::Notation && t.kind == kind;
        });
    }
    // The window of kind while it is on the screen, else null.
    TableViewWindows* Shown(int kind) const {
        TableViewWindows* table = view->IndicatorsWindow(kind);
        return table && table->Handle() && IsWindowVisible(table->Handle()) ? table : nullptr;
    }
    // Shown(kind), also checked to be the window the user is working in.
    TableViewWindows* InFront(int kind) const {
        TableViewWindows* table = Shown(kind);
        return table && GetActiveWindow() == table->Handle() ? table : nullptr;
    }
    std::vector<HWND> StackingOrder() const {
        std::vector<HWND> order;
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
            for (int kind = 0; kind < IndicatorKind::Count; ++kind)
                if (Shown(kind) && Shown(kind)->Handle() == w) order.push_back(w);
        return order;
    }
    HWND Handle(int kind) const { return view->IndicatorsWindow(kind)->Handle(); }
};

TEST_F(Indicators, AnAbbreviationsRowsThenClosingHidesAndReopeningKeepsWidthsAndSort) {
    if (!StartAndSearch("CARPET")) GTEST_SKIP() << kNoDictionary;
    // The mouse points at the abbreviation with the most meanings that starts its row.
    int index = -1;
    std::size_t meanings = 0;
    for (std::size_t i = 0; i < view->Rows().size(); ++i) {
        const WordplayRow& row = view->Rows()[i];
        if (row.style[0] != 'b') continue;
        const std::string key = row.text.substr(0, RunLengthFrom(row.style, 0));
        if (const std::size_t n = ReferenceRows("Abbreviation.txt", key).size(); n > meanings) {
            meanings = n;
            index = static_cast<int>(i);
        }
    }
    ASSERT_GE(index, 0) << "CARPET has wordplay that starts with an abbreviation";
    ListView_EnsureVisible(view->List(), index, FALSE);
    RECT r{};
    ListView_GetItemRect(view->List(), index, &r, LVIR_BOUNDS);
    Click(view->List(), r.left + 3, (r.top + r.bottom) / 2);
    ASSERT_EQ(view->Token().style, 'b');
    const std::string first = view->Token().text;
    CtrlEnter();

    TableViewWindows* table = InFront(IndicatorKind::Abbreviation);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Caption(table->Handle()), "Abbreviations");
    EXPECT_EQ(Headings(table->List(), 2), (std::vector<std::string>{"Abbreviation", "Meaning"}));
    EXPECT_EQ(ListRows(table->List(), 2), ReferenceRows("Abbreviation.txt", first))
        << "in the file's order";
    SaveScreenshot(table->Handle(), "indicators-abbreviation");

    const HWND window = table->Handle();
    ListView_SetColumnWidth(table->List(), 0, 123);
    ClickHeading(table->List(), 1);
    ClickHeading(table->List(), 1);
    SetWindowPos(window, nullptr, 40, 50, 500, 300, SWP_NOZORDER);

    SendMessageA(window, WM_CLOSE, 0, 0); // the close box
    PumpMessages(10);
    EXPECT_TRUE(IsWindow(window)) << "closing only hides the window";
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(ReadSettingInt("AbbreviationColumnWidth0", -1), 123);

    // Another abbreviation: the same window, reloaded, widths and order kept.
    ASSERT_TRUE(PointAt([&first](const WordplayRowContext& t) {
        return t.style == 'b' && t.text != first &&
               !ReferenceRows("Abbreviation.txt", t.text).empty();
    }));
    const std::string second = view->Token().text;
    CtrlEnter();
    ASSERT_EQ(InFront(IndicatorKind::Abbreviation), table);
    EXPECT_EQ(table->Handle(), window);
    EXPECT_EQ(ListView_GetColumnWidth(table->List(), 0), 123);
    Rows expected = ReferenceRows("Abbreviation.txt", second);
    std::sort(expected.begin(), expected.end(),
              [](const auto& a, const auto& b) { return a[1] > b[1]; });
    EXPECT_EQ(ListRows(table->List(), 2), expected) << "still by meaning, descending";

    view->OpenIndicators(IndicatorKind::Abbreviation, "");
    EXPECT_EQ(ListRows(table->List(), 2), expected) << "no filter: the contents stay";

    // Escape closes as well; quitting destroys the window.
    SetFocus(table->List());
    Press(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(window));
    view->OpenIndicators(IndicatorKind::Abbreviation, "");
    ListView_SetColumnWidth(table->List(), 1, 210);
    Quit();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ReadSettingInt("AbbreviationColumnWidth1", -1), 210)
        << "a window open at the end keeps its widths too";

    // The next run opens it where it was, with the stored widths.
    Start();
    view->OpenIndicators(IndicatorKind::Abbreviation, "a");
    table = InFront(IndicatorKind::Abbreviation);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(ListView_GetColumnWidth(table->List(), 0), 123);
    EXPECT_EQ(ListView_GetColumnWidth(table->List(), 1), 210);
    GetWindowRect(table->Handle(), &r);
    EXPECT_EQ(std::tuple(r.left, r.top, r.right - r.left), std::tuple(40, 50, 500));
}

TEST_F(Indicators, EachSymbolOpensTheTableOfItsKindAndHeadingsSortIt) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    const struct {
        int kind;
        const char* symbol;
        const char* file;
        const char* caption;
        char menuKey; // 0: Ctrl+Enter
    } cases[] = {
        {IndicatorKind::ContainerAndContents, "in", "Container and Contents.txt",
         "Container and Contents Indicators", 'i'},
        {IndicatorKind::Anagram, "*", "Anagram.txt", "Anagram Indicators", 0},
        {IndicatorKind::Reversal, "<", "Reversal.txt", "Reversal Indicators", 0},
        {IndicatorKind::Charade, "+", "Charade.txt", "Charade Indicators", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        ASSERT_TRUE(PointAtSymbol(c.kind));
        EXPECT_EQ(view->Token().text, c.symbol);
        if (c.menuKey)
            FromResultMenu(c.menuKey);
        else
            CtrlEnter();
        TableViewWindows* table = InFront(c.kind);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(Caption(table->Handle()), c.caption);
        EXPECT_EQ(ListRows(table->List(), 2), ReferenceRows(c.file));
    }
    // Each kind has its own window; Abbreviation was never asked for.
    EXPECT_EQ(StackingOrder().size(), 4u);
    EXPECT_EQ(view->IndicatorsWindow(IndicatorKind::Abbreviation), nullptr);
    EXPECT_EQ(view->IndicatorsWindow(4), nullptr);

    // Heading clicks sort the Anagram table, ties broken by the first column.
    view->OpenIndicators(IndicatorKind::Anagram, "");
    TableViewWindows* table = InFront(IndicatorKind::Anagram);
    ASSERT_NE(table, nullptr);
    Rows reference = ReferenceRows("Anagram.txt");
    ASSERT_GT(reference.size(), 600u);

    ClickHeading(table->List(), 1);
    std::sort(reference.begin(), reference.end(), [](const auto& a, const auto& b) {
        return std::tie(a[1], a[0]) < std::tie(b[1], b[0]);
    });
    EXPECT_EQ(ListRows(table->List(), 2), reference) << "by sense, then by indicator";
    EXPECT_EQ(table->HeaderSortIndicator(1), 1);
    ListView_EnsureVisible(table->List(), 0, FALSE);
    SaveScreenshot(table->Handle(), "indicators-anagram");

    ClickHeading(table->List(), 1);
    std::reverse(reference.begin(), reference.end());
    EXPECT_EQ(ListRows(table->List(), 2), reference) << "the same heading again reverses";
    EXPECT_EQ(table->HeaderSortIndicator(1), -1);

    ClickHeading(table->List(), 0);
    std::sort(reference.begin(), reference.end());
    EXPECT_EQ(ListRows(table->List(), 2), reference) << "another heading sorts ascending";
    EXPECT_EQ(table->HeaderSortIndicator(1), 0);
}

TEST_F(Indicators, F6CyclesTheOpenTablesAndF5GoesBackAndForth) {
    Start();
    for (int kind : {IndicatorKind::Charade, IndicatorKind::Reversal, IndicatorKind::Anagram})
        view->OpenIndicators(kind, "");
    const HWND charade = Handle(IndicatorKind::Charade);
    const HWND reversal = Handle(IndicatorKind::Reversal);
    const HWND anagram = Handle(IndicatorKind::Anagram);
    using Order = std::vector<HWND>;
    ASSERT_EQ(StackingOrder(), (Order{anagram, reversal, charade}));
    ASSERT_EQ(GetActiveWindow(), anagram);

    Press(VK_F6);
    EXPECT_EQ(StackingOrder(), (Order{reversal, charade, anagram}));
    EXPECT_EQ(GetActiveWindow(), reversal);
    Press(VK_F6);
    EXPECT_EQ(StackingOrder(), (Order{charade, anagram, reversal}));
    EXPECT_EQ(GetActiveWindow(), charade);
    EXPECT_TRUE(IsChild(charade, GetFocus())) << "the keyboard goes with it";

    // F5 goes back to the results, where the user left the focus, then to
    // the topmost table.
    SetActiveWindow(app->Frame()->Handle());
    SetFocus(view->AnswerBox());
    view->OpenIndicators(IndicatorKind::Charade, "");
    Press(VK_F5);
    EXPECT_EQ(GetActiveWindow(), app->Frame()->Handle());
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == view->AnswerBox() || IsChild(view->AnswerBox(), focus));
    Press(VK_F5);
    EXPECT_EQ(GetActiveWindow(), charade);

    // One table left open: F6 keeps it in front.
    SendMessageA(anagram, WM_CLOSE, 0, 0);
    SendMessageA(reversal, WM_CLOSE, 0, 0);
    SetActiveWindow(charade);
    Press(VK_F6);
    EXPECT_EQ(StackingOrder(), Order{charade});
    EXPECT_EQ(GetActiveWindow(), charade);
    // Closed tables are not in the round and F5 does not bring them back.
    SendMessageA(charade, WM_CLOSE, 0, 0);
    SetActiveWindow(app->Frame()->Handle());
    SetFocus(view->List());
    Press(VK_F5);
    EXPECT_TRUE(StackingOrder().empty());
    EXPECT_EQ(GetActiveWindow(), app->Frame()->Handle());
}

TEST_F(Indicators, ViewTooltipsSurviveHidingAndShowingTheView) {
    Start();
    view->Deactivate();
    EXPECT_FALSE(IsWindowVisible(view->Handle()));
    view->Activate();
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

// Table files of our own in a folder of their own.
class TableFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "quillon-tables\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        DeleteFileA((folder + "Charade.txt").c_str());
        context = std::make_unique<AppContext>("", folder, shell, RegistrySettings());
    }
    void TearDown() override {
        if (table) table->DestroyWindow();
        table.reset();
        DeleteFileA((folder + "Charade.txt").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void Open(const char* contents) {
        if (contents) std::ofstream(folder + "Charade.txt", std::ios::binary) << contents;
        table = std::make_unique<TableViewWindows>(*context, IDS_INDICATORCHARADE, "", nullptr);
        ASSERT_TRUE(table->CreateModeless(nullptr));
        table->Activate();
    }

    RecordingShell shell;
    std::string folder;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<TableViewWindows> table;
};

TEST_F(TableFiles, WithoutTitlesThereAreNoColumnsOrRows) {
    const struct {
        const char* contents; // null: no file
        const char* caption;
    } cases[] = {
        {nullptr, "Charade"}, {"Just words\r\nno tabs\r\n", "Just words"}, {"", "Charade"}};
    for (const auto& c : cases) {
        Open(c.contents);
        EXPECT_EQ(Caption(table->Handle()), c.caption);
        EXPECT_EQ(table->ColumnCount(), 0) << c.caption;
        EXPECT_EQ(ListView_GetItemCount(table->List()), 0) << c.caption;
        table->DestroyWindow();
    }
}

TEST_F(TableFiles, EmptyFieldEndsTheRowAndTiesGoByEveryColumn) {
    Open("Odd\nKey\tA\tB\nnote without tab\nx\t\tlost\ny\tsame\tz\nx\tsame\tz\nx\tsame\ty\n");
    EXPECT_EQ(table->ColumnCount(), 3);
    EXPECT_EQ(ListRows(table->List(), 3),
              (Rows{{"x", "", ""}, {"y", "same", "z"}, {"x", "same", "z"}, {"x", "same", "y"}}));
    ClickHeading(table->List(), 1);
    EXPECT_EQ(ListRows(table->List(), 3),
              (Rows{{"x", "", ""}, {"x", "same", "y"}, {"x", "same", "z"}, {"y", "same", "z"}}));

    table->Load("X");
    EXPECT_EQ(ListView_GetItemCount(table->List()), 0);
    EXPECT_EQ(Headings(table->List(), 3), (std::vector<std::string>{"Key", "A", "B"}))
        << "a filter that matches nothing leaves the columns";

    // A table parsed elsewhere shows the same way.
    table->Load(ParseIndicatorTable("Other\nKey\tA\tB\nb\t2\t\na\t1\n"), "");
    EXPECT_EQ(Caption(table->Handle()), "Other");
    EXPECT_EQ(ListRows(table->List(), 3), (Rows{{"a", "1", ""}, {"b", "2", ""}}));
}

} // namespace
