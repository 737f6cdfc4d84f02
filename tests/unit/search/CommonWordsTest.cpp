// Common words only: a search of a dictionary that marks some words common
// gives exactly the rows of a search of those words alone, whichever way the
// dictionary is read; a dictionary that marks none is searched whole.
#include "SearchFixture.h"

#include "search/WordplaySearch.h"

#include <gtest/gtest.h>

namespace {

std::vector<WordplayRow> Rows(const std::string& path, const std::string& answer, bool commonOnly,
                              WordplaySearch::Reading reading, bool* unmarked = nullptr) {
    OWDictionaryList list(path);
    const AbbreviationSet abbreviations = Abbreviations({"re", "ap"});
    WordplaySearch search(list, abbreviations, 4, reading);
    search.SetCommonWordsOnly(commonOnly);
    search.SetAnswer(answer);
    RowCollector rows;
    search.Run(rows);
    if (unmarked) *unmarked = search.CommonWordsUnmarked();
    return rows.rows;
}

struct HostRecord : SearchHost {
    void ShowInvalidDictionary(const std::string&) override {}
    void AddRow(WordplayRow row) override { rows.push_back(std::move(row)); }
    void SearchFinished(const std::string&) override { order += "finished "; }
    void CommonWordsUnmarked() override { order += "unmarked "; }
    std::vector<WordplayRow> rows;
    std::string order;
};

const std::vector<std::string> kWords = {"car",    "pet",     "carp", "et",    "Capet",
                                         "epact",  "tac",     "apt",  "crate", "trap",
                                         "preact", "carpets", "a",    "repact"};
const std::set<std::string> kCommon = {"car", "pet", "carp", "apt", "trap", "carpets", "a"};

TEST(CommonWords, RowsAreThoseOfTheMarkedWordsAlone) {
    const std::string marked = WriteDictionary(kWords, kCommon);
    const std::string alone =
        WriteDictionary(std::vector<std::string>(kCommon.begin(), kCommon.end()));
    for (const auto reading :
         {WordplaySearch::Reading::Decoded, WordplaySearch::Reading::Streaming})
        for (const std::string answer : {"carpet", "trap", "crate", "pact"}) {
            bool unmarked = true;
            const auto rows = Rows(marked, answer, true, reading, &unmarked);
            EXPECT_FALSE(unmarked);
            EXPECT_EQ(rows, Rows(alone, answer, false, reading)) << answer;
            EXPECT_EQ(Rows(marked, answer, false, reading),
                      Rows(WriteDictionary(kWords), answer, false, reading))
                << "off, the marks change nothing";
        }
    const auto carpet = Rows(marked, "carpet", true, WordplaySearch::Reading::Decoded);
    EXPECT_EQ(RowWithText(carpet, "car + pet").type, WordplayType::Charade);
    EXPECT_EQ(RowWithText(carpet, "carp + e + t").pieces, 3) << "abbreviations stay";
    for (const WordplayRow& row : carpet)
        EXPECT_EQ(row.text.find("Capet"), std::string::npos) << row.text;
}

TEST(CommonWords, ADictionaryMarkingNoneIsSearchedWholeAndSaysSo) {
    const std::string unmarked = WriteDictionary(kWords);
    bool said = false;
    EXPECT_EQ(Rows(unmarked, "carpet", true, WordplaySearch::Reading::Streaming, &said),
              Rows(unmarked, "carpet", false, WordplaySearch::Reading::Streaming));
    EXPECT_TRUE(said);

    OWDictionaryList list(unmarked + ";" + WriteDictionary(kWords, kCommon));
    const AbbreviationSet abbreviations = Abbreviations();
    HostRecord host;
    RunWordplaySearch(host, list, abbreviations, 4, "carpet", true);
    EXPECT_EQ(host.order, "finished unmarked ") << "one of the two marks none";
    HostRecord off;
    RunWordplaySearch(off, list, abbreviations, 4, "carpet");
    EXPECT_EQ(off.order, "finished ");
    EXPECT_EQ(off.rows, host.rows) << "the marked dictionary adds nothing the unmarked lacks";
}

} // namespace
