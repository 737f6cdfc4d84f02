#include "TestFiles.h"

#include <atomic>
#include <chrono>

#include "dictionary/InputEngine.h"

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> serial{0};
    dir_ = fs::temp_directory_path() /
           ("quillon-dict-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
            std::to_string(serial++));
    fs::create_directories(dir_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string TempFolder::Write(const std::string& name,
                              const std::vector<std::uint8_t>& bytes) const {
    std::string path = File(name);
    SaveOwd(path, bytes);
    return path;
}

std::string TempFolder::Write(const std::string& name, const OwdLayout& layout) const {
    return Write(name, WriteOwd(layout));
}

void TouchBy(const std::string& path, int seconds) {
    auto t = fs::last_write_time(path);
    fs::last_write_time(path, t + std::chrono::seconds(seconds));
}

std::vector<DecodedEntry> ReferenceDecode(const OWDictionaryList::Dictionary& d,
                                          const std::vector<std::uint8_t>& file, int n) {
    std::vector<DecodedEntry> out;
    bool present = n == d.lengthSlots - 1 || d.sectionOffset[n + 1] > d.sectionOffset[n];
    if (!present || d.sectionOffset[n] < 0) return out;
    std::size_t bit = static_cast<std::size_t>(d.sectionOffset[n]) * 8;
    auto nextBit = [&](int& b) {
        if (bit / 8 >= file.size()) return false;
        b = (file[bit / 8] >> (bit % 8)) & 1;
        ++bit;
        return true;
    };
    for (;;) {
        DecodedEntry e;
        bool inKey = true;
        for (;;) {
            int node = OWDictionaryList::Dictionary::kRoot;
            while (node >= OWDictionaryList::Dictionary::kRoot) {
                int b;
                if (!nextBit(b)) return out;
                node = d.decodeTree[node][b];
                if (node < 0) return out;
            }
            if (node == 0) break;
            if (node == 10) {
                if (!inKey) e.lineFeedPart += '\n';
                inKey = false;
                e.hasLineFeed = true;
                continue;
            }
            (inKey ? e.text : e.lineFeedPart) += static_cast<char>(node);
            if (inKey && d.decodeTree[node][1] != 255)
                e.key += static_cast<char>('a' + d.decodeTree[node][1]);
        }
        if (e.key.empty()) return out;
        if (d.version > 0 && !nextBit(e.flag)) return out;
        out.push_back(e);
    }
}

std::vector<DecodedEntry> EngineRead(OWDictionaryList& list, int index, int n) {
    std::vector<DecodedEntry> out;
    InputEngine engine(list, index);
    if (!engine.Start(n)) return out;
    for (int guard = 0; guard < 10000000; ++guard) {
        const std::uint8_t* r = engine.Next();
        if (r[0] == owrecord::kEnd) break;
        DecodedEntry e;
        for (int i = 0; r[i] != owrecord::kEnd; ++i)
            e.key += static_cast<char>('a' + r[i]);
        const char* text = reinterpret_cast<const char*>(r + owrecord::kText);
        e.text = text;
        e.lineFeedPart = text + e.text.size() + 1;
        e.flag = engine.Flag();
        out.push_back(e);
    }
    return out;
}

std::string KeyOf(const std::string& text) {
    std::string key;
    for (char c : text) {
        if (c == '\n') break;
        if (c >= 'a' && c <= 'z') key += c;
        if (c >= 'A' && c <= 'Z') key += static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

bool SameEntry(const DecodedEntry& reference, const DecodedEntry& engine) {
    if (reference.key != engine.key || reference.text != engine.text ||
        reference.flag != engine.flag)
        return false;
    if (!reference.hasLineFeed) return true;
    // A second line feed is also stored as NUL, so compare up to the first one.
    std::string part = reference.lineFeedPart.substr(0, reference.lineFeedPart.find('\n'));
    return engine.lineFeedPart == part;
}
