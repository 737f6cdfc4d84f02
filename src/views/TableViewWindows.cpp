#include "views/TableViewWindows.h"

#include "layout/Dpi.h"
#include "resources/resource.h"
#include "results/ResultsViewState.h"

#include <commctrl.h>

#include <fstream>

// ------------------------------------------------------------- comparer

void MyListWindowComparer::Click(int column) {
    if (column == sortColumn_) {
        descending_ = !descending_;
    } else {
        sortColumn_ = column;
        descending_ = false;
    }
}

int MyListWindowComparer::Compare(LPARAM a, LPARAM b) const {
    const auto count = static_cast<LPARAM>(rows_.size());
    if (a < 0 || b < 0 || a >= count || b >= count) return 0;
    return CompareTableRows(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)],
                            sortColumn_, descending_, columnCount_);
}

// ----------------------------------------------------------------- list

bool TableViewWindows::TableList::OnReflectedMessage(UINT msg, WPARAM, LPARAM lParam,
                                                     LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->code != static_cast<UINT>(LVN_COLUMNCLICK)) return false;
    table_.SortBy(reinterpret_cast<const NMLISTVIEW*>(hdr)->iSubItem);
    result = 0;
    return true;
}

// --------------------------------------------------------------- window

TableViewWindows::TableViewWindows(AppContext& context, int titleId, std::string filter,
                                   TableViewHost* host)
    : PropertiesViewWindows(TitleText(context, titleId), context, IDD_TABLEVIEW, true, false),
      titleId_(titleId), filter_(std::move(filter)), host_(host), list_(*this, IDC_TABLELIST) {
    commands_.Add(
        CM_EDITCOPY, [this] { CopySelection(); }, [this] { return list_.SelectedCount() > 0; });
    commands_.Add(
        CM_EDITSELECTALL, [this] { SelectAll(); }, [this] { return !rows_.empty(); });
}

std::string TableViewWindows::TitleText(AppContext& context, int titleId) {
    return context.LoadResourceString(static_cast<UINT>(titleId));
}

void TableViewWindows::SetupControls() {
    AddMoveable(IDC_TABLELIST, layout::MoveMode::Stretch, layout::MoveMode::Stretch);
    ListView_SetExtendedListViewStyle(list_.Handle(), LVS_EX_FULLROWSELECT);
    SetAccelerators(IDA_TABLEVIEW);
    LoadContents();
}

void TableViewWindows::LoadContents() {
    Load(filter_);
}

void TableViewWindows::Load(const std::string& filter) {
    IndicatorTable table;
    const std::string path = ResolveDataPath(Context().ProgramDirectory(), Title() + ".txt");
    std::ifstream in(path, std::ios::binary);
    if (in) table = ReadIndicatorTable(in, filter);
    Load(table, filter);
}

void TableViewWindows::Load(const IndicatorTable& table, const std::string& filter) {
    filter_ = filter;
    // A table without a caption line (a missing or empty file) is named by its kind.
    SetText(table.caption && !table.caption->empty() ? *table.caption : Title());
    HWND list = list_.Handle();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    if (columnCount_ == 0 && !table.columns.empty()) InsertColumns(table.columns);
    rows_ = table.rows;
    InsertRows();
    if (SortColumn() >= 0) Sort();
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void TableViewWindows::InsertColumns(const std::vector<std::string>& titles) {
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const int index = static_cast<int>(i);
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.cx =
            TableColumnWidthOrDefault(GetSettingInt(IndexedName("ColumnWidth", index), 0), screen);
        column.pszText = const_cast<char*>(titles[i].c_str());
        column.iSubItem = index;
        SendMessageA(list_.Handle(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    titles_ = titles;
    columnCount_ = static_cast<int>(titles.size());
    comparer_.SetColumnCount(columnCount_);
    list_.MakeHeaderOwnerDrawn(columnCount_);
}

// Each item keeps the index of its row, which the comparer reads.
void TableViewWindows::InsertRows() {
    HWND list = list_.Handle();
    SendMessageA(list, LVM_SETITEMCOUNT, rows_.size(), 0);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const std::vector<std::string>& row = rows_[r];
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(r);
        item.pszText = const_cast<char*>(row.empty() ? "" : row[0].c_str());
        item.lParam = static_cast<LPARAM>(r);
        const auto at = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (at < 0) continue;
        for (int c = 1; c < columnCount_ && static_cast<std::size_t>(c) < row.size(); ++c) {
            LVITEMA cell{};
            cell.iSubItem = c;
            cell.pszText = const_cast<char*>(row[static_cast<std::size_t>(c)].c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(at),
                         reinterpret_cast<LPARAM>(&cell));
        }
    }
}

void TableViewWindows::SortBy(int column) {
    if (column < 0 || column >= columnCount_) return;
    comparer_.Click(column);
    Sort();
}

void TableViewWindows::Sort() {
    list_.SortItems(comparer_);
    InvalidateRect(list_.Header(), nullptr, TRUE);
}

void TableViewWindows::CopySelection() {
    std::vector<std::size_t> which;
    for (const std::size_t item : list_.SelectedItems()) {
        LVITEMA data{};
        data.mask = LVIF_PARAM;
        data.iItem = static_cast<int>(item);
        if (SendMessageA(list_.Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data)))
            which.push_back(static_cast<std::size_t>(data.lParam));
    }
    const std::string text = CopyTableRows(rows_, which, columnCount_);
    if (!text.empty()) Context().CopyTextToClipboard(text);
}

void TableViewWindows::SelectAll() {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(list_.Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

// Copy and Select All, at the pointer or, from the keyboard, below the
// focused row.
bool TableViewWindows::ContextMenu(HWND control, POINT screen) {
    if (control != list_.Handle()) return false;
    fw::Menu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_TABLEMENU)));
    if (!menu) return false;
    if (screen.x == -1 && screen.y == -1) {
        const int focused = list_.FocusedItem();
        RECT r{};
        if (focused >= 0) r = list_.ItemRect(focused);
        screen = {r.left, r.bottom};
        ClientToScreen(list_.Handle(), &screen);
    }
    TrackPopupMenu(GetSubMenu(menu.Get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y,
                   0, Handle(), nullptr);
    return true;
}

int TableViewWindows::HeaderSortIndicator(int item) {
    if (item != SortColumn()) return 0;
    return SortDescending() ? -1 : 1;
}

std::string TableViewWindows::HeaderTitle(int item) {
    if (item < 0 || item >= static_cast<int>(titles_.size())) return {};
    return titles_[static_cast<std::size_t>(item)];
}

void TableViewWindows::DpiChanged(int oldDpi, int newDpi) {
    for (int i = 0; i < columnCount_; ++i)
        SendMessageA(list_.Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                     layout::ScaleBetweenDpi(list_.ColumnWidth(i), oldDpi, newDpi));
}

void TableViewWindows::SaveColumnWidths() const {
    for (int i = 0; i < columnCount_; ++i)
        SetSettingInt(IndexedName("ColumnWidth", i), list_.ColumnWidth(i));
}

void TableViewWindows::Close() {
    SaveColumnWidths();
    Destroy(IDCANCEL);
}

// The close box and Escape both arrive as Cancel.
void TableViewWindows::OnCancel() {
    Close();
}

// A table still on the screen when its owner goes keeps its widths as a
// closed one does.
void TableViewWindows::OnDestroy() {
    if (IsActive()) SaveColumnWidths();
    PropertiesViewWindows::OnDestroy();
}

void TableViewWindows::Activate() {
    PropertiesViewWindows::Activate();
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
}

void TableViewWindows::SwitchWindows(UINT key) {
    if (!host_) return;
    if (key == VK_F5)
        host_->ReturnFromTable();
    else if (key == VK_F6)
        host_->CycleTables();
}
