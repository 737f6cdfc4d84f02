// OWBUILD and OWMERGE as a user runs them: arguments in, files, output and
// exit codes out.
#include "common/Commands.h"
#include "OwdTestWriter.h"
#include "ToolTestHelpers.h"
#include "common/Platform.h"
#include "common/WordList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

using namespace quillon::tools;
using tooltest::ScratchDir;

namespace {

struct Run {
    int code;
    std::string out, err;
};

Run Owbuild(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunOwbuild(args, out, err);
    return {code, out.str(), err.str()};
}

Run Owmerge(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunOwmerge(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(Commands, WithoutArgumentsShowTheUsage) {
    const auto r = Owbuild({});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("OWBUILD [options] LIST... -o FILE.owd"), std::string::npos);
    EXPECT_EQ(Owbuild({"--help"}).out, r.out);
    const auto m = Owmerge({});
    EXPECT_EQ(m.code, 0);
    EXPECT_NE(m.out.find("OWMERGE [options] LIST... -o OUT"), std::string::npos);
}

TEST(Commands, HelpIsUsageAndAMistakeIsItsReasonThenTheUsage) {
    using Program = ::Run (*)(std::vector<std::string>);
    const std::pair<const char*, Program> programs[] = {{"OWBUILD", Owbuild}, {"OWMERGE", Owmerge}};
    for (const auto& [name, run] : programs) {
        const std::string usage = run({}).out;
        for (const char* help : {"--help", "-h", "/?"}) {
            const ::Run r = run({"x.txt", help});
            EXPECT_EQ(r.code, 0) << name << help;
            EXPECT_EQ(r.out, usage) << name << help;
        }
        const ::Run wrong = run({"--frobnicate", "x.txt"});
        EXPECT_EQ(wrong.code, 2) << name;
        EXPECT_EQ(wrong.out, "") << name;
        EXPECT_EQ(wrong.err, std::string(name) + ": unknown option --frobnicate\n\n" + usage);
    }
}

// A replace that fails leaves the old file as it was and no temporary behind.
TEST(WriteFileBytes, ReplacesInOneStepOrNotAtAll) {
    ScratchDir dir;
    const auto path = dir.Write("keep.owd", "old contents");
    std::string error;
    ASSERT_TRUE(WriteFileBytes(path, "new contents", error)) << error;
    EXPECT_EQ(ScratchDir::Read(path), "new contents");

    PlatformServices failing = PosixPlatform();
    failing.replaceFile = [](const std::string&, const std::string&, std::string& why) {
        why = "the disk said no";
        return false;
    };
    const PlatformServices before = SetPlatform(failing);
    const bool written = WriteFileBytes(path, "newer contents", error);
    SetPlatform(before);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "cannot replace " + path + ": the disk said no");
    EXPECT_EQ(ScratchDir::Read(path), "new contents");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // Over a folder in the way, the real rename fails the same way.
    const auto folder = dir.File("folder.owd");
    std::filesystem::create_directories(folder + "/inside");
    EXPECT_FALSE(WriteFileBytes(folder, "data", error));
    EXPECT_TRUE(std::filesystem::exists(folder + "/inside"));
    EXPECT_FALSE(std::filesystem::exists(folder + ".tmp"));
}

TEST(Owbuild, MistakesAndFailuresExitNonZeroWithAMessage) {
    ScratchDir dir;
    const auto list = dir.Write("l.txt", "cat\n");
    const std::vector<std::vector<std::string>> bad = {
        {"--frobnicate"},
        {list},                    // no output
        {"-o", dir.File("x.owd")}, // no lists
        {list, "-o"},              // option without its value
        {"--version", "2", list, "-o", dir.File("x.owd")},
        {"--info", dir.File("x.owd"), "--dump", dir.File("x.owd")},
        {dir.File("missing.txt"), "-o", dir.File("x.owd")},
        {list, "-o", dir.File("no/such/folder/x.owd")},
        {dir.Write("digits.txt", "123\n---\n"), "-o", dir.File("x.owd")}, // nothing to write
        {"--info", dir.File("missing.owd")},
        {"--info", dir.Write("junk.owd", "OWD7 junk")},
        {"--dump", dir.Write("short.owd", "OWD1\x02")},
    };
    for (const auto& args : bad) {
        const auto r = Owbuild(args);
        EXPECT_NE(r.code, 0) << args[0];
        EXPECT_NE(r.err.find("OWBUILD: "), std::string::npos) << args[0];
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.owd")));
}

TEST(Owbuild, BuildsInfoAndDumpFromAList) {
    ScratchDir dir;
    // A 1252 file with CR LF, a supplement, a repeat, a blank line and a
    // possessive that the filter drops.
    const auto list =
        dir.Write("l.txt", "caf\xE9\r\nice cream\tfrozen\r\n\r\ncat\r\ncat\r\ncat's\r\n");
    const auto owd = dir.File("out.owd");
    const auto r = Owbuild({"--no-possessives", "--description", "Caf\xC3\xA9 test", "--version",
                            "0", list, "-o", owd});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Windows-1252"), std::string::npos);
    EXPECT_NE(r.out.find("Skipped: 1 repeated entries"), std::string::npos);

    const auto info = Owbuild({"--info", owd});
    EXPECT_EQ(info.code, 0);
    auto lines = Lines(info.out);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "Location:    " + owd);
    EXPECT_GT(lines[1].size(), std::string("Modified:    ").size() + 8);
    lines.erase(lines.begin(), lines.begin() + 2);
    EXPECT_EQ(lines, (std::vector<std::string>{"Description: Caf\xC3\xA9 test", "Entries:     3",
                                               "Shortest:    3", "Longest:     8", "Version:     0",
                                               "Common:      0", "Valid:       yes"}));

    const auto dump = Owbuild({"--dump", owd});
    EXPECT_EQ(dump.code, 0);
    EXPECT_EQ(Lines(dump.out),
              (std::vector<std::string>{"cat", "caf\xC3\xA9", "ice cream\tfrozen"}));

    // A ";" in the name is part of the one file's name.
    const auto odd = dir.File("a;b.owd");
    std::filesystem::copy_file(owd, odd);
    EXPECT_EQ(Owbuild({"--dump", odd}).out, dump.out);
    const auto oddInfo = Owbuild({"--info", odd});
    EXPECT_EQ(oddInfo.code, 0) << oddInfo.err;
    EXPECT_EQ(Lines(oddInfo.out)[0], "Location:    " + odd);
}

TEST(Owbuild, CommonListsMarkEntriesAndCluePhrasesLeaveTaxaOut) {
    ScratchDir dir;
    const auto words = dir.Write("words.txt", "carpet\ncar\npet\nCapet\nepact\nOscar\n");
    const auto phrases = dir.Write("phrases.txt", "family tree\nfamily bramidae\ngenus calluna\n"
                                                  "one c\norder of the day\n");
    const auto small = dir.Write("small.txt", "car\r\npet\r\ntree\r\nOscar\r\nabsent\r\n");
    const auto more = dir.Write("more.txt", "carpet\nfamily tree\n");
    const auto owd = dir.File("out.owd");
    const auto r =
        Owbuild({"--clue-phrases", "--common", small, words, phrases, "--common", more, "-o", owd});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find(small + ": 5 common words"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Left out 2 taxonomic names and 1 phrases ending in a single letter"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Marked common: 5"), std::string::npos) << r.out;
    const auto info = Lines(Owbuild({"--info", owd}).out);
    ASSERT_EQ(info.size(), 9u);
    EXPECT_EQ(info[7], "Common:      5");
    EXPECT_EQ(Lines(Owbuild({"--dump", owd}).out),
              (std::vector<std::string>{"car", "pet", "Capet", "epact", "Oscar", "carpet",
                                        "family tree", "order of the day"}));

    // Without --common every flag is 0; version 0 has no flags to set.
    ASSERT_EQ(Owbuild({words, "-o", owd}).code, 0);
    EXPECT_EQ(Lines(Owbuild({"--info", owd}).out)[7], "Common:      0");
    const auto v0 = Owbuild({"--version", "0", "--common", small, words, "-o", dir.File("v0.owd")});
    EXPECT_EQ(v0.code, 2);
    EXPECT_NE(v0.err.find("--common needs version 1"), std::string::npos);
    EXPECT_NE(Owbuild({"--common", dir.File("missing.txt"), words, "-o", owd}).code, 0);
}

TEST(Owbuild, DumpListsTheFirstGroupOfFilesFromAnotherWriter) {
    for (int version : {0, 1}) {
        OwdLayout layout;
        layout.version = version;
        layout.description = "independent";
        layout.firstGroup = {{}, {"a", "I"}, {"o-x"}, {"cat", "dog"}, {"ab c d\ntail"}};
        if (version == 1) {
            layout.secondGroup = {{}, {"q"}, {"zz"}, {"not", "ten"}, {"nope"}};
            layout.flags = {{}, {1, 0}, {0}, {0, 1}, {1}};
        }
        ScratchDir dir;
        const auto path = dir.File("independent.owd");
        ASSERT_TRUE(SaveOwd(path, WriteOwd(layout)));
        const auto dump = Owbuild({"--dump", path});
        ASSERT_EQ(dump.code, 0) << dump.err;
        EXPECT_EQ(Lines(dump.out),
                  (std::vector<std::string>{"a", "I", "o-x", "cat", "dog", "ab c d\ttail"}))
            << "version " << version;
    }
}

TEST(Owbuild, BuildsTheDefaultDictionaryFromWordNetAndSCOWLShapedLists) {
    ScratchDir dir;
    const auto words = dir.Write("words", "Ardèche\nArdèche's\nice\ncream\nO'Neil\n");
    const auto index = dir.Write("index.noun", "  1 licence text\n"
                                               "ice_cream n 1 1 @ 1 0 07614500\n"
                                               "ice n 2 1 @ 1 0 14915184\n"
                                               "a.d._2000 n 1 1 @ 1 0 1\n");
    const auto owd = dir.File("Standard English.owd");
    const auto r = Owbuild({"--no-possessives", "--plain", words, "--wordnet", index, "-o", owd});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(Owbuild({"--dump", owd}).out),
              (std::vector<std::string>{"ice", "cream", "O'Neil",
                                        "Ard\xC3\xA8"
                                        "che",
                                        "ice cream"}));
}

TEST(Owbuild, TheBuiltProgramsRunAndReportThroughExitCodes) {
    const std::string dist = QUILLON_DIST_DIR;
    const std::string owbuild = dist + "/OWBUILD", owmerge = dist + "/OWMERGE";
    if (!std::filesystem::exists(owbuild) || !std::filesystem::exists(owmerge))
        GTEST_SKIP() << "programs not built in this tree";
    ScratchDir dir;
    const auto list = dir.Write("l.txt", "cat\n");
    const auto quiet = " >" + dir.File("out") + " 2>&1";
    const auto status = [](int raw) { return raw == -1 ? -1 : WEXITSTATUS(raw); };
    EXPECT_EQ(status(std::system((owbuild + quiet).c_str())), 0);
    EXPECT_EQ(status(std::system((owmerge + quiet).c_str())), 0);
    EXPECT_EQ(
        status(std::system(
            ("'" + owbuild + "' '" + list + "' -o '" + dir.File("a b.owd") + "'" + quiet).c_str())),
        0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("a b.owd")));
    EXPECT_EQ(status(std::system(("'" + owbuild + "' --bogus" + quiet).c_str())), 2);
    EXPECT_EQ(status(std::system(("'" + owmerge + "' '" + dir.File("none") + "' -o '" +
                                  dir.File("m") + "'" + quiet)
                                     .c_str())),
              1);
}

TEST(Owmerge, UnionWithoutRepeatsInDictionaryOrder) {
    ScratchDir dir;
    const auto a = dir.Write("a.txt", "pear\napple\nCafe\nfig\tsweet\n");
    const auto b = dir.Write("b.txt", "apple\r\nbanana\r\ncaf\xC3\xA9\r\nfig\tsweet\r\nfig\r\n");
    const auto out = dir.File("m.txt");
    const auto r = Owmerge({a, b, "-o", out});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ScratchDir::Read(out), "apple\nbanana\nCafe\ncaf\xC3\xA9\nfig\nfig\tsweet\npear\n");
    EXPECT_NE(r.out.find("2 repeats"), std::string::npos);
}

TEST(Owmerge, IgnoreCaseKeepsTheFirstSpellingAndRemoveLeavesEntriesOut) {
    ScratchDir dir;
    const auto a = dir.Write("a.txt", "Paris\nCAF\xC3\x89\n");
    const auto b = dir.Write("b.txt", "paris\ncaf\xC3\xA9\nCafe\n");
    const auto out = dir.File("m.txt");
    ASSERT_EQ(Owmerge({"--ignore-case", a, b, "-o", out}).code, 0);
    // Accents still tell words apart; only case is ignored.
    EXPECT_EQ(ScratchDir::Read(out), "CAF\xC3\x89\nCafe\nParis\n");

    const auto c = dir.Write("c.txt", "alpha\nbeta\tsecond\ngamma\nDelta\n");
    const auto rm = dir.Write("rm.txt", "beta\ndelta\n");
    const auto rm2 = dir.Write("rm2.txt", "gamma\n");
    ASSERT_EQ(Owmerge({c, "--remove", rm, "-o", out}).code, 0);
    EXPECT_EQ(ScratchDir::Read(out), "alpha\nDelta\ngamma\n");
    ASSERT_EQ(Owmerge({"--ignore-case", "--remove", rm, "--remove", rm2, c, "-o", out}).code, 0);
    EXPECT_EQ(ScratchDir::Read(out), "alpha\n");
}

TEST(Owmerge, WritesEitherEncodingFromEither) {
    ScratchDir dir;
    const auto utf8 = dir.Write("u.txt", "na\xC3\xAFve\nd\xC4\x9F\n"); // ğ has no 1252 byte
    const auto cp = dir.Write("c.txt", "caf\xE9\n");
    const auto out = dir.File("m.txt");
    const auto r = Owmerge({"--encoding", "windows-1252", utf8, cp, "-o", out});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("1 outside Windows-1252"), std::string::npos);
    EXPECT_EQ(ScratchDir::Read(out), "caf\xE9\nna\xEFve\n");
    ASSERT_EQ(Owmerge({"--encoding", "UTF-8", out, "-o", out}).code, 0); // in place
    EXPECT_EQ(ScratchDir::Read(out), "caf\xC3\xA9\nna\xC3\xAFve\n");
    EXPECT_EQ(Owmerge({"--encoding", "latin-9", cp, "-o", out}).code, 2);
}

TEST(Owmerge, MistakesExitWithTwoAndFailuresWithOne) {
    ScratchDir dir;
    const auto a = dir.Write("a.txt", "alpha\n");
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{a}, 2},
        {{"-o", dir.File("m")}, 2},
        {{a, "--remove"}, 2},
        {{"--nope", a, "-o", dir.File("m")}, 2},
        {{a, "--remove", dir.File("none"), "-o", dir.File("m")}, 1},
        {{a, "-o", dir.File("no/such/dir/m")}, 1},
    };
    for (const auto& [args, code] : cases) {
        const auto r = Owmerge(args);
        EXPECT_EQ(r.code, code) << args.back();
        EXPECT_NE(r.err.find("OWMERGE: "), std::string::npos) << args.back();
    }
}
