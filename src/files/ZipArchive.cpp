#include "files/ZipArchive.h"

#include <zlib.h>
#ifdef KIVO_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

#include <algorithm>
#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/LittleEndian.h"

namespace kivo::zip {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034B50;
constexpr std::uint32_t kCentralHeader = 0x02014B50;
constexpr std::uint32_t kEndOfDirectory = 0x06054B50;
constexpr std::size_t kEndOfDirectorySize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kMaxComment = 0xFFFF;
// The bytes handed to the sink at a time: a wide window, as zlib copies
// the last 32 KiB of every call's output into its own window.
constexpr std::size_t kInflateWindow = 256 * 1024;
// Members from this size up are inflated ahead, on a thread of their own,
// into this many windows.
constexpr std::uint64_t kInflateAheadBytes = 4u * 1024 * 1024;
constexpr std::size_t kWindowsAhead = 16;

bool sameName(std::span<const std::uint8_t> stored, std::string_view name) {
    if (stored.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto a = static_cast<unsigned char>(stored[i]);
        auto b = static_cast<unsigned char>(name[i]);
        if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

// The end-of-central-directory record: the last one in the archive's tail.
std::optional<std::size_t> endOfDirectory(std::span<const std::uint8_t> archive) {
    if (archive.size() < kEndOfDirectorySize) return std::nullopt;
    const std::size_t lowest = archive.size() > kEndOfDirectorySize + kMaxComment
                                   ? archive.size() - kEndOfDirectorySize - kMaxComment
                                   : 0;
    for (std::size_t at = archive.size() - kEndOfDirectorySize + 1; at-- > lowest;) {
        if (archive[at] == 0x50 && u32(archive, at) == kEndOfDirectory &&
            at + kEndOfDirectorySize + u16(archive, at + 20) == archive.size()) {
            return at;
        }
    }
    // A comment length that does not reach the end: take the last signature.
    for (std::size_t at = archive.size() - kEndOfDirectorySize + 1; at-- > lowest;) {
        if (archive[at] == 0x50 && u32(archive, at) == kEndOfDirectory) return at;
    }
    return std::nullopt;
}

// A deflated member inflated window by window, its size and checksum
// checked as it goes.
enum class Step {
    More,       // a window's bytes, and more to come
    Last,       // the last bytes; size and checksum are right
    LastWrong,  // the last bytes, but the size or checksum is wrong
    Broken,     // nothing more: bad data, or more bytes than stated
};

// Where the library of the build offers it, ISA-L inflates (more than twice
// as fast as zlib here, the checksum computed as it goes); else zlib.
class Inflater {
public:
#ifdef KIVO_HAVE_ISAL
    Inflater(std::span<const std::uint8_t> stored, const Member& member) : member_(member) {
        isal_inflate_init(&state_);
        state_.crc_flag = ISAL_GZIP_NO_HDR;  // the CRC-32 a ZIP member states
        state_.next_in = const_cast<std::uint8_t*>(stored.data());
        state_.avail_in = static_cast<std::uint32_t>(stored.size());
    }
    bool ready() const { return true; }
#else
    Inflater(std::span<const std::uint8_t> stored, const Member& member) : member_(member) {
        ready_ = inflateInit2(&z_, -MAX_WBITS) == Z_OK;
        z_.next_in = const_cast<Bytef*>(stored.data());
        z_.avail_in = static_cast<uInt>(stored.size());
    }
    ~Inflater() {
        if (ready_) inflateEnd(&z_);
    }
    bool ready() const { return ready_; }
#endif
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    Step next(std::uint8_t* out, std::size_t capacity, std::size_t& produced) {
        bool ended = false;
        std::size_t inputLeft = 0;
#ifdef KIVO_HAVE_ISAL
        state_.next_out = out;
        state_.avail_out = static_cast<std::uint32_t>(capacity);
        if (isal_inflate(&state_) != ISAL_DECOMP_OK) return Step::Broken;
        produced = capacity - state_.avail_out;
        ended = state_.block_state == ISAL_BLOCK_FINISH;
        inputLeft = state_.avail_in;
#else
        z_.next_out = out;
        z_.avail_out = static_cast<uInt>(capacity);
        const int rc = inflate(&z_, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) return Step::Broken;
        produced = capacity - z_.avail_out;
        ended = rc == Z_STREAM_END;
        inputLeft = z_.avail_in;
        crc_ = crc32(crc_, out, static_cast<uInt>(produced));
#endif
        total_ += produced;
        if (total_ > member_.size) return Step::Broken;
        if (ended)
            return total_ == member_.size && crc() == member_.crc ? Step::Last : Step::LastWrong;
        // No progress possible: the stored data ended before the stream did.
        if (produced == 0 && inputLeft == 0) return Step::Broken;
        return Step::More;
    }

private:
#ifdef KIVO_HAVE_ISAL
    std::uint32_t crc() const { return state_.crc; }
    // Some 90 KiB of tables: on the heap, not a thread's stack.
    std::unique_ptr<inflate_state> held_ = std::make_unique<inflate_state>();
    inflate_state& state_ = *held_;
#else
    std::uint32_t crc() const { return static_cast<std::uint32_t>(crc_); }
    z_stream z_{};
    bool ready_ = false;
    uLong crc_ = crc32(0, nullptr, 0);
#endif
    const Member& member_;
    std::uint64_t total_ = 0;
};

// A step's bytes to the sink; the result once the member is done with.
std::optional<InflateResult> hand(Step step, const std::uint8_t* bytes, std::size_t size,
                                  const ChunkSink& sink) {
    if (step == Step::Broken) return InflateResult::Broken;
    if (size > 0 && !sink(std::string_view(reinterpret_cast<const char*>(bytes), size))) {
        return InflateResult::Stopped;
    }
    if (step == Step::Last) return InflateResult::Complete;
    if (step == Step::LastWrong) return InflateResult::Broken;
    return std::nullopt;
}

// A large member is inflated on a thread of its own, a few windows ahead of
// the sink, so that inflating and reading take turns on two cores rather
// than one; the sink is called on the caller's thread, with the same
// windows as without. Nothing when no thread could be started.
//
// The worker, once the ring is full, waits until half of it is free: then
// it inflates in long stretches, rather than being woken for every window
// read, which cost it a tenth more time. The reader goes on from the first
// window inflated.
std::optional<InflateResult> inflateAhead(Inflater& inflater, const ChunkSink& sink) {
    struct Window {
        // Not cleared: the worker's first writes touch its pages, not the
        // reader's thread.
        std::unique_ptr<std::uint8_t[]> bytes{new std::uint8_t[kInflateWindow]};
        std::size_t size = 0;
        Step step = Step::More;
    };
    std::array<Window, kWindowsAhead> windows;
    constexpr std::size_t kHalf = kWindowsAhead / 2;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t filled = 0;  // windows inflated and not yet read
    bool stop = false;
    const auto inflateAll = [&] {
        for (std::size_t n = 0;; ++n) {
            Window& w = windows[n % windows.size()];
            {
                std::unique_lock lock(mutex);
                if (filled == windows.size()) {
                    changed.wait(lock, [&] { return filled <= kHalf || stop; });
                }
                if (stop) return;
            }
            std::size_t produced = 0;
            const Step step = inflater.next(w.bytes.get(), kInflateWindow, produced);
            w.size = produced;
            w.step = step;
            bool wake = false;
            {
                std::lock_guard lock(mutex);
                wake = ++filled == 1;
            }
            if (wake) changed.notify_all();
            if (step != Step::More) return;
        }
    };
    std::thread worker;
    try {
        worker = std::thread(inflateAll);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    // The worker is stopped and waited for however the sink leaves, a
    // throw included.
    struct Join {
        std::thread& worker;
        std::mutex& mutex;
        std::condition_variable& changed;
        bool& stop;
        ~Join() {
            {
                std::lock_guard lock(mutex);
                stop = true;
            }
            changed.notify_all();
            worker.join();
        }
    } join{worker, mutex, changed, stop};
    for (std::size_t n = 0;; ++n) {
        Window& w = windows[n % windows.size()];
        {
            std::unique_lock lock(mutex);
            if (filled == 0) changed.wait(lock, [&] { return filled > 0; });
        }
        const std::optional<InflateResult> done = hand(w.step, w.bytes.get(), w.size, sink);
        if (done) return done;
        bool wake = false;
        {
            std::lock_guard lock(mutex);
            --filled;
            wake = filled == kHalf;
        }
        if (wake) changed.notify_all();
    }
}

}  // namespace

bool hasZipSignature(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && u32(bytes, 0) == kLocalHeader;
}

FindResult findMember(std::span<const std::uint8_t> archive, std::string_view name,
                      Member& member) {
    const std::optional<std::size_t> eocd = endOfDirectory(archive);
    if (!eocd) return FindResult::Broken;
    const std::uint16_t entries = u16(archive, *eocd + 10);
    const std::uint32_t directorySize = u32(archive, *eocd + 12);
    const std::uint32_t directoryOffset = u32(archive, *eocd + 16);
    // ZIP64 (sizes and offsets beyond 32 bits) is beyond any document here.
    if (entries == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) {
        return FindResult::Broken;
    }
    if (static_cast<std::uint64_t>(directoryOffset) + directorySize > *eocd) {
        return FindResult::Broken;
    }
    const std::span<const std::uint8_t> directory = archive.subspan(directoryOffset, directorySize);
    std::size_t at = 0;
    for (std::uint32_t n = 0; n < entries; ++n) {
        if (at + kCentralHeaderSize > directory.size() || u32(directory, at) != kCentralHeader) {
            return FindResult::Broken;
        }
        const std::size_t nameLength = u16(directory, at + 28);
        const std::size_t extraLength = u16(directory, at + 30);
        const std::size_t commentLength = u16(directory, at + 32);
        const std::size_t next = at + kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (next > directory.size()) return FindResult::Broken;
        if (!sameName(directory.subspan(at + kCentralHeaderSize, nameLength), name)) {
            at = next;
            continue;
        }
        member.flags = u16(directory, at + 8);
        member.method = u16(directory, at + 10);
        member.crc = u32(directory, at + 16);
        member.storedSize = u32(directory, at + 20);
        member.size = u32(directory, at + 24);
        const std::uint64_t local = u32(directory, at + 42);
        if (member.storedSize == 0xFFFFFFFF || member.size == 0xFFFFFFFF || local == 0xFFFFFFFF) {
            return FindResult::Broken;
        }
        // The local header, and the stored bytes behind it, before the
        // central directory.
        if (local + kLocalHeaderSize > directoryOffset || u32(archive, local) != kLocalHeader) {
            return FindResult::Broken;
        }
        member.dataOffset =
            local + kLocalHeaderSize + u16(archive, local + 26) + u16(archive, local + 28);
        if (member.dataOffset + member.storedSize > directoryOffset) return FindResult::Broken;
        return FindResult::Found;
    }
    return FindResult::Missing;
}

bool firstMember(std::span<const std::uint8_t> archive, std::string_view name, Member& member) {
    if (archive.size() < kLocalHeaderSize || !hasZipSignature(archive)) return false;
    const std::size_t nameLength = u16(archive, 26);
    if (kLocalHeaderSize + nameLength > archive.size() ||
        !sameName(archive.subspan(kLocalHeaderSize, nameLength), name)) {
        return false;
    }
    member.flags = u16(archive, 6);
    member.method = u16(archive, 8);
    member.crc = u32(archive, 14);
    member.storedSize = u32(archive, 18);
    member.size = u32(archive, 22);
    member.dataOffset = kLocalHeaderSize + nameLength + u16(archive, 28);
    return member.dataOffset <= archive.size() &&
           member.storedSize <= archive.size() - member.dataOffset;
}

InflateResult inflateMember(std::span<const std::uint8_t> archive, const Member& member,
                            const ChunkSink& sink) {
    if (member.flags & 0x0001) return InflateResult::Broken;  // encrypted
    if (member.dataOffset + member.storedSize > archive.size()) return InflateResult::Broken;
    // The sizes the directory states are checked before anything is inflated,
    // and what is inflated is held to them.
    if (member.size > kMaxMemberBytes) return InflateResult::TooLarge;
    const std::span<const std::uint8_t> stored =
        archive.subspan(member.dataOffset, member.storedSize);
    if (member.method == 0) {
        if (member.storedSize != member.size) return InflateResult::Broken;
        if (crc32(0, stored.data(), static_cast<uInt>(stored.size())) != member.crc) {
            return InflateResult::Broken;
        }
        for (std::size_t at = 0; at < stored.size(); at += kInflateWindow) {
            const std::size_t n = std::min(kInflateWindow, stored.size() - at);
            if (!sink(std::string_view(reinterpret_cast<const char*>(stored.data()) + at, n))) {
                return InflateResult::Stopped;
            }
        }
        return InflateResult::Complete;
    }
    if (member.method != 8) return InflateResult::Broken;
    Inflater inflater(stored, member);
    if (!inflater.ready()) return InflateResult::Broken;
    if (member.size >= kInflateAheadBytes) {
        if (const std::optional<InflateResult> done = inflateAhead(inflater, sink)) return *done;
    }
    std::vector<std::uint8_t> out(kInflateWindow);
    while (true) {
        std::size_t produced = 0;
        const Step step = inflater.next(out.data(), out.size(), produced);
        const std::optional<InflateResult> done = hand(step, out.data(), produced, sink);
        if (done) return *done;
    }
}

}  // namespace kivo::zip
