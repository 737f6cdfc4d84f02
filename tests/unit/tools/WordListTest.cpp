#include "common/WordList.h"

#include <gtest/gtest.h>

using namespace quillon::tools;

namespace {

std::vector<Entry> Parse(const std::string& bytes, ListStats& stats,
                         ListFormat format = ListFormat::Lines, ListFilter filter = {}) {
    return ParseWordList(bytes, format, filter, stats);
}

std::vector<std::string> Texts(const std::vector<Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.text);
    return out;
}

} // namespace

TEST(WordList, LineEndsBlankLinesAndTrimming) {
    ListStats stats;
    const auto entries = Parse("cat\r\ndog\n\n   \r\n  ice cream  \nlast", stats);
    EXPECT_EQ(Texts(entries), (std::vector<std::string>{"cat", "dog", "ice cream", "last"}));
    EXPECT_EQ(stats.lines, 6u);
    EXPECT_EQ(stats.empty, 2u);
    EXPECT_EQ(stats.entries, 4u);
    ListStats empty;
    EXPECT_TRUE(Parse("", empty).empty());
    EXPECT_TRUE(Parse("\n\r\n\n", empty).empty());
    EXPECT_EQ(empty.empty, 3u);
}

TEST(WordList, TabStartsTheSupplementaryText) {
    ListStats stats;
    const auto entries = Parse("ice cream\tfrozen\tsweet\r\nplain\nempty tail\t\n", stats);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "ice cream");
    EXPECT_EQ(entries[0].supplement, "frozen\tsweet");
    EXPECT_EQ(entries[1].supplement, "");
    EXPECT_EQ(entries[2].text, "empty tail");
    EXPECT_EQ(entries[2].supplement, "");
}

TEST(WordList, EncodingIsDecidedForTheWholeFile) {
    ListStats utf8, cp1252, bom;
    const auto a = Parse("cafe\ncaf\xC3\xA9\n", utf8);
    EXPECT_TRUE(utf8.utf8);
    EXPECT_EQ(a[1].text, "caf\xE9");
    // One 1252 byte anywhere makes the whole file 1252, including a line that
    // would have been valid UTF-8 on its own.
    const auto b = Parse("caf\xC3\xA9\nna\xEFve\n", cp1252);
    EXPECT_FALSE(cp1252.utf8);
    EXPECT_EQ(b[0].text, "caf\xC3\xA9");
    EXPECT_EQ(b[1].text, "na\xEFve");
    const auto c = Parse("\xEF\xBB\xBF"
                         "caf\xC3\xA9\n",
                         bom);
    EXPECT_TRUE(bom.utf8);
    EXPECT_EQ(Texts(c), std::vector<std::string>{"caf\xE9"});
}

TEST(WordList, CharactersOutside1252AndControlCharactersSkipTheEntry) {
    ListStats stats;
    const auto entries = Parse("da\xC4\x9F\ncat\nsun\t\xE2\x98\x80\n", stats);
    EXPECT_EQ(Texts(entries), std::vector<std::string>{"cat"});
    EXPECT_EQ(stats.unconvertible, 2u);
    static const char bytes[] = "ca\0t\nbell\x07\nmid\rline\nok\n";
    EXPECT_EQ(Texts(Parse(std::string(bytes, sizeof bytes - 1), stats)),
              std::vector<std::string>{"ok"});
    EXPECT_EQ(stats.controls, 3u);
}

TEST(WordList, FiltersForTheDefaultDictionary) {
    ListStats stats;
    ListFilter filter{true, true};
    const auto entries = Parse("cat\ncat's\nCAT'S\nBoyd\x92s\ndon't\nwell-being\nB52\nA.D.\n"
                               "caf\xE9\nits\n",
                               stats, ListFormat::Lines, filter);
    EXPECT_EQ(Texts(entries),
              (std::vector<std::string>{"cat", "don't", "well-being", "caf\xE9", "its"}));
    EXPECT_EQ(stats.filtered, 5u);
}

TEST(WordList, WordNetIndexGivesItsPhrases) {
    ListStats stats;
    const std::string index = "  1 This software and database is being provided\n"
                              "  2 to you, the LICENSEE, by Princeton University\n"
                              "cat n 8 4 @ ~ 8 0 02121620\n"
                              "ice_cream n 1 2 @ ~ 1 0 07614500\n"
                              "new_york n 3 3 @ #p %p 3 1 08695000\n"
                              "1st_lieutenant n 1 1 @ 1 0 10270000\n";
    const auto entries = Parse(index, stats, ListFormat::WordNetPhrases, ListFilter{false, true});
    EXPECT_EQ(Texts(entries), (std::vector<std::string>{"ice cream", "new york"}));
    EXPECT_EQ(stats.empty, 3u);
    EXPECT_EQ(stats.filtered, 1u);
}

TEST(Arguments, CommandLineTextsBecomeWindows1252) {
    EXPECT_EQ(ArgumentToCp1252("Caf\xC3\xA9"), "Caf\xE9");
    EXPECT_EQ(ArgumentToCp1252("Caf\xE9"), "Caf\xE9"); // already ANSI
    EXPECT_EQ(ArgumentToCp1252("x\xE2\x88\x9Ey\xC3\xA9"), "x?y\xE9");
}
