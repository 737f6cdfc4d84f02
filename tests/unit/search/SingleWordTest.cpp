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

} // namespace
