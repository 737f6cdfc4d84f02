#include "common/MergeJob.h"

#include "common/Encoding.h"

#include <algorithm>
#include <set>
#include <unordered_set>

namespace quillon::tools {

bool MergeWordLists(const MergeRequest& request, MergeReport& report, std::string& error,
                    const Progress& progress) {
    report = {};
    const auto identity = [&](const std::string& text) {
        return request.ignoreCase ? LowerCp1252(text) : text;
    };
    // Reading is most of the work; sorting and writing the rest.
    const Progress reading = progress.Part(0, 700);
    const std::size_t toRead = request.removals.size() + request.lists.size();
    const auto read = [&](const std::string& path, bool removal, std::vector<Entry>& entries) {
        if (!reading.Step(report.lists.size(), toRead)) {
            error = kStoppedError;
            return false;
        }
        std::string bytes;
        if (!ReadFileBytes(path, bytes, error)) return false;
        MergedList list{path, removal, {}};
        entries = ParseWordList(bytes, ListFormat::Lines, ListFilter{}, list.stats);
        report.lists.push_back(std::move(list));
        return true;
    };

    // Removal goes by the entry alone, whatever supplementary text either side has.
    std::unordered_set<std::string> removed;
    for (const std::string& path : request.removals) {
        std::vector<Entry> entries;
        if (!read(path, true, entries)) return false;
        for (const Entry& e : entries)
            removed.insert(identity(e.text));
    }
    // A repeat is the same entry with the same supplementary text.
    std::set<std::pair<std::string, std::string>> seen;
    std::vector<Entry> merged;
    for (const std::string& path : request.lists) {
        std::vector<Entry> entries;
        if (!read(path, false, entries)) return false;
        for (Entry& e : entries) {
            if (removed.count(identity(e.text))) {
                ++report.removed;
                continue;
            }
            if (!seen.insert({identity(e.text), identity(e.supplement)}).second) {
                ++report.repeats;
                continue;
            }
            merged.push_back(std::move(e));
        }
    }
    if (!progress.Part(700, 1000).Step(0, 1)) {
        error = kStoppedError;
        return false;
    }
    // Dictionary order: plain letters first, so "Café" sits beside "cafe",
    // then the exact bytes, so the output does not depend on the input order.
    std::vector<std::pair<std::string, const Entry*>> order;
    order.reserve(merged.size());
    for (const Entry& e : merged)
        order.emplace_back(SortKeyCp1252(e.text), &e);
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return *a.second < *b.second;
    });
    std::string text;
    for (const auto& [key, e] : order) {
        std::string line = e->text;
        if (!e->supplement.empty()) line += '\t' + e->supplement;
        text += request.utf8 ? Cp1252ToUtf8(line) : line;
        text += '\n';
    }
    if (!progress.Part(900, 1000).Step(0, 1)) {
        error = kStoppedError;
        return false;
    }
    if (!WriteFileBytes(request.output, text, error)) return false;
    report.written = merged.size();
    progress.Step(1, 1);
    return true;
}

} // namespace quillon::tools
