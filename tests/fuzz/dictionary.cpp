// Loads a dictionary file made of the fuzzer's bytes and reads every length,
// without a query and with each form of query the search uses.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "dictionary/InputEngine.h"
#include "dictionary/MatchEngine.h"
#include "dictionary/OWDictionaryList.h"

namespace {

const std::string& FilePath() {
    static const std::string path =
        "/tmp/quillon-fuzz-dictionary-" + std::to_string(getpid()) + ".owd";
    return path;
}

// Reads one length to its group end, with a bound so that a long section of a
// large input cannot stall the run.
void ReadAll(OWDictionaryList& list, int length, MatchEngine* matcher) {
    InputEngine engine(list, 0);
    if (!engine.Start(length)) {
        if (engine.Next(matcher)[0] != owrecord::kEnd) __builtin_trap();
        return;
    }
    for (int i = 0; i < 5000; ++i) {
        const std::uint8_t* r = engine.Next(matcher);
        if (r[0] == owrecord::kEnd) break;
        // Every key has exactly `length` letters, each inside the alphabet.
        for (int k = 0; k < length; ++k)
            if (r[k] >= list.LetterCount(0)) __builtin_trap();
        if (r[length] != owrecord::kEnd) __builtin_trap();
        if (matcher) {
            std::string difference;
            matcher->LetterDifference(difference);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(FilePath().c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    OWDictionaryList list(FilePath());
    if (list.FirstInvalidPath()) return 0;
    (void)list.Statistics(0);

    // Query letters: the first few letters of the alphabet, as characters.
    std::string letters;
    for (int i = 0; i < list.LetterCount(0) && letters.size() < 6; ++i) {
        unsigned char c = list.LetterChar(0, static_cast<std::uint8_t>(i));
        if (c != ';' && c != '.' && list.LetterIndex(0, c) == i) letters += static_cast<char>(c);
    }
    MatchEngine matcher;
    int slots = list.SlotCount(0);
    for (int n = 1; n < slots; ++n) {
        ReadAll(list, n, nullptr);
        if (matcher.Compile(list, 0,
                            std::string(static_cast<std::size_t>(n), '.') + ";" + letters) == 0) {
            matcher.SetLength(n);
            ReadAll(list, n, &matcher);
        }
        if (static_cast<int>(letters.size()) <= n &&
            matcher.Compile(list, 0,
                            ";" + letters +
                                std::string(static_cast<std::size_t>(n) - letters.size(), '.')) ==
                0) {
            matcher.SetLength(n);
            ReadAll(list, n, &matcher);
        }
    }
    return 0;
}
