#include "settings/SettingsText.h"

#include <gtest/gtest.h>

#include <string>

TEST(ParseDecimal, ReadsLikeAtoiAndWrapsAsThirtyTwoBits) {
    const struct {
        std::string text;
        int value;
    } cases[] = {
        {"42", 42},
        {"  \t-17", -17},
        {"+8", 8},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+-3", 0},
        {"3 4", 3},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"4294967295", -1},
        {"4294967296", 0},
        {"4294967301", 5},
        {"99999999999", 1215752191},      // modulo 2^32
        {std::string(400, '0') + "7", 7}, // a long run keeps wrapping, never overflows
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(Colour, FormatsRedGreenBlueWithoutTheTopByte) {
    EXPECT_EQ(FormatColour(MakeColour(1, 2, 3)), "1,2,3");
    EXPECT_EQ(FormatColour(0xFF000080u), "128,0,0");
    for (Colour c : {0x000000u, 0x123456u, 0xFFFFFFu})
        EXPECT_EQ(ParseColour(FormatColour(c)), c);
}

TEST(Colour, ParsesAndToleratesMalformedTexts) {
    const struct {
        std::string text;
        Colour colour;
    } cases[] = {
        {"255,0,0", 0x0000FFu},   {"0,0,255", 0xFF0000u},
        {"300,0,0", 44u}, // components are cut to eight bits
        {"-1,0,0", 0xFFu},        {"", 0u},
        {"255", 0xFFu},                                            // missing numbers read 0
        {"1,2,3,4,5", 0x030201u},                                  // surplus ignored
        {",,1,,2,3", 0x030201u},                                   // empty fields vanish
        {"red,green,blue", 0u},   {std::string("9\0,9,9", 6), 9u}, // a C string ends at NUL
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseColour(c.text), c.colour) << '"' << c.text << '"';
}

TEST(Font, DefaultAndEveryFieldRoundTrip) {
    EXPECT_EQ(FormatFont(DefaultFont()), "0,0,0,-15,0,0,0,400,0,0,0,0,3,2,1,49,Courier New");
    const std::string text = "10,20,30,-21,7,900,-900,700,1,1,0,238,3,2,5,34,Times New Roman";
    const FontSetting f = ParseFont(text);
    EXPECT_EQ(f.colour, MakeColour(10, 20, 30));
    EXPECT_EQ(f.logFont.lfHeight, -21);
    EXPECT_EQ(f.logFont.lfOrientation, -900);
    EXPECT_EQ(f.logFont.lfCharSet, 238);
    EXPECT_EQ(f.logFont.lfPitchAndFamily, 34);
    EXPECT_EQ(FormatFont(f), text);
}

TEST(Font, EmptyFieldShiftsTheLaterFields) {
    // The height of the default text is left empty: the width becomes the
    // height, and so on, until the face name lands in the pitch-and-family
    // byte (reading 0) and no face name is left.
    const FontSetting f = ParseFont("0,0,0,,0,0,0,400,0,0,0,0,3,2,1,49,Courier New");
    EXPECT_EQ(f.logFont.lfOrientation, 400);
    EXPECT_EQ(f.logFont.lfWeight, 0);
    EXPECT_EQ(f.logFont.lfQuality, 49);
    EXPECT_EQ(f.logFont.lfPitchAndFamily, 0);
    EXPECT_EQ(f.logFont.FaceName(), "");
}

TEST(Font, MalformedTexts) {
    EXPECT_EQ(ParseFont(""), FontSetting{});
    EXPECT_EQ(ParseFont("1,2,3,-15,0,0,0,400,0,0,0,0,3,2,1,49").logFont.FaceName(), "");
    const FontSetting bytes = ParseFont("0,0,0,0,0,0,0,0,256,257,-1,511,0,0,0,0,X");
    EXPECT_EQ(bytes.logFont.lfItalic, 0); // byte fields are cut to eight bits
    EXPECT_EQ(bytes.logFont.lfUnderline, 1);
    EXPECT_EQ(bytes.logFont.lfStrikeOut, 255);
    EXPECT_EQ(bytes.logFont.lfCharSet, 255);
    const std::string head = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,";
    EXPECT_EQ(ParseFont(head + " Lucida  Console ").logFont.FaceName(), " Lucida  Console ");
    EXPECT_EQ(ParseFont(head + "Arial,Bold").logFont.FaceName(), "Arial");
    const FontSetting longFace = ParseFont(head + std::string(40, 'F'));
    EXPECT_EQ(longFace.logFont.FaceName(), std::string(31, 'F'));
    EXPECT_EQ(longFace.logFont.lfFaceName[31], '\0');
    // Read through a 1000-character buffer: a run of commas pushes the face
    // name to the 998th character, so only two of its letters fit.
    EXPECT_EQ(ParseFont(head + std::string(997 - head.size(), ',') + "Arial").logFont.FaceName(),
              "Ar");
}

TEST(Font, FormatNeverReadsPastAnUnterminatedFace) {
    FontSetting f;
    for (char& c : f.logFont.lfFaceName)
        c = 'Z';
    const std::string text = FormatFont(f);
    EXPECT_EQ(text.substr(text.rfind(',') + 1), std::string(32, 'Z'));
}

TEST(Placement, FormatsAndParses) {
    EXPECT_EQ(FormatPlacement(true, -20, 30, 400, 300), "1,-20,30,400,300");
    const struct {
        std::string text;
        Placement placement;
    } cases[] = {
        {"1,-20,30,400,300", {1, -20, 30, 400, 300}},
        {"", {}},
        {"1,2", {1, 2, 0, 0, 0}},
        {"0,,5,6,7,8", {0, 5, 6, 7, 8}},
        {"x,y,z", {}},
        {",,,,,", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePlacement(c.text), c.placement) << '"' << c.text << '"';
}
