#pragma once
// A table window: the rows of one indicator table file in a resizable,
// sortable list (template 12290), all of them or only those whose key equals
// a filter; the selected rows copy as tabbed lines. Closing it only hides it;
// the window that opened it keeps it and shows it again, and F5 and F6 move
// between that window and its tables.

#include "dialogs/PVWControls.h"
#include "dialogs/PropertiesViewWindows.h"
#include "results/IndicatorTable.h"

#include <string>
#include <vector>

// The window that keeps table windows and passes the keyboard between them.
class TableViewHost {
public:
    virtual ~TableViewHost() = default;
    // F5 in a table window: the keyboard goes back to the host.
    virtual void ReturnFromTable() = 0;
    // F6 in a table window: the next open table comes to the front.
    virtual void CycleTables() = 0;
};

// Orders a table window's items, whose data are indexes into its rows: by the
// sort column, ties broken column by column from the first, reversed when
// descending.
class MyListWindowComparer : public ListItemComparer {
public:
    using Rows = std::vector<std::vector<std::string>>;

    explicit MyListWindowComparer(const Rows& rows) : rows_(rows) {}
    int SortColumn() const { return sortColumn_; }
    bool Descending() const { return descending_; }
    void SetColumnCount(int count) { columnCount_ = count; }
    // A click on a column header: the sort column again reverses the order,
    // another column becomes the sort column, ascending.
    void Click(int column);
    int Compare(LPARAM a, LPARAM b) const override;

private:
    const Rows& rows_;
    int sortColumn_ = -1; // unsorted
    bool descending_ = false;
    int columnCount_ = 0;
};

class TableViewWindows : public PropertiesViewWindows {
public:
    // titleId names the table: its string is the window's settings name and
    // the base name of its file beside the program. host may be null.
    TableViewWindows(AppContext& context, int titleId, std::string filter, TableViewHost* host);

    int TitleId() const { return titleId_; }
    const std::string& Title() const { return SettingsPrefix(); }
    const std::string& Filter() const { return filter_; }
    int ColumnCount() const { return columnCount_; }
    int SortColumn() const { return comparer_.SortColumn(); }
    bool SortDescending() const { return comparer_.Descending(); }
    HWND List() const { return list_.Handle(); }

    // Reads the table file again with a new filter; the columns stay as they are.
    void Load(const std::string& filter);
    // Shows a table read elsewhere, as Load does with the file's.
    void Load(const IndicatorTable& table, const std::string& filter);
    // A click on a column header.
    void SortBy(int column);
    // Puts the selected rows on the clipboard, in the list's order.
    void CopySelection();
    void SelectAll();
    // Saves the column widths and the placement, and hides the window.
    void Close();

    void Activate() override;
    int HelpContext() const override { return titleId_; }
    // The header shows the column titles and an arrow on the sort column.
    int HeaderSortIndicator(int item) override;
    std::string HeaderTitle(int item) override;
    void SwitchWindows(UINT key) override;
    bool ContextMenu(HWND control, POINT screen) override;

protected:
    void SetupControls() override;
    void DpiChanged(int oldDpi, int newDpi) override;
    // What the window shows when it is set up: the table file, read with the
    // filter it was made with.
    virtual void LoadContents();
    void OnCancel() override;
    void OnDestroy() override;

private:
    // The table list: reports header clicks to its window.
    class TableList : public PVWListWindow {
    public:
        TableList(TableViewWindows& table, int id) : PVWListWindow(table, id), table_(table) {}

    protected:
        bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    private:
        TableViewWindows& table_;
    };

    static std::string TitleText(AppContext& context, int titleId);
    void InsertColumns(const std::vector<std::string>& titles);
    void InsertRows();
    void Sort();
    void SaveColumnWidths() const;

    int titleId_;
    std::string filter_;
    TableViewHost* host_;
    TableList list_;
    int columnCount_ = 0;
    std::vector<std::string> titles_;
    MyListWindowComparer::Rows rows_;
    MyListWindowComparer comparer_{rows_};
};
