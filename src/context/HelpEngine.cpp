#include "context/HelpEngine.h"

#include "help/HelpPages.h"

std::string HelpEngine::PageFor(const std::string& helpFile, UINT command, ULONG_PTR datum) {
    std::string folder = helpFile.substr(0, helpFile.find_last_of("\\/") + 1);
    folder += kHelpFolder;
    folder += '\\';
    switch (command) {
    case HELP_CONTEXT:
        // Context numbers are small positive integers; anything else is the contents.
        if (datum > 0 && datum <= 0x7FFFFFFF)
            return folder + HelpPageForContext(static_cast<int>(datum));
        return folder + kHelpContentsPage;
    case HELP_FINDER:
    case HELP_CONTENTS:
        return folder + kHelpContentsPage;
    default: // HELP_QUIT and commands this engine does not offer
        return {};
    }
}

std::string HelpEngine::Call(const std::string& helpFile, UINT command, ULONG_PTR datum) {
    std::string page = PageFor(helpFile, command, datum);
    if (page.empty()) return page;
    if (!shell_.FileExists(page)) {
        shell_.Report("The help page\n" + page +
                          "\ncannot be found. Reinstall Quillon to restore it.",
                      "Quillon Help");
        return {};
    }
    shell_.Open(page);
    return page;
}
