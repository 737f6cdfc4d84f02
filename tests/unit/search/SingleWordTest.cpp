// Wordplay from one dictionary word: same-length words (reversal, anagram,
// substitution) and longer words (alternation, the deletions, augmented anagram).
#include "SearchFixture.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

TEST(SameLengthWords, ReversalAnagramAndSubstitutionInFileOrder) {
    const auto rows = SearchWords({"act", "tac", "cot", "tat", "dog", "cat", "cab"}, "cat");
    EXPECT_EQ(TextsOfType(rows, WordplayType::Anagram), Texts{"act*"});
    EXPECT_EQ(TextsOfType(rows, WordplayType::Reversal), Texts{"tac<"});
    EXPECT_EQ(TextsOfType(rows, WordplayType::Substitution),
              (Texts{"cot with a for o", "tat with c for t", "cab with t for b"}));

    const WordplayRow anagram = RowWithText(rows, "act*");
    EXPECT_EQ(anagram.style, "eeen");
    EXPECT_EQ(anagram.pieces, 1);
    const WordplayRow swap = RowWithText(rows, "cot with a for o");
    EXPECT_EQ(swap.style, "eee nnnn b nnn b");
    EXPECT_EQ(swap.pieces, 2);
    EXPECT_EQ(RowWithText(rows, "tac<").pieces, 1);
}

TEST(SameLengthWords, PalindromeEqualToAnswerAndTwoDifferencesGiveNothing) {
    const auto rows = SearchWords({"tot", "ott", "tap"}, "tot");
    // tot is the answer itself; tap differs in two places.
    EXPECT_EQ(TextsOfType(rows, WordplayType::Reversal), Texts{});
    EXPECT_EQ(TextsOfType(rows, WordplayType::Anagram), Texts{"ott*"});
    EXPECT_EQ(TextsOfType(rows, WordplayType::Substitution), Texts{});
}

TEST(SameLengthWords, CaseAndPunctuationOfTheAnswerDoNotMatter) {
    const std::string path = WriteDictionary({"tac"});
    EXPECT_EQ(SearchRows(path, "C-A T!"), SearchRows(path, "cat"));
    EXPECT_EQ(TextsOfType(SearchRows(path, "CAT"), WordplayType::Reversal), Texts{"tac<"});
}

const std::vector<std::string> kLonger = {"cats",  "scat",   "coat",   "taco",   "scats",
                                          "chart", "xcxaxt", "cattle", "cxatat", "ocoaoto"};

// Rows of one word; drops the charade of single letters every answer has.
std::vector<WordplayRow> WordRows(std::vector<WordplayRow> rows) {
    std::erase_if(rows, [](const WordplayRow& row) { return row.type == WordplayType::Charade; });
    return rows;
}

TEST(LongerWords, EachKindWithItsMarksAndPieces) {
    const auto rows = WordRows(SearchWords(kLonger, "cat"));
    struct Expected {
        const char* text;
        const char* style;
        int type;
        int pieces;
    };
    const Expected expected[] = {
        {"cats", "eeeE", WordplayType::TailDeletion, 2},
        {"scat", "Eeee", WordplayType::HeadDeletion, 2},
        {"coat", "eEee", WordplayType::Deletion, 2},
        {"taco*", "eeeEn", WordplayType::AugmentedAnagram, 2},
        {"scats", "EeeeE", WordplayType::EndsDeletion, 3},
        {"chart", "eEeEe", WordplayType::Alternation, 2},
        {"xcxaxt", "EeEeEe", WordplayType::Alternation, 2},
        {"cattle", "eeeEEE", WordplayType::TailDeletion, 4},
        // Three ways to keep c, a, t; leaving "xat" in one run is the fewest.
        {"cxatat", "eEEEee", WordplayType::Deletion, 4},
        {"ocoaoto", "EeEeEeE", WordplayType::Alternation, 2},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(rows[i].text, expected[i].text);
        EXPECT_EQ(rows[i].style, expected[i].style);
        EXPECT_EQ(rows[i].type, expected[i].type);
        EXPECT_EQ(rows[i].pieces, expected[i].pieces);
    }
}

TEST(LongerWords, MaxPiecesDecidesWhichLengthsAreRead) {
    // Three pieces: at most two letters deleted, so six-letter words are read only
    // for alternation.
    auto rows = SearchWords(kLonger, "cat", 3);
    EXPECT_EQ(TextsOfType(rows, WordplayType::TailDeletion), Texts{"cats"});
    EXPECT_EQ(TextsOfType(rows, WordplayType::Alternation), (Texts{"chart", "xcxaxt", "ocoaoto"}));
    // Two pieces: five-letter words are neither deletions nor at least twice as long,
    // so chart is not read at all.
    rows = SearchWords(kLonger, "cat", 2);
    EXPECT_EQ(TextsOfType(rows, WordplayType::Alternation), (Texts{"xcxaxt", "ocoaoto"}));
    EXPECT_EQ(TextsOfType(rows, WordplayType::EndsDeletion), Texts{});
    EXPECT_EQ(TextsOfType(rows, WordplayType::HeadDeletion), Texts{"scat"});
}

TEST(LongerWords, MiddleEndsAndGeneralDeletionForEvenAnswers) {
    const auto rows = SearchWords({"cazzrt", "xcartyz", "zcartz", "cartcart"}, "cart", 5);
    EXPECT_EQ(RowWithText(rows, "cazzrt").style, "eeEEee");
    EXPECT_EQ(RowWithText(rows, "cazzrt").type, WordplayType::MiddleDeletion);
    // An odd number of letters around the answer is no ends deletion.
    EXPECT_EQ(RowWithText(rows, "xcartyz").style, "EeeeeEE");
    EXPECT_EQ(RowWithText(rows, "xcartyz").type, WordplayType::Deletion);
    EXPECT_EQ(RowWithText(rows, "zcartz").type, WordplayType::EndsDeletion);
    // Begins and ends with the answer: reported as a tail deletion only. Eight
    // letters is twice the answer, so alternation is tried first and fails; with
    // MaxPieces 5 eight letters may still be a deletion.
    EXPECT_EQ(RowWithText(rows, "cartcart").type, WordplayType::TailDeletion);
}

TEST(LongerWords, SeparatorsBetweenDeletedLettersAreDeletedWithThem) {
    const auto rows = WordRows(SearchWords({"cat's-eye"}, "cat", 8));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].style, "eeeeEEEEE");
    EXPECT_EQ(rows[0].type, WordplayType::TailDeletion);
    EXPECT_EQ(rows[0].pieces, 5);
}

TEST(LongerWords, AugmentedAnagramRemovesLettersInTheFewestRuns) {
    // Extra c and t: c at 2 or 3, t at 0 or 4; only c3 + t4 makes one run.
    const auto rows = WordRows(SearchWords({"tacct"}, "cat"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "tacct*");
    EXPECT_EQ(rows[0].style, "eeeEEn");
    EXPECT_EQ(rows[0].pieces, 3);
}

TEST(LongerWords, AlternationLengthsForThreeLetters) {
    // Five letters: 1,3,5. Six: 1,3,5 or else 2,4,6. Seven: only 2,4,6.
    const auto rows = SearchWords({"cxaxt", "xcxaxt", "cxaxtx", "cxaxtxx", "xcxaxtx"}, "cat");
    EXPECT_EQ(TextsOfType(rows, WordplayType::Alternation),
              (Texts{"cxaxt", "xcxaxt", "cxaxtx", "xcxaxtx"}));
    EXPECT_EQ(RowWithText(rows, "cxaxtx").style, "eEeEeE");
}

} // namespace
