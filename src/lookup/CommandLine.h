// Command lines for programs started with one argument. Windows hands a
// program its whole command line as one string, and the program's runtime
// (CommandLineToArgvW, or the C runtime's equivalent) splits it again:
//
//   outside quotes   blanks and tabs separate arguments
//   "                starts or ends a quoted part (blanks kept inside)
//   2n backslashes, then "    n backslashes, and the quote acts as above
//   2n+1 backslashes, then "  n backslashes and a literal quote
//   backslashes elsewhere     taken as they are
//
// An argument is written so that this split gives it back exactly: as it
// stands when it holds no blank, tab or quote, otherwise in quotes with each
// quote escaped and the backslashes before a quote (or before the closing
// quote) doubled. A word such as  say "hi"\  can then neither lose its quotes
// nor run into a second argument.
#pragma once

#include <string>
#include <string_view>

std::string QuoteArgument(std::string_view argument);

// The program in quotes (a Windows path holds no quote), then, when the
// argument is not empty, a blank and the argument written as above.
std::string ProgramCommandLine(std::string_view program, std::string_view argument);
