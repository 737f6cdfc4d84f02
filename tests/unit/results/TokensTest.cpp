#include "results/Tokens.h"
#include "results/RowPaint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DisplayedText Shown(std::string text, std::string style) {
    return DisplayedText{std::move(text), std::move(style)};
}

// A charade with a reversed piece inside a container of an abbreviation.
const DisplayedText kRow = Shown("car + tep< in st", "eee n eeen nn bb");

struct Expected {
    std::string text;
    std::uint32_t start;
    std::uint32_t length;
    char style;
    std::uint8_t kind;
};

void ExpectToken(const WordplayRowContext& t, const Expected& e) {
    EXPECT_EQ(t.text, e.text);
    EXPECT_EQ(t.start, e.start);
    EXPECT_EQ(t.length, e.length);
    EXPECT_EQ(t.style, e.style);
    EXPECT_EQ(t.kind, e.kind);
}

const std::vector<Expected> kTokens = {
    {"car", 0, 3, 'e', TokenKind::Other},     {"+", 4, 1, 'n', TokenKind::Charade},
    {"tep", 6, 3, 'e', TokenKind::Other},     {"<", 9, 1, 'n', TokenKind::Reversal},
    {"in", 11, 2, 'n', TokenKind::Container}, {"st", 14, 2, 'b', TokenKind::Other},
};

int TenPerChar(std::string_view s) {
    return static_cast<int>(s.size()) * 10;
}

} // namespace

TEST(TokenWalk, NextVisitsEveryTokenThenClearsThenWraps) {
    WordplayRowContext t;
    for (int round = 0; round < 2; ++round) {
        for (const Expected& e : kTokens) {
            SelectNextToken(t, kRow, false);
            ExpectToken(t, e);
        }
        SelectNextToken(t, kRow, false);
        EXPECT_EQ(t, WordplayRowContext{});
    }
}

TEST(TokenWalk, PreviousWalksBackClearsOnFirstThenSelectsLast) {
    WordplayRowContext t;
    SelectPreviousToken(t, kRow, false); // nothing current: the last token
    ExpectToken(t, kTokens.back());
    for (auto e = kTokens.rbegin() + 1; e != kTokens.rend(); ++e) {
        SelectPreviousToken(t, kRow, false);
        ExpectToken(t, *e);
    }
    SelectPreviousToken(t, kRow, false); // on the first token: cleared
    EXPECT_EQ(t, WordplayRowContext{});
    SelectPreviousToken(t, kRow, false);
    ExpectToken(t, kTokens.back());
}

TEST(TokenWalk, FirstTokenAndEmptyText) {
    WordplayRowContext t;
    SelectFirstToken(t, kRow, false);
    ExpectToken(t, kTokens.front());
    const WordplayRowContext before = t;
    SelectFirstToken(t, Shown("", ""), false); // unchanged
    EXPECT_EQ(t, before);
    SelectNextToken(t, Shown("", ""), false);
    EXPECT_EQ(t, WordplayRowContext{});
    SelectPreviousToken(t, Shown("", ""), false);
    EXPECT_EQ(t, WordplayRowContext{});
}

TEST(TokenWalk, MultipleAnagramSeparatorsAreSkipped) {
    const DisplayedText row = Shown("ale/lea ty*", "eeeseeeseen");
    WordplayRowContext t;
    for (const Expected& e :
         {Expected{"ale", 0, 3, 'e', TokenKind::Other},
          Expected{"lea", 4, 3, 'e', TokenKind::Other}, Expected{"ty", 8, 2, 'e', TokenKind::Other},
          Expected{"*", 10, 1, 'n', TokenKind::Anagram}}) {
        SelectNextToken(t, row, false);
        ExpectToken(t, e);
    }
    SelectPreviousToken(t, row, false);
    SelectPreviousToken(t, row, false);
    ExpectToken(t, {"lea", 4, 3, 'e', TokenKind::Other});
}

TEST(Tokens, WordWithBracketedDeletionsIsOneToken) {
    const DisplayedText shown = Shown("ca(rp)ets + x", "eeEEEEeee n b");
    WordplayRowContext t;
    SelectFirstToken(t, shown, true);
    ExpectToken(t, {"carpets", 0, 9, 'e', TokenKind::Other});
    SelectNextToken(t, shown, true);
    ExpectToken(t, {"+", 10, 1, 'n', TokenKind::Charade});
    // Without brackets shown, the text is taken as it stands.
    SelectFirstToken(t, Shown("carpets", "eeEEeee"), false);
    ExpectToken(t, {"carpets", 0, 7, 'e', TokenKind::Other});
}

TEST(Tokens, OnlyNotationRunsBecomeSymbolKinds) {
    WordplayRowContext t;
    SetTokenFromRun(t, Shown("in", "bb"), 0, 2, false);
    ExpectToken(t, {"in", 0, 2, 'b', TokenKind::Other});
    EXPECT_TRUE(OffersIndicators(t));
    EXPECT_TRUE(OffersLookup(t));

    SetTokenFromRun(t, Shown("in", "ee"), 0, 2, false);
    EXPECT_EQ(t.kind, TokenKind::Other);
    EXPECT_FALSE(OffersIndicators(t));
    EXPECT_TRUE(OffersLookup(t));

    // " with " and " for " are notation without indicators.
    SetTokenFromRun(t, Shown("cot with a", "eee nnnn b"), 4, 4, false);
    ExpectToken(t, {"with", 4, 4, 'n', TokenKind::Other});
    EXPECT_FALSE(OffersIndicators(t));
    EXPECT_FALSE(OffersLookup(t));

    SetTokenFromRun(t, kRow, 4, 1, false);
    EXPECT_TRUE(OffersIndicators(t));
    EXPECT_FALSE(OffersLookup(t));

    ClearToken(t);
    EXPECT_FALSE(OffersIndicators(t));
    EXPECT_FALSE(OffersLookup(t));
}

TEST(Tokens, RunsOutsideTheTextClear) {
    WordplayRowContext t;
    SetTokenFromRun(t, kRow, 3, 1, false);
    SetTokenFromRun(t, kRow, 99, 1, false);
    EXPECT_EQ(t, WordplayRowContext{});
    SetTokenFromRun(t, kRow, 14, 50, false); // clipped to the text
    ExpectToken(t, {"st", 14, 2, 'b', TokenKind::Other});
    // A style shorter than its text never reads past the style.
    SelectPreviousToken(t, Shown("abc + d", "eee"), false);
    ExpectToken(t, {"abc", 0, 3, 'e', TokenKind::Other});
}

TEST(HitTest, PointsMapToRunsAndBlanksSelectNothing) {
    // Runs: "car" 0-29, " " 30-39, "+" 40-49, " " 50-59, "tep" 60-89 ... after x - 2.
    auto at = [](int x) { return TokenAt(kRow, false, x, 500, TenPerChar); };
    ExpectToken(at(2), kTokens[0]);
    ExpectToken(at(31), kTokens[0]);
    EXPECT_EQ(at(32), WordplayRowContext{}); // the blank before "+"
    ExpectToken(at(45), kTokens[1]);
    EXPECT_EQ(at(55), WordplayRowContext{}); // the blank after "+"
    ExpectToken(at(65), kTokens[2]);
    EXPECT_EQ(at(2 + 160), WordplayRowContext{}); // beyond the text
}

TEST(HitTest, OnlyInsideTheFirstColumn) {
    EXPECT_EQ(TokenAt(kRow, false, 1, 500, TenPerChar), WordplayRowContext{});
    EXPECT_EQ(TokenAt(kRow, false, -20, 500, TenPerChar), WordplayRowContext{});
    EXPECT_EQ(TokenAt(kRow, false, 25, 25, TenPerChar), WordplayRowContext{});
    ExpectToken(TokenAt(kRow, false, 24, 25, TenPerChar), kTokens[0]);
    EXPECT_EQ(TokenAt(kRow, false, 10, 500, nullptr), WordplayRowContext{});
    // A sharper screen clips further in, and measures from there.
    const int clip = RowGeometry::ForDpi(144).clipIndent;
    EXPECT_EQ(TokenAt(kRow, false, clip - 1, 500, TenPerChar, clip), WordplayRowContext{});
    ExpectToken(TokenAt(kRow, false, clip, 500, TenPerChar, clip), kTokens[0]);
    EXPECT_EQ(TokenAt(kRow, false, clip + 30, 500, TenPerChar, clip), WordplayRowContext{});
}

TEST(HitTest, MeasuresBracketedRunsAsShown) {
    const DisplayedText shown = Shown("(s)he + x", "EEEee n b");
    auto at = [&](int x) { return TokenAt(shown, true, x, 500, TenPerChar); };
    ExpectToken(at(45), {"she", 0, 5, 'e', TokenKind::Other});
    ExpectToken(at(2 + 60 + 5), {"+", 6, 1, 'n', TokenKind::Charade});
}
