#include "quillon/HiddenCommand.h"

#include "quillon/TerminalText.h"

#include "common/Arguments.h"
#include "common/Encoding.h"
#include "common/Platform.h"
#include "common/WordList.h"
#include "dictionary/OWDictionaryList.h"
#include "search/HiddenWords.h"
#include "search/WordplaySearch.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ostream>

namespace quillon::cli {

const char* const kHiddenUsage =
    "Usage:\n"
    "  quillon hidden [options] ANSWER...   list the phrases that hide each answer\n"
    "\n"
    "A phrase of two or three dictionary words hides the answer when the answer's\n"
    "letters end its first word and begin its last; [brackets] set them apart, and\n"
    "\"<\" marks an answer that reads backwards.\n"
    "\n"
    "Options:\n"
    "  --dictionary LIST      dictionary files separated by \";\"\n"
    "  --limit N              list at most N phrases per answer (default 200), the best:\n"
    "                         common words first, then shorter phrases\n"
    "  --format table|tsv|json\n"
    "                         tsv prints phrase, words and common words separated by tabs\n"
    "                         (with several answers, each row begins with its answer)\n"
    "  --color auto|always|never\n";

namespace {

constexpr const char* kNothingHiddenText = "No hidden words were found for the answer";
constexpr std::size_t kMostRows = 100000;
constexpr int kUnusableFile = 1;
constexpr int kUsageMistake = 2;

struct HiddenOptions {
    std::string dictionary;
    std::size_t limit = HiddenWordIndex::kRowLimit;
    Format format = Format::Table;
    bool colour = false;
    std::vector<std::string> answers;
};

// "The 200 best of 8812 phrases are listed." for a list cut short.
std::string CutNote(const HiddenWordList& list) {
    if (list.stepsRanOut)
        return "The " + std::to_string(list.rows.size()) + " best phrases found in the time " +
               "allowed are listed, of " + std::to_string(list.phrases) + ".";
    return "The " + std::to_string(list.rows.size()) + " best of " + std::to_string(list.phrases) +
           " phrases are listed.";
}

// The brackets and the reversal mark in the notation colour, as the result
// list draws notation.
void PutPhrase(const std::string& text, bool colour, std::ostream& out) {
    if (!colour) {
        out << Utf8(text);
        return;
    }
    for (const char c : text) {
        if (c == '[' || c == ']' || c == '<')
            out << kNotationColour << c << kResetColour;
        else
            out << Utf8(std::string_view(&c, 1));
    }
}

void PrintTable(const std::string& answer, const HiddenWordList& list, const HiddenOptions& options,
                std::ostream& out) {
    out << "Answer: " << answer << "\n";
    if (list.rows.empty()) {
        out << kNothingHiddenText << "\n\n";
        return;
    }
    const char* title = "Hidden words";
    std::size_t width = Width(title);
    for (const HiddenWordRow& row : list.rows)
        width = std::max(width, Width(Utf8(row.text)));
    out << title << std::string(width - Width(title) + 2, ' ') << "Words";
    if (list.commonMarks) out << "  Common";
    out << "\n";
    for (const HiddenWordRow& row : list.rows) {
        PutPhrase(row.text, options.colour, out);
        out << std::string(width - Width(Utf8(row.text)) + 2 + 4, ' ') << int{row.words};
        if (list.commonMarks) out << std::string(7, ' ') << int{row.common};
        out << "\n";
    }
    if (list.Cut()) out << CutNote(list) << "\n";
    out << "\n";
}

void PrintTsv(const std::string& answer, const HiddenWordList& list, const HiddenOptions& options,
              std::ostream& out, std::ostream& err) {
    for (const HiddenWordRow& row : list.rows) {
        if (options.answers.size() > 1) out << answer << '\t';
        out << Utf8(row.text) << '\t' << int{row.words} << '\t';
        if (list.commonMarks) out << int{row.common};
        out << '\n';
    }
    // The rows stay plain data; the note goes beside them.
    if (list.Cut()) err << "quillon: " << answer << ": " << CutNote(list) << "\n";
}

void PrintJson(const std::string& answer, const HiddenWordList& list, bool first,
               std::ostream& out) {
    out << (first ? "[\n" : ",\n") << "  {\"answer\": " << JsonString(answer)
        << ", \"phrases\": " << list.phrases << ", \"cut\": " << (list.Cut() ? "true" : "false")
        << ", \"commonMarks\": " << (list.commonMarks ? "true" : "false") << ", \"rows\": [";
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
        const HiddenWordRow& row = list.rows[i];
        out << (i == 0 ? "\n" : ",\n") << "    {\"text\": " << JsonString(Utf8(row.text))
            << ", \"words\": " << int{row.words} << ", \"common\": " << int{row.common}
            << ", \"letters\": " << int{row.letters}
            << ", \"reversed\": " << (row.reversed ? "true" : "false") << "}";
    }
    out << (list.rows.empty() ? "]}" : "\n  ]}");
}

bool ParseLimit(const std::string& text, std::size_t& limit) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < 1 || value > kMostRows) return false;
    limit = static_cast<std::size_t>(value);
    return true;
}

} // namespace

int RunHidden(const std::vector<std::string>& args, const Environment& environment,
              std::ostream& out, std::ostream& err) {
    HiddenOptions options;
    options.dictionary = DefaultDictionary(environment);
    bool namedDictionary = false;
    options.colour = environment.terminal;
    const auto mistake = [&err](const std::string& message) {
        err << "quillon: " << message << "\n" << kHiddenUsage;
        return kUsageMistake;
    };
    tools::ArgumentCursor arg(args);
    while (arg.Next()) {
        const std::string& a = arg.Current();
        std::string value;
        if (arg.IsHelp()) {
            out << kHiddenUsage;
            return 0;
        } else if (a == "--dictionary") {
            if (!arg.TakeValue(options.dictionary)) return mistake("--dictionary needs a file");
            namedDictionary = true;
        } else if (a == "--limit") {
            if (!arg.TakeValue(value) || !ParseLimit(value, options.limit))
                return mistake("--limit needs a whole number from 1 to " +
                               std::to_string(kMostRows) + ", not \"" + value + "\"");
        } else if (a == "--format") {
            arg.TakeValue(value);
            if (!ParseFormat(value, options.format))
                return mistake("unknown format \"" + value + "\" (table, tsv or json)");
        } else if (a == "--color") {
            arg.TakeValue(value);
            if (!ParseColour(value, environment.terminal, options.colour))
                return mistake("--color takes auto, always or never");
        } else if (a == "--") {
            for (std::string& answer : arg.TakeRest())
                options.answers.push_back(std::move(answer));
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return mistake("unknown option " + a);
        } else {
            options.answers.push_back(a);
        }
    }
    if (options.answers.empty()) return mistake("hidden needs an answer");

    // Paths are the system's own; only the answers are Windows-1252. The
    // default dictionary is one file, whatever its folder is called.
    OWDictionaryList list = namedDictionary
                                ? OWDictionaryList(options.dictionary)
                                : OWDictionaryList(OWDictionaryList::OnePath{}, options.dictionary);
    if (const auto invalid = list.FirstInvalidPath()) {
        err << tools::Platform().systemToUtf8(*invalid) << kInvalidDictionaryText << "\n";
        return kUnusableFile;
    }
    const HiddenWordIndex index(list);
    bool first = true;
    for (const std::string& typed : options.answers) {
        const std::string answer = tools::Platform().systemToUtf8(typed);
        const HiddenWordList found =
            index.Find(NormaliseAnswer(list, tools::ArgumentToCp1252(typed)), options.limit);
        switch (options.format) {
        case Format::Table:
            PrintTable(answer, found, options, out);
            break;
        case Format::Tsv:
            PrintTsv(answer, found, options, out, err);
            break;
        case Format::Json:
            PrintJson(answer, found, first, out);
            break;
        }
        first = false;
    }
    if (options.format == Format::Json) out << "\n]\n";
    out.flush();
    return 0;
}

} // namespace quillon::cli
