#include "results/ResultList.h"
#include "results/RowBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

bool AsciiLetter(unsigned char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

WordplayRow MakeRow(std::string text, std::string style, std::int8_t type = 0,
                    std::int32_t pieces = 1, std::int32_t sequence = 0) {
    return WordplayRow{std::move(text), std::move(style), type, sequence, pieces};
}

std::vector<std::string> Texts(const std::vector<WordplayRow>& rows) {
    std::vector<std::string> texts;
    for (const WordplayRow& row : rows)
        texts.push_back(row.text);
    return texts;
}

} // namespace

TEST(RowBuilder, StylesFollowThePieceKinds) {
    WordplayRowBuilder b;
    EXPECT_EQ(b.AppendPiece("car", false), 0u);
    EXPECT_EQ(b.AppendSymbol(" + "), 3u);
    b.AppendPiece("tep<", false);
    b.AppendSymbol(" in ");
    b.AppendPiece("st", true);
    EXPECT_EQ(b.Text(), "car + tep< in st");
    EXPECT_EQ(b.Style(), "eee n eeen nn bb");

    WordplayRowBuilder sub;
    sub.AppendWord("cot");
    sub.AppendSymbol(" with ");
    sub.AppendAbbreviation("a");
    sub.AppendSymbol(" for ");
    sub.AppendAbbreviation("o");
    EXPECT_EQ(sub.Text(), "cot with a for o");
    EXPECT_EQ(sub.Style(), "eee nnnn b nnn b");

    WordplayRowBuilder multi;
    multi.AppendWord("ale");
    multi.AppendSeparator("/");
    multi.AppendWord("lea");
    multi.AppendSeparator(" ");
    multi.AppendWord("ty");
    multi.AppendSymbol("*");
    EXPECT_EQ(multi.Style(), "eeeseeeseen");
}

TEST(RowBuilder, TruncateBacktracksAndBuildCopies) {
    WordplayRowBuilder b;
    b.AppendWord("car");
    const std::size_t mark = b.Size();
    b.AppendSymbol(" + ");
    b.AppendWord("pet");
    const WordplayRow row = b.Build(WordplayType::Charade, 2, 7);
    EXPECT_EQ(row, MakeRow("car + pet", "eee n eee", WordplayType::Charade, 2, 7));
    b.Truncate(mark);
    EXPECT_EQ(b.Text(), "car");
    EXPECT_EQ(b.Style(), "eee");
    b.Truncate(99); // never grows
    EXPECT_EQ(b.Size(), 3u);
    b.Clear();
    EXPECT_TRUE(b.Empty());
}

TEST(RowBuilder, MarkDeletedCountsLettersAndTakesInnerSeparators) {
    WordplayRowBuilder b;
    b.AppendWord("ice-cream");
    b.MarkDeleted(0, 2, 4, AsciiLetter); // e and c, with the hyphen between them
    EXPECT_EQ(b.Style(), "eeEEEeeee");

    WordplayRowBuilder ends;
    ends.AppendWord("scatter");
    ends.MarkDeleted(0, 0, 1, AsciiLetter);
    ends.MarkDeleted(0, 6, 7, AsciiLetter);
    EXPECT_EQ(ends.Style(), "EeeeeeE");
    EXPECT_EQ(ends.Text(), "scatter");

    WordplayRowBuilder tail;
    tail.AppendWord("a b");
    tail.MarkDeleted(0, 1, 9, AsciiLetter); // past the end: only what exists
    EXPECT_EQ(tail.Style(), "eeE");
    tail.MarkDeleted(0, 5, 9, AsciiLetter); // wholly past the end: nothing
    tail.MarkDeleted(0, 1, 1, AsciiLetter); // empty range: nothing
    EXPECT_EQ(tail.Style(), "eeE");
}

TEST(DisplayText, BracketsWrapEveryDeletedRun) {
    const WordplayRow row = MakeRow("scatter", "EeeeeeE");
    EXPECT_EQ(DisplayText(row, true).text, "(s)catte(r)");
    EXPECT_EQ(DisplayText(row, true).style, "EEEeeeeeEEE");

    const WordplayRow middle = MakeRow("carpets", "eeEEeee");
    EXPECT_EQ(DisplayText(middle, true).text, "ca(rp)ets");
    EXPECT_EQ(DisplayText(middle, false).text, "carpets");

    const WordplayRow all = MakeRow("ab", "EE");
    EXPECT_EQ(DisplayText(all, true).text, "(ab)");

    const WordplayRow plain = MakeRow("car + pet", "eee n eee");
    EXPECT_EQ(DisplayText(plain, true).text, plain.text);
    EXPECT_EQ(DisplayText(plain, true).style, plain.style);
    EXPECT_EQ(DisplayText(MakeRow("", ""), true).text, "");
}

TEST(CellText, EachKindFormatsItsOwnColumn) {
    const std::vector<WordplayRow> rows = {
        MakeRow("ca(t)", "eeE", WordplayType::TailDeletion, 2),
        MakeRow("x", "e", 15, 0),
        MakeRow("y", "e", -1, -3),
    };
    ColumnTable columns;
    EXPECT_EQ(CellText(rows, 0, 0, false, columns), "ca(t)");
    EXPECT_EQ(CellText(rows, 0, 1, false, columns), "2");
    EXPECT_EQ(CellText(rows, 0, 2, false, columns), "Tail Deletion");
    EXPECT_EQ(CellText(rows, 1, 1, false, columns), "");
    EXPECT_EQ(CellText(rows, 1, 2, false, columns), "");
    EXPECT_EQ(CellText(rows, 2, 1, false, columns), "");
    EXPECT_EQ(CellText(rows, 2, 2, false, columns), "");
    EXPECT_EQ(CellText(rows, 3, 0, false, columns), "");

    const std::vector<WordplayRow> deleted = {MakeRow("cat", "eeE", 4, 2)};
    EXPECT_EQ(CellText(deleted, 0, 0, true, columns), "ca(t)");
    columns.Promote(2); // Type now at position 1
    EXPECT_EQ(CellText(deleted, 0, 1, false, columns), "Tail Deletion");
    EXPECT_EQ(CellText(deleted, 0, 2, false, columns), "2");
}

TEST(RowOrder, EachArrangementAndDirection) {
    // pieces, type, sequence
    const WordplayRow a = MakeRow("a", "e", 8, 2, 0);
    const WordplayRow b = MakeRow("b", "e", 1, 3, 1);
    const WordplayRow c = MakeRow("c", "e", 8, 2, 2);
    ColumnTable columns; // 0 wordplay, 1 pieces, 2 type
    EXPECT_TRUE(RowLess(a, b, columns));
    EXPECT_TRUE(RowLess(a, c, columns)); // equal in both columns: sequence
    EXPECT_FALSE(RowLess(c, a, columns));
    EXPECT_FALSE(RowLess(a, a, columns));

    columns.SetDescending(1, true);
    EXPECT_TRUE(RowLess(b, a, columns));
    EXPECT_TRUE(RowLess(a, c, columns)); // the sequence never turns round

    columns.Reset();
    columns.Promote(2); // type first
    EXPECT_TRUE(RowLess(b, a, columns));
    columns.SetDescending(1, true);
    EXPECT_TRUE(RowLess(a, b, columns));

    // A stored order is taken only with the wordplay at position 0.
    columns.Assign({0, 2, 1}, {false, true, false});
    EXPECT_EQ(columns.Kind(1), ColumnKind::Type);
    EXPECT_TRUE(RowLess(a, b, columns)); // type 8 before 1 descending
    for (const std::array<int, 3>& kinds :
         {std::array<int, 3>{1, 0, 2}, {2, 1, 0}, {0, 0, 2}, {0, 1, 3}}) {
        columns.Assign(kinds, {true, true, true});
        EXPECT_EQ(columns, ColumnTable()) << kinds[0] << kinds[1] << kinds[2];
    }

    // Types compare as signed bytes.
    columns.Reset();
    columns.Promote(2);
    EXPECT_TRUE(RowLess(MakeRow("n", "e", -1), MakeRow("p", "e", 14), columns));
}

TEST(FinishResultList, DropsRepeatedTextsAndKeepsCreationOrder) {
    std::vector<WordplayRow> rows = {
        MakeRow("tac<", "eeen", WordplayType::Reversal, 1, 0),
        MakeRow("act*", "eeen", WordplayType::Anagram, 1, 1),
        MakeRow("c + at", "b n ee", WordplayType::Charade, 2, 2),
        MakeRow("c + at", "b n ee", WordplayType::Container, 2, 3),
        MakeRow("ca + t", "ee n b", WordplayType::Charade, 2, 4),
        MakeRow("a", "e", WordplayType::Anagram, 1, 5),
    };
    FinishResultList(rows, ColumnTable{});
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"tac<", "act*", "a", "c + at", "ca + t"}));
    // The earliest of the two repeats stays.
    EXPECT_EQ(rows[3].type, WordplayType::Charade);

    std::vector<WordplayRow> empty;
    FinishResultList(empty, ColumnTable{});
    EXPECT_TRUE(empty.empty());
}

TEST(FinishResultList, ScoresSortLikeSequences) {
    // Multiple anagram rows carry negative scores as their sequence.
    std::vector<WordplayRow> rows = {
        MakeRow("ab cd*", "eesee", 14, 2, -4), MakeRow("abc d*", "eeesen", 14, 2, -3 - 256 * 65536),
        MakeRow("ab cd*", "eesee", 14, 2, -9), // repeat of the first: dropped
    };
    FinishResultList(rows, ColumnTable{});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "abc d*");
    EXPECT_EQ(rows[1].sequence, -4);
}

TEST(FinishResultList, TextsDifferingAboveAsciiStayDistinct) {
    std::vector<WordplayRow> rows = {MakeRow("caf\xe9", "eeee", 1, 1, 0),
                                     MakeRow("cafe", "eeee", 1, 1, 1)};
    FinishResultList(rows, ColumnTable{});
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "caf\xe9");
}

// The finished list against the plain way of making it: sort the rows by
// text, drop repeats, sort with the row order, both sorts stable.
TEST(FinishResultList, AgreesWithSortingTheRowsThemselves) {
    std::mt19937 random(77);
    for (int round = 0; round < 60; ++round) {
        std::vector<WordplayRow> rows;
        const int count = static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) {
            // Few texts and few keys, so repeats and ties abound; some texts share
            // long beginnings, cut anywhere, and some hold a zero byte.
            std::string text(1 + random() % 3, 'a');
            for (char& c : text)
                c = "ab\xe9\0"[random() % (round % 5 == 4 ? 4 : 3)];
            if (round % 2 == 0)
                text = std::string("monoecia/coenobium unnoble").substr(0, random() % 27) + text;
            const auto type = static_cast<std::int8_t>(random() % 4);
            const auto pieces = static_cast<std::int32_t>(random() % 3);
            const auto sequence = static_cast<std::int32_t>(round % 2 ? random() % 5 : i);
            rows.push_back(MakeRow(text, std::string(text.size(), 'e'), type, pieces, sequence));
        }
        ColumnTable columns;
        if (round % 3 == 1) columns.Promote(2);
        if (round % 4 == 2) columns.SetDescending(1, true);

        std::vector<WordplayRow> plain = rows;
        std::stable_sort(
            plain.begin(), plain.end(),
            [](const WordplayRow& a, const WordplayRow& b) { return a.text < b.text; });
        plain.erase(std::unique(plain.begin(), plain.end(),
                                [](const WordplayRow& a, const WordplayRow& b) {
                                    return a.text == b.text;
                                }),
                    plain.end());
        SortRows(plain, columns);
        FinishResultList(rows, columns);
        ASSERT_EQ(rows, plain) << "round " << round;
    }
}

TEST(JoinForCopy, BracketsAndCrLfWithoutTrailingBreak) {
    const std::vector<WordplayRow> rows = {MakeRow("cat", "eeE"), MakeRow("dog", "eee")};
    EXPECT_EQ(JoinForCopy(rows, {0, 1}), "ca(t)\r\ndog");
    EXPECT_EQ(JoinForCopy(rows, {1}), "dog");
    EXPECT_EQ(JoinForCopy(rows, {7}), "");
}
