// Times the hidden words on the default dictionary: reading and indexing its
// words once, then finding the phrases for answers of 3 to 15 letters.
//
//   bench_hidden [DICTIONARY] [--runs N]
//
// Every figure is the median of N runs (default 7). "first" is what a user
// waits for the first time (index and find); later answers cost "find" only.
#include "Timing.h"

#include "search/HiddenWords.h"
#include "search/WordplaySearch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Median;
using bench::Milliseconds;

} // namespace

int main(int argc, char** argv) {
    std::string dictionary = std::string(QUILLON_DIST_DIR) + "/Dictionaries/Standard English.owd";
    int runs = 7;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            dictionary = arg;
    }
    OWDictionaryList list(dictionary);
    if (const auto invalid = list.FirstInvalidPath()) {
        std::fprintf(stderr, "%s is not a usable dictionary\n", invalid->c_str());
        return 1;
    }

    std::vector<double> indexing;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const HiddenWordIndex index(list);
        indexing.push_back(Milliseconds(Clock::now() - start));
    }
    const HiddenWordIndex index(list);
    std::printf("dictionary: %s\n%zu words (%zu marked common), indexed in %.1f ms; "
                "row limit %zu, median of %d runs\n\n",
                dictionary.c_str(), index.Words(), index.CommonWords(), Median(indexing),
                HiddenWordIndex::kRowLimit, runs);

    std::printf("%-16s %3s %9s %6s %12s %9s %9s\n", "answer", "l", "find (ms)", "rows", "phrases",
                "first", "best row");
    for (const std::string answer :
         {"cat", "note", "stone", "carpet", "chapter", "ice cream", "education", "strawberry",
          "red herring", "constitution", "extraordinary", "photosynthesis", "under the weather"}) {
        const std::string letters = NormaliseAnswer(list, answer);
        std::vector<double> finds;
        HiddenWordList found;
        for (int run = 0; run < runs; ++run) {
            const auto start = Clock::now();
            found = index.Find(letters);
            finds.push_back(Milliseconds(Clock::now() - start));
        }
        std::printf("%-16s %3zu %9.2f %6zu%s %11llu %9.1f %s\n", answer.c_str(), letters.size(),
                    Median(finds), found.rows.size(), found.stepsRanOut ? "+" : " ",
                    static_cast<unsigned long long>(found.phrases),
                    Median(indexing) + Median(finds),
                    found.rows.empty() ? "-" : found.rows.front().text.c_str());
    }
    std::printf("\n+ = the walks ran out of steps; first = index + find\n");
    return 0;
}
