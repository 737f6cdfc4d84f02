#include "common/Commands.h"

#include "common/Arguments.h"
#include "common/BuildJob.h"
#include "common/Encoding.h"
#include "common/OwdWriter.h"
#include "common/Phrases.h"
#include "common/Platform.h"
#include "common/WordList.h"
#include "dictionary/InputEngine.h"
#include "dictionary/OWDictionaryList.h"

#include <chrono>
#include <cstring>
#include <iomanip>

namespace quillon::tools {
namespace {

constexpr const char* kUsage =
    "OWBUILD builds a Quillon dictionary (.owd) from word lists.\n"
    "\n"
    "Usage:\n"
    "  OWBUILD [options] LIST... -o FILE.owd\n"
    "  OWBUILD --info FILE.owd\n"
    "  OWBUILD --dump FILE.owd\n"
    "\n"
    "A word list holds one entry a line (UTF-8 or Windows-1252, LF or CR LF).\n"
    "Entries may hold blanks, hyphens and apostrophes; text after a tab is kept\n"
    "with the entry as its supplementary text. Capitals and accents are kept in\n"
    "the entry and fold to plain letters for searching.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE       the dictionary to write\n"
    "  --description TEXT      the description shown in Quillon's Options\n"
    "  --version 0|1           file format version (default 1)\n"
    "  --wordnet FILE          also read the multi-word phrases of a WordNet index\n"
    "                          file (index.noun and the like); may be repeated\n"
    "  --common LIST           mark the entries whose text is in LIST as common words\n"
    "                          (Quillon can search those alone); may be repeated\n"
    "  --clue-phrases          leave out phrases no clue could use: taxonomic names\n"
    "                          (genus calluna, family bramidae) and phrases ending in\n"
    "                          a single letter (one c)\n"
    "  --no-possessives        leave out entries ending in 's\n"
    "  --plain                 keep only entries made of letters, blanks, hyphens\n"
    "                          and apostrophes\n"
    "  --info FILE             show the facts about a dictionary\n"
    "  --dump FILE             list every entry of a dictionary, one a line\n"
    "  -h, --help              show this text\n";

// Length of a NUL-terminated text that may run to the end of its room.
std::size_t BoundedLength(const char* text, std::size_t room) {
    const void* nul = std::memchr(text, 0, room);
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : room;
}

// Entries whose flag bit marks them common (version 0 has no flag bits).
long long CountCommon(OWDictionaryList& list) {
    long long marked = 0;
    if (list.Version(0) < 1) return 0;
    InputEngine input(list, 0);
    for (int n = 1; n < list.SlotCount(0); ++n) {
        if (!input.Start(n)) continue;
        while (input.Next()[owrecord::kKey] != owrecord::kEnd)
            marked += input.Flag();
    }
    return marked;
}

int Info(const std::string& path, std::ostream& out, std::ostream& err) {
    OWDictionaryList list(OWDictionaryList::OnePath{}, path);
    const bool valid = list.IsValid(0);
    const auto stats = list.Statistics(0);
    out << "Location:    " << Platform().systemToUtf8(Platform().absolutePath(path)) << '\n'
        << "Modified:    " << OWFormatFileTime(list.Modified(0)) << '\n'
        << "Description: " << Cp1252ToUtf8(list.Description(0)) << '\n'
        << "Entries:     " << stats.entries << '\n'
        << "Shortest:    " << stats.shortest << '\n'
        << "Longest:     " << stats.longest << '\n'
        << "Version:     " << list.Version(0) << '\n'
        << "Common:      " << (valid ? CountCommon(list) : 0) << '\n'
        << "Valid:       " << (valid ? "yes" : "no") << '\n';
    if (!valid) {
        err << "OWBUILD: " << Platform().systemToUtf8(path) << " is not a valid dictionary file\n";
        return 1;
    }
    return 0;
}

int Dump(const std::string& path, std::ostream& out, std::ostream& err) {
    OWDictionaryList list(OWDictionaryList::OnePath{}, path);
    if (!list.IsValid(0)) {
        err << "OWBUILD: " << Platform().systemToUtf8(path) << " is not a valid dictionary file\n";
        return 1;
    }
    InputEngine input(list, 0);
    // The engine reuses its record and writes only as far as each entry
    // reaches, so the text area is cleared before every entry: a supplement
    // then shows as the bytes after the key part's NUL, and none as a second NUL.
    auto* record = const_cast<std::uint8_t*>(input.Record());
    const char* text = reinterpret_cast<const char*>(record + owrecord::kText);
    for (int n = 1; n < list.SlotCount(0); ++n) {
        if (!input.Start(n)) continue;
        for (;;) {
            std::memset(record + owrecord::kText, 0, owrecord::kSize - owrecord::kText);
            input.Next();
            if (record[owrecord::kKey] == owrecord::kEnd) break;
            const std::size_t keyPart = BoundedLength(text, owrecord::kSize - owrecord::kText - 1);
            out << Cp1252ToUtf8(std::string_view(text, keyPart));
            const char* rest = text + keyPart + 1;
            const std::size_t room = owrecord::kSize - owrecord::kText - keyPart - 1;
            if (const std::size_t supplement = BoundedLength(rest, room); supplement > 0)
                out << '\t' << Cp1252ToUtf8(std::string_view(rest, supplement));
            out << '\n';
        }
    }
    return 0;
}

void PrintSummary(const BuildStats& stats, std::ostream& out) {
    out << "Entries written per number of letters:\n";
    for (std::size_t n = 1; n < stats.perLength.size(); ++n)
        if (stats.perLength[n] > 0)
            out << std::setw(6) << n << std::setw(12) << stats.perLength[n] << '\n';
    out << "Total" << std::setw(13) << stats.written << '\n';
    if (stats.marked > 0) out << "Marked common: " << stats.marked << '\n';
    const auto line = [&](const char* what, std::size_t count) {
        if (count > 0) out << "Skipped: " << count << ' ' << what << '\n';
    };
    line("repeated entries", stats.duplicates);
    line("entries without letters", stats.noLetters);
    line("entries of more than 31 letters", stats.tooManyLetters);
    line("entries holding sharp s, ae, oe, thorn or eth", stats.noPlainLetter);
    line("entries longer than 899 bytes", stats.tooLong);
}

} // namespace

std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return args;
}

int RunOwbuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        out << kUsage;
        return 0;
    }
    BuildRequest request;
    std::vector<ListSource>& sources = request.sources;
    std::string& output = request.output;
    BuildOptions& options = request.options;
    ListFilter& filter = request.filter;
    std::vector<std::string>& commonLists = request.commonLists;
    std::string info, dump;
    options.description = kDefaultDescription;
    const auto usageError = [&](const std::string& message) {
        err << "OWBUILD: " << message << "\n\n" << kUsage;
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
        } else if (a == "--description") {
            std::string text;
            if (!arg.TakeValue(text)) return usageError("--description needs a text");
            options.description = ArgumentToCp1252(text);
        } else if (a == "--version") {
            std::string v;
            if (!arg.TakeValue(v) || (v != "0" && v != "1"))
                return usageError("--version takes 0 or 1");
            options.version = v == "0" ? 0 : 1;
        } else if (a == "--wordnet") {
            std::string path;
            if (!arg.TakeValue(path)) return usageError("--wordnet needs a file name");
            sources.push_back({path, ListFormat::WordNetPhrases});
        } else if (a == "--common") {
            std::string path;
            if (!arg.TakeValue(path)) return usageError("--common needs a file name");
            commonLists.push_back(path);
        } else if (a == "--clue-phrases") {
            request.cluePhrases = true;
        } else if (a == "--no-possessives") {
            filter.dropPossessives = true;
        } else if (a == "--plain") {
            filter.plainOnly = true;
        } else if (a == "--info") {
            if (!arg.TakeValue(info)) return usageError("--info needs a file name");
        } else if (a == "--dump") {
            if (!arg.TakeValue(dump)) return usageError("--dump needs a file name");
        } else if (arg.IsOption()) {
            return usageError("unknown option " + a);
        } else {
            sources.push_back({a, ListFormat::Lines});
        }
    }
    if (!info.empty() || !dump.empty()) {
        if (!sources.empty() || !output.empty() || (!info.empty() && !dump.empty()))
            return usageError("--info and --dump take one dictionary and nothing else");
        return info.empty() ? Dump(dump, out, err) : Info(info, out, err);
    }
    if (sources.empty()) return usageError("no word lists given");
    if (output.empty()) return usageError("no output file given (-o FILE.owd)");
    if (!commonLists.empty() && options.version == 0)
        return usageError("--common needs version 1: version 0 files have no flag bits");

    const auto started = std::chrono::steady_clock::now();
    BuildReport report;
    std::string error;
    const bool built = BuildDictionaryFile(request, report, error);
    for (const ListReport& list : report.lists) {
        const ListStats& stats = list.stats;
        out << Platform().systemToUtf8(list.path) << ": " << stats.entries << " entries ("
            << (stats.utf8 ? "UTF-8" : "Windows-1252") << ")";
        if (stats.unconvertible) out << ", " << stats.unconvertible << " outside Windows-1252";
        if (stats.controls) out << ", " << stats.controls << " with control characters";
        if (stats.filtered) out << ", " << stats.filtered << " filtered out";
        out << '\n';
    }
    for (const ListReport& list : report.commonLists)
        out << Platform().systemToUtf8(list.path) << ": " << list.stats.entries
            << " common words\n";
    if (built && request.cluePhrases)
        out << "Left out " << report.phrases.taxonomic << " taxonomic names and "
            << report.phrases.loneLetter << " phrases ending in a single letter\n";
    if (!built) {
        err << "OWBUILD: " << error << '\n';
        return 1;
    }
    const BuildStats& stats = report.build;
    PrintSummary(stats, out);
    if (stats.descriptionCut)
        err << "OWBUILD: warning: the description was cut to " << (options.version ? 999 : 79)
            << " characters\n";
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
    out << "Wrote " << Platform().systemToUtf8(output) << " (" << stats.fileSize
        << " bytes, version " << options.version << ") in " << ms << " ms\n";
    return 0;
}

} // namespace quillon::tools
