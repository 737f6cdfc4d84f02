#include "common/WordList.h"

#include "common/Encoding.h"
#include "common/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quillon::tools {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// Tabs are fine in the supplementary text (only the first one splits a line).
bool HasControl(std::string_view s, bool tabAllowed = false) {
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && !(tabAllowed && b == '\t')) || b == 0x7F) return true;
    }
    return false;
}

bool IsPlain(std::string_view s) {
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b != ' ' && b != '-' && b != '\'' && FoldLetter(b) == kNotALetter) return false;
    }
    return true;
}

bool IsPossessive(std::string_view s) {
    if (s.size() < 2 || (s.back() != 's' && s.back() != 'S')) return false;
    const auto b = static_cast<unsigned char>(s[s.size() - 2]);
    return b == '\'' || b == 0x92; // ' or the typographic ’
}

} // namespace

std::vector<Entry> ParseWordList(std::string_view bytes, ListFormat format,
                                 const ListFilter& filter, ListStats& stats) {
    std::vector<Entry> out;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    stats.utf8 = IsValidUtf8(bytes);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++stats.lines;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::string_view text = line, supplement;
        if (format == ListFormat::WordNetPhrases) {
            // Licence lines start with blanks; a lemma is the first field.
            if (line.empty() || line.front() == ' ') {
                ++stats.empty;
                continue;
            }
            text = line.substr(0, line.find(' '));
            if (text.find('_') == std::string_view::npos) {
                ++stats.empty;
                continue;
            }
        } else if (const auto tab = line.find('\t'); tab != std::string_view::npos) {
            text = line.substr(0, tab);
            supplement = line.substr(tab + 1);
        }
        text = Trim(text);
        if (text.empty()) {
            ++stats.empty;
            continue;
        }
        Entry entry;
        if (stats.utf8) {
            auto t = Utf8ToCp1252(text);
            auto s = Utf8ToCp1252(supplement);
            if (!t || !s) {
                ++stats.unconvertible;
                continue;
            }
            entry.text = std::move(*t);
            entry.supplement = std::move(*s);
        } else {
            entry.text = text;
            entry.supplement = supplement;
        }
        if (format == ListFormat::WordNetPhrases)
            for (char& c : entry.text)
                if (c == '_') c = ' ';
        if (HasControl(entry.text) || HasControl(entry.supplement, true)) {
            ++stats.controls;
            continue;
        }
        if ((filter.dropPossessives && IsPossessive(entry.text)) ||
            (filter.plainOnly && !IsPlain(entry.text))) {
            ++stats.filtered;
            continue;
        }
        ++stats.entries;
        out.push_back(std::move(entry));
    }
    return out;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + Platform().systemToUtf8(path) + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        error = "cannot read " + Platform().systemToUtf8(path);
        return false;
    }
    bytes = std::move(buffer).str();
    return true;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error) {
    // Written beside the target and then put in its place in one step, so a
    // failed run leaves the old file where it was, never a half-written one
    // and never none.
    const std::string temporary = path + ".tmp";
    const std::string shown = Platform().systemToUtf8(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot create " + shown + ": " + std::strerror(errno);
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            error = "cannot write " + shown;
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::string why;
    if (!Platform().replaceFile(temporary, path, why)) {
        error = "cannot replace " + shown + ": " + why;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

std::string ArgumentToCp1252(std::string_view argument) {
    if (!IsValidUtf8(argument)) return std::string(argument);
    if (auto converted = Utf8ToCp1252(argument)) return *converted;
    std::string out;
    // Convert character by character so only the foreign ones become '?'.
    std::size_t i = 0;
    while (i < argument.size()) {
        std::size_t len = 1;
        const auto b = static_cast<unsigned char>(argument[i]);
        if (b >= 0xF0)
            len = 4;
        else if (b >= 0xE0)
            len = 3;
        else if (b >= 0xC0)
            len = 2;
        auto one = Utf8ToCp1252(argument.substr(i, len));
        out += one ? *one : "?";
        i += len;
    }
    return out;
}

} // namespace quillon::tools
