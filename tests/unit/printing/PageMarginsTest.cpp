// Page margins in the settings: defaults from the measurement system, damaged
// values, and a round trip.
#include "printing/PageMargins.h"

#include <gtest/gtest.h>

namespace {

TEST(PageMargins, MissingOrDamagedValuesFallBackToOneInchInTheLocalUnit) {
    struct Case {
        const char* what;
        int units; // 0: not stored
        int left;  // -2: not stored
        bool us;
        PageMargins expected;
    };
    const Case cases[] = {
        {"first run, U.S.", 0, -2, true, {4, 1000, 1000, 1000, 1000}},
        {"first run, metric", 0, -2, false, {8, 2540, 2540, 2540, 2540}},
        {"units neither 4 nor 8", 7, -2, true, {4, 1000, 1000, 1000, 1000}},
        {"stored millimetres win over the locale", 8, 1200, true, {8, 1200, 2540, 2540, 2540}},
        {"stored inches", 4, 0, false, {4, 0, 1000, 1000, 1000}},
        {"a negative margin", 4, -300, false, {4, 1000, 1000, 1000, 1000}},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        if (auto key = store.Open(PersistMode::Write)) {
            if (c.units) key->WriteInt("MarginUnits", c.units);
            if (c.left != -2) key->WriteInt("LeftMargin", c.left);
        }
        EXPECT_EQ(LoadPageMargins(store, c.us), c.expected) << c.what;
        EXPECT_EQ(store.LiveKeys(), 0);
    }
}

TEST(PageMargins, SavedMarginsReadBackWhateverTheLocale) {
    MemorySettingsStore store;
    const PageMargins m{kMarginsInHundredthsOfMillimetre, 1, 2, 3, 4};
    SavePageMargins(store, m);
    EXPECT_EQ(LoadPageMargins(store, true), m);
    ASSERT_NE(store.Find("BottomMargin"), nullptr);
    EXPECT_EQ(store.Find("BottomMargin")->type, MemorySettingsStore::ValueType::Dword);
    EXPECT_EQ(MarginUnitsPerInch(kMarginsInThousandthsOfInch), 1000);
    EXPECT_EQ(MarginUnitsPerInch(kMarginsInHundredthsOfMillimetre), 2540);
}

} // namespace
