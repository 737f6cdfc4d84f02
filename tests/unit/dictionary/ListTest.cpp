// The dictionary list: sharing through the pool, the facts it reports and
// the reload of a file that changed on disk.
#include <gtest/gtest.h>

#include "TestFiles.h"

namespace {

using Dictionary = OWDictionaryList::Dictionary;

OwdLayout Words(const std::string& description) {
    OwdLayout layout;
    layout.description = description;
    layout.firstGroup.resize(4);
    layout.firstGroup[1] = {"a"};
    layout.firstGroup[3] = {"cat", "dog"};
    return layout;
}

TEST(DictionaryList, SplitsTheNameIntoPathsInOrder) {
    TempFolder folder;
    std::string a = folder.Write("a.owd", Words("first"));
    std::string b = folder.Write("b.owd", Words("second"));
    OWDictionaryList list(a + ";" + b + ";" + folder.File("missing.owd"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Path(0), a);
    EXPECT_EQ(list.Description(1), "second");
    EXPECT_EQ(list.Description(2), Dictionary::kNotFoundText);
    EXPECT_EQ(list.FirstInvalidPath(), folder.File("missing.owd"));
    // Empty pieces are dictionaries that cannot be found, but never the
    // path a search complains about.
    OWDictionaryList empty("");
    ASSERT_EQ(empty.Count(), 1);
    EXPECT_EQ(empty.FirstInvalidPath(), "");
    OWDictionaryList trailing(a + ";");
    ASSERT_EQ(trailing.Count(), 2);
    EXPECT_EQ(trailing.FirstInvalidPath(), "");
}

TEST(DictionaryList, PathsDifferingOnlyInCaseShareOneDictionary) {
    TempFolder folder;
    std::string path = folder.Write("Shared.owd", Words("shared"));
    std::string upper = path;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto first = std::make_unique<OWDictionaryList>(path);
    {
        OWDictionaryList second(upper);
        EXPECT_EQ(&first->At(0), &second.At(0));
        EXPECT_EQ(first->At(0).refCount, 2);
        EXPECT_EQ(second.Path(0), path) << "the first list's spelling is kept";
        OWDictionaryList twice(path + ";" + path);
        EXPECT_EQ(&twice.At(0), &twice.At(1));
        EXPECT_EQ(first->At(0).refCount, 4);
    }
    EXPECT_EQ(first->At(0).refCount, 1);
    first.reset();
    OWDictionaryList again(path); // the last list is gone: loaded afresh
    EXPECT_EQ(again.At(0).refCount, 1);
    EXPECT_TRUE(again.IsValid(0));
}

TEST(DictionaryList, StatisticsSkipSlotZeroAndEmptySlots) {
    TempFolder folder;
    OwdLayout layout;
    layout.firstGroup.resize(14);
    for (int n = 3; n <= 12; ++n)
        if (n != 7)
            layout.firstGroup[static_cast<std::size_t>(n)] = {
                std::string(static_cast<std::size_t>(n), 'e')};
    layout.firstGroup[5].push_back("fives");
    OwdImage image = WriteOwdImage(layout);
    PutI32(image.bytes, image.sectionCountAt, 99);          // slot 0 is never counted
    PutI32(image.bytes, image.sectionCountAt + 4 * 13, -4); // nor a negative count
    OWDictionaryList list(folder.Write("s.owd", image.bytes));
    OWDictionaryList::LengthStats stats = list.Statistics(0);
    EXPECT_EQ(stats.entries, 10);
    EXPECT_EQ(stats.shortest, 3);
    EXPECT_EQ(stats.longest, 12);
    stats = OWDictionaryList(folder.File("none.owd")).Statistics(0);
    EXPECT_EQ(stats.entries + stats.shortest + stats.longest, 0);
}

TEST(DictionaryList, HostileCountsAddUpWithoutOverflow) {
    // Every slot claims the most entries an i32 can: the sum needs 36 bits.
    TempFolder folder;
    OwdLayout layout;
    layout.firstGroup.resize(32);
    layout.firstGroup[3] = {"cat"};
    OwdImage image = WriteOwdImage(layout);
    std::int64_t expected = 0;
    for (int n = 1; n < 32; ++n) {
        PutI32(image.bytes, image.sectionCountAt + 4 * static_cast<std::size_t>(n), INT32_MAX);
        expected += INT32_MAX;
    }
    static_assert(sizeof(OWDictionaryList::LengthStats::entries) == 8);
    OWDictionaryList list(folder.Write("hostile.owd", image.bytes));
    ASSERT_TRUE(list.IsValid(0));
    const OWDictionaryList::LengthStats stats = list.Statistics(0);
    EXPECT_EQ(stats.entries, expected);
    EXPECT_EQ(stats.shortest, 1);
    EXPECT_EQ(stats.longest, 31);
}

TEST(DictionaryList, FactsOfADictionary) {
    TempFolder folder;
    OwdLayout layout = Words("facts");
    layout.extraBytes = "-C";
    OwdImage image = WriteOwdImage(layout);
    OWDictionaryList list(folder.Write("f.owd", image.bytes));
    EXPECT_EQ(list.SlotCount(0), 4);
    EXPECT_EQ(list.LetterIndex(0, 'C'), 2);
    EXPECT_EQ(list.LetterIndex(0, 'c'), 2);
    EXPECT_EQ(list.LetterIndex(0, '-'), 255);
    EXPECT_EQ(list.LetterIndex(0, 'z'), 255) << "no code";
    EXPECT_EQ(list.LetterChar(0, 25), '!');
    EXPECT_EQ(list.SectionOffset(0, 3),
              static_cast<std::int32_t>(image.bytes[image.sectionOffsetAt + 12] |
                                        image.bytes[image.sectionOffsetAt + 13] << 8));
    EXPECT_EQ(list.SectionOffset(0, -1), 0);
    // Indexes outside the list read as a closed dictionary.
    EXPECT_FALSE(list.IsValid(1) || list.IsValid(-1));
    EXPECT_EQ(list.Description(5), Dictionary::kInvalidText);
    EXPECT_EQ(list.LetterIndex(-1, 'a'), 255);
    EXPECT_EQ(list.SlotCount(7), 0);
}

TEST(DictionaryList, ChangedFileIsReloadedOnTheNextCheck) {
    TempFolder folder;
    std::string path = folder.Write("r.owd", Words("before"));
    OWDictionaryList list(path);
    ASSERT_TRUE(list.IsValid(0));
    OWFileTime first = list.Modified(0);

    // Same time on disk: the file is taken as unchanged and not reread.
    auto stamp = std::filesystem::last_write_time(path);
    SaveOwd(path, WriteOwd(Words("after")));
    std::filesystem::last_write_time(path, stamp);
    EXPECT_TRUE(list.IsValid(0));
    EXPECT_EQ(list.Description(0), "before");

    TouchBy(path, 5);
    EXPECT_TRUE(list.IsValid(0));
    EXPECT_EQ(list.Description(0), "after");
    EXPECT_NE(list.Modified(0), first);

    // Broken on disk: the next search refuses it; repaired: it is back.
    auto bad = WriteOwd(Words("broken"));
    bad[0] = 'X';
    SaveOwd(path, bad);
    TouchBy(path, 10);
    EXPECT_EQ(list.FirstInvalidPath(), path);
    EXPECT_EQ(list.Description(0), Dictionary::kInvalidText);
    SaveOwd(path, WriteOwd(Words("mended")));
    TouchBy(path, 15);
    EXPECT_EQ(list.FirstInvalidPath(), std::nullopt);
    EXPECT_EQ(list.Description(0), "mended");

    std::filesystem::remove(path);
    EXPECT_FALSE(list.IsValid(0));
    EXPECT_EQ(list.Description(0), Dictionary::kNotFoundText);
}

TEST(DictionaryList, RebuildWithinOneClockTickIsSeenByItsSize) {
    TempFolder folder;
    std::string path = folder.Write("tick.owd", Words("before"));
    OWDictionaryList list(path);
    ASSERT_TRUE(list.IsValid(0));
    const auto stamp = std::filesystem::last_write_time(path);
    OwdLayout longer = Words("after");
    longer.firstGroup[3].push_back("emu");
    SaveOwd(path, WriteOwd(longer));
    std::filesystem::last_write_time(path, stamp);
    EXPECT_TRUE(list.IsValid(0));
    EXPECT_EQ(list.Description(0), "after") << "same time, other size: reread";
    EXPECT_EQ(list.Statistics(0).entries, 4);
}

TEST(DictionaryList, FileThatAppearsLaterIsPickedUp) {
    TempFolder folder;
    std::string path = folder.File("later.owd");
    OWDictionaryList list(path);
    EXPECT_FALSE(list.IsValid(0));
    SaveOwd(path, WriteOwd(Words("now here")));
    EXPECT_TRUE(list.IsValid(0));
    EXPECT_EQ(list.Description(0), "now here");
}

} // namespace
