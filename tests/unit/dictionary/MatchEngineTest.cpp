// The three queries the search makes, read through InputEngine, and the
// letter difference text.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestFiles.h"
#include "dictionary/InputEngine.h"
#include "dictionary/MatchEngine.h"

namespace {

OwdLayout Words() {
    OwdLayout layout;
    layout.firstGroup.resize(8);
    layout.firstGroup[2] = {"at", "ta", "ca", "tt", "ac", "ox", "Ca"};
    layout.firstGroup[3] = {"car", "pet", "art", "tea", "eat", "rat", "cat", "Tap", "ace"};
    layout.firstGroup[5] = {"chart", "catty",  "tacos",  "yacht",
                            "coats", "cat-sh", "ac-tut", "tract"};
    layout.firstGroup[6] = {"carpet", "preact", "carper", "capert"};
    return layout;
}

struct Fixture {
    TempFolder folder;
    OWDictionaryList list{folder.Write("q.owd", Words())};
    MatchEngine matcher;

    // Texts of the entries of `length` that the query accepts.
    std::vector<std::string> Read(std::string_view query, int length,
                                  std::vector<std::string>* differences = nullptr) {
        std::vector<std::string> out;
        EXPECT_EQ(matcher.Compile(list, 0, query), 0) << query;
        matcher.SetLength(length);
        InputEngine engine(list, 0);
        if (!engine.Start(length)) return out;
        for (const std::uint8_t* r = engine.Next(&matcher); r[0] != owrecord::kEnd;
             r = engine.Next(&matcher)) {
            out.push_back(reinterpret_cast<const char*>(r + owrecord::kText));
            if (differences) {
                std::string d;
                matcher.LetterDifference(d);
                differences->push_back(d);
            }
        }
        return out;
    }
};

// Subsets of the answer's letters are checked by AgreesWithCountingLetters.
TEST(MatchEngine, LengthsOfSubsetQueries) {
    Fixture f;
    EXPECT_EQ(f.Read("..;cat", 2).size(), 5u);
    EXPECT_EQ(f.matcher.MinLength(), 2);
    EXPECT_EQ(f.matcher.MaxLength(), 2);
}

TEST(MatchEngine, WordsHoldingTheAnswersLettersAndMore) {
    Fixture f;
    EXPECT_EQ(f.Read(";cat..", 5),
              (std::vector<std::string>{"chart", "catty", "tacos", "yacht", "coats", "cat-sh",
                                        "ac-tut", "tract"}));
    EXPECT_EQ(f.matcher.MinLength(), 5);
    EXPECT_EQ(f.Read(";ttca.", 5), (std::vector<std::string>{"catty", "ac-tut", "tract"}));
    // Without wildcards: the anagrams of the letters.
    EXPECT_EQ(f.Read(";teprac", 6), (std::vector<std::string>{"carpet", "preact", "capert"}));
}

TEST(MatchEngine, PositionalPatterns) {
    Fixture f;
    EXPECT_EQ(f.Read("c.t", 3), (std::vector<std::string>{"cat"}));
    EXPECT_EQ(f.Read("...", 3).size(), 9u);
    EXPECT_EQ(f.Read("c..;atr", 3), (std::vector<std::string>{"car", "cat"}));
    EXPECT_EQ(f.Read("c..;..", 3), (std::vector<std::string>{"car", "cat"}));
    EXPECT_EQ(f.Read("c..;.", 3), std::vector<std::string>{}) << "two open places, one wildcard";
}

TEST(MatchEngine, LetterDifference) {
    Fixture f;
    std::vector<std::string> diffs;
    EXPECT_EQ(f.Read("...;carpet", 3, &diffs).size(), 9u);
    EXPECT_EQ(diffs[0], "-ept") << "car leaves E, P, T, in letter order";
    EXPECT_EQ(diffs[1], "-acr");
    diffs.clear();
    f.Read(";cat..", 5, &diffs);
    EXPECT_EQ(diffs[0], "+hr"); // chart
    EXPECT_EQ(diffs[1], "+ty"); // catty
    EXPECT_EQ(diffs[5], "+hs"); // cat-sh
    diffs.clear();
    f.Read(";teprac", 6, &diffs);
    EXPECT_EQ(diffs[0], "");
    // A query without letters differs by all of the entry's.
    diffs.clear();
    f.Read("c.t", 3, &diffs);
    EXPECT_EQ(diffs[0], "+a");
    std::string text = "keep";
    MatchEngine fresh;
    fresh.LetterDifference(text);
    EXPECT_EQ(text, "keep") << "nothing compiled, nothing appended";
}

TEST(MatchEngine, BadQueries) {
    Fixture f;
    EXPECT_EQ(f.matcher.Compile(f.list, 0, "..;c-t"), MatchEngine::kBadCharacter);
    EXPECT_EQ(f.matcher.Compile(f.list, 0, "..;cat;"), MatchEngine::kBadCharacter);
    EXPECT_EQ(f.matcher.Compile(f.list, 0, "Q.."), MatchEngine::kBadCharacter) << "no code for Q";
    EXPECT_EQ(f.matcher.Compile(f.list, 3, "..;cat"), MatchEngine::kBadList);
    std::uint8_t record[owrecord::kSize] = {0, 19, owrecord::kEnd}; // "at"
    f.matcher.SetLength(2);
    EXPECT_FALSE(f.matcher.Accept(record)) << "a failed compile accepts nothing";
    ASSERT_EQ(f.matcher.Compile(f.list, 0, "..;cat"), 0);
    EXPECT_TRUE(f.matcher.Accept(record));
    f.matcher.SetLength(3);
    EXPECT_FALSE(f.matcher.Accept(record)) << "the length must fit the query";
    f.matcher.Reset();
    EXPECT_FALSE(f.matcher.Accept(record));
}

TEST(MatchEngine, PartsLongerThanFiftyAcceptNothing) {
    Fixture f;
    std::string fifty(50, '.');
    std::string letters(50, 'a');
    EXPECT_EQ(f.matcher.Compile(f.list, 0, ";" + letters), 0);
    EXPECT_EQ(f.matcher.MaxLength(), 32);
    EXPECT_EQ(f.matcher.Compile(f.list, 0, fifty + ";" + letters), 0);
    EXPECT_EQ(f.matcher.Compile(f.list, 0, fifty + ".;cat"), MatchEngine::kTooLong);
    EXPECT_EQ(f.matcher.Compile(f.list, 0, "..;" + letters + "a"), MatchEngine::kTooLong);
    std::uint8_t record[owrecord::kSize] = {0, 0, owrecord::kEnd};
    f.matcher.SetLength(2);
    EXPECT_FALSE(f.matcher.Accept(record));
}

TEST(MatchEngine, AgreesWithCountingLetters) {
    // Every subset query over every word of a slot, checked by plain counting.
    Fixture f;
    const OwdLayout words = Words();
    const std::vector<std::string> pools = {"carpet", "cat", "ttac", "xo", "aceprt", "hartcy"};
    for (const std::string& pool : pools) {
        for (int length : {2, 3, 5, 6}) {
            auto got =
                f.Read(std::string(static_cast<std::size_t>(length), '.') + ";" + pool, length);
            std::vector<std::string> expected;
            for (const std::string& w : words.firstGroup[static_cast<std::size_t>(length)]) {
                std::string left = pool;
                bool fits = true;
                for (char c : KeyOf(w)) {
                    auto at = left.find(c);
                    if (at == std::string::npos) {
                        fits = false;
                        break;
                    }
                    left.erase(at, 1);
                }
                if (fits) expected.push_back(w);
            }
            EXPECT_EQ(got, expected) << pool << " " << length;
        }
    }
}

} // namespace
