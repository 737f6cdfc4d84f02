// Phrases a setter would use: taxonomic names and phrases ending in a lone
// letter go, everything else stays in its order.
#include "common/Phrases.h"

#include <gtest/gtest.h>

using namespace quillon::tools;

TEST(Phrases, TaxaAndLoneLettersGoOrdinaryPhrasesStay) {
    const struct {
        const char* text;
        bool kept;
    } cases[] = {{"genus calluna", false},
                 {"Genus Calluna", false},
                 {"genus homo sapiens", false},
                 {"subfamily bovinae", false},
                 {"tribe bovini", false},
                 {"family bramidae", false},
                 {"order lepidoptera", false},
                 {"class aves", false},
                 {"kingdom fungi", false},
                 {"family tree", true},
                 {"class act", true},
                 {"order of the day", true},
                 {"kingdom of god", true},
                 {"one c", false},
                 {"george i", false},
                 {"to a T", false},
                 {"one c's", true},
                 {"vitamin b12", false},
                 {"a to z", false},
                 {"plan", true},
                 {"genus", true},
                 {"ice cream", true},
                 {"familyman bramidae", true}};
    const std::unordered_set<std::string> ordinary = {"tree", "act", "god"};
    std::vector<Entry> entries, expected;
    for (const auto& c : cases) {
        entries.push_back({c.text, ""});
        if (c.kept) expected.push_back({c.text, ""});
    }
    PhraseStats stats;
    DropUnusablePhrases(entries, ordinary, stats);
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(stats.taxonomic, 9u);
    EXPECT_EQ(stats.loneLetter, 5u);
}

TEST(Phrases, OrdinaryWordsAreTheCommonListsOrElseTheLowerCaseWords) {
    const std::vector<Entry> entries = {
        {"tree", ""}, {"Oscar", ""}, {"ice cream", ""}, {"caf\xE9", ""}, {"NATO", ""}};
    EXPECT_EQ(OrdinaryWords(entries, {"act"}), (std::unordered_set<std::string>{"act"}));
    EXPECT_EQ(OrdinaryWords(entries, {}), (std::unordered_set<std::string>{"tree", "caf\xE9"}));
}
