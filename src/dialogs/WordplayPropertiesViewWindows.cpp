#include "dialogs/WordplayPropertiesViewWindows.h"

#include "resources/resource.h"
#include "results/ResultsViewState.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace {

std::vector<TabbyPropertiesViewWindows::Page> OptionPages() {
    return {
        {IDS_PAGEAPPEARANCE,
         IDS_PAGEAPPEARANCETIP,
         {IDC_ANSWERFONTLABEL, IDC_ANSWERFONT, IDC_RESULTFONTLABEL, IDC_RESULTFONT,
          IDC_PRINTOUTFONTLABEL, IDC_PRINTOUTFONT, IDC_BACKGROUNDLABEL, IDC_BACKGROUNDCOLOUR,
          IDC_NOTATIONLABEL, IDC_NOTATIONCOLOUR, IDC_DELETIONLABEL, IDC_DELETIONCOLOUR,
          IDC_ABBREVIATIONLABEL, IDC_ABBREVIATIONCOLOUR, IDC_BRACKETS}},
        {IDS_PAGEDICTIONARY,
         IDS_PAGEDICTIONARYTIP,
         {IDC_LOCATIONLABEL, IDC_LOCATION, IDC_MODIFIEDLABEL, IDC_MODIFIED, IDC_DICTIONARYLIST,
          IDC_DICTIONARYCHANGE, IDC_DESCRIPTIONLABEL, IDC_DESCRIPTION, IDC_ENTRIESLABEL,
          IDC_ENTRIES, IDC_SHORTESTLABEL, IDC_SHORTEST, IDC_LONGESTLABEL, IDC_LONGEST}},
        {IDS_PAGERESULT,
         IDS_PAGERESULTTIP,
         {IDC_MAXPIECESLABEL, IDC_MAXPIECES, IDC_MAXPIECESUPDOWN, IDC_COMMONWORDSONLY}},
    };
}

constexpr DWORD kFontChooserOptions =
    CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST | CF_SHOWHELP;
constexpr const char kRecentDictionary[] = "WordplayDictionary";
// The maximum-pieces box is read like the settings' numbers, from at most
// this many characters.
constexpr std::size_t kMaxPiecesText = 31;
// A choice from the dictionary list is acted on once the list's own
// notification has returned: acting may remove entries and show a message.
constexpr UINT kDictionaryPicked = WM_APP + 40;

// A multi-line edit breaks lines only at CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

WordplayPropertiesViewWindows::WordplayPropertiesViewWindows(AppContext& context,
                                                             const SettingsAccessor& viewSettings,
                                                             const WordplayOptions& options)
    : TabbyPropertiesViewWindows("WordplayProperties", context, IDD_OPTIONS, IDC_OPTIONSTABS,
                                 OptionPages()),
      viewSettings_(viewSettings), options_(options), dictionaryName_(options.dictionary),
      dictionary_(OpenDictionary(options.dictionary)), background_(*this, IDC_BACKGROUNDCOLOUR),
      notation_(*this, IDC_NOTATIONCOLOUR), deletion_(*this, IDC_DELETIONCOLOUR),
      abbreviation_(*this, IDC_ABBREVIATIONCOLOUR), brackets_(*this, IDC_BRACKETS),
      answerFont_(*this, IDC_ANSWERFONT, "answer", kFontChooserOptions),
      resultFont_(*this, IDC_RESULTFONT, "wordplay", kFontChooserOptions),
      outputFont_(*this, IDC_PRINTOUTFONT, "wordplay", kFontChooserOptions),
      dictionaries_(*this, IDC_DICTIONARYLIST), change_(*this, IDC_DICTIONARYCHANGE),
      location_(*this, IDC_LOCATION), modified_(*this, IDC_MODIFIED),
      description_(*this, IDC_DESCRIPTION), entries_(*this, IDC_ENTRIES),
      shortest_(*this, IDC_SHORTEST), longest_(*this, IDC_LONGEST),
      maxPieces_(*this, IDC_MAXPIECES), commonWordsOnly_(*this, IDC_COMMONWORDSONLY),
      saveDefaults_(*this, IDC_SAVEDEFAULTS) {}

WordplayPropertiesViewWindows::~WordplayPropertiesViewWindows() = default;

void WordplayPropertiesViewWindows::SetupWindow() {
    TabbyPropertiesViewWindows::SetupWindow();
    for (int id : {IDC_BACKGROUNDCOLOUR, IDC_NOTATIONCOLOUR, IDC_DELETIONCOLOUR,
                   IDC_ABBREVIATIONCOLOUR, IDC_ANSWERFONT, IDC_RESULTFONT, IDC_PRINTOUTFONT})
        AddToolTip(id);

    const auto& colours = options_.colours;
    answerFont_.SetFont(options_.answerFont, GetSysColor(COLOR_WINDOW));
    resultFont_.SetFont(options_.resultFont, colours[WordplayOptions::Background]);
    outputFont_.SetFont(options_.outputFont, RGB(255, 255, 255));
    background_.SetColour(colours[WordplayOptions::Background]);
    notation_.SetColour(colours[WordplayOptions::Notation]);
    deletion_.SetColour(colours[WordplayOptions::Deletion]);
    abbreviation_.SetColour(colours[WordplayOptions::Abbreviation]);

    SendMessageA(Item(IDC_MAXPIECESUPDOWN), UDM_SETRANGE32, 2, 4);
    maxPieces_.SetEditText(std::to_string(options_.maxPieces));
    brackets_.SetState(options_.brackets ? BST_CHECKED : BST_UNCHECKED);
    commonWordsOnly_.SetState(options_.commonWordsOnly ? BST_CHECKED : BST_UNCHECKED);

    for (int i = 0;; ++i) {
        const std::string name = GetSettingString(IndexedName(kRecentDictionary, i), "");
        if (name.empty()) break;
        dictionaries_.Add(name, false);
    }
    ShowDictionary();
}

std::string WordplayPropertiesViewWindows::ModifiedText() const {
    const OWFileTime time = dictionary_->Modified(0);
    if (time <= 0) return {};
    FILETIME file{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&file, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return {};
    char date[128] = {};
    char clock[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &local, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, clock, sizeof clock);
    return std::string(date) + " " + clock;
}

std::unique_ptr<OWDictionaryList>
WordplayPropertiesViewWindows::OpenDictionary(const std::string& name) const {
    return std::make_unique<OWDictionaryList>(ResolveDataPath(Context().ProgramDirectory(), name));
}

void WordplayPropertiesViewWindows::ShowDictionary() {
    // A dictionary setting left empty is not a recently used dictionary: as an
    // entry it would end the stored list early.
    if (!dictionaryName_.empty()) dictionaries_.Add(dictionaryName_, true);
    location_.SetText(dictionary_->Path(0));
    modified_.SetText(ModifiedText());
    description_.SetText(WithCrLf(dictionary_->Description(0)));
    if (dictionary_->IsValid(0)) {
        const OWDictionaryList::LengthStats stats = dictionary_->Statistics(0);
        entries_.SetText(std::to_string(stats.entries));
        shortest_.SetText(std::to_string(stats.shortest));
        longest_.SetText(std::to_string(stats.longest));
    } else {
        entries_.SetText("");
        shortest_.SetText("");
        longest_.SetText("");
    }
}

void WordplayPropertiesViewWindows::SelectDictionary(const std::string& name) {
    auto chosen = OpenDictionary(name);
    if (chosen->IsValid(0)) {
        dictionaryName_ = name;
        dictionary_ = std::move(chosen);
        ShowDictionary();
        return;
    }
    dictionaries_.Remove(name);
    const std::string text = name + Context().LoadResourceString(IDS_NOTADICTIONARYFILE);
    const std::string caption = Context().LoadResourceString(IDS_DICTIONARYFILEERRORCAPTION);
    MessageBoxA(Handle(), text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    chosen.reset();
    // The list shows the dictionary that stays in use, not an empty choice.
    ShowDictionary();
}

void WordplayPropertiesViewWindows::ChooseDictionaryFile() {
    std::vector<char> file(4096, '\0');
    const std::string& current = dictionary_->Name(); // where the file is
    if (current.size() < file.size()) current.copy(file.data(), current.size());
    std::string filter = Context().LoadResourceString(IDS_DICTIONARYFILEFILTER);
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    const std::string title = Context().LoadResourceString(IDS_DICTIONARYFILESELECTION);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = "owd";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameA(&ofn)) SelectDictionary(file.data());
}

int WordplayPropertiesViewWindows::TypedMaxPieces() const {
    const std::string typed = maxPieces_.Text();
    return ParseDecimal(std::string_view(typed).substr(0, kMaxPiecesText));
}

void WordplayPropertiesViewWindows::SaveDefaults() {
    const int page = CurrentPage();
    if (page < 0) return;
    switch (Pages()[static_cast<std::size_t>(page)].nameId) {
    case IDS_PAGERESULT:
        viewSettings_.SetSettingInt("MaxPieces", TypedMaxPieces());
        viewSettings_.SetSettingInt("CommonWordsOnly",
                                    commonWordsOnly_.State() == BST_CHECKED ? 1 : 0);
        break;
    case IDS_PAGEDICTIONARY:
        viewSettings_.SetSettingString("WordplayDictionary", dictionaryName_);
        break;
    case IDS_PAGEAPPEARANCE: {
        viewSettings_.SetSettingString("AnswerFont", FormatFont(options_.answerFont));
        viewSettings_.SetSettingString("WordplayFont", FormatFont(options_.resultFont));
        viewSettings_.SetSettingString("OutputFont", FormatFont(options_.outputFont));
        const auto& colours = options_.colours;
        viewSettings_.SetSettingString("WordplayBackgroundColor",
                                       FormatColour(colours[WordplayOptions::Background]));
        viewSettings_.SetSettingString("WordplayNotationColor",
                                       FormatColour(colours[WordplayOptions::Notation]));
        viewSettings_.SetSettingString("WordplayElisionColor",
                                       FormatColour(colours[WordplayOptions::Deletion]));
        viewSettings_.SetSettingString("WordplayAbbreviationColor",
                                       FormatColour(colours[WordplayOptions::Abbreviation]));
        viewSettings_.SetSettingInt("DisplayBrackets", brackets_.State() == BST_CHECKED ? 1 : 0);
        break;
    }
    }
}

void WordplayPropertiesViewWindows::WriteRecentDictionaries() {
    int written = 0;
    for (int i = 0; i < dictionaries_.Count(); ++i) {
        const std::string name = dictionaries_.FullName(i);
        if (!name.empty()) SetSettingString(IndexedName(kRecentDictionary, written++), name);
    }
    SetSettingString(IndexedName(kRecentDictionary, written), "");
}

void WordplayPropertiesViewWindows::ControlCommand(HWND, int id) {
    if (id == IDC_DICTIONARYCHANGE)
        ChooseDictionaryFile();
    else if (id == IDC_SAVEDEFAULTS)
        SaveDefaults();
}

void WordplayPropertiesViewWindows::ColourChanged(Colour colour, int id) {
    auto& colours = options_.colours;
    switch (id) {
    case IDC_BACKGROUNDCOLOUR:
        colours[WordplayOptions::Background] = colour;
        resultFont_.SetBackground(colour);
        break;
    case IDC_NOTATIONCOLOUR:
        colours[WordplayOptions::Notation] = colour;
        break;
    case IDC_DELETIONCOLOUR:
        colours[WordplayOptions::Deletion] = colour;
        break;
    case IDC_ABBREVIATIONCOLOUR:
        colours[WordplayOptions::Abbreviation] = colour;
        break;
    }
}

void WordplayPropertiesViewWindows::FontChanged(const FontSetting& font, int id) {
    switch (id) {
    case IDC_ANSWERFONT:
        options_.answerFont = font;
        break;
    case IDC_RESULTFONT:
        options_.resultFont = font;
        break;
    case IDC_PRINTOUTFONT:
        options_.outputFont = font;
        break;
    }
}

void WordplayPropertiesViewWindows::SelectionChanged(int, int id) {
    if (id == IDC_DICTIONARYLIST) PostMessageA(Handle(), kDictionaryPicked, 0, 0);
}

INT_PTR WordplayPropertiesViewWindows::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kDictionaryPicked) {
        if (auto name = dictionaries_.GetSelectedName();
            name && !name->empty() && *name != dictionaryName_)
            SelectDictionary(*name);
        return TRUE;
    }
    return TabbyPropertiesViewWindows::DialogProc(msg, wParam, lParam);
}

void WordplayPropertiesViewWindows::Destroy(INT_PTR result) {
    WriteRecentDictionaries();
    dictionaries_.Clear();
    options_.maxPieces = TypedMaxPieces();
    options_.brackets = brackets_.State() == BST_CHECKED;
    options_.commonWordsOnly = commonWordsOnly_.State() == BST_CHECKED;
    options_.dictionary = dictionaryName_;
    TabbyPropertiesViewWindows::Destroy(result);
}
