// Random files, held in memory, through the Word document text extractor.
// Beyond the sanitizers' findings it checks what must hold for any input:
// the only exception is the read past the end of a file too short for its
// header block; every line is UTF-8 without a CR; the text never grows past
// a small multiple of the input and the reads stop at the end of the file,
// whatever the header's counts say; and a list that refuses a line gets
// exactly the lines before it, with nothing more read.
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "WordFuzz.h"
#include "files/FileError.h"
#include "files/WordText.h"

namespace {

// The header block ends at this offset: shorter files cannot be read.
constexpr std::size_t kHeaderEnd = 512 + 768;

class MemoryFile : public kivo::ByteReader {
public:
    explicit MemoryFile(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::span<std::uint8_t> buffer) override {
        ++reads;
        const std::size_t n = pos_ >= bytes_.size()
                                  ? 0
                                  : std::min<std::uint64_t>(buffer.size(), bytes_.size() - pos_);
        if (n > 0) std::memcpy(buffer.data(), bytes_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    bool seek(std::uint64_t offset) override {
        pos_ = offset;
        return true;
    }
    std::size_t reads = 0;

private:
    std::span<const std::uint8_t> bytes_;
    std::uint64_t pos_ = 0;
};

// What the reader gave, and how many reads of the file it took.
struct Extraction : kivo::fuzz::Extraction {
    std::size_t reads = 0;
};

// The lines of the file, for a list that takes at most acceptAtMost of them;
// a file too short for the header block is the read error.
Extraction extract(std::span<const std::uint8_t> bytes, std::size_t acceptAtMost) {
    MemoryFile file(bytes);
    Extraction result{kivo::fuzz::extractChecked(
        [&](const kivo::LineSink& sink) { return kivo::extractWordText(file, sink); }, acceptAtMost,
        "\r")};
    result.reads = file.reads;
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const Extraction all = extract(bytes, SIZE_MAX);
    FUZZ_CHECK(all.broken == (size < kHeaderEnd));
    if (all.broken) {
        FUZZ_CHECK(all.lines.empty());
        return 0;
    }
    FUZZ_CHECK(all.outcome == kivo::WordTextOutcome::Completed);
    // A byte becomes at most one character of three UTF-8 bytes (a 16-bit
    // unit of two bytes at most three), and each block read takes hundreds
    // of bytes or ends the text: a huge unit count cannot make more.
    FUZZ_CHECK(all.textBytes <= 3 * size);
    FUZZ_CHECK(all.reads <= size / 256 + 8);

    // A list that is full halfway gets the first half, and the reading
    // stops there; one with room for all gets the same lines again.
    const std::size_t half = all.lines.size() / 2;
    const Extraction refused = extract(bytes, half);
    if (!all.lines.empty()) {
        FUZZ_CHECK(refused.outcome == kivo::WordTextOutcome::AppendRefused);
        FUZZ_CHECK(std::equal(refused.lines.begin(), refused.lines.end(), all.lines.begin()) &&
                   refused.lines.size() == half);
        FUZZ_CHECK(refused.reads <= all.reads);
    } else {
        FUZZ_CHECK(refused.outcome == kivo::WordTextOutcome::Completed);
        FUZZ_CHECK(refused.reads == all.reads);
    }
    const Extraction again = extract(bytes, all.lines.size());
    FUZZ_CHECK(again.outcome == kivo::WordTextOutcome::Completed);
    FUZZ_CHECK(again.lines == all.lines);
    return 0;
}
