#pragma once
// OWMERGE's window: lists to merge and lists of entries to leave out in, one
// sorted list without repeats out, in the encoding chosen.

#include "companions/CompanionWindow.h"

#include "common/MergeJob.h"

class OwmergeWindow : public CompanionWindow {
public:
    OwmergeWindow(Shell& shell, std::string programDirectory, SettingsStore& settings);

protected:
    void SetupWindow() override;
    bool Prepare(int& problem) override;
    bool Work(const quillon::tools::Progress& progress, std::string& error) override;
    std::string Outcome() override;
    void LoadChoices() override;
    void SaveChoices() override;

private:
    quillon::tools::MergeRequest request_;
    quillon::tools::MergeReport report_;
};

// OWMERGE started without arguments: the window, run until it closes.
int RunOwmergeWindow();
