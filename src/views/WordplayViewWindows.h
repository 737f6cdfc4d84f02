#pragma once
// The results view: the main frame's client, laid out from template 8490. The
// user types an answer, presses Start (or picks an earlier answer) and reads
// the owner-drawn list of wordplay; the view owns the rows, the token under
// the user's attention, the view settings, the dictionary, the
// abbreviation set and one Indicators window per kind, and it is the
// search's host on the screen.

#include "dialogs/PVWControls.h"
#include "dialogs/PropertiesViewWindows.h"
#include "dialogs/WordplayPropertiesViewWindows.h"
#include "dictionary/OWDictionaryList.h"
#include "printing/PageMargins.h"
#include "results/AbbreviationSet.h"
#include "results/ColumnTable.h"
#include "results/ResultList.h"
#include "results/RowPaint.h"
#include "results/WordplayRow.h"
#include "search/SearchHost.h"
#include "views/HiddenWordsViewWindows.h"
#include "views/TableViewWindows.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class WordplayViewWindows;

// The result list: an owner-data report list whose rows the view draws; it
// hands its drawing, mouse and key input to the view.
class WordplayViewListWindow : public PVWListWindow {
public:
    WordplayViewListWindow(WordplayViewWindows& view, int id);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    WordplayViewWindows& view_;
};

class WordplayViewWindows : public PropertiesViewWindows, public SearchHost, public TableViewHost {
public:
    using Row = WordplayRow;
    using RowContext = WordplayRowContext;

    explicit WordplayViewWindows(AppContext& context);
    ~WordplayViewWindows() override;

    // --- what the search asks of its host
    void AddRow(Row row) override;
    void ShowInvalidDictionary(const std::string& path) override;
    void SearchStarting(const std::string& typedAnswer) override;
    void SearchFinished(const std::string& typedAnswer) override;
    void CommonWordsUnmarked() override;

    // Runs a search for answer, as Start does for the box's text.
    void Search(const std::string& answer);
    void ClearRows();
    const std::vector<Row>& Rows() const { return rows_; }
    const RowContext& Token() const { return token_; }
    int HeaderMenuPosition() const { return headerMenuPosition_; }
    // Which kind each column shows and how it sorts: loaded at set-up, saved on
    // close, read by every sort of the rows.
    ColumnTable& Columns() { return columns_; }
    bool Brackets() const { return brackets_; }
    bool CommonWordsOnly() const { return commonWordsOnly_; }
    int MaxPieces() const { return maxPieces_; }
    const AbbreviationSet& Abbreviations() const { return abbreviations_; }
    OWDictionaryList* Dictionary() const { return dictionary_.get(); }
    HWND AnswerBox() const { return answer_.Handle(); }
    HWND List() const { return list_.Handle(); }
    std::vector<std::string> History() const;

    // --- overrides of the property-dialog base
    std::string GetSelectedWord() override;
    int HeaderSortIndicator(int item) override;
    std::string HeaderTitle(int item) override;
    void ControlCommand(HWND control, int id) override;
    void SelectionChanged(int index, int id) override;
    bool ContextMenu(HWND control, POINT screen) override;
    void CommandEnable(fw::CommandEnabler& ce) override;
    bool CanClose() override;
    int HelpContext() const override;

    // Saves the column table, the column widths and the page margins.
    void SaveViewSettings();

    // --- Options: the values the dialog edits, taking them back after OK
    // (fonts and colours applied, abbreviations reloaded, the list redrawn),
    // and running the dialog from Tools > Options.
    WordplayOptions CurrentOptions() const;
    void ApplyOptions(const WordplayOptions& options);
    void RunOptions();
    // --- printing: the results as printout lines in columns
    // Print and Print Preview need results and a printer.
    bool CanPrint();
    // The print dialog (Selection chosen when two or more rows are
    // selected), then the printing job.
    void Print();
    // The same printout in the print preview, run modally.
    void PrintPreview();
    // The page-setup dialog for the view's margins.
    void PageSetup();
    const PageMargins& Margins() const { return margins_; }

    // --- result list input (from WordplayViewListWindow)
    void DrawRow(const DRAWITEMSTRUCT& item);
    int RowHeight() const;
    // Pixels text takes in the result font.
    int TextWidth(std::string_view text) const;
    // Key down on the list; false lets the list handle the key itself.
    void BeforeKey(UINT key);
    void AfterKey(UINT key);
    // Ctrl+Left / Ctrl+Right; the list never sees them.
    void MoveToken(bool next);
    void HitTestToken(POINT client);
    void OnListMouseMove(POINT client);
    void OnListDoubleClick();
    void OnHeaderClick(int position);
    std::string CellTextOf(std::size_t index, int position) const;
    std::string ToolTipText() const { return tooltipText_; }
    // The pointing cursor while the mouse is over a token with indicators, else null.
    HCURSOR PointingCursor() const { return overToken_ ? pointingCursor_ : nullptr; }

    // --- commands (also reachable from menus and accelerators)
    void CopyResults();
    void SelectAll();
    void Resort();
    void SetSortDirection(bool descending);
    void Promote();
    void Demote();
    // Builds the result menu (8550) or, for header positions 1 and 2, the
    // header menu (7950) as it would be shown now; null when none applies.
    fw::Menu BuildContextMenu(bool header, int headerPosition);
    // Where a context menu opens for a keyboard request.
    POINT KeyboardMenuPoint() const;
    // Shows the Indicators window of kind (0..3, 5), made on first use; a
    // non-empty filter reloads it with the rows of that key only.
    void OpenIndicators(int kind, const std::string& filter);
    // The window of kind, shown or hidden; null until it is first opened.
    TableViewWindows* IndicatorsWindow(int kind) const;
    // Lists the phrases that hide the answer of the results in the Hidden
    // Words window, made on first use.
    void FindHiddenWords();
    HiddenWordsViewWindows* HiddenWordsWindow() const { return hidden_.get(); }

    // --- switching between the view and its Indicators windows
    void SwitchWindows(UINT key) override;
    void ReturnFromTable() override;
    void CycleTables() override;

protected:
    void SetupControls() override;
    void DpiChanged(int oldDpi, int newDpi) override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    void RecordHistory(const std::string& answer);
    // Finishes the row list, fills the list and sets the focus; returns the
    // number of rows shown.
    std::size_t ShowResults();
    void ReadSettings();
    void ApplyFonts();
    void LoadAbbreviations();
    void InsertColumns();
    bool BoxHasFocus() const;
    std::pair<DWORD, DWORD> BoxSelection() const;
    void SetToken(const RowContext& token);
    void RedrawItem(int item);
    void SelectOnly(int item);
    DisplayedText Shown(std::size_t index) const;
    void UpdateToolTip(const std::string& text);
    HBRUSH OnAnswerColour(HDC dc);
    void RegisterCommands();
    // The table windows on the screen (Indicators, Hidden Words), the topmost first.
    std::vector<TableViewWindows*> ShownIndicators() const;
    // The words of the dictionaries, indexed for hidden words once and again
    // whenever the dictionaries change.
    const HiddenWordIndex& HiddenWordsOfDictionary();
    // Runs the search for an answer picked from the history.
    void OnSearchPick();

    PVWCombo answer_;
    PVWPushButton start_;
    PVWStatic frame_;
    WordplayViewListWindow list_;

    std::vector<Row> rows_;
    ColumnTable columns_;
    RowContext token_;
    std::string lastAnswer_;
    int headerMenuPosition_ = -1;

    FontSetting answerFont_;
    FontSetting resultFont_;
    FontSetting outputFont_;
    fw::Font answerHFont_;
    fw::Font resultHFont_;
    Colour background_ = 0;
    Colour notation_ = 0;
    Colour deletion_ = 0;
    Colour abbreviation_ = 0;
    PVWBrush answerBrush_;
    bool brackets_ = false;
    bool commonWordsOnly_ = false;
    // The dictionary setting for which the status bar last said that the
    // dictionary marks no common words.
    std::string unmarkedSaidFor_;
    int maxPieces_ = 4;
    std::string dictionaryName_;
    std::unique_ptr<OWDictionaryList> dictionary_;
    AbbreviationSet abbreviations_;

    std::string tooltipText_;
    RowGeometry geometry_; // margins and underline at the view's DPI
    fw::OwnedDC measureDC_;
    HGDIOBJ measureOldFont_ = nullptr;
    HCURSOR cursorBeforeSearch_ = nullptr;
    HCURSOR pointingCursor_ = nullptr;
    bool overToken_ = false;
    HWND lastFocus_ = nullptr; // the answer box or the list, whichever had the focus last
    std::array<int, 3> initialWidths_{};

    PageMargins margins_;
    // One slot per indicator kind; kind 4 has no table and stays empty.
    std::array<std::unique_ptr<TableViewWindows>, IndicatorKind::Count> indicators_;
    std::unique_ptr<HiddenWordsViewWindows> hidden_;
    std::unique_ptr<HiddenWordIndex> hiddenIndex_;
    // What the index was read from: the dictionary setting and each file's
    // last-write time.
    std::string hiddenIndexName_;
    std::vector<OWFileTime> hiddenIndexTimes_;
    // An answer picked from the history, searched once the pick's
    // notification has returned (kSearchPickMessage).
    std::optional<std::string> pendingPick_;
    static constexpr UINT kSearchPickMessage = WM_APP + 0x510;
};
