#include "dictionary/DecodedDictionary.h"

#include "dictionary/InputEngine.h"
#include "dictionary/MatchEngine.h"

#include <algorithm>
#include <cstring>
#include <limits>

void DecodedSection::Key(std::size_t i, std::uint8_t* key) const {
    int k = 0;
    for (const char* c = Text(i); *c != '\0' && k < length_; ++c) {
        const std::uint8_t letter = letterOf_[static_cast<unsigned char>(*c)];
        if (letter < OWDictionaryList::Dictionary::kLineFeed) key[k++] = letter;
    }
}

std::size_t DecodedSection::Bytes() const {
    return (masks_.capacity() + textAt_.capacity()) * sizeof(std::uint32_t) + texts_.capacity();
}

DecodedDictionary::DecodedDictionary(OWDictionaryList::Dictionary& dictionary)
    : dictionary_(dictionary) {}

const DecodedSection* DecodedDictionary::Section(int length) {
    if (length < 1 || length >= kSlots) return nullptr;
    const auto n = static_cast<std::size_t>(length);
    if (!built_[n].load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(building_);
        if (!built_[n].load(std::memory_order_relaxed)) {
            Build(length);
            built_[n].store(true, std::memory_order_release);
        }
    }
    return sections_[n].get();
}

void DecodedDictionary::BuildAll() {
    for (int length = 1; length < kSlots; ++length)
        Section(length);
}

std::size_t DecodedDictionary::Bytes() {
    const std::lock_guard<std::mutex> lock(building_);
    std::size_t bytes = 0;
    for (const auto& section : sections_)
        if (section) bytes += section->Bytes();
    return bytes;
}

void DecodedDictionary::Build(int length) {
    InputEngine input(dictionary_);
    if (!input.Start(length)) return;
    auto section = std::make_unique<DecodedSection>();
    DecodedSection& s = *section;
    s.length_ = length;
    const auto n = static_cast<std::size_t>(length);

    // Room for the entries the header announces, so the arrays are filled
    // without moving; a count that the section's bits cannot hold (each entry
    // takes at least a bit per letter and one for its end) or that no real
    // dictionary has is not trusted that far.
    const OWDictionaryList::Dictionary& d = dictionary_;
    const std::int64_t start = d.sectionOffset[length];
    const std::int64_t stop = length + 1 < d.lengthSlots && length + 1 < kSlots
                                  ? d.sectionOffset[length + 1]
                                  : d.fileSize;
    const std::int64_t bits = stop > start ? 8 * (stop - start) : 0;
    constexpr std::int64_t kMostReserved = 1 << 20;
    const auto expected = static_cast<std::size_t>(std::min<std::int64_t>(
        {std::max<std::int32_t>(d.sectionCount[length], 0), bits / (length + 1), kMostReserved}));
    s.masks_.reserve(expected);
    s.textAt_.reserve(expected);
    s.texts_.reserve(expected * (n + 3));
    std::copy(std::begin(d.keyClass), std::end(d.keyClass), s.letterOf_.begin());
    std::array<std::uint32_t, 256> bitOf{};
    for (int letter = 0; letter < 256; ++letter)
        bitOf[static_cast<std::size_t>(letter)] = LetterBit(static_cast<std::uint8_t>(letter));

    const bool flagged = d.version > 0;
    constexpr std::size_t kTextRoom = owrecord::kSize - owrecord::kText;
    for (;;) {
        const std::uint8_t* record = input.Next();
        if (record[owrecord::kKey] == owrecord::kEnd) break;
        const char* text = reinterpret_cast<const char*>(record + owrecord::kText);
        const std::size_t size = strnlen(text, kTextRoom) + 1;
        const std::size_t textAt = s.texts_.size();
        if (textAt + size > DecodedSection::kOffset) break;
        std::uint32_t mask = 0;
        for (std::size_t i = 0; i < n; ++i)
            mask |= bitOf[record[i]];
        s.masks_.push_back(mask);
        const std::uint32_t flag = flagged ? static_cast<std::uint32_t>(input.Flag()) : 1;
        s.textAt_.push_back(static_cast<std::uint32_t>(textAt) | flag << 31);
        s.texts_.insert(s.texts_.end(), text, text + size);
    }
    // A header that promised more than the section held leaves room to give back.
    const std::size_t count = s.masks_.size();
    if (s.masks_.capacity() > count + count / 8) {
        s.masks_.shrink_to_fit();
        s.textAt_.shrink_to_fit();
    }
    if (s.texts_.capacity() > s.texts_.size() + s.texts_.size() / 8) s.texts_.shrink_to_fit();
    sections_[n] = std::move(section);
}

bool MarksCommonWords(OWDictionaryList& list, int index, DecodedDictionary* decoded) {
    if (!list.IsValid(index) || list.Version(index) < 1) return false;
    const int slots = std::min(list.SlotCount(index), OWDictionaryList::Dictionary::kMaxSlots);
    for (int n = 1; n < slots; ++n) {
        if (decoded != nullptr) {
            if (const DecodedSection* section = decoded->Section(n))
                for (std::size_t i = 0; i < section->Size(); ++i)
                    if (section->Flag(i) != 0) return true;
            continue;
        }
        InputEngine input(list, index);
        if (!input.Start(n)) continue;
        while (input.Next()[owrecord::kKey] != owrecord::kEnd)
            if (input.Flag() != 0) return true;
    }
    return false;
}
