#include "search/ListAbbreviations.h"
#include "SearchFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

std::string WriteTable(const std::string& body) {
    const auto path = std::filesystem::temp_directory_path() / "quillon-list-abbreviations.txt";
    std::ofstream(path, std::ios::binary) << body;
    return path.string();
}

TEST(ListAbbreviations, LettersOfTheFirstDictionaryAndTableKeysInItsLetters) {
    OWDictionaryList list(WriteDictionary({"cat", "tap"}));
    ASSERT_TRUE(list.IsValid(0));
    const std::string table =
        WriteTable("Abbreviations\nAbbreviation\tMeaning\nN\tnorth\nst\tsaint\nSt\tstreet\n"
                   "4x\tnothing\n");
    const AbbreviationSet set = LoadListAbbreviations(list, table);
    // Typed capitals fold to the dictionary's letters; a key with a character
    // that is no letter keeps only its letters.
    EXPECT_TRUE(set.count("n"));
    EXPECT_TRUE(set.count("st"));
    EXPECT_FALSE(set.count("St"));
    EXPECT_FALSE(set.count("Abbreviation"));
    for (char c = 'a'; c <= 'z'; ++c)
        EXPECT_TRUE(set.count(std::string(1, c))) << c;
    std::remove(table.c_str());
}

TEST(ListAbbreviations, MissingTableGivesTheLettersAndAnUnreadableDictionaryNothing) {
    OWDictionaryList list(WriteDictionary({"cat"}));
    EXPECT_EQ(LoadListAbbreviations(list, "/no/such/Abbreviation.txt").size(), 26u);
    const std::string table = WriteTable("Abbreviations\nAbbreviation\tMeaning\nn\tnorth\n");
    OWDictionaryList missing("/no/such/dictionary.owd");
    EXPECT_TRUE(LoadListAbbreviations(missing, table).empty());
    std::remove(table.c_str());
}

} // namespace
