#include "lookup/LookupText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

namespace {

// Plain references: the formats the encodings are defined by.
std::string WebReference(const std::string& word) {
    std::string out;
    for (unsigned char c : word) {
        char buffer[4];
        if (c < 128 && std::isalnum(c))
            out += static_cast<char>(c);
        else if (std::snprintf(buffer, sizeof buffer, "%%%02x", c) == 3)
            out += buffer;
    }
    return out;
}

std::string HexReference(const std::string& word) {
    std::string out;
    for (unsigned char c : word) {
        char buffer[3];
        std::snprintf(buffer, sizeof buffer, "%02X", c);
        out += buffer;
    }
    return out;
}

TEST(LookupText, EncodingsMatchTheirDefiningFormatsForEveryByte) {
    EXPECT_EQ(WebEncode("say \"o'er\" caf\xE9"), "say%20%22o%27er%22%20caf%e9");
    EXPECT_EQ(WebEncode(""), "");
    EXPECT_EQ(HexEncode("\xE9\xFF"), "E9FF");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(WebEncode(all), WebReference(all));
    EXPECT_EQ(HexEncode(all), HexReference(all));
}

TEST(LookupText, TemplateReplacesEveryEntry) {
    const struct {
        const char* address;
        const char* word;
        const char* expanded;
    } cases[] = {
        {"x?q={entry}&r={entry}", "o'er", "x?q=o%27er&r=o%27er"},
        {"https://s.example/search?q=%22{entry}%22", "ice cream",
         "https://s.example/search?q=%22ice%20cream%22"},
        {"{entry}{entry}", "b c", "b%20cb%20c"},
        {"{entry", "word", "{entry"},
        {"{{entry}}", "w", "{w}"},
        {"q={entry}", "", "q="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandTemplate(c.address, WebEncode(c.word)), c.expanded) << c.address;
}

TEST(LookupText, CommandNumberReadsLeadingDigits) {
    const struct {
        const char* text;
        int number;
    } cases[] = {
        {"2026", 2026}, {"  42", 42}, {"+7", 7},  {"-3", -3}, {"12abc", 12},
        {"abc", 0},     {"", 0},      {"- 5", 0}, {"\t9", 9}, {"4294967297", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandNumber(c.text), c.number) << '"' << c.text << '"';
}

} // namespace
