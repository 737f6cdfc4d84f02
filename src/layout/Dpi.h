// Sizes for screens of any sharpness. Fixed sizes in the drawing code are
// pixels of a 96-DPI screen and grow with the screen's DPI; font heights in the
// settings are such pixels too, so a stored font shows at the same point size
// on every screen and prints as it always has. Toolbar pictures, drawn for 96
// DPI, are resampled for the screen.
#pragma once

#include <cstdint>
#include <vector>

namespace layout {

inline constexpr int kBaseDpi = 96;

// value × dpi / 96 to the nearest integer, halves away from zero; a DPI that is
// not positive counts as 96.
int ScaleToDpi(int value, int dpi);
// The other way: pixels at dpi as pixels at 96 DPI.
int ScaleFromDpi(int value, int dpi);
// value × to / from, rounded as above: a size kept for one DPI moved to another.
int ScaleBetweenDpi(int value, int from, int to);

// A picture of 0xAARRGGBB pixels, rows top first, resampled to another size:
// each new pixel averages the old pixels it covers (weighted by the part it
// covers), in premultiplied alpha so that see-through pixels add no colour.
// Sizes below 1 give an empty picture.
std::vector<std::uint32_t> ScaleImage(const std::vector<std::uint32_t>& pixels, int width,
                                      int height, int newWidth, int newHeight);

} // namespace layout
