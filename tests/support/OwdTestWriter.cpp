#include "OwdTestWriter.h"

#include <algorithm>
#include <fstream>

namespace {

// Bits go into the file from bit 0 of each byte upward; a code goes in with
// its most significant bit first.
class BitWriter {
public:
    void Put(std::uint32_t code, int length) {
        for (int k = length - 1; k >= 0; --k)
            PutBit((code >> k) & 1);
    }
    void PutBit(unsigned bit) {
        if (used_ == 0) bytes_.push_back(0);
        if (bit) bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | 1u << used_);
        used_ = (used_ + 1) & 7;
    }
    // Pads to a whole 32-bit word with zero bits.
    std::vector<std::uint8_t> Take() {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
        used_ = 0;
        return std::move(bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
    int used_ = 0;
};

std::int16_t LetterOf(int byte) {
    if (byte >= 'a' && byte <= 'z') return static_cast<std::int16_t>(byte - 'a');
    if (byte >= 'A' && byte <= 'Z') return static_cast<std::int16_t>(byte - 'A');
    return -1;
}

// Code lengths by plain Huffman merging (quadratic, which is fine for 256 symbols).
std::array<int, 256> HuffmanLengths(const std::array<long, 256>& counts) {
    struct Node {
        long weight;
        std::vector<int> symbols;
    };
    std::vector<Node> nodes;
    for (int b = 0; b < 256; ++b)
        if (counts[b] > 0) nodes.push_back({counts[b], {b}});
    std::array<int, 256> lengths{};
    if (nodes.size() == 1) lengths[static_cast<std::size_t>(nodes[0].symbols[0])] = 1;
    while (nodes.size() > 1) {
        std::sort(nodes.begin(), nodes.end(),
                  [](const Node& a, const Node& b) { return a.weight > b.weight; });
        Node a = std::move(nodes.back());
        nodes.pop_back();
        Node b = std::move(nodes.back());
        nodes.pop_back();
        for (int s : a.symbols)
            ++lengths[static_cast<std::size_t>(s)];
        for (int s : b.symbols)
            ++lengths[static_cast<std::size_t>(s)];
        a.symbols.insert(a.symbols.end(), b.symbols.begin(), b.symbols.end());
        nodes.push_back({a.weight + b.weight, std::move(a.symbols)});
    }
    return lengths;
}

// Canonical codes: shorter codes first, equal lengths in byte order.
void AssignCanonical(OwdCodeTable& table) {
    std::uint32_t code = 0;
    int length = 0;
    for (int l = 1; l <= 32; ++l) {
        for (int b = 0; b < 256; ++b) {
            if (table[static_cast<std::size_t>(b)].length != l) continue;
            code <<= (l - length);
            length = l;
            table[static_cast<std::size_t>(b)].code = code++;
        }
    }
}

void Append16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

} // namespace

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes.at(at) = static_cast<std::uint8_t>(value);
    bytes.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

void PutI32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

OwdImage WriteOwdImage(const OwdLayout& layout) {
    const int slots =
        layout.slots >= 0 ? layout.slots : std::max<int>(2, static_cast<int>(layout.firstGroup.size()));
    auto group = [](const std::vector<std::vector<std::string>>& g, int n) {
        static const std::vector<std::string> none;
        return n < static_cast<int>(g.size()) ? g[static_cast<std::size_t>(n)] : none;
    };

    // Which bytes need codes, and how often each occurs.
    std::array<long, 256> counts{};
    auto countText = [&](const std::vector<std::vector<std::string>>& g) {
        for (const auto& slot : g)
            for (const auto& entry : slot) {
                for (char c : entry)
                    ++counts[static_cast<unsigned char>(c)];
                ++counts[0];
            }
    };
    countText(layout.firstGroup);
    if (layout.version >= 1) countText(layout.secondGroup);
    counts[0] += 2L * slots + 1;
    for (char c : layout.extraBytes)
        counts[static_cast<unsigned char>(c)] += 1;

    OwdImage image;
    OwdCodeTable& table = image.codes;
    for (int b = 0; b < 256; ++b) {
        table[static_cast<std::size_t>(b)].character = static_cast<std::uint8_t>(b);
        table[static_cast<std::size_t>(b)].letterIndex = LetterOf(b);
    }
    if (layout.codeWidth > 0) {
        std::uint32_t next = 0;
        for (int b = 0; b < 256; ++b) {
            if (counts[static_cast<std::size_t>(b)] == 0) continue;
            table[static_cast<std::size_t>(b)].length = static_cast<std::uint8_t>(layout.codeWidth);
            table[static_cast<std::size_t>(b)].code = next++;
        }
    } else {
        auto lengths = HuffmanLengths(counts);
        if (layout.tweakLengths) layout.tweakLengths(lengths);
        for (int b = 0; b < 256; ++b)
            table[static_cast<std::size_t>(b)].length =
                static_cast<std::uint8_t>(lengths[static_cast<std::size_t>(b)]);
        AssignCanonical(table);
    }

    auto putText = [&](BitWriter& bw, const std::string& entry) {
        for (char c : entry) {
            const OwdCode& code = table[static_cast<unsigned char>(c)];
            bw.Put(code.code, code.length);
        }
        bw.Put(table[0].code, table[0].length);
    };

    // Sections, slot 1 upward.
    std::vector<std::vector<std::uint8_t>> sections(static_cast<std::size_t>(std::max(slots, 1)));
    for (int n = 1; n < slots; ++n) {
        const auto& first = group(layout.firstGroup, n);
        const auto& second = group(layout.secondGroup, n);
        if (first.empty() && (layout.version < 1 || second.empty())) continue;
        BitWriter bw;
        for (std::size_t i = 0; i < first.size(); ++i) {
            putText(bw, first[i]);
            if (layout.version >= 1) {
                int flag = 0;
                if (n < static_cast<int>(layout.flags.size()) &&
                    i < layout.flags[static_cast<std::size_t>(n)].size())
                    flag = layout.flags[static_cast<std::size_t>(n)][i];
                bw.PutBit(flag ? 1 : 0);
            }
        }
        if (layout.groupEnds) bw.Put(table[0].code, table[0].length);
        if (layout.version >= 1) {
            for (const auto& entry : second)
                putText(bw, entry);
            if (layout.groupEnds) bw.Put(table[0].code, table[0].length);
        }
        sections[static_cast<std::size_t>(n)] = bw.Take();
    }

    OwdCodeTable written = table;
    if (layout.tweakCodes) layout.tweakCodes(written);

    std::vector<std::uint8_t>& out = image.bytes;
    out.insert(out.end(), {'O', 'W', 'D', static_cast<std::uint8_t>('0' + layout.version)});
    image.lengthSlotsAt = out.size();
    Append16(out, static_cast<std::uint16_t>(slots));
    if (layout.version >= 1) {
        for (int i = 0; i < 3; ++i)
            Append32(out, 0);
        for (int i = 0; i < slots; ++i)
            Append32(out, 0xFFFFFFFFu);
        for (int i = 0; i < slots; ++i)
            Append32(out, 0xFFFFFFFFu);
        for (int i = 0; i < slots; ++i)
            Append32(out, 0);
    }
    image.sectionOffsetAt = out.size();
    out.resize(out.size() + 4 * static_cast<std::size_t>(slots));
    image.sectionCountAt = out.size();
    for (int n = 0; n < slots; ++n)
        Append32(out, n == 0 ? 0 : static_cast<std::uint32_t>(group(layout.firstGroup, n).size()));
    image.descriptionAt = out.size();
    std::size_t field = layout.version >= 1 ? 1000 : 80;
    std::string description = layout.description.substr(0, field);
    out.insert(out.end(), description.begin(), description.end());
    out.resize(image.descriptionAt + field, 0);
    image.letterCountAt = out.size();
    Append16(out, static_cast<std::uint16_t>(layout.letterCount));
    image.classCountAt = out.size();
    Append16(out, static_cast<std::uint16_t>(layout.classCount));
    image.codeTableAt = out.size();
    for (const OwdCode& c : written) {
        out.push_back(c.character);
        out.push_back(c.length);
        Append16(out, static_cast<std::uint16_t>(c.letterIndex));
        Append32(out, c.code);
    }
    image.blockCountAt = out.size();
    Append16(out, static_cast<std::uint16_t>(layout.blockCount));
    for (long i = 0; i < static_cast<long>(layout.blockCount) * layout.letterCount; ++i)
        out.push_back(static_cast<std::uint8_t>(i * 7));
    while (out.size() % 4)
        out.push_back(0);
    image.dataAt = out.size();

    for (int n = 0; n < slots; ++n) {
        PutI32(out, image.sectionOffsetAt + 4 * static_cast<std::size_t>(n),
               static_cast<std::int32_t>(out.size()));
        if (n < static_cast<int>(sections.size()))
            out.insert(out.end(), sections[static_cast<std::size_t>(n)].begin(),
                       sections[static_cast<std::size_t>(n)].end());
    }
    return image;
}

std::vector<std::uint8_t> WriteOwd(const OwdLayout& layout) {
    return WriteOwdImage(layout).bytes;
}

bool SaveOwd(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
