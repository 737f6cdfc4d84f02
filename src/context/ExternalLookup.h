#pragma once
// External lookups as Windows delivers them: a DDE execute transaction, a
// WM_COMMAND to a window found by its title with the word on the clipboard,
// the shell's "open" and a program start; and rewriting a real External
// Lookup submenu from the lookup methods.

#include "context/AppContext.h"
#include "lookup/LookupMethodSet.h"

#include <windows.h>

#include <string>
#include <vector>

// One XTYP_EXECUTE transaction of text (CF_TEXT, with its terminating zero)
// as a DDE client, waiting at most ten seconds: 0 delivered, 1 DDE could not
// start, 2 no server answered for service and topic, 3 the server refused or
// did not answer in time.
int DdeExecute(const std::string& service, const std::string& topic, const std::string& text);

// Empties the clipboard, opened on behalf of owner, and leaves text on it;
// false when the clipboard stayed busy.
bool PutTextOnClipboard(HWND owner, const std::string& text);

// The four kinds of lookup through the system, on behalf of the program's
// main window (the sender of a WM_COMMAND).
class Win32LookupPlatform : public LookupPlatform {
public:
    explicit Win32LookupPlatform(AppContext& context) : context_(context) {}

    bool OpenAddress(const std::string& address) override;
    int DdeExecute(const std::string& service, const std::string& topic,
                   const std::string& text) override;
    bool SendCommand(const std::string& title, int command, const std::string& word) override;
    bool LaunchProgram(const std::string& program, const std::string& argument) override;

private:
    AppContext& context_;
};

// Rewrites the lookup items above the separator and "&Setup..." of an
// External Lookup submenu.
void RebuildLookupMenu(HMENU submenu, const std::vector<LookupMenuItem>& items);
