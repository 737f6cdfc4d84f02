#include "results/IndicatorTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

using Row = std::vector<std::string>;

// Abbreviations are plain letters; indicators are lower-case words joined by single
// spaces or hyphens.
const std::regex kAbbreviationKey("[a-z]+");
const std::regex kIndicatorKey("[a-z]+([ -][a-z]+)*");

struct ShippedTable {
    int kind;
    Row columns;
    std::size_t minimumRows;
    bool uniqueKeys;
    const std::regex& keyRule;
    std::set<std::string> values; // allowed second fields; empty: any
};

} // namespace

TEST(SplitTableLine, StopsAtTheFirstEmptyField) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitTableLine("a\tb\tc"), (V{"a", "b", "c"}));
    EXPECT_EQ(SplitTableLine("a\t\tc"), (V{"a"}));
    EXPECT_EQ(SplitTableLine("a\tb\t"), (V{"a", "b"}));
    EXPECT_EQ(SplitTableLine("\ta"), (V{}));
    EXPECT_EQ(SplitTableLine("plain"), (V{"plain"}));
    EXPECT_EQ(SplitTableLine(""), (V{}));
}

TEST(ReadIndicatorTable, CaptionTitlesAndRows) {
    const IndicatorTable t = ParseIndicatorTable("Reversal indicators\n"
                                                 "a note without tabs\n"
                                                 "Indicator\tUsage\tNote\n"
                                                 "back\tacross\n"
                                                 "returned\tany\textra\tignored\n"
                                                 "up\t\tdown clues\n"
                                                 "\n"
                                                 "upset\tdown\n");
    EXPECT_EQ(t.caption, "Reversal indicators");
    EXPECT_EQ(t.columns, (Row{"Indicator", "Usage", "Note"}));
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.rows[0], (Row{"back", "across", ""}));
    EXPECT_EQ(t.rows[1], (Row{"returned", "any", "extra"}));
    EXPECT_EQ(t.rows[2], (Row{"up", "", ""})); // everything after the empty field is lost
    EXPECT_EQ(t.rows[3], (Row{"upset", "down", ""}));
}

TEST(ReadIndicatorTable, FilterKeepsTitlesAndExactKeysOnly) {
    const std::string file = "Abbreviations\nAbbreviation\tMeaning\nn\tnorth\nN\tknight\n"
                             "n\tnew\nno\tnumber\n";
    const IndicatorTable t = ParseIndicatorTable(file, "n");
    EXPECT_EQ(t.columns, (Row{"Abbreviation", "Meaning"}));
    EXPECT_EQ(t.rows, (std::vector<Row>{{"n", "north"}, {"n", "new"}}));

    const IndicatorTable none = ParseIndicatorTable(file, "zz");
    EXPECT_EQ(none.columns.size(), 2u);
    EXPECT_TRUE(none.rows.empty());
}

TEST(ReadIndicatorTable, HostileInputParsesSafely) {
    // Empty file: no caption, nothing else.
    IndicatorTable t = ParseIndicatorTable("");
    EXPECT_FALSE(t.caption.has_value());
    EXPECT_TRUE(t.columns.empty());

    // Caption only, no line end; then a file with no tab at all.
    t = ParseIndicatorTable("Just a caption");
    EXPECT_EQ(t.caption, "Just a caption");
    t = ParseIndicatorTable("Caption\nno\ntabs\nhere\n");
    EXPECT_TRUE(t.columns.empty());
    EXPECT_TRUE(t.rows.empty());

    // CR LF endings, and a last row without a line end.
    t = ParseIndicatorTable("Cap\r\nA\tB\r\nx\ty\r\nz\tw");
    EXPECT_EQ(t.caption, "Cap");
    EXPECT_EQ(t.columns, (Row{"A", "B"}));
    EXPECT_EQ(t.rows, (std::vector<Row>{{"x", "y"}, {"z", "w"}}));

    // A NUL ends the line's content: a tab after it no longer counts.
    const char withNuls[] = "Cap\nA\tB\nx\ty\0\tmore\nq\0r\ts\n";
    t = ParseIndicatorTable(std::string(withNuls, sizeof withNuls - 1));
    EXPECT_EQ(t.rows, (std::vector<Row>{{"x", "y"}}));

    // A title line whose first field is empty gives no columns; the next one does.
    t = ParseIndicatorTable("Cap\n\tA\nK\tV\nk\tv\n");
    EXPECT_EQ(t.columns, (Row{"K", "V"}));
    EXPECT_EQ(t.rows, (std::vector<Row>{{"k", "v"}}));

    // A caption holding a tab is still only the caption.
    t = ParseIndicatorTable("Cap\twith tab\nK\tV\nk\tv\n");
    EXPECT_EQ(t.caption, "Cap\twith tab");
    EXPECT_EQ(t.columns, (Row{"K", "V"}));
}

TEST(ReadIndicatorTable, OverlongLinesAreCut) {
    const std::string longKey(TableLineReader::MaxLineLength + 500, 'x');
    const IndicatorTable t =
        ParseIndicatorTable("Cap\nK\tV\n" + longKey + "\tvalue\nk\tv\n" + longKey + "\n");
    // The long line's tab lies past the cut, so it reads as a line without a tab.
    EXPECT_EQ(t.rows, (std::vector<Row>{{"k", "v"}}));

    const std::string cutInside = "k\t" + std::string(TableLineReader::MaxLineLength, 'v');
    const IndicatorTable u = ParseIndicatorTable("Cap\nK\tV\n" + cutInside + "\r\n");
    ASSERT_EQ(u.rows.size(), 1u);
    EXPECT_EQ(u.rows[0][1].size(), TableLineReader::MaxLineLength - 2);
}

TEST(TableLineReader, LineEnds) {
    std::istringstream in("a\r\nb\n\nc\rd\r\r\n");
    TableLineReader reader(in);
    std::string line;
    std::vector<std::string> lines;
    while (reader.Next(line))
        lines.push_back(line);
    // Only one CR before the LF belongs to the line end; a lone CR is text.
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "c\rd\r"}));
}

TEST(CompareTableRows, SortColumnThenEveryColumnInOrder) {
    const Row a{"up", "reversal", "down"};
    const Row b{"back", "reversal", "across"};
    const Row c{"back", "reversal", "down"};
    EXPECT_EQ(CompareTableRows(a, b, 0, false, 3), 1);
    EXPECT_EQ(CompareTableRows(a, b, 0, true, 3), -1);
    EXPECT_EQ(CompareTableRows(b, a, 1, false, 3), -1); // tie on column 1: column 0
    EXPECT_EQ(CompareTableRows(b, c, 1, false, 3), -1); // then column 2
    EXPECT_EQ(CompareTableRows(b, b, 1, true, 3), 0);
    // Bytes compare unsigned; a prefix sorts first; missing cells are empty.
    EXPECT_EQ(CompareTableRows(Row{"\xe9t\xe9"}, Row{"zz"}, 0, false, 1), 1);
    EXPECT_EQ(CompareTableRows(Row{"ab"}, Row{"abc"}, 0, false, 1), -1);
    EXPECT_EQ(CompareTableRows(Row{"x"}, Row{"x", "y"}, 1, false, 2), -1);
    // Only the first 999 bytes count.
    const std::string longA = std::string(999, 'a') + "b";
    const std::string longB = std::string(999, 'a') + "c";
    EXPECT_EQ(CompareTableRows(Row{longA}, Row{longB}, 0, false, 1), 0);
}

TEST(CopyTableRows, SelectedRowsInTheirOrderTabbedWithLineEnds) {
    const std::vector<std::vector<std::string>> rows = {
        {"os[CAR PET]ulant", "2", "2"}, {"s[TEP RAC]k<", "2", ""}, {"x", "", "extra", "dropped"}};
    EXPECT_EQ(CopyTableRows(rows, {1, 0}, 3), "s[TEP RAC]k<\t2\r\nos[CAR PET]ulant\t2\t2\r\n");
    EXPECT_EQ(CopyTableRows(rows, {2, 7}, 3), "x\t\textra\r\n") << "inner empty cells stay";
    EXPECT_EQ(CopyTableRows(rows, {}, 3), "");
    EXPECT_EQ(CopyTableRows(rows, {0}, 0), "\r\n");
}

TEST(TableColumnWidthOrDefault, KeepsSensibleWidthsOnly) {
    struct Case {
        int stored, screen, expected;
    };
    const Case cases[] = {
        {120, 1280, 120}, {1, 1280, 1},     {640, 1280, 640}, // up to half the screen
        {641, 1280, 213}, {0, 1280, 213},   {-5, 1280, 213},  // else a sixth
        {400, 1024, 400}, {513, 1025, 170},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TableColumnWidthOrDefault(c.stored, c.screen), c.expected)
            << c.stored << " on " << c.screen;
}

// The tables shipped in data/: read by the program's own parser, and line by line so
// that a short row or a stray tab (which the parser would pad or drop) is caught.
TEST(ShippedIndicatorTables, AreWellFormed) {
    const std::set<std::string> order{"first before second", "second before first"};
    const std::set<std::string> way{"outer holds inner", "inner goes in outer"};
    const std::set<std::string> suits{"across", "down", "either"};
    namespace K = IndicatorKind;
    const std::regex& words = kIndicatorKey;
    const std::regex& letters = kAbbreviationKey;
    const std::vector<ShippedTable> tables = {
        {K::Charade, {"Indicator", "Order"}, 120, true, words, order},
        {K::ContainerAndContents, {"Indicator", "Which way"}, 250, true, words, way},
        {K::Reversal, {"Indicator", "Suits"}, 150, true, words, suits},
        {K::Anagram, {"Indicator", "Sense"}, 600, true, words, {}},
        {K::Abbreviation, {"Abbreviation", "Meaning"}, 1000, false, letters, {}},
    };
    for (const ShippedTable& expected : tables) {
        const std::string path =
            std::string(QUILLON_SOURCE_DIR) + "/data/" + IndicatorFileName(expected.kind);
        SCOPED_TRACE(path);
        std::ifstream file(path, std::ios::binary);
        ASSERT_TRUE(file.is_open());
        const IndicatorTable table = ReadIndicatorTable(file);
        ASSERT_TRUE(table.caption.has_value());
        EXPECT_FALSE(table.caption->empty());
        EXPECT_EQ(table.columns, expected.columns);
        EXPECT_GE(table.rows.size(), expected.minimumRows);

        std::set<Row> rows;
        std::set<std::string> keys;
        const Row* previous = nullptr;
        for (const Row& row : table.rows) {
            const std::string& key = row[0];
            EXPECT_TRUE(std::regex_match(key, expected.keyRule)) << "key \"" << key << '"';
            EXPECT_TRUE(rows.insert(row).second) << "repeated row " << key;
            EXPECT_TRUE(keys.insert(key).second || !expected.uniqueKeys) << "repeated key " << key;
            EXPECT_TRUE(expected.values.empty() || expected.values.count(row[1]))
                << key << ": " << row[1];
            EXPECT_TRUE(previous == nullptr || (*previous)[0] <= key) << "not sorted at " << key;
            previous = &row;
        }

        file.clear();
        file.seekg(0);
        TableLineReader reader(file);
        std::string line;
        ASSERT_TRUE(reader.Next(line)); // the caption
        std::size_t lines = 0;
        while (reader.Next(line)) {
            EXPECT_EQ(std::count(line.begin(), line.end(), '\t') + 1,
                      static_cast<std::ptrdiff_t>(table.columns.size()))
                << "line \"" << line << '"';
            EXPECT_EQ(SplitTableLine(line).size(), table.columns.size())
                << "line \"" << line << '"';
            ++lines;
        }
        // Every line past the caption is the titles or a row.
        EXPECT_EQ(lines, table.rows.size() + 1);
    }
}
