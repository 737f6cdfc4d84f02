#pragma once
// Paths as the ANSI API names them. Quillon is an ANSI program: a file whose
// name the ANSI code page cannot hold is reached by its short (8.3) name, and
// the facts of a file are read by the very name fopen opens.

#include <cstdint>
#include <optional>
#include <string>

// The path in the ANSI code page, or nothing when one of its characters has
// no exact form there (the system would put a look-alike or "?" in its place).
std::optional<std::string> AnsiPath(const std::wstring& path);

// The system's short form of a path; the path itself when it has none.
std::wstring SystemShortPath(const std::wstring& path);

using ShortPathFunction = std::wstring (*)(const std::wstring& path);

// A name of path that the ANSI API reaches: the path itself when the code
// page holds it, else its short form; nothing when neither serves (a volume
// without short names).
std::optional<std::string> AnsiNameOf(const std::wstring& path,
                                      ShortPathFunction shortPath = &SystemShortPath);

// The full path of the running executable; empty when the system cannot say.
std::wstring ModulePath();

// Last-write time (a FILETIME count) and size of a file named in the ANSI
// code page; false for a folder or a file that cannot be examined.
bool ReadAnsiFileFacts(const std::string& path, std::int64_t& modified, std::int64_t& size);
