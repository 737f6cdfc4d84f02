// Dictionary files (.owd): the loaded form of one file, the process-wide pool
// that shares a loaded file between lists by path, and the list of dictionaries
// named by the dictionary setting.
//
// File layout (all integers little-endian; i16/i32 signed, u16 unsigned):
//   magic        4 bytes   "OWD0" or "OWD1"; last byte - '0' is the version
//   lengthSlots  u16       N; slot n holds the entries whose key has n letters
//   reserved     3 x i32   version 1 only
//   extraA/B/C   N x i32   each, version 1 only (v0: -1, -1, 0 in memory)
//   sectionOffset N x i32  absolute offset of each slot's first entry
//   sectionCount  N x i32  entries in each slot
//   description  80 (v0) or 1000 (v1) bytes, NUL-terminated within the field
//   letterCount  i16       alphabet size; letters are 0 .. letterCount-1
//   classCount   i16       checked only
//   codeTable    256 x { u8 character, u8 codeLength, i16 letterIndex, u32 code }
//   blockCount   u16       M
//   blocks       M x letterCount bytes, kept but unused
// The word data after the header is described in InputEngine.h; the decoded
// form a search reads it in, in DecodedDictionary.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Last-write time of a file as a count of 100-nanosecond intervals since
// 1601-01-01 UTC (the Windows FILETIME count); 0 when unknown.
using OWFileTime = std::int64_t;

// What the loader learns about a file from its name.
struct OWFileFacts {
    OWFileTime modified = 0;
    std::int64_t size = 0;
};

// Examines a file by name; false when it cannot be examined. The standard
// library's reader turns narrow paths into system names on its own terms,
// which on Windows differ from the ANSI code page that fopen uses: a Windows
// program installs a reader that names files the way fopen does.
using OWFileFactsReader = bool (*)(const std::string& path, OWFileFacts& facts);
// Installs the reader the loader uses; nullptr restores the standard one.
void OWSetFileFactsReader(OWFileFactsReader reader);
bool OWReadFileFacts(const std::string& path, OWFileFacts& facts);

class DecodedDictionary;

// Reads a file's last-write time; false when the file cannot be examined.
bool OWReadFileTime(const std::string& path, OWFileTime& time);

// The C-locale text for a last-write time in local time, e.g.
// "Tuesday, March 5, 2024 14:03:22"; the Windows program formats with the
// user's locale instead. Empty for 0.
std::string OWFormatFileTime(OWFileTime time);

class OWDictionaryList {
public:
    class Dictionary;

    // The setting text: one or more file paths separated by ";".
    explicit OWDictionaryList(std::string_view name);
    // A list of the one file at `path`, even when the path holds a ";".
    struct OnePath {};
    OWDictionaryList(OnePath, std::string_view path);
    ~OWDictionaryList();
    OWDictionaryList(const OWDictionaryList&) = delete;
    OWDictionaryList& operator=(const OWDictionaryList&) = delete;

    int Count() const;
    // Reloads changed files, then names the first dictionary that is not usable.
    std::optional<std::string> FirstInvalidPath();
    // Reloads the file if it changed on disk, then tells whether it is usable.
    bool IsValid(int index);

    const std::string& Name() const { return name_; }
    const std::string& Path(int index) const;
    const std::string& Description(int index) const;

    // Entries are summed from the header's 32-bit counts of up to 32 slots, so
    // they need more than 32 bits.
    struct LengthStats {
        std::int64_t entries = 0;
        int shortest = 0;
        int longest = 0;
    };
    LengthStats Statistics(int index) const;
    OWFileTime Modified(int index) const;
    int Version(int index) const;

    // 255 when the character is not a letter of the dictionary's alphabet.
    std::uint8_t LetterIndex(int index, unsigned char c) const;
    // The canonical character of a letter; '!' for an unused index.
    unsigned char LetterChar(int index, std::uint8_t letter) const;
    int LetterCount(int index) const;
    // Offset of slot n's first entry; 0 for a slot outside the file's table.
    std::int32_t SectionOffset(int index, int n) const;
    int SlotCount(int index) const;

    // The decoded form of a usable dictionary, created on the first call after
    // each load (its sections are decoded as they are asked for); nullptr for
    // one that is not usable. Runs no reload check.
    std::shared_ptr<DecodedDictionary> Decoded(int index);

    // An out-of-range index yields a closed, invalid dictionary.
    Dictionary& At(int index);
    const Dictionary& At(int index) const;

private:
    void Add(std::string_view path);

    std::string name_;
    std::vector<Dictionary*> dictionaries_;
};

// One loaded dictionary file, shared by every list that names its path.
class OWDictionaryList::Dictionary {
public:
    static constexpr int kMaxSlots = 32;
    static constexpr int kDescriptionSize = 1000;
    static constexpr int kRoot = 256;
    static constexpr int kNodes = 511;
    static constexpr std::uint8_t kNotALetter = 255;
    static constexpr const char* kInvalidText = "-- INVALID DICTIONARY FILE --";
    static constexpr const char* kNotFoundText = "-- DICTIONARY FILE NOT FOUND --";

    Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // Loads the file at path (nullptr closes); true when the file is usable.
    // Mode 0 skips the auxiliary blocks.
    bool Load(const std::string* path, int mode);
    // Rereads the file when its last-write time or size differs from the
    // loaded one (a rebuild within one tick of the clock changes the size).
    bool ReloadCheck();

    // Nodes 0..255 are leaves {codeLength, letterIndex}; 256..510 inner nodes
    // {child for bit 0, child for bit 1}, -1 for none; 256 is the root.
    std::int32_t decodeTree[kNodes][2];
    // The node reached from the root by the bits of b, bit 0 first, stopping at
    // a leaf, a missing child (-1) or after 8 bits.
    std::int32_t fastNode[256];

    std::string path;
    bool hasPath = false;
    bool valid = false;
    int mode = 0;
    OWFileTime modified = 0;
    std::int64_t fileSize = 0;
    int refCount = 0;
    std::string description;
    int version = 0;
    std::int32_t reserved[3];
    std::int32_t extraA[kMaxSlots];
    std::int32_t extraB[kMaxSlots];
    std::int32_t extraC[kMaxSlots];
    std::uint16_t lengthSlots = 0;
    std::int32_t sectionOffset[kMaxSlots];
    std::int32_t sectionCount[kMaxSlots];
    std::int16_t letterCount = 0;
    std::int16_t classCount = 0;
    unsigned char letterChar[256];
    std::uint16_t blockCount = 0;
    std::vector<std::uint8_t> blocks;
    // The entries decoded for searching; dropped whenever the file is loaded
    // again, so a rebuilt file is decoded afresh.
    std::shared_ptr<DecodedDictionary> decoded;

    // Decoding tables derived from the tree for the reader's inner loop:
    // fastEntry[b] = symbol | length << 8 for a leaf of at most 8 bits,
    // else kFastInner | node (or kFastInner | 0 for a dead end).
    static constexpr std::uint32_t kFastInner = 0x10000;
    std::uint32_t fastEntry[256];
    // What a decoded byte does while in the key part and after the line feed:
    // a letter index (0..252), kPlain (text only), kLineFeed or kEntryEnd.
    static constexpr std::uint8_t kLineFeed = 253;
    static constexpr std::uint8_t kEntryEnd = 254;
    static constexpr std::uint8_t kPlain = 255;
    std::uint8_t keyClass[256];
    std::uint8_t textClass[256];

private:
    void Clear();
    bool ReadHeader(std::FILE* file);
    bool BuildTree(const std::uint8_t* codeTable);
};
