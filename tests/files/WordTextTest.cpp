#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/FileError.h"
#include "files/WordText.h"

namespace kivo {
namespace {

// A file in memory that counts its reads.
class MemoryFile : public ByteReader {
public:
    explicit MemoryFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::size_t read(std::span<std::uint8_t> buffer) override {
        ++reads;
        const std::size_t n =
            pos_ >= bytes_.size() ? 0 : std::min(buffer.size(), bytes_.size() - pos_);
        if (n) std::memcpy(buffer.data(), bytes_.data() + pos_, n);
        pos_ += n;
        return n;
    }
    bool seek(std::uint64_t offset) override {
        pos_ = offset;
        return true;
    }
    int reads = 0;

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// A compound-file shell: signature, kind byte at 516, unit count at 588.
std::vector<std::uint8_t> compoundFile(std::size_t size, std::uint8_t kind, std::int32_t count) {
    std::vector<std::uint8_t> f(size, 0);
    const std::uint8_t sig[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1};
    std::memcpy(f.data(), sig, 6);
    if (size > 516) f[516] = kind;
    for (int k = 0; k < 4 && 588 + k < static_cast<int>(size); ++k) {
        f[588 + k] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> (8 * k));
    }
    return f;
}

void putUnits(std::vector<std::uint8_t>& f, std::size_t at, std::initializer_list<char16_t> units) {
    for (const char16_t u : units) {
        f[at++] = static_cast<std::uint8_t>(u & 0xFF);
        f[at++] = static_cast<std::uint8_t>(u >> 8);
    }
}

void putBytes(std::vector<std::uint8_t>& f, std::size_t at, std::initializer_list<int> bytes) {
    for (const int b : bytes) f[at++] = static_cast<std::uint8_t>(b);
}

std::vector<std::string> linesOf(std::vector<std::uint8_t> bytes,
                                 WordTextOutcome* outcome = nullptr, int acceptAtMost = 1 << 30) {
    MemoryFile file(std::move(bytes));
    std::vector<std::string> lines;
    const WordTextOutcome o = extractWordText(file, [&](std::string_view line) {
        if (static_cast<int>(lines.size()) >= acceptAtMost) return false;
        lines.emplace_back(line);
        return true;
    });
    if (outcome) *outcome = o;
    return lines;
}

using Lines = std::vector<std::string>;

TEST(FileKind, FirstSixBytesDecide) {
    const std::uint8_t rtf[] = {'{', '\\', 'r', 't', 'f', '1', 'x'};
    const std::uint8_t compound[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1};
    EXPECT_FALSE(isCompoundFile(rtf));
    EXPECT_TRUE(isCompoundFile(compound));
    EXPECT_FALSE(isCompoundFile(std::span(compound).first(5)));
    EXPECT_FALSE(isCompoundFile({}));
}

TEST(WordText, SixteenBitLinesEndAtCarriageReturns) {
    auto f = compoundFile(4096, 0, 5);
    putUnits(f, 1536, {0x3042, 0x0041, 0x000D, 0x0042, 0x000D});
    EXPECT_EQ(linesOf(f), (Lines{"あA", "B"}));
    putUnits(f, 1536 + 8, {0x0000});  // without the last CR, B is never ended
    EXPECT_EQ(linesOf(f), (Lines{"あA"}));
}

TEST(WordText, SixteenBitBlocksAndTailFollowTheUnitCount) {
    // 300 units: B = 600, two blocks of 514 bytes, then a tail of 88 bytes.
    auto f = compoundFile(8192, 0, 300);
    putUnits(f, 1536, {'a', 'b', 0x0000, 'x', 'y'});  // a NUL ends this block's text
    putUnits(f, 1536 + 514, {'c', 'd', '\r'});
    putUnits(f, 2564, {'t', '\r'});  // inside the tail
    putUnits(f, 2652, {'z', '\r'});  // behind it: never read
    EXPECT_EQ(linesOf(f), (Lines{"abcd", "t"}));
    // A count of 0 still reads one block.
    auto g = compoundFile(4096, 0, 0);
    putUnits(g, 1536, {'o', 'n', 'e', '\r', '\r'});
    EXPECT_EQ(linesOf(g), (Lines{"one", ""}));
}

TEST(WordText, SixteenBitTextKeepsEveryCharacter) {
    auto f = compoundFile(4096, 0, 257 + 2);
    // An emoji whose surrogate pair straddles the block boundary, then a
    // lone surrogate.
    std::vector<char16_t> units(256, u'x');
    units.push_back(0xD83D);
    for (std::size_t k = 0; k < units.size(); ++k) putUnits(f, 1536 + 2 * k, {units[k]});
    putUnits(f, 1536 + 514, {0xDE00, 0xDC00, '\r'});
    const Lines lines = linesOf(f);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(256, 'x') + "😀\xEF\xBF\xBD");
}

TEST(WordText, NegativeOrHugeCountsNeverOverrunABuffer) {
    for (const std::int32_t count : {-1, -300, 1 << 30, 0x7FFFFFFF}) {
        auto f = compoundFile(4096, 0, count);
        putUnits(f, 1536, {'q', '\r'});
        EXPECT_NO_THROW(linesOf(f)) << count;
    }
}

TEST(WordText, EightBitBlocksAreUnswappedAndNulsMarked) {
    auto f = compoundFile(1280 + 513, 0x69, 0);
    putBytes(f, 1280, {0xA0, 0x82, 0x41, 0x00, 0x0D});
    EXPECT_EQ(linesOf(f), (Lines{"あA"}));
}

TEST(WordText, EightBitUntestedNulCutsTheChunk) {
    auto f = compoundFile(1280 + 2 * 513, 0xC0, 0);
    // The swap moves the NUL to index 1, which the walk never tests, so the
    // chunk ends there; Z and the CR are lost.
    putBytes(f, 1280, {0x00, 0x82, 'Z', 0x0D});
    putBytes(f, 1280 + 513, {0xA0, 'B', 0x0D});
    EXPECT_EQ(linesOf(f), (Lines{"あB"}));
    // A block that starts with NUL adds nothing.
    auto g = compoundFile(1280 + 2 * 513, 0xE0, 0);
    putBytes(g, 1280, {0x00, 'N', 0x0D});
    putBytes(g, 1280 + 513, {'Y', 0x0D});
    EXPECT_EQ(linesOf(g), (Lines{"Y"}));
}

TEST(WordText, EightBitDropsOnlyAnIncompleteLastBlock) {
    auto whole = compoundFile(1280 + 2 * 513, 0x69, 0);
    putBytes(whole, 1280, {'a', 0x0D});
    putBytes(whole, 1280 + 513, {'b', 0x0D});
    EXPECT_EQ(linesOf(whole), (Lines{"a", "b"}));
    whole.pop_back();
    EXPECT_EQ(linesOf(whole), (Lines{"a"}));
}

TEST(WordText, TheNameProbeChoosesEightBitWhateverTheKindByte) {
    auto f = compoundFile(1280 + 513, 0x00, 5);
    std::size_t at = 512 + 100;
    for (const char c : std::string("WordDocument")) putUnits(f, (at += 2) - 2, {char16_t(c)});
    putBytes(f, 1280, {'8', 0x0D});
    EXPECT_EQ(linesOf(f), (Lines{"8"}));
}

TEST(WordText, ShortCompoundFileIsAReadPastTheEnd) {
    MemoryFile file(compoundFile(1279, 0, 0));
    try {
        extractWordText(file, [](std::string_view) { return true; });
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.code(), kReadPastEnd);
        EXPECT_STREQ(e.what(), "ファイルの末尾以降を読み込みました");
    }
}

TEST(WordText, ARefusedAppendStopsReading) {
    auto f = compoundFile(1280 + 3 * 513, 0x69, 0);
    putBytes(f, 1280, {'a', 0x0D, 'b', 0x0D});
    putBytes(f, 1280 + 513, {'c', 0x0D});
    WordTextOutcome outcome{};
    EXPECT_EQ(linesOf(f, &outcome, 1), (Lines{"a"}));
    EXPECT_EQ(outcome, WordTextOutcome::AppendRefused);
    MemoryFile file(f);
    int taken = 0;
    extractWordText(file, [&](std::string_view) { return taken++ < 1; });
    EXPECT_EQ(file.reads, 3);  // header block, name probe, one text block
}

}  // namespace
}  // namespace kivo
