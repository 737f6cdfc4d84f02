#include "quillon/QuillonCommand.h"

#include "quillon/HiddenCommand.h"
#include "quillon/TerminalText.h"

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

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>

namespace quillon::cli {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  quillon search [options] ANSWER...   list the wordplay for each answer\n"
    "  quillon search [options] --answers FILE [ANSWER...]\n"
    "  quillon info [FILE...]               show the facts of each dictionary file\n"
    "                                       (default: the default dictionary)\n"
    "  quillon hidden [options] ANSWER...   list the phrases that hide each answer\n"
    "                                       (quillon hidden --help for its options)\n"
    "  quillon --help                       show this text\n"
    "\n"
    "Options of search:\n"
    "  --dictionary LIST      dictionary files separated by \";\"\n"
    "                         (default: Dictionaries/Standard English.owd beside the program)\n"
    "  --abbreviations FILE   abbreviation table (default: Abbreviation.txt beside the program)\n"
    "  --max-pieces N         most pieces of a charade, container or multiple anagram (default 4)\n"
    "  --brackets             show deleted letters in brackets\n"
    "  --common               use only the words the dictionary marks common\n"
    "                         (abbreviations stay)\n"
    "  --format table|tsv|json\n"
    "                         table (default) aligns the columns and colours the notation\n"
    "                         on a terminal; tsv prints text, pieces and type separated by\n"
    "                         tabs; json prints every field of every row\n"
    "  --color auto|always|never\n"
    "  --answers FILE         also search every line of FILE (\"-\": standard input),\n"
    "                         after the answers on the command line; may be repeated\n"
    "  --jobs N               search N answers at a time (default: one per core);\n"
    "                         the output is the same, in the answers' order\n"
    "\n"
    "With more than one answer, each tsv row begins with its answer as typed.\n"
    "\n"
    "Exit status: 0 done (also when nothing was found), 1 a dictionary or answers\n"
    "file that cannot be used, 2 a mistake on the command line.\n";

constexpr int kUnusableFile = 1;
constexpr int kUsageMistake = 2;

// The program's own words for a search that ends without rows.
constexpr const char* kNoWordplayText = "No wordplay was found for the answer";

// The colours of the result list: notation red, deleted letters grey,
// abbreviations blue; everything else in the terminal's own colour.
const char* ColourOf(char style) {
    switch (style) {
    case StyleLetter::Notation:
        return kNotationColour;
    case StyleLetter::Deleted:
        return "\x1b[38;2;128;128;128m";
    case StyleLetter::Abbreviation:
        return "\x1b[38;2;0;0;255m";
    default:
        return nullptr;
    }
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

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

bool Readable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

void ShowInvalidDictionary(const std::string& path, std::ostream& err) {
    err << tools::Platform().systemToUtf8(path) << kInvalidDictionaryText << "\n";
}

struct RowCollector : RowSink {
    std::vector<WordplayRow> rows;
    void AddRow(WordplayRow row) override { rows.push_back(std::move(row)); }
};

// One answer: the Windows-1252 text the search normalises, and the UTF-8 text
// shown beside its rows.
struct Answer {
    std::string typed;
    std::string shown;
};

Answer FromCommandLine(const std::string& argument) {
    return {tools::ArgumentToCp1252(argument), tools::Platform().systemToUtf8(argument)};
}

// An answers file holds one answer a line, UTF-8 or Windows-1252 like a word
// list, LF or CR LF; blank lines are no answers.
void AddAnswersFromText(std::string_view text, std::vector<Answer>& answers) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        const bool utf8 = tools::IsValidUtf8(line);
        answers.push_back(
            {tools::ArgumentToCp1252(line), utf8 ? std::string(line) : tools::Cp1252ToUtf8(line)});
    }
}

// The first column of a tsv row: the answer as typed, on one line, its own tabs
// and line breaks turned to blanks.
std::string TsvField(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return text;
}

struct SearchOptions {
    std::string dictionary;
    std::string abbreviations;
    int maxPieces = 4;
    bool brackets = false;
    bool common = false;
    Format format = Format::Table;
    bool colour = false;
    std::vector<std::string> answers;
    std::vector<std::string> answerFiles;
    int jobs = 0; // 0: one per core
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

// Built as one string: a batch prints millions of these rows.
void AppendTsv(const std::string& prefix, const std::vector<WordplayRow>& rows,
               const SearchOptions& options, std::string& out) {
    for (const WordplayRow& row : rows) {
        out += prefix;
        if (options.brackets)
            tools::AppendCp1252AsUtf8(out, DisplayText(row, true).text);
        else
            tools::AppendCp1252AsUtf8(out, row.text);
        out += '\t';
        if (row.pieces > 0) out += std::to_string(row.pieces);
        out += '\t';
        out += TypeName(row.type);
        out += '\n';
    }
}

void PrintJson(const std::string& answer, const std::vector<WordplayRow>& rows,
               const SearchOptions& options, std::ostream& out) {
    out << "  {\"answer\": " << JsonString(answer) << ", \"rows\": [";
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

// The text an answer prints in the chosen format (a json object without the
// separators around it).
std::string AnswerText(WordplaySearch& search, const Answer& answer, bool several,
                       const SearchOptions& options) {
    search.SetAnswer(answer.typed);
    RowCollector collector;
    search.Run(collector);
    FinishResultList(collector.rows, ColumnTable());
    if (options.format == Format::Tsv) {
        std::string text;
        AppendTsv(several ? TsvField(answer.shown) + '\t' : std::string(), collector.rows, options,
                  text);
        return text;
    }
    std::ostringstream text;
    if (options.format == Format::Table)
        PrintTable(answer.shown, collector.rows, options, text);
    else
        PrintJson(answer.shown, collector.rows, options, text);
    return std::move(text).str();
}

// Works out the texts of `count` answers on `jobs` threads and hands each to
// `emit` in the answers' order, as soon as it and all before it are done. Each
// thread gets its own worker (newWorker), so a search's tables are never
// shared; at most a few texts per thread wait for their turn.
using AnswerWorker = std::function<std::string(std::size_t)>;
void RunInOrder(std::size_t count, int jobs, const std::function<AnswerWorker()>& newWorker,
                const std::function<void(std::string&)>& emit) {
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(jobs), count);
    if (threads <= 1) {
        const AnswerWorker work = newWorker();
        for (std::size_t i = 0; i < count; ++i) {
            std::string text = work(i);
            emit(text);
        }
        return;
    }
    const std::size_t window = 4 * threads;
    std::vector<std::string> texts(window);
    std::vector<char> ready(window, 0);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;
    std::size_t emitted = 0;
    const auto run = [&] {
        const AnswerWorker work = newWorker();
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] { return next >= count || next < emitted + window; });
                if (next >= count) return;
                i = next++;
            }
            std::string text = work(i);
            {
                const std::lock_guard<std::mutex> lock(mutex);
                texts[i % window] = std::move(text);
                ready[i % window] = 1;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 0; t < threads; ++t)
        pool.emplace_back(run);
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return ready[i % window] != 0; });
            text = std::move(texts[i % window]);
            ready[i % window] = 0;
            ++emitted;
        }
        changed.notify_all();
        emit(text);
    }
    for (std::thread& thread : pool)
        thread.join();
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
        } else if (a == "--common") {
            options.common = true;
        } else if (a == "--brackets") {
            options.brackets = true;
        } else if (a == "--format") {
            arg.TakeValue(value);
            if (!ParseFormat(value, options.format))
                return mistake("unknown format \"" + value + "\" (table, tsv or json)");
        } else if (a == "--color") {
            arg.TakeValue(value);
            if (!ParseColour(value, environment.terminal, options.colour))
                return mistake("--color takes auto, always or never");
        } else if (a == "--answers") {
            if (!arg.TakeValue(value)) return mistake("--answers needs a file (or - for input)");
            options.answerFiles.push_back(value);
        } else if (a == "--jobs") {
            if (!arg.TakeValue(value) || !ParseInt(value, options.jobs) || options.jobs < 1)
                return mistake("--jobs needs a whole number from 1 up, not \"" + value + "\"");
        } else if (a == "--") {
            for (std::string& answer : arg.TakeRest())
                options.answers.push_back(std::move(answer));
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return mistake("unknown option " + a);
        } else {
            options.answers.push_back(a);
        }
    }
    if (options.answers.empty() && options.answerFiles.empty())
        return mistake("search needs an answer");

    // Paths are the system's own; only the words are Windows-1252. The
    // default dictionary is one file, whatever its folder is called.
    OWDictionaryList list = namedDictionary
                                ? OWDictionaryList(options.dictionary)
                                : OWDictionaryList(OWDictionaryList::OnePath{}, options.dictionary);
    if (const auto invalid = list.FirstInvalidPath()) {
        ShowInvalidDictionary(*invalid, err);
        return kUnusableFile;
    }

    std::vector<Answer> answers;
    for (const std::string& typed : options.answers)
        answers.push_back(FromCommandLine(typed));
    for (const std::string& file : options.answerFiles) {
        std::string bytes, error;
        if (file == "-") {
            if (environment.in != nullptr) {
                std::ostringstream input;
                input << environment.in->rdbuf();
                bytes = std::move(input).str();
            }
        } else if (!tools::ReadFileBytes(file, bytes, error)) {
            err << "quillon: " << error << "\n";
            return kUnusableFile;
        }
        AddAnswersFromText(bytes, answers);
    }

    if (namedAbbreviations && !Readable(options.abbreviations))
        err << "quillon: " << tools::Platform().systemToUtf8(options.abbreviations)
            << " cannot be read; only single letters are abbreviations\n";
    const AbbreviationSet abbreviations = LoadListAbbreviations(list, options.abbreviations);

    // A lone answer reads only the sections it needs, straight from the file;
    // more answers share the decoded dictionaries, decoded before any thread
    // starts so that the threads only read them.
    const bool several = answers.size() > 1;
    const int jobs = options.jobs > 0
                         ? options.jobs
                         : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (several && jobs > 1)
        for (int index = 0; index < list.Count(); ++index)
            if (const auto decoded = list.Decoded(index)) decoded->BuildAll();
    const WordplaySearch::Reading reading =
        several ? WordplaySearch::Reading::Decoded : WordplaySearch::Reading::Streaming;
    if (options.common)
        for (int index = 0; index < list.Count(); ++index)
            if (!MarksCommonWords(list, index, several ? list.Decoded(index).get() : nullptr))
                err << "quillon: " << tools::Platform().systemToUtf8(list.Path(index))
                    << " marks no common words; all its words are searched\n";

    if (options.format == Format::Json) out << "[";
    bool first = true;
    RunInOrder(
        answers.size(), jobs,
        [&]() -> AnswerWorker {
            auto search =
                std::make_shared<WordplaySearch>(list, abbreviations, options.maxPieces, reading);
            search->SetCommonWordsOnly(options.common);
            return [&, search](std::size_t i) {
                return AnswerText(*search, answers[i], several, options);
            };
        },
        [&](std::string& text) {
            if (options.format == Format::Json) out << (first ? "\n" : ",\n");
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            first = false;
        });
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
    return allValid ? 0 : kUnusableFile;
}

} // namespace

std::string DefaultDictionary(const Environment& environment) {
    return Beside(Beside(environment.programDirectory, "Dictionaries"), "Standard English.owd");
}

int RunQuillon(const std::vector<std::string>& args, const Environment& environment,
               std::ostream& out, std::ostream& err) {
    if (args.empty() || IsHelp(args[0]) || args[0] == "help") {
        out << kUsage;
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "search") return Search(rest, environment, out, err);
    if (args[0] == "info") return Info(rest, environment, out, err);
    if (args[0] == "hidden") return RunHidden(rest, environment, out, err);
    err << "quillon: unknown command \"" << args[0] << "\"\n" << kUsage;
    return kUsageMistake;
}

} // namespace quillon::cli
