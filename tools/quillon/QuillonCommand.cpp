#include "quillon/QuillonCommand.h"

#include "common/Arguments.h"
#include "common/Encoding.h"
#include "common/Platform.h"
#include "common/WordList.h"
#include "dictionary/OWDictionaryList.h"
#include "results/AbbreviationSet.h"
#include "results/ColumnTable.h"
#include "results/ResultList.h"
#include "search/ListAbbreviations.h"
#include "search/WordplaySearch.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace quillon::cli {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  quillon search [options] ANSWER...   list the wordplay for each answer\n"
    "  quillon info [FILE...]               show the facts of each dictionary file\n"
    "                                       (default: the default dictionary)\n"
    "  quillon --help                       show this text\n"
    "\n"
    "Options of search:\n"
    "  --dictionary LIST      dictionary files separated by \";\"\n"
    "                         (default: Dictionaries/Standard English.owd beside the program)\n"
    "  --abbreviations FILE   abbreviation table (default: Abbreviation.txt beside the program)\n"
    "  --max-pieces N         most pieces of a charade, container or multiple anagram (default 4)\n"
    "  --brackets             show deleted letters in brackets\n"
    "  --format table|tsv|json\n"
    "                         table (default) aligns the columns and colours the notation\n"
    "                         on a terminal; tsv prints text, pieces and type separated by\n"
    "                         tabs; json prints every field of every row\n"
    "  --color auto|always|never\n"
    "\n"
    "Exit status: 0 done (also when nothing was found), 1 a dictionary that cannot\n"
    "be used, 2 a mistake on the command line.\n";

constexpr int kUnusableDictionary = 1;
constexpr int kUsageMistake = 2;

enum class Format { Table, Tsv, Json };

// The program's own words for the two ends a search can come to without rows.
constexpr const char* kInvalidDictionaryText =
    "\nis not a valid Orbweave Dictionary File: select a new dictionary file using the "
    "Options... command on the Tools menu.";
constexpr const char* kNoWordplayText = "No wordplay was found for the answer";

// The colours of the result list: notation red, deleted letters grey,
// abbreviations blue; everything else in the terminal's own colour.
const char* ColourOf(char style) {
    switch (style) {
    case StyleLetter::Notation:
        return "\x1b[38;2;255;0;0m";
    case StyleLetter::Deleted:
        return "\x1b[38;2;128;128;128m";
    case StyleLetter::Abbreviation:
        return "\x1b[38;2;0;0;255m";
    default:
        return nullptr;
    }
}
constexpr const char* kResetColour = "\x1b[0m";

std::string Utf8(std::string_view cp1252) {
    return tools::Cp1252ToUtf8(cp1252);
}

// Characters on screen: every UTF-8 lead byte starts one.
std::size_t Width(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            static const char* hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Paths stay in the system's own encoding, so they are joined as strings.
std::string Beside(const std::string& directory, const char* name) {
#ifdef _WIN32
    constexpr char kSeparator = '\\';
#else
    constexpr char kSeparator = '/';
#endif
    if (directory.empty()) return name;
    const char last = directory.back();
    if (last == '/' || last == kSeparator) return directory + name;
    return directory + kSeparator + name;
}

std::string DefaultDictionary(const Environment& environment) {
    return Beside(Beside(environment.programDirectory, "Dictionaries"), "Standard English.owd");
}

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

bool Readable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

// The terminal's side of a search: rows are collected (and finished once the
// search ends, as the list view finishes them), and the message for an
// unusable dictionary goes to stderr.
class TerminalHost : public SearchHost {
public:
    explicit TerminalHost(std::ostream& err) : err_(err) {}

    void ShowInvalidDictionary(const std::string& path) override {
        err_ << tools::Platform().systemToUtf8(path) << kInvalidDictionaryText << "\n";
        invalid_ = true;
    }
    void AddRow(WordplayRow row) override { rows_.push_back(std::move(row)); }
    void SearchFinished(const std::string&) override { FinishResultList(rows_, ColumnTable()); }

    bool Invalid() const { return invalid_; }
    const std::vector<WordplayRow>& Rows() const { return rows_; }

private:
    std::ostream& err_;
    bool invalid_ = false;
    std::vector<WordplayRow> rows_;
};

struct SearchOptions {
    std::string dictionary;
    std::string abbreviations;
    int maxPieces = 4;
    bool brackets = false;
    Format format = Format::Table;
    bool colour = false;
    std::vector<std::string> answers;
};

void PrintTable(const std::string& answer, const std::vector<WordplayRow>& rows,
                const SearchOptions& options, std::ostream& out) {
    out << "Answer: " << tools::Platform().systemToUtf8(answer) << "\n";
    if (rows.empty()) {
        out << kNoWordplayText << "\n\n";
        return;
    }
    std::vector<DisplayedText> shown;
    std::size_t width = Width("Wordplay");
    for (const WordplayRow& row : rows) {
        shown.push_back(DisplayText(row, options.brackets));
        width = std::max(width, Width(Utf8(shown.back().text)));
    }
    const auto pad = [&out](std::size_t n) { out << std::string(n, ' '); };
    out << "Wordplay";
    pad(width - Width("Wordplay") + 2);
    out << "Pieces  Type\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DisplayedText& text = shown[i];
        // One run of equal style letters at a time, each in its colour.
        for (std::size_t at = 0; at < text.text.size();) {
            std::size_t end = at + 1;
            while (end < text.text.size() && text.style[end] == text.style[at])
                ++end;
            const char* colour = options.colour ? ColourOf(text.style[at]) : nullptr;
            if (colour != nullptr) out << colour;
            out << Utf8(std::string_view(text.text).substr(at, end - at));
            if (colour != nullptr) out << kResetColour;
            at = end;
        }
        pad(width - Width(Utf8(text.text)) + 2);
        const std::string pieces = rows[i].pieces > 0 ? std::to_string(rows[i].pieces) : "";
        pad(6 - std::min<std::size_t>(6, pieces.size()));
        out << pieces << "  " << TypeName(rows[i].type) << "\n";
    }
    out << "\n";
}

void PrintTsv(const std::vector<WordplayRow>& rows, const SearchOptions& options,
              std::ostream& out) {
    for (const WordplayRow& row : rows) {
        out << Utf8(DisplayText(row, options.brackets).text) << '\t';
        if (row.pieces > 0) out << row.pieces;
        out << '\t' << TypeName(row.type) << '\n';
    }
}

void PrintJson(const std::string& answer, const std::vector<WordplayRow>& rows,
               const SearchOptions& options, bool first, std::ostream& out) {
    out << (first ? "[\n" : ",\n")
        << "  {\"answer\": " << JsonString(tools::Platform().systemToUtf8(answer))
        << ", \"rows\": [";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DisplayedText shown = DisplayText(rows[i], options.brackets);
        out << (i == 0 ? "\n" : ",\n") << "    {\"text\": " << JsonString(Utf8(shown.text))
            << ", \"style\": " << JsonString(shown.style)
            << ", \"type\": " << static_cast<int>(rows[i].type)
            << ", \"typeName\": " << JsonString(TypeName(rows[i].type))
            << ", \"pieces\": " << rows[i].pieces << ", \"sequence\": " << rows[i].sequence << "}";
    }
    out << (rows.empty() ? "]}" : "\n  ]}");
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

int Search(const std::vector<std::string>& args, const Environment& environment, std::ostream& out,
           std::ostream& err) {
    SearchOptions options;
    options.dictionary = DefaultDictionary(environment);
    options.abbreviations = Beside(environment.programDirectory, "Abbreviation.txt");
    options.colour = environment.terminal;
    bool namedDictionary = false;
    bool namedAbbreviations = false;
    const auto mistake = [&err](const std::string& message) {
        err << "quillon: " << message << "\n" << kUsage;
        return kUsageMistake;
    };
    tools::ArgumentCursor arg(args);
    while (arg.Next()) {
        const std::string& a = arg.Current();
        std::string value;
        if (IsHelp(a)) {
            out << kUsage;
            return 0;
        } else if (a == "--dictionary") {
            if (!arg.TakeValue(options.dictionary)) return mistake("--dictionary needs a file");
            namedDictionary = true;
        } else if (a == "--abbreviations") {
            if (!arg.TakeValue(options.abbreviations))
                return mistake("--abbreviations needs a file");
            namedAbbreviations = true;
        } else if (a == "--max-pieces") {
            if (!arg.TakeValue(value) || !ParseInt(value, options.maxPieces))
                return mistake("--max-pieces needs a whole number, not \"" + value + "\"");
        } else if (a == "--brackets") {
            options.brackets = true;
        } else if (a == "--format") {
            arg.TakeValue(value);
            if (value == "table") {
                options.format = Format::Table;
            } else if (value == "tsv") {
                options.format = Format::Tsv;
            } else if (value == "json") {
                options.format = Format::Json;
            } else {
                return mistake("unknown format \"" + value + "\" (table, tsv or json)");
            }
        } else if (a == "--color") {
            arg.TakeValue(value);
            if (value != "auto" && value != "always" && value != "never")
                return mistake("--color takes auto, always or never");
            options.colour = value == "always" || (value == "auto" && environment.terminal);
        } else if (a == "--") {
            for (std::string& answer : arg.TakeRest())
                options.answers.push_back(std::move(answer));
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return mistake("unknown option " + a);
        } else {
            options.answers.push_back(a);
        }
    }
    if (options.answers.empty()) return mistake("search needs an answer");

    // Paths are the system's own; only the words are Windows-1252. The
    // default dictionary is one file, whatever its folder is called.
    OWDictionaryList list = namedDictionary
                                ? OWDictionaryList(options.dictionary)
                                : OWDictionaryList(OWDictionaryList::OnePath{}, options.dictionary);
    if (const auto invalid = list.FirstInvalidPath()) {
        TerminalHost host(err);
        host.ShowInvalidDictionary(*invalid);
        return kUnusableDictionary;
    }
    if (namedAbbreviations && !Readable(options.abbreviations))
        err << "quillon: " << tools::Platform().systemToUtf8(options.abbreviations)
            << " cannot be read; only single letters are abbreviations\n";
    const AbbreviationSet abbreviations = LoadListAbbreviations(list, options.abbreviations);

    bool first = true;
    for (const std::string& answer : options.answers) {
        TerminalHost host(err);
        RunWordplaySearch(host, list, abbreviations, options.maxPieces,
                          tools::ArgumentToCp1252(answer));
        if (host.Invalid()) return kUnusableDictionary;
        switch (options.format) {
        case Format::Table:
            PrintTable(answer, host.Rows(), options, out);
            break;
        case Format::Tsv:
            PrintTsv(host.Rows(), options, out);
            break;
        case Format::Json:
            PrintJson(answer, host.Rows(), options, first, out);
            break;
        }
        first = false;
    }
    if (options.format == Format::Json) out << "\n]\n";
    out.flush();
    return 0;
}

int Info(const std::vector<std::string>& args, const Environment& environment, std::ostream& out,
         std::ostream& err) {
    std::vector<std::string> paths;
    tools::ArgumentCursor arg(args);
    while (arg.Next()) {
        const std::string& a = arg.Current();
        if (IsHelp(a)) {
            out << kUsage;
            return 0;
        } else if (a == "--") {
            for (std::string& path : arg.TakeRest())
                paths.push_back(std::move(path));
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            err << "quillon: unknown option " << a << "\n" << kUsage;
            return kUsageMistake;
        } else {
            paths.push_back(a);
        }
    }
    if (paths.empty()) paths.push_back(DefaultDictionary(environment));
    bool allValid = true;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        // Each argument is one file, even when its name holds a ";".
        OWDictionaryList list(OWDictionaryList::OnePath{}, paths[i]);
        const bool valid = list.IsValid(0);
        allValid = allValid && valid;
        const OWDictionaryList::LengthStats stats = list.Statistics(0);
        if (i > 0) out << "\n";
        out << "Location:    " << tools::Platform().systemToUtf8(list.Path(0)) << "\n"
            << "Modified:    " << OWFormatFileTime(list.Modified(0)) << "\n"
            << "Description: " << Utf8(list.Description(0)) << "\n"
            << "Entries:     " << stats.entries << "\n"
            << "Shortest:    " << stats.shortest << "\n"
            << "Longest:     " << stats.longest << "\n"
            << "Version:     " << list.Version(0) << "\n"
            << "Valid:       " << (valid ? "yes" : "no") << "\n";
    }
    return allValid ? 0 : kUnusableDictionary;
}

} // namespace

int RunQuillon(const std::vector<std::string>& args, const Environment& environment,
               std::ostream& out, std::ostream& err) {
    if (args.empty() || IsHelp(args[0]) || args[0] == "help") {
        out << kUsage;
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "search") return Search(rest, environment, out, err);
    if (args[0] == "info") return Info(rest, environment, out, err);
    err << "quillon: unknown command \"" << args[0] << "\"\n" << kUsage;
    return kUsageMistake;
}

} // namespace quillon::cli
