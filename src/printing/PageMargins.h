// The page margins of printouts, as the page-setup dialog edits them: in
// thousandths of an inch or in hundredths of a millimetre (the dialog's own
// unit flags, 4 and 8), stored unprefixed beside the results view's settings
// as "MarginUnits", "LeftMargin", "TopMargin", "RightMargin", "BottomMargin".
#pragma once

#include "settings/SettingsStore.h"

inline constexpr int kMarginsInThousandthsOfInch = 4;
inline constexpr int kMarginsInHundredthsOfMillimetre = 8;

struct PageMargins {
    int units = kMarginsInThousandthsOfInch;
    int left = 1000;
    int top = 1000;
    int right = 1000;
    int bottom = 1000;

    friend bool operator==(const PageMargins&, const PageMargins&) = default;
};

// 1000 for thousandths of an inch, 2540 for hundredths of a millimetre.
int MarginUnitsPerInch(int units);

// The stored margins. Units that are missing or neither 4 nor 8 follow the
// user's measurement system (inches where it is the U.S. one, millimetres
// elsewhere); each margin that is missing or negative is one inch.
PageMargins LoadPageMargins(SettingsStore& store, bool usMeasurement);
void SavePageMargins(SettingsStore& store, const PageMargins& margins);
