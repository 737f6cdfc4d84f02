#include "app/SettingsText.h"

#include <gtest/gtest.h>

#include <string>

// ------------------------------------------------------------- number rule

TEST(ParseDecimal, ReadsLikeAtoi) {
    EXPECT_EQ(ParseDecimal("42"), 42);
    EXPECT_EQ(ParseDecimal("  \t-17"), -17);
    EXPECT_EQ(ParseDecimal("+8"), 8);
    EXPECT_EQ(ParseDecimal("12abc"), 12);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("-"), 0);
    EXPECT_EQ(ParseDecimal("+-3"), 0);
    EXPECT_EQ(ParseDecimal("3 4"), 3);
}

TEST(ParseDecimal, WrapsAsThirtyTwoBits) {
    EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimal("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimal("4294967295"), -1);
    EXPECT_EQ(ParseDecimal("4294967296"), 0);
    EXPECT_EQ(ParseDecimal("4294967301"), 5);
    EXPECT_EQ(ParseDecimal("99999999999"), 1215752191); // modulo 2^32
    // A long run of digits keeps wrapping instead of overflowing.
    EXPECT_EQ(ParseDecimal(std::string(400, '0') + "7"), 7);
}

// ------------------------------------------------------------------ colours

TEST(Colour, FormatsRedGreenBlue) {
    EXPECT_EQ(FormatColour(MakeColour(255, 0, 0)), "255,0,0");
    EXPECT_EQ(FormatColour(MakeColour(1, 2, 3)), "1,2,3");
    EXPECT_EQ(FormatColour(0x00FFFFFFu), "255,255,255");
    // The unused top byte of a COLORREF does not leak into the text.
    EXPECT_EQ(FormatColour(0xFF000080u), "128,0,0");
}

TEST(Colour, ParsesAndCutsComponentsToEightBits) {
    EXPECT_EQ(ParseColour("255,0,0"), 0x0000FFu);
    EXPECT_EQ(ParseColour("0,0,255"), 0xFF0000u);
    EXPECT_EQ(ParseColour("300,0,0"), 44u); // 300 & 0xFF
    EXPECT_EQ(ParseColour("-1,0,0"), 0xFFu);
    for (Colour c : {0x000000u, 0x123456u, 0xFFFFFFu, 0x808080u})
        EXPECT_EQ(ParseColour(FormatColour(c)), c);
}

TEST(Colour, ToleratesMalformedTexts) {
    EXPECT_EQ(ParseColour(""), 0u);
    EXPECT_EQ(ParseColour("255"), 0xFFu);           // missing numbers read 0
    EXPECT_EQ(ParseColour("1,2,3,4,5"), 0x030201u); // surplus ignored
    EXPECT_EQ(ParseColour(",,1,,2,3"), 0x030201u);  // empty fields vanish
    EXPECT_EQ(ParseColour("red,green,blue"), 0u);
    EXPECT_EQ(ParseColour(std::string("9\0,9,9", 6)), 9u); // a C string ends at NUL
}

// -------------------------------------------------------------------- fonts

namespace {
FontSetting SampleFont() {
    FontSetting f;
    f.colour = MakeColour(10, 20, 30);
    f.logFont.lfHeight = -21;
    f.logFont.lfWidth = 7;
    f.logFont.lfEscapement = 900;
    f.logFont.lfOrientation = -900;
    f.logFont.lfWeight = 700;
    f.logFont.lfItalic = 1;
    f.logFont.lfUnderline = 1;
    f.logFont.lfStrikeOut = 0;
    f.logFont.lfCharSet = 238;
    f.logFont.lfOutPrecision = 3;
    f.logFont.lfClipPrecision = 2;
    f.logFont.lfQuality = 5;
    f.logFont.lfPitchAndFamily = 34;
    f.logFont.SetFaceName("Times New Roman");
    return f;
}
} // namespace

TEST(Font, DefaultTextIsBlackFifteenPixelCourier) {
    const FontSetting f = DefaultFont();
    EXPECT_EQ(f.colour, 0u);
    EXPECT_EQ(f.logFont.lfHeight, -15);
    EXPECT_EQ(f.logFont.lfWeight, 400);
    EXPECT_EQ(f.logFont.lfCharSet, 0);
    EXPECT_EQ(f.logFont.lfOutPrecision, 3);
    EXPECT_EQ(f.logFont.lfClipPrecision, 2);
    EXPECT_EQ(f.logFont.lfQuality, 1);
    EXPECT_EQ(f.logFont.lfPitchAndFamily, 49);
    EXPECT_EQ(f.logFont.FaceName(), "Courier New");
    EXPECT_EQ(FormatFont(f), kDefaultFontText);
}

TEST(Font, RoundTripsEveryField) {
    const FontSetting f = SampleFont();
    const std::string text = FormatFont(f);
    EXPECT_EQ(text, "10,20,30,-21,7,900,-900,700,1,1,0,238,3,2,5,34,Times New Roman");
    EXPECT_EQ(ParseFont(text), f);
}

TEST(Font, FirstThreeNumbersAreTheColour) {
    EXPECT_EQ(ParseFont("255,0,0,-15,0,0,0,400,0,0,0,0,3,2,1,49,Arial").colour, 0x0000FFu);
}

TEST(Font, EmptyFieldShiftsTheLaterFields) {
    // The height of the default text is left empty: the width becomes the
    // height, and so on, until the face name lands in the pitch-and-family
    // byte (reading 0) and no face name is left.
    const FontSetting f = ParseFont("0,0,0,,0,0,0,400,0,0,0,0,3,2,1,49,Courier New");
    EXPECT_EQ(f.logFont.lfHeight, 0);
    EXPECT_EQ(f.logFont.lfOrientation, 400);
    EXPECT_EQ(f.logFont.lfWeight, 0);
    EXPECT_EQ(f.logFont.lfCharSet, 3);
    EXPECT_EQ(f.logFont.lfQuality, 49);
    EXPECT_EQ(f.logFont.lfPitchAndFamily, 0);
    EXPECT_EQ(f.logFont.FaceName(), "");
}

TEST(Font, MissingFieldsReadZeroAndFaceEmpty) {
    const FontSetting sixteen = ParseFont("1,2,3,-15,0,0,0,400,0,0,0,0,3,2,1,49");
    EXPECT_EQ(sixteen.logFont.lfPitchAndFamily, 49);
    EXPECT_EQ(sixteen.logFont.FaceName(), "");

    const FontSetting empty = ParseFont("");
    EXPECT_EQ(empty, FontSetting{});
}

TEST(Font, ByteFieldsAreCutToEightBits) {
    const FontSetting f = ParseFont("0,0,0,0,0,0,0,0,256,257,-1,511,0,0,0,0,X");
    EXPECT_EQ(f.logFont.lfItalic, 0);
    EXPECT_EQ(f.logFont.lfUnderline, 1);
    EXPECT_EQ(f.logFont.lfStrikeOut, 255);
    EXPECT_EQ(f.logFont.lfCharSet, 255);
}

TEST(Font, FaceNameKeepsBlanksAndStopsAtAComma) {
    EXPECT_EQ(ParseFont("0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0, Lucida  Console ").logFont.FaceName(),
              " Lucida  Console ");
    EXPECT_EQ(ParseFont("0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,Arial,Bold").logFont.FaceName(), "Arial");
}

TEST(Font, LongFaceNameIsCutToThirtyOneCharacters) {
    const std::string face40(40, 'F');
    const FontSetting f = ParseFont("0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0," + face40);
    EXPECT_EQ(f.logFont.FaceName(), std::string(31, 'F'));
    EXPECT_EQ(f.logFont.lfFaceName[31], '\0');
}

TEST(Font, TextIsReadThroughAThousandCharacterBuffer) {
    // A run of commas pushes the face name to the 998th character: only two
    // of its letters fit.
    const std::string head = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,";
    const std::string padded = head + std::string(997 - head.size(), ',') + "Arial";
    EXPECT_EQ(ParseFont(padded).logFont.FaceName(), "Ar");
}

TEST(Font, FormatNeverReadsPastAnUnterminatedFace) {
    FontSetting f;
    for (char& c : f.logFont.lfFaceName)
        c = 'Z';
    EXPECT_EQ(f.logFont.FaceName().size(), LogFont::kFaceSize);
    const std::string text = FormatFont(f);
    EXPECT_EQ(text.substr(text.rfind(',') + 1), std::string(32, 'Z'));
}

// ---------------------------------------------------------------- placement

TEST(Placement, FormatsFiveNumbers) {
    EXPECT_EQ(FormatPlacement(true, -20, 30, 400, 300), "1,-20,30,400,300");
    EXPECT_EQ(FormatPlacement(false, 0, 0, 0, 0), "0,0,0,0,0");
}

TEST(Placement, ParsesWhatWasFormatted) {
    EXPECT_EQ(ParsePlacement(FormatPlacement(true, -20, 30, 400, 300)),
              (Placement{1, -20, 30, 400, 300}));
    EXPECT_EQ(ParsePlacement("0,-20,-30,400,300"), (Placement{0, -20, -30, 400, 300}));
}

TEST(Placement, MalformedTextsGiveZeros) {
    EXPECT_EQ(ParsePlacement(""), Placement{});
    EXPECT_EQ(ParsePlacement("1,2"), (Placement{1, 2, 0, 0, 0}));
    EXPECT_EQ(ParsePlacement("0,,5,6,7,8"), (Placement{0, 5, 6, 7, 8}));
    EXPECT_EQ(ParsePlacement("x,y,z"), Placement{});
    EXPECT_EQ(ParsePlacement(",,,,,"), Placement{});
}
