// The texts of the search's string-table ids, for programs without the Windows
// resources (the command line, tests).
#pragma once

#include <string_view>

// Empty for an id the search does not use.
std::string_view SearchStringText(int id);
