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

// Many answers give what one run per answer gives, in the answers' order,
// whatever the number of threads; tsv rows then start with their answer.
TEST_F(CommandLine, BatchEqualsOneRunPerAnswer) {
    const std::vector<std::string> words = {
        "car",   "pet",   "tac",  "carpet", "ice",     "cream", "tea",  "eat",  "ate",
        "stone", "notes", "tone", "one",    "caf\xE9", "art",   "rat",  "tar",  "star",
        "rats",  "tsar",  "arts", "east",   "seat",    "teas",  "sate", "near", "earn"};
    const std::string dictionary = WriteDictionary(words);
    const std::string base = std::filesystem::temp_directory_path() /
                             ("quillon-search-" + std::to_string(::getpid()) + "-batch");
    // Typed answers as a file holds them: CR LF, blank lines, a Windows-1252 line.
    std::string file = "\xEF\xBB\xBF";
    std::vector<std::string> shown = {"carpet", "CAT"};
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string answer = i == 13 ? "Caf\xE9" : words[(i * 7) % words.size()] + words[i];
        file += answer + (i % 3 == 0 ? "\r\n" : "\n") + (i % 5 == 0 ? "\n  \n" : "");
        std::string utf8;
        for (const char c : answer)
            utf8 += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
        shown.push_back(utf8);
    }
    std::ofstream(base + ".txt", std::ios::binary) << file;

    const std::string options = "search --dictionary '" + dictionary + "' --abbreviations /none ";
    for (const char* format : {"tsv", "json", "table"}) {
        std::string expected;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const std::string one =
                RunProgram(options + "--format " + format + " -- '" + shown[i] + "'").out;
            if (std::string(format) == "tsv") {
                std::istringstream lines(one);
                for (std::string line; std::getline(lines, line);)
                    expected += shown[i] + "\t" + line + "\n";
            } else if (std::string(format) == "json") {
                // One object per answer within one list.
                expected += (i == 0 ? "[\n" : ",\n") + one.substr(2, one.size() - 5);
            } else {
                expected += one;
            }
        }
        if (std::string(format) == "json") expected += "\n]\n";
        for (const char* jobs : {"1", "2", "3", "16"}) {
            const Output batch = RunProgram(options + "--format " + format + " --jobs " + jobs +
                                            " carpet CAT --answers '" + base + ".txt'");
            EXPECT_EQ(batch.status, 0) << batch.err;
            EXPECT_EQ(batch.out, expected) << format << " with " << jobs << " jobs";
        }
    }
    // Standard input is "-"; a one-answer run keeps its three columns.
    const std::string piped = "printf 'carpet\\nCAT\\n' | '" + kProgram + "' search --format tsv " +
                              options + "--answers -";
    const int raw = std::system((piped + " >'" + base + ".out'").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 0);
    EXPECT_EQ(Slurp(base + ".out"), RunProgram(options + "--format tsv carpet CAT").out);
    std::ofstream(base + ".one", std::ios::binary) << "carpet\n";
    EXPECT_EQ(RunProgram(options + "--format tsv --answers '" + base + ".one'").out,
              Tsv(SearchRows(dictionary, "carpet", 4, Abbreviations())));

    const Output missing = RunProgram(options + "--answers '" + base + ".none'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
    std::ofstream(base + ".empty", std::ios::binary) << "\r\n";
    const Output none = RunProgram(options + "--format json --answers '" + base + ".empty'");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "[\n]\n");
    EXPECT_EQ(RunProgram(options + "--jobs 0 carpet").status, 2);
    for (const char* suffix : {".txt", ".out", ".one", ".empty"})
        std::filesystem::remove(base + suffix);
}

TEST_F(CommandLine, InvalidDictionaryIsExitOneWithTheMessage) {
    const Output output = RunProgram("search --dictionary /nonexistent/None.owd carpet");
    EXPECT_EQ(output.status, 1);
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.err,
              "/nonexistent/None.owd\nis not a valid Orbweave Dictionary File: select a "
              "new dictionary file using the Options... command on the Tools menu.\n");
    EXPECT_EQ(RunProgram("info /nonexistent/None.owd").status, 1);
}

TEST_F(CommandLine, NothingFoundIsNoError) {
    const std::string dictionary = WriteDictionary({"dog"});
    const Output table = RunProgram("search --dictionary '" + dictionary + "' x");
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("No wordplay was found for the answer"), std::string::npos);
    const Output json = RunProgram("search --format json --dictionary '" + dictionary + "' x");
    EXPECT_EQ(json.out, "[\n  {\"answer\": \"x\", \"rows\": []}\n]\n");
}

TEST_F(CommandLine, HelpIsUsageAndMistakesAreExitTwoWithAReason) {
    for (const char* help :
         {"", "--help", "-h", "search --help", "search carpet -h", "info --help"}) {
        const Output output = RunProgram(help);
        EXPECT_EQ(output.status, 0) << help;
        EXPECT_EQ(output.out.rfind("Usage:\n  quillon search", 0), 0u) << help;
        EXPECT_EQ(output.err, "") << help;
    }
    const std::pair<const char*, const char*> mistakes[] = {
        {"search", "quillon: search needs an answer"},
        {"search --max-pieces many carpet", "quillon: --max-pieces needs a whole number"},
        {"search --format xml carpet", "quillon: unknown format \"xml\""},
        {"search --bogus carpet", "quillon: unknown option --bogus"},
        {"info --bogus", "quillon: unknown option --bogus"},
        {"frobnicate", "quillon: unknown command \"frobnicate\""},
    };
    for (const auto& [arguments, reason] : mistakes) {
        const Output output = RunProgram(arguments);
        EXPECT_EQ(output.status, 2) << arguments;
        EXPECT_EQ(output.out, "") << arguments;
        EXPECT_EQ(output.err.rfind(reason, 0), 0u) << output.err;
        const std::size_t lineEnd = output.err.find('\n');
        EXPECT_EQ(output.err.substr(lineEnd + 1, 7), "Usage:\n") << arguments;
    }
}

// Paths go to the system as they are: the program in a folder whose name has
// accents and a ";" finds its default dictionary, and named files with
// accents are found too.
TEST_F(CommandLine, PathsAreTheSystemsOwnBytes) {
    const std::filesystem::path base = std::filesystem::temp_directory_path() /
                                       ("quillon-search-" + std::to_string(::getpid()) + "-paths");
    const std::filesystem::path folder = base / "Caf\xC3\xA9;D\xC3\xA9j\xC3\xA0";
    const std::filesystem::path named = base / "Na\xC3\xAFve";
    std::filesystem::create_directories(folder / "Dictionaries");
    std::filesystem::create_directories(named);
    const std::string dictionary = (folder / "Dictionaries" / "Standard English.owd").string();
    std::filesystem::copy_file(WriteDictionary({"car", "pet", "tac"}), dictionary);
    const std::string program = (folder / "quillon").string();
    std::filesystem::copy_file(kProgram, program);
    const std::string other = (named / "\xC3\x89t\xC3\xA9.owd").string();
    std::filesystem::copy_file(WriteDictionary({"at", "cat"}), other);
    const std::string table = (named / "Abr\xC3\xA9viations.txt").string();
    std::ofstream(table, std::ios::binary) << "Abbreviations\r\nAbbreviation\tMeaning\r\n"
                                              "ca\tabout\r\n";

    const auto run = [&](const std::string& arguments) {
        const std::string out = (base / "out").string();
        const int raw =
            std::system(("'" + program + "' " + arguments + " >'" + out + "' 2>&1").c_str());
        return std::make_pair(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out));
    };
    const auto beside = run("search --format tsv carpet");
    EXPECT_EQ(beside.first, 0) << beside.second;
    EXPECT_NE(beside.second.find("car + pet\t2\tCharade\n"), std::string::npos) << beside.second;
    const auto chosen =
        run("search --format tsv --dictionary '" + other + "' --abbreviations '" + table + "' cat");
    EXPECT_EQ(chosen.first, 0) << chosen.second;
    EXPECT_NE(chosen.second.find("ca + t\t2\tCharade\n"), std::string::npos) << chosen.second;

    // info takes each argument as one file, ";" and all.
    const auto info = run("info '" + dictionary + "' '" + other + "'");
    EXPECT_EQ(info.first, 0) << info.second;
    EXPECT_EQ(info.second.rfind("Location:    " + dictionary + "\n", 0), 0u) << info.second;
    EXPECT_NE(info.second.find("\n\nLocation:    " + other + "\n"), std::string::npos);
    EXPECT_NE(info.second.find("Entries:     3\n"), std::string::npos);
    EXPECT_EQ(run("info").second, run("info '" + dictionary + "'").second);

    const std::string absent = (named / "N\xC3\xA9"
                                        "ant.owd")
                                   .string();
    const auto invalid = run("search --dictionary '" + absent + "' x");
    EXPECT_EQ(invalid.first, 1);
    EXPECT_EQ(invalid.second.rfind(absent + "\nis not a valid", 0), 0u) << invalid.second;
    std::filesystem::remove_all(base);
}

} // namespace

TEST_F(CommandLine, HiddenListsTheFindersRowsBestFirst) {
    const std::vector<std::string> words = {"oscar", "petulant", "scar", "pets", "step", "rack"};
    const std::string dictionary = WriteDictionary(words, {"oscar", "petulant"});
    const Output output =
        RunProgram("hidden --format tsv --dictionary '" + dictionary + "' carpet");
    EXPECT_EQ(output.status, 0) << output.err;
    EXPECT_EQ(output.out, "os[CAR PET]ulant\t2\t2\n"
                          "os[CAR PET]s\t2\t1\n"
                          "s[CAR PET]ulant\t2\t1\n"
                          "s[CAR PET]s\t2\t0\n"
                          "s[TEP RAC]k<\t2\t0\n");
    EXPECT_EQ(output.err, "");

    const Output cut =
        RunProgram("hidden --limit 2 --dictionary '" + dictionary + "' carpet 'd-o-g'");
    EXPECT_EQ(cut.status, 0);
    EXPECT_EQ(cut.out, "Answer: carpet\n"
                       "Hidden words      Words  Common\n"
                       "os[CAR PET]ulant      2       2\n"
                       "os[CAR PET]s          2       1\n"
                       "The 2 best of 5 phrases are listed.\n\n"
                       "Answer: d-o-g\n"
                       "No hidden words were found for the answer\n\n");
}

TEST_F(CommandLine, HiddenMistakesAndHelp) {
    EXPECT_EQ(RunProgram("hidden").status, 2);
    EXPECT_EQ(RunProgram("hidden --limit 0 carpet").status, 2);
    EXPECT_EQ(RunProgram("hidden --format xml carpet").status, 2);
    EXPECT_EQ(RunProgram("hidden --dictionary /nonexistent/None.owd carpet").status, 1);
    const Output help = RunProgram("hidden --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("quillon hidden [options] ANSWER..."), std::string::npos);
    EXPECT_NE(RunProgram("--help").out.find("quillon hidden"), std::string::npos);
}
