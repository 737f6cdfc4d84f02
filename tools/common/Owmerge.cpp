#include "common/Commands.h"

#include "common/Arguments.h"
#include "common/Encoding.h"
#include "common/Platform.h"
#include "common/WordList.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <unordered_set>

namespace quillon::tools {
namespace {

constexpr const char* kUsage =
    "OWMERGE merges word lists into one sorted list without repeats.\n"
    "\n"
    "Usage:\n"
    "  OWMERGE [options] LIST... -o OUT\n"
    "\n"
    "Lists hold one entry a line (UTF-8 or Windows-1252, LF or CR LF); text after\n"
    "a tab is the entry's supplementary text and stays with it.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE              the merged list to write\n"
    "  --ignore-case                  entries differing only in letter case are\n"
    "                                 repeats (the first one met is kept)\n"
    "  --remove LIST                  leave out every entry found in LIST; may be\n"
    "                                 repeated\n"
    "  --encoding utf-8|windows-1252  encoding of the output (default utf-8)\n"
    "  -h, --help                     show this text\n";

} // namespace

int RunOwmerge(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        out << kUsage;
        return 0;
    }
    std::vector<std::string> lists, removals;
    std::string output;
    bool ignoreCase = false, utf8 = true;
    const auto usageError = [&](const std::string& message) {
        err << "OWMERGE: " << message << "\n\n" << kUsage;
        return 2;
    };
    ArgumentCursor arg(args);
    while (arg.Next()) {
        const std::string& a = arg.Current();
        if (arg.IsHelp()) {
            out << kUsage;
            return 0;
        } else if (a == "-o" || a == "--output") {
            if (!arg.TakeValue(output)) return usageError(a + " needs a file name");
        } else if (a == "--ignore-case") {
            ignoreCase = true;
        } else if (a == "--remove") {
            std::string path;
            if (!arg.TakeValue(path)) return usageError("--remove needs a file name");
            removals.push_back(path);
        } else if (a == "--encoding") {
            std::string e;
            if (!arg.TakeValue(e)) return usageError("--encoding needs utf-8 or windows-1252");
            std::transform(e.begin(), e.end(), e.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (e == "utf-8" || e == "utf8")
                utf8 = true;
            else if (e == "windows-1252" || e == "cp1252" || e == "1252")
                utf8 = false;
            else
                return usageError("unknown encoding " + e + " (utf-8 or windows-1252)");
        } else if (arg.IsOption()) {
            return usageError("unknown option " + a);
        } else {
            lists.push_back(a);
        }
    }
    if (lists.empty()) return usageError("no word lists given");
    if (output.empty()) return usageError("no output file given (-o OUT)");

    const auto identity = [&](const std::string& text) {
        return ignoreCase ? LowerCp1252(text) : text;
    };
    const auto read = [&](const std::string& path, std::vector<Entry>& entries) {
        std::string bytes, error;
        if (!ReadFileBytes(path, bytes, error)) {
            err << "OWMERGE: " << error << '\n';
            return false;
        }
        ListStats stats;
        entries = ParseWordList(bytes, ListFormat::Lines, ListFilter{}, stats);
        out << Platform().systemToUtf8(path) << ": " << stats.entries << " entries ("
            << (stats.utf8 ? "UTF-8" : "Windows-1252") << ")";
        if (stats.unconvertible)
            out << ", " << stats.unconvertible << " outside Windows-1252 skipped";
        if (stats.controls) out << ", " << stats.controls << " with control characters skipped";
        out << '\n';
        return true;
    };

    // Removal goes by the entry alone, whatever supplementary text either side has.
    std::unordered_set<std::string> removed;
    for (const std::string& path : removals) {
        std::vector<Entry> entries;
        if (!read(path, entries)) return 1;
        for (const Entry& e : entries)
            removed.insert(identity(e.text));
    }
    // A repeat is the same entry with the same supplementary text.
    std::set<std::pair<std::string, std::string>> seen;
    std::vector<Entry> merged;
    std::size_t repeats = 0, dropped = 0;
    for (const std::string& path : lists) {
        std::vector<Entry> entries;
        if (!read(path, entries)) return 1;
        for (Entry& e : entries) {
            if (removed.count(identity(e.text))) {
                ++dropped;
                continue;
            }
            if (!seen.insert({identity(e.text), identity(e.supplement)}).second) {
                ++repeats;
                continue;
            }
            merged.push_back(std::move(e));
        }
    }
    // Dictionary order: plain letters first, so "Café" sits beside "cafe",
    // then the exact bytes, so the output does not depend on the input order.
    std::vector<std::pair<std::string, const Entry*>> order;
    order.reserve(merged.size());
    for (const Entry& e : merged)
        order.emplace_back(SortKeyCp1252(e.text), &e);
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return *a.second < *b.second;
    });
    std::string text;
    for (const auto& [key, e] : order) {
        std::string line = e->text;
        if (!e->supplement.empty()) line += '\t' + e->supplement;
        text += utf8 ? Cp1252ToUtf8(line) : line;
        text += '\n';
    }
    std::string error;
    if (!WriteFileBytes(output, text, error)) {
        err << "OWMERGE: " << error << '\n';
        return 1;
    }
    out << "Wrote " << merged.size() << " entries to " << Platform().systemToUtf8(output) << " ("
        << (utf8 ? "UTF-8" : "Windows-1252") << "); " << repeats << " repeats and " << dropped
        << " removed entries left out\n";
    return 0;
}

} // namespace quillon::tools
