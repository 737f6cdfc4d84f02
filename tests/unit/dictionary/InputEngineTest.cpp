// Reading entries of one length: groups, flag bits, texts with line feeds and
// non-letters, hostile data, the file-handle take-over, and the fast decoder
// against the bit-by-bit reference over random files.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <set>
#include <unistd.h>

#include "TestFiles.h"
#include "dictionary/InputEngine.h"

namespace {

std::vector<std::string> Texts(const std::vector<DecodedEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.text);
    return out;
}

OwdLayout Mixed(int version) {
    OwdLayout layout;
    layout.version = version;
    layout.firstGroup.resize(9);
    layout.firstGroup[3] = {"cat", "Dog", "e-mu", "o'ne"};
    layout.firstGroup[8] = {"ice cream", "up-to-date", "abcdefgh\nsupplement", "backache"};
    layout.secondGroup.resize(9);
    layout.secondGroup[3] = {"zzz", "yak"};
    layout.flags.resize(9);
    layout.flags[3] = {1, 0, 1, 1};
    layout.flags[8] = {0, 1, 0, 0};
    return layout;
}

TEST(InputEngine, ReadsGroupsFlagsAndRecordsOfEachVersion) {
    for (int version : {0, 1}) {
        TempFolder folder;
        OWDictionaryList list(folder.Write("m.owd", Mixed(version)));
        // Texts and keys are checked against the reference decoder below; here
        // the record: the key ends with kEnd, the line feed part follows the
        // text's NUL.
        InputEngine engine(list, 0);
        ASSERT_TRUE(engine.Start(8));
        const std::uint8_t* r = engine.Next();
        EXPECT_EQ(r[8], owrecord::kEnd);
        engine.Next();
        r = engine.Next();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(r + owrecord::kText), 20),
                  std::string("abcdefgh\0supplement\0", 20));
        // Version 1 counts the flagged entries (flags 0, 1, 0), version 0 every entry.
        EXPECT_EQ(engine.Counter(), version ? 1 : 3);
        EXPECT_EQ(engine.GroupsLeft(), version ? 2 : 0);
    }

    TempFolder folder;
    OWDictionaryList list(folder.Write("m.owd", Mixed(1)));
    InputEngine engine(list, 0);
    ASSERT_TRUE(engine.Start(3));
    EXPECT_EQ(engine.GroupsLeft(), 2);
    std::vector<int> flags;
    for (const std::uint8_t* r = engine.Next(); r[0] != owrecord::kEnd; r = engine.Next())
        flags.push_back(engine.Flag());
    EXPECT_EQ(flags, (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(engine.Counter(), 0) << "cleared at the group end";
    EXPECT_EQ(engine.GroupsLeft(), 1);
    // The second group follows, without flag bits.
    std::vector<std::string> second;
    for (const std::uint8_t* r = engine.Next(); r[0] != owrecord::kEnd; r = engine.Next())
        second.push_back(reinterpret_cast<const char*>(r + owrecord::kText));
    EXPECT_EQ(second, (std::vector<std::string>{"zzz", "yak"}));
    EXPECT_EQ(engine.GroupsLeft(), 0);
}

TEST(InputEngine, StartRefusesWhatCannotBeRead) {
    TempFolder folder;
    OWDictionaryList list(folder.Write("m.owd", Mixed(1)));
    InputEngine engine(list, 0);
    for (int n : {0, 9, 40, -3, 5}) // slot 0, at lengthSlots, beyond, negative, empty
        EXPECT_FALSE(engine.Start(n)) << n;
    EXPECT_EQ(engine.Next()[0], owrecord::kEnd) << "Next after a refused Start is a group end";
    EXPECT_TRUE(engine.Start(3));
    OWDictionaryList missing(folder.File("gone.owd"));
    EXPECT_FALSE(InputEngine(missing, 0).Start(3));
    EXPECT_FALSE(InputEngine(list, 4).Start(3));
}

TEST(InputEngine, SectionOffsetsOutsideTheFileMakeTheSlotUnreadable) {
    for (std::int32_t offset : {-1, -100000, 1 << 30, 0x7FFFFFFF}) {
        TempFolder folder;
        OwdImage image = WriteOwdImage(Mixed(1));
        PutI32(image.bytes, image.sectionOffsetAt + 4 * 8, offset);
        OWDictionaryList list(folder.Write("m.owd", image.bytes));
        ASSERT_TRUE(list.IsValid(0));
        InputEngine engine(list, 0);
        EXPECT_FALSE(engine.Start(8)) << offset;
        EXPECT_EQ(engine.Next()[0], owrecord::kEnd);
        EXPECT_EQ(EngineRead(list, 0, 3).size(), 4u) << "other slots still read";
    }
}

TEST(InputEngine, StreamWithoutGroupEndReadsAsOneAndStaysEnded) {
    TempFolder folder;
    OwdLayout layout = Mixed(1);
    layout.groupEnds = false;
    OWDictionaryList list(folder.Write("m.owd", layout));
    InputEngine engine(list, 0);
    ASSERT_TRUE(engine.Start(8)); // runs to the end of the file
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(engine.Next()[0], owrecord::kEnd);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(engine.Next()[0], owrecord::kEnd);
}

// Hostile word data: the read ends cleanly as a group end after the last
// good entry.
TEST(InputEngine, HostileEntriesEndTheRead) {
    const std::string fits = "cat" + std::string(896, '-'); // 899 bytes and the NUL
    const std::string over = "dog" + std::string(897, '-'); // one more
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::vector<std::string> read;
        int slots;
        bool dropCodeOfO;
    } cases[] = {
        {"more letters than the record holds",
         {"cat", std::string(200, 'x'), "dog"},
         {"cat"},
         4,
         false},
        {"more letters than the slot", {"cat", "doge", "dog"}, {"cat"}, -1, false},
        {"fewer letters than the slot", {"cat", "do", "dog"}, {"cat"}, -1, false},
        {"text longer than the record", {fits, "owl", over, "ant"}, {fits, "owl"}, -1, false},
        {"line feed part longer than the record",
         {"owl", "ewe\n" + std::string(5000, 'q'), "ant"},
         {"owl"},
         -1,
         false},
        // Its bit pattern now leads nowhere.
        {"a code missing from the table", {"cat", "dog", "owl"}, {"cat"}, -1, true},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        OwdLayout layout;
        layout.firstGroup.resize(4);
        layout.firstGroup[3] = c.entries;
        layout.slots = c.slots;
        if (c.dropCodeOfO) layout.tweakCodes = [](OwdCodeTable& t) { t['o'].length = 0; };
        OWDictionaryList list(folder.Write("h.owd", layout));
        ASSERT_TRUE(list.IsValid(0)) << c.name;
        EXPECT_EQ(Texts(EngineRead(list, 0, 3)), c.read) << c.name;
    }
}

TEST(InputEngine, GarbageBitStreamsNeverOverrun) {
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        TempFolder folder;
        OwdLayout layout = Mixed(round % 2);
        layout.codeWidth = round % 3 == 0 ? 0 : 5 + round % 9;
        OwdImage image = WriteOwdImage(layout);
        image.bytes.resize(image.dataAt);
        // Whole words, so that the zero padding of a last partial word does
        // not give the engine bits the reference never sees.
        std::size_t garbage = 4 * (1 + random() % 10000);
        for (std::size_t i = 0; i < garbage; ++i)
            image.bytes.push_back(static_cast<std::uint8_t>(random()));
        for (int n = 0; n < 9; ++n)
            PutI32(image.bytes, image.sectionOffsetAt + 4 * static_cast<std::size_t>(n),
                   static_cast<std::int32_t>(image.dataAt + random() % garbage));
        std::vector<std::uint8_t> bytes = image.bytes;
        OWDictionaryList list(folder.Write("g.owd", bytes));
        ASSERT_TRUE(list.IsValid(0));
        for (int n = 1; n < 9; ++n) {
            auto fast = EngineRead(list, 0, n);
            auto slow = ReferenceDecode(list.At(0), bytes, n);
            // The reference knows nothing of the record's limits, so it may
            // read on where the engine stops; up to there they agree.
            ASSERT_LE(fast.size(), slow.size());
            for (std::size_t i = 0; i < fast.size(); ++i)
                ASSERT_TRUE(SameEntry(slow[i], fast[i]))
                    << "round " << round << " slot " << n << " entry " << i;
        }
    }
}

// The fast decoder against the bit-by-bit reference over random dictionaries.
TEST(InputEngine, AgreesWithTheReferenceDecoder) {
    std::mt19937 random(2024);
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCXYZ -'.\x80\xe9";
    for (int round = 0; round < 40; ++round) {
        OwdLayout layout;
        layout.version = round % 2;
        int slots = 2 + static_cast<int>(random() % 30);
        layout.firstGroup.resize(static_cast<std::size_t>(slots));
        layout.secondGroup.resize(static_cast<std::size_t>(slots));
        layout.flags.resize(static_cast<std::size_t>(slots));
        // Huffman codes, or fixed widths up to the longest code of 32 bits.
        layout.codeWidth =
            round % 4 == 0 ? 0 : (round % 4 == 1 ? 6 : 7 + static_cast<int>(random() % 26));
        for (int n = 1; n < slots; ++n) {
            int count = static_cast<int>(random() % 60);
            for (int i = 0; i < count; ++i) {
                std::string text;
                int letters = 0;
                while (letters < n) {
                    char c = alphabet[random() % alphabet.size()];
                    if (!KeyOf(std::string(1, c)).empty()) ++letters;
                    text += c;
                }
                if (random() % 5 == 0) text += "\nsee " + std::to_string(random() % 1000);
                layout.firstGroup[static_cast<std::size_t>(n)].push_back(text);
                layout.flags[static_cast<std::size_t>(n)].push_back(static_cast<int>(random() % 2));
            }
            if (random() % 3 == 0)
                layout.secondGroup[static_cast<std::size_t>(n)].push_back(
                    std::string(static_cast<std::size_t>(n), 'q'));
        }
        TempFolder folder;
        auto bytes = WriteOwd(layout);
        OWDictionaryList list(folder.Write("r.owd", bytes));
        ASSERT_TRUE(list.IsValid(0)) << round;
        for (int n = 1; n < slots; ++n) {
            auto fast = EngineRead(list, 0, n);
            auto slow = ReferenceDecode(list.At(0), bytes, n);
            ASSERT_EQ(fast.size(), layout.firstGroup[static_cast<std::size_t>(n)].size())
                << round << "/" << n;
            ASSERT_EQ(fast.size(), slow.size());
            for (std::size_t i = 0; i < fast.size(); ++i) {
                ASSERT_TRUE(SameEntry(slow[i], fast[i]))
                    << "round " << round << " slot " << n << " entry " << i;
                std::string written = layout.firstGroup[static_cast<std::size_t>(n)][i];
                ASSERT_EQ(fast[i].text, written.substr(0, written.find('\n')));
                ASSERT_EQ(fast[i].key, KeyOf(written));
            }
        }
    }
}

// Opens through the real open() but refuses, with EMFILE, to hold more than
// `limit` handles at once.
int limit = 0;
std::set<int> handed;
int ScarceOpen(const char* path) {
    for (auto it = handed.begin(); it != handed.end();)
        it = fcntl(*it, F_GETFD) == -1 ? handed.erase(it) : std::next(it);
    if (static_cast<int>(handed.size()) >= limit) {
        errno = EMFILE;
        return -1;
    }
    int fd = ::open(path, O_RDONLY);
    if (fd >= 0) handed.insert(fd);
    return fd;
}

TEST(InputEngine, EnginesShareScarceFileHandles) {
    TempFolder folder;
    OwdLayout layout;
    layout.firstGroup.resize(6);
    layout.flags.resize(6);
    layout.codeWidth = 11; // 11 bits never line up with the 32-bit words
    std::mt19937 random(5);
    // Every slot is larger than an engine's buffer.
    for (int n = 1; n < 6; ++n)
        for (int i = 0; i < 9000; ++i) {
            std::string w;
            for (int k = 0; k < n; ++k)
                w += static_cast<char>('a' + random() % 26);
            layout.firstGroup[static_cast<std::size_t>(n)].push_back(w);
            layout.flags[static_cast<std::size_t>(n)].push_back(i % 3 == 0);
        }
    OWDictionaryList list(folder.Write("h.owd", layout));
    limit = 2;
    handed.clear();
    InputEngine::SetOpenFunction(ScarceOpen);
    {
        std::vector<std::unique_ptr<InputEngine>> engines;
        for (int n = 1; n < 6; ++n) {
            engines.push_back(std::make_unique<InputEngine>(list, 0));
            ASSERT_TRUE(engines.back()->Start(n)) << n;
        }
        // Round robin, one entry each, so that every engine refills its
        // buffer many times while the others hold the handles.
        std::vector<std::size_t> read(5, 0);
        bool any = true;
        while (any) {
            any = false;
            for (int n = 1; n < 6; ++n) {
                const std::uint8_t* r = engines[static_cast<std::size_t>(n - 1)]->Next();
                if (r[0] == owrecord::kEnd) continue;
                any = true;
                std::size_t& i = read[static_cast<std::size_t>(n - 1)];
                ASSERT_STREQ(reinterpret_cast<const char*>(r + owrecord::kText),
                             layout.firstGroup[static_cast<std::size_t>(n)][i].c_str())
                    << "slot " << n << " entry " << i;
                ASSERT_EQ(engines[static_cast<std::size_t>(n - 1)]->Flag(), i % 3 == 0)
                    << "slot " << n << " entry " << i;
                ++i;
            }
        }
        for (int n = 1; n < 6; ++n)
            EXPECT_EQ(read[static_cast<std::size_t>(n - 1)], 9000u);
        int open = 0;
        for (auto& e : engines)
            open += e->IsOpen();
        EXPECT_LE(open, 2);
    }
    // With no handle at all to take over, Start fails cleanly.
    limit = 0;
    InputEngine starved(list, 0);
    EXPECT_FALSE(starved.Start(3));
    InputEngine::SetOpenFunction(nullptr);
    EXPECT_TRUE(starved.Start(3));
}

// The default dictionary, when this tree has built it, read both ways.
TEST(InputEngine, DefaultDictionaryAgreesWithTheReferenceDecoder) {
    std::string path = QUILLON_DIST_DIR "/Dictionaries/Standard English.owd";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no default dictionary in this tree";
    OWDictionaryList list(path);
    ASSERT_TRUE(list.IsValid(0)) << list.Description(0);
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    long total = 0;
    for (int n = 1; n < list.SlotCount(0); ++n) {
        auto fast = EngineRead(list, 0, n);
        auto slow = ReferenceDecode(list.At(0), bytes, n);
        ASSERT_EQ(fast.size(), slow.size()) << "slot " << n;
        EXPECT_EQ(static_cast<long>(fast.size()), list.At(0).sectionCount[n]) << "slot " << n;
        for (std::size_t i = 0; i < fast.size(); ++i)
            ASSERT_TRUE(SameEntry(slow[i], fast[i]))
                << "slot " << n << " entry " << i << " " << slow[i].text;
        total += static_cast<long>(fast.size());
    }
    EXPECT_EQ(total, list.Statistics(0).entries);
}

TEST(InputEngine, StartPicksUpAFileRebuiltOnDisk) {
    TempFolder folder;
    std::string path = folder.Write("r.owd", Mixed(1));
    OWDictionaryList list(path);
    InputEngine engine(list, 0);
    ASSERT_TRUE(engine.Start(3));
    OwdLayout rebuilt = Mixed(0);
    rebuilt.firstGroup[3] = {"ewe", "gnu", "yak"};
    SaveOwd(path, WriteOwd(rebuilt));
    TouchBy(path, 30);
    ASSERT_TRUE(engine.Start(3));
    EXPECT_EQ(engine.GroupsLeft(), 0) << "the version of the new file";
    EXPECT_EQ(Texts(EngineRead(list, 0, 3)), (std::vector<std::string>{"ewe", "gnu", "yak"}));
}

} // namespace
