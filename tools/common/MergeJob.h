// Merging word lists into one sorted list without repeats, as one job: read
// the removal lists, read and merge the lists, write the result. OWMERGE's
// command line and its window both run it.
#pragma once

#include "common/Progress.h"
#include "common/WordList.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quillon::tools {

struct MergeRequest {
    std::vector<std::string> lists;
    std::vector<std::string> removals; // entries found here are left out
    std::string output;
    bool ignoreCase = false; // entries differing only in letter case are repeats
    bool utf8 = true;        // else Windows-1252
};

struct MergedList {
    std::string path;
    bool removal = false;
    ListStats stats;
};

struct MergeReport {
    std::vector<MergedList> lists; // in the order read (removal lists first), up to a failure
    std::size_t written = 0;
    std::size_t repeats = 0;
    std::size_t removed = 0;
};

// Runs the job. Returns false, with error set, when a list cannot be read,
// the output cannot be written or progress asked to stop; the output file is
// then as it was.
bool MergeWordLists(const MergeRequest& request, MergeReport& report, std::string& error,
                    const Progress& progress = {});

} // namespace quillon::tools
