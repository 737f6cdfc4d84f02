// What the tools' portable code needs of the operating system. Each program
// installs the real services at start (platform/Services.h); tests swap in
// their own. The defaults are POSIX's, where a path is a string of bytes shown
// as it is and rename replaces a file in one step.
#pragma once

#include <string>

namespace quillon::tools {

struct PlatformServices {
    // Puts the file `from` in the place of `to` in one step, replacing any file
    // there. On failure `error` says why and `to` is as it was.
    bool (*replaceFile)(const std::string& from, const std::string& to, std::string& error);
    // A text in the system's encoding (a path, a command-line argument) as
    // UTF-8 for the terminal.
    std::string (*systemToUtf8)(const std::string& path);
    // The absolute form of a path, in the system's encoding.
    std::string (*absolutePath)(const std::string& path);
};

const PlatformServices& Platform();
// Returns the services that were installed before.
PlatformServices SetPlatform(const PlatformServices& services);
PlatformServices PosixPlatform();

} // namespace quillon::tools
