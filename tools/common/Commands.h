// The OWBUILD and OWMERGE programs as functions, so tests run them in-process.
// Each returns the process exit code: 0 success, 1 a failure while working
// (unreadable list, unwritable output, invalid dictionary), 2 a command-line
// mistake.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quillon::tools {

int RunOwbuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunOwmerge(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The arguments after the program name.
std::vector<std::string> Arguments(int argc, char** argv);

} // namespace quillon::tools
