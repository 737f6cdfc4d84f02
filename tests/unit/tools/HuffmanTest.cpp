#include "common/Huffman.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillon::tools;

namespace {

// Kraft sum of the lengths times 2^32; exactly 2^32 for a complete code.
std::uint64_t Kraft(const CodeLengths& lengths) {
    std::uint64_t sum = 0;
    for (auto l : lengths)
        if (l) sum += std::uint64_t{1} << (32 - l);
    return sum;
}

// No code is a prefix of another.
bool PrefixFree(const CodeTable& t) {
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            if (a == b || !t.length[a] || !t.length[b] || t.length[a] > t.length[b]) continue;
            if ((t.code[b] >> (t.length[b] - t.length[a])) == t.code[a]) return false;
        }
    return true;
}

unsigned MaxLength(const CodeLengths& lengths) {
    unsigned m = 0;
    for (auto l : lengths)
        m = std::max<unsigned>(m, l);
    return m;
}

} // namespace

TEST(PackageMerge, MatchesPlainHuffmanWhenTheLimitDoesNotBind) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        Weights w{};
        const int symbols = 2 + static_cast<int>(random() % 255);
        for (int i = 0; i < symbols; ++i)
            w[random() % 256] = 1 + random() % 100000;
        const auto limited = LimitedLengths(w);
        const auto reference = HuffmanLengths(w);
        ASSERT_LE(MaxLength(reference), 32u);
        EXPECT_EQ(CodeCost(limited, w), CodeCost(reference, w)) << "round " << round;
        EXPECT_EQ(Kraft(limited), std::uint64_t{1} << 32);
        for (int b = 0; b < 256; ++b)
            EXPECT_EQ(limited[b] > 0, w[b] > 0);
    }
}

TEST(PackageMerge, LimitHoldsForSkewedWeights) {
    // Fibonacci weights drive plain Huffman to one more bit per symbol.
    Weights w{};
    std::uint64_t a = 1, b = 1;
    for (int s = 0; s < 60; ++s) {
        w[s] = a;
        const std::uint64_t next = a + b;
        a = b;
        b = next;
    }
    EXPECT_GT(MaxLength(HuffmanLengths(w)), 32u);
    for (unsigned limit : {32u, 12u, 6u}) {
        const auto limited = LimitedLengths(w, limit);
        EXPECT_EQ(MaxLength(limited), limit);
        EXPECT_LE(Kraft(limited), std::uint64_t{1} << 32);
        EXPECT_TRUE(PrefixFree(CanonicalCodes(limited)));
    }
    // A tighter limit can only cost more.
    EXPECT_LE(CodeCost(LimitedLengths(w, 32), w), CodeCost(LimitedLengths(w, 12), w));
}

TEST(PackageMerge, OneAndTwoSymbols) {
    Weights w{};
    w[0] = 5;
    auto l = LimitedLengths(w);
    EXPECT_EQ(l[0], 1);
    w[200] = 1;
    l = LimitedLengths(w);
    EXPECT_EQ(l[0], 1);
    EXPECT_EQ(l[200], 1);
    const auto t = CanonicalCodes(l);
    EXPECT_NE(t.code[0], t.code[200]);
}

TEST(CanonicalCodes, ShorterCodesFirstThenByteOrder) {
    CodeLengths l{};
    l['e'] = 2;
    l['a'] = 2;
    l[0] = 2;
    l['z'] = 3;
    l['b'] = 3;
    const auto t = CanonicalCodes(l);
    EXPECT_EQ(t.code[0], 0b00u);
    EXPECT_EQ(t.code['a'], 0b01u);
    EXPECT_EQ(t.code['e'], 0b10u);
    EXPECT_EQ(t.code['b'], 0b110u);
    EXPECT_EQ(t.code['z'], 0b111u);
}

TEST(ReaderTree, CountsTheNodesAWastefulOrderCosts) {
    // Byte 1's code passes through the node where byte 2's leaf later lands,
    // so the reader makes an inner node there that byte 2 then overwrites.
    CodeTable t;
    t.length[1] = 2, t.code[1] = 0b00;
    t.length[2] = 1, t.code[2] = 0b1;
    t.length[3] = 2, t.code[3] = 0b01;
    EXPECT_EQ(ReaderInnerNodes(t), 3u); // root, its 0 child, and the wasted 1 child
    std::swap(t.length[1], t.length[2]);
    t.code[1] = 0b1, t.code[2] = 0b00;
    EXPECT_EQ(ReaderInnerNodes(t), 2u);
}

TEST(ChooseCodes, EveryByteCodedAlwaysFitsTheReader) {
    // All 256 bytes coded leaves no spare inner node: only a waste-free
    // assignment fits. Rare low bytes and frequent high ones are the worst case.
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        Weights w{};
        for (int b = 0; b < 256; ++b)
            w[b] = round % 2 ? 1 + random() % 1000000 : std::uint64_t(1) << (b / 10);
        const auto t = ChooseCodes(w);
        EXPECT_LE(ReaderInnerNodes(t), kReaderInnerNodes);
        EXPECT_TRUE(PrefixFree(t));
        EXPECT_LE(MaxLength(t.length), 32u);
        for (int b = 0; b < 256; ++b)
            EXPECT_GT(t.length[b], 0);
    }
}

TEST(ChooseCodes, KeepsTheCheapestCodeForAWordListAlphabet) {
    // About 120 coded bytes always fit, so nothing is given up.
    std::mt19937 random(3);
    Weights w{};
    for (int b : {0, int(' '), int('-'), int('\'')})
        w[b] = 1000 + random() % 5000;
    for (int b = 'A'; b <= 'Z'; ++b)
        w[b] = 1 + random() % 3000;
    for (int b = 'a'; b <= 'z'; ++b)
        w[b] = 1000 + random() % 300000;
    for (int b = 0xC0; b < 0x100; ++b)
        w[b] = 1 + random() % 3;
    const auto t = ChooseCodes(w);
    EXPECT_EQ(CodeCost(t.length, w), CodeCost(LimitedLengths(w), w));
    EXPECT_LE(ReaderInnerNodes(t), kReaderInnerNodes);
}
