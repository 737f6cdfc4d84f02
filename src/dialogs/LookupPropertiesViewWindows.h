#pragma once
// "Lookup Methods": edits the lookup methods in place, one row per editable
// slot (four web searches, four DDE, two message and two program methods).
// Every keystroke and click changes the live methods, so the External Lookup
// menus show the change as soon as the dialog closes; only "&Save as
// defaults" writes them to the settings. A row's "Name:" box shows its role:
// clear for off, checked for the default method, grey for on.

#include "dialogs/PVWControls.h"
#include "dialogs/PropertiesViewWindows.h"
#include "lookup/LookupMethodSet.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class LookupPropertiesViewWindows : public PropertiesViewWindows {
public:
    explicit LookupPropertiesViewWindows(AppContext& context);
    ~LookupPropertiesViewWindows() override;

    void ControlCommand(HWND control, int id) override;
    void EditChanged(HWND control, int id) override;
    void SelectionChanged(int index, int id) override;

protected:
    void SetupControls() override;

private:
    struct Row;

    Row* FindRow(int id) const;
    void RefreshChecks();
    void OnNameChanged(Row& row);
    void OnCheckClicked(Row& row);
    void OnBrowse(Row& row);
    // The program a confirmed file dialog names, or none.
    std::optional<std::string> ChooseProgram();
    void OnTestLookup();

    LookupMethodSet& methods_;
    PVWEdit testWord_;
    PVWPushButton testLookup_;
    PVWPushButton saveDefaults_;
    std::vector<std::unique_ptr<Row>> rows_;
};
