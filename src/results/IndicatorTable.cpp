#include "results/IndicatorTable.h"

#include <algorithm>
#include <array>
#include <sstream>

namespace {

constexpr std::array<std::string_view, IndicatorKind::Count> titles = {
    "Charade", "Container and Contents", "Reversal", "Anagram", "", "Abbreviation"};

// Cells are compared on at most this many leading bytes, as the list shows them.
constexpr std::size_t compareLength = 999;

std::string_view Cell(const std::vector<std::string>& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.size()) return {};
    return std::string_view(row[static_cast<std::size_t>(column)]).substr(0, compareLength);
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

std::string_view IndicatorKindTitle(int kind) {
    if (kind < 0 || kind >= IndicatorKind::Count) return {};
    return titles[static_cast<std::size_t>(kind)];
}

std::string IndicatorFileName(int kind) {
    const std::string_view title = IndicatorKindTitle(kind);
    return title.empty() ? std::string() : std::string(title) + ".txt";
}

bool TableLineReader::Next(std::string& line) {
    line.clear();
    std::streambuf* buffer = in_.rdbuf();
    if (buffer == nullptr) return false;
    bool readAny = false;
    bool keeping = true; // false once a NUL byte or the length limit is reached
    bool cut = false;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (!readAny) return false;
            break;
        }
        readAny = true;
        if (c == '\n') break;
        if (!keeping) continue;
        if (c == '\0' || line.size() == MaxLineLength) {
            keeping = false;
            cut = true;
            continue;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::vector<std::string_view> SplitTableLine(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', from);
        const std::string_view field =
            line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
        if (field.empty()) break;
        fields.push_back(field);
        if (tab == std::string_view::npos) break;
        from = tab + 1;
    }
    return fields;
}

IndicatorTable ReadIndicatorTable(std::istream& in, std::string_view filter) {
    IndicatorTable table;
    TableLineReader reader(in);
    std::string line;
    if (!reader.Next(line)) return table;
    table.caption = line;
    while (reader.Next(line)) {
        if (line.find('\t') == std::string::npos) continue;
        const std::vector<std::string_view> fields = SplitTableLine(line);
        // A title line whose first field is empty yields no columns, so the next
        // line with a tab is taken for the titles instead.
        if (table.columns.empty()) {
            table.columns.assign(fields.begin(), fields.end());
            continue;
        }
        const std::string_view key = fields.empty() ? std::string_view() : fields.front();
        if (!filter.empty() && key != filter) continue;
        std::vector<std::string> row(table.columns.size());
        const std::size_t count = std::min(fields.size(), row.size());
        for (std::size_t i = 0; i < count; ++i)
            row[i] = fields[i];
        table.rows.push_back(std::move(row));
    }
    return table;
}

IndicatorTable ParseIndicatorTable(std::string_view contents, std::string_view filter) {
    std::istringstream in{std::string(contents)};
    return ReadIndicatorTable(in, filter);
}

int TableColumnWidthOrDefault(int stored, int screenWidth) {
    if (stored < 1 || stored > screenWidth / 2) return screenWidth / 6;
    return stored;
}

int CompareTableRows(const std::vector<std::string>& a, const std::vector<std::string>& b,
                     int sortColumn, bool descending, int columnCount) {
    int result = Sign(Cell(a, sortColumn).compare(Cell(b, sortColumn)));
    for (int column = 0; result == 0 && column < columnCount; ++column)
        result = Sign(Cell(a, column).compare(Cell(b, column)));
    return descending ? -result : result;
}

std::string CopyTableRows(const std::vector<std::vector<std::string>>& rows,
                          const std::vector<std::size_t>& which, int columnCount) {
    std::string text;
    for (const std::size_t r : which) {
        if (r >= rows.size()) continue;
        const std::vector<std::string>& row = rows[r];
        std::size_t cells =
            std::min(row.size(), static_cast<std::size_t>(std::max(columnCount, 0)));
        while (cells > 0 && row[cells - 1].empty())
            --cells;
        for (std::size_t c = 0; c < cells; ++c) {
            if (c > 0) text += '\t';
            text += row[c];
        }
        text += "\r\n";
    }
    return text;
}
