#include "lookup/CommandLine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// How a Windows program splits its command line (the rules of
// CommandLineToArgvW): the program name runs to its closing quote, then
// blanks separate arguments outside quotes, and backslashes count only
// before a quote.
std::vector<std::string> SplitReference(const std::string& line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    std::string program;
    if (i < line.size() && line[i] == '"') {
        for (++i; i < line.size() && line[i] != '"'; ++i)
            program += line[i];
        if (i < line.size()) ++i;
    } else {
        for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i)
            program += line[i];
    }
    args.push_back(program);
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size()) break;
        std::string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    arg += '"';
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')))
                    arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

TEST(CommandLine, QuotesOnlyWhatNeedsIt) {
    const struct {
        const char* argument;
        const char* written;
    } cases[] = {
        {"carpet", "carpet"},
        {"o'er", "o'er"},
        {"caf\xE9", "caf\xE9"},
        {"C:\\dir\\", "C:\\dir\\"}, // no quote follows: backslashes stay as they are
        {"ice cream", "\"ice cream\""},
        {"tab\there", "\"tab\there\""},
        {"say\"hi\"", "\"say\\\"hi\\\"\""},
        {"a b\\", "\"a b\\\\\""}, // a trailing backslash must not eat the closing quote
        {"x\\\"y", "\"x\\\\\\\"y\""},
        {"a\\b c", "\"a\\b c\""}, // inner backslashes stay single
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuoteArgument(c.argument), c.written) << c.argument;
}

TEST(CommandLine, ProgramIsQuotedAndAnEmptyArgumentLeftOut) {
    EXPECT_EQ(ProgramCommandLine("C:\\Program Files\\dict.exe", "carpet"),
              "\"C:\\Program Files\\dict.exe\" carpet");
    EXPECT_EQ(ProgramCommandLine("C:\\dict", "ice cream"), "\"C:\\dict\" \"ice cream\"");
    EXPECT_EQ(ProgramCommandLine("C:\\Tools\\OWBUILD", ""), "\"C:\\Tools\\OWBUILD\"");
}

TEST(CommandLine, EveryWordComesBackAsOneArgument) {
    const std::vector<std::string> words = {
        "carpet", "ice cream", "o'er",       "say \"hi\"",  "\"",    "\\",
        "\\\"",   "a\\\\\"b",  "trailing\\", "two  blanks", " lead", "caf\xE9 cr\xE8me",
        "\t",     "\"\"",      "a\"b\"c d"};
    for (const std::string& w : words) {
        const auto args = SplitReference(ProgramCommandLine("C:\\p q\\peer.exe", w));
        EXPECT_EQ(args, (std::vector<std::string>{"C:\\p q\\peer.exe", w})) << w;
    }
    // Random words over the characters that matter to the split.
    const std::string alphabet = "ab \t\"\\'\xE9";
    std::mt19937 random(11);
    for (int n = 0; n < 20000; ++n) {
        std::string w(1 + random() % 12, ' ');
        for (char& c : w)
            c = alphabet[random() % alphabet.size()];
        const auto args = SplitReference(ProgramCommandLine("peer", w));
        ASSERT_EQ(args, (std::vector<std::string>{"peer", w})) << '[' << w << ']';
    }
}

} // namespace
