// OWMERGE: merges word lists.
#include "common/Commands.h"
#include "platform/Console.h"
#include "platform/Services.h"

#include <iostream>

int main(int argc, char** argv) {
    quillon::tools::InstallPlatform();
    quillon::tools::Utf8Console console;
    const int code =
        quillon::tools::RunOwmerge(quillon::tools::Arguments(argc, argv), std::cout, std::cerr);
    if (argc == 1) quillon::tools::HoldOwnConsole();
    return code;
}
