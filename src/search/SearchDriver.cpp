// The search as one user action: the steps around the phases, in the order the
// user sees them.
#include "search/WordplaySearch.h"

void RunWordplaySearch(SearchHost& host, OWDictionaryList& list,
                       const AbbreviationSet& abbreviations, int maxPieces,
                       const std::string& typedAnswer) {
    // An unusable dictionary stops everything before the history or the rows change.
    if (const std::optional<std::string> invalid = list.FirstInvalidPath()) {
        host.ShowInvalidDictionary(*invalid);
        return;
    }
    host.RecordHistory(typedAnswer);
    WordplaySearch search(list, abbreviations, maxPieces);
    search.SetAnswer(typedAnswer);
    host.BeginSearch(SearchStringId::Searching);
    search.Run(host);
    const std::size_t shown = host.ShowResults();
    host.EndSearch(typedAnswer, shown == 0 ? SearchStringId::NoWordplay : SearchStringId::PressF1);
}
