// A small, plain writer of .owd dictionary files for tests, independent of
// OWBUILD: it assigns its own codes, writes every header field in order and
// reports where each field landed so that tests can damage a file on purpose.
//
// Letters: a-z and A-Z are letter indices 0..25 (each canonical character is
// the lower-case one, since it comes later in the code table); every other
// byte has no letter index. An entry text may hold "\n": the part after it is
// the entry's line feed part.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct OwdCode {
    std::uint8_t character = 0;
    std::uint8_t length = 0; // 0 = no code
    std::int16_t letterIndex = -1;
    std::uint32_t code = 0;
};
using OwdCodeTable = std::array<OwdCode, 256>;

struct OwdLayout {
    int version = 1;
    std::string description;
    // Entries by slot: firstGroup[n] holds the entries of n letters (slot 0 is
    // never written). Each section is its first group, a group end, then (in
    // version 1) the second group and its group end.
    std::vector<std::vector<std::string>> firstGroup;
    std::vector<std::vector<std::string>> secondGroup;
    // Version 1 flag bit after each first-group entry (missing ones are 0).
    std::vector<std::vector<int>> flags;
    // lengthSlots; -1 = firstGroup.size() (at least 2).
    int slots = -1;
    // Leave out the group end markers (a stream that just stops).
    bool groupEnds = true;
    int letterCount = 26;
    int classCount = 30;
    int blockCount = 0;
    // 0 = Huffman codes from the byte counts; n = every used byte gets an n-bit code.
    int codeWidth = 0;
    // Bytes that get a code even when no entry uses them.
    std::string extraBytes;
    // Applied to the Huffman code lengths before codes are assigned (a length
    // of 0 drops a byte's code); the codes stay a prefix code while the
    // lengths satisfy Kraft's inequality.
    std::function<void(std::array<int, 256>&)> tweakLengths;
    // Applied to the code table after the entries are encoded and before the
    // table is written: a way to write tables that do not fit the data.
    std::function<void(OwdCodeTable&)> tweakCodes;
};

// Where the header fields of a written file are, as byte offsets.
struct OwdImage {
    std::vector<std::uint8_t> bytes;
    std::size_t lengthSlotsAt = 0;
    std::size_t sectionOffsetAt = 0; // first of N i32
    std::size_t sectionCountAt = 0;
    std::size_t descriptionAt = 0;
    std::size_t letterCountAt = 0;
    std::size_t classCountAt = 0;
    std::size_t codeTableAt = 0;
    std::size_t blockCountAt = 0;
    std::size_t dataAt = 0; // first byte after the header
    OwdCodeTable codes{};   // the table as written
};

OwdImage WriteOwdImage(const OwdLayout& layout);
std::vector<std::uint8_t> WriteOwd(const OwdLayout& layout);
// Writes the bytes to a file; false on failure.
bool SaveOwd(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Little-endian patch helpers for damaging an image.
void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value);
void PutI32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value);
