// Times the result-list work done after every search and when the view starts:
// finishing (dedupe and sort) lists the size the multiple-anagram cap allows and
// beyond, bracketing every row for a copy, and loading the shipped abbreviation set.
#include "results/AbbreviationSet.h"
#include "results/IndicatorTable.h"
#include "results/ResultList.h"
#include "results/RowBuilder.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <class F> double BestMilliseconds(int repeats, F&& work) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        work();
        const std::chrono::duration<double, std::milli> took = Clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Rows shaped like a real search's: charades of short pieces, one in three a repeat.
std::vector<WordplayRow> MakeRows(std::size_t count) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::uniform_int_distribution<int> pieces(2, 5);
    std::vector<WordplayRow> rows;
    rows.reserve(count);
    WordplayRowBuilder b;
    for (std::size_t i = 0; i < count; ++i) {
        if (i % 3 == 2) {
            rows.push_back(rows[i - 1]);
            rows.back().sequence = static_cast<std::int32_t>(i);
            continue;
        }
        b.Clear();
        const int n = pieces(random);
        for (int p = 0; p < n; ++p) {
            if (p > 0) b.AppendSymbol(" + ");
            std::string piece(static_cast<std::size_t>(2 + p % 3), 'x');
            for (char& c : piece)
                c = static_cast<char>(letter(random));
            b.AppendPiece(piece, p % 2 == 1);
        }
        rows.push_back(b.Build(static_cast<std::int8_t>(i % 15), n, static_cast<std::int32_t>(i)));
        if (i % 5 == 0) rows.back().style[1] = 'E';
    }
    return rows;
}

} // namespace

int main() {
    std::printf("%-44s %12s\n", "operation", "best ms");
    for (std::size_t count : {1000u, 10000u, 100000u}) {
        const std::vector<WordplayRow> rows = MakeRows(count);
        std::size_t kept = 0;
        const double finish = BestMilliseconds(5, [&] {
            std::vector<WordplayRow> copy = rows;
            FinishResultList(copy, ColumnTable{});
            kept = copy.size();
        });
        std::printf("finish %6zu rows (%6zu kept, incl. copy)   %12.3f\n", count, kept, finish);

        ColumnTable byType;
        byType.Promote(2);
        byType.SetDescending(1, true);
        std::vector<WordplayRow> sorted = rows;
        const double resort = BestMilliseconds(5, [&] { SortRows(sorted, byType); });
        std::printf("re-sort %6zu rows by type descending        %12.3f\n", count, resort);

        std::vector<std::size_t> all(rows.size());
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = i;
        std::size_t bytes = 0;
        const double copy = BestMilliseconds(5, [&] { bytes = JoinForCopy(rows, all).size(); });
        std::printf("copy   %6zu rows bracketed (%8zu bytes)  %12.3f\n", count, bytes, copy);
    }

    const std::string path = std::string(QUILLON_DIST_DIR) + "/Abbreviation.txt";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::printf("(no %s: build the quillon_data target to time the table)\n", path.c_str());
        return 0;
    }
    std::stringstream whole;
    whole << file.rdbuf();
    const std::string contents = whole.str();
    std::size_t rowsRead = 0;
    const double parse =
        BestMilliseconds(20, [&] { rowsRead = ParseIndicatorTable(contents).rows.size(); });
    std::printf("parse Abbreviation.txt (%4zu rows)            %12.3f\n", rowsRead, parse);
    std::size_t setSize = 0;
    const double load = BestMilliseconds(20, [&] {
        setSize = LoadAbbreviationSetFromFile(path, PlainAlphabet, PlainCanonicalLetter).size();
    });
    std::printf("load abbreviation set (%4zu entries)          %12.3f\n", setSize, load);
    return 0;
}
