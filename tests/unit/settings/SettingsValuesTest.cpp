// Stored values that cannot have been meant take their defaults; everything a
// user or the Options dialog can produce is kept as stored.
#include "settings/SettingsValues.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(MaxPieces, BelowOneIsAbsent) {
    const struct {
        int stored, read;
    } cases[] = {
        {1, 1},
        {4, 4},
        {9, 9},
        {1000000, 1000000}, // large values are the search's to bound
        {0, 4},
        {-1, 4},
        {INT_MIN, 4}, // the DWORD 4,000,000,000 read back as a signed value
        {static_cast<int>(4000000000u), 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaxPiecesOrDefault(c.stored), c.read) << c.stored;
}

TEST(ColourSetting, ComponentsOutsideAByteAreAbsent) {
    const Colour fallback = MakeColour(255, 0, 0);
    const struct {
        std::string text;
        Colour read;
    } cases[] = {
        {"0,0,255", MakeColour(0, 0, 255)},
        {"255,255,255", MakeColour(255, 255, 255)},
        {"1,2,3,junk", MakeColour(1, 2, 3)},
        {"12", MakeColour(12, 0, 0)}, // missing numbers still read as 0
        {"", fallback},
        {"999,999,-5", fallback},
        {"256,0,0", fallback},
        {"0,0,-1", fallback},
        {"0,4294967296,0", MakeColour(0, 0, 0)}, // wraps to 0 as it is read
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColourOrDefault(c.text, fallback), c.read) << '"' << c.text << '"';
}

TEST(FontSetting, ColourAndSizeMustBeMeant) {
    const FontSetting fallback = DefaultFont();
    // Colour, height and width; the rest of a font text.
    auto text = [](const std::string& head) { return head + ",0,0,400,0,0,0,0,3,2,1,49,Arial"; };
    const struct {
        std::string text;
        bool kept;
    } cases[] = {
        {text("10,20,30,-15,0"), true},
        {text("0,0,0,-500,0"), true},
        {text("0,0,0,500,500"), true},
        {text("0,0,0,0,0"), true}, // height 0: the system's default size
        {"", true},
        {text("0,0,0,-2000000000,0"), false},
        {text("0,0,0,-501,0"), false},
        {text("0,0,0,501,0"), false},
        {text("0,0,0,-15,-9000"), false},
        {text("999,999,-5,-15,0"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FontOrDefault(c.text, fallback), c.kept ? ParseFont(c.text) : fallback)
            << '"' << c.text << '"';
}
