// Pieces, shells and fodder, and the wordplay assembled from them: charades,
// containers, contained and partial anagrams.
#include "SearchFixture.h"

#include "search/WordplaySearch.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;
using PieceList = std::vector<std::pair<std::uint32_t, std::string>>;

PieceList Table(const std::vector<WordplaySearch::Piece>& pieces) {
    PieceList out;
    for (const auto& piece : pieces)
        out.emplace_back(piece.mask, piece.text);
    return out;
}

struct Tables {
    PieceList pieces;
    PieceList shells;
    std::vector<WordplaySearch::Piece> raw;
};

Tables Collect(const std::vector<std::string>& words, const std::string& answer,
               const AbbreviationSet& abbreviations = Abbreviations()) {
    OWDictionaryList list(WriteDictionary(words));
    WordplaySearch search(list, abbreviations, 4);
    search.SetAnswer(answer);
    RowCollector rows;
    search.RunPhase(WordplaySearch::Phase::AbbreviationPieces, rows);
    search.RunPhase(WordplaySearch::Phase::WordPieces, rows);
    EXPECT_TRUE(rows.rows.empty());
    return {Table(search.Pieces()), Table(search.Shells()), search.Pieces()};
}

TEST(PieceTable, OverlapsReversalsAndPalindromesInMaskOrder) {
    // ana stands twice, overlapping; it is a palindrome, so no reversed piece.
    // nab is found only reversed; equal masks keep the order they were added in.
    const Tables t = Collect({"ana", "nab", "ban"}, "banana");
    const PieceList expected = {{1, "b"}, {2, "a"},    {4, "n"},  {7, "nab<"}, {7, "ban"},
                                {8, "a"}, {14, "ana"}, {16, "n"}, {32, "a"},   {56, "ana"}};
    EXPECT_EQ(t.pieces, expected);
    EXPECT_TRUE(t.shells.empty());
    EXPECT_TRUE(t.raw[0].abbreviation);
    EXPECT_FALSE(t.raw[3].abbreviation);
}

TEST(PieceTable, ShellsNeedALetterAtEachEnd) {
    const Tables t = Collect({"pant", "pt", "par", "parent"}, "parent");
    // pant: "pa" + "nt"; pt: "p" + "t"; par only begins the answer; the whole answer
    // is never a piece or a shell.
    EXPECT_EQ(t.shells, (PieceList{{33, "pt"}, {51, "pant"}}));
    for (const auto& [mask, text] : t.pieces)
        EXPECT_NE(text, "parent");
}

TEST(PieceTable, AWordThatIsAnAbbreviationIsEnteredOnce) {
    const Tables t = Collect({"re", "er"}, "parent", Abbreviations({"re"}));
    PieceList atRe;
    for (const auto& piece : t.pieces) {
        if (piece.first == 12) atRe.push_back(piece);
    }
    // The abbreviation re, then the word er reversed; the word re adds nothing.
    EXPECT_EQ(atRe, (PieceList{{12, "re"}, {12, "er<"}}));
    for (const auto& piece : t.raw) {
        if (piece.mask == 12) {
            EXPECT_EQ(piece.abbreviation, piece.text == "re") << piece.text;
        }
    }
}

TEST(PieceTable, ShortWordsAreFodderEvenWhenTheyStandInTheAnswer) {
    OWDictionaryList list(WriteDictionary({"ar", "rap", "car", "pet", "tep"}));
    const AbbreviationSet abbreviations = Abbreviations();
    WordplaySearch search(list, abbreviations, 4);
    search.SetAnswer("carpet");
    RowCollector rows;
    search.RunPhase(WordplaySearch::Phase::AbbreviationPieces, rows);
    search.RunPhase(WordplaySearch::Phase::WordPieces, rows);
    ASSERT_EQ(search.FodderOfLength(2).size(), 1u);
    EXPECT_EQ(search.FodderOfLength(2)[0].text, "ar");
    // Three letters is above the short-piece limit of a six-letter answer: car and
    // pet stand in it, rap and tep do not.
    Texts three;
    for (const auto& f : search.FodderOfLength(3))
        three.push_back(f.text);
    std::sort(three.begin(), three.end());
    EXPECT_EQ(three, (Texts{"rap", "tep"}));
    EXPECT_EQ(search.Signature("rap"), search.Signature("par"));
    EXPECT_NE(search.Signature("rap"), search.Signature("pet"));
    EXPECT_EQ(search.Signature("zap"), 0u);
}

const std::vector<std::string> kCarpet = {"car", "pet", "carp", "et"};

TEST(Charades, CoversInPieceCountThenTableOrder) {
    EXPECT_EQ(TextsOfType(SearchWords(kCarpet, "carpet", 2), WordplayType::Charade),
              (Texts{"car + pet", "carp + et"}));
    EXPECT_EQ(TextsOfType(SearchWords(kCarpet, "carpet", 4), WordplayType::Charade),
              (Texts{"car + pet", "carp + et", "car + p + et", "carp + e + t", "c + a + r + pet",
                     "car + p + e + t"}));
    const auto rows = SearchWords(kCarpet, "carpet", 6);
    EXPECT_EQ(TextsOfType(rows, WordplayType::Charade).back(), "c + a + r + p + e + t");
    const WordplayRow row = RowWithText(rows, "car + p + et");
    EXPECT_EQ(row.style, "eee n b n ee");
    EXPECT_EQ(row.pieces, 3);
}

TEST(Containers, InnerPiecesCoverTheGapOfEachShell) {
    const auto rows = SearchWords({"pant", "re"}, "parent", 3);
    EXPECT_EQ(TextsOfType(rows, WordplayType::Container), (Texts{"re in pant", "r + e in pant"}));
    const WordplayRow one = RowWithText(rows, "re in pant");
    EXPECT_EQ(one.style, "ee nn eeee");
    EXPECT_EQ(one.pieces, 2);
    EXPECT_EQ(RowWithText(rows, "r + e in pant").pieces, 3);
    // With two pieces only one inner piece fits.
    EXPECT_EQ(TextsOfType(SearchWords({"pant", "re"}, "parent", 2), WordplayType::Container),
              Texts{"re in pant"});
}

TEST(ContainedAnagrams, WordsOfTheGapLettersInsideAShell) {
    const auto rows = SearchWords({"pt", "earn", "near", "pant", "er"}, "parent");
    // pant leaves only two letters between its ends: too few for an anagram.
    EXPECT_EQ(TextsOfType(rows, WordplayType::ContainedAnagram), Texts{"earn/near* in pt"});
    const WordplayRow row = RowWithText(rows, "earn/near* in pt");
    EXPECT_EQ(row.style, "eeeeseeeen nn ee");
    EXPECT_EQ(row.pieces, 2);
}

TEST(PartialAnagrams, PieceBeforeOrAfterTheAnagram) {
    const auto rows = SearchWords({"pa", "rent", "tern", "ent", "rap"}, "parent");
    EXPECT_EQ(TextsOfType(rows, WordplayType::PartialAnagram), (Texts{"pa + tern*", "rap* + ent"}));
    EXPECT_EQ(RowWithText(rows, "pa + tern*").style, "ee n eeeen");
    EXPECT_EQ(RowWithText(rows, "rap* + ent").pieces, 2);
}

} // namespace
