// The source tree keeps its layers apart: the portable engine never sees a
// Windows header, a Win32 folder or a program's own folder, and no two folders
// include each other, however long the way round. Every folder must say which
// side it is on, here and in the README's layout table, so a new folder cannot
// slip in unplaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

// A program folder holds a program built in both trees; it may reach the
// operating system behind #ifdef _WIN32.
enum class Side { Portable, Win32, Program };

// Every source folder, by the prefix its headers are included with.
const std::map<std::string, std::pair<std::string, Side>> kFolders = {
    {"dictionary", {"src/dictionary", Side::Portable}},
    {"results", {"src/results", Side::Portable}},
    {"search", {"src/search", Side::Portable}},
    {"settings", {"src/settings", Side::Portable}},
    {"help", {"src/help", Side::Portable}},
    {"layout", {"src/layout", Side::Portable}},
    {"lookup", {"src/lookup", Side::Portable}},
    {"printing", {"src/printing", Side::Portable}},
    {"resources", {"src/resources", Side::Portable}}, // numbers only in its header
    {"common", {"tools/common", Side::Portable}},
    {"quillon", {"tools/quillon", Side::Program}},
    {"owbuild", {"tools/owbuild", Side::Program}},
    {"owmerge", {"tools/owmerge", Side::Program}},
    {"platform", {"tools/platform", Side::Program}},
    {"framework", {"src/framework", Side::Win32}},
    {"context", {"src/context", Side::Win32}},
    {"printer", {"src/printer", Side::Win32}},
    {"dialogs", {"src/dialogs", Side::Win32}},
    {"views", {"src/views", Side::Win32}},
    {"app", {"src/app", Side::Win32}},
    {"companions", {"src/companions", Side::Win32}},
};

const fs::path kRoot = QUILLON_SOURCE_DIR;

bool IsSource(const fs::path& p) {
    const std::string e = p.extension().string();
    return e == ".h" || e == ".cpp";
}

struct Include {
    std::string file; // relative to the root
    std::string target;
    bool angled = false;
};

std::vector<Include> IncludesOf(const std::string& folder) {
    static const std::regex line(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
        if (!entry.is_regular_file() || !IsSource(entry.path())) continue;
        std::ifstream in(entry.path());
        for (std::string text; std::getline(in, text);) {
            std::smatch m;
            if (std::regex_search(text, m, line))
                found.push_back(
                    {fs::relative(entry.path(), kRoot).generic_string(), m[2], m[1] == "<"});
        }
    }
    return found;
}

// The folder a quoted include names, when it names one of ours.
std::string FolderOf(const std::string& target) {
    const std::size_t slash = target.find('/');
    if (slash == std::string::npos) return {};
    const std::string prefix = target.substr(0, slash);
    return kFolders.count(prefix) ? prefix : std::string{};
}

bool IsWindowsHeader(std::string header) {
    static const std::set<std::string> kWindows = {
        "windows.h", "windowsx.h", "commctrl.h", "commdlg.h", "shellapi.h", "shlobj.h",
        "ddeml.h",   "winspool.h", "winuser.h",  "wingdi.h",  "winbase.h",  "winreg.h",
        "winnls.h",  "mmsystem.h", "objbase.h",  "ole2.h",    "uxtheme.h",  "shlwapi.h"};
    std::transform(header.begin(), header.end(), header.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return kWindows.count(header) > 0;
}

TEST(SourceTree, EveryFolderIsPlaced) {
    for (const char* parent : {"src", "tools"})
        for (const auto& entry : fs::directory_iterator(kRoot / parent)) {
            if (!entry.is_directory()) continue;
            const std::string rel = fs::relative(entry.path(), kRoot).generic_string();
            const bool known = std::any_of(kFolders.begin(), kFolders.end(),
                                           [&](const auto& f) { return f.second.first == rel; });
            EXPECT_TRUE(known) << rel << " is neither portable nor Win32 in this test";
        }

    // The README's layout table says the same.
    std::ifstream readme(kRoot / "README.md");
    std::map<std::string, std::string> told;
    static const std::regex row(R"(^\|\s*`([a-z/]+)`\s*\|\s*([A-Za-z0-9]+)\s*\|)");
    for (std::string text; std::getline(readme, text);) {
        std::smatch m;
        if (std::regex_search(text, m, row)) told[m[1]] = m[2];
    }
    for (const auto& [prefix, folder] : kFolders) {
        const auto it = told.find(folder.first);
        ASSERT_NE(it, told.end()) << folder.first << " is missing from the README's table";
        const char* kind = folder.second == Side::Portable ? "portable"
                           : folder.second == Side::Win32  ? "Win32"
                                                           : "program";
        EXPECT_EQ(it->second, kind) << folder.first;
    }
}

TEST(SourceTree, PortableFoldersSeeNoWindows) {
    for (const auto& [prefix, folder] : kFolders) {
        if (folder.second != Side::Portable) continue;
        for (const Include& inc : IncludesOf(folder.first)) {
            if (inc.angled) {
                EXPECT_FALSE(IsWindowsHeader(inc.target))
                    << inc.file << " includes <" << inc.target << ">";
                continue;
            }
            const std::string to = FolderOf(inc.target);
            if (to.empty()) continue;
            EXPECT_EQ(kFolders.at(to).second, Side::Portable)
                << inc.file << " includes " << inc.target << ", which is not portable";
        }
    }
}

TEST(SourceTree, FoldersIncludeEachOtherInOneDirectionOnly) {
    std::map<std::string, std::set<std::string>> uses;
    std::map<std::pair<std::string, std::string>, std::string> example;
    for (const auto& [prefix, folder] : kFolders)
        for (const Include& inc : IncludesOf(folder.first)) {
            const std::string to = FolderOf(inc.target);
            if (inc.angled || to.empty() || to == prefix) continue;
            uses[prefix].insert(to);
            example.emplace(std::make_pair(prefix, to), inc.file + " -> " + inc.target);
        }

    // Depth-first search; a folder met again while still on the path closes a cycle.
    std::map<std::string, int> state; // 0 new, 1 on the path, 2 done
    std::vector<std::string> path;
    std::vector<std::string> cycles;
    auto visit = [&](auto&& self, const std::string& f) -> void {
        state[f] = 1;
        path.push_back(f);
        for (const std::string& next : uses[f]) {
            if (state[next] == 1) {
                std::string text;
                auto from = std::find(path.begin(), path.end(), next);
                for (auto it = from; it != path.end(); ++it) {
                    const std::string to = std::next(it) == path.end() ? next : *std::next(it);
                    text += "\n  " + example[{*it, to}];
                }
                cycles.push_back(text);
            } else if (state[next] == 0) {
                self(self, next);
            }
        }
        path.pop_back();
        state[f] = 2;
    };
    for (const auto& [prefix, folder] : kFolders)
        if (state[prefix] == 0) visit(visit, prefix);
    for (const std::string& cycle : cycles)
        ADD_FAILURE() << "folders include each other:" << cycle;
}

} // namespace
