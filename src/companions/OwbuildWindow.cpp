#include "companions/OwbuildWindow.h"

#include "context/AppContext.h"
#include "context/Persist.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <cstdio>

using namespace quillon::tools;

OwbuildWindow::OwbuildWindow(Shell& shell, std::string programDirectory, SettingsStore& settings)
    : CompanionWindow(IDD_OWBUILD, "Owbuild", shell, std::move(programDirectory), settings),
      common_(AddFileList(IDC_COMMONLIST, IDC_COMMONREMOVE)) {
    commands_.Add(IDC_SECONDADD, [this] {
        SecondList().Add(ChooseFilesToRead(IDS_WORDNETSELECTION, IDS_WORDNETFILTER));
    });
    commands_.Add(IDC_COMMONADD, [this] {
        common_.Add(ChooseFilesToRead(IDS_COMMONSELECTION, IDS_WORDLISTFILTER));
    });
    commands_.Add(IDC_OUTPUTBROWSE, [this] { ChooseOutput(IDS_OUTPUTDICTIONARY, "owd"); });
}

void OwbuildWindow::SetupWindow() {
    HWND format = Item(IDC_FORMATVERSION);
    for (int id : {IDS_FORMATVERSION1, IDS_FORMATVERSION0})
        SendMessageA(format, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(id).c_str()));
    const std::wstring cue = AnsiToWide(kDefaultDescription);
    SendMessageA(Item(IDC_BUILDDESCRIPTION), EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(cue.c_str()));
    // The longest description a version 1 file holds.
    SendMessageA(Item(IDC_BUILDDESCRIPTION), EM_LIMITTEXT, 999, 0);
    CompanionWindow::SetupWindow();
}

void OwbuildWindow::LoadChoices() {
    Lists().Add(GetSettingList("Lists"));
    SecondList().Add(GetSettingList("WordNet"));
    common_.Add(GetSettingList("Common"));
    SetDlgItemTextA(Handle(), IDC_BUILDDESCRIPTION, GetSettingString("Description", "").c_str());
    SendMessageA(Item(IDC_FORMATVERSION), CB_SETCURSEL, GetSettingInt("Version", 1) == 0 ? 1 : 0,
                 0);
    CheckDlgButton(Handle(), IDC_NOPOSSESSIVES,
                   GetSettingInt("NoPossessives", 0) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_PLAINONLY,
                   GetSettingInt("Plain", 0) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_CLUEPHRASES,
                   GetSettingInt("CluePhrases", 0) ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(Handle(), IDC_OUTPUT, GetSettingString("Output", "").c_str());
}

void OwbuildWindow::SaveChoices() {
    SetSettingList("Lists", Lists().Paths());
    SetSettingList("WordNet", SecondList().Paths());
    SetSettingList("Common", common_.Paths());
    SetSettingString("Description", DialogText(IDC_BUILDDESCRIPTION));
    SetSettingInt("Version",
                  SendMessageA(Item(IDC_FORMATVERSION), CB_GETCURSEL, 0, 0) == 1 ? 0 : 1);
    SetSettingInt("NoPossessives", IsDlgButtonChecked(Handle(), IDC_NOPOSSESSIVES) ? 1 : 0);
    SetSettingInt("Plain", IsDlgButtonChecked(Handle(), IDC_PLAINONLY) ? 1 : 0);
    SetSettingInt("CluePhrases", IsDlgButtonChecked(Handle(), IDC_CLUEPHRASES) ? 1 : 0);
    SetSettingString("Output", DialogText(IDC_OUTPUT));
}

bool OwbuildWindow::Prepare(int& problem) {
    request_ = {};
    for (const std::string& path : Lists().Paths())
        request_.sources.push_back({path, ListFormat::Lines});
    for (const std::string& path : SecondList().Paths())
        request_.sources.push_back({path, ListFormat::WordNetPhrases});
    if (request_.sources.empty()) {
        problem = IDS_NOLISTS;
        return false;
    }
    request_.output = OutputPath();
    if (request_.output.empty()) {
        problem = IDS_NOOUTPUT;
        return false;
    }
    request_.options.version =
        SendMessageA(Item(IDC_FORMATVERSION), CB_GETCURSEL, 0, 0) == 1 ? 0 : 1;
    request_.commonLists = common_.Paths();
    // Version 0 files have no flag bits to mark an entry with.
    if (!request_.commonLists.empty() && request_.options.version == 0) {
        problem = IDS_COMMONNEEDSVERSION1;
        return false;
    }
    // A name typed without an extension gets the dictionaries' own.
    const std::size_t name = request_.output.find_last_of("\\/:");
    if (request_.output.find('.', name == std::string::npos ? 0 : name + 1) == std::string::npos) {
        request_.output += ".owd";
        SetDlgItemTextA(Handle(), IDC_OUTPUT, request_.output.c_str());
    }
    const std::string description = AnsiToCp1252(DialogText(IDC_BUILDDESCRIPTION));
    request_.options.description = description.empty() ? kDefaultDescription : description;
    request_.filter.dropPossessives = IsDlgButtonChecked(Handle(), IDC_NOPOSSESSIVES) != 0;
    request_.filter.plainOnly = IsDlgButtonChecked(Handle(), IDC_PLAINONLY) != 0;
    request_.cluePhrases = IsDlgButtonChecked(Handle(), IDC_CLUEPHRASES) != 0;
    return true;
}

bool OwbuildWindow::Work(const Progress& progress, std::string& error) {
    return BuildDictionaryFile(request_, report_, error, progress);
}

std::string OwbuildWindow::Outcome() {
    const BuildStats& stats = report_.build;
    const std::string file = request_.output.substr(request_.output.find_last_of("\\/") + 1);
    char text[1024] = {};
    std::snprintf(text, sizeof text, LoadText(IDS_BUILDRESULT).c_str(), file.c_str(),
                  FormatCount(stats.written).c_str(), FormatCount(SkippedEntries(stats)).c_str(),
                  FormatCount(stats.fileSize).c_str());
    std::string line = text;
    if (!request_.commonLists.empty()) {
        std::snprintf(text, sizeof text, LoadText(IDS_MARKEDCOMMON).c_str(),
                      FormatCount(stats.marked).c_str());
        line += text;
    }
    if (stats.descriptionCut) {
        std::snprintf(text, sizeof text, LoadText(IDS_DESCRIPTIONCUT).c_str(),
                      request_.options.version ? 999 : 79);
        line += text;
    }
    return line;
}

int RunOwbuildWindow() {
    OwbuildWindow window(DefaultShell(), ProgramDirectory(), RegistrySettings());
    return RunCompanionWindow(window);
}
