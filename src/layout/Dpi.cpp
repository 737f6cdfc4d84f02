#include "layout/Dpi.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace layout {

int ScaleBetweenDpi(int value, int from, int to) {
    if (from <= 0) from = kBaseDpi;
    if (to <= 0) to = kBaseDpi;
    const std::int64_t product = static_cast<std::int64_t>(value) * to;
    const std::int64_t half = from / 2;
    const std::int64_t scaled =
        product >= 0 ? (product + half) / from : -((-product + half) / from);
    return static_cast<int>(std::clamp<std::int64_t>(scaled, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

int ScaleToDpi(int value, int dpi) {
    return ScaleBetweenDpi(value, kBaseDpi, dpi);
}

int ScaleFromDpi(int value, int dpi) {
    return ScaleBetweenDpi(value, dpi, kBaseDpi);
}

namespace {

// How much of old pixel i (of `size`) lies under new pixel j (of `newSize`),
// both measured in units of 1 / (size × newSize) of the whole length.
std::vector<std::vector<std::pair<int, double>>> Coverage(int size, int newSize) {
    std::vector<std::vector<std::pair<int, double>>> cover(static_cast<std::size_t>(newSize));
    for (int j = 0; j < newSize; ++j) {
        // New pixel j spans [j × size, (j + 1) × size) in units where an old
        // pixel is newSize long.
        const std::int64_t from = static_cast<std::int64_t>(j) * size;
        const std::int64_t to = from + size;
        for (int i = static_cast<int>(from / newSize);
             i < size && static_cast<std::int64_t>(i) * newSize < to; ++i) {
            const std::int64_t start =
                std::max<std::int64_t>(from, static_cast<std::int64_t>(i) * newSize);
            const std::int64_t end =
                std::min<std::int64_t>(to, static_cast<std::int64_t>(i + 1) * newSize);
            if (end > start)
                cover[static_cast<std::size_t>(j)].push_back(
                    {i, static_cast<double>(end - start) / size});
        }
    }
    return cover;
}

} // namespace

std::vector<std::uint32_t> ScaleImage(const std::vector<std::uint32_t>& pixels, int width,
                                      int height, int newWidth, int newHeight) {
    if (width < 1 || height < 1 || newWidth < 1 || newHeight < 1 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    const auto across = Coverage(width, newWidth);
    const auto down = Coverage(height, newHeight);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(newWidth) *
                                   static_cast<std::size_t>(newHeight));
    for (int y = 0; y < newHeight; ++y)
        for (int x = 0; x < newWidth; ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (const auto& [sy, wy] : down[static_cast<std::size_t>(y)])
                for (const auto& [sx, wx] : across[static_cast<std::size_t>(x)]) {
                    const std::uint32_t p =
                        pixels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(sx)];
                    const double w = wx * wy;
                    const double alpha = static_cast<double>(p >> 24) / 255.0;
                    a += w * alpha;
                    r += w * alpha * ((p >> 16) & 0xFF);
                    g += w * alpha * ((p >> 8) & 0xFF);
                    b += w * alpha * (p & 0xFF);
                }
            // The weights of one new pixel add up to 1.
            const auto channel = [a](double premultiplied) {
                return a <= 0 ? 0u
                              : static_cast<std::uint32_t>(
                                    std::clamp(std::lround(premultiplied / a), 0L, 255L));
            };
            const auto alpha =
                static_cast<std::uint32_t>(std::clamp(std::lround(a * 255.0), 0L, 255L));
            out[static_cast<std::size_t>(y) * static_cast<std::size_t>(newWidth) +
                static_cast<std::size_t>(x)] =
                alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
        }
    return out;
}

} // namespace layout
