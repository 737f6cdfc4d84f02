// Loading the header of a dictionary file, its checks and the mends for
// hostile files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>

#include "TestFiles.h"

namespace {

using Dictionary = OWDictionaryList::Dictionary;

OwdLayout SmallSpec(int version) {
    OwdLayout layout;
    layout.version = version;
    layout.description = "Small test words";
    layout.firstGroup.resize(6);
    layout.firstGroup[2] = {"at", "ox"};
    layout.firstGroup[3] = {"cat", "dog", "ice"};
    layout.firstGroup[5] = {"ice cream"};
    layout.flags.resize(6);
    layout.flags[3] = {1, 0, 1};
    return layout;
}

// Loads bytes as a fresh dictionary of its own.
struct Loaded {
    TempFolder folder;
    Dictionary d;
    bool ok = false;
    explicit Loaded(const std::vector<std::uint8_t>& bytes, int mode = 1) {
        std::string path = folder.Write("t.owd", bytes);
        ok = d.Load(&path, mode);
    }
};

TEST(DictionaryLoad, VersionZeroFillsTheFieldsItDoesNotStore) {
    Loaded l(WriteOwd(SmallSpec(0)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.d.version, 0);
    EXPECT_EQ(l.d.lengthSlots, 6);
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(l.d.extraA[n], -1);
        EXPECT_EQ(l.d.extraB[n], -1);
        EXPECT_EQ(l.d.extraC[n], 0);
    }
    EXPECT_EQ(l.d.reserved[0] | l.d.reserved[1] | l.d.reserved[2], 0);
    EXPECT_EQ(l.d.description, "Small test words");
    EXPECT_EQ(l.d.sectionCount[3], 3);
}

TEST(DictionaryLoad, VersionOneKeepsItsStoredFields) {
    OwdImage image = WriteOwdImage(SmallSpec(1));
    PutI32(image.bytes, 6, 7);                    // reserved[0]
    PutI32(image.bytes, 6 + 12 + 4 * 2, 1234);    // extraA[2]
    PutI32(image.bytes, 6 + 12 + 24 + 4 * 5, -9); // extraB[5]
    PutI32(image.bytes, 6 + 12 + 48, 55);         // extraC[0]
    Loaded l(image.bytes);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.d.version, 1);
    EXPECT_EQ(l.d.reserved[0], 7);
    EXPECT_EQ(l.d.extraA[2], 1234);
    EXPECT_EQ(l.d.extraB[5], -9);
    EXPECT_EQ(l.d.extraC[0], 55);
    EXPECT_EQ(l.d.letterCount, 26);
    EXPECT_EQ(l.d.classCount, 30);
}

TEST(DictionaryLoad, AuxiliaryBlocksAreReadOnlyInModeOne) {
    OwdLayout layout = SmallSpec(1);
    layout.blockCount = 3;
    auto bytes = WriteOwd(layout);
    Loaded withBlocks(bytes, 1);
    ASSERT_TRUE(withBlocks.ok);
    EXPECT_EQ(withBlocks.d.blockCount, 3);
    ASSERT_EQ(withBlocks.d.blocks.size(), 3u * 26);
    EXPECT_EQ(withBlocks.d.blocks[1], 7);
    Loaded without(bytes, 0);
    ASSERT_TRUE(without.ok);
    EXPECT_EQ(without.d.blockCount, 0);
    EXPECT_TRUE(without.d.blocks.empty());
}

TEST(DictionaryLoad, AlphabetSizeChecks) {
    struct Case {
        int letters, classes;
        bool valid;
    } cases[] = {{26, 26, true}, {26, 253, true},   {253, 253, true},
                 {0, 30, false}, {254, 254, false}, {-1, 30, false},
                 {26, 0, false}, {26, 254, false},  {27, 26, false}};
    for (const Case& c : cases) {
        OwdImage image = WriteOwdImage(SmallSpec(1));
        PutU16(image.bytes, image.letterCountAt, static_cast<std::uint16_t>(c.letters));
        PutU16(image.bytes, image.classCountAt, static_cast<std::uint16_t>(c.classes));
        Loaded l(image.bytes, 0);
        EXPECT_EQ(l.ok, c.valid) << c.letters << " letters, " << c.classes << " classes";
        // The failure comes after the description, which therefore stays.
        EXPECT_EQ(l.d.description, "Small test words");
    }
}

TEST(DictionaryLoad, MagicMustNameVersionZeroOrOne) {
    for (const char* magic : {"OWD2", "owd1", "OWDX", "XWD1"}) {
        auto bytes = WriteOwd(SmallSpec(1));
        std::copy(magic, magic + 4, bytes.begin());
        Loaded l(bytes);
        EXPECT_FALSE(l.ok) << magic;
        EXPECT_EQ(l.d.description, Dictionary::kInvalidText);
    }
}

TEST(DictionaryLoad, TruncatedAtAnyHeaderFieldIsInvalid) {
    for (int version : {0, 1}) {
        OwdLayout layout = SmallSpec(version);
        layout.blockCount = 2;
        OwdImage image = WriteOwdImage(layout);
        std::size_t descriptionEnd = image.descriptionAt + (version ? 1000 : 80);
        std::size_t headerEnd = image.blockCountAt + 2 + 2 * 26;
        // Every field boundary, and one byte either side of it.
        std::vector<std::size_t> edges = {0,
                                          4,
                                          image.lengthSlotsAt + 2,
                                          image.sectionOffsetAt,
                                          image.sectionCountAt,
                                          image.descriptionAt,
                                          descriptionEnd,
                                          image.letterCountAt,
                                          image.classCountAt,
                                          image.codeTableAt,
                                          image.codeTableAt + 1001,
                                          image.blockCountAt,
                                          image.blockCountAt + 2,
                                          headerEnd};
        if (version == 1)
            for (std::size_t k = 0; k < 4; ++k)
                edges.push_back(image.lengthSlotsAt + 2 + 12 + 24 * k);
        std::set<std::size_t> sizes;
        for (std::size_t e : edges)
            for (std::size_t s : {e - 1, e, e + 1})
                if (s < headerEnd) sizes.insert(s);
        TempFolder folder;
        for (std::size_t size : sizes) {
            std::vector<std::uint8_t> cut(image.bytes.begin(),
                                          image.bytes.begin() + static_cast<long>(size));
            std::string path = folder.Write("cut.owd", cut);
            Dictionary d;
            ASSERT_FALSE(d.Load(&path, 1)) << "version " << version << " cut at " << size;
            EXPECT_EQ(d.description,
                      size < descriptionEnd ? Dictionary::kInvalidText : "Small test words")
                << "cut at " << size;
        }
        std::vector<std::uint8_t> whole(image.bytes.begin(),
                                        image.bytes.begin() + static_cast<long>(headerEnd));
        std::string path = folder.Write("whole.owd", whole);
        Dictionary d;
        EXPECT_TRUE(d.Load(&path, 1)) << "a header alone is a file without entries";
    }
}

TEST(DictionaryLoad, BlockCountBeyondTheFileIsRejectedWithoutReadingIt) {
    OwdImage image = WriteOwdImage(SmallSpec(1));
    PutU16(image.bytes, image.blockCountAt, 0xFFFF);
    Loaded l(image.bytes);
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(l.d.blocks.empty());
}

TEST(DictionaryLoad, MissingFileOrFolderIsNotFound) {
    TempFolder folder;
    for (std::string path : {folder.File("absent.owd"), folder.File(""), std::string()}) {
        Dictionary d;
        EXPECT_FALSE(d.Load(&path, 1));
        EXPECT_EQ(d.description, Dictionary::kNotFoundText) << path;
        EXPECT_EQ(d.modified, 0);
    }
}

TEST(DictionaryLoad, ClosingClearsEverything) {
    Loaded l(WriteOwd(SmallSpec(1)));
    ASSERT_TRUE(l.ok);
    EXPECT_FALSE(l.d.Load(nullptr, 1));
    EXPECT_FALSE(l.d.valid);
    EXPECT_FALSE(l.d.hasPath);
    EXPECT_EQ(l.d.description, Dictionary::kInvalidText);
    EXPECT_EQ(l.d.lengthSlots, 0);
    EXPECT_EQ(l.d.decodeTree['a'][1], 255);
    EXPECT_EQ(l.d.letterChar[0], '!');
}

TEST(DictionaryLoad, SlotCountIsLimitedToThirtyTwo) {
    OwdLayout layout = SmallSpec(1);
    layout.slots = 32;
    EXPECT_TRUE(Loaded(WriteOwd(layout)).ok);
    layout.slots = 33;
    EXPECT_FALSE(Loaded(WriteOwd(layout)).ok);
    layout.slots = 0xFFFF;
    layout.firstGroup.clear();
    EXPECT_FALSE(Loaded(WriteOwd(layout)).ok);
    layout.slots = 0;
    Loaded none(WriteOwd(layout));
    EXPECT_TRUE(none.ok);
    EXPECT_EQ(none.d.lengthSlots, 0);
}

TEST(DictionaryLoad, DescriptionWithoutNulIsCutAtItsField) {
    for (int version : {0, 1}) {
        OwdLayout layout = SmallSpec(version);
        std::size_t field = version ? 1000 : 80;
        layout.description = std::string(field + 20, 'd');
        Loaded l(WriteOwd(layout));
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.d.description, std::string(field, 'd'));
    }
}

TEST(DictionaryLoad, LetterTableTakesTheLastCharacterOfEachLetter) {
    OwdLayout layout = SmallSpec(1);
    layout.extraBytes = "ABCxyz-' ";
    Loaded l(WriteOwd(layout));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.d.letterChar[0], 'a'); // 'A' (65) comes before 'a' (97)
    EXPECT_EQ(l.d.letterChar[25], 'z');
    EXPECT_EQ(l.d.letterChar[26], '!');
    EXPECT_EQ(l.d.letterChar[200], '!');
    EXPECT_EQ(l.d.decodeTree['A'][1], 0);
    EXPECT_EQ(l.d.decodeTree['-'][1], 255);
    EXPECT_EQ(l.d.decodeTree['q'][1], 255) << "no code, so no letter";
    EXPECT_EQ(l.d.decodeTree['q'][0], 0);
}

TEST(DictionaryLoad, LetterIndexOutsideTheAlphabetIsInvalid) {
    for (int bad : {26, 253, 255, 300, 32767}) {
        OwdLayout layout = SmallSpec(1);
        layout.tweakCodes = [bad](OwdCodeTable& t) {
            t['c'].letterIndex = static_cast<std::int16_t>(bad);
        };
        EXPECT_FALSE(Loaded(WriteOwd(layout)).ok) << bad;
    }
    OwdLayout layout = SmallSpec(1);
    layout.tweakCodes = [](OwdCodeTable& t) { t['c'].letterIndex = -7; };
    Loaded l(WriteOwd(layout));
    ASSERT_TRUE(l.ok) << "a negative index is a character that is not a letter";
    EXPECT_EQ(l.d.decodeTree['c'][1], 255);
}

TEST(DictionaryLoad, CodesLongerThanThirtyTwoBitsAreInvalid) {
    OwdLayout layout = SmallSpec(1);
    layout.tweakLengths = [](std::array<int, 256>& lengths) { lengths['x'] = 32; };
    layout.extraBytes = "x";
    EXPECT_TRUE(Loaded(WriteOwd(layout)).ok);
    layout.tweakLengths = nullptr;
    layout.tweakCodes = [](OwdCodeTable& t) { t['x'].length = 33; };
    EXPECT_FALSE(Loaded(WriteOwd(layout)).ok);
    layout.tweakCodes = [](OwdCodeTable& t) { t['x'].length = 255; };
    EXPECT_FALSE(Loaded(WriteOwd(layout)).ok);
}

TEST(DictionaryLoad, TreeNeedingMoreThan255InnerNodesIsInvalid) {
    std::string every;
    for (int b = 1; b < 256; ++b)
        every += static_cast<char>(b);
    OwdLayout layout = SmallSpec(1);
    layout.extraBytes = every;
    layout.codeWidth = 8; // a full tree of depth 8: exactly the 254 nodes below the root
    Loaded full(WriteOwd(layout));
    ASSERT_TRUE(full.ok);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(full.d.fastNode[b] >= 0 && full.d.fastNode[b] < 256, true);
    layout.codeWidth = 9;
    EXPECT_FALSE(Loaded(WriteOwd(layout)).ok);
}

TEST(DictionaryLoad, CodesThatAreNotAPrefixCodeAreInvalid) {
    auto withCodes = [](std::function<void(OwdCodeTable&)> tweak) {
        OwdLayout layout = SmallSpec(1);
        layout.extraBytes = "xyz";
        layout.codeWidth = 6;
        layout.tweakCodes = tweak;
        return Loaded(WriteOwd(layout)).ok;
    };
    EXPECT_TRUE(withCodes(nullptr));
    EXPECT_FALSE(withCodes([](OwdCodeTable& t) { t['y'].code = t['x'].code; }))
        << "same code twice";
    // 'x' (entry 120) placed on the path of a longer code that comes earlier.
    EXPECT_FALSE(withCodes([](OwdCodeTable& t) {
        t['x'].length = 3;
        t['x'].code = t['a'].code >> 3;
    }));
    // A short code for an early entry, then a longer one running through it.
    EXPECT_FALSE(withCodes([](OwdCodeTable& t) {
        t[' '].length = 2;
        t[' '].code = t['z'].code >> 4;
    }));
}

TEST(DictionaryLoad, FastTableAgreesWithTheTree) {
    OwdLayout layout = SmallSpec(1);
    layout.extraBytes = "qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqjkvwxyz";
    Loaded l(WriteOwd(layout));
    ASSERT_TRUE(l.ok);
    for (int b = 0; b < 256; ++b) {
        int node = Dictionary::kRoot;
        for (int bit = 0; bit < 8 && node >= Dictionary::kRoot; ++bit)
            node = l.d.decodeTree[node][(b >> bit) & 1];
        EXPECT_EQ(l.d.fastNode[b], node) << b;
        if (node >= 0 && node < 256) {
            EXPECT_EQ(l.d.fastEntry[b] & 0xFF, static_cast<unsigned>(node));
            EXPECT_EQ(static_cast<int>(l.d.fastEntry[b] >> 8), l.d.decodeTree[node][0]);
        }
    }
}

TEST(DictionaryLoad, SameValidPathIsNotReadAgain) {
    TempFolder folder;
    std::string path = folder.Write("t.owd", SmallSpec(1));
    Dictionary d;
    ASSERT_TRUE(d.Load(&path, 1));
    std::filesystem::remove(path);
    EXPECT_TRUE(d.Load(&path, 1)) << "valid and the same path: nothing is read";
    std::string other = path + "x";
    EXPECT_FALSE(d.Load(&other, 1));
    EXPECT_EQ(d.description, Dictionary::kNotFoundText);
}

TEST(DictionaryLoad, FormatsTheModifiedTime) {
    TempFolder folder;
    std::string path = folder.Write("t.owd", SmallSpec(1));
    OWFileTime t = 0;
    ASSERT_TRUE(OWReadFileTime(path, t));
    OWFileTime now =
        std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(
            std::chrono::system_clock::now().time_since_epoch())
            .count() +
        116444736000000000LL;
    EXPECT_LT(std::llabs(now - t), 10LL * 60 * 10000000) << "within ten minutes of now";
    EXPECT_EQ(OWFormatFileTime(0), "");
    std::string text = OWFormatFileTime(t);
    EXPECT_NE(text.find(", 20"), std::string::npos) << text;
    EXPECT_FALSE(OWReadFileTime(folder.File("absent"), t));
}

} // namespace
