// Multiple anagrams: groups of fodder words that together hold the answer's letters.
#include "SearchFixture.h"

#include "results/ColumnTable.h"
#include "results/ResultList.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

const std::vector<std::string> kStone = {"o", "no", "on", "so", "set", "ten", "toe", "nest"};

TEST(MultipleAnagrams, EachMultisetOnceLongestGroupFirst) {
    const auto rows = SearchWords(kStone, "stone");
    EXPECT_EQ(TextsOfType(rows, WordplayType::MultipleAnagram),
              (Texts{"nest o*", "ten so*", "set no/on*"}));
    const WordplayRow row = RowWithText(rows, "set no/on*");
    EXPECT_EQ(row.style, "eeeseeseen");
    EXPECT_EQ(row.pieces, 2);
    EXPECT_EQ(row.sequence, -6 - 256 * 65536);
    // A single letter other than A or I costs 64.
    EXPECT_EQ(RowWithText(rows, "nest o*").sequence, -4 - 192 * 65536);
}

TEST(MultipleAnagrams, SingleLettersSortLastAWinsOverIWinsOverTheRest) {
    auto rows = SearchWords({"til", "a", "tal", "i", "ati", "l", "it", "al"}, "tail");
    // Three groups with two single letters: a costs 4, l 64.
    const WordplayRow three = RowWithText(rows, "it l a*");
    EXPECT_EQ(three.pieces, 3);
    EXPECT_EQ(three.sequence, -2 - (256 - 64 - 4) * 65536);
    std::erase_if(rows, [](const WordplayRow& row) {
        return row.type != WordplayType::MultipleAnagram || row.pieces != 2;
    });
    FinishResultList(rows, ColumnTable());
    EXPECT_EQ(TextsOfType(rows, WordplayType::MultipleAnagram),
              (Texts{"al it*", "til a*", "tal i*", "ati l*"}));
}

} // namespace
