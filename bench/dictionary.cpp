// Decoding speed of the dictionary reader: the whole default dictionary (or the
// .owd file named on the command line), then the three queries the search
// makes for a few answers. Prints a table; each figure is the best of several
// passes so that a busy machine disturbs it less.
//
//   bench_dictionary [file.owd] [passes]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "dictionary/InputEngine.h"
#include "dictionary/MatchEngine.h"
#include "dictionary/OWDictionaryList.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Totals {
    long entries = 0;
    long symbols = 0;
};

// Counts the decoded bytes of slot n's first group bit by bit, outside the
// timed runs, because the record cannot tell how long a line feed part was.
long CountSymbols(const OWDictionaryList::Dictionary& d, const std::vector<std::uint8_t>& file,
                  int n) {
    bool present = n == d.lengthSlots - 1 || d.sectionOffset[n + 1] > d.sectionOffset[n];
    if (!present || d.sectionOffset[n] < 0) return 0;
    std::size_t bit = static_cast<std::size_t>(d.sectionOffset[n]) * 8;
    long symbols = 0;
    for (;;) {
        int letters = 0;
        bool inKey = true;
        for (;;) {
            int node = OWDictionaryList::Dictionary::kRoot;
            while (node >= OWDictionaryList::Dictionary::kRoot) {
                if (bit / 8 >= file.size()) return symbols;
                node = d.decodeTree[node][(file[bit / 8] >> (bit % 8)) & 1];
                ++bit;
                if (node < 0) return symbols;
            }
            ++symbols;
            if (node == 0) break;
            if (node == 10) inKey = false;
            if (inKey && d.decodeTree[node][1] != 255) ++letters;
        }
        if (letters == 0) return symbols;
        if (d.version > 0) ++bit;
    }
}

Totals ReadEverything(OWDictionaryList& list) {
    Totals t;
    InputEngine engine(list, 0);
    for (int n = 1; n < list.SlotCount(0); ++n) {
        if (!engine.Start(n)) continue;
        for (const std::uint8_t* r = engine.Next(); r[0] != owrecord::kEnd; r = engine.Next())
            ++t.entries;
    }
    return t;
}

long RunQuery(OWDictionaryList& list, const std::string& query, int length, long& scanned) {
    MatchEngine matcher;
    if (matcher.Compile(list, 0, query) != 0) return -1;
    matcher.SetLength(length);
    InputEngine engine(list, 0);
    if (!engine.Start(length)) return 0;
    long accepted = 0;
    for (const std::uint8_t* r = engine.Next(&matcher); r[0] != owrecord::kEnd;
         r = engine.Next(&matcher))
        ++accepted;
    scanned += list.At(0).sectionCount[length];
    return accepted;
}

template <class F> double BestSeconds(int passes, F&& f) {
    double best = 1e30;
    for (int i = 0; i < passes; ++i) {
        auto start = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : QUILLON_DIST_DIR "/Dictionaries/Standard English.owd";
    int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    OWDictionaryList list(path);
    if (auto bad = list.FirstInvalidPath()) {
        std::fprintf(stderr, "%s: %s\n", bad->c_str(), list.Description(0).c_str());
        return 1;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    const OWDictionaryList::Dictionary& d = list.At(0);

    long symbols = 0;
    for (int n = 1; n < d.lengthSlots; ++n)
        symbols += CountSymbols(d, file, n);
    std::int32_t first = 0;
    for (int n = 1; n < d.lengthSlots && !first; ++n)
        first = d.sectionOffset[n];
    double dataBytes = static_cast<double>(file.size()) - first;

    Totals totals;
    double seconds = BestSeconds(passes, [&] { totals = ReadEverything(list); });
    std::printf("dictionary: %s\n", path.c_str());
    std::printf("  %ld entries, %ld symbols, %.0f bytes of word data, version %d\n", totals.entries,
                symbols, dataBytes, d.version);
    std::printf("whole dictionary, no query: %.2f ms per pass (best of %d)\n", seconds * 1e3,
                passes);
    std::printf("  %.1f M entries/s   %.1f MB/s of file   %.1f M symbols/s\n",
                totals.entries / seconds / 1e6, dataBytes / seconds / 1e6,
                static_cast<double>(symbols) / seconds / 1e6);

    struct Answer {
        const char* letters;
    } answers[] = {{"carpet"}, {"icecream"}, {"interpretation"}};
    std::printf("%-36s %8s %10s %12s %10s\n", "query", "length", "accepted", "ms", "M scanned/s");
    for (const Answer& a : answers) {
        std::string letters = a.letters;
        for (char& c : letters)
            c = static_cast<char>(
                list.LetterChar(0, list.LetterIndex(0, static_cast<unsigned char>(c))));
        int answerLength = static_cast<int>(letters.size());
        std::vector<std::pair<std::string, int>> queries;
        for (int k = 2; k <= std::min(answerLength, 8); k += 3)
            queries.push_back({std::string(static_cast<std::size_t>(k), '.') + ";" + letters, k});
        for (int m = 0; m <= 4; m += 2)
            queries.push_back(
                {";" + letters + std::string(static_cast<std::size_t>(m), '.'), answerLength + m});
        for (const auto& [query, length] : queries) {
            if (length >= d.lengthSlots) continue;
            long accepted = 0, scanned = 0;
            double s = BestSeconds(passes, [&] {
                scanned = 0;
                accepted = RunQuery(list, query, length, scanned);
            });
            std::printf("%-36s %8d %10ld %12.3f %10.1f\n", query.c_str(), length, accepted, s * 1e3,
                        static_cast<double>(scanned) / s / 1e6);
        }
    }
    return 0;
}
