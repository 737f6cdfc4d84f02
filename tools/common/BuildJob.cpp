#include "common/BuildJob.h"

namespace quillon::tools {

std::size_t SkippedEntries(const BuildStats& stats) {
    return stats.duplicates + stats.noLetters + stats.tooManyLetters + stats.noPlainLetter +
           stats.tooLong;
}

bool BuildDictionaryFile(const BuildRequest& request, BuildReport& report, std::string& error,
                         const Progress& progress) {
    // Reading takes about as long as building; writing is quick.
    const Progress reading = progress.Part(0, 450), building = progress.Part(450, 950);
    report = {};
    std::vector<Entry> entries;
    const std::size_t count = request.sources.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!reading.Step(i, count)) {
            error = kStoppedError;
            return false;
        }
        const ListSource& source = request.sources[i];
        std::string bytes;
        if (!ReadFileBytes(source.path, bytes, error)) return false;
        ListReport list{source.path, {}};
        auto parsed = ParseWordList(bytes, source.format, request.filter, list.stats);
        report.lists.push_back(std::move(list));
        entries.insert(entries.end(), std::make_move_iterator(parsed.begin()),
                       std::make_move_iterator(parsed.end()));
    }
    BuildOptions options = request.options;
    for (const std::string& path : request.commonLists) {
        std::string bytes;
        if (!ReadFileBytes(path, bytes, error)) return false;
        ListReport list{path, {}};
        for (Entry& e : ParseWordList(bytes, ListFormat::Lines, ListFilter{}, list.stats))
            options.common.insert(std::move(e.text));
        report.commonLists.push_back(std::move(list));
    }
    if (request.cluePhrases)
        DropUnusablePhrases(entries, OrdinaryWords(entries, options.common), report.phrases);
    std::string image;
    if (!BuildDictionary(std::move(entries), options, image, report.build, error, building))
        return false;
    if (!progress.Part(950, 1000).Step(0, 1)) {
        error = kStoppedError;
        return false;
    }
    if (!WriteFileBytes(request.output, image, error)) return false;
    progress.Step(1, 1);
    return true;
}

} // namespace quillon::tools
