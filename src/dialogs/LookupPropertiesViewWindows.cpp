#include "dialogs/LookupPropertiesViewWindows.h"

#include "lookup/LookupText.h"
#include "resources/resource.h"

#include <commdlg.h>

namespace {

// The controls of one row; 0 where the kind has no such control. A program
// row's first field is its read-only path, set only by Browse....
struct RowIds {
    LookupKind kind;
    int slot;
    int check, name, first, second, browse, encoding;
};

constexpr RowIds kRows[] = {
    {LookupKind::WebSearch, 1, IDC_WEB1CHECK, IDC_WEB1NAME, IDC_WEB1ADDRESS, 0, 0, 0},
    {LookupKind::WebSearch, 2, IDC_WEB2CHECK, IDC_WEB2NAME, IDC_WEB2ADDRESS, 0, 0, 0},
    {LookupKind::WebSearch, 3, IDC_WEB3CHECK, IDC_WEB3NAME, IDC_WEB3ADDRESS, 0, 0, 0},
    {LookupKind::WebSearch, 4, IDC_WEB4CHECK, IDC_WEB4NAME, IDC_WEB4ADDRESS, 0, 0, 0},
    {LookupKind::DDE, 1, IDC_DDE1CHECK, IDC_DDE1NAME, IDC_DDE1SERVICE, IDC_DDE1TOPIC, 0, 0},
    {LookupKind::DDE, 2, IDC_DDE2CHECK, IDC_DDE2NAME, IDC_DDE2SERVICE, IDC_DDE2TOPIC, 0, 0},
    {LookupKind::DDE, 3, IDC_DDE3CHECK, IDC_DDE3NAME, IDC_DDE3SERVICE, IDC_DDE3TOPIC, 0, 0},
    {LookupKind::DDE, 4, IDC_DDE4CHECK, IDC_DDE4NAME, IDC_DDE4SERVICE, IDC_DDE4TOPIC, 0, 0},
    {LookupKind::Message, 1, IDC_MESSAGE1CHECK, IDC_MESSAGE1NAME, IDC_MESSAGE1WINDOW,
     IDC_MESSAGE1COMMAND, 0, 0},
    {LookupKind::Message, 2, IDC_MESSAGE2CHECK, IDC_MESSAGE2NAME, IDC_MESSAGE2WINDOW,
     IDC_MESSAGE2COMMAND, 0, 0},
    {LookupKind::Exec, 1, IDC_EXEC1CHECK, IDC_EXEC1NAME, IDC_EXEC1PROGRAM, 0, IDC_EXEC1BROWSE,
     IDC_EXEC1ENCODING},
    {LookupKind::Exec, 2, IDC_EXEC2CHECK, IDC_EXEC2NAME, IDC_EXEC2PROGRAM, 0, IDC_EXEC2BROWSE,
     IDC_EXEC2ENCODING},
};

// The encoding list's entries, in the order of their index.
constexpr UINT kEncodings[] = {IDS_NOENCODING, IDS_HEXENCODING};

} // namespace

struct LookupPropertiesViewWindows::Row {
    Row(LookupPropertiesViewWindows& owner, const RowIds& rowIds, LookupMethod& m)
        : ids(rowIds), method(m), check(owner, rowIds.check), name(owner, rowIds.name) {
        if (ids.browse) {
            program = std::make_unique<PVWStatic>(owner, ids.first);
            browse = std::make_unique<PVWPushButton>(owner, ids.browse);
            encoding = std::make_unique<PVWCombo>(owner, ids.encoding);
        } else {
            first = std::make_unique<PVWEdit>(owner, ids.first);
        }
        if (ids.second) second = std::make_unique<PVWEdit>(owner, ids.second);
    }

    const RowIds& ids;
    LookupMethod& method;
    PVWCheckBox check;
    PVWEdit name;
    std::unique_ptr<PVWEdit> first;
    std::unique_ptr<PVWEdit> second;
    std::unique_ptr<PVWStatic> program;
    std::unique_ptr<PVWPushButton> browse;
    std::unique_ptr<PVWCombo> encoding;
};

LookupPropertiesViewWindows::LookupPropertiesViewWindows(AppContext& context)
    : PropertiesViewWindows("Lookup", context, IDD_LOOKUP, false, false),
      methods_(context.LookupMethods()), testWord_(*this, IDC_TESTWORD),
      testLookup_(*this, IDC_TESTLOOKUP), saveDefaults_(*this, IDC_LOOKUPSAVEDEFAULTS) {
    for (const RowIds& ids : kRows)
        rows_.push_back(std::make_unique<Row>(*this, ids, methods_.Method(ids.kind, ids.slot)));
}

LookupPropertiesViewWindows::~LookupPropertiesViewWindows() = default;

void LookupPropertiesViewWindows::SetupControls() {
    for (const auto& row : rows_) {
        const LookupMethod& m = row->method;
        row->name.SetEditText(m.label);
        if (row->first) row->first->SetEditText(m.first);
        if (row->second) row->second->SetEditText(m.second);
        if (row->program) row->program->SetText(m.first);
        if (row->encoding) {
            for (UINT id : kEncodings)
                row->encoding->Add(Context().LoadResourceString(id), false);
            const int index = CommandNumber(m.second) != 0 ? 1 : 0;
            SendMessageA(row->encoding->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
    RefreshChecks();
    testWord_.SetEditText(methods_.TestWord());
}

LookupPropertiesViewWindows::Row* LookupPropertiesViewWindows::FindRow(int id) const {
    for (const auto& row : rows_) {
        const RowIds& ids = row->ids;
        if (id == ids.check || id == ids.name || id == ids.first || id == ids.browse ||
            id == ids.encoding || (ids.second && id == ids.second))
            return row.get();
    }
    return nullptr;
}

void LookupPropertiesViewWindows::RefreshChecks() {
    for (const auto& row : rows_) {
        const LookupMethod& m = row->method;
        const int state = !m.enabled                           ? BST_UNCHECKED
                          : m.label == methods_.DefaultLabel() ? BST_CHECKED
                                                               : BST_INDETERMINATE;
        row->check.SetState(state);
    }
}

void LookupPropertiesViewWindows::ControlCommand(HWND, int id) {
    if (id == IDC_TESTLOOKUP) {
        OnTestLookup();
        return;
    }
    if (id == IDC_LOOKUPSAVEDEFAULTS) {
        methods_.Save(Settings());
        return;
    }
    Row* row = FindRow(id);
    if (!row) return;
    if (id == row->ids.check)
        OnCheckClicked(*row);
    else if (id == row->ids.browse)
        OnBrowse(*row);
}

void LookupPropertiesViewWindows::EditChanged(HWND control, int id) {
    if (id == IDC_TESTWORD) {
        methods_.SetTestWord(testWord_.Text());
        return;
    }
    Row* row = FindRow(id);
    if (!row) return;
    if (id == row->ids.name) {
        OnNameChanged(*row);
        return;
    }
    const fw::Window* edit = fw::Window::FromHandle(control);
    const std::string text = edit ? edit->Text() : std::string();
    if (id == row->ids.first)
        row->method.first = text;
    else if (id == row->ids.second)
        row->method.second = text;
}

void LookupPropertiesViewWindows::SelectionChanged(int index, int id) {
    Row* row = FindRow(id);
    if (!row || id != row->ids.encoding || index < 0) return;
    row->method.second.assign(1, index ? '1' : '0');
}

// Typing the first letter of a name switches the method on, deleting the last
// switches it off; renaming leaves it as it was. The default label is not
// followed: a renamed default gives way to the first enabled method when the
// menu is next built.
void LookupPropertiesViewWindows::OnNameChanged(Row& row) {
    const std::string text = row.name.Text();
    const bool emptyNow = text.empty();
    if (emptyNow != row.method.label.empty()) {
        row.method.enabled = !emptyNow;
        row.check.SetState(emptyNow ? BST_UNCHECKED : BST_INDETERMINATE);
    }
    row.method.label = text;
}

void LookupPropertiesViewWindows::OnCheckClicked(Row& row) {
    const int state = row.check.State();
    row.method.enabled = state != BST_UNCHECKED;
    if (state == BST_CHECKED)
        methods_.SetDefaultLabel(row.method.label);
    else if (methods_.DefaultLabel() == row.method.label)
        methods_.SetDefaultLabel(std::string());
    RefreshChecks();
}

void LookupPropertiesViewWindows::OnBrowse(Row& row) {
    if (auto path = ChooseProgram()) {
        row.program->SetText(*path);
        row.method.first = *path;
    }
}

std::optional<std::string> LookupPropertiesViewWindows::ChooseProgram() {
    std::string filter = Context().LoadResourceString(IDS_APPLICATIONFILEFILTER);
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    const std::string title = Context().LoadResourceString(IDS_APPLICATIONFILESELECTION);
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title.c_str();
    // A name typed without extension is a program: "dict" finds dict.exe.
    ofn.lpstrDefExt = "exe";
    ofn.Flags =
        OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

void LookupPropertiesViewWindows::OnTestLookup() {
    methods_.NormalizeDefault();
    RefreshChecks();
    Context().LookupOrReport(LookupMethodSet::kDefaultCommand, methods_.TestWord(), Handle());
}
