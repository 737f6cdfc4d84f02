#include "common/Commands.h"

#include "common/Arguments.h"
#include "common/MergeJob.h"
#include "common/Platform.h"

#include <algorithm>
#include <cctype>

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
    MergeRequest request;
    std::vector<std::string>&lists = request.lists, &removals = request.removals;
    std::string& output = request.output;
    bool &ignoreCase = request.ignoreCase, &utf8 = request.utf8;
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

    MergeReport report;
    std::string error;
    const bool merged = MergeWordLists(request, report, error);
    for (const MergedList& list : report.lists) {
        const ListStats& stats = list.stats;
        out << Platform().systemToUtf8(list.path) << ": " << stats.entries << " entries ("
            << (stats.utf8 ? "UTF-8" : "Windows-1252") << ")";
        if (stats.unconvertible)
            out << ", " << stats.unconvertible << " outside Windows-1252 skipped";
        if (stats.controls) out << ", " << stats.controls << " with control characters skipped";
        out << '\n';
    }
    if (!merged) {
        err << "OWMERGE: " << error << '\n';
        return 1;
    }
    out << "Wrote " << report.written << " entries to " << Platform().systemToUtf8(output) << " ("
        << (utf8 ? "UTF-8" : "Windows-1252") << "); " << report.repeats << " repeats and "
        << report.removed << " removed entries left out\n";
    return 0;
}

} // namespace quillon::tools
