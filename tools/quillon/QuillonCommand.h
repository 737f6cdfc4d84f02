// The quillon command line: the wordplay search and the dictionary facts for a
// terminal or a script.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quillon::cli {

struct Environment {
    std::string programDirectory; // where the default dictionary and tables are
    bool terminal = false;        // standard output is a terminal (colours on)
    std::istream* in = nullptr;   // standard input, for --answers -
};

// Runs one command line (without the program name); returns the exit code:
// 0 done (also when nothing was found), 1 an unusable dictionary or answers
// file, 2 a mistake on the command line (as OWBUILD and OWMERGE).
int RunQuillon(const std::vector<std::string>& args, const Environment& environment,
               std::ostream& out, std::ostream& err);

// "Dictionaries/Standard English.owd" in the program's folder, in the
// system's encoding.
std::string DefaultDictionary(const Environment& environment);

} // namespace quillon::cli
