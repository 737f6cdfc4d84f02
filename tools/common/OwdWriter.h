// Writes dictionary files (.owd).
//
// Layout, all integers little-endian:
//   "OWD0" | "OWD1"            magic; the digit is the version
//   u16 N                      length slots; slot n holds the entries of n letters
//   3 x i32 reserved           version 1 only (zeros)
//   N x i32 extraA, extraB     version 1 only (-1 each)
//   N x i32 extraC             version 1 only (0 each)
//   N x i32 sectionOffset      absolute offset of each slot's bit stream
//   N x i32 sectionCount       entries in each slot's first group
//   description                80 bytes (version 0) or 1000 (version 1), NUL-terminated
//   i16 letterCount, i16 classCount
//   256 x { u8 character, u8 codeLength, i16 letterIndex, u32 code }
//   u16 blockCount, then blockCount x letterCount bytes (we write none)
// A section is a bit stream in little-endian u32 words, filled from bit 0 up;
// each code goes in most significant bit first. An entry is its text bytes,
// then (when it has one) byte 10 and the supplementary text, then byte 0.
// Version 1 follows each entry with a flag bit: 1 marks a common word (an
// entry whose text is in the common lists), 0 the rest. A lone byte 0 ends a
// group; version 1 has a second group, which we leave empty.
// The reader takes slot n as present only when it is the last slot or the
// next slot starts later, so an empty slot gets the next slot's offset.
#pragma once

#include "common/Huffman.h"
#include "common/Progress.h"
#include "common/WordList.h"

#include <array>
#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace quillon::tools {

constexpr unsigned kMaxLetters = 31; // slots 0..31: the reader holds 32
constexpr int kLetterCount = 26;
// The reader decodes an entry into a 900-byte text record (terminator included).
constexpr std::size_t kMaxEncodedEntry = 900;

struct BuildOptions {
    int version = 1;
    std::string description; // Windows-1252; cut to the field's size
    // Texts of the entries marked common (flag bit 1); version 1 only.
    std::unordered_set<std::string> common;
};

struct BuildStats {
    std::array<std::size_t, kMaxLetters + 1> perLength{}; // entries written per letter count
    std::size_t written = 0;
    std::size_t marked = 0; // written with flag bit 1
    std::size_t duplicates = 0;
    std::size_t noLetters = 0;
    std::size_t tooManyLetters = 0;
    std::size_t noPlainLetter = 0; // held ß, æ, œ, þ or ð
    std::size_t tooLong = 0;       // text and supplement beyond the record
    bool descriptionCut = false;
    std::size_t fileSize = 0;
};

// Letters of an entry's key, as letter indices; fails for entries that hold a
// letter with no plain equivalent.
bool KeyLetters(const std::string& text, std::string& key);

// Builds the file image. Returns false (error set) when there is nothing to
// write, the result would not fit the format's 32-bit offsets, or progress
// asked to stop (error is then kStoppedError).
bool BuildDictionary(std::vector<Entry> entries, const BuildOptions& options, std::string& image,
                     BuildStats& stats, std::string& error, const Progress& progress = {});

} // namespace quillon::tools
