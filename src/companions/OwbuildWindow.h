#pragma once
// OWBUILD's window: word lists and WordNet indexes in, a dictionary file out,
// with the description, file format, common words and filters the command
// line offers.

#include "companions/CompanionWindow.h"

#include "common/BuildJob.h"

class OwbuildWindow : public CompanionWindow {
public:
    OwbuildWindow(Shell& shell, std::string programDirectory, SettingsStore& settings);

    // The lists whose words are marked common.
    FileListBox& CommonList() { return common_; }

protected:
    void SetupWindow() override;
    bool Prepare(int& problem) override;
    bool Work(const quillon::tools::Progress& progress, std::string& error) override;
    std::string Outcome() override;
    void LoadChoices() override;
    void SaveChoices() override;

private:
    FileListBox& common_;
    quillon::tools::BuildRequest request_;
    quillon::tools::BuildReport report_;
};

// OWBUILD started without arguments: the window, run until it closes.
int RunOwbuildWindow();
