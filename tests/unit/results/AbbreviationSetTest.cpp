#include "results/AbbreviationSet.h"
#include "results/IndicatorTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

AbbreviationSet Load(const std::string& contents, std::string_view alphabet = PlainAlphabet) {
    std::istringstream in(contents);
    return LoadAbbreviationSet(&in, alphabet, PlainCanonicalLetter);
}

const std::string kDataFile = std::string(QUILLON_SOURCE_DIR) + "/data/Abbreviation.txt";

} // namespace

TEST(AbbreviationSet, LettersAloneWithoutATable) {
    const AbbreviationSet set = LoadAbbreviationSet(nullptr, "abc", PlainCanonicalLetter);
    EXPECT_EQ(set, (AbbreviationSet{"a", "b", "c"}));
    EXPECT_EQ(
        LoadAbbreviationSetFromFile("/nonexistent/Abbreviation.txt", "ab", PlainCanonicalLetter),
        (AbbreviationSet{"a", "b"}));
}

TEST(AbbreviationSet, KeysAreFoldedToTheAlphabetAndDeduplicated) {
    const AbbreviationSet set = Load("Abbreviations\n"
                                     "Abbreviation\tMeaning\n"
                                     "St\tsaint\n"
                                     "st\tstreet\n"
                                     "R.A.\tartist\n"
                                     "4x\tfour\n"
                                     "...\tnothing left\n"
                                     "\tno key\n"
                                     "no tab on this line\n");
    EXPECT_EQ(set.count("st"), 1u);
    EXPECT_EQ(set.count("ra"), 1u);
    EXPECT_EQ(set.count("x"), 1u);
    EXPECT_EQ(set.count("abbreviation"), 0u); // the titles are not a row
    EXPECT_EQ(set.count(""), 0u);
    EXPECT_EQ(set.size(), 26u + 2u);
}

TEST(AbbreviationSet, CaptionWithATabIsNeverAKey) {
    const AbbreviationSet set = Load("Abbrev\tcaption\nAbbreviation\tMeaning\nss\tship\n", "s");
    EXPECT_EQ(set, (AbbreviationSet{"s", "ss"}));
}

TEST(AbbreviationSet, KeysOutsideASmallAlphabetAreCut) {
    // An alphabet of a and b only: "abc" keeps "ab", "cd" keeps nothing.
    auto canonical = [](unsigned char c) -> char {
        return (c == 'a' || c == 'b' || c == 'A' || c == 'B') ? static_cast<char>(c | 0x20) : 0;
    };
    std::istringstream in("Cap\nK\tV\nABC\tx\ncd\ty\n");
    EXPECT_EQ(LoadAbbreviationSet(&in, "ab", canonical), (AbbreviationSet{"a", "ab", "b"}));
}

// The shipped table: well formed, large, and saying what a setter expects.
TEST(AbbreviationData, ShippedTableIsSound) {
    std::ifstream file(kDataFile, std::ios::binary);
    ASSERT_TRUE(file.is_open()) << kDataFile;
    std::stringstream whole;
    whole << file.rdbuf();
    const std::string contents = whole.str();

    for (unsigned char c : contents)
        ASSERT_TRUE(c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7f) || c >= 0xa0)
            << "unexpected byte " << int(c);

    const IndicatorTable table = ParseIndicatorTable(contents);
    ASSERT_TRUE(table.caption.has_value());
    EXPECT_EQ(table.columns, (std::vector<std::string>{"Abbreviation", "Meaning"}));
    EXPECT_GE(table.rows.size(), 1000u);

    std::map<std::string, std::set<std::string>> meanings;
    std::string previous;
    for (const auto& row : table.rows) {
        const std::string& key = row[0];
        ASSERT_FALSE(key.empty());
        for (char c : key)
            ASSERT_TRUE(c >= 'a' && c <= 'z') << "key " << key;
        ASSERT_FALSE(row[1].empty()) << "key " << key;
        EXPECT_LE(previous, key) << "not sorted at " << key;
        EXPECT_TRUE(meanings[key].insert(row[1]).second) << key << " " << row[1];
        previous = key;
    }
    for (const char* m : {"north", "new", "name", "noon", "note", "nitrogen"})
        EXPECT_EQ(meanings["n"].count(m), 1u) << m;
    // One of each family the table promises.
    const std::vector<std::pair<std::string, std::string>> samples = {
        {"fe", "iron"},     {"og", "oganesson"}, {"mf", "moderately loud"}, {"ss", "ship"},
        {"tt", "teetotal"}, {"re", "about"},     {"ra", "artist"},          {"k", "king"},
        {"xl", "forty"},    {"nt", "books"},     {"ny", "new york"},        {"lt", "lieutenant"}};
    for (const auto& [key, expected] : samples)
        EXPECT_EQ(meanings[key].count(expected), 1u) << key << " " << expected;

    const AbbreviationSet set =
        LoadAbbreviationSetFromFile(kDataFile, PlainAlphabet, PlainCanonicalLetter);
    EXPECT_EQ(
        set.size(), meanings.size() + 26u - [&] {
            int singles = 0;
            for (const auto& entry : meanings)
                singles += entry.first.size() == 1;
            return singles;
        }());
}
