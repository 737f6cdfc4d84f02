// quillon: wordplay for an answer, from the command line.
#include "platform/Console.h"
#include "platform/Services.h"
#include "quillon/QuillonCommand.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The folder that holds this program, where the default dictionary lives, in
// the system's own encoding.
std::string ProgramDirectory(const char* argv0) {
    std::error_code error;
#ifdef _WIN32
    // The C runtime keeps the program's full path in the ANSI code page;
    // std::filesystem would hand it back converted, so it is cut as a string.
    const std::string path = _pgmptr != nullptr ? _pgmptr : "";
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos) return path.substr(0, slash);
#else
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path().string();
#endif
    const auto absolute = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error);
    return error ? std::string(".") : absolute.parent_path().string();
}

bool StandardOutputIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stdout)) != 0;
#else
    return isatty(STDOUT_FILENO) != 0;
#endif
}

} // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // A batch allocates and frees the same few megabytes for every answer;
    // glibc would give them back to the system after each one and take them
    // again a page fault at a time.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    quillon::tools::InstallPlatform();
    quillon::tools::Utf8Console console;
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    quillon::cli::Environment environment;
    environment.programDirectory = ProgramDirectory(argc > 0 ? argv[0] : nullptr);
    environment.terminal = StandardOutputIsTerminal() && std::getenv("NO_COLOR") == nullptr;
    environment.in = &std::cin;
    return quillon::cli::RunQuillon(args, environment, std::cout, std::cerr);
}
