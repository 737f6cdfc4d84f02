#include "views/WordplayViewWindows.h"

#include "context/FontSettingWin32.h"
#include "context/HelpHook.h"
#include "framework/Dpi.h"
#include "layout/Dpi.h"
#include "resources/resource.h"
#include "results/ColumnTable.h"
#include "results/ResultsViewState.h"
#include "results/Tokens.h"
#include "search/ListAbbreviations.h"
#include "search/WordplaySearch.h"
#include "settings/SettingsValues.h"

#include <commctrl.h>

namespace {

constexpr const char kDefaultDictionary[] = "Dictionaries\\Standard English.owd";
constexpr Colour kDefaultBackground = MakeColour(255, 255, 255);
constexpr Colour kDefaultNotation = MakeColour(255, 0, 0);
constexpr Colour kDefaultDeletion = MakeColour(128, 128, 128);
constexpr Colour kDefaultAbbreviation = MakeColour(0, 0, 255);
constexpr int kAnswerLimit = 31;
// The box that reports an unusable dictionary, and what follows the answer in
// the main window's caption once it has been searched.
constexpr const char kInvalidDictionaryCaption[] = "Invalid Dictionary Configured";
constexpr const char kCaptionSuffix[] = " - Quillon";

// Whether the user measures in inches (the U.S. system) rather than metric.
bool UsMeasurement() {
    char measure[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, sizeof measure);
    return measure[0] == '1';
}

} // namespace

WordplayViewWindows::WordplayViewWindows(AppContext& context)
    : PropertiesViewWindows("Wordplay", context, IDD_WORDPLAYVIEW, true, true),
      answer_(*this, IDC_ANSWER), start_(*this, IDC_START), frame_(*this, IDC_ANSWERFRAME),
      list_(*this, IDC_RESULTLIST), measureDC_(CreateCompatibleDC(nullptr)) {
    answer_.ShowFullNames(true);
    RegisterCommands();
}

WordplayViewWindows::~WordplayViewWindows() {
    if (measureDC_ && measureOldFont_) SelectObject(measureDC_.Get(), measureOldFont_);
}

void WordplayViewWindows::SetupControls() {
    using layout::MoveMode;
    AddMoveable(IDC_ANSWERFRAME, MoveMode::Stretch, MoveMode::Fixed);
    AddMoveable(IDC_ANSWER, MoveMode::Stretch, MoveMode::Fixed);
    AddMoveable(IDC_START, MoveMode::KeepFar, MoveMode::Fixed);
    AddMoveable(IDC_RESULTLIST, MoveMode::Stretch, MoveMode::Stretch);
    AddToolTip(IDC_ANSWER);
    AddToolTip(IDC_START);
    SendMessageA(answer_.Handle(), CB_LIMITTEXT, kAnswerLimit, 0);
    ListView_SetExtendedListViewStyle(list_.Handle(), LVS_EX_FULLROWSELECT);
    SetAccelerators(IDA_RESULTVIEW);
    pointingCursor_ = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_POINTINGHAND));

    geometry_ = RowGeometry::ForDpi(Dpi());
    ReadSettings();
    InsertColumns();
    ApplyFonts();
    LoadAbbreviations();
    if (ToolTip()) {
        TOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = Handle();
        ti.uId = reinterpret_cast<UINT_PTR>(list_.Handle());
        ti.lpszText = const_cast<char*>("");
        SendMessageA(ToolTip(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    Context().SetStatusText(answer_.Text().empty() ? IDS_PRESSF1 : IDS_CLICKSTART);
}

void WordplayViewWindows::ReadSettings() {
    std::array<int, ColumnTable::Positions> kinds{};
    std::array<bool, ColumnTable::Positions> descending{};
    for (int i = 0; i < ColumnTable::Positions; ++i) {
        kinds[i] = GetSettingInt(IndexedName("ColumnUsage", i), i);
        descending[i] = GetSettingInt(IndexedName("ColumnDescending", i), 0) != 0;
    }
    columns_.Assign(kinds, descending);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    for (int i = 0; i < 3; ++i)
        initialWidths_[i] = ColumnWidthOrDefault(
            GetSettingInt(IndexedName("ColumnWidth", i), DefaultColumnWidth(i, screen)), i, screen);

    // Damaged values take their defaults (see SettingsValues.h).
    maxPieces_ = MaxPiecesOrDefault(GetSettingInt("MaxPieces", kDefaultMaxPieces));
    brackets_ = GetSettingInt("DisplayBrackets", 0) != 0;
    commonWordsOnly_ = GetSettingInt("CommonWordsOnly", 0) != 0;
    auto font = [this](const char* name) {
        return FontOrDefault(GetSettingString(name, std::string(kDefaultFontText)), DefaultFont());
    };
    answerFont_ = font("AnswerFont");
    resultFont_ = font("WordplayFont");
    outputFont_ = font("OutputFont");
    auto colour = [this](const char* name, Colour fallback) {
        return ColourOrDefault(GetSettingString(name, ""), fallback);
    };
    background_ = colour("WordplayBackgroundColor", kDefaultBackground);
    notation_ = colour("WordplayNotationColor", kDefaultNotation);
    deletion_ = colour("WordplayElisionColor", kDefaultDeletion);
    abbreviation_ = colour("WordplayAbbreviationColor", kDefaultAbbreviation);

    dictionaryName_ = GetSettingString("WordplayDictionary", kDefaultDictionary);
    dictionary_ = std::make_unique<OWDictionaryList>(
        ResolveDataPath(Context().ProgramDirectory(), dictionaryName_));

    // Page setup values live beside the view's settings but without its prefix.
    margins_ = LoadPageMargins(Settings(), UsMeasurement());
}

void WordplayViewWindows::InsertColumns() {
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.cx = initialWidths_[i];
        column.pszText = const_cast<char*>("");
        column.iSubItem = i;
        SendMessageA(list_.Handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
    list_.MakeHeaderOwnerDrawn(3);
}

void WordplayViewWindows::ApplyFonts() {
    // Font heights are kept for a 96-DPI screen and drawn at the view's DPI.
    answerHFont_ = fw::FontForDpi(ToLogFontA(answerFont_.logFont), Dpi());
    SendMessageA(answer_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(answerHFont_.Get()), TRUE);

    fw::Font font = fw::FontForDpi(ToLogFontA(resultFont_.logFont), Dpi());
    if (measureDC_) {
        HGDIOBJ old = SelectObject(measureDC_.Get(), font.Get());
        if (!measureOldFont_) measureOldFont_ = old;
    }
    resultHFont_ = std::move(font);
    SendMessageA(list_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(resultHFont_.Get()), TRUE);
    // An owner-drawn list measures its rows again when its position changes.
    RECT r = list_.WindowRect();
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(list_.Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top + 1,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(list_.Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(list_.Handle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background_));
    answerBrush_.SetColour(GetSysColor(COLOR_WINDOW));
    InvalidateRect(list_.Handle(), nullptr, TRUE);
}

void WordplayViewWindows::DpiChanged(int oldDpi, int newDpi) {
    geometry_ = RowGeometry::ForDpi(newDpi);
    for (int i = 0; i < ColumnTable::Positions; ++i)
        SendMessageA(list_.Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                     layout::ScaleBetweenDpi(list_.ColumnWidth(i), oldDpi, newDpi));
    ApplyFonts();
}

void WordplayViewWindows::LoadAbbreviations() {
    abbreviations_.clear();
    if (!dictionary_ || dictionary_->Count() == 0 || !dictionary_->IsValid(0)) return;
    const std::string file = Context().LoadResourceString(IDS_INDICATORABBREVIATION) + ".txt";
    abbreviations_ =
        LoadListAbbreviations(*dictionary_, ResolveDataPath(Context().ProgramDirectory(), file));
}

void WordplayViewWindows::SaveViewSettings() {
    const ColumnTable& table = columns_;
    for (int i = 0; i < 3; ++i) {
        if (list_.Handle()) SetSettingInt(IndexedName("ColumnWidth", i), list_.ColumnWidth(i));
        SetSettingInt(IndexedName("ColumnUsage", i), table.Kind(i));
        SetSettingInt(IndexedName("ColumnDescending", i), table.Descending(i) ? 1 : 0);
    }
    SavePageMargins(Settings(), margins_);
}

bool WordplayViewWindows::CanClose() {
    SaveViewSettings();
    return true;
}

int WordplayViewWindows::HelpContext() const {
    return CurrentHelpContext == IDM_RESULTMENU || CurrentHelpContext == IDM_HEADERMENU
               ? CurrentHelpContext
               : IDD_WORDPLAYVIEW;
}

std::vector<std::string> WordplayViewWindows::History() const {
    std::vector<std::string> entries;
    for (int i = 0; i < answer_.Count(); ++i)
        entries.push_back(answer_.FullName(i));
    return entries;
}

// ------------------------------------------------------------ the search

void WordplayViewWindows::Search(const std::string& answer) {
    if (!dictionary_) return;
    lastAnswer_ = answer;
    RunWordplaySearch(*this, *dictionary_, abbreviations_, maxPieces_, answer, commonWordsOnly_);
}

void WordplayViewWindows::AddRow(Row row) {
    if (row.style.size() != row.text.size()) row.style.resize(row.text.size(), StyleLetter::Word);
    rows_.push_back(std::move(row));
}

void WordplayViewWindows::ClearRows() {
    rows_.clear();
    ClearToken(token_);
    SendMessageA(list_.Handle(), LVM_SETITEMCOUNT, 0, 0);
}

void WordplayViewWindows::ShowInvalidDictionary(const std::string& path) {
    const std::string text = path + Context().LoadResourceString(IDS_INVALIDDICTIONARY);
    MessageBoxA(Handle(), text.c_str(), kInvalidDictionaryCaption, MB_OK | MB_ICONEXCLAMATION);
}

void WordplayViewWindows::RecordHistory(const std::string& answer) {
    // The answer goes to the top as typed, and an older copy that differs only
    // in case gives way to it; a first entry that matches stays as it is.
    if (answer_.Count() > 0) {
        const std::string first = answer_.FullName(0);
        if (first.size() != answer.size() || lstrcmpiA(first.c_str(), answer.c_str()) != 0)
            answer_.Remove(answer);
    }
    answer_.Add(answer, true);
}

void WordplayViewWindows::SearchStarting(const std::string& typedAnswer) {
    RecordHistory(typedAnswer);
    ClearRows();
    cursorBeforeSearch_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    Context().SetStatusText(IDS_SEARCHING);
    UpdateWindow(list_.Handle());
}

std::size_t WordplayViewWindows::ShowResults() {
    FinishResultList(rows_, columns_);
    HWND list = list_.Handle();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, rows_.size(), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    ClearToken(token_);
    if (rows_.empty()) {
        SetFocus(answer_.Handle());
        return 0;
    }
    SetFocus(list);
    SelectOnly(0);
    SelectFirstToken(token_, Shown(0), brackets_);
    return rows_.size();
}

void WordplayViewWindows::SearchFinished(const std::string& typedAnswer) {
    const std::size_t shown = ShowResults();
    if (HWND frame = GetAncestor(Handle(), GA_ROOT); frame && frame != Handle())
        SetWindowTextA(frame, (typedAnswer + kCaptionSuffix).c_str());
    SetCursor(cursorBeforeSearch_ ? cursorBeforeSearch_ : LoadCursorA(nullptr, IDC_ARROW));
    Context().SetStatusText(shown == 0 ? IDS_NOWORDPLAY : IDS_PRESSF1);
}

// Said once for each dictionary setting, since every search after would say
// the same.
void WordplayViewWindows::CommonWordsUnmarked() {
    if (unmarkedSaidFor_ == dictionaryName_) return;
    unmarkedSaidFor_ = dictionaryName_;
    Context().SetStatusText(IDS_NOCOMMONWORDS);
}

// -------------------------------------------------------- base overrides

void WordplayViewWindows::ControlCommand(HWND, int id) {
    if (id == IDC_START) Search(answer_.Text());
}

// The pick arrives inside the combo box's own notification, while its list is
// still closing; the search rewrites the box's entries, so it runs once the
// box has finished.
void WordplayViewWindows::SelectionChanged(int index, int id) {
    if (id != IDC_ANSWER || index < 0) return;
    pendingPick_ = answer_.FullName(index);
    PostMessageA(Handle(), kSearchPickMessage, 0, 0);
}

void WordplayViewWindows::OnSearchPick() {
    if (!pendingPick_) return;
    const std::string picked = std::move(*pendingPick_);
    pendingPick_.reset();
    SetWindowTextA(answer_.Handle(), picked.c_str());
    Search(picked);
}

int WordplayViewWindows::HeaderSortIndicator(int item) {
    return columns_.SortIndicator(item);
}

std::string WordplayViewWindows::HeaderTitle(int item) {
    return Context().LoadResourceString(static_cast<UINT>(columns_.TitleId(item)));
}

std::string WordplayViewWindows::GetSelectedWord() {
    if (BoxHasFocus()) {
        const std::string text = answer_.Text();
        auto [from, to] = BoxSelection();
        if (to > from && to <= text.size()) return text.substr(from, to - from);
        return text;
    }
    if (list_.SelectedCount() == 1 && OffersLookup(token_)) return token_.text;
    return {};
}

bool WordplayViewWindows::BoxHasFocus() const {
    HWND focus = GetFocus();
    return focus && (focus == answer_.Handle() || IsChild(answer_.Handle(), focus));
}

std::pair<DWORD, DWORD> WordplayViewWindows::BoxSelection() const {
    DWORD from = 0;
    DWORD to = 0;
    SendMessageA(answer_.Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    return {from, to};
}

HBRUSH WordplayViewWindows::OnAnswerColour(HDC dc) {
    SetTextColor(dc, answerFont_.colour);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return answerBrush_.Get();
}

INT_PTR WordplayViewWindows::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kSearchPickMessage:
        OnSearchPick();
        return TRUE;
    case WM_SETFOCUS:
        // The frame hands the focus on when the program is switched back to;
        // it goes where the user left it, not to the first control.
        if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
            IsWindowEnabled(lastFocus_)) {
            SetFocus(lastFocus_);
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ANSWER && HIWORD(wParam) == CBN_SETFOCUS)
            lastFocus_ = answer_.Handle();
        break;
    case WM_NOTIFY:
        if (const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            hdr->hwndFrom == list_.Handle() && hdr->code == static_cast<UINT>(NM_SETFOCUS))
            lastFocus_ = list_.Handle();
        break;
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTVIEW) break;
        item->itemHeight = static_cast<UINT>(RowHeight());
        return TRUE;
    }
    case WM_CTLCOLOREDIT: {
        HWND edit = reinterpret_cast<HWND>(lParam);
        if (edit == answer_.Handle() || GetParent(edit) == answer_.Handle())
            return reinterpret_cast<INT_PTR>(OnAnswerColour(reinterpret_cast<HDC>(wParam)));
        break;
    }
    }
    return PropertiesViewWindows::DialogProc(msg, wParam, lParam);
}

// ---------------------------------------------------- Indicators windows

void WordplayViewWindows::OpenIndicators(int kind, const std::string& filter) {
    if (IndicatorKindTitle(kind).empty()) return;
    auto& slot = indicators_[static_cast<std::size_t>(kind)];
    if (slot && !slot->Handle()) slot.reset();
    if (!slot) {
        slot =
            std::make_unique<TableViewWindows>(Context(), IDS_INDICATORKIND0 + kind, filter, this);
        if (!slot->CreateModeless(Handle())) {
            slot.reset();
            return;
        }
    } else if (!filter.empty()) {
        slot->Load(filter);
    }
    slot->Activate();
}

TableViewWindows* WordplayViewWindows::IndicatorsWindow(int kind) const {
    if (kind < 0 || kind >= IndicatorKind::Count) return nullptr;
    return indicators_[static_cast<std::size_t>(kind)].get();
}

void WordplayViewWindows::FindHiddenWords() {
    if (!dictionary_) return;
    if (const auto invalid = dictionary_->FirstInvalidPath()) {
        ShowInvalidDictionary(*invalid);
        return;
    }
    const HCURSOR before = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const HiddenWordList found =
        HiddenWordsOfDictionary().Find(NormaliseAnswer(*dictionary_, lastAnswer_));
    SetCursor(before);
    if (hidden_ && !hidden_->Handle()) hidden_.reset();
    if (!hidden_) {
        hidden_ = std::make_unique<HiddenWordsViewWindows>(Context(), this);
        if (!hidden_->CreateModeless(Handle())) {
            hidden_.reset();
            return;
        }
    }
    hidden_->Show(lastAnswer_, found);
    hidden_->Activate();
}

const HiddenWordIndex& WordplayViewWindows::HiddenWordsOfDictionary() {
    std::vector<OWFileTime> times;
    for (int i = 0; i < dictionary_->Count(); ++i)
        times.push_back(dictionary_->Modified(i));
    if (!hiddenIndex_ || hiddenIndexName_ != dictionary_->Name() || hiddenIndexTimes_ != times) {
        hiddenIndex_.reset(); // the old words go before the new ones are read
        hiddenIndex_ = std::make_unique<HiddenWordIndex>(*dictionary_);
        hiddenIndexName_ = dictionary_->Name();
        hiddenIndexTimes_ = std::move(times);
    }
    return *hiddenIndex_;
}

std::vector<TableViewWindows*> WordplayViewWindows::ShownIndicators() const {
    std::vector<TableViewWindows*> tables;
    for (const auto& slot : indicators_)
        if (slot) tables.push_back(slot.get());
    if (hidden_) tables.push_back(hidden_.get());
    std::vector<TableViewWindows*> shown;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        for (TableViewWindows* table : tables)
            if (table->Handle() == w && table->IsActive() && IsWindowVisible(w))
                shown.push_back(table);
    }
    return shown;
}

void WordplayViewWindows::SwitchWindows(UINT key) {
    if (key != VK_F5) return;
    const auto shown = ShownIndicators();
    if (!shown.empty()) shown.front()->Activate();
}

void WordplayViewWindows::ReturnFromTable() {
    if (HWND frame = GetAncestor(Handle(), GA_ROOT)) SetActiveWindow(frame);
    SetFocus(Handle()); // the view hands it on to the control the user left
}

// The front table goes behind the others without being activated and the one
// that was second comes forward; a table alone is simply brought forward
// again. The others are raised in turn from the back rather than the front
// one being sent behind the last: a move behind a sibling does not always
// hold once the display has restacked its windows.
void WordplayViewWindows::CycleTables() {
    const auto shown = ShownIndicators();
    if (shown.empty()) return;
    for (std::size_t i = shown.size() - 1; i >= 1; --i)
        SetWindowPos(shown[i]->Handle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    shown[shown.size() > 1 ? 1 : 0]->Activate();
}

void WordplayViewWindows::OnDestroy() {
    for (auto& slot : indicators_) {
        if (slot) slot->DestroyWindow();
        slot.reset();
    }
    if (hidden_) hidden_->DestroyWindow();
    hidden_.reset();
    PropertiesViewWindows::OnDestroy();
}
