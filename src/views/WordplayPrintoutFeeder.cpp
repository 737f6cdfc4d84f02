#include "views/WordplayPrintoutFeeder.h"

#include "results/ResultList.h"

#include <commctrl.h>

int WordplayPrintoutFeeder::GetLineCount() {
    return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

int WordplayPrintoutFeeder::GetSelectedCount() {
    return static_cast<int>(SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0));
}

int WordplayPrintoutFeeder::NextSelected(int item) const {
    return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(item),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
}

void WordplayPrintoutFeeder::SetSelectedOnly(bool selectedOnly) {
    selectedOnly_ = selectedOnly;
    position_ = -1;
    exhausted_ = false;
}

void WordplayPrintoutFeeder::SeekLine(int n) {
    exhausted_ = false;
    if (!selectedOnly_) {
        position_ = n - 1;
        return;
    }
    position_ = -1;
    for (int k = 0; k < n && !exhausted_; ++k) {
        position_ = NextSelected(position_);
        exhausted_ = position_ < 0;
    }
}

std::string WordplayPrintoutFeeder::NextLine() {
    if (exhausted_) return {};
    if (selectedOnly_) {
        position_ = NextSelected(position_);
        // The search would wrap round to the first selected item again.
        exhausted_ = position_ < 0;
    } else {
        ++position_;
    }
    if (exhausted_ || position_ < 0 || static_cast<std::size_t>(position_) >= rows_.size())
        return {};
    return DisplayText(rows_[static_cast<std::size_t>(position_)], true).text;
}
