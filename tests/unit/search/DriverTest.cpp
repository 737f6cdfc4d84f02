// The search as a whole: the steps around the phases, several dictionaries,
// degenerate answers and the bounds on the combinatorial phases.
#include "OwdTestWriter.h"
#include "SearchFixture.h"

#include "results/ColumnTable.h"
#include "results/ResultList.h"
#include "search/WordplaySearch.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

using Texts = std::vector<std::string>;

// Records what the search asks of its window.
struct RecordingHost : SearchHost {
    std::vector<std::string> calls;
    std::vector<WordplayRow> rows;
    std::size_t added = 0;
    void ShowInvalidDictionary(const std::string& path) override {
        calls.push_back("invalid " + path);
    }
    void SearchStarting(const std::string& answer) override {
        rows.clear();
        calls.push_back("starting " + answer);
    }
    void AddRow(WordplayRow row) override { rows.push_back(std::move(row)); }
    void SearchFinished(const std::string& answer) override {
        added = rows.size();
        FinishResultList(rows, ColumnTable());
        calls.push_back("finished " + answer + " " + std::to_string(rows.size()));
    }
};

TEST(SearchDriver, StepsInOrderWithTheTypedAnswer) {
    OWDictionaryList list(WriteDictionary({"car", "pet"}));
    RecordingHost host;
    RunWordplaySearch(host, list, Abbreviations(), 2, "Car-pet");
    EXPECT_EQ(host.calls, (Texts{"starting Car-pet", "finished Car-pet 1"}));
    ASSERT_EQ(host.rows.size(), 1u);
    EXPECT_EQ(host.rows[0].text, "car + pet");
}

TEST(SearchDriver, InvalidDictionaryStopsBeforeAnythingChanges) {
    const std::string missing = "/nonexistent/quillon/None.owd";
    OWDictionaryList list(WriteDictionary({"car"}) + ";" + missing);
    RecordingHost host;
    host.rows.push_back({"old", "eee", 0, 0, 0});
    RunWordplaySearch(host, list, Abbreviations(), 4, "carpet");
    EXPECT_EQ(host.calls, Texts{"invalid " + missing});
    EXPECT_EQ(host.rows.size(), 1u);
}

TEST(SearchDriver, AnswersWithoutWordplayStillFinish) {
    OWDictionaryList list(WriteDictionary({"at", "a", "i", "ta", "cat"}));
    for (const std::string answer : {"", "123 !", "a", "A."}) {
        RecordingHost host;
        RunWordplaySearch(host, list, Abbreviations(), 4, answer);
        EXPECT_EQ(host.calls.back(), "finished " + answer + " 0") << answer;
        EXPECT_TRUE(host.rows.empty()) << answer;
    }
}

TEST(SearchDriver, RepeatedTextsLeaveOneRowOnceFinished) {
    // A list that holds an entry twice finds the same charade twice; the
    // enumeration keeps both and finishing keeps the first.
    OWDictionaryList list(WriteDictionary({"car", "pet", "pet"}));
    RecordingHost host;
    RunWordplaySearch(host, list, Abbreviations(), 2, "carpet");
    EXPECT_EQ(host.added, 2u);
    ASSERT_EQ(host.rows.size(), 1u);
    EXPECT_EQ(host.rows[0].text, "car + pet");
    EXPECT_EQ(host.rows[0].sequence, 0);
}

TEST(SeveralDictionaries, ASharedWordIsUsedOnce) {
    const std::string first = WriteDictionary({"car", "pet", "tac"});
    const std::string second = WriteDictionary({"pet", "car", "carp", "et", "tac", "cats"});
    const auto both = SearchRows(first + ";" + second, "carpet");
    const auto single = SearchRows(WriteDictionary({"car", "pet", "tac", "carp", "et"}), "carpet");
    EXPECT_EQ(both, single);
    const auto cat = SearchRows(first + ";" + second, "cat");
    EXPECT_EQ(TextsOfType(cat, WordplayType::Reversal), Texts{"tac<"});
    EXPECT_EQ(TextsOfType(cat, WordplayType::TailDeletion), Texts{"cats"});
}

// A second dictionary whose alphabet has two letters the first lacks ("#" and
// "%" are letters 26 and 27 there).
std::string WriteDictionaryWithOwnLetters(const std::vector<std::string>& threeLetterWords) {
    OwdLayout file;
    file.description = "own letters";
    file.letterCount = 28;
    file.firstGroup.resize(4);
    file.firstGroup[3] = threeLetterWords;
    file.extraBytes = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz#%";
    file.tweakCodes = [](OwdCodeTable& codes) {
        codes['#'].letterIndex = 26;
        codes['%'].letterIndex = 27;
    };
    const auto path = std::filesystem::temp_directory_path() /
                      ("quillon-search-" + std::to_string(::getpid()) + "-own-letters.owd");
    EXPECT_TRUE(SaveOwd(path.string(), WriteOwd(file)));
    return path.string();
}

TEST(SeveralDictionaries, LettersTheFirstDictionaryLacksKeepTheirOwnCharacters) {
    const std::string second = WriteDictionaryWithOwnLetters({"ca#", "ca%", "tac"});
    OWDictionaryList list(WriteDictionary({"cot"}) + ";" + second);
    ASSERT_FALSE(list.FirstInvalidPath().has_value());
    ASSERT_EQ(list.LetterIndex(1, '#'), 26);
    const AbbreviationSet abbreviations = Abbreviations();
    WordplaySearch search(list, abbreviations, 4);
    search.SetAnswer("cat");
    RowCollector rows;
    search.Run(rows);
    // Each word shows the letter it really has, and two words that differ only in
    // such letters are two words, not one seen twice.
    EXPECT_EQ(TextsOfType(rows.rows, WordplayType::Substitution),
              (Texts{"cot with a for o", "ca# with t for #", "ca% with t for %"}));
    for (const WordplayRow& row : rows.rows)
        EXPECT_EQ(row.text.find('\0'), std::string::npos);
}

TEST(DegenerateAnswers, LongAnswersFindNothingAndEnd) {
    OWDictionaryList list(WriteDictionary({"a", "ab", "abc", "ba"}));
    const AbbreviationSet abbreviations = Abbreviations();
    WordplaySearch search(list, abbreviations, 4);
    RowCollector rows;
    search.SetAnswer(std::string(1500, 'b'));
    EXPECT_EQ(search.Answer().size(), 999u);
    search.Run(rows);
    search.SetAnswer(std::string(32, 'a'));
    search.Run(rows);
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_TRUE(search.Pieces().empty());
}

TEST(DegenerateAnswers, ThirtyOneLettersWithEveryPieceCount) {
    std::vector<std::string> words;
    for (char c = 'a'; c <= 'z'; ++c) {
        words.push_back(std::string(1, c));
        words.push_back(std::string(1, c) + static_cast<char>(c == 'z' ? 'a' : c + 1));
    }
    OWDictionaryList list(WriteDictionary(words));
    const AbbreviationSet abbreviations = Abbreviations();
    WordplaySearch search(list, abbreviations, 31);
    search.SetAnswer("abcdefghijklmnopqrstuvwxyzabcde");
    RowCollector rows;
    search.Run(rows);
    EXPECT_TRUE(search.Truncated());
    EXPECT_EQ(TextsOfType(rows.rows, WordplayType::Charade).size(), WordplaySearch::kRowStop);
    EXPECT_LT(rows.rows.size(), 4 * WordplaySearch::kRowStop);
}

TEST(Bounds, HugeMaxPiecesEndsWithEveryEnumerationStopped) {
    for (const int maxPieces : {31, 1000, INT_MAX}) {
        OWDictionaryList list(WriteDictionary({"a", "aa", "aaa"}));
        const AbbreviationSet abbreviations = Abbreviations();
        WordplaySearch search(list, abbreviations, maxPieces);
        search.SetAnswer(std::string(20, 'a'));
        RowCollector rows;
        search.Run(rows);
        EXPECT_TRUE(search.Truncated());
        EXPECT_EQ(TextsOfType(rows.rows, WordplayType::Charade).size(), WordplaySearch::kRowStop);
        // Twenty letters in parts of one to three letters: 44 partitions at most,
        // every part a fodder word.
        const auto multiple = TextsOfType(rows.rows, WordplayType::MultipleAnagram);
        EXPECT_GE(multiple.size(), 1u);
        EXPECT_LE(multiple.size(), 44u);
    }
}

TEST(Bounds, ZeroOrNegativeMaxPiecesGivesOnlySingleWordKinds) {
    for (const int maxPieces : {0, -5, INT_MIN}) {
        const auto rows = SearchWords({"car", "pet", "tac", "cats"}, "carpet", maxPieces);
        for (const WordplayRow& row : rows)
            EXPECT_NE(row.type, WordplayType::Charade);
        const auto cat = SearchWords({"tac", "cats", "chart"}, "cat", maxPieces);
        EXPECT_EQ(TextsOfType(cat, WordplayType::Reversal), Texts{"tac<"});
        EXPECT_EQ(TextsOfType(cat, WordplayType::TailDeletion), Texts{});
    }
}

} // namespace
