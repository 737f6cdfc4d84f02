// Times the wordplay search on the default dictionary: the whole search and each
// phase, for answers of 3 to 15 letters (words and phrases), with MaxPieces 4,
// reading the dictionary file as a lone search does; beside it the whole search
// on the decoded dictionary, as the program's later searches and a batch run it.
// Then the rows and times with common words only beside every word, the time
// and memory to decode the whole dictionary, a batch of answers
// drawn from the dictionary run by the quillon program on one thread and on
// all cores, and the multiple anagrams beside Debian's anagram generator `an`
// on the same word list and letters.
//
//   bench_search [DICTIONARY [ABBREVIATIONS]] [--runs N] [--batch N]
//
// Every figure is the median of N runs (default 7); the batch (default 10000
// answers, 0 to leave it out) runs once.
#include "Timing.h"

#include "results/AbbreviationSet.h"
#include "results/ColumnTable.h"
#include "results/ResultList.h"
#include "search/ListAbbreviations.h"
#include "search/WordplaySearch.h"

#include "dictionary/DecodedDictionary.h"
#include "dictionary/InputEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using bench::Clock;
using bench::Median;
using bench::Milliseconds;

constexpr int kMaxPieces = 4;

struct CollectingSink : RowSink {
    std::vector<WordplayRow> rows;
    void AddRow(WordplayRow row) override { rows.push_back(std::move(row)); }
};

// What a search for the user does, minus the screen: the dictionary check, the
// phases and the finished list. Returns the number of rows.
std::size_t WholeSearch(OWDictionaryList& list, const AbbreviationSet& abbreviations,
                        const std::string& answer, WordplaySearch::Reading reading,
                        bool commonWordsOnly = false) {
    if (list.FirstInvalidPath()) return 0;
    WordplaySearch search(list, abbreviations, kMaxPieces, reading);
    search.SetCommonWordsOnly(commonWordsOnly);
    search.SetAnswer(answer);
    CollectingSink sink;
    search.Run(sink);
    FinishResultList(sink.rows, ColumnTable());
    return sink.rows.size();
}

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

// Resident memory of the process in kB.
long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// `count` entries of 3 to 15 letters picked at random (always the same ones)
// from the dictionary, one a line as the dictionary spells them.
std::size_t WriteAnswers(OWDictionaryList& list, std::size_t count, const std::string& path) {
    const std::shared_ptr<DecodedDictionary> decoded = list.Decoded(0);
    std::vector<const char*> texts;
    for (int length = 3; length <= 15; ++length)
        if (const DecodedSection* section = decoded ? decoded->Section(length) : nullptr)
            for (std::size_t i = 0; i < section->Size(); ++i)
                texts.push_back(section->Text(i));
    if (texts.empty()) return 0;
    std::mt19937 random(20241208);
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < count; ++i)
        out << texts[random() % texts.size()] << '\n';
    return count;
}

} // namespace

int main(int argc, char** argv) {
    std::string dictionary = std::string(QUILLON_DIST_DIR) + "/Dictionaries/Standard English.owd";
    std::string abbreviationsPath = std::string(QUILLON_DIST_DIR) + "/Abbreviation.txt";
    int runs = 7;
    std::size_t batch = 10000;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--batch" && i + 1 < argc) {
            batch = static_cast<std::size_t>(std::max(0, std::atoi(argv[++i])));
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

    // The decoded form first, from nothing each run.
    {
        std::vector<double> times;
        std::size_t bytes = 0;
        long resident = 0;
        for (int run = 0; run < runs; ++run) {
            const long before = ResidentKilobytes();
            const auto start = Clock::now();
            auto decoded = std::make_unique<DecodedDictionary>(list.At(0));
            decoded->BuildAll();
            times.push_back(Milliseconds(Clock::now() - start));
            bytes = decoded->Bytes();
            // Later runs reuse the memory the first one freed.
            if (run == 0) resident = ResidentKilobytes() - before;
        }
        std::printf("decoded form: built in %.1f ms, %.1f MB held (%.1f MB more resident)\n\n",
                    Median(times), static_cast<double>(bytes) / (1024 * 1024),
                    static_cast<double>(resident) / 1024);
    }
    if (const auto decoded = list.Decoded(0)) decoded->BuildAll();

    std::printf("%-20s %3s %7s %6s |", "answer", "l", "whole", "rows");
    for (int p = 0; p < WordplaySearch::kPhaseCount; ++p)
        std::printf("      p%d", p + 1);
    std::printf(" | decoded  (ms)\n");
    for (const std::string& answer : answers) {
        std::vector<double> whole, decoded;
        std::vector<std::vector<double>> phases(WordplaySearch::kPhaseCount);
        std::size_t rows = 0;
        bool truncated = false;
        for (int run = 0; run < runs; ++run) {
            auto start = Clock::now();
            rows = WholeSearch(list, abbreviations, answer, WordplaySearch::Reading::Streaming);
            whole.push_back(Milliseconds(Clock::now() - start));
            start = Clock::now();
            if (WholeSearch(list, abbreviations, answer, WordplaySearch::Reading::Decoded) != rows)
                std::fprintf(stderr, "%s: the decoded form gives other rows\n", answer.c_str());
            decoded.push_back(Milliseconds(Clock::now() - start));

            WordplaySearch search(list, abbreviations, kMaxPieces,
                                  WordplaySearch::Reading::Streaming);
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
        std::printf(" | %7.2f\n", Median(decoded));
    }
    std::printf(
        "\nwhole and p1..p7 read the dictionary file (a lone search); decoded is the whole\n"
        "search on the decoded dictionary. p1 abbreviation pieces, p2 word pieces and\n"
        "fodder, p3 same-length words, p4 charades and containers, p5 contained and\n"
        "partial anagrams, p6 longer words, p7 multiple anagrams. + = an enumeration\n"
        "stopped at its bound.\n\n");

    // Common words only beside every word, both as a lone search and on the
    // decoded dictionary.
    std::printf("%-20s %7s %7s | %9s %9s | %9s %9s  (ms)\n", "answer", "rows", "common", "lone",
                "common", "decoded", "common");
    for (const std::string& answer : answers) {
        std::size_t rows[2] = {0, 0};
        std::vector<double> lone[2], decoded[2];
        for (int run = 0; run < runs; ++run) {
            for (int common = 0; common < 2; ++common) {
                auto start = Clock::now();
                rows[common] = WholeSearch(list, abbreviations, answer,
                                           WordplaySearch::Reading::Streaming, common != 0);
                lone[common].push_back(Milliseconds(Clock::now() - start));
                start = Clock::now();
                WholeSearch(list, abbreviations, answer, WordplaySearch::Reading::Decoded,
                            common != 0);
                decoded[common].push_back(Milliseconds(Clock::now() - start));
            }
        }
        std::printf("%-20s %7zu %7zu | %9.2f %9.2f | %9.2f %9.2f\n", answer.c_str(), rows[0],
                    rows[1], Median(lone[0]), Median(lone[1]), Median(decoded[0]),
                    Median(decoded[1]));
    }
    std::printf("\nrows and times with every word, and with the words the dictionary marks "
                "common only.\n\n");

    // A batch through the program, as a script runs it.
    const std::string program = std::string(QUILLON_DIST_DIR) + "/quillon";
    if (batch > 0 && access(program.c_str(), X_OK) == 0) {
        const std::string answersFile =
            (std::filesystem::temp_directory_path() /
             ("quillon-bench-answers-" + std::to_string(getpid()) + ".txt"))
                .string();
        const std::size_t count = WriteAnswers(list, batch, answersFile);
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (const unsigned jobs : {1u, cores}) {
            const std::string command = "'" + program + "' search --format tsv --dictionary '" +
                                        dictionary + "' --abbreviations '" + abbreviationsPath +
                                        "' --jobs " + std::to_string(jobs) + " --answers '" +
                                        answersFile + "' >/dev/null";
            const double ms = TimeCommand(command, 1);
            std::printf("batch of %zu answers drawn from the dictionary, --jobs %u: %.1f s "
                        "(%.2f ms an answer)\n",
                        count, jobs, ms / 1000, ms / static_cast<double>(count));
            if (jobs == cores) break;
        }
        std::filesystem::remove(answersFile);
        std::printf("\n");
    }

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
            auto start = Clock::now();
            WholeSearch(list, abbreviations, answer, WordplaySearch::Reading::Streaming);
            whole.push_back(Milliseconds(Clock::now() - start));

            WordplaySearch search(list, abbreviations, kMaxPieces,
                                  WordplaySearch::Reading::Streaming);
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
