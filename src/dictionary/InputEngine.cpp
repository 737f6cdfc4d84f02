#include "dictionary/InputEngine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>

#include "dictionary/MatchEngine.h"

#ifdef _WIN32
#include <io.h>
#define QUILLON_OPEN_FLAGS (_O_RDONLY | _O_BINARY)
#define qopen _open
#define qread _read
#define qclose _close
#define qlseek _lseeki64
#else
#include <unistd.h>
#define QUILLON_OPEN_FLAGS O_RDONLY
#define qopen ::open
#define qread ::read
#define qclose ::close
#define qlseek ::lseek
#endif

namespace {

using Dictionary = OWDictionaryList::Dictionary;

int OpenReadOnly(const char* path) {
    return qopen(path, QUILLON_OPEN_FLAGS);
}

InputEngine::OpenFunction openFunction = OpenReadOnly;

// The live engines, oldest first: when the process runs out of file handles,
// a reader borrows the handle of the first engine that holds one.
InputEngine* firstEngine = nullptr;
InputEngine* lastEngine = nullptr;

} // namespace

void InputEngine::SetOpenFunction(OpenFunction open) {
    openFunction = open ? open : OpenReadOnly;
}

InputEngine::InputEngine(OWDictionaryList& list, int index) : InputEngine(list.At(index)) {
    list_ = &list;
    index_ = index;
}

InputEngine::InputEngine(OWDictionaryList::Dictionary& dictionary)
    : list_(nullptr), index_(0), dictionary_(dictionary) {
    std::memset(record_, 0, sizeof record_);
    record_[0] = owrecord::kEnd;
    std::memset(buffer_, 0, sizeof buffer_);
    word_ = end_ = buffer_;
    previous_ = lastEngine;
    if (lastEngine)
        lastEngine->next_ = this;
    else
        firstEngine = this;
    lastEngine = this;
}

InputEngine::~InputEngine() {
    if (previous_)
        previous_->next_ = next_;
    else
        firstEngine = next_;
    if (next_)
        next_->previous_ = previous_;
    else
        lastEngine = previous_;
    CloseHandle();
}

void InputEngine::CloseHandle() {
    if (handle_ >= 0) qclose(handle_);
    handle_ = -1;
}

bool InputEngine::OpenHandle() {
    for (;;) {
        handle_ = openFunction(dictionary_.path.c_str());
        if (handle_ >= 0) return true;
        if (errno != EMFILE) return false;
        InputEngine* donor = firstEngine;
        while (donor && donor->handle_ < 0)
            donor = donor->next_;
        if (!donor) return false;
        // The donor reopens and seeks back here on its next fill; its buffer
        // still holds everything up to this position.
        std::int64_t at = qlseek(donor->handle_, 0, SEEK_CUR);
        if (at < 0) return false;
        donor->position_ = at;
        donor->CloseHandle();
    }
}

bool InputEngine::Fill() {
    if (handle_ < 0) {
        if (!OpenHandle()) return false;
        if (position_ != 0 && qlseek(handle_, position_, SEEK_SET) != position_) return false;
    }
    int got = static_cast<int>(qread(handle_, buffer_, kBufferSize));
    if (got <= 0) return false;
    // The data is read as whole 32-bit words; the tail of a partial word is zero.
    int rounded = (got + 3) & ~3;
    std::memset(buffer_ + got, 0, static_cast<std::size_t>(rounded - got) + 8);
    word_ = buffer_;
    end_ = buffer_ + rounded;
    position_ += got;
    return true;
}

bool InputEngine::Start(int length) {
    length_ = length;
    counter_ = 0;
    flag_ = 0;
    CloseHandle();
    active_ = false;
    bits_ = 0;
    bitCount_ = 0;
    word_ = end_ = buffer_;
    exhausted_ = false;
    // The reload check may bring in a rebuilt file, so the version is read after it.
    bool valid = list_ != nullptr ? list_->IsValid(index_) : dictionary_.valid;
    groupsLeft_ = dictionary_.version > 0 ? 2 : 0;
    if (valid && length >= 1 && length < dictionary_.lengthSlots &&
        length < Dictionary::kMaxSlots) {
        std::int32_t offset = dictionary_.sectionOffset[length];
        // A section that would start outside the file cannot be read.
        bool inside = offset >= 0 && offset < dictionary_.fileSize;
        bool present =
            length == dictionary_.lengthSlots - 1 ||
            (length + 1 < Dictionary::kMaxSlots && dictionary_.sectionOffset[length + 1] > offset);
        position_ = offset;
        if (inside && present && !Fill()) CloseHandle();
    }
    std::memset(record_, 0, sizeof record_);
    active_ = handle_ >= 0;
    record_[active_ ? length : 0] = owrecord::kEnd;
    return active_;
}

// Ends the read: the caller sees a group end and every later call does too.
const std::uint8_t* InputEngine::EndRead() {
    record_[0] = owrecord::kEnd;
    active_ = false;
    exhausted_ = true;
    bits_ = 0;
    bitCount_ = 0;
    word_ = end_;
    return record_;
}

// Tops the bit reservoir up to at least 32 bits, refilling the buffer from
// the file when it runs dry. Bits above `count` are either zero or the bits
// that follow in the stream, which lets a whole 8-byte load be ORed in.
#define QUILLON_TOP_UP()                                                                           \
    do {                                                                                           \
        if (count < 32) {                                                                          \
            if (end - w >= 8) {                                                                    \
                std::uint64_t v;                                                                   \
                std::memcpy(&v, w, 8);                                                             \
                bits |= v << count;                                                                \
                w += (63 - count) >> 3;                                                            \
                count |= 56;                                                                       \
            } else {                                                                               \
                for (;;) {                                                                         \
                    while (count <= 56 && w < end) {                                               \
                        bits |= static_cast<std::uint64_t>(*w++) << count;                         \
                        count += 8;                                                                \
                    }                                                                              \
                    if (count >= 32 || exhausted_) break;                                          \
                    if (!Fill()) {                                                                 \
                        exhausted_ = true;                                                         \
                        break;                                                                     \
                    }                                                                              \
                    w = word_;                                                                     \
                    end = end_;                                                                    \
                }                                                                                  \
            }                                                                                      \
        }                                                                                          \
    } while (0)

const std::uint8_t* InputEngine::Next(MatchEngine* matcher) {
    if (!active_) return EndRead();
    const Dictionary& d = dictionary_;
    const std::uint32_t* fast = d.fastEntry;
    std::uint64_t bits = bits_;
    int count = bitCount_;
    const std::uint8_t* w = word_;
    const std::uint8_t* end = end_;
    std::uint8_t* const text = record_ + owrecord::kText;
    constexpr int kTextRoom = owrecord::kSize - owrecord::kText;
    const int length = length_;

    for (;;) {
        int keyLetters = 0;
        int t = 0;
        const std::uint8_t* cls = d.keyClass;
        for (;;) {
            QUILLON_TOP_UP();
            std::uint32_t f = fast[bits & 0xFF];
            unsigned symbol;
            if (f < Dictionary::kFastInner) {
                int bitsUsed = static_cast<int>(f >> 8);
                if (bitsUsed > count) return EndRead();
                bits >>= bitsUsed;
                count -= bitsUsed;
                symbol = f & 0xFF;
            } else {
                // Past the first 8 bits the code is followed one bit at a
                // time; codes are at most 32 bits, and 32 are at hand unless
                // the data has run out.
                std::int32_t node = static_cast<std::int32_t>(f & 0xFFFF);
                if (node == 0 || count < 8) return EndRead();
                bits >>= 8;
                count -= 8;
                while (node >= Dictionary::kRoot) {
                    if (count == 0) return EndRead();
                    node = d.decodeTree[node][bits & 1];
                    bits >>= 1;
                    --count;
                    if (node < 0) return EndRead();
                }
                symbol = static_cast<unsigned>(node);
            }
            if (t >= kTextRoom) return EndRead(); // longer than a record holds
            text[t++] = static_cast<std::uint8_t>(symbol);
            std::uint8_t c = cls[symbol];
            if (c < Dictionary::kLineFeed) {
                if (keyLetters >= length) return EndRead(); // more letters than the slot
                record_[keyLetters++] = c;
            } else if (c == Dictionary::kLineFeed) {
                text[t - 1] = 0;
                cls = d.textClass;
            } else if (c == Dictionary::kEntryEnd) {
                break;
            }
        }

        if (keyLetters == 0) {
            record_[0] = owrecord::kEnd;
            counter_ = 0;
            flag_ = 1;
            --groupsLeft_;
            break;
        }
        // Every key of a slot has exactly its number of letters; a shorter one
        // would leave the previous entry's letters in the key.
        if (keyLetters != length) return EndRead();
        if (groupsLeft_ == 2) {
            QUILLON_TOP_UP();
            if (count < 1) return EndRead();
            flag_ = static_cast<int>(bits & 1);
            bits >>= 1;
            --count;
            counter_ += flag_;
        } else {
            ++counter_;
        }
        if (!matcher || matcher->Accept(record_)) break;
    }
    bits_ = bits;
    bitCount_ = count;
    word_ = w;
    end_ = end;
    return record_;
}
