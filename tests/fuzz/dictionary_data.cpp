// Puts the fuzzer's bytes behind a fixed, well-formed header as the word data
// of every slot, so that all the effort goes into the bit-stream decoder:
// codes of 4 to 32 bits, unused bit patterns, line feeds, flag bits, keys that
// are too long or too short and texts that overflow the record.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "dictionary/DecodedDictionary.h"
#include "dictionary/InputEngine.h"
#include "dictionary/MatchEngine.h"
#include "dictionary/OWDictionaryList.h"

namespace {

constexpr int kSlots = 32;

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Version 1 header; slot n starts n * step bytes into the data.
std::vector<std::uint8_t> Header(std::size_t dataSize) {
    // Canonical codes: 8 bytes of 4 bits, 16 of 6, 32 of 8, one of 12, one of
    // 32; the rest of the code space is left unused on purpose.
    std::string order = std::string("\0e\n aist", 8) + "-'nrolcdumphgbfy" +
                        "wABCDEFGHIJKLMNOPQRSTUVWXYZkvjxq" + "z.";
    int lengths[] = {4, 6, 8, 12, 32};
    int counts[] = {8, 16, 32, 1, 1};
    std::uint8_t length[256] = {};
    std::uint32_t code[256] = {};
    std::size_t at = 0;
    std::uint32_t next = 0;
    int previous = 0;
    for (int g = 0; g < 5; ++g)
        for (int i = 0; i < counts[g] && at < order.size(); ++i) {
            auto b = static_cast<unsigned char>(order[at++]);
            next <<= (lengths[g] - previous);
            previous = lengths[g];
            length[b] = static_cast<std::uint8_t>(lengths[g]);
            code[b] = next++;
        }

    std::vector<std::uint8_t> out = {'O', 'W', 'D', '1'};
    Put16(out, kSlots);
    for (int i = 0; i < 3 + 3 * kSlots; ++i)
        Put32(out, 0);
    std::size_t headerSize = out.size() + 8 * kSlots + 1000 + 4 + 2048 + 2;
    std::size_t step = dataSize / kSlots;
    for (int n = 0; n < kSlots; ++n)
        Put32(out, static_cast<std::uint32_t>(headerSize + step * static_cast<std::size_t>(n)));
    for (int n = 0; n < kSlots; ++n)
        Put32(out, 1);
    out.resize(out.size() + 1000, 0);
    Put16(out, 26);
    Put16(out, 30);
    for (int b = 0; b < 256; ++b) {
        int letter = b >= 'a' && b <= 'z' ? b - 'a' : (b >= 'A' && b <= 'Z' ? b - 'A' : -1);
        out.push_back(static_cast<std::uint8_t>(b));
        out.push_back(length[b]);
        Put16(out, static_cast<unsigned>(letter));
        Put32(out, code[b]);
    }
    Put16(out, 0);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/quillon-fuzz-data-" + std::to_string(getpid()) + ".owd";
    std::vector<std::uint8_t> file = Header(size);
    file.insert(file.end(), data, data + size);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);

    OWDictionaryList list(path);
    if (!list.IsValid(0)) __builtin_trap(); // the header is well formed
    MatchEngine matcher;
    for (int n = 1; n < kSlots; ++n) {
        for (int form = 0; form < 3; ++form) {
            MatchEngine* m = nullptr;
            if (form == 1 &&
                matcher.Compile(list, 0,
                                std::string(static_cast<std::size_t>(n), '.') + ";etaoinsr") == 0)
                m = &matcher;
            if (form == 2 && n >= 3 &&
                matcher.Compile(list, 0,
                                ";eta" + std::string(static_cast<std::size_t>(n - 3), '.')) == 0)
                m = &matcher;
            if (form > 0 && !m) continue;
            if (m) m->SetLength(n);
            InputEngine engine(list, 0);
            if (!engine.Start(n)) continue;
            for (int i = 0; i < 5000; ++i) {
                const std::uint8_t* r = engine.Next(m);
                if (r[0] == owrecord::kEnd) break;
                for (int k = 0; k < n; ++k)
                    if (r[k] >= 26) __builtin_trap();
                if (r[n] != owrecord::kEnd) __builtin_trap();
            }
            // The decoded form holds exactly what the reader reads.
            std::vector<std::string> streamed, decoded;
            const auto keep = [n](std::vector<std::string>& into) {
                return [&into, n](const std::uint8_t* key, const char* text) {
                    into.push_back(std::string(reinterpret_cast<const char*>(key),
                                               static_cast<std::size_t>(n)) +
                                   '|' + text);
                };
            };
            const auto any = [](std::uint32_t) { return true; };
            ReadEntries(list, 0, nullptr, n, m, any, keep(streamed));
            ReadEntries(list, 0, list.Decoded(0).get(), n, m, any, keep(decoded));
            if (streamed != decoded) __builtin_trap();
        }
    }
    return 0;
}
