#pragma once
// The window of a companion program (OWBUILD, OWMERGE): lists of files to
// read, an output file, and one job that turns the first into the second.
// The job runs on a worker thread so that the window keeps answering; its
// progress comes back as posted messages, and the Run button stops it while
// it runs. Closing the window stops a running job first. A job that stops or
// fails leaves the output file as it was. The window keeps its choices and
// its position in the settings under its own prefix.

#include "companions/FileListBox.h"
#include "context/Shell.h"
#include "framework/Dialog.h"
#include "settings/SettingsAccessor.h"

#include "common/Progress.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CompanionWindow : public fw::Dialog, public SettingsAccessor {
public:
    CompanionWindow(int templateId, std::string prefix, Shell& shell, std::string programDirectory,
                    SettingsStore& settings);
    ~CompanionWindow() override;

    bool Running() const { return worker_.joinable(); }
    // What the last job came to, as the window shows it.
    std::string ResultText() const;
    FileListBox& Lists() { return *files_[0].list; }
    FileListBox& SecondList() { return *files_[1].list; }
    // Starts the job as the Run button does; false when the window's choices
    // are incomplete (the user is told what is missing).
    bool Run();

protected:
    void SetupWindow() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;

    // Takes the job's order from the controls; false, with the problem named
    // by a string id, when something is missing.
    virtual bool Prepare(int& problem) = 0;
    // Runs on the worker thread; touches nothing but what Prepare stored.
    virtual bool Work(const quillon::tools::Progress& progress, std::string& error) = 0;
    // The result line of a job that succeeded, back on the window's thread.
    virtual std::string Outcome() = 0;
    // Filling and saving the window's own choices.
    virtual void LoadChoices() = 0;
    virtual void SaveChoices() = 0;

    // One more list of files, with its Remove button, for a window that reads
    // more kinds of files than the two every companion has.
    FileListBox& AddFileList(int listId, int removeId);

    // The file dialogs of the window. The filter is a string-table text
    // with '|' between its parts.
    std::vector<std::string> ChooseFilesToRead(int titleId, int filterId);
    void ChooseOutput(int filterId, const char* defaultExtension);
    std::string OutputPath() const;
    std::string DialogText(int id) const;
    std::string LoadText(int id) const;
    // Numbers as the user's locale writes them (344,965).
    static std::string FormatCount(std::size_t value);
    // Texts stored as one setting, '|' between them (no file name holds one).
    std::vector<std::string> GetSettingList(const std::string& name) const;
    void SetSettingList(const std::string& name, const std::vector<std::string>& items) const;

private:
    void OnRunOrStop();
    void OnProgress(int permille);
    void OnJobDone();
    void OnHelp();
    void UpdateButtons();
    void EnableChoices(bool enable);
    void ShowResult(const std::string& text);
    void RestorePosition();
    void SavePosition();

    int templateId_;
    Shell& shell_;
    std::string programDirectory_;
    struct FileList {
        std::unique_ptr<FileListBox> list; // stays put while the vector grows
        int listId;
        int removeId;
    };
    std::vector<FileList> files_;
    std::thread worker_;
    HWND jobWindow_ = nullptr; // where the worker posts; set before it starts
    std::atomic<bool> stop_{false};
    std::atomic<int> posted_{-1}; // the last progress posted, to post each value once
    quillon::tools::Progress::Callback report_;
    bool succeeded_ = false;
    std::string error_;
    bool closeWhenDone_ = false;
    std::string runText_; // the Run button's caption while no job runs
};

// Shows the window of a companion program started without arguments and
// returns its exit code once it closes. A console that Windows made for the
// program alone is let go first, so that only the window shows.
int RunCompanionWindow(CompanionWindow& window);

// Texts typed in the window (the ANSI code page) for the system's wide
// functions, and for dictionaries, which hold Windows-1252 ('?' for what
// 1252 lacks).
std::wstring AnsiToWide(const std::string& text);
std::string AnsiToCp1252(const std::string& text);
// The tools' messages, which are UTF-8, for the window.
std::string Utf8ToAnsi(const std::string& text);
