// The operating system's side of the tools' platform services: on Windows,
// paths are in the ANSI code page and a file is replaced by MoveFileEx; other
// systems keep the POSIX defaults.
#pragma once

#include "common/Platform.h"
#include "dictionary/OWDictionaryList.h"

#include <cstdint>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quillon::tools {

#ifdef _WIN32
namespace windows {

inline std::string AnsiToUtf8(const std::string& text) {
    if (text.empty()) return text;
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (wide <= 0) return text;
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, utf16.data(), wide);
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

inline std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message =
        length > 0 && text != nullptr ? std::string(text, length) : "error " + std::to_string(code);
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return AnsiToUtf8(message);
}

// MoveFileEx replaces the target in one step; rename would refuse an existing
// file, and deleting the target first could lose both files.
inline bool MoveOver(const std::string& from, const std::string& to, std::string& error) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    error = SystemMessage(GetLastError());
    return false;
}

inline std::string FullPath(const std::string& path) {
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::string full(size, '\0');
    const DWORD used = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (used == 0 || used >= size) return path;
    full.resize(used);
    return full;
}

// A dictionary's time and size under the very name fopen opens it by.
inline bool ReadFileFacts(const std::string& path, OWFileFacts& facts) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    facts.modified = static_cast<std::int64_t>(
        static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
        data.ftLastWriteTime.dwLowDateTime);
    facts.size = static_cast<std::int64_t>(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 |
                                           data.nFileSizeLow);
    return true;
}

} // namespace windows
#endif

// Installs the services of the system the program runs on.
inline void InstallPlatform() {
#ifdef _WIN32
    SetPlatform({windows::MoveOver, windows::AnsiToUtf8, windows::FullPath});
    OWSetFileFactsReader(&windows::ReadFileFacts);
#endif
}

} // namespace quillon::tools
