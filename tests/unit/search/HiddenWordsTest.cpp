// Hidden words on small hand-made word lists, beside a plain reference that
// joins every run of two and three words and looks for the answer in it.
#include "SearchFixture.h"

#include "search/HiddenWords.h"
#include "search/WordplaySearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace {

HiddenWordList Find(const std::vector<std::string>& words, const std::string& answer,
                    const std::set<std::string>& common = {},
                    std::size_t rowLimit = HiddenWordIndex::kRowLimit,
                    std::uint64_t stepBudget = HiddenWordIndex::kStepBudget) {
    OWDictionaryList list(WriteDictionary(words, common));
    HiddenWordIndex index(list);
    return index.Find(NormaliseAnswer(list, answer), rowLimit, stepBudget);
}

std::vector<std::string> Texts(const HiddenWordList& list) {
    std::vector<std::string> texts;
    for (const HiddenWordRow& row : list.rows)
        texts.push_back(row.text);
    return texts;
}

// Every run of two or three words (letters only) whose joined letters hold
// the answer starting inside the first word and ending inside the last.
std::set<std::string> Reference(const std::vector<std::string>& words, const std::string& answer) {
    std::set<std::string> found;
    std::string backwards(answer.rbegin(), answer.rend());
    const auto look = [&](const std::vector<std::string>& run, const std::string& target,
                          bool reversed) {
        std::string joined, phrase;
        for (const std::string& w : run) {
            joined += w;
            phrase += (phrase.empty() ? "" : " ") + w;
        }
        const std::size_t firstEnd = run.front().size();
        const std::size_t lastStart = joined.size() - run.back().size();
        for (std::size_t at = joined.find(target); at != std::string::npos;
             at = joined.find(target, at + 1)) {
            const std::size_t end = at + target.size();
            if (at == 0 || at >= firstEnd || end <= lastStart || end >= joined.size()) continue;
            // Letter positions map to phrase positions past one blank per word.
            std::string text;
            std::size_t letter = 0;
            for (const char c : phrase) {
                if (c == ' ') {
                    text += c;
                    continue;
                }
                if (letter == at) text += '[';
                text += letter >= at && letter < end
                            ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                            : c;
                if (++letter == end) text += ']';
            }
            found.insert(text + (reversed ? "<" : ""));
        }
    };
    for (const std::string& a : words)
        for (const std::string& b : words) {
            look({a, b}, answer, false);
            if (backwards != answer) look({a, b}, backwards, true);
            for (const std::string& c : words) {
                look({a, b, c}, answer, false);
                if (backwards != answer) look({a, b, c}, backwards, true);
            }
        }
    return found;
}

TEST(HiddenWords, FindsWhatThePlainReferenceFinds) {
    const std::vector<std::string> words = {"oscar", "petulant", "scar", "pet",  "car",    "pe",
                                            "a",     "tar",      "step", "rack", "carpet", "ulna",
                                            "lap",   "talc",     "ate",  "tea",  "at",     "ta"};
    for (const std::string answer : {"carpet", "tap", "ate", "ata", "lat", "at"}) {
        const HiddenWordList found = Find(words, answer, {}, 100000);
        const std::vector<std::string> texts = Texts(found);
        EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()), Reference(words, answer))
            << answer;
        EXPECT_EQ(texts.size(), std::set<std::string>(texts.begin(), texts.end()).size());
        EXPECT_EQ(found.phrases, texts.size()) << answer;
        EXPECT_FALSE(found.Cut());
    }
}

TEST(HiddenWords, AnswerCrossesABoundaryAndNeverStandsAsAWholeWord) {
    struct Case {
        std::vector<std::string> words;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // Tail of the first word, head of the last.
        {{"oscar", "petulant"}, {"os[CAR PET]ulant"}},
        // A first word used whole, or a last word used whole, hides nothing.
        {{"car", "petulant", "oscar", "pet"}, {"os[CAR PET]ulant"}},
        // The answer inside one word, or as a whole word, is no hidden word.
        {{"carpets", "scarpet", "carpet", "a"}, {}},
        // A whole word in the middle of three.
        {{"scar", "pe", "tulip"}, {"s[CAR PE T]ulip"}},
        // Reversed: TEPRAC in "step rack", read backwards.
        {{"step", "rack"}, {"s[TEP RAC]k<"}},
        // Letters only count: the apostrophe stays outside the brackets.
        {{"os'car", "pet-al"}, {"os'[CAR PET]-al"}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> texts = Texts(Find(c.words, "carpet"));
        EXPECT_EQ(texts, c.expected) << c.words.front();
    }
}

TEST(HiddenWords, CommonWordsFirstThenShorterPhrases) {
    const std::vector<std::string> words = {"oscar",  "petulant", "scar", "pets",
                                            "scarce", "pet",      "petal"};
    // Without marks, shorter phrases come first.
    EXPECT_EQ(Texts(Find(words, "carpet")),
              (std::vector<std::string>{"s[CAR PET]s", "os[CAR PET]s", "s[CAR PET]al",
                                        "os[CAR PET]al", "s[CAR PET]ulant", "os[CAR PET]ulant"}));
    // With them, the phrases of common words lead whatever their length.
    const HiddenWordList marked = Find(words, "carpet", {"oscar", "petulant", "petal"});
    EXPECT_TRUE(marked.commonMarks);
    EXPECT_EQ(Texts(marked),
              (std::vector<std::string>{"os[CAR PET]al", "os[CAR PET]ulant", "os[CAR PET]s",
                                        "s[CAR PET]al", "s[CAR PET]ulant", "s[CAR PET]s"}));
    EXPECT_EQ(marked.rows.front().common, 2);
    EXPECT_EQ(marked.rows.front().letters, 10);
    const auto cells = HiddenWordCells(marked);
    EXPECT_EQ(cells.back(), (std::vector<std::string>{"s[CAR PET]s", "2", "0"}));
    EXPECT_EQ(HiddenWordCells(Find(words, "carpet")).front(),
              (std::vector<std::string>{"s[CAR PET]s", "2", ""}))
        << "no marks, nothing to say about commonness";
    // Every entry marked says no more than none.
    const std::set<std::string> all(words.begin(), words.end());
    EXPECT_FALSE(Find(words, "carpet", all).commonMarks);
    EXPECT_EQ(Texts(Find(words, "carpet", all)), Texts(Find(words, "carpet")));
}

TEST(HiddenWords, OneRowPerSpellingThePreferredFormShown) {
    const std::vector<std::string> words = {"OsCar", "Oscar", "PetaL", "petal", "Petal"};
    EXPECT_EQ(Texts(Find(words, "carpet")), std::vector<std::string>{"Os[CAR PET]al"});
    EXPECT_EQ(Texts(Find(words, "carpet", {"OsCar", "PetaL"})),
              std::vector<std::string>{"Os[CAR PET]aL"});
    // Neither a phrase entry nor an abbreviation in capitals is a word of a run.
    EXPECT_TRUE(Texts(Find({"os car", "petal"}, "carpet")).empty());
    EXPECT_TRUE(Texts(Find({"OSCAR", "PETAL", "scar", "PE", "tulip"}, "carpet")).empty());
}

TEST(HiddenWords, LimitsCutTheListAndSaySo) {
    const std::vector<std::string> words = {"bat", "cat", "fat", "hat",  "mat",  "oat",
                                            "vat", "rat", "sat", "poms", "pops", "pods"};
    const HiddenWordList all = Find(words, "atp", {}, 1000);
    ASSERT_EQ(all.rows.size(), 27u);
    const HiddenWordList cut = Find(words, "atp", {}, 5);
    EXPECT_EQ(cut.phrases, 27u);
    EXPECT_TRUE(cut.Cut());
    EXPECT_FALSE(cut.stepsRanOut);
    const std::vector<std::string> best = Texts(all);
    EXPECT_EQ(Texts(cut), std::vector<std::string>(best.begin(), best.begin() + 5));

    const HiddenWordList starved = Find(words, "atp", {}, 1000, 10);
    EXPECT_TRUE(starved.stepsRanOut);
    EXPECT_TRUE(starved.Cut());
    EXPECT_LE(starved.rows.size(), 10u);
    EXPECT_EQ(starved.phrases, 27u) << "counted without listing";
}

TEST(HiddenWords, AnswersThatCannotBeHidden) {
    const std::vector<std::string> words = {"abc"};
    EXPECT_TRUE(Find(words, "b").rows.empty());
    EXPECT_TRUE(Find(words, "").rows.empty());
    EXPECT_EQ(Texts(Find(words, "C-a!")), std::vector<std::string>{"ab[C A]bc"})
        << "capitals and punctuation fold away";
    EXPECT_TRUE(Find({"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"},
                     std::string(HiddenWordIndex::kMaxAnswerLetters + 1, 'a'))
                    .rows.empty());
    // A palindrome is found once, not again backwards.
    EXPECT_EQ(Texts(Find({"xab", "ay"}, "aba")), std::vector<std::string>{"x[AB A]y"});
}

} // namespace
