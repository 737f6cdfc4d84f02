// quillon hidden: the phrases of two or three dictionary words that hide each
// answer, best first, as a section of their own for each answer.
#pragma once

#include "quillon/QuillonCommand.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace quillon::cli {

// The usage of the hidden command, for its --help and its mistakes.
extern const char* const kHiddenUsage;

// The arguments after "hidden"; returns the exit code as RunQuillon does.
int RunHidden(const std::vector<std::string>& args, const Environment& environment,
              std::ostream& out, std::ostream& err);

} // namespace quillon::cli
