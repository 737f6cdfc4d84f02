// Walking a command line: the three programs take options, option values (the
// argument after the option) and plain arguments in any order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillon::tools {

class ArgumentCursor {
public:
    explicit ArgumentCursor(const std::vector<std::string>& args) : args_(args) {}

    // Moves to the next argument; false once they are all used.
    bool Next() { return ++next_ <= args_.size(); }
    const std::string& Current() const { return args_[next_ - 1]; }
    // Takes the argument after the current option as its value; false when the
    // option is the last argument.
    bool TakeValue(std::string& into) {
        if (next_ >= args_.size()) return false;
        into = args_[next_++];
        return true;
    }
    bool IsHelp() const {
        const std::string& a = Current();
        return a == "-h" || a == "--help" || a == "/?";
    }
    // A '-' followed by anything; a lone "-" is a plain argument.
    bool IsOption() const { return Current().size() > 1 && Current()[0] == '-'; }
    // Every argument after the current one, which ends the walk.
    std::vector<std::string> TakeRest() {
        std::vector<std::string> rest(args_.begin() + static_cast<std::ptrdiff_t>(next_),
                                      args_.end());
        next_ = args_.size();
        return rest;
    }

private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0; // index of the argument after the current one
};

} // namespace quillon::tools
