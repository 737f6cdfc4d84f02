// The decoded form holds what the streaming reader reads, in the same order,
// and a query over it accepts exactly the entries the reader's filter does.
#include <gtest/gtest.h>

#include <random>

#include "TestFiles.h"
#include "dictionary/DecodedDictionary.h"

namespace {

struct Seen {
    std::string key; // 'a' + letter index
    std::string text;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> Read(OWDictionaryList& list, DecodedDictionary* decoded, int length,
                       MatchEngine* matcher) {
    std::vector<Seen> seen;
    const auto anyLetters = [](std::uint32_t) { return true; };
    ReadEntries(list, 0, decoded, length, matcher, anyLetters,
                [&](const std::uint8_t* key, const char* text) {
                    Seen entry{{}, text};
                    for (int i = 0; i < length; ++i)
                        entry.key += static_cast<char>('a' + key[i]);
                    seen.push_back(entry);
                });
    return seen;
}

// Random dictionaries of both versions with blanks, hyphens, accents, capitals,
// line feed parts, flags and second groups; every length read plainly and with
// the search's two query forms over random letters, both ways.
TEST(DecodedDictionary, ReadsWhatTheStreamingReaderReadsForEveryQuery) {
    std::mt19937 random(1411);
    const std::string alphabet = "aeinrstAEcxz -'\xe9";
    const std::string letters = "aeinrstcxz";
    for (int round = 0; round < 24; ++round) {
        OwdLayout layout;
        layout.version = round % 2;
        const int slots = 2 + static_cast<int>(random() % 20);
        layout.firstGroup.resize(static_cast<std::size_t>(slots));
        layout.secondGroup.resize(static_cast<std::size_t>(slots));
        layout.flags.resize(static_cast<std::size_t>(slots));
        for (int n = 1; n < slots; ++n) {
            const int count = static_cast<int>(random() % 80);
            for (int i = 0; i < count; ++i) {
                std::string text;
                for (int have = 0; have < n;) {
                    const char c = alphabet[random() % alphabet.size()];
                    if (!KeyOf(std::string(1, c)).empty()) ++have;
                    text += c;
                }
                if (random() % 6 == 0) text += "\nalso " + std::to_string(random() % 100);
                layout.firstGroup[static_cast<std::size_t>(n)].push_back(text);
                layout.flags[static_cast<std::size_t>(n)].push_back(static_cast<int>(random() % 2));
            }
            if (random() % 2 == 0)
                layout.secondGroup[static_cast<std::size_t>(n)].push_back(
                    std::string(static_cast<std::size_t>(n), 'q'));
        }
        TempFolder folder;
        OWDictionaryList list(folder.Write("d.owd", layout));
        ASSERT_TRUE(list.IsValid(0));
        const std::shared_ptr<DecodedDictionary> decoded = list.Decoded(0);
        ASSERT_NE(decoded, nullptr);
        for (int n = 1; n < slots; ++n) {
            SCOPED_TRACE("round " + std::to_string(round) + " length " + std::to_string(n));
            const std::vector<Seen> all = Read(list, nullptr, n, nullptr);
            ASSERT_EQ(all.size(), layout.firstGroup[static_cast<std::size_t>(n)].size());
            EXPECT_EQ(Read(list, decoded.get(), n, nullptr), all);

            // The flag bits as the reader counts them.
            const DecodedSection* section = decoded->Section(n);
            ASSERT_EQ(section == nullptr ? 0 : section->Size(), all.size());
            for (std::size_t i = 0; i < all.size(); ++i)
                EXPECT_EQ(section->Flag(i),
                          layout.version == 0 ? 1 : layout.flags[static_cast<std::size_t>(n)][i]);

            for (int trial = 0; trial < 6; ++trial) {
                std::string pool;
                const int size = 1 + static_cast<int>(random() % 12);
                for (int i = 0; i < size; ++i)
                    pool += letters[random() % letters.size()];
                const int wild = n - size;
                const std::string query =
                    trial % 2 == 0
                        ? std::string(static_cast<std::size_t>(n), '.') + ";" + pool
                        : ";" + pool +
                              std::string(static_cast<std::size_t>(wild > 0 ? wild : 0), '.');
                MatchEngine matcher;
                if (matcher.Compile(list, 0, query) != 0) continue;
                matcher.SetLength(n);
                EXPECT_EQ(Read(list, decoded.get(), n, &matcher), Read(list, nullptr, n, &matcher))
                    << query;
            }
        }
    }
}

// A file that ends inside an entry: both ways stop at the same entry.
TEST(DecodedDictionary, StopsWhereTheReaderStops) {
    OwdLayout layout;
    layout.firstGroup.resize(6);
    for (int i = 0; i < 400; ++i)
        layout.firstGroup[5].push_back("st" + std::string(1, static_cast<char>('a' + i % 26)) +
                                       "ne" + (i % 3 == 0 ? " -" : ""));
    std::vector<std::uint8_t> bytes = WriteOwd(layout);
    bytes.resize(bytes.size() - 700);
    TempFolder folder;
    OWDictionaryList list(folder.Write("cut.owd", bytes));
    ASSERT_TRUE(list.IsValid(0));
    const std::vector<Seen> streamed = Read(list, nullptr, 5, nullptr);
    EXPECT_GT(streamed.size(), 10u);
    EXPECT_LT(streamed.size(), 400u);
    EXPECT_EQ(Read(list, list.Decoded(0).get(), 5, nullptr), streamed);
}

TEST(DecodedDictionary, ReloadedFileGetsANewDecodedForm) {
    TempFolder folder;
    OwdLayout layout;
    layout.firstGroup = {{}, {}, {}, {"cat", "dog"}};
    const std::string path = folder.Write("r.owd", layout);
    OWDictionaryList list(path);
    const std::shared_ptr<DecodedDictionary> before = list.Decoded(0);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(list.Decoded(0), before) << "kept while the file is unchanged";
    EXPECT_EQ(before->Section(3)->Size(), 2u);

    layout.firstGroup[3].push_back("emu");
    SaveOwd(path, WriteOwd(layout));
    TouchBy(path, 3);
    ASSERT_TRUE(list.IsValid(0));
    const std::shared_ptr<DecodedDictionary> after = list.Decoded(0);
    ASSERT_NE(after, before);
    ASSERT_EQ(after->Section(3)->Size(), 3u);
    EXPECT_STREQ(after->Section(3)->Text(2), "emu");
    EXPECT_EQ(before->Section(3)->Size(), 2u) << "a search holding the old form keeps its words";

    std::filesystem::remove(path);
    EXPECT_FALSE(list.IsValid(0));
    EXPECT_EQ(list.Decoded(0), nullptr);
}

} // namespace
