// Scratch folders and reading dictionaries back through the program's reader.
#pragma once

#include "dictionary/InputEngine.h"
#include "dictionary/OWDictionaryList.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tooltest {

// A folder of its own for one test, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                ("quillon-tools-" + std::to_string(std::random_device{}()) + "-" +
                 std::to_string(serial++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
        return File(name);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::filesystem::path path_;
};

// One decoded entry: its slot, its text and its supplementary text (1252 bytes).
struct ReadEntry {
    int slot;
    std::string text;
    std::string supplement;
    std::string key; // plain letters through the dictionary's letter table
    bool operator==(const ReadEntry&) const = default;
};

// Every first-group entry of every slot, read with InputEngine.
inline std::vector<ReadEntry> ReadBack(const std::string& path) {
    std::vector<ReadEntry> out;
    OWDictionaryList list(path);
    if (!list.IsValid(0)) return out;
    InputEngine input(list, 0);
    auto* record = const_cast<std::uint8_t*>(input.Record());
    for (int n = 1; n < list.SlotCount(0); ++n) {
        if (!input.Start(n)) continue;
        for (;;) {
            std::memset(record + owrecord::kText, 0, owrecord::kSize - owrecord::kText);
            input.Next();
            if (record[0] == owrecord::kEnd) break;
            ReadEntry e{n, reinterpret_cast<const char*>(record + owrecord::kText), {}, {}};
            e.supplement =
                reinterpret_cast<const char*>(record + owrecord::kText + e.text.size() + 1);
            for (int i = 0; record[i] != owrecord::kEnd; ++i)
                e.key += static_cast<char>(list.LetterChar(0, record[i]));
            out.push_back(e);
        }
    }
    return out;
}

} // namespace tooltest
