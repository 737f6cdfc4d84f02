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

TEST(DictionaryLoad, VersionZeroFillsWhatItLacksAndVersionOneKeepsItsFields) {
    Loaded zero(WriteOwd(SmallSpec(0)));
    ASSERT_TRUE(zero.ok);
    EXPECT_EQ(zero.d.lengthSlots, 6);
    for (int n = 0; n < 6; ++n)
        EXPECT_TRUE(zero.d.extraA[n] == -1 && zero.d.extraB[n] == -1 && zero.d.extraC[n] == 0);
    EXPECT_EQ(zero.d.description, "Small test words");
    EXPECT_EQ(zero.d.sectionCount[3], 3);

    OwdImage image = WriteOwdImage(SmallSpec(1));
    PutI32(image.bytes, 6, 7);                    // reserved[0]
    PutI32(image.bytes, 6 + 12 + 4 * 2, 1234);    // extraA[2]
    PutI32(image.bytes, 6 + 12 + 24 + 4 * 5, -9); // extraB[5]
    PutI32(image.bytes, 6 + 12 + 48, 55);         // extraC[0]
    Loaded one(image.bytes);
    ASSERT_TRUE(one.ok);
    EXPECT_EQ(one.d.version, 1);
    EXPECT_EQ(one.d.reserved[0], 7);
    EXPECT_EQ(one.d.extraA[2], 1234);
    EXPECT_EQ(one.d.extraB[5], -9);
    EXPECT_EQ(one.d.extraC[0], 55);
    EXPECT_EQ(one.d.classCount, 30);
}

TEST(DictionaryLoad, AuxiliaryBlocksAreReadOnlyInModeOne) {
    OwdLayout layout = SmallSpec(1);
    layout.blockCount = 3;
    auto bytes = WriteOwd(layout);
    Loaded withBlocks(bytes, 1);
    ASSERT_TRUE(withBlocks.ok);
    ASSERT_EQ(withBlocks.d.blocks.size(), 3u * 26);
    EXPECT_EQ(withBlocks.d.blocks[1], 7);
    Loaded without(bytes, 0);
    ASSERT_TRUE(without.ok);
    EXPECT_EQ(without.d.blockCount, 0);
    EXPECT_TRUE(without.d.blocks.empty());
}

// Ways of writing the small file: a change to its layout and a patch of its bytes.
using Layout = std::function<void(OwdLayout&)>;
using Patch = std::function<void(OwdImage&)>;
struct Damage {
    Layout layout;
    Patch patch;
};
Damage Alphabet(int letters, int classes) {
    return {nullptr, [=](OwdImage& i) {
                PutU16(i.bytes, i.letterCountAt, static_cast<std::uint16_t>(letters));
                PutU16(i.bytes, i.classCountAt, static_cast<std::uint16_t>(classes));
            }};
}
Damage Magic(const char* m) {
    return {nullptr, [=](OwdImage& i) { std::copy(m, m + 4, i.bytes.begin()); }};
}
Damage Slots(int n) {
    return {[=](OwdLayout& l) {
                l.slots = n;
                if (n != 32) l.firstGroup.clear();
            },
            nullptr};
}
Damage Codes(std::function<void(OwdCodeTable&)> tweak, std::string extra = "xyz", int width = 6) {
    return {[=](OwdLayout& l) {
                l.extraBytes = extra;
                l.codeWidth = width;
                l.tweakCodes = tweak;
            },
            nullptr};
}
Damage LetterIndex(int index) {
    return Codes([=](OwdCodeTable& t) { t['c'].letterIndex = static_cast<std::int16_t>(index); });
}
Damage EveryByteCoded(int width) {
    std::string every;
    for (int b = 1; b < 256; ++b)
        every += static_cast<char>(b);
    return Codes(nullptr, every, width);
}

// One damaged or unusual header per row.
TEST(DictionaryLoad, DamagedHeaders) {
    struct Case {
        const char* name;
        Damage damage;
        bool loads;
    } cases[] = {
        {"26 letters, 26 classes", Alphabet(26, 26), true},
        {"26 letters, 253 classes", Alphabet(26, 253), true},
        {"253 letters, 253 classes", Alphabet(253, 253), true},
        {"no letters", Alphabet(0, 30), false},
        {"254 letters", Alphabet(254, 254), false},
        {"65535 letters", Alphabet(-1, 30), false},
        {"no classes", Alphabet(26, 0), false},
        {"254 classes", Alphabet(26, 254), false},
        {"fewer classes than letters", Alphabet(27, 26), false},
        {"magic OWD2", Magic("OWD2"), false},
        {"magic owd1", Magic("owd1"), false},
        {"magic XWD1", Magic("XWD1"), false},
        {"block count beyond the file",
         {nullptr, [](OwdImage& i) { PutU16(i.bytes, i.blockCountAt, 0xFFFF); }},
         false},
        {"no slots", Slots(0), true},
        {"32 slots", Slots(32), true},
        {"33 slots", Slots(33), false},
        {"65535 slots", Slots(0xFFFF), false},
        {"letter index 26", LetterIndex(26), false},
        {"letter index 253", LetterIndex(253), false},
        {"letter index 255, the mark of no letter", LetterIndex(255), false},
        {"letter index 258, which is 2 in a byte", LetterIndex(258), false},
        {"letter index 32767", LetterIndex(32767), false},
        {"negative letter index: not a letter", LetterIndex(-7), true},
        {"32-bit code", Codes([](OwdCodeTable& t) { t['x'].length = 32; }, "xyz", 32), true},
        {"33-bit code", Codes([](OwdCodeTable& t) { t['x'].length = 33; }), false},
        {"255-bit code", Codes([](OwdCodeTable& t) { t['x'].length = 255; }), false},
        {"full tree of 254 inner nodes", EveryByteCoded(8), true},
        {"tree needing more than 255 inner nodes", EveryByteCoded(9), false},
        {"prefix code", Codes(nullptr), true},
        {"same code twice", Codes([](OwdCodeTable& t) { t['y'].code = t['x'].code; }), false},
        // 'x' (entry 120) on the path of a longer code that comes earlier.
        {"code on an earlier code's path", Codes([](OwdCodeTable& t) {
             t['x'].length = 3;
             t['x'].code = t['a'].code >> 3;
         }),
         false},
        // A short code for an early entry, then a longer one running through it.
        {"later code through a short one", Codes([](OwdCodeTable& t) {
             t[' '].length = 2;
             t[' '].code = t['z'].code >> 4;
         }),
         false},
    };
    for (const Case& c : cases) {
        OwdLayout layout = SmallSpec(1);
        if (c.damage.layout) c.damage.layout(layout);
        OwdImage image = WriteOwdImage(layout);
        if (c.damage.patch) c.damage.patch(image);
        Loaded l(image.bytes);
        EXPECT_EQ(l.ok, c.loads) << c.name;
        EXPECT_TRUE(l.ok || l.d.blocks.empty()) << c.name;
        // The magic is checked before the description is read.
        if (std::string_view(c.name).starts_with("magic")) {
            EXPECT_EQ(l.d.description, Dictionary::kInvalidText) << c.name;
        }
    }
}

TEST(DictionaryLoad, TruncatedAtAnyHeaderFieldIsInvalid) {
    for (int version : {0, 1}) {
        OwdLayout layout = SmallSpec(version);
        layout.blockCount = 2;
        OwdImage image = WriteOwdImage(layout);
        std::size_t descriptionEnd = image.descriptionAt + (version ? 1000 : 80);
        std::size_t headerEnd = image.blockCountAt + 2 + 2 * 26;
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
        // Every field boundary, and one byte either side of it.
        std::set<std::size_t> sizes;
        for (std::size_t e : edges)
            for (std::size_t s : {e - 1, e, e + 1})
                if (s <= headerEnd) sizes.insert(s);
        for (std::size_t size : sizes) {
            std::vector<std::uint8_t> cut(image.bytes.begin(),
                                          image.bytes.begin() + static_cast<long>(size));
            Loaded l(cut);
            const char* name = size == headerEnd ? "a header alone is a file without entries" : "";
            ASSERT_EQ(l.ok, size == headerEnd)
                << "version " << version << " cut at " << size << " " << name;
            EXPECT_EQ(l.d.description,
                      size < descriptionEnd ? Dictionary::kInvalidText : "Small test words")
                << "cut at " << size;
        }
    }
}

TEST(DictionaryLoad, MissingFilesAndClosing) {
    TempFolder folder;
    for (std::string path : {folder.File("absent.owd"), folder.File(""), std::string()}) {
        Dictionary d;
        EXPECT_FALSE(d.Load(&path, 1));
        EXPECT_EQ(d.description, Dictionary::kNotFoundText) << path;
        EXPECT_EQ(d.modified, 0);
    }
    Loaded l(WriteOwd(SmallSpec(1)));
    ASSERT_TRUE(l.ok);
    EXPECT_FALSE(l.d.Load(nullptr, 1));
    EXPECT_FALSE(l.d.valid || l.d.hasPath);
    EXPECT_EQ(l.d.description, Dictionary::kInvalidText);
    EXPECT_EQ(l.d.lengthSlots, 0);
    EXPECT_EQ(l.d.decodeTree['a'][1], 255);
    EXPECT_EQ(l.d.letterChar[0], '!');
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
    EXPECT_EQ(l.d.letterChar[26], '!');
    EXPECT_EQ(l.d.decodeTree['A'][1], 0);
    EXPECT_EQ(l.d.decodeTree['-'][1], 255);
    EXPECT_EQ(l.d.decodeTree['q'][1], 255) << "no code, so no letter";
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
    EXPECT_NE(OWFormatFileTime(t).find(", 20"), std::string::npos) << OWFormatFileTime(t);
    EXPECT_FALSE(OWReadFileTime(folder.File("absent"), t));
}

// A reader standing in for the platform's: it answers for the files it is
// told about and remembers what it was asked.
struct FakeFacts {
    static inline std::vector<std::string> asked;
    static inline bool answers = true;
    static inline OWFileFacts facts;
    static bool Read(const std::string& path, OWFileFacts& out) {
        asked.push_back(path);
        out = facts;
        return answers;
    }
};

TEST(DictionaryLoad, ExaminesFilesThroughTheInstalledReader) {
    TempFolder folder;
    const std::string path = folder.Write("t.owd", WriteOwd(SmallSpec(1)));
    OWFileFacts real;
    ASSERT_TRUE(OWReadFileFacts(path, real));
    ASSERT_GT(real.size, 0);

    const struct {
        bool answers;
        OWFileFacts facts;
        bool valid;
        const char* description;
    } cases[] = {
        {true, {12345, real.size}, true, "Small test words"},
        {false, {12345, real.size}, false, Dictionary::kNotFoundText},
        // The size bounds the reads: a reader that knows the file as shorter
        // than its header makes it unusable.
        {true, {12345, 20}, false, "Small test words"},
    };
    OWSetFileFactsReader(&FakeFacts::Read);
    for (const auto& c : cases) {
        FakeFacts::asked.clear();
        FakeFacts::answers = c.answers;
        FakeFacts::facts = c.facts;
        Dictionary d;
        EXPECT_EQ(d.Load(&path, 1), c.valid);
        EXPECT_EQ(d.description, c.description);
        EXPECT_EQ(FakeFacts::asked, std::vector<std::string>{path});
        if (c.valid) {
            EXPECT_EQ(d.modified, 12345);
        }
    }
    OWSetFileFactsReader(nullptr);
    OWFileFacts again;
    EXPECT_TRUE(OWReadFileFacts(path, again));
    EXPECT_EQ(again.modified, real.modified) << "the standard reader is back";
}

} // namespace
