#include "context/AnsiPaths.h"

#include <windows.h>

#include <vector>

std::optional<std::string> AnsiPath(const std::wstring& path) {
    if (path.empty()) return std::string();
    const int wideLength = static_cast<int>(path.size());
    BOOL substituted = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), wideLength,
                                           nullptr, 0, nullptr, &substituted);
    if (length <= 0 || substituted) return std::nullopt;
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), wideLength, ansi.data(), length,
                        nullptr, &substituted);
    if (substituted) return std::nullopt;
    // Code pages without a default character report nothing; the way back
    // tells whether the name survived.
    std::wstring back(path.size() + 1, L'\0');
    const int backLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length,
                                               back.data(), static_cast<int>(back.size()));
    if (backLength != wideLength || back.compare(0, path.size(), path) != 0) return std::nullopt;
    return ansi;
}

std::wstring SystemShortPath(const std::wstring& path) {
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    if (length == 0 || length >= needed) return path;
    shortPath.resize(length);
    return shortPath;
}

std::optional<std::string> AnsiNameOf(const std::wstring& path, ShortPathFunction shortPath) {
    if (auto ansi = AnsiPath(path)) return ansi;
    return AnsiPath(shortPath(path));
}

std::wstring ModulePath() {
    // Grows the buffer instead of cutting a long path at MAX_PATH, which
    // would give a wrong folder.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

bool ReadAnsiFileFacts(const std::string& path, std::int64_t& modified, std::int64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
    size = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
    return true;
}
