#pragma once
// The help engine: a folder of HTML pages beside the program stands in for a
// compiled help file. It answers the classic help commands: HELP_CONTEXT opens
// the page of a context number, HELP_FINDER (and HELP_CONTENTS)
// the contents page, HELP_QUIT has nothing to close (pages open in the user's
// browser). A page that is missing is reported to the user.

#include "context/Shell.h"

#include <windows.h>

#include <string>

class HelpEngine {
public:
    explicit HelpEngine(Shell& shell) : shell_(shell) {}

    // helpFile names the program's help file; its folder holds the "help"
    // folder of pages. Returns the page opened, or an empty text.
    std::string Call(const std::string& helpFile, UINT command, ULONG_PTR datum);

    // The page a command shows, or an empty text when it shows none.
    static std::string PageFor(const std::string& helpFile, UINT command, ULONG_PTR datum);

private:
    Shell& shell_;
};
