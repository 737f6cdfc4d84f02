#include "lookup/LookupMenu.h"

void ApplyLookupMenu(LookupMenuEditor& menu, const std::vector<LookupMenuItem>& items) {
    int position = 0;
    for (const LookupMenuItem& item : items) {
        if (menu.Count() > position + kLookupMenuFixedItems)
            menu.Replace(position, item);
        else
            menu.Insert(position, item);
        ++position;
    }
    // A menu that has lost its fixed items is left alone rather than emptied.
    while (menu.Count() > position + kLookupMenuFixedItems)
        menu.Delete(position);
}
