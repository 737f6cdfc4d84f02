// Help is a folder of HTML pages beside the program ("help\"). Windows and
// menus ask for help by context number; this table turns a number into the
// page that explains it. Menu commands share their menu's page, so a command
// highlighted in a menu when F1 is pressed still finds its explanation.
#pragma once

#include <span>
#include <string>

struct HelpTopic {
    int context;
    const char* page; // file name inside the help folder
};

// The folder, relative to the program's folder, that holds the pages.
inline constexpr const char* kHelpFolder = "help";
// The contents page, shown for the Contents command.
inline constexpr const char* kHelpContentsPage = "index.html";

// Every context number the program asks for, with its page.
std::span<const HelpTopic> HelpTopics();

// The page for a context; the contents page for a number nobody registered,
// so a help request never ends on a missing file.
std::string HelpPageForContext(int context);
