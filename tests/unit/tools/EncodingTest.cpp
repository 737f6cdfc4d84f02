#include "common/Encoding.h"

#include <gtest/gtest.h>

using namespace quillon::tools;

TEST(Utf8Validity, AcceptsWellFormedTextAndRejectsWhat1252FilesLookLike) {
    for (const char* good : {"", "plain ascii", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                             "\xF4\x8F\xBF\xBF" /* U+10FFFF */})
        EXPECT_TRUE(IsValidUtf8(good)) << good;
    for (const char* bad : {"caf\xE9",          // é in 1252
                            "caf\xC3",          // cut short
                            "\xC0\xAF",         // overlong
                            "\xE0\x80\xAF",     // overlong, three bytes
                            "\xED\xA0\x80",     // a surrogate
                            "\xF4\x90\x80\x80", // beyond U+10FFFF
                            "\x80",             // a lone continuation byte
                            "\xE2\x82"})        // three-byte form with two
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
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

TEST(Cp1252, MapsTheWindowsOnlyCharactersAndRefusesOthers) {
    EXPECT_EQ(Cp1252ToUtf8("\x80\x92\x8A"), "\xE2\x82\xAC\xE2\x80\x99\xC5\xA0");    // € ’ Š
    EXPECT_EQ(Utf8ToCp1252("\xC5\xBE\xC5\xB8").value(), "\x9E\x9F");                // ž Ÿ
    for (const char* outside : {"\xC4\x9F", "ok \xE2\x88\x9E", "\xF0\x9F\x98\x80"}) // ğ ∞ emoji
        EXPECT_FALSE(Utf8ToCp1252(outside).has_value()) << outside;
}

TEST(LetterFolding, CaseAndAccentsGiveThePlainLetter) {
    // CAFÉ café Cafe cafe Å ç Ñ ø Ü ÿ Ÿ Š ž
    const std::string bytes = "CAF\xC9"
                              "caf\xE9"
                              "Cafe"
                              "cafe"
                              "\xC5\xE7\xD1\xF8\xDC\xFF\x9F\x8A\x9E";
    std::string letters;
    for (unsigned char b : bytes)
        letters += static_cast<char>('a' + FoldLetter(b));
    EXPECT_EQ(letters, "cafecafecafecafeacnouyysz");
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
