#pragma once
// The application-wide context that every window can reach: where the program
// and its help live, the main window placement in the settings, the printer,
// help, string-table texts, the status bar, the program icons and the
// companion programs.

#include "context/HelpEngine.h"
#include "context/Shell.h"
#include "framework/Handles.h"
#include "framework/Printer.h"
#include "framework/StatusBar.h"
#include "framework/Window.h"

#include <memory>
#include <string>

class LookupMethodSet;
class SettingsStore;

// <windows.h> maps GetPrinter to the print spooler's GetPrinterA; the
// context's own GetPrinter must keep its name whatever was included before.
#ifdef GetPrinter
#undef GetPrinter
#endif

// The folder of the running executable, ending in a backslash, named for the
// ANSI API (by its short name when the code page cannot hold the long one);
// empty when it cannot be named at all.
std::string ProgramDirectory();
// The folder part of an executable path up to and including its last
// backslash; empty when there is none.
std::string DirectoryOfPath(const std::string& path);

class AppContext {
public:
    struct Placement {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    AppContext(std::string helpFilePath, std::string programDirectory);
    AppContext(std::string helpFilePath, std::string programDirectory, Shell& shell,
               SettingsStore& settings);
    virtual ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const std::string& HelpFilePath() const { return helpFilePath_; }
    const std::string& ProgramDirectory() const { return programDirectory_; }
    fw::Window* ResultsView() const { return resultsView_; }
    fw::StatusBar* StatusBar() const { return statusBar_; }
    HICON LargeIcon() const { return largeIcon_.Get(); }
    HICON SmallIcon() const { return smallIcon_.Get(); }
    Shell& GetShell() const { return shell_; }
    SettingsStore& Settings() const { return settings_; }

    // Records the results view and the status bar, reads the stored main
    // window placement (0 for each value that is missing) and loads the icons.
    Placement LoadWindowPlacement(fw::Window* resultsView, fw::StatusBar* statusBar);
    // Stores the placement and closes the help.
    void SaveWindowPlacement(int x, int y, int width, int height);
    // The printer, made on first use; null while the system has no default
    // printer (asked again on the next call).
    fw::Printer* GetPrinter();
    void ShowHelp(UINT command, ULONG_PTR datum);
    std::string LoadResourceString(UINT id) const;
    void SetStatusText(UINT id);
    // Starts a companion program beside this one, without arguments.
    void LaunchTool(const std::string& name);
    // Opens a web address or mailto: link with the user's programs.
    void OpenAddress(const std::string& address);

    // The lookup methods, loaded from the settings on first use and edited in
    // place until the program ends.
    LookupMethodSet& LookupMethods();
    // Looks word up with the method that command names (Ctrl+Alt+Enter's
    // default or a numbered one); when that fails, tells the user in a box
    // over owner (the main window when null). True when it was delivered.
    bool LookupOrReport(UINT command, const std::string& word, HWND owner = nullptr);
    // Leaves text on the clipboard, opened for the results view.
    void CopyTextToClipboard(const std::string& text);
    // Rewrites an External Lookup submenu from the lookup methods.
    void RebuildLookupMenu(HMENU submenu, bool enableItems);

protected:
    virtual std::unique_ptr<fw::Printer> CreatePrinter();

private:
    std::string helpFilePath_;
    std::string programDirectory_;
    fw::Window* resultsView_ = nullptr;
    fw::StatusBar* statusBar_ = nullptr;
    std::unique_ptr<fw::Printer> printer_;
    fw::Icon largeIcon_;
    fw::Icon smallIcon_;
    Shell& shell_;
    SettingsStore& settings_;
    HelpEngine help_;
    std::unique_ptr<LookupMethodSet> lookupMethods_;
};
