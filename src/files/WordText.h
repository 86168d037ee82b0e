#pragma once
// Text pulled out of a Word binary document from fixed places of the file,
// without reading the compound file's tables: UTF-16 text behind offset
// 1536, or code page 932 text behind offset 1280 with its double-byte
// characters stored lead byte second.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "files/OfficeText.h"

namespace kivo {

// Whether the first bytes are a compound file's (a Word document's) signature.
bool isCompoundFile(std::span<const std::uint8_t> firstBytes);

// Sequential reads with a movable position, as an open file offers them.
class ByteReader {
public:
    virtual ~ByteReader() = default;
    // Reads into buffer from the current position and moves past what it
    // delivered; fewer bytes at the end of the file, 0 on failure.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    virtual bool seek(std::uint64_t offset) = 0;
};

// Bytes in memory, read as a file is: a seek past the end succeeds, and
// reads there give nothing.
class MemoryByteReader : public ByteReader {
public:
    explicit MemoryByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n =
            position_ >= bytes_.size()
                ? 0
                : std::min<std::uint64_t>(buffer.size(), bytes_.size() - position_);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), n, buffer.begin());
        position_ += n;
        return n;
    }
    bool seek(std::uint64_t offset) override {
        position_ = offset;
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::uint64_t position_ = 0;
};

// Emits the document's lines, each ended by a CR in the document. The name
// probe or the kind byte choose the 8-bit text; otherwise the header's unit
// count sizes the 16-bit text. Throws FileError "ファイルの末尾以降を読み込みました"
// when the header block cannot be read whole.
WordTextOutcome extractWordText(ByteReader& file, const LineSink& appendLine);

}  // namespace kivo
