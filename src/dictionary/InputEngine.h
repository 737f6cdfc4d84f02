// Reads the entries of one key length of one dictionary straight from the file.
//
// Word data: slot n's section starts at sectionOffset[n] and is a bit stream
// in little-endian 32-bit words, bits taken from bit 0 upward (so it is simply
// the file's bytes, least significant bit first). Each entry is a run of prefix
// codes from the code table, each code taken most significant bit first, each
// decoding to a byte: 0 ends the entry, 10 ends the key part (the rest up to 0
// is a supplementary text), any other byte is text and, while in the key part,
// adds its letter index (if any) to the key. A version-1 entry is followed by
// one flag bit. An entry with an empty key ends a group (no flag bit follows).
// Version-0 sections hold one group, version-1 sections two; only the first
// group is ever searched.
#pragma once

#include <cstdint>

#include "dictionary/OWDictionaryList.h"

class MatchEngine;

// The record handed out by Next.
namespace owrecord {
constexpr int kKey = 0; // key letter indices, ended by kEnd
constexpr int kKeySize = 50;
constexpr int kBreaks = 50; // per letter: non-letters just before it (word-break queries)
constexpr int kText = 100;  // decoded text, NUL-terminated; the line feed part follows the NUL
constexpr int kSize = 1000;
constexpr std::uint8_t kEnd = 255; // ends the key; record[0] == kEnd marks a group end
} // namespace owrecord

class InputEngine {
public:
    static constexpr int kBufferSize = 0x4000;

    // Reads dictionary `index` of the list; Start runs the list's reload check.
    InputEngine(OWDictionaryList& list, int index);
    // Reads the dictionary as it is loaded, without a reload check, so the
    // tables cannot change under the reader (the decoded form is built so).
    explicit InputEngine(OWDictionaryList::Dictionary& dictionary);
    ~InputEngine();
    InputEngine(const InputEngine&) = delete;
    InputEngine& operator=(const InputEngine&) = delete;

    // True when entries of that key length can be read.
    bool Start(int length);
    // The next entry the matcher accepts (every entry without one). record[0]
    // is 255 at the end of the group, at the end of the data, and for data
    // that cannot be a well-formed entry. The record is reused by the next call.
    const std::uint8_t* Next(MatchEngine* matcher = nullptr);

    const std::uint8_t* Record() const { return record_; }
    int Length() const { return length_; }
    // Entries read in the current group (version 0) or entries whose flag bit
    // was 1 (version 1).
    long Counter() const { return counter_; }
    int Flag() const { return flag_; }
    int GroupsLeft() const { return groupsLeft_; }
    bool IsOpen() const { return handle_ >= 0; }

    // How files are opened (read-only, binary); tests substitute one that
    // runs out of handles. Returns a handle or -1 with errno set.
    using OpenFunction = int (*)(const char* path);
    static void SetOpenFunction(OpenFunction open);

private:
    bool Fill();
    bool OpenHandle();
    void CloseHandle();
    const std::uint8_t* EndRead();
    int SlowDecode(std::uint32_t node);

    InputEngine* next_ = nullptr;
    InputEngine* previous_ = nullptr;
    OWDictionaryList* list_;
    int index_;
    OWDictionaryList::Dictionary& dictionary_;
    int handle_ = -1;
    std::int64_t position_ = 0;
    int length_ = 0;
    int groupsLeft_ = 0;
    int flag_ = 0;
    long counter_ = 0;

    // Bit reader: up to 64 bits waiting in bits_, the rest in the buffer.
    std::uint64_t bits_ = 0;
    int bitCount_ = 0;
    const std::uint8_t* word_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    bool exhausted_ = false;
    // Start found data, and the data has neither run out nor turned out malformed.
    bool active_ = false;

    alignas(8) std::uint8_t record_[owrecord::kSize];
    alignas(8) std::uint8_t buffer_[kBufferSize + 8];
};
