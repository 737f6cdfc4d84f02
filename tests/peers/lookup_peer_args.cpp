// A program a lookup starts: it splits its command line as every Windows
// program's runtime does (CommandLineToArgvW) and records its arguments, one
// hex line each, in the file named by QUILLON_PEER_RECORD (written whole
// under another name first, so that a reader never sees half of it).
#include "PeerRecord.h"

#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("QUILLON_PEER_RECORD", path, sizeof path)) return 2;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 3;
    std::string lines;
    for (int i = 1; i < argc; ++i) {
        char buffer[4096] = {};
        WideCharToMultiByte(CP_ACP, 0, argv[i], -1, buffer, sizeof buffer - 1, nullptr, nullptr);
        lines += peer::Hex(buffer) + "\n";
    }
    LocalFree(argv);
    const std::string partial = std::string(path) + ".part";
    if (FILE* f = std::fopen(partial.c_str(), "wb")) {
        std::fputs(lines.c_str(), f);
        std::fclose(f);
        MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING);
    }
    return 0;
}
