#include "printing/PageMargins.h"

namespace {

constexpr const char* kMarginNames[4] = {"LeftMargin", "TopMargin", "RightMargin", "BottomMargin"};

int* MarginField(PageMargins& m, int i) {
    int* fields[4] = {&m.left, &m.top, &m.right, &m.bottom};
    return fields[i];
}

} // namespace

int MarginUnitsPerInch(int units) {
    return units == kMarginsInHundredthsOfMillimetre ? 2540 : 1000;
}

PageMargins LoadPageMargins(SettingsStore& store, bool usMeasurement) {
    int units = 0;
    int stored[4] = {-1, -1, -1, -1};
    if (auto key = store.Open(PersistMode::Read)) {
        key->ReadInt("MarginUnits", units);
        for (int i = 0; i < 4; ++i)
            key->ReadInt(kMarginNames[i], stored[i]);
    }
    PageMargins m;
    if (units != kMarginsInThousandthsOfInch && units != kMarginsInHundredthsOfMillimetre)
        units = usMeasurement ? kMarginsInThousandthsOfInch : kMarginsInHundredthsOfMillimetre;
    m.units = units;
    for (int i = 0; i < 4; ++i)
        *MarginField(m, i) = stored[i] >= 0 ? stored[i] : MarginUnitsPerInch(units);
    return m;
}

void SavePageMargins(SettingsStore& store, const PageMargins& margins) {
    PageMargins m = margins;
    if (auto key = store.Open(PersistMode::Write)) {
        key->WriteInt("MarginUnits", m.units);
        for (int i = 0; i < 4; ++i)
            key->WriteInt(kMarginNames[i], *MarginField(m, i));
    }
}
