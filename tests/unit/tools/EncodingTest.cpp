#include "common/Encoding.h"

#include <gtest/gtest.h>

using namespace quillon::tools;

TEST(Utf8Validity, AcceptsWellFormedText) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));      // é
    EXPECT_TRUE(IsValidUtf8("\xE2\x82\xAC"));     // €
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80")); // an emoji, four bytes
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF")); // U+10FFFF
}

TEST(Utf8Validity, RejectsWhatWindows1252FilesLookLike) {
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));          // é in 1252
    EXPECT_FALSE(IsValidUtf8("caf\xC3"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong, three bytes
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\x80"));             // a lone continuation byte
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // three-byte form with two
}

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    const auto back = Utf8ToCp1252(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, MapsTheWindowsOnlyCharacters) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");     // €
    EXPECT_EQ(Cp1252ToUtf8("\x92"), "\xE2\x80\x99");     // ’
    EXPECT_EQ(Cp1252ToUtf8("\x8A"), "\xC5\xA0");         // Š
    EXPECT_EQ(Utf8ToCp1252("\xC5\xBE").value(), "\x9E"); // ž
    EXPECT_EQ(Utf8ToCp1252("\xC5\xB8").value(), "\x9F"); // Ÿ
}

TEST(Cp1252, CharactersOutsideItFailTheWholeText) {
    EXPECT_FALSE(Utf8ToCp1252("\xC4\x9F").has_value());         // ğ
    EXPECT_FALSE(Utf8ToCp1252("ok \xE2\x88\x9E").has_value());  // ∞
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x98\x80").has_value()); // emoji
}

TEST(LetterFolding, CaseAndAccentsGiveThePlainLetter) {
    // CAFÉ, café, Cafe and cafe all give c a f e.
    for (const char* word : {"CAF\xC9", "caf\xE9", "Cafe", "cafe"}) {
        std::string letters;
        for (const char* p = word; *p; ++p)
            letters += static_cast<char>('a' + FoldLetter(static_cast<unsigned char>(*p)));
        EXPECT_EQ(letters, "cafe") << word;
    }
    EXPECT_EQ(FoldLetter(0xC5), 'a' - 'a'); // Å
    EXPECT_EQ(FoldLetter(0xE7), 'c' - 'a'); // ç
    EXPECT_EQ(FoldLetter(0xD1), 'n' - 'a'); // Ñ
    EXPECT_EQ(FoldLetter(0xF8), 'o' - 'a'); // ø
    EXPECT_EQ(FoldLetter(0xDC), 'u' - 'a'); // Ü
    EXPECT_EQ(FoldLetter(0xFF), 'y' - 'a'); // ÿ
    EXPECT_EQ(FoldLetter(0x9F), 'y' - 'a'); // Ÿ
    EXPECT_EQ(FoldLetter(0x8A), 's' - 'a'); // Š
    EXPECT_EQ(FoldLetter(0x9E), 'z' - 'a'); // ž
}

TEST(LetterFolding, NonLettersAndLettersWithoutOnePlainEquivalent) {
    for (unsigned char b : {' ', '-', '\'', '0', '9', '.', '\xD7', '\xF7', '\x92', '\xAA', '\xB5'})
        EXPECT_EQ(FoldLetter(b), kNotALetter) << int(b);
    for (unsigned char b : {'\xDF', '\xE6', '\xC6', '\x9C', '\x8C', '\xFE', '\xDE', '\xF0', '\xD0'})
        EXPECT_EQ(FoldLetter(b), kNoPlainLetter) << int(b);
}

TEST(LetterFolding, EveryLetterByteFoldsToALetter) {
    int letters = 0;
    for (int b = 0; b < 256; ++b) {
        const int l = FoldLetter(static_cast<unsigned char>(b));
        EXPECT_GE(l, kNoPlainLetter);
        EXPECT_LT(l, 26);
        if (l >= 0) ++letters;
    }
    // 52 plain, 5 from the 80..9F row, 55 from C0..FF (64 less ×, ÷ and the 7 without one)
    EXPECT_EQ(letters, 52 + 5 + 55);
}

TEST(LowerCase, FoldsCapitalsOnly) {
    EXPECT_EQ(LowerCp1252("CAF\xC9 \xD7 \x8A\x8C\x8E\x9F-X"), "caf\xE9 \xD7 \x9A\x9C\x9E\xFF-x");
    EXPECT_EQ(LowerCp1252("\xDF\xF7"), "\xDF\xF7");
    EXPECT_EQ(SortKeyCp1252("Caf\xC9's"), "cafe's");
}
