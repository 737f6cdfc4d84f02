#include "common/Phrases.h"

#include "common/Encoding.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quillon::tools {
namespace {

constexpr std::array<std::string_view, 7> kOnlyRanks = {
    "genus", "subfamily", "suborder", "superorder", "subclass", "phylum", "tribe"};
constexpr std::array<std::string_view, 5> kAlsoWords = {"family", "order", "class", "division",
                                                        "kingdom"};

bool OneOf(std::string_view word, const auto& list) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

std::size_t Letters(std::string_view word) {
    return static_cast<std::size_t>(std::count_if(word.begin(), word.end(), [](char c) {
        return FoldLetter(static_cast<unsigned char>(c)) != kNotALetter;
    }));
}

} // namespace

std::unordered_set<std::string> OrdinaryWords(const std::vector<Entry>& entries,
                                              const std::unordered_set<std::string>& common) {
    if (!common.empty()) return common;
    std::unordered_set<std::string> words;
    for (const Entry& e : entries)
        if (e.text.find(' ') == std::string::npos && LowerCp1252(e.text) == e.text)
            words.insert(e.text);
    return words;
}

void DropUnusablePhrases(std::vector<Entry>& entries,
                         const std::unordered_set<std::string>& ordinaryWords, PhraseStats& stats) {
    std::erase_if(entries, [&](const Entry& e) {
        if (e.text.find(' ') == std::string::npos) return false;
        const std::vector<std::string_view> words = Words(e.text);
        if (words.size() < 2) return false;
        const std::string first = LowerCp1252(words.front());
        if (OneOf(first, kOnlyRanks) || (OneOf(first, kAlsoWords) && words.size() == 2 &&
                                         !ordinaryWords.count(std::string(words[1])))) {
            ++stats.taxonomic;
            return true;
        }
        if (Letters(words.back()) == 1) {
            ++stats.loneLetter;
            return true;
        }
        return false;
    });
}

} // namespace quillon::tools
