#include "search/SearchStrings.h"

#include "search/SearchHost.h"

std::string_view SearchStringText(int id) {
    switch (id) {
    case SearchStringId::Searching:
        return "Searching for possible wordplay";
    case SearchStringId::NoWordplay:
        return "No wordplay was found for the answer";
    case SearchStringId::PressF1:
        return "Press F1 for help";
    case SearchStringId::InvalidDictionaryText:
        return "\nis not a valid Orbweave Dictionary File: select a new dictionary file using "
               "the Options... command on the Tools menu.";
    default:
        return {};
    }
}
