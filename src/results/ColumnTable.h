// Which column kind sits at each of the result list's three positions, and in which
// direction it sorts. Position 0 always shows the wordplay; positions 1 and 2 are
// the sort keys, in that order, with the creation order (or score) as the last key.
#pragma once

#include <array>
#include <cstdint>

namespace ColumnKind {
inline constexpr std::uint8_t Wordplay = 0;
inline constexpr std::uint8_t Pieces = 1;
inline constexpr std::uint8_t Type = 2;
inline constexpr int Count = 3;
} // namespace ColumnKind

// String-table ids of the column titles.
namespace ColumnTitleId {
inline constexpr int Wordplay = 9060;
inline constexpr int Type = 9070;
inline constexpr int Pieces = 9080;
} // namespace ColumnTitleId

struct ColumnSlot {
    std::uint8_t kind = 0;
    bool descending = false;

    friend bool operator==(const ColumnSlot&, const ColumnSlot&) = default;
};

class ColumnTable {
public:
    static constexpr int Positions = 3;

    ColumnTable() { Reset(); }

    // Position i shows kind i, all ascending.
    void Reset();

    // Installs stored kinds and flags; a set of kinds that is not a permutation of
    // 0, 1, 2, or that does not put the Wordplay kind at position 0 (the
    // notation is always drawn there), is rejected as a whole and leaves the
    // default table.
    void Assign(const std::array<int, Positions>& kinds,
                const std::array<bool, Positions>& descending);

    // Positions outside 0..2 read as the Wordplay kind, ascending.
    ColumnSlot Slot(int position) const;
    std::uint8_t Kind(int position) const { return Slot(position).kind; }
    bool Descending(int position) const { return Slot(position).descending; }

    // Header arrow: 0 at position 0 (it never sorts), -1 descending, +1 ascending.
    int SortIndicator(int position) const;
    // String-table id of the title of the kind shown at a position.
    int TitleId(int position) const;

    // Header click: position 0 flips all three directions, 1 or 2 flips its own.
    void ToggleDirection(int position);
    // The Ascending / Descending Sort commands; only positions 1 and 2 change.
    void SetDescending(int position, bool descending);
    // Promote exchanges positions p-1 and p (p = 2); Demote p and p+1 (p = 1).
    bool CanPromote(int position) const { return position == 2; }
    bool CanDemote(int position) const { return position == 1; }
    void Promote(int position);
    void Demote(int position);

    friend bool operator==(const ColumnTable&, const ColumnTable&) = default;

private:
    std::array<ColumnSlot, Positions> slots_{};
};
