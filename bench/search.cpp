// Times the wordplay search on the default dictionary: the whole search and each
// phase, for answers of 3 to 15 letters (words and phrases), with MaxPieces 4; then
// the multiple anagrams beside Debian's anagram generator `an` on the same word
// list and letters.
//
//   bench_search [DICTIONARY [ABBREVIATIONS]] [--runs N]
//
// Every figure is the median of N runs (default 7). Times include reading the
// dictionary file, as a search in the program does.
#include "results/AbbreviationSet.h"
#include "results/ColumnTable.h"
#include "results/ResultList.h"
#include "search/ListAbbreviations.h"
#include "search/WordplaySearch.h"

#include "dictionary/InputEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// What the results view does with the rows, minus the screen.
class BenchHost : public SearchHost {
public:
    void ShowInvalidDictionary(const std::string& path) override {
        std::fprintf(stderr, "invalid dictionary: %s\n", path.c_str());
    }
    void AddRow(WordplayRow row) override { rows.push_back(std::move(row)); }
    void SearchFinished(const std::string&) override { FinishResultList(rows, ColumnTable()); }
    std::vector<WordplayRow> rows;
};

struct CountingSink : RowSink {
    std::size_t rows = 0;
    void AddRow(WordplayRow) override { ++rows; }
};

// The dictionary's entries as a plain word list, one a line, for `an`.
std::size_t WriteWordList(OWDictionaryList& list, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    std::size_t words = 0;
    for (int length = 1; length < 32; ++length) {
        InputEngine input(list, 0);
        if (!input.Start(length)) continue;
        for (;;) {
            const std::uint8_t* record = input.Next();
            if (record[owrecord::kKey] == owrecord::kEnd) break;
            out << reinterpret_cast<const char*>(record + owrecord::kText) << '\n';
            ++words;
        }
    }
    return words;
}

double TimeCommand(const std::string& command, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (std::system(command.c_str()) != 0) return -1;
        times.push_back(Milliseconds(Clock::now() - start));
    }
    return Median(times);
}

} // namespace

int main(int argc, char** argv) {
    std::string dictionary = std::string(QUILLON_DIST_DIR) + "/Dictionaries/Standard English.owd";
    std::string abbreviationsPath = std::string(QUILLON_DIST_DIR) + "/Abbreviation.txt";
    int runs = 7;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            positional.push_back(arg);
        }
    }
    if (!positional.empty()) dictionary = positional[0];
    if (positional.size() > 1) abbreviationsPath = positional[1];

    OWDictionaryList list(dictionary);
    if (const auto invalid = list.FirstInvalidPath()) {
        std::fprintf(stderr, "%s is not a usable dictionary\n", invalid->c_str());
        return 1;
    }
    const AbbreviationSet abbreviations = LoadListAbbreviations(list, abbreviationsPath);
    constexpr int kMaxPieces = 4;
    std::printf("dictionary: %s (%lld entries), %zu abbreviations, MaxPieces %d, median of %d "
                "runs\n\n",
                dictionary.c_str(), static_cast<long long>(list.Statistics(0).entries),
                abbreviations.size(), kMaxPieces, runs);

    const std::vector<std::string> answers = {"cat",
                                              "note",
                                              "stone",
                                              "carpet",
                                              "chapter",
                                              "ice cream",
                                              "education",
                                              "strawberry",
                                              "red herring",
                                              "piece of cake",
                                              "constitution",
                                              "extraordinary",
                                              "break the ice",
                                              "nevertheless",
                                              "photosynthesis",
                                              "under the weather",
                                              "once in a blue moon"};

    std::printf("%-20s %3s %7s %6s |", "answer", "l", "whole", "rows");
    for (int p = 0; p < WordplaySearch::kPhaseCount; ++p)
        std::printf("      p%d", p + 1);
    std::printf("  (ms)\n");
    for (const std::string& answer : answers) {
        std::vector<double> whole;
        std::vector<std::vector<double>> phases(WordplaySearch::kPhaseCount);
        std::size_t rows = 0;
        bool truncated = false;
        for (int run = 0; run < runs; ++run) {
            BenchHost host;
            const auto start = Clock::now();
            RunWordplaySearch(host, list, abbreviations, kMaxPieces, answer);
            whole.push_back(Milliseconds(Clock::now() - start));
            rows = host.rows.size();

            WordplaySearch search(list, abbreviations, kMaxPieces);
            search.SetAnswer(answer);
            CountingSink sink;
            for (int p = 0; p < WordplaySearch::kPhaseCount; ++p) {
                const auto phaseStart = Clock::now();
                search.RunPhase(static_cast<WordplaySearch::Phase>(p), sink);
                phases[p].push_back(Milliseconds(Clock::now() - phaseStart));
            }
            truncated = search.Truncated();
        }
        WordplaySearch probe(list, abbreviations, kMaxPieces);
        probe.SetAnswer(answer);
        std::printf("%-20s %3zu %7.2f %6zu%s|", answer.c_str(), probe.Answer().size(),
                    Median(whole), rows, truncated ? "+" : " ");
        for (const auto& times : phases)
            std::printf(" %7.2f", Median(times));
        std::printf("\n");
    }
    std::printf("\np1 abbreviation pieces, p2 word pieces and fodder, p3 same-length words,\n"
                "p4 charades and containers, p5 contained and partial anagrams, p6 longer "
                "words,\np7 multiple anagrams. + = an enumeration stopped at its bound.\n\n");

    // Multiple anagrams beside `an`, which reads its word list on every run just as
    // the search reads the dictionary file.
    const char* an = "/usr/games/an";
    if (access(an, X_OK) != 0) {
        std::printf("%s is not installed (package an); no comparison\n", an);
        return 0;
    }
    const std::string wordList = (std::filesystem::temp_directory_path() /
                                  ("quillon-bench-words-" + std::to_string(getpid()) + ".txt"))
                                     .string();
    const std::size_t words = WriteWordList(list, wordList);
    std::printf("an -n 10000 on the same %zu entries (whole = every kind; p2+p7 = fodder and "
                "multiple anagrams)\n",
                words);
    std::printf("%-20s %3s %9s %9s %9s %8s %8s\n", "answer", "l", "an (ms)", "whole", "p2+p7",
                "whole/an", "p2p7/an");
    for (const std::string& answer :
         {std::string("education"), std::string("strawberry"), std::string("predicament"),
          std::string("constitution"), std::string("extraordinary"), std::string("break the ice"),
          std::string("photosynthesis")}) {
        WordplaySearch probe(list, abbreviations, kMaxPieces);
        probe.SetAnswer(answer);
        const std::string letters = probe.Answer();
        std::string command = an;
        command.append(" -n 10000 -d '").append(wordList).append("' '");
        command.append(letters).append("' >/dev/null 2>&1");
        const double anTime = TimeCommand(command, runs);
        std::vector<double> whole;
        std::vector<double> anagrams;
        for (int run = 0; run < runs; ++run) {
            BenchHost host;
            auto start = Clock::now();
            RunWordplaySearch(host, list, abbreviations, kMaxPieces, answer);
            whole.push_back(Milliseconds(Clock::now() - start));

            WordplaySearch search(list, abbreviations, kMaxPieces);
            search.SetAnswer(answer);
            CountingSink sink;
            search.RunPhase(WordplaySearch::Phase::AbbreviationPieces, sink);
            start = Clock::now();
            search.RunPhase(WordplaySearch::Phase::WordPieces, sink);
            search.RunPhase(WordplaySearch::Phase::MultipleAnagrams, sink);
            anagrams.push_back(Milliseconds(Clock::now() - start));
        }
        std::printf("%-20s %3zu %9.2f %9.2f %9.2f %8.2f %8.2f\n", answer.c_str(), letters.size(),
                    anTime, Median(whole), Median(anagrams), Median(whole) / anTime,
                    Median(anagrams) / anTime);
    }
    std::filesystem::remove(wordList);
    return 0;
}
