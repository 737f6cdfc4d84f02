#include "common/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace quillon::tools {
namespace {

bool PosixReplace(const std::string& from, const std::string& to, std::string& error) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    error = std::strerror(errno);
    return false;
}

std::string SamePath(const std::string& path) {
    return path;
}

std::string PosixAbsolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

PlatformServices& Installed() {
    static PlatformServices services = PosixPlatform();
    return services;
}

} // namespace

PlatformServices PosixPlatform() {
    return {PosixReplace, SamePath, PosixAbsolute};
}

const PlatformServices& Platform() {
    return Installed();
}

PlatformServices SetPlatform(const PlatformServices& services) {
    const PlatformServices before = Installed();
    Installed() = services;
    return before;
}

} // namespace quillon::tools
