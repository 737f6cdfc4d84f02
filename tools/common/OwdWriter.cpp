#include "common/OwdWriter.h"

#include "common/Encoding.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <tuple>

namespace quillon::tools {
namespace {

// Packs codes into little-endian 32-bit words, lowest bit first.
class BitWriter {
public:
    void Put(std::uint32_t code, unsigned length) {
        for (unsigned k = length; k-- > 0;)
            PutBit((code >> k) & 1);
    }
    void PutBit(unsigned bit) {
        if (used_ == 0) words_.push_back(0);
        words_.back() |= static_cast<std::uint32_t>(bit) << used_;
        used_ = (used_ + 1) % 32;
    }
    // Ends the section on a word boundary.
    void Flush(std::string& out) {
        for (std::uint32_t w : words_)
            for (int i = 0; i < 4; ++i)
                out += static_cast<char>((w >> (8 * i)) & 0xFF);
        words_.clear();
        used_ = 0;
    }

private:
    std::vector<std::uint32_t> words_;
    unsigned used_ = 0;
};

void PutU16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void PutI16(std::string& out, std::int16_t v) {
    PutU16(out, static_cast<std::uint16_t>(v));
}
void PutI32(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((u >> (8 * i)) & 0xFF);
}
void SetI32(std::string& out, std::size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::string Encoded(const Entry& e) {
    std::string bytes = e.text;
    if (!e.supplement.empty()) {
        bytes += '\n';
        bytes += e.supplement;
    }
    return bytes;
}

} // namespace

bool KeyLetters(const std::string& text, std::string& key) {
    key.clear();
    for (char c : text) {
        const int letter = FoldLetter(static_cast<unsigned char>(c));
        if (letter == kNoPlainLetter) return false;
        if (letter >= 0) key += static_cast<char>(letter);
    }
    return true;
}

bool BuildDictionary(std::vector<Entry> entries, const BuildOptions& options, std::string& image,
                     BuildStats& stats, std::string& error, const Progress& progress) {
    const bool v1 = options.version != 0;
    // Sorting and encoding take about the same time; keying is quicker.
    const Progress keying = progress.Part(0, 200), sorting = progress.Part(200, 600),
                   encoding = progress.Part(600, 1000);
    const auto stop = [&error] {
        error = kStoppedError;
        return false;
    };

    // Sort into slots by letter count; within a slot, by the plain letters and
    // then the exact bytes, so duplicates sit together.
    struct Written {
        std::string bytes;
        bool common;
    };
    std::array<std::vector<Written>, kMaxLetters + 1> slots;
    {
        std::array<std::vector<std::tuple<std::string, std::string, bool>>, kMaxLetters + 1> keyed;
        std::string key;
        constexpr std::size_t kReportEvery = 16384;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (i % kReportEvery == 0 && !keying.Step(i, entries.size())) return stop();
            Entry& e = entries[i];
            if (!KeyLetters(e.text, key)) {
                ++stats.noPlainLetter;
                continue;
            }
            if (key.empty()) {
                ++stats.noLetters;
                continue;
            }
            if (key.size() > kMaxLetters) {
                ++stats.tooManyLetters;
                continue;
            }
            std::string bytes = Encoded(e);
            if (bytes.size() + 1 > kMaxEncodedEntry) {
                ++stats.tooLong;
                continue;
            }
            const bool common = v1 && options.common.count(e.text) > 0;
            keyed[key.size()].emplace_back(key, std::move(bytes), common);
        }
        std::size_t toSort = 0, sorted = 0;
        for (const auto& list : keyed)
            toSort += list.size();
        for (std::size_t n = 1; n <= kMaxLetters; ++n) {
            if (!sorting.Step(sorted, toSort)) return stop();
            auto& list = keyed[n];
            sorted += list.size();
            std::sort(list.begin(), list.end());
            const auto end = std::unique(list.begin(), list.end());
            stats.duplicates += static_cast<std::size_t>(list.end() - end);
            list.erase(end, list.end());
            for (auto& [k, bytes, common] : list) {
                stats.marked += common ? 1 : 0;
                slots[n].push_back({std::move(bytes), common});
            }
            stats.perLength[n] = slots[n].size();
            stats.written += slots[n].size();
        }
    }
    unsigned longest = 0;
    for (unsigned n = 1; n <= kMaxLetters; ++n)
        if (!slots[n].empty()) longest = n;
    if (longest == 0) {
        error = "no entries to write";
        return false;
    }
    const unsigned slotCount = longest + 1;

    // Every letter byte gets a code even when unused, so typed accents and
    // capitals map to letters; rare bytes simply get long codes.
    Weights weights{};
    for (unsigned n = 1; n < slotCount; ++n) {
        for (const Written& entry : slots[n])
            for (char c : entry.bytes)
                ++weights[static_cast<unsigned char>(c)];
        weights[0] += slots[n].size();
        if (!slots[n].empty()) weights[0] += v1 ? 2 : 1;
    }
    for (int b = 0; b < 256; ++b)
        if (FoldLetter(static_cast<unsigned char>(b)) >= 0 && weights[b] == 0) weights[b] = 1;
    const CodeTable codes = ChooseCodes(weights);

    // Header.
    image.clear();
    image += v1 ? "OWD1" : "OWD0";
    PutU16(image, static_cast<std::uint16_t>(slotCount));
    if (v1) {
        for (int i = 0; i < 3; ++i)
            PutI32(image, 0);
        for (unsigned n = 0; n < 2 * slotCount; ++n)
            PutI32(image, -1);
        for (unsigned n = 0; n < slotCount; ++n)
            PutI32(image, 0);
    }
    const std::size_t offsetsAt = image.size();
    for (unsigned n = 0; n < slotCount; ++n)
        PutI32(image, 0);
    for (unsigned n = 0; n < slotCount; ++n)
        PutI32(image, static_cast<std::int32_t>(slots[n].size()));
    const std::size_t descriptionSize = v1 ? 1000 : 80;
    std::string description = options.description;
    if (description.size() >= descriptionSize) {
        description.resize(descriptionSize - 1);
        stats.descriptionCut = true;
    }
    description.resize(descriptionSize, '\0');
    image += description;
    PutI16(image, kLetterCount);
    PutI16(image, kLetterCount + 1); // the letters and one class for the rest
    for (int b = 0; b < 256; ++b) {
        const int letter = FoldLetter(static_cast<unsigned char>(b));
        const bool isLetter = letter >= 0 && codes.length[b] > 0;
        // The reader fills its letter table from this field, so a letter byte
        // names its plain lower-case letter; decoding still yields the byte.
        image += static_cast<char>(isLetter ? 'a' + letter : b);
        image += static_cast<char>(codes.length[b]);
        PutI16(image, static_cast<std::int16_t>(isLetter ? letter : -1));
        PutI32(image, static_cast<std::int32_t>(codes.code[b]));
    }
    PutU16(image, 0); // no auxiliary blocks

    // Sections.
    BitWriter bits;
    std::size_t encoded = 0;
    for (unsigned n = 0; n < slotCount; ++n) {
        if (!encoding.Step(encoded, stats.written)) return stop();
        encoded += slots[n].size();
        if (image.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            error = "the dictionary would exceed 2 GB";
            return false;
        }
        SetI32(image, offsetsAt + 4 * n, static_cast<std::int32_t>(image.size()));
        if (n == 0 || slots[n].empty()) continue;
        for (const Written& entry : slots[n]) {
            for (char c : entry.bytes) {
                const auto b = static_cast<unsigned char>(c);
                bits.Put(codes.code[b], codes.length[b]);
            }
            bits.Put(codes.code[0], codes.length[0]);
            if (v1) bits.PutBit(entry.common ? 1 : 0);
        }
        bits.Put(codes.code[0], codes.length[0]);
        if (v1) bits.Put(codes.code[0], codes.length[0]);
        bits.Flush(image);
    }
    if (image.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        error = "the dictionary would exceed 2 GB";
        return false;
    }
    stats.fileSize = image.size();
    return encoding.Step(1, 1) || stop();
}

} // namespace quillon::tools
