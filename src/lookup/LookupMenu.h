// Rewriting an External Lookup submenu in place. The submenu always ends
// with two fixed items (a separator and "&Setup..."); the lookup items sit
// above them, one per enabled method. Items already there are overwritten,
// missing ones inserted and surplus ones deleted, so the submenu matches the
// set however it was edited since it last opened.
#pragma once

#include "lookup/LookupMethodSet.h"

#include <vector>

// The few operations the rewrite needs of a menu; the Win32 side implements
// them on a real menu.
class LookupMenuEditor {
public:
    virtual ~LookupMenuEditor() = default;
    virtual int Count() const = 0;
    virtual void Replace(int position, const LookupMenuItem& item) = 0;
    virtual void Insert(int position, const LookupMenuItem& item) = 0;
    virtual void Delete(int position) = 0;
};

inline constexpr int kLookupMenuFixedItems = 2;

void ApplyLookupMenu(LookupMenuEditor& menu, const std::vector<LookupMenuItem>& items);
