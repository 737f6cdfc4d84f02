// Started from Quillon's Tools menu, OWBUILD and OWMERGE get a console window
// of their own that would close the moment the usage text is printed. When no
// other process shares the console, wait for Enter so the text can be read.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#endif

namespace quillon::tools {

inline void HoldOwnConsole() {
#ifdef _WIN32
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1) {
        std::fputs("\nPress Enter to close this window.", stdout);
        std::fflush(stdout);
        (void)std::getchar();
    }
#endif
}

} // namespace quillon::tools
