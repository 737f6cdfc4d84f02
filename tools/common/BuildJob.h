// Building a dictionary file from word lists, as one job: read the lists,
// build the image, write the file. OWBUILD's command line and its window both
// run it; the window on a thread of its own, following its progress.
#pragma once

#include "common/OwdWriter.h"
#include "common/Phrases.h"
#include "common/Progress.h"
#include "common/WordList.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quillon::tools {

// The description of a dictionary whose builder gave none.
inline constexpr const char* kDefaultDescription = "Dictionary built by OWBUILD";

struct ListSource {
    std::string path;
    ListFormat format = ListFormat::Lines;
};

struct BuildRequest {
    std::vector<ListSource> sources; // read in this order
    std::string output;
    BuildOptions options;
    ListFilter filter;
    // Lists (one word a line) whose words are marked common, added to
    // options.common; version 1 only.
    std::vector<std::string> commonLists;
    bool cluePhrases = false; // leave out the phrases no clue could use
};

// What one list held.
struct ListReport {
    std::string path;
    ListStats stats;
};

struct BuildReport {
    std::vector<ListReport> lists;       // the lists read, up to a failure
    std::vector<ListReport> commonLists; // the common lists read, up to a failure
    PhraseStats phrases;                 // counted when cluePhrases is set
    BuildStats build;
};

// Entries the writer left out for any reason (repeats included).
std::size_t SkippedEntries(const BuildStats& stats);

// Runs the job. Returns false, with error set, when a list cannot be read,
// nothing is left to write, the file cannot be written or progress asked to
// stop; the output file is then as it was.
bool BuildDictionaryFile(const BuildRequest& request, BuildReport& report, std::string& error,
                         const Progress& progress = {});

} // namespace quillon::tools
