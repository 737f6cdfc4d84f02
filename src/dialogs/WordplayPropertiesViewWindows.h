#pragma once
// "Quillon Options": the modal, tabbed dialog in which the user changes the
// results view's colours and fonts, the brackets option, the dictionary and
// the most pieces a wordplay may have. It edits copies; the view takes them
// back only on OK. "Save as defaults" writes the page that is showing to the
// view's settings at once, and the recently used dictionaries are remembered
// whenever the dialog closes.

#include "dialogs/PVWControls.h"
#include "dialogs/TabbyPropertiesViewWindows.h"
#include "dictionary/OWDictionaryList.h"
#include "settings/SettingsText.h"

#include <array>
#include <memory>
#include <string>

// What the Options dialog edits.
struct WordplayOptions {
    enum ColourIndex { Background, Notation, Deletion, Abbreviation };

    FontSetting answerFont;
    FontSetting resultFont;
    FontSetting outputFont;
    std::array<Colour, 4> colours{}; // by ColourIndex
    // The dictionary setting: paths separated by ";", a relative one taken
    // in the program's folder.
    std::string dictionary;
    int maxPieces = 4;
    bool brackets = false;
    // Search only the words the dictionary marks common.
    bool commonWordsOnly = false;
};

class WordplayPropertiesViewWindows : public TabbyPropertiesViewWindows {
public:
    // viewSettings are the results view's settings, which "Save as defaults"
    // writes.
    WordplayPropertiesViewWindows(AppContext& context, const SettingsAccessor& viewSettings,
                                  const WordplayOptions& options);
    ~WordplayPropertiesViewWindows() override;

    // The edited values; complete once the dialog has closed.
    const WordplayOptions& Result() const { return options_; }

    void ControlCommand(HWND control, int id) override;
    void ColourChanged(Colour colour, int id) override;
    void FontChanged(const FontSetting& font, int id) override;
    void SelectionChanged(int index, int id) override;
    void Destroy(INT_PTR result) override;

protected:
    void SetupWindow() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<OWDictionaryList> OpenDictionary(const std::string& name) const;
    void ShowDictionary();
    void SelectDictionary(const std::string& name);
    void ChooseDictionaryFile();
    void SaveDefaults();
    void WriteRecentDictionaries();
    int TypedMaxPieces() const;
    std::string ModifiedText() const;

    const SettingsAccessor& viewSettings_;
    WordplayOptions options_;
    // The dictionary in use, named as the settings name it (the default
    // stays relative, so a program folder moved elsewhere keeps working).
    std::string dictionaryName_;
    std::unique_ptr<OWDictionaryList> dictionary_;

    PVWColourButton background_;
    PVWColourButton notation_;
    PVWColourButton deletion_;
    PVWColourButton abbreviation_;
    PVWCheckBox brackets_;
    PVWFontButton answerFont_;
    PVWFontButton resultFont_;
    PVWFontButton outputFont_;
    PVWCombo dictionaries_;
    PVWPushButton change_;
    PVWStatic location_;
    PVWStatic modified_;
    PVWStatic description_;
    PVWStatic entries_;
    PVWStatic shortest_;
    PVWStatic longest_;
    PVWEdit maxPieces_;
    PVWCheckBox commonWordsOnly_;
    PVWPushButton saveDefaults_;
};
