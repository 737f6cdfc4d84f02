#pragma once
// The Hidden Words window: the phrases that hide the answer of the results,
// best first, in a table window of its own (sortable, copyable). The results
// view keeps it and fills it each time Find Hidden Words runs; it reads no
// file of its own.

#include "search/HiddenWords.h"
#include "views/TableViewWindows.h"

#include <string>

class HiddenWordsViewWindows : public TableViewWindows {
public:
    HiddenWordsViewWindows(AppContext& context, TableViewHost* host);

    // Lists what was found for answer, as the user typed it; the caption
    // names the answer and says when the list was cut.
    void Show(const std::string& answer, const HiddenWordList& found);

protected:
    void LoadContents() override;

private:
    std::string Caption(const std::string& answer, const HiddenWordList& found) const;

    IndicatorTable table_;
};
