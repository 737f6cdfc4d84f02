// The entries of a loaded dictionary, decoded once and held in memory.
//
// A search reads the same sections for every answer; decoding their prefix
// codes again each time costs far more than the letter work. Held decoded, a
// section is scanned at a few bytes an entry, most entries rejected by one
// test on the letters they hold.
//
// Per length slot, the entries of the section's first group in the order the
// section gives them (the order InputEngine reads them in), each with
//   mask   the letters it holds (LetterBit), for MatchEngine::MayAccept
//   text   the entry text before any line feed, NUL-terminated
//   flag   a version-1 entry's flag bit; 1 for version 0, which has none
// kept as parallel arrays, so a scan touches only the masks until one fits.
// The key (the letters as letter indices) is not stored: it is the text's
// letters read through the code table's letter column, which is how the
// reader made it, and only the few entries a mask lets through need it. So an
// entry costs 8 bytes and its text, and the default dictionary under 8 MB.
//
// A section is decoded with InputEngine the first time it is asked for; what
// the streaming reader would read is exactly what the section holds. Reading
// the file stops at the first malformed entry, as the reader does, and a
// section whose texts would pass 2 GB stops there too (the offsets are 31-bit).
// A dictionary that the reload check reloads gets a new decoded form; one in
// use by a search stays alive until that search lets go of it.
//
// Threads: a built section never changes, so any number of threads may read
// it. Building takes this dictionary's lock, but reads through InputEngine,
// whose file-handle sharing belongs to one thread: a program that searches on
// several threads calls BuildAll first, on the thread that owns the lists.
#pragma once

#include "dictionary/InputEngine.h"
#include "dictionary/MatchEngine.h"
#include "dictionary/OWDictionaryList.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

class DecodedSection {
public:
    int Length() const { return length_; }
    std::size_t Size() const { return masks_.size(); }
    std::uint32_t Mask(std::size_t i) const { return masks_[i]; }
    const std::uint32_t* Masks() const { return masks_.data(); }
    const char* Text(std::size_t i) const { return texts_.data() + (textAt_[i] & kOffset); }
    int Flag(std::size_t i) const { return static_cast<int>(textAt_[i] >> 31); }
    // Writes the entry's key, Length() letter indices, to `key`.
    void Key(std::size_t i, std::uint8_t* key) const;
    // Heap bytes held.
    std::size_t Bytes() const;

private:
    friend class DecodedDictionary;
    static constexpr std::uint32_t kOffset = 0x7FFFFFFF;

    int length_ = 0;
    std::vector<std::uint32_t> masks_;
    std::vector<std::uint32_t> textAt_; // offset into texts_, flag in the top bit
    std::vector<char> texts_;
    // The code table's letter column as the reader saw it (keyClass).
    std::array<std::uint8_t, 256> letterOf_{};
};

class DecodedDictionary {
public:
    explicit DecodedDictionary(OWDictionaryList::Dictionary& dictionary);
    DecodedDictionary(const DecodedDictionary&) = delete;
    DecodedDictionary& operator=(const DecodedDictionary&) = delete;

    // The entries with `length` letters, decoded on the first call; nullptr
    // when the dictionary has no readable section of that length.
    const DecodedSection* Section(int length);
    // Decodes every section that is not decoded yet.
    void BuildAll();
    // Heap bytes held by the sections decoded so far.
    std::size_t Bytes();

private:
    static constexpr int kSlots = OWDictionaryList::Dictionary::kMaxSlots;
    void Build(int length);

    OWDictionaryList::Dictionary& dictionary_;
    std::mutex building_;
    std::array<std::atomic<bool>, kSlots> built_{};
    std::array<std::unique_ptr<DecodedSection>, kSlots> sections_;
};

// Visits, in section order, the entries of dictionary `index` of the list with
// `length` letters that the matcher accepts (every entry without one), as
// visit(key, text): the key's letter indices and the text before any line
// feed, both valid only during the call. With commonOnly, only the entries
// whose flag bit marks them common are visited (meant for a dictionary that
// marks some, see MarksCommonWords). With a decoded form the entries come
// from it, and `mayUse`, a quick test on an entry's letters (LetterBit) that
// passes every entry the visit would use, lets the rest go by unread. Without
// one they are read straight from the file, as the reader always has: the
// list's reload check runs and nothing is kept.
template <class MayUse, class Visit>
void ReadEntries(OWDictionaryList& list, int index, DecodedDictionary* decoded, int length,
                 MatchEngine* matcher, MayUse&& mayUse, Visit&& visit, bool commonOnly = false) {
    if (decoded != nullptr) {
        const DecodedSection* section = decoded->Section(length);
        if (section == nullptr) return;
        std::uint8_t key[OWDictionaryList::Dictionary::kMaxSlots];
        // MayAccept, held in locals: this loop is where a search spends its time.
        const std::uint32_t notAllowed = matcher != nullptr ? ~matcher->MayHave() : 0;
        const std::uint32_t required = matcher != nullptr ? matcher->MustHave() : 0;
        // The masks are tested a block at a time in a loop without branches,
        // which the compiler turns into vector instructions; the results are
        // then passed over eight at a time, and only the few entries that
        // pass are looked at one by one.
        const std::uint32_t* masks = section->Masks();
        const std::size_t size = section->Size();
        constexpr std::size_t kBlock = 64;
        unsigned char pass[kBlock] = {};
        for (std::size_t base = 0; base < size; base += kBlock) {
            const std::size_t count = std::min(kBlock, size - base);
            for (std::size_t j = 0; j < count; ++j) {
                const std::uint32_t letters = masks[base + j];
                const bool fits = ((letters & notAllowed) | (required & ~letters)) == 0;
                pass[j] = static_cast<unsigned char>(fits & mayUse(letters));
            }
            for (std::size_t j = count; j < kBlock; ++j)
                pass[j] = 0;
            for (std::size_t eight = 0; eight < count; eight += 8) {
                std::uint64_t any = 0;
                std::memcpy(&any, pass + eight, 8);
                if (any == 0) continue;
                for (std::size_t j = eight; j < eight + 8; ++j) {
                    if (!pass[j]) continue;
                    const std::size_t i = base + j;
                    if (commonOnly && section->Flag(i) == 0) continue;
                    section->Key(i, key);
                    if (matcher != nullptr && !matcher->Accept(key)) continue;
                    visit(static_cast<const std::uint8_t*>(key), section->Text(i));
                }
            }
        }
        return;
    }
    InputEngine input(list, index);
    if (!input.Start(length)) return;
    for (;;) {
        const std::uint8_t* record = input.Next(matcher);
        if (record[owrecord::kKey] == owrecord::kEnd) return;
        if (commonOnly && input.Flag() == 0) continue;
        visit(record, reinterpret_cast<const char*>(record + owrecord::kText));
    }
}

// Whether dictionary `index` marks any entry common: a version-1 file with at
// least one entry whose flag bit is 1. Read from the decoded form when there
// is one, else from the file; the reading stops at the first marked entry.
bool MarksCommonWords(OWDictionaryList& list, int index, DecodedDictionary* decoded);
