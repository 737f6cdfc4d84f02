// OWBUILD: builds .owd dictionaries from word lists.
#include "common/Commands.h"
#include "platform/Console.h"
#include "platform/Services.h"

#include <iostream>

#ifdef _WIN32
#include "companions/OwbuildWindow.h"
#endif

int main(int argc, char** argv) {
    quillon::tools::InstallPlatform();
#ifdef _WIN32
    // Started without arguments (from Quillon's Tools menu, the Start menu or
    // Explorer) it works in a window; --help still prints the usage.
    if (argc == 1) return RunOwbuildWindow();
#endif
    quillon::tools::Utf8Console console;
    const int code =
        quillon::tools::RunOwbuild(quillon::tools::Arguments(argc, argv), std::cout, std::cerr);
    if (argc == 1) quillon::tools::HoldOwnConsole();
    return code;
}
