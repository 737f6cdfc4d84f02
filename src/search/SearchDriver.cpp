// The search as one user action: the steps around the phases, in the order the
// user sees them.
#include "search/WordplaySearch.h"

void SearchHost::SearchStarting(const std::string&) {}
void SearchHost::SearchFinished(const std::string&) {}
void SearchHost::CommonWordsUnmarked() {}

void RunWordplaySearch(SearchHost& host, OWDictionaryList& list,
                       const AbbreviationSet& abbreviations, int maxPieces,
                       const std::string& typedAnswer, bool commonWordsOnly) {
    // An unusable dictionary stops everything before the history or the rows change.
    if (const std::optional<std::string> invalid = list.FirstInvalidPath()) {
        host.ShowInvalidDictionary(*invalid);
        return;
    }
    WordplaySearch search(list, abbreviations, maxPieces);
    search.SetCommonWordsOnly(commonWordsOnly);
    search.SetAnswer(typedAnswer);
    host.SearchStarting(typedAnswer);
    search.Run(host);
    host.SearchFinished(typedAnswer);
    if (search.CommonWordsUnmarked()) host.CommonWordsUnmarked();
}
