#include "companions/OwmergeWindow.h"

#include "context/AppContext.h"
#include "context/Persist.h"
#include "resources/resource.h"

#include <cstdio>

using namespace quillon::tools;

OwmergeWindow::OwmergeWindow(Shell& shell, std::string programDirectory, SettingsStore& settings)
    : CompanionWindow(IDD_OWMERGE, "Owmerge", shell, std::move(programDirectory), settings) {
    commands_.Add(IDC_SECONDADD, [this] {
        SecondList().Add(ChooseFilesToRead(IDS_REMOVALSELECTION, IDS_WORDLISTFILTER));
    });
    commands_.Add(IDC_OUTPUTBROWSE, [this] { ChooseOutput(IDS_OUTPUTLIST, "txt"); });
}

void OwmergeWindow::SetupWindow() {
    HWND encoding = Item(IDC_ENCODING);
    for (int id : {IDS_ENCODINGUTF8, IDS_ENCODINGANSI})
        SendMessageA(encoding, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(id).c_str()));
    CompanionWindow::SetupWindow();
}

void OwmergeWindow::LoadChoices() {
    Lists().Add(GetSettingList("Lists"));
    SecondList().Add(GetSettingList("Removals"));
    const bool ignoreCase = GetSettingInt("IgnoreCase", 0) != 0;
    CheckRadioButton(Handle(), IDC_EXACTCASE, IDC_IGNORECASE,
                     ignoreCase ? IDC_IGNORECASE : IDC_EXACTCASE);
    SendMessageA(Item(IDC_ENCODING), CB_SETCURSEL, GetSettingInt("Utf8", 1) ? 0 : 1, 0);
    SetDlgItemTextA(Handle(), IDC_OUTPUT, GetSettingString("Output", "").c_str());
}

void OwmergeWindow::SaveChoices() {
    SetSettingList("Lists", Lists().Paths());
    SetSettingList("Removals", SecondList().Paths());
    SetSettingInt("IgnoreCase", IsDlgButtonChecked(Handle(), IDC_IGNORECASE) ? 1 : 0);
    SetSettingInt("Utf8", SendMessageA(Item(IDC_ENCODING), CB_GETCURSEL, 0, 0) == 1 ? 0 : 1);
    SetSettingString("Output", DialogText(IDC_OUTPUT));
}

bool OwmergeWindow::Prepare(int& problem) {
    request_ = {};
    request_.lists = Lists().Paths();
    request_.removals = SecondList().Paths();
    if (request_.lists.empty()) {
        problem = IDS_NOLISTS;
        return false;
    }
    request_.output = OutputPath();
    if (request_.output.empty()) {
        problem = IDS_NOOUTPUT;
        return false;
    }
    request_.ignoreCase = IsDlgButtonChecked(Handle(), IDC_IGNORECASE) != 0;
    request_.utf8 = SendMessageA(Item(IDC_ENCODING), CB_GETCURSEL, 0, 0) != 1;
    return true;
}

bool OwmergeWindow::Work(const Progress& progress, std::string& error) {
    return MergeWordLists(request_, report_, error, progress);
}

std::string OwmergeWindow::Outcome() {
    const std::string file = request_.output.substr(request_.output.find_last_of("\\/") + 1);
    char text[1024] = {};
    std::snprintf(text, sizeof text, LoadText(IDS_MERGERESULT).c_str(), file.c_str(),
                  FormatCount(report_.written).c_str(), FormatCount(report_.repeats).c_str(),
                  FormatCount(report_.removed).c_str());
    return text;
}

int RunOwmergeWindow() {
    OwmergeWindow window(DefaultShell(), ProgramDirectory(), RegistrySettings());
    return RunCompanionWindow(window);
}
