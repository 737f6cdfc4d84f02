// Dictionaries written by OWBUILD's writer, read back by the program's reader.
#include "ToolTestHelpers.h"
#include "common/Encoding.h"
#include "common/OwdWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

using namespace quillon::tools;
using tooltest::ReadBack;
using tooltest::ReadEntry;
using tooltest::ScratchDir;

namespace {

std::string Build(const ScratchDir& dir, const std::vector<Entry>& entries, int version,
                  BuildStats* statsOut = nullptr, const std::string& description = "test") {
    std::string image, error;
    BuildStats stats;
    BuildOptions options{version, description, {}};
    EXPECT_TRUE(BuildDictionary(entries, options, image, stats, error)) << error;
    if (statsOut) *statsOut = stats;
    return dir.Write("d" + std::to_string(version) + ".owd", image);
}

std::string PlainKey(const std::string& text) {
    std::string key;
    for (char c : text)
        if (int l = FoldLetter(static_cast<unsigned char>(c)); l >= 0) key += char('a' + l);
    return key;
}

// What the reader should give back: per slot, sorted by key then bytes, no repeats.
std::vector<ReadEntry> Expected(const std::vector<Entry>& entries) {
    std::set<std::tuple<int, std::string, std::string, std::string>> sorted;
    for (const Entry& e : entries) {
        const std::string key = PlainKey(e.text);
        sorted.insert({int(key.size()), key,
                       e.supplement.empty() ? e.text : e.text + '\n' + e.supplement, e.text});
    }
    std::vector<ReadEntry> out;
    for (const auto& [slot, key, bytes, text] : sorted) {
        const auto lf = bytes.find('\n');
        out.push_back({slot, text, lf == std::string::npos ? "" : bytes.substr(lf + 1), key});
    }
    return out;
}

std::vector<Entry> RandomEntries(std::mt19937& random, int count) {
    // Letters weighted towards lower case, with capitals, accents, blanks,
    // hyphens, apostrophes and the odd supplementary text.
    const std::string alphabet = "eeeeeaaaaiiiioooonnnrrrsssttlcdumhgpbfywkvxzjqEASTCMB"
                                 "\xE9\xE8\xEF\xF6\xFC\xC9\xC7\xF1\x8A\x9E\x9F";
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        Entry e;
        const int letters = 1 + static_cast<int>(random() % 14);
        for (int k = 0; k < letters; ++k) {
            e.text += alphabet[random() % alphabet.size()];
            if (k + 1 < letters && random() % 12 == 0) e.text += " -'"[random() % 3];
        }
        if (random() % 10 == 0) e.supplement = "note \xDF" + std::to_string(random() % 50);
        entries.push_back(e);
        if (random() % 20 == 0) entries.push_back(e); // repeats must go
    }
    return entries;
}

} // namespace

TEST(OwdRoundTrip, RandomListsInBothVersions) {
    std::mt19937 random(2024);
    for (int version : {0, 1}) {
        for (int round = 0; round < 4; ++round) {
            ScratchDir dir;
            const auto entries = RandomEntries(random, 200 + round * 900);
            const auto path = Build(dir, entries, version);
            const auto back = ReadBack(path);
            const auto expected = Expected(entries);
            ASSERT_EQ(back.size(), expected.size()) << "version " << version;
            EXPECT_EQ(back, expected) << "version " << version;
        }
    }
}

TEST(OwdRoundTrip, HeaderFactsMatchTheEntries) {
    ScratchDir dir;
    const std::vector<Entry> entries = {{"cat", ""},   {"dog", ""},      {"horse", ""},
                                        {"ox", ""},    {"ox", ""},       {"aardvarks", ""},
                                        {"c-a-t", ""}, {"\xC9t\xE9", ""}};
    for (int version : {0, 1}) {
        BuildStats stats;
        const auto path = Build(dir, entries, version, &stats, "Caf\xE9 words");
        OWDictionaryList list(path);
        ASSERT_TRUE(list.IsValid(0));
        EXPECT_EQ(list.Version(0), version);
        EXPECT_EQ(list.Description(0), "Caf\xE9 words");
        const auto s = list.Statistics(0);
        EXPECT_EQ(std::tuple(s.entries, s.shortest, s.longest, list.SlotCount(0)),
                  std::tuple(7, 2, 9, 10));
        EXPECT_EQ(stats.written, 7u);
        EXPECT_EQ(stats.duplicates, 1u);
        EXPECT_EQ(stats.perLength[3], 4u);
        EXPECT_EQ(stats.perLength[4], 0u);
        EXPECT_EQ(stats.fileSize, ScratchDir::Read(path).size());
    }
}

TEST(OwdRoundTrip, CommonTextsGetFlagOneAndTheReaderCountsThem) {
    ScratchDir dir;
    std::mt19937 random(16);
    const auto entries = RandomEntries(random, 1500);
    BuildOptions options{1, "flags", {}};
    for (std::size_t i = 0; i < entries.size(); i += 3)
        options.common.insert(entries[i].text);
    for (const bool marked : {true, false}) {
        std::string image, error;
        BuildStats stats;
        BuildOptions used = options;
        if (!marked) used.common.clear();
        ASSERT_TRUE(BuildDictionary(entries, used, image, stats, error)) << error;
        OWDictionaryList list(dir.Write("flags.owd", image));
        ASSERT_TRUE(list.IsValid(0));
        InputEngine input(list, 0);
        std::size_t flagged = 0, read = 0;
        for (int n = 1; n < list.SlotCount(0); ++n) {
            if (!input.Start(n)) continue;
            long inSlot = 0, counted = 0;
            for (const std::uint8_t* record = input.Next(); record[0] != owrecord::kEnd;
                 record = input.Next()) {
                const std::string text(reinterpret_cast<const char*>(record + owrecord::kText));
                EXPECT_EQ(input.Flag(), static_cast<int>(used.common.count(text))) << text;
                inSlot += input.Flag();
                counted = input.Counter();
                ++read;
            }
            EXPECT_EQ(counted, inSlot) << "the reader counts the flagged entries of slot " << n;
            flagged += static_cast<std::size_t>(inSlot);
        }
        EXPECT_EQ(read, stats.written);
        EXPECT_EQ(flagged, stats.marked);
        EXPECT_EQ(stats.marked > 0, marked);
    }
}

TEST(OwdRoundTrip, CaseAndAccentsMapToThePlainLettersAndStayInTheTexts) {
    ScratchDir dir;
    // Only plain lower-case words in the list: the accented and capital bytes
    // must still be letters of the dictionary.
    OWDictionaryList plain(Build(dir, {{"cafe", ""}, {"tea", ""}}, 1));
    ASSERT_TRUE(plain.IsValid(0));
    EXPECT_EQ(plain.LetterCount(0), 26);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(plain.LetterChar(0, std::uint8_t(i)), 'a' + i);
    for (int b = 0; b < 256; ++b) {
        const int folded = FoldLetter(static_cast<unsigned char>(b));
        EXPECT_EQ(plain.LetterIndex(0, static_cast<unsigned char>(b)), folded >= 0 ? folded : 255)
            << "byte " << b;
    }
    const auto back =
        ReadBack(Build(dir, {{"CAF\xC9", ""}, {"caf\xE9", ""}, {"Cafe", ""}, {"cafe", ""}}, 0));
    ASSERT_EQ(back.size(), 4u);
    std::set<std::string> texts;
    for (const auto& e : back) {
        EXPECT_EQ(e.key, "cafe");
        texts.insert(e.text);
    }
    EXPECT_EQ(texts, (std::set<std::string>{"CAF\xC9", "caf\xE9", "Cafe", "cafe"}));
}

TEST(OwdRoundTrip, LetterLimitsAndSkippedEntries) {
    ScratchDir dir;
    const std::string letters31(31, 'q'), letters32(32, 'q');
    const std::string spaced31 = "a b-c'd" + std::string(27, 'e'); // 31 letters, 34 bytes
    BuildStats stats;
    const auto path = Build(dir,
                            {{letters31, ""},
                             {letters32, ""},
                             {spaced31, ""},
                             {"- '", ""},
                             {"stra\xDF"
                              "e",
                              ""},
                             {"\xE6on", ""},
                             {"cat", std::string(900, 'x')},
                             {"dog", std::string(890, 'x')}},
                            1, &stats);
    EXPECT_EQ(stats.tooManyLetters, 1u);
    EXPECT_EQ(stats.noLetters, 1u);
    EXPECT_EQ(stats.noPlainLetter, 2u);
    EXPECT_EQ(stats.tooLong, 1u);
    const auto back = ReadBack(path);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].text, "dog");
    EXPECT_EQ(back[0].supplement.size(), 890u);
    EXPECT_EQ(back[1].slot, 31);
    EXPECT_EQ(back[2].slot, 31);
    OWDictionaryList list(path);
    EXPECT_EQ(list.SlotCount(0), 32);
    EXPECT_EQ(list.Statistics(0).longest, 31);
}

TEST(OwdRoundTrip, EmptySlotsBetweenFullOnesStayEmpty) {
    ScratchDir dir;
    const auto path = Build(dir, {{"a", ""}, {"abcdefghij", ""}, {"abcdefghijklmnopqrst", ""}}, 1);
    OWDictionaryList list(path);
    InputEngine input(list, 0);
    for (int n = 1; n < list.SlotCount(0); ++n) {
        const bool full = n == 1 || n == 10 || n == 20;
        EXPECT_EQ(input.Start(n) && input.Next()[0] != owrecord::kEnd, full) << n;
    }
}

TEST(OwdWriter, DescriptionIsCutToItsField) {
    for (int version : {0, 1}) {
        std::string image, error;
        BuildStats stats;
        const std::size_t field = version ? 1000 : 80;
        BuildOptions options{version, std::string(2000, 'd'), {}};
        ASSERT_TRUE(BuildDictionary({{"cat", ""}}, options, image, stats, error));
        EXPECT_TRUE(stats.descriptionCut);
        ScratchDir dir;
        OWDictionaryList list(dir.Write("d.owd", image));
        ASSERT_TRUE(list.IsValid(0));
        EXPECT_EQ(list.Description(0), std::string(field - 1, 'd'));
    }
}

TEST(OwdWriter, NothingToWriteIsAnError) {
    std::string image, error;
    BuildStats stats;
    EXPECT_FALSE(BuildDictionary({}, BuildOptions{}, image, stats, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(BuildDictionary({{"123", ""}, {std::string(40, 'z'), ""}}, BuildOptions{}, image,
                                 stats, error));
}

TEST(OwdWriter, ManyDistinctBytesInSupplementsStillLoad) {
    // Supplements using every byte value push the code past what a careless
    // assignment fits in the reader's 255 inner nodes.
    std::vector<Entry> entries;
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) {
        std::string supplement;
        for (int k = 0; k < 20; ++k) {
            const auto b = static_cast<char>(0x20 + random() % 0xE0);
            supplement += b == 0x7F ? 'x' : b;
        }
        entries.push_back({"word" + std::string(1 + i % 20, char('a' + i % 26)), supplement});
    }
    ScratchDir dir;
    const auto path = Build(dir, entries, 1);
    const auto back = ReadBack(path);
    EXPECT_EQ(back, Expected(entries));
}
