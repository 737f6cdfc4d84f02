// Stored values that read cleanly but cannot have been meant: a hand-edited
// or damaged registry value, or one another version wrote. Each counts as
// absent, so the reader takes its default instead of silently misbehaving
// (an empty result list, near-white notation, an answer box too small to
// type in). Values that are merely large stay: the search bounds them.
#pragma once

#include "settings/SettingsText.h"

#include <string_view>

// The maximum number of pieces when none is stored.
inline constexpr int kDefaultMaxPieces = 4;
// A font taller or wider than this many pixels, either way, is not meant.
inline constexpr int kFontPixelLimit = 500;

// A stored maximum of pieces below 1 (a DWORD of 4,000,000,000 reads back
// negative) gives the default.
int MaxPiecesOrDefault(int stored);

// An empty colour text, or one with a component outside 0-255, gives fallback.
Colour ColourOrDefault(std::string_view text, Colour fallback);

// A font text whose colour has a component outside 0-255, or whose height or
// width lies beyond kFontPixelLimit either way, gives fallback.
FontSetting FontOrDefault(std::string_view text, const FontSetting& fallback);
