// The results view and the Options dialog: what the dialog is given, and how
// the view takes the edited values back.
#include "views/WordplayViewWindows.h"

#include "results/ResultsViewState.h"
#include "results/Tokens.h"

WordplayOptions WordplayViewWindows::CurrentOptions() const {
    WordplayOptions options;
    options.answerFont = answerFont_;
    options.resultFont = resultFont_;
    options.outputFont = outputFont_;
    options.colours = {background_, notation_, deletion_, abbreviation_};
    options.dictionary = dictionaryName_;
    options.maxPieces = maxPieces_;
    options.brackets = brackets_;
    options.commonWordsOnly = commonWordsOnly_;
    return options;
}

void WordplayViewWindows::ApplyOptions(const WordplayOptions& options) {
    answerFont_ = options.answerFont;
    resultFont_ = options.resultFont;
    outputFont_ = options.outputFont;
    background_ = options.colours[WordplayOptions::Background];
    notation_ = options.colours[WordplayOptions::Notation];
    deletion_ = options.colours[WordplayOptions::Deletion];
    abbreviation_ = options.colours[WordplayOptions::Abbreviation];
    maxPieces_ = options.maxPieces;
    commonWordsOnly_ = options.commonWordsOnly;
    if (options.brackets != brackets_) {
        // The token is a stretch of the displayed text, which brackets change.
        brackets_ = options.brackets;
        ClearToken(token_);
        if (list_.SelectedCount() == 1)
            SelectFirstToken(token_, Shown(list_.SelectedItems()[0]), brackets_);
    }
    dictionaryName_ = options.dictionary;
    dictionary_ = std::make_unique<OWDictionaryList>(
        ResolveDataPath(Context().ProgramDirectory(), dictionaryName_));
    LoadAbbreviations();
    ApplyFonts();
    RedrawWindow(list_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void WordplayViewWindows::RunOptions() {
    WordplayPropertiesViewWindows dialog(Context(), *this, CurrentOptions());
    HWND owner = GetAncestor(Handle(), GA_ROOT);
    if (dialog.DoModal(owner ? owner : Handle()) == IDOK) ApplyOptions(dialog.Result());
}
