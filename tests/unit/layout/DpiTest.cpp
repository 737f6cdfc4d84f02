#include "layout/Dpi.h"

#include <gtest/gtest.h>

#include <climits>

using namespace layout;

TEST(Dpi, ScalesToTheNearestPixelWithHalvesAwayFromZero) {
    const struct {
        int value, dpi, scaled;
    } cases[] = {
        {4, 96, 4},
        {4, 144, 6},
        {1, 144, 2}, // 1.5 rounds up
        {2, 120, 3},
        {-15, 144, -23}, // -22.5 rounds away from zero
        {-15, 192, -30},
        {0, 144, 0},
        {7, 0, 7},               // no DPI: as at 96
        {INT_MAX, 192, INT_MAX}, // clamped, not wrapped
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
    EXPECT_EQ(ScaleFromDpi(-23, 144), -15);
    EXPECT_EQ(ScaleFromDpi(30, 192), 15);
    EXPECT_EQ(ScaleBetweenDpi(300, 144, 96), 200);
}

TEST(Dpi, ScaledImagesAverageWhatEachPixelCovers) {
    const std::uint32_t red = 0xFFFF0000, blue = 0xFF0000FF, clear = 0x00000000;
    // Doubling repeats each pixel.
    EXPECT_EQ(ScaleImage({red, blue}, 2, 1, 4, 2),
              (std::vector<std::uint32_t>{red, red, blue, blue, red, red, blue, blue}));
    // Halving averages pairs; a see-through pixel adds no colour, only transparency.
    EXPECT_EQ(ScaleImage({red, blue}, 2, 1, 1, 1), (std::vector<std::uint32_t>{0xFF800080}));
    EXPECT_EQ(ScaleImage({red, clear}, 2, 1, 1, 1), (std::vector<std::uint32_t>{0x80FF0000}));
    // One and a half: the middle pixel straddles the two old ones.
    const auto wide = ScaleImage({red, blue}, 2, 1, 3, 1);
    EXPECT_EQ(wide, (std::vector<std::uint32_t>{red, 0xFF800080, blue}));
    // The same size comes back unchanged; nonsense sizes give nothing.
    const std::vector<std::uint32_t> four{red, blue, clear, 0xFF123456};
    EXPECT_EQ(ScaleImage(four, 2, 2, 2, 2), four);
    EXPECT_TRUE(ScaleImage(four, 2, 2, 0, 3).empty());
    EXPECT_TRUE(ScaleImage(four, 3, 2, 3, 3).empty()) << "fewer pixels than the size says";
}

TEST(Dpi, AScaledImageKeepsItsAverageColour) {
    // A 19 x 17 picture (a toolbar button) at 144 DPI: 29 x 26 pixels whose
    // mean red matches the original's.
    std::vector<std::uint32_t> picture(19 * 17);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = 0xFF000000 | static_cast<std::uint32_t>((i * 37) % 256) << 16;
    const int w = ScaleToDpi(19, 144), h = ScaleToDpi(17, 144);
    const auto scaled = ScaleImage(picture, 19, 17, w, h);
    ASSERT_EQ(scaled.size(), static_cast<std::size_t>(w * h));
    const auto meanRed = [](const std::vector<std::uint32_t>& p) {
        double sum = 0;
        for (std::uint32_t v : p)
            sum += (v >> 16) & 0xFF;
        return sum / static_cast<double>(p.size());
    };
    EXPECT_NEAR(meanRed(scaled), meanRed(picture), 1.5);
}
