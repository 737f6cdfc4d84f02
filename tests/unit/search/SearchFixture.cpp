#include "SearchFixture.h"

#include "OwdTestWriter.h"
#include "search/WordplaySearch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <filesystem>
#include <unistd.h>

std::string WriteDictionary(const std::vector<std::string>& words,
                            const std::set<std::string>& common) {
    static std::atomic<int> serial{0};
    OwdLayout file;
    file.version = 1;
    file.description = "search test";
    file.firstGroup.resize(2);
    file.flags.resize(2);
    // Every letter in both cases has a code, as in a real dictionary, so typed
    // answers fold to the canonical lower-case letters.
    file.extraBytes = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (const std::string& word : words) {
        std::size_t letters = 0;
        for (const char c : word)
            letters += std::isalpha(static_cast<unsigned char>(c)) ? 1 : 0;
        if (file.firstGroup.size() <= letters) {
            file.firstGroup.resize(letters + 1);
            file.flags.resize(letters + 1);
        }
        file.firstGroup[letters].push_back(word);
        file.flags[letters].push_back(common.count(word) ? 1 : 0);
    }
    const auto path =
        std::filesystem::temp_directory_path() /
        ("quillon-search-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".owd");
    EXPECT_TRUE(SaveOwd(path.string(), WriteOwd(file)));
    return path.string();
}

AbbreviationSet Abbreviations(const std::vector<std::string>& extra) {
    AbbreviationSet set;
    for (const char c : PlainAlphabet)
        set.insert(std::string(1, c));
    set.insert(extra.begin(), extra.end());
    return set;
}

std::vector<WordplayRow> SearchRows(const std::string& listName, const std::string& answer,
                                    int maxPieces, const AbbreviationSet& abbreviations,
                                    WordplaySearch::Reading reading) {
    OWDictionaryList list(listName);
    EXPECT_FALSE(list.FirstInvalidPath().has_value());
    WordplaySearch search(list, abbreviations, maxPieces, reading);
    search.SetAnswer(answer);
    RowCollector rows;
    search.Run(rows);
    for (const WordplayRow& row : rows.rows)
        EXPECT_EQ(row.text.size(), row.style.size()) << row.text;
    return rows.rows;
}

std::vector<WordplayRow> SearchWords(const std::vector<std::string>& words,
                                     const std::string& answer, int maxPieces,
                                     const AbbreviationSet& abbreviations) {
    return SearchRows(WriteDictionary(words), answer, maxPieces, abbreviations);
}

std::vector<std::string> TextsOfType(const std::vector<WordplayRow>& rows, int type) {
    std::vector<std::string> texts;
    for (const WordplayRow& row : rows) {
        if (row.type == type) texts.push_back(row.text);
    }
    return texts;
}

WordplayRow RowWithText(const std::vector<WordplayRow>& rows, const std::string& text) {
    for (const WordplayRow& row : rows) {
        if (row.text == text) return row;
    }
    ADD_FAILURE() << "no row " << text;
    return {};
}

namespace {
// Removes the dictionaries the tests wrote when the test program ends.
struct TemporaryFiles {
    ~TemporaryFiles() {
        std::error_code error;
        const std::string prefix = "quillon-search-" + std::to_string(::getpid()) + "-";
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), error)) {
            if (entry.path().filename().string().rfind(prefix, 0) == 0)
                std::filesystem::remove(entry.path(), error);
        }
    }
} temporaryFiles;
} // namespace
