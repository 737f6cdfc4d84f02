// Indicator table files as the Indicators windows read them: any bytes, with
// a filter taken from the front of the input. Every row must come out with
// exactly one cell per column, a filtered read must keep only rows of that
// key, and the header-click order must be a consistent ordering of the rows.
#include "results/IndicatorTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // "filter NUL contents", or no filter when there is no NUL.
    std::string_view filter;
    if (const std::size_t nul = input.find('\0'); nul != std::string_view::npos && nul < 16) {
        filter = input.substr(0, nul);
        input.remove_prefix(nul + 1);
    }
    const IndicatorTable table = ParseIndicatorTable(input, filter);
    if (!table.caption && (!table.columns.empty() || !table.rows.empty())) std::abort();
    if (table.columns.empty() && !table.rows.empty()) std::abort();
    const int columns = static_cast<int>(table.columns.size());
    for (const auto& row : table.rows) {
        if (row.size() != table.columns.size()) std::abort();
        if (!filter.empty() && row[0] != filter) std::abort();
    }
    for (int column = 0; column < columns; ++column) {
        for (bool descending : {false, true}) {
            for (std::size_t i = 0; i + 1 < table.rows.size() && i < 64; ++i) {
                const auto& a = table.rows[i];
                const auto& b = table.rows[i + 1];
                const int ab = CompareTableRows(a, b, column, descending, columns);
                if (ab != -CompareTableRows(b, a, column, descending, columns)) std::abort();
                if (a == b && ab != 0) std::abort();
            }
        }
    }
    return 0;
}
