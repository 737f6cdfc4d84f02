// The abbreviation set a search uses for a dictionary list.
#pragma once

#include "dictionary/OWDictionaryList.h"
#include "results/AbbreviationSet.h"

#include <string>

// Every letter of the first dictionary's alphabet together with the keys of the
// abbreviation table at `path`, folded to that dictionary's canonical letters.
// An empty list, or a table that cannot be read, leaves just the letters (or
// nothing).
AbbreviationSet LoadListAbbreviations(const OWDictionaryList& list, const std::string& path);
