// Temporary .owd files for the dictionary tests, and a plain bit-by-bit
// decoder that the fast reader is checked against.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "OwdTestWriter.h"
#include "dictionary/OWDictionaryList.h"

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string Write(const std::string& name, const OwdLayout& layout) const;

private:
    std::filesystem::path dir_;
};

// Moves a file's last-write time by the given number of seconds.
void TouchBy(const std::string& path, int seconds);

struct DecodedEntry {
    std::string key;  // letter indices as 'a' + index
    std::string text; // the text before any line feed
    // The part after the line feed. The engine's record cannot tell an empty
    // part from none, and past the entry's end it may hold an older entry's
    // bytes, so only the reference decoder knows whether there is one.
    std::string lineFeedPart;
    bool hasLineFeed = false;
    int flag = 0;
};

// True when the engine's entry agrees with the reference decoder's.
bool SameEntry(const DecodedEntry& reference, const DecodedEntry& engine);

// Decodes the first group of slot n bit by bit through the decode tree, the
// simplest reading of the format there is. Stops at a group end, at the end
// of the bytes and at a missing code.
std::vector<DecodedEntry> ReferenceDecode(const OWDictionaryList::Dictionary& d,
                                          const std::vector<std::uint8_t>& file, int n);

// Reads the first group of slot n with InputEngine in the same form.
std::vector<DecodedEntry> EngineRead(OWDictionaryList& list, int index, int n);

// The key form ('a' + index) of an entry text written with OwdTestWriter.
std::string KeyOf(const std::string& text);
