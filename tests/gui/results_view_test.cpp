// The results view in the real main window: a search fills the owner-drawn
// list with exactly the command line's rows, the answer history, copying to
// the clipboard, sorting from the header and the sort commands, token walking
// with Ctrl+Left and Ctrl+Right, the context menus, and the view's settings
// written on close and read again on start. Screenshots of the main cases
// go to build/screenshots.
#include "GuiTestSupport.h"

#include "app/QuillonAppWindows.h"
#include "context/Persist.h"
#include "resources/resource.h"
#include "results/ColumnTable.h"
#include "results/IndicatorTable.h"
#include "results/ResultsViewState.h"
#include "results/Tokens.h"
#include "views/WordplayViewWindows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

namespace {

using namespace guitest;

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

// The non-empty lines of a program's output, without their CR.
std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

// Holds Ctrl down in the thread's keyboard state (what GetKeyState reads).
class KeyHeld {
public:
    explicit KeyHeld(int vk = VK_CONTROL) : vk_(vk) { Set(0x80); }
    ~KeyHeld() { Set(0); }

private:
    void Set(BYTE state) const {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[vk_] = state;
        if (vk_ == VK_CONTROL) keys[VK_LCONTROL] = state;
        SetKeyboardState(keys);
    }
    int vk_;
};

bool PlainCharade(const WordplayRow& row) {
    return row.text.find(" + ") != std::string::npos &&
           row.style.find_first_of("bEs") == std::string::npos;
}

class ResultsView : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
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
    // Starts the program and searches for answer; false when there is no
    // dictionary to search.
    bool StartAndSearch(const std::string& answer) {
        Start();
        if (HasFatalFailure() || !HaveDictionary()) return false;
        SearchFor(answer);
        return true;
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
    std::string AnswerText() const {
        char text[64] = {};
        GetWindowTextA(view->AnswerBox(), text, sizeof text);
        return text;
    }
    bool AnswerBoxFocused() const {
        HWND focus = GetFocus();
        return focus == view->AnswerBox() || IsChild(view->AnswerBox(), focus);
    }
    std::string Status() const { return app->Frame()->GetStatusBar()->Status(); }
    std::string ItemText(int item, int column) const {
        char text[1000] = {};
        ListView_GetItemText(view->List(), item, column, text, sizeof text);
        return text;
    }
    int SelectedCount() const { return ListView_GetSelectedCount(view->List()); }
    int Next(UINT flags) const { return ListView_GetNextItem(view->List(), -1, flags); }
    const WordplayRow& RowAt(int index) const {
        return view->Rows()[static_cast<std::size_t>(index)];
    }
    // The first row that pred accepts, or -1.
    int FindRow(const std::function<bool(const WordplayRow&)>& pred) const {
        for (std::size_t i = 0; i < view->Rows().size(); ++i)
            if (pred(view->Rows()[i])) return static_cast<int>(i);
        return -1;
    }
    void SelectRow(int index) {
        ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(view->List(), index, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    RECT RowRect(int index) const {
        RECT r{};
        ListView_GetItemRect(view->List(), index, &r, LVIR_BOUNDS);
        return r;
    }
    // Points at the first token of a row, as the mouse does.
    void PointAtRowStart(int index) {
        const RECT r = RowRect(index);
        view->HitTestToken(POINT{r.left + 3, (r.top + r.bottom) / 2});
    }
    // The Indicators window of kind while it is on the screen, else null.
    TableViewWindows* ShownIndicators(int kind) const {
        TableViewWindows* table = view->IndicatorsWindow(kind);
        return table && IsWindowVisible(table->Handle()) ? table : nullptr;
    }
    bool AnyIndicatorsShown() const {
        for (int kind = 0; kind < IndicatorKind::Count; ++kind)
            if (ShownIndicators(kind)) return true;
        return false;
    }
    bool Enabled(UINT id) {
        fw::CommandEnabler ce(id);
        app->Frame()->RouteCommandEnable(ce);
        return ce.Handled() && ce.Enabled();
    }
    bool Checked(UINT id) {
        fw::CommandEnabler ce(id);
        app->Frame()->RouteCommandEnable(ce);
        return ce.Checked();
    }
    void Command(UINT id) {
        SendMessageA(Frame(), WM_COMMAND, id, 0);
        PumpMessages(10);
    }
    void Key(UINT vk) {
        SendMessageA(view->List(), WM_KEYDOWN, vk, 0);
        SendMessageA(view->List(), WM_KEYUP, vk, 0);
    }
    void CtrlKey(UINT vk) {
        KeyHeld ctrl;
        Key(vk);
    }
    void Notify(UINT code) {
        NMHDR hdr{view->List(), IDC_RESULTLIST, code};
        SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&hdr));
    }
    void ClickHeading(int position) {
        NMLISTVIEW click{};
        click.hdr = NMHDR{view->List(), IDC_RESULTLIST, static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iSubItem = position;
        SendMessageA(view->Handle(), WM_NOTIFY, IDC_RESULTLIST, reinterpret_cast<LPARAM>(&click));
    }
    // The text of the focused row, which a re-sort must keep focused.
    void ExpectFocusedRow(const std::string& text) {
        const int now = Next(LVNI_FOCUSED);
        ASSERT_GE(now, 0);
        EXPECT_EQ(RowAt(now).text, text);
    }
    // Opens a context menu as the given request does and hands the open popup
    // to inspect, then closes it.
    void WithContextMenu(HWND control, POINT screen, const std::function<void(HWND)>& inspect) {
        RedrawWindow(Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        callback.Post(
            [&] {
                if (HWND popup = FindWindowA("#32768", nullptr)) inspect(popup);
                EndMenu();
            },
            8);
        SendMessageA(view->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                     MAKELPARAM(screen.x, screen.y));
        PumpMessages(20);
    }
    // The texts of a context menu's items; name is a screenshot taken while it is open.
    std::vector<std::string> MenuTexts(HWND control, POINT screen, const std::string& name) {
        std::vector<std::string> texts;
        WithContextMenu(control, screen, [&](HWND popup) {
            RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            fw::MenuView items(reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)));
            for (int i = 0; i < items.ItemCount(); ++i)
                texts.push_back(items.ItemText(i));
            if (!name.empty()) SaveScreenshot(Frame(), name);
        });
        return texts;
    }
    std::vector<std::string> HeaderMenu(int position, const std::string& name = "") {
        return MenuTexts(ListView_GetHeader(view->List()), HeaderPoint(position), name);
    }
    std::vector<std::string> ResultMenu(const std::string& name = "") {
        return MenuTexts(view->List(), POINT{-1, -1}, name);
    }
    // Where the context menu opened, or {-1,-1} when none did.
    POINT MenuOrigin(POINT screen) {
        POINT origin{-1, -1};
        WithContextMenu(view->List(), screen, [&](HWND popup) {
            RECT r{};
            GetWindowRect(popup, &r);
            origin = {r.left, r.top};
        });
        return origin;
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

std::pair<LONG, LONG> At(POINT p) {
    return {p.x, p.y};
}

TEST_F(ResultsView, StartsEmptyWithTheTemplateLayout) {
    Start();
    EXPECT_EQ(GetParent(view->Handle()), Frame());
    EXPECT_EQ(ListView_GetItemCount(view->List()), 0);
    EXPECT_EQ(Status(), "Press F1 for help");
    EXPECT_EQ(view->MaxPieces(), 4);
    EXPECT_FALSE(view->Brackets());
    // The answer box keeps at most 31 characters.
    SetFocus(view->AnswerBox());
    for (int i = 0; i < 40; ++i)
        SendMessageA(GetWindow(view->AnswerBox(), GW_CHILD), WM_CHAR, 'a', 0);
    EXPECT_EQ(GetWindowTextLengthA(view->AnswerBox()), 31);

    // The list stretches with the window; Start keeps its distance from the right.
    const auto rightMargins = [&] {
        RECT client{}, list{}, start{};
        GetClientRect(view->Handle(), &client);
        GetWindowRect(view->List(), &list);
        GetWindowRect(GetDlgItem(view->Handle(), IDC_START), &start);
        MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&list), 2);
        MapWindowPoints(nullptr, view->Handle(), reinterpret_cast<POINT*>(&start), 2);
        return std::array<LONG, 3>{client.right - list.right, client.right - start.right,
                                   list.bottom};
    };
    const auto before = rightMargins();
    SetWindowPos(Frame(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages(20);
    const auto after = rightMargins();
    EXPECT_EQ(after[0], before[0]) << "list";
    EXPECT_EQ(after[1], before[1]) << "Start";
    EXPECT_GT(after[2], 400);
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

TEST_F(ResultsView, ListMatchesTheCommandLineSearch) {
    const std::string program = DistDirectory() + "quillon-cmd.exe";
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "quillon-cmd.exe is not in the runnable folder";
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    const auto output = RunAndRead("\"" + program + "\" search --format tsv carpet");
    ASSERT_TRUE(output);
    const std::vector<std::string> expected = Lines(*output);
    ASSERT_FALSE(expected.empty());
    // Every cell is supplied on demand, in the command line's order.
    std::vector<std::string> shown;
    for (int i = 0; i < ListView_GetItemCount(view->List()); ++i)
        shown.push_back(ItemText(i, 0) + "\t" + ItemText(i, 1) + "\t" + ItemText(i, 2));
    EXPECT_EQ(shown, expected);

    EXPECT_EQ(Caption(), "carpet - Quillon");
    EXPECT_EQ(Status(), "Press F1 for help");
    // The first row is selected and focused, with its first token chosen.
    EXPECT_EQ(GetFocus(), view->List());
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(Next(LVNI_FOCUSED), 0);
    EXPECT_EQ(view->Token().start, 0u);
    EXPECT_GT(view->Token().length, 0u);
    SaveScreenshot(Frame(), "results-carpet");
}

TEST_F(ResultsView, NoResultsLeavesTheFocusInTheAnswerBox) {
    if (!StartAndSearch("12345")) GTEST_SKIP() << kNoDictionary;
    EXPECT_TRUE(view->Rows().empty());
    EXPECT_EQ(ListView_GetItemCount(view->List()), 0);
    EXPECT_TRUE(AnswerBoxFocused());
    EXPECT_EQ(Status(), "No wordplay was found for the answer");
    EXPECT_EQ(Caption(), "12345 - Quillon");
    SearchFor("");
    EXPECT_TRUE(view->Rows().empty()) << "an empty answer is a search without results";
    EXPECT_EQ(Status(), "No wordplay was found for the answer");
}

TEST_F(ResultsView, EnterInTheAnswerBoxPressesStart) {
    Start();
    if (!HaveDictionary()) GTEST_SKIP() << kNoDictionary;
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

TEST_F(ResultsView, HistoryIsMostRecentFirstAndIgnoresCase) {
    if (!StartAndSearch("ice")) GTEST_SKIP() << kNoDictionary;
    using History = std::vector<std::string>;
    SearchFor("tea");
    EXPECT_EQ(view->History(), (History{"tea", "ice"}));
    SearchFor("tea");
    EXPECT_EQ(view->History(), (History{"tea", "ice"})) << "the first entry is not added twice";
    SearchFor("ICE");
    EXPECT_EQ(view->History(), (History{"ICE", "tea"}))
        << "an older entry gives way to the answer as typed, at the top";
    SearchFor("Ice");
    EXPECT_EQ(view->History(), (History{"ICE", "tea"}))
        << "a first entry that differs only in case stays as it is";
    EXPECT_EQ(Caption(), "Ice - Quillon") << "the caption shows the answer as typed";

    HWND box = view->AnswerBox();
    const auto notify = [&](int code) {
        SendMessageA(view->Handle(), WM_COMMAND, MAKEWPARAM(IDC_ANSWER, code),
                     reinterpret_cast<LPARAM>(box));
        PumpMessages(10);
    };
    // Picking an entry from the closed drop-down list searches for it.
    SendMessageA(box, CB_SETCURSEL, 1, 0);
    notify(CBN_SELCHANGE);
    EXPECT_EQ(Caption(), "tea - Quillon");
    EXPECT_EQ(view->History(), (History{"tea", "ICE"}));

    // Moving through the open list searches nothing; the entry it closes on with
    // Enter or a click is searched, and a list closed with Escape searches nothing.
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
    EXPECT_EQ(view->History(), (History{"ICE", "tea"}));
}

TEST_F(ResultsView, PickingFromTheHistoryWithTheMouseSearchesAndFocusesTheList) {
    if (!StartAndSearch("tea")) GTEST_SKIP() << kNoDictionary;
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
    EXPECT_EQ(AnswerText(), "tea");
}

TEST_F(ResultsView, CopyTakesTheTokenOrAllSelectedRows) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    ASSERT_GE(view->Rows().size(), 2u);
    SetClipboardText("unchanged");

    ASSERT_TRUE(Enabled(CM_EDITCOPY));
    Command(CM_EDITCOPY);
    EXPECT_EQ(ClipboardText(), view->Token().text) << "one row with a token: the token alone";

    Command(CM_EDITSELECTALL);
    EXPECT_EQ(SelectedCount(), static_cast<int>(view->Rows().size()));
    EXPECT_EQ(view->Token().length, 0u) << "Select All clears the token";
    Command(CM_EDITCOPY);
    std::string expected;
    for (std::size_t i = 0; i < view->Rows().size(); ++i)
        expected += (i ? "\r\n" : "") + DisplayText(view->Rows()[i], true).text;
    EXPECT_EQ(ClipboardText(), expected);
}

TEST_F(ResultsView, EditCommandsInTheAnswerBoxActOnItsText) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    ASSERT_EQ(GetFocus(), view->List());
    EXPECT_FALSE(Enabled(CM_EDITPASTE));
    EXPECT_FALSE(Enabled(CM_EDITCUT));
    SetFocus(view->AnswerBox());
    EXPECT_TRUE(Enabled(CM_EDITPASTE));
    SetClipboardText("rug");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Command(CM_EDITPASTE);
    EXPECT_EQ(AnswerText(), "rug");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
    Command(CM_EDITCUT);
    EXPECT_EQ(AnswerText(), "r");
    EXPECT_EQ(ClipboardText(), "ug");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
    EXPECT_FALSE(Enabled(CM_EDITCUT));
    EXPECT_FALSE(Enabled(CM_EDITCOPY)) << "no text selected in the box";
    SetWindowTextA(view->AnswerBox(), "carpet");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(0, 3));
    EXPECT_TRUE(Enabled(CM_EDITCOPY));
    Command(CM_EDITCOPY);
    EXPECT_EQ(ClipboardText(), "car");
    EXPECT_EQ(view->GetSelectedWord(), "car");
    SendMessageA(view->AnswerBox(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
    EXPECT_EQ(view->GetSelectedWord(), "carpet") << "no selection: the whole answer";
    Command(CM_EDITSELECTALL);
    DWORD from = 0, to = 0;
    SendMessageA(view->AnswerBox(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 6u);
    EXPECT_EQ(SelectedCount(), 1) << "Select All in the box leaves the rows alone";
}

TEST_F(ResultsView, AcceleratorsReachTheViewBeforeTheList) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    KeyHeld ctrl;
    MSG selectAll{view->List(), WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_TRUE(view->PreTranslateMessage(selectAll));
    PumpMessages(10);
    EXPECT_EQ(SelectedCount(), static_cast<int>(view->Rows().size()));
    MSG f5{view->List(), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(view->PreTranslateMessage(f5)) << "F5 is taken for window switching";
    MSG plain{view->List(), WM_CHAR, 'x', 0, 0, {}};
    EXPECT_FALSE(view->PreTranslateMessage(plain));
}

TEST_F(ResultsView, HeaderClicksPromoteAndDemoteReorderAndKeepTheFocusedRow) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
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
    ClickHeading(1);
    EXPECT_TRUE(view->Columns().Descending(1));
    EXPECT_TRUE(piecesOrdered(true));
    ExpectFocusedRow(focused);
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(view->HeaderSortIndicator(1), -1);
    SaveScreenshot(Frame(), "results-pieces-descending");

    // The Wordplay heading reverses both sortable columns.
    ClickHeading(0);
    EXPECT_FALSE(view->Columns().Descending(1));
    EXPECT_TRUE(view->Columns().Descending(2));

    // The header menu's commands act on the position it was opened over.
    EXPECT_EQ(HeaderMenu(2, "header-menu"),
              (std::vector<std::string>{"D&emote", "&Promote", "", "&Ascending Sort",
                                        "&Descending Sort"}));
    EXPECT_EQ(view->HeaderMenuPosition(), 2);
    EXPECT_TRUE(Enabled(CM_PROMOTE));
    EXPECT_FALSE(Enabled(CM_DEMOTE));
    EXPECT_TRUE(Checked(CM_SORTDESCENDING));
    Command(CM_SORTASCENDING);
    EXPECT_FALSE(view->Columns().Descending(2));
    Command(CM_PROMOTE);
    EXPECT_EQ(view->Columns().Kind(1), ColumnKind::Type);
    EXPECT_EQ(view->Columns().Kind(2), ColumnKind::Pieces);
    EXPECT_EQ(view->HeaderTitle(1), "Type");
    EXPECT_EQ(ItemText(0, 1), TypeName(rows[0].type));
    for (std::size_t i = 1; i < rows.size(); ++i)
        ASSERT_LE(rows[i - 1].type, rows[i].type) << "sorted by type first";
    // Demote from position 1 puts Pieces back in front and keeps the focused row.
    ASSERT_FALSE(HeaderMenu(1).empty());
    EXPECT_TRUE(Enabled(CM_DEMOTE));
    EXPECT_FALSE(Enabled(CM_PROMOTE));
    EXPECT_TRUE(Checked(CM_SORTASCENDING));
    Command(CM_DEMOTE);
    EXPECT_EQ(view->Columns().Kind(1), ColumnKind::Pieces);
    ExpectFocusedRow(focused);

    // The Wordplay heading has no menu at all.
    EXPECT_TRUE(HeaderMenu(0).empty());
    EXPECT_EQ(view->HeaderMenuPosition(), 0);
    EXPECT_FALSE(Enabled(CM_SORTASCENDING));
}

TEST_F(ResultsView, ResortTakesTheTokenFromTheRowItSelects) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    ASSERT_GE(view->Rows().size(), 6u);
    SelectRow(1);
    CtrlKey(VK_RIGHT);
    ASSERT_GT(view->Token().length, 0u);
    // The focus moves on to row 5 while row 1 stays the selected one.
    ListView_SetItemState(view->List(), 5, LVIS_FOCUSED, LVIS_FOCUSED);
    const std::string focused = RowAt(5).text;
    ClickHeading(2);
    const int now = Next(LVNI_SELECTED);
    ASSERT_GE(now, 0);
    ASSERT_EQ(RowAt(now).text, focused);
    ASSERT_EQ(SelectedCount(), 1);
    // The token is one of the selected row's own: its first.
    EXPECT_EQ(view->Token().start, 0u);
    EXPECT_EQ(view->Token().length, RunLengthFrom(DisplayText(RowAt(now), false).style, 0));
}

TEST_F(ResultsView, CtrlArrowsWalkTheTokensOfTheSelectedRow) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    const int index = FindRow(PlainCharade);
    ASSERT_GE(index, 0) << "carpet has charades of words alone";
    SelectRow(index);
    Key(VK_HOME);
    Key(VK_DOWN);
    Key(VK_UP);
    ASSERT_EQ(Next(LVNI_SELECTED), 0) << "Home moves the selection";
    SelectRow(index);

    std::vector<std::string> walked;
    {
        KeyHeld ctrl;
        Key(VK_LEFT); // from the first token: cleared
        EXPECT_EQ(view->Token().length, 0u);
        for (int i = 0; i < 12; ++i) {
            Key(VK_RIGHT);
            if (view->Token().length == 0) break;
            walked.push_back(view->Token().text);
        }
        EXPECT_EQ(Next(LVNI_SELECTED), index) << "the selected row never changes";
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
    EXPECT_EQ(joined, RowAt(index).text);
    ASSERT_GE(walked.size(), 3u);
    EXPECT_EQ(walked[1], "+");

    CtrlKey(VK_RIGHT); // "+"
    EXPECT_EQ(view->Token().kind, 0);
    EXPECT_TRUE(Enabled(CM_INDICATORS));
    auto texts = ResultMenu("result-menu");
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(texts[0], "Charade &Indicators...");
    EXPECT_EQ(texts[1], "&External Lookup");
    EXPECT_EQ(texts[2], "Find &Hidden Words");
    EXPECT_EQ(texts[4], "&Copy\tCtrl+C");
    EXPECT_EQ(texts[5], "&Select All\tCtrl+A");
    SaveScreenshot(Frame(), "results-token-underlined");
    Command(CM_INDICATORS);
    EXPECT_NE(ShownIndicators(IndicatorKind::Charade), nullptr);

    // A word token: lookup, but no indicators, and the menu item keeps its text.
    CtrlKey(VK_RIGHT);
    EXPECT_FALSE(Enabled(CM_INDICATORS));
    EXPECT_EQ(view->GetSelectedWord(), walked[2]);
    texts = ResultMenu();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "&Indicators...\tCtrl+Enter");
}

TEST_F(ResultsView, MovementKeysPickTheFirstTokenAndSideKeysKeepIt) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    SelectRow(0);
    CtrlKey(VK_RIGHT);
    const auto token = view->Token();
    ASSERT_GT(token.start, 0u);
    Key(VK_RIGHT);
    EXPECT_EQ(view->Token(), token) << "Right alone leaves the token";
    Key(VK_LEFT);
    EXPECT_EQ(view->Token(), token) << "Left alone leaves the token";
    Key(VK_NEXT);
    const int now = Next(LVNI_SELECTED);
    ASSERT_GT(now, 0);
    EXPECT_EQ(view->Token().start, 0u);
    EXPECT_EQ(view->Token().length, RunLengthFrom(DisplayText(RowAt(now), false).style, 0));

    // With two rows selected the keys leave no token and Ctrl+Right does nothing.
    ListView_SetItemState(view->List(), 0, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(SelectedCount(), 2);
    CtrlKey(VK_RIGHT);
    EXPECT_EQ(view->Token().start, 0u);
    EXPECT_EQ(SelectedCount(), 2);
    // Shift+Down extends the selection; the token is cleared.
    {
        KeyHeld shift(VK_SHIFT);
        Key(VK_DOWN);
    }
    EXPECT_GE(SelectedCount(), 2);
    EXPECT_EQ(view->Token().length, 0u);
}

TEST_F(ResultsView, KeyboardMenuOpensUnderTheFirstSelectedRow) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    SelectRow(3);
    const RECT r = RowRect(3);
    POINT below{r.left, r.bottom};
    ClientToScreen(view->List(), &below);
    EXPECT_EQ(At(MenuOrigin(POINT{-1, -1})), At(below));

    // With nothing selected, at the list's corner.
    ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED);
    POINT corner{0, 0};
    ClientToScreen(view->List(), &corner);
    EXPECT_EQ(At(MenuOrigin(POINT{-1, -1})), At(corner));

    // A right-click inside the list opens the menu at the pointer.
    const POINT pointer{corner.x + 40, corner.y + 60};
    EXPECT_EQ(At(MenuOrigin(pointer)), At(pointer));
}

TEST_F(ResultsView, PointingPicksTokensAndTheHandStaysOffTheHeader) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    const int index =
        FindRow([](const WordplayRow& row) { return row.text.rfind("car + ", 0) == 0; });
    ASSERT_GE(index, 0);
    SelectRow(index);
    const RECT r = RowRect(index);
    const int y = (r.top + r.bottom) / 2;
    // x is measured from the row's left edge, 2 pixels in, run by run.
    const int car = view->TextWidth("car");
    const int plusX = r.left + 2 + car + view->TextWidth(" ") + 1;
    view->HitTestToken(POINT{plusX, y});
    EXPECT_EQ(view->Token().text, "+");
    EXPECT_EQ(view->Token().kind, 0);
    view->HitTestToken(POINT{r.left + 2 + car + 1, y});
    EXPECT_EQ(view->Token().length, 0u) << "the blank of \" + \" is no token";
    view->HitTestToken(POINT{r.left + 3, y});
    EXPECT_EQ(view->Token().text, "car");

    SendMessageA(view->List(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(r.left + ListView_GetColumnWidth(view->List(), 0) + 3, y));
    EXPECT_EQ(view->PointingCursor(), nullptr) << "only the wordplay column has tokens";
    SendMessageA(view->List(), WM_MOUSEMOVE, 0, MAKELPARAM(plusX, y));
    const HCURSOR pointing = view->PointingCursor();
    ASSERT_NE(pointing, nullptr) << "\"+\" offers the Charade indicators";

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

TEST_F(ResultsView, DoubleClickOpensTheIndicatorsOfASymbolOnly) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    // On a word: nothing.
    const int charade = FindRow(PlainCharade);
    ASSERT_GE(charade, 0);
    const WordplayRow& row = RowAt(charade);
    SelectRow(charade);
    PointAtRowStart(charade);
    ASSERT_EQ(view->Token().text, row.text.substr(0, RunLengthFrom(row.style, 0)));
    Notify(NM_DBLCLK);
    EXPECT_FALSE(AnyIndicatorsShown());

    // On a symbol: the indicators of its kind, unless two rows are selected.
    CtrlKey(VK_RIGHT);
    ASSERT_EQ(view->Token().style, 'n');
    const int kind = view->Token().kind;
    ASSERT_LE(kind, 3);
    EXPECT_FALSE(Enabled(CM_LOOKUPWORD)) << "a symbol is nothing to look up";
    ListView_SetItemState(view->List(), charade == 0 ? 1 : 0, LVIS_SELECTED, LVIS_SELECTED);
    Notify(NM_DBLCLK);
    EXPECT_FALSE(AnyIndicatorsShown()) << "two rows selected";
    SelectRow(charade);
    Notify(NM_DBLCLK);
    const TableViewWindows* table = ShownIndicators(kind);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Filter(), "");
    EXPECT_GT(ListView_GetItemCount(table->List()), 100) << "every indicator of the kind";
}

TEST_F(ResultsView, AbbreviationTokenNamesItselfInTheMenuAndCtrlEnterOpensIt) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    const int index = FindRow([](const WordplayRow& r) { return r.style[0] == 'b'; });
    ASSERT_GE(index, 0);
    SelectRow(index);
    PointAtRowStart(index);
    const std::string abbreviation = view->Token().text;
    ASSERT_EQ(view->Token().style, 'b');
    const auto texts = ResultMenu();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "\"" + abbreviation + "\" &Indicators...");

    KeyHeld ctrl;
    MSG enter{view->List(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(view->PreTranslateMessage(enter));
    PumpMessages(10);
    const TableViewWindows* table = ShownIndicators(IndicatorKind::Abbreviation);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Filter(), abbreviation);
}

TEST_F(ResultsView, CutOffCellShowsItsTextInATooltip) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    const int width = ListView_GetColumnWidth(view->List(), 0);
    const int index =
        FindRow([&](const WordplayRow& r) { return view->TextWidth(r.text) > width; });
    ASSERT_GE(index, 0) << "carpet has wordplay wider than the column";
    ListView_EnsureVisible(view->List(), index, FALSE);
    const RECT r = RowRect(index);
    POINT p{r.left + 20, (r.top + r.bottom) / 2};
    ClientToScreen(view->List(), &p);
    SetCursorPos(p.x - 3, p.y);
    PumpMessages(50);
    SetCursorPos(p.x, p.y);
    PumpMessages(1200);
    EXPECT_EQ(view->ToolTipText(), RowAt(index).text);
    EXPECT_TRUE(IsWindowVisible(view->ToolTip())) << "the tip shows the whole text";
    SaveScreenshot(Frame(), "results-cell-tooltip");
}

TEST_F(ResultsView, FocusComesBackToWhereTheUserLeftIt) {
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    ASSERT_EQ(GetFocus(), view->List());
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const auto awayAndBack = [&] {
        SetActiveWindow(other);
        SetFocus(other);
        PumpMessages(10);
        SetActiveWindow(Frame());
        PumpMessages(10);
    };
    awayAndBack();
    EXPECT_EQ(GetFocus(), view->List());
    SetFocus(view->AnswerBox());
    awayAndBack();
    EXPECT_TRUE(AnswerBoxFocused());
    DestroyWindow(other);
}

TEST_F(ResultsView, BracketsSettingShowsDeletions) {
    WriteSettingInt("WordplayDisplayBrackets", 1);
    if (!StartAndSearch("carpet")) GTEST_SKIP() << kNoDictionary;
    EXPECT_TRUE(view->Brackets());
    const int index =
        FindRow([](const WordplayRow& r) { return r.style.find('E') != std::string::npos; });
    ASSERT_GE(index, 0) << "carpet has deletions";
    EXPECT_NE(ItemText(index, 0).find('('), std::string::npos) << ItemText(index, 0);
    ListView_EnsureVisible(view->List(), index, FALSE);
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
    EXPECT_EQ(view->Columns().Kind(1), ColumnKind::Type);
    EXPECT_TRUE(view->Columns().Descending(2));
    EXPECT_EQ(ListView_GetColumnWidth(view->List(), 1), 77);
    EXPECT_EQ(ListView_GetColumnWidth(view->List(), 2), GetSystemMetrics(SM_CXSCREEN) / 5)
        << "a stored width of 0 falls back to the default";

    ListView_SetColumnWidth(view->List(), 0, 321);
    view->Columns().ToggleDirection(1);
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

TEST_F(ResultsView, ViewSettingsAreReadAtStartAndMarginsKept) {
    WriteSettingInt("WordplayMaxPieces", 3);
    WriteSettingText("WordplayWordplayBackgroundColor", "0,0,64");
    WriteSettingText("WordplayWordplayFont", "0,0,0,-20,0,0,0,700,0,0,0,0,3,2,1,49,Courier New");
    WriteSettingText("WordplayWordplayNotationColor", "");
    WriteSettingText("WordplayAnswerFont", "0,128,0,-15,0,0,0,400,0,0,0,0,3,2,1,49,Courier New");
    WriteSettingInt("MarginUnits", 4);
    WriteSettingInt("LeftMargin", 500);
    WriteSettingInt("BottomMargin", 750);
    Start();
    EXPECT_EQ(view->MaxPieces(), 3);
    EXPECT_EQ(ListView_GetBkColor(view->List()), RGB(0, 0, 64));
    EXPECT_GT(view->RowHeight(), 20);
    // The answer box draws its text in the answer font's colour.
    HWND edit = GetWindow(view->AnswerBox(), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    HDC dc = GetDC(edit);
    EXPECT_NE(SendMessageA(view->AnswerBox(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(edit)),
              0);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 128, 0));
    ReleaseDC(edit, dc);

    SendMessageA(Frame(), WM_CLOSE, 0, 0);
    PumpMessages(20);
    EXPECT_EQ(ReadSettingInt("MarginUnits", -1), 4);
    EXPECT_EQ(ReadSettingInt("LeftMargin", -1), 500);
    EXPECT_EQ(ReadSettingInt("BottomMargin", -1), 750);
    EXPECT_EQ(ReadSettingInt("TopMargin", -1), 1000);
    EXPECT_EQ(ReadSettingInt("WordplayMaxPieces", -1), 3) << "not rewritten";
}

TEST_F(ResultsView, ColumnOrderThatIsNotAPermutationFallsBack) {
    WriteSettingInt("WordplayColumnUsage0", 0);
    WriteSettingInt("WordplayColumnUsage1", 0);
    WriteSettingInt("WordplayColumnUsage2", 2);
    WriteSettingInt("WordplayColumnDescending1", 1);
    Start();
    EXPECT_EQ(view->Columns(), ColumnTable());
    EXPECT_EQ(view->HeaderTitle(0), "Wordplay");
    EXPECT_EQ(view->HeaderTitle(1), "Pieces");
    EXPECT_EQ(view->HeaderTitle(2), "Type");
}

} // namespace
