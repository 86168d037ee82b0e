#include "files/WordText.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/CodePage932.h"
#include "core/Utf8.h"
#include "files/FileError.h"
#include "files/TextDecoding.h"

namespace kivo {
namespace {

constexpr std::uint64_t kHeaderBlockOffset = 512;
constexpr std::size_t kHeaderBlockSize = 768;
constexpr std::size_t kNameProbeSize = 1026;   // 513 units
constexpr std::size_t kKindByte = 516 - 512;   // within the header block
constexpr std::size_t kUnitCount = 588 - 512;  // within the header block
constexpr std::uint64_t kSixteenBitText = 1536;
constexpr std::size_t kSixteenBitBlock = 514;  // 257 units
constexpr std::uint64_t kEightBitText = 1280;
constexpr std::size_t kEightBitBlock = 513;

// A document without line ends would otherwise be held whole in memory.
constexpr std::size_t kMaxLineBytes = 64u * 1024 * 1024;

bool isLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

char16_t unitAt(const std::uint8_t* bytes, std::size_t index) {
    return static_cast<char16_t>(bytes[2 * index] | bytes[2 * index + 1] << 8);
}

// Little-endian units up to, not including, the first 0x0000 unit.
std::u16string unitsBeforeNul(const std::uint8_t* bytes, std::size_t unitCount) {
    std::u16string units;
    units.reserve(unitCount);
    for (std::size_t k = 0; k < unitCount; ++k) {
        const char16_t u = unitAt(bytes, k);
        if (u == 0) break;
        units.push_back(u);
    }
    return units;
}

// Text read but not yet ended by a CR, and the lines cut from it.
class CarriedText {
public:
    explicit CarriedText(bool codePage932) : codePage932_(codePage932) {}

    void append(std::string_view bytes) { text_.append(bytes); }

    // Hands over every complete line; false when the list refused one, or
    // when a line grows longer than any list could take.
    bool emitLines(const LineSink& appendLine) {
        std::size_t start = 0;
        bool accepted = true;
        for (std::size_t cr; accepted && (cr = text_.find('\r', scanned_)) != std::string::npos;
             start = scanned_ = cr + 1) {
            const std::string_view line(text_.data() + start, cr - start);
            accepted = codePage932_ ? appendLine(cp932::decode(line)) : appendLine(line);
        }
        text_.erase(0, start);  // once per block, not once per line
        // The rest holds no CR: the next block's search starts behind it.
        scanned_ = text_.size();
        return accepted && text_.size() <= kMaxLineBytes;
    }

private:
    bool codePage932_;
    std::string text_;
    std::size_t scanned_ = 0;
};

WordTextOutcome sixteenBitText(ByteReader& file, std::int32_t unitCount,
                               const LineSink& appendLine) {
    // Doubled as the original did, wrapping in 32 bits.
    const auto byteLength = static_cast<std::int32_t>(static_cast<std::uint32_t>(unitCount) * 2u);
    CarriedText carried(false);
    // A surrogate pair cut by a block boundary is joined again.
    std::u16string pendingLead;
    auto take = [&](const std::uint8_t* bytes, std::size_t units) {
        const std::u16string part = unitsBeforeNul(bytes, units);
        const bool ranToEnd = part.size() == units;
        std::u16string text = pendingLead + part;
        pendingLead.clear();
        if (ranToEnd && !text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) {
            pendingLead = text.back();
            text.pop_back();
        }
        carried.append(utf16ToUtf8(text));
        return carried.emitLines(appendLine);
    };

    if (!file.seek(kSixteenBitText)) return WordTextOutcome::Completed;
    std::array<std::uint8_t, kSixteenBitBlock> block{};
    const std::int32_t blockReads = byteLength / 512 + 1;
    for (std::int32_t n = 0; n < blockReads; ++n) {
        if (file.read(block) < block.size()) return WordTextOutcome::Completed;
        if (!take(block.data(), block.size() / 2)) return WordTextOutcome::AppendRefused;
    }
    // The tail: at most 510 bytes; a negative length reads nothing.
    const std::int32_t tail = byteLength % 512;
    if (tail <= 0) return WordTextOutcome::Completed;
    std::array<std::uint8_t, 512> tailBytes{};
    const auto tailSize = static_cast<std::size_t>(tail);
    if (file.read(std::span(tailBytes.data(), tailSize)) < tailSize) {
        return WordTextOutcome::Completed;
    }
    if (!take(tailBytes.data(), tailSize / 2)) return WordTextOutcome::AppendRefused;
    return WordTextOutcome::Completed;
}

// Puts the double-byte characters, stored lead byte second, back in order
// and marks NUL bytes the walk passes as 0x01 (deleted later).
void unswapBlock(std::array<std::uint8_t, kEightBitBlock>& block) {
    std::size_t i = 0;
    do {
        if (isLeadByte(block[i + 1])) {
            std::swap(block[i], block[i + 1]);
            i += 2;
        } else {
            i += 1;
        }
        if (block[i] == 0x00) block[i] = 0x01;
    } while (i < 511);
}

WordTextOutcome eightBitText(ByteReader& file, const LineSink& appendLine) {
    if (!file.seek(kEightBitText)) return WordTextOutcome::Completed;
    CarriedText carried(true);
    std::array<std::uint8_t, kEightBitBlock> block{};
    std::string chunk;
    // A short read is the end of the file: that last, incomplete block is
    // dropped with what is left of the carried text.
    while (file.read(block) == block.size()) {
        unswapBlock(block);
        chunk.clear();
        for (const std::uint8_t b : block) {
            if (b == 0x00) break;
            if (b != 0x01) chunk.push_back(static_cast<char>(b));
        }
        carried.append(chunk);
        if (!carried.emitLines(appendLine)) return WordTextOutcome::AppendRefused;
    }
    return WordTextOutcome::Completed;
}

struct HeaderBlock {
    std::uint8_t kind;
    std::int32_t unitCount;
};

HeaderBlock readHeaderBlock(ByteReader& file) {
    std::array<std::uint8_t, kHeaderBlockSize> header{};
    if (!file.seek(kHeaderBlockOffset) || file.read(header) < header.size()) {
        throw FileError(kReadPastEnd);
    }
    const auto count = static_cast<std::uint32_t>(
        header[kUnitCount] | header[kUnitCount + 1] << 8 | header[kUnitCount + 2] << 16 |
        static_cast<std::uint32_t>(header[kUnitCount + 3]) << 24);
    return {header[kKindByte], static_cast<std::int32_t>(count)};
}

// Whether the 16-bit name probe at offset 512 names the "WordDocument"
// stream. NUL units in its first 512 units do not end the name.
bool probeNamesWordDocument(ByteReader& file) {
    std::array<std::uint8_t, kNameProbeSize> probe{};
    std::size_t delivered = 0;
    if (file.seek(kHeaderBlockOffset)) delivered = file.read(probe);
    const std::size_t units = delivered / 2;
    for (std::size_t k = 0; k < std::min<std::size_t>(units, 512); ++k) {
        if (unitAt(probe.data(), k) == 0) {
            probe[2 * k] = 0x01;
        }
    }
    return unitsBeforeNul(probe.data(), units).find(u"WordDocument") != std::u16string::npos;
}

bool isEightBitKind(std::uint8_t kind) { return kind == 0x69 || kind == 0xC0 || kind == 0xE0; }

}  // namespace

bool isCompoundFile(std::span<const std::uint8_t> firstBytes) {
    static constexpr std::uint8_t kCompound[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1};
    return firstBytes.size() >= 6 && std::equal(kCompound, kCompound + 6, firstBytes.begin());
}

WordTextOutcome extractWordText(ByteReader& file, const LineSink& appendLine) {
    const HeaderBlock header = readHeaderBlock(file);
    if (probeNamesWordDocument(file) || isEightBitKind(header.kind)) {
        return eightBitText(file, appendLine);
    }
    return sixteenBitText(file, header.unitCount, appendLine);
}

}  // namespace kivo
