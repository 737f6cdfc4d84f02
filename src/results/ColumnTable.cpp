#include "results/ColumnTable.h"

#include <utility>

void ColumnTable::Reset() {
    for (int i = 0; i < Positions; ++i)
        slots_[static_cast<std::size_t>(i)] = ColumnSlot{static_cast<std::uint8_t>(i), false};
}

void ColumnTable::Assign(const std::array<int, Positions>& kinds,
                         const std::array<bool, Positions>& descending) {
    if (kinds[0] != ColumnKind::Wordplay) {
        Reset();
        return;
    }
    bool seen[ColumnKind::Count] = {};
    for (int kind : kinds) {
        if (kind < 0 || kind >= ColumnKind::Count || seen[kind]) {
            Reset();
            return;
        }
        seen[kind] = true;
    }
    for (std::size_t i = 0; i < slots_.size(); ++i)
        slots_[i] = ColumnSlot{static_cast<std::uint8_t>(kinds[i]), descending[i]};
}

ColumnSlot ColumnTable::Slot(int position) const {
    if (position < 0 || position >= Positions) return ColumnSlot{ColumnKind::Wordplay, false};
    return slots_[static_cast<std::size_t>(position)];
}

int ColumnTable::SortIndicator(int position) const {
    if (position <= 0 || position >= Positions) return 0;
    return Descending(position) ? -1 : 1;
}

int ColumnTable::TitleId(int position) const {
    switch (Kind(position)) {
    case ColumnKind::Pieces:
        return ColumnTitleId::Pieces;
    case ColumnKind::Type:
        return ColumnTitleId::Type;
    default:
        return ColumnTitleId::Wordplay;
    }
}

void ColumnTable::ToggleDirection(int position) {
    if (position == 0) {
        for (ColumnSlot& slot : slots_)
            slot.descending = !slot.descending;
    } else if (position > 0 && position < Positions) {
        ColumnSlot& slot = slots_[static_cast<std::size_t>(position)];
        slot.descending = !slot.descending;
    }
}

void ColumnTable::SetDescending(int position, bool descending) {
    if (position == 1 || position == 2)
        slots_[static_cast<std::size_t>(position)].descending = descending;
}

void ColumnTable::Promote(int position) {
    if (CanPromote(position)) std::swap(slots_[1], slots_[2]);
}

void ColumnTable::Demote(int position) {
    if (CanDemote(position)) std::swap(slots_[1], slots_[2]);
}
