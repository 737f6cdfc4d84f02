#include "dictionary/OWDictionaryList.h"

#include "dictionary/DecodedDictionary.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>

namespace {

// Every loaded dictionary of the process, shared by path. Touched only from
// the one thread that searches.
std::vector<std::unique_ptr<OWDictionaryList::Dictionary>>& Pool() {
    static std::vector<std::unique_ptr<OWDictionaryList::Dictionary>> pool;
    return pool;
}

// Paths are compared as Windows compares them: without regard to letter case.
bool SamePath(const std::string& a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// Ticks of 100 ns between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000LL;

std::int16_t GetI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}
std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t GetU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t GetI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(GetU32(p));
}

// Each header read must deliver its full size; anything less is a short file.
bool ReadExact(std::FILE* file, void* into, std::size_t size) {
    return size == 0 || std::fread(into, 1, size, file) == size;
}

bool ReadI32s(std::FILE* file, std::int32_t* into, int count) {
    std::uint8_t raw[4 * OWDictionaryList::Dictionary::kMaxSlots];
    if (!ReadExact(file, raw, 4 * static_cast<std::size_t>(count))) return false;
    for (int i = 0; i < count; ++i)
        into[i] = GetI32(raw + 4 * i);
    return true;
}

// Closes the file on every way out of the loader.
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

OWDictionaryList::Dictionary& NullDictionary() {
    static OWDictionaryList::Dictionary closed;
    return closed;
}

bool StandardFileFacts(const std::string& path, OWFileFacts& facts) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p(path);
    if (path.empty() || !fs::is_regular_file(p, ec)) return false;
    auto stamp = fs::last_write_time(p, ec);
    if (ec) return false;
    auto since = std::chrono::file_clock::to_sys(stamp).time_since_epoch();
    auto ticks =
        std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(
            since);
    facts.modified = ticks.count() + kUnixEpochTicks;
    auto size = fs::file_size(p, ec);
    facts.size = ec ? 0 : static_cast<std::int64_t>(size);
    return true;
}

OWFileFactsReader fileFactsReader = &StandardFileFacts;

} // namespace

void OWSetFileFactsReader(OWFileFactsReader reader) {
    fileFactsReader = reader ? reader : &StandardFileFacts;
}

bool OWReadFileFacts(const std::string& path, OWFileFacts& facts) {
    facts = {};
    if (path.empty() || !fileFactsReader(path, facts)) return false;
    if (facts.modified == 0) facts.modified = 1; // 0 means unknown
    return true;
}

bool OWReadFileTime(const std::string& path, OWFileTime& time) {
    OWFileFacts facts;
    if (!OWReadFileFacts(path, facts)) return false;
    time = facts.modified;
    return true;
}

std::string OWFormatFileTime(OWFileTime time) {
    if (time == 0) return {};
    // Whole seconds since 1970, rounded down also for times before it.
    std::int64_t ticks = time - kUnixEpochTicks;
    std::int64_t seconds = ticks / 10000000 - (ticks % 10000000 < 0 ? 1 : 0);
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &t) != 0) return {};
#else
    if (localtime_r(&t, &local) == nullptr) return {};
#endif
    static const char* const days[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    if (local.tm_wday < 0 || local.tm_wday > 6 || local.tm_mon < 0 || local.tm_mon > 11) return {};
    char text[96];
    std::snprintf(text, sizeof text, "%s, %s %d, %d %02d:%02d:%02d", days[local.tm_wday],
                  months[local.tm_mon], local.tm_mday, local.tm_year + 1900, local.tm_hour,
                  local.tm_min, local.tm_sec);
    return text;
}

// ---------------------------------------------------------------------------
// Dictionary

OWDictionaryList::Dictionary::Dictionary() {
    Clear();
}

void OWDictionaryList::Dictionary::Clear() {
    for (int i = 0; i < 256; ++i) {
        decodeTree[i][0] = 0;
        decodeTree[i][1] = kNotALetter;
    }
    for (int i = 256; i < kNodes; ++i)
        decodeTree[i][0] = decodeTree[i][1] = -1;
    for (int b = 0; b < 256; ++b) {
        fastNode[b] = -1;
        fastEntry[b] = kFastInner; // dead end: nothing decodes
        keyClass[b] = textClass[b] = kPlain;
    }
    std::memset(letterChar, '!', sizeof letterChar);
    std::fill(std::begin(reserved), std::end(reserved), 0);
    std::fill(std::begin(extraA), std::end(extraA), -1);
    std::fill(std::begin(extraB), std::end(extraB), -1);
    std::fill(std::begin(extraC), std::end(extraC), 0);
    std::fill(std::begin(sectionOffset), std::end(sectionOffset), 0);
    std::fill(std::begin(sectionCount), std::end(sectionCount), 0);
    version = 0;
    lengthSlots = 0;
    letterCount = classCount = 0;
    blockCount = 0;
    fileSize = 0;
    blocks.clear();
    blocks.shrink_to_fit();
    decoded.reset();
    description = kInvalidText;
}

bool OWDictionaryList::Dictionary::Load(const std::string* newPath, int newMode) {
    if (valid && newPath && hasPath && path == *newPath) return true;
    valid = false;
    mode = newMode;
    modified = 0;
    hasPath = newPath != nullptr;
    path = newPath ? *newPath : std::string();
    Clear();
    if (!hasPath) return false;

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    OWFileFacts facts;
    if (!file || !OWReadFileFacts(path, facts)) {
        description = kNotFoundText;
        return false;
    }
    modified = facts.modified;
    fileSize = facts.size;
    if (!ReadHeader(file.get())) return false;
    valid = true;
    return true;
}

bool OWDictionaryList::Dictionary::ReadHeader(std::FILE* file) {
    std::uint8_t raw[8];
    if (!ReadExact(file, raw, 4)) return false;
    if (std::memcmp(raw, "OWD", 3) != 0 || (raw[3] != '0' && raw[3] != '1')) return false;
    version = raw[3] - '0';

    if (!ReadExact(file, raw, 2)) return false;
    std::uint16_t slots = GetU16(raw);
    // The tables hold 32 slots; a file declaring more cannot be read.
    if (slots > kMaxSlots) return false;
    lengthSlots = slots;

    if (version >= 1) {
        if (!ReadI32s(file, reserved, 3)) return false;
        if (!ReadI32s(file, extraA, slots)) return false;
        if (!ReadI32s(file, extraB, slots)) return false;
        if (!ReadI32s(file, extraC, slots)) return false;
    }
    if (!ReadI32s(file, sectionOffset, slots)) return false;
    if (!ReadI32s(file, sectionCount, slots)) return false;

    // The description field need not hold a NUL: then all of it is the text.
    std::size_t field = version >= 1 ? kDescriptionSize : 80;
    char text[kDescriptionSize];
    if (!ReadExact(file, text, field)) return false;
    description.assign(text, strnlen(text, field));

    if (!ReadExact(file, raw, 4)) return false;
    letterCount = GetI16(raw);
    classCount = GetI16(raw + 2);
    if (letterCount <= 0 || letterCount >= 254 || classCount <= 0 || classCount >= 254 ||
        letterCount > classCount)
        return false;

    std::uint8_t codeTable[256 * 8];
    if (!ReadExact(file, codeTable, sizeof codeTable)) return false;
    if (!BuildTree(codeTable)) return false;

    if (mode != 0) {
        if (!ReadExact(file, raw, 2)) return false;
        blockCount = GetU16(raw);
        std::size_t bytes =
            static_cast<std::size_t>(blockCount) * static_cast<std::size_t>(letterCount);
        // Never allocate more than the file can still hold.
        long at = std::ftell(file);
        if (at < 0 || static_cast<std::int64_t>(bytes) > fileSize - at) return false;
        blocks.resize(bytes);
        if (!ReadExact(file, blocks.data(), bytes)) return false;
    }
    return true;
}

// Builds the decode tree from the code table. Every node on a code's path gets
// both children at once, so the 255 inner nodes can run out before 256 codes
// are placed; such a table, a code longer than 32 bits, a letter index outside
// the alphabet and codes that are not a prefix code make the file invalid.
bool OWDictionaryList::Dictionary::BuildTree(const std::uint8_t* table) {
    int nextFree = kRoot + 1;
    for (int e = 0; e < 256; ++e) {
        const std::uint8_t* entry = table + 8 * e;
        std::uint8_t character = entry[0];
        int length = entry[1];
        int letter = GetI16(entry + 2);
        std::uint32_t code = GetU32(entry + 4);
        if (length == 0) continue;
        if (length > 32 || letter >= letterCount) return false;
        int node = kRoot;
        for (int k = length - 1; k >= 1; --k) {
            for (int side = 0; side < 2; ++side) {
                if (decodeTree[node][side] != -1) continue;
                if (nextFree >= kNodes) return false;
                decodeTree[node][side] = nextFree++;
            }
            node = decodeTree[node][(code >> k) & 1];
            if (node < kRoot) return false; // a shorter code is a prefix of this one
        }
        std::int32_t& slot = decodeTree[node][code & 1];
        if (slot >= 0 && slot < kRoot) return false; // the same code twice
        if (slot >= kRoot && (decodeTree[slot][0] != -1 || decodeTree[slot][1] != -1))
            return false; // this code is a prefix of a longer one
        slot = e;
        decodeTree[e][0] = length;
        if (letter >= 0) {
            decodeTree[e][1] = letter;
            letterChar[letter] = character;
        }
    }

    for (int b = 0; b < 256; ++b) {
        int node = kRoot;
        int bits = 0;
        while (node >= kRoot && bits < 8) {
            node = decodeTree[node][(b >> bits) & 1];
            ++bits;
        }
        fastNode[b] = node;
        if (node < 0)
            fastEntry[b] = kFastInner; // no code starts with these bits
        else if (node < kRoot)
            fastEntry[b] = static_cast<std::uint32_t>(node) |
                           static_cast<std::uint32_t>(decodeTree[node][0]) << 8;
        else
            fastEntry[b] = kFastInner | static_cast<std::uint32_t>(node);
    }
    for (int b = 0; b < 256; ++b) {
        std::int32_t letter = decodeTree[b][1];
        keyClass[b] = letter == kNotALetter ? kPlain : static_cast<std::uint8_t>(letter);
        textClass[b] = kPlain;
    }
    keyClass[0] = textClass[0] = kEntryEnd;
    keyClass[10] = textClass[10] = kLineFeed;
    return true;
}

bool OWDictionaryList::Dictionary::ReloadCheck() {
    OWFileFacts now;
    if (hasPath && OWReadFileFacts(path, now) && now.modified == modified && now.size == fileSize)
        return valid;
    if (!hasPath) return valid;
    std::string copy = path;
    Load(nullptr, mode);
    Load(&copy, mode);
    return valid;
}

// ---------------------------------------------------------------------------
// OWDictionaryList

OWDictionaryList::OWDictionaryList(std::string_view name) : name_(name) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t stop = name.find(';', start);
        Add(name.substr(start,
                        stop == std::string_view::npos ? name.size() - start : stop - start));
        if (stop == std::string_view::npos) break;
        start = stop + 1;
    }
}

OWDictionaryList::OWDictionaryList(OnePath, std::string_view path) : name_(path) {
    Add(path);
}

void OWDictionaryList::Add(std::string_view piece) {
    auto& pool = Pool();
    Dictionary* found = nullptr;
    for (auto& d : pool)
        if (d->hasPath && SamePath(d->path, piece)) {
            found = d.get();
            break;
        }
    if (found) {
        ++found->refCount;
    } else {
        pool.push_back(std::make_unique<Dictionary>());
        found = pool.back().get();
        found->refCount = 1;
        std::string path(piece);
        found->Load(&path, 1);
    }
    dictionaries_.push_back(found);
}

OWDictionaryList::~OWDictionaryList() {
    auto& pool = Pool();
    for (Dictionary* d : dictionaries_) {
        if (--d->refCount > 0) continue;
        d->Load(nullptr, d->mode);
        pool.erase(std::find_if(pool.begin(), pool.end(), [d](auto& p) { return p.get() == d; }));
    }
}

std::shared_ptr<DecodedDictionary> OWDictionaryList::Decoded(int index) {
    if (index < 0 || index >= Count()) return nullptr;
    Dictionary& d = At(index);
    if (!d.valid) return nullptr;
    if (!d.decoded) d.decoded = std::make_shared<DecodedDictionary>(d);
    return d.decoded;
}

int OWDictionaryList::Count() const {
    return static_cast<int>(dictionaries_.size());
}

OWDictionaryList::Dictionary& OWDictionaryList::At(int index) {
    if (index < 0 || index >= Count()) return NullDictionary();
    return *dictionaries_[static_cast<std::size_t>(index)];
}

const OWDictionaryList::Dictionary& OWDictionaryList::At(int index) const {
    if (index < 0 || index >= Count()) return NullDictionary();
    return *dictionaries_[static_cast<std::size_t>(index)];
}

std::optional<std::string> OWDictionaryList::FirstInvalidPath() {
    for (Dictionary* d : dictionaries_)
        if (!d->ReloadCheck()) return d->path;
    return std::nullopt;
}

bool OWDictionaryList::IsValid(int index) {
    if (index < 0 || index >= Count()) return false;
    return At(index).ReloadCheck();
}

const std::string& OWDictionaryList::Path(int index) const {
    return At(index).path;
}
const std::string& OWDictionaryList::Description(int index) const {
    return At(index).description;
}
OWFileTime OWDictionaryList::Modified(int index) const {
    return At(index).modified;
}
int OWDictionaryList::Version(int index) const {
    return At(index).version;
}

OWDictionaryList::LengthStats OWDictionaryList::Statistics(int index) const {
    const Dictionary& d = At(index);
    LengthStats stats;
    int slots = std::min<int>(d.lengthSlots, Dictionary::kMaxSlots);
    for (int n = 1; n < slots; ++n) {
        if (d.sectionCount[n] <= 0) continue;
        stats.entries += d.sectionCount[n];
        if (stats.shortest == 0) stats.shortest = n;
        stats.longest = n;
    }
    return stats;
}

std::uint8_t OWDictionaryList::LetterIndex(int index, unsigned char c) const {
    return static_cast<std::uint8_t>(At(index).decodeTree[c][1]);
}

unsigned char OWDictionaryList::LetterChar(int index, std::uint8_t letter) const {
    return At(index).letterChar[letter];
}

int OWDictionaryList::LetterCount(int index) const {
    return At(index).letterCount;
}

std::int32_t OWDictionaryList::SectionOffset(int index, int n) const {
    const Dictionary& d = At(index);
    if (n < 0 || n >= d.lengthSlots || n >= Dictionary::kMaxSlots) return 0;
    return d.sectionOffset[n];
}

int OWDictionaryList::SlotCount(int index) const {
    return At(index).lengthSlots;
}
