#include "lookup/CommandLine.h"

std::string QuoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos)
        return std::string(argument);
    std::string quoted(1, '"');
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there they are doubled and
        // the quote itself escaped.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\'); // so that they do not escape the closing quote
    quoted += '"';
    return quoted;
}

std::string ProgramCommandLine(std::string_view program, std::string_view argument) {
    std::string line;
    line.reserve(program.size() + argument.size() * 2 + 5);
    line.append(1, '"').append(program).append(1, '"');
    if (!argument.empty()) line.append(1, ' ').append(QuoteArgument(argument));
    return line;
}
