// The console the programs print to. Started from Quillon's Tools menu,
// OWBUILD and OWMERGE get a console window of their own that would close the
// moment the usage text is printed, so they wait for Enter when no other
// process shares the console. Everything the programs print is UTF-8, which a
// Windows console shows only in its UTF-8 code page.
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

// Switches the console's output to UTF-8 for the life of the object and then
// gives the console back its own code page, since the console outlives us.
class Utf8Console {
public:
    Utf8Console() {
#ifdef _WIN32
        previous_ = GetConsoleOutputCP();
        if (previous_ != 0 && previous_ != CP_UTF8) SetConsoleOutputCP(CP_UTF8);
#endif
    }
    ~Utf8Console() {
#ifdef _WIN32
        std::fflush(stdout);
        std::fflush(stderr);
        if (previous_ != 0 && previous_ != CP_UTF8) SetConsoleOutputCP(previous_);
#endif
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
#ifdef _WIN32
    unsigned previous_ = 0;
#endif
};

} // namespace quillon::tools
