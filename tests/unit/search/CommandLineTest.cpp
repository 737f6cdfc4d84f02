// The quillon program prints exactly the rows the search finds, in their
// finished order; unusable dictionaries are errors, finding nothing is not.
#include "SearchFixture.h"

#include "results/ColumnTable.h"
#include "results/ResultList.h"
#include "search/WordplaySearch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kProgram = std::string(QUILLON_DIST_DIR) + "/quillon";

struct Output {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Output RunProgram(const std::string& arguments) {
    const std::string base = std::filesystem::temp_directory_path() /
                             ("quillon-search-" + std::to_string(::getpid()) + "-run");
    const std::string command =
        "'" + kProgram + "' " + arguments + " >'" + base + ".out' 2>'" + base + ".err' </dev/null";
    Output output;
    const int raw = std::system(command.c_str());
    output.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    output.out = Slurp(base + ".out");
    output.err = Slurp(base + ".err");
    return output;
}

std::string Tsv(std::vector<WordplayRow> rows) {
    FinishResultList(rows, ColumnTable());
    std::string text;
    for (const WordplayRow& row : rows) {
        text += row.text + "\t" + (row.pieces > 0 ? std::to_string(row.pieces) : "") + "\t" +
                std::string(TypeName(row.type)) + "\n";
    }
    return text;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kProgram)) GTEST_SKIP() << kProgram << " is not built";
    }
};

TEST_F(CommandLine, TsvIsTheSearchsFinishedRows) {
    const std::string dictionary =
        WriteDictionary({"car", "pet", "carp", "et", "tac", "re", "pant", "crate", "preact"});
    const std::string table = std::filesystem::temp_directory_path() /
                              ("quillon-search-" + std::to_string(::getpid()) + "-abbr.txt");
    std::ofstream(table, std::ios::binary) << "Abbreviations\r\nAbbreviation\tMeaning\r\n"
                                              "re\tabout\r\nap\tAssociated Press\r\n";
    const Output output = RunProgram("search --format tsv --dictionary '" + dictionary +
                                     "' --abbreviations '" + table + "' --max-pieces 3 carpet");
    EXPECT_EQ(output.status, 0) << output.err;
    const std::string expected =
        Tsv(SearchRows(dictionary, "carpet", 3, Abbreviations({"re", "ap"})));
    EXPECT_NE(expected.find("car + pet\t2\tCharade\n"), std::string::npos);
    EXPECT_EQ(output.out, expected);
}

TEST_F(CommandLine, SeveralAnswersOneSearchEach) {
    const std::string dictionary = WriteDictionary({"car", "pet", "tac"});
    const Output output = RunProgram("search --format tsv --dictionary '" + dictionary +
                                     "' --abbreviations /nonexistent/none.txt carpet CAT");
    EXPECT_EQ(output.status, 0);
    // A missing table leaves the single letters, and says so.
    EXPECT_NE(output.err.find("only single letters"), std::string::npos);
    EXPECT_EQ(output.out,
              Tsv(SearchRows(dictionary, "carpet")) + Tsv(SearchRows(dictionary, "cat")));
}

TEST_F(CommandLine, InvalidDictionaryIsExitTwoWithTheMessage) {
    const Output output = RunProgram("search --dictionary /nonexistent/None.owd carpet");
    EXPECT_EQ(output.status, 2);
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.err,
              "/nonexistent/None.owd\nis not a valid Orbweave Dictionary File: select a "
              "new dictionary file using the Options... command on the Tools menu.\n");
    EXPECT_EQ(RunProgram("info /nonexistent/None.owd").status, 2);
}

TEST_F(CommandLine, NothingFoundIsNoError) {
    const std::string dictionary = WriteDictionary({"dog"});
    const Output table = RunProgram("search --dictionary '" + dictionary + "' x");
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("No wordplay was found for the answer"), std::string::npos);
    const Output json = RunProgram("search --format json --dictionary '" + dictionary + "' x");
    EXPECT_EQ(json.out, "[\n  {\"answer\": \"x\", \"rows\": []}\n]\n");
}

TEST_F(CommandLine, BadUsageIsExitOne) {
    EXPECT_EQ(RunProgram("search").status, 1);
    EXPECT_EQ(RunProgram("search --max-pieces many carpet").status, 1);
    EXPECT_EQ(RunProgram("search --format xml carpet").status, 1);
    EXPECT_EQ(RunProgram("frobnicate").status, 1);
    EXPECT_EQ(RunProgram("").status, 0);
}

} // namespace
