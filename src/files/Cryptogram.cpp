#include "files/Cryptogram.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/FileReplacement.h"

namespace kivo {
namespace {

constexpr std::array<std::uint8_t, 6> kMagic = {0x17, 0x00, 'K', 'i', 'v', 'o'};
constexpr std::size_t kStampOffset = 6;
constexpr std::size_t kStoredKeyOffset = 10;
constexpr std::uint8_t kStoredKeyMask = 0xDD;

// Reads and writes go in large pieces so that the system calls do not
// dominate; memory stays the same whatever the file's size.
constexpr std::size_t kIoBufferSize = std::size_t{1} << 20;

// What XorWithKey lays over one 1024-byte block, computed once per call so
// that the copy is a plain XOR the compiler can vectorise.
using KeyBlock = std::array<std::uint8_t, kCipherBlockSize>;

KeyBlock keyBlockFor(std::string_view key) {
    KeyBlock block{};
    XorWithKey(block, key);
    return block;
}

// bytes[i] ^= stream[i], eight bytes at a time: the byte loop alone costs
// as much as reading the file.
void xorInto(std::uint8_t* bytes, const std::uint8_t* stream, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t word;
        std::uint64_t key;
        std::memcpy(&word, bytes + i, 8);
        std::memcpy(&key, stream + i, 8);
        word ^= key;
        std::memcpy(bytes + i, &word, 8);
    }
    for (; i < count; ++i) bytes[i] ^= stream[i];
}

// Enciphers bytes lying at body offset `offset` on: the key's phase is
// the offset within its 1024-byte block.
void cipherAt(std::span<std::uint8_t> bytes, std::uint64_t offset, const KeyBlock& block) {
    std::size_t phase = offset % kCipherBlockSize;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t run = std::min(kCipherBlockSize - phase, bytes.size() - i);
        xorInto(bytes.data() + i, block.data() + phase, run);
        i += run;
        phase = 0;
    }
}

// Copies exactly `count` bytes from input to output, enciphered. A short
// read (the file shrank) or a failed write fails the copy.
bool cipherCopy(File& input, File& output, std::uint64_t count, std::string_view key,
                ContainerIo& io) {
    const KeyBlock block = keyBlockFor(key);
    std::vector<std::uint8_t> buffer(std::min<std::uint64_t>(kIoBufferSize, count));
    for (std::uint64_t done = 0; done < count;) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), count - done));
        const std::span<std::uint8_t> piece(buffer.data(), want);
        const auto got = io.read(input, piece);
        if (!got || *got != want) return false;
        cipherAt(piece, done, block);
        if (!io.write(output, piece)) return false;
        done += want;
    }
    return true;
}

// Gives the written temporary file the input's rights, makes it durable
// and puts it in the input's place. The input is closed first: Windows
// does not replace a file that is still open.
bool replaceInput(File& input, FileReplacement& temp, ContainerIo& io) {
    if (!io.flush(temp.file())) return false;
    input.close();
    return temp.commit();
}

ContainerIo& fileIo() {
    static ContainerIo io;
    return io;
}

}  // namespace

void XorWithKey(std::span<std::uint8_t> bytes, std::string_view key) {
    if (key.empty()) return;
    std::size_t k = 0;
    for (std::uint8_t& byte : bytes) {
        byte ^= static_cast<std::uint8_t>(key[k]);
        if (++k == key.size()) k = 0;
    }
}

void WriteContainerHeader(ContainerHeader& header, std::string_view key, std::uint32_t dateStamp) {
    header.fill(0);
    std::copy(kMagic.begin(), kMagic.end(), header.begin());
    for (std::size_t i = 0; i < 4; ++i) {
        header[kStampOffset + i] = static_cast<std::uint8_t>(dateStamp >> (8 * i));
    }
    const std::size_t stored = std::min(key.size(), kStoredKeyCapacity);
    for (std::size_t i = 0; i < stored; ++i) {
        header[kStoredKeyOffset + i] = static_cast<std::uint8_t>(key[i]) ^ kStoredKeyMask;
    }
}

ContainerHeaderFields ReadContainerHeader(const ContainerHeader& header) {
    ContainerHeaderFields fields;
    if (!std::equal(kMagic.begin(), kMagic.end(), header.begin())) return fields;
    for (std::size_t i = 0; i < 4; ++i) {
        fields.dateStamp |= std::uint32_t{header[kStampOffset + i]} << (8 * i);
    }
    for (std::size_t i = kStoredKeyOffset; i < kStoredKeyOffset + kStoredKeyCapacity; ++i) {
        if (header[i] == 0) break;
        fields.storedKey.push_back(static_cast<char>(header[i] ^ kStoredKeyMask));
    }
    return fields;
}

std::string EncipherContainer(std::string_view plain, std::string_view key,
                              std::uint32_t dateStamp) {
    ContainerHeader header;
    WriteContainerHeader(header, key, dateStamp);
    std::string out(header.begin(), header.end());
    out.append(plain);
    if (!key.empty()) {
        const auto body = std::span(reinterpret_cast<std::uint8_t*>(out.data()), out.size())
                              .subspan(kContainerHeaderSize);
        cipherAt(body, 0, keyBlockFor(key));
    }
    return out;
}

ContainerContent ReadContainerFile(const std::filesystem::path& path, std::string_view key,
                                   std::uint64_t maxBody) {
    ContainerContent content;
    if (key.empty()) return content;
    File input = File::openForReading(path);
    if (!input.isOpen()) return content;
    const auto size = input.size();
    if (!size || *size < kSmallestExaminedFile) return content;
    ContainerHeader header{};
    if (!input.read(header)) return content;
    if (ReadContainerHeader(header).storedKey != key) {
        content.result = kNotAContainer;
        return content;
    }
    content.headerMatches = true;
    const std::int64_t bodySize = *size - static_cast<std::int64_t>(kContainerHeaderSize);
    if (bodySize > 0 && static_cast<std::uint64_t>(bodySize) > maxBody) return content;
    std::string plain(static_cast<std::size_t>(std::max<std::int64_t>(bodySize, 0)), '\0');
    const std::span<std::uint8_t> body(reinterpret_cast<std::uint8_t*>(plain.data()), plain.size());
    const auto got = input.read(body);
    if (!got || *got != body.size()) return content;
    cipherAt(body, 0, keyBlockFor(key));
    content.plain = std::move(plain);
    content.result = kDecrypted;
    return content;
}

bool EncryptFileInPlace(const std::filesystem::path& path, std::string_view key) {
    return EncryptFileInPlace(path, key, fileIo());
}

bool EncryptFileInPlace(const std::filesystem::path& path, std::string_view key, ContainerIo& io) {
    if (key.empty()) return false;
    File input = File::openForReading(path);
    if (!input.isOpen()) return false;
    const std::uint32_t stamp = input.lastWriteDosStamp();
    const auto size = input.size();
    if (!size) return false;

    FileReplacement temp(path);
    if (!temp.isOpen()) return false;
    ContainerHeader header;
    WriteContainerHeader(header, key, stamp);
    if (!io.write(temp.file(), header)) return false;
    if (!cipherCopy(input, temp.file(), static_cast<std::uint64_t>(*size), key, io)) return false;
    return replaceInput(input, temp, io);
}

DecryptResult DecryptFileInPlace(const std::filesystem::path& path, std::string_view key,
                                 std::uint8_t& notContainer) {
    return DecryptFileInPlace(path, key, notContainer, fileIo());
}

DecryptResult DecryptFileInPlace(const std::filesystem::path& path, std::string_view key,
                                 std::uint8_t& notContainer, ContainerIo& io) {
    notContainer = 1;
    if (key.empty()) return kNotProcessed;
    File input = File::openForReading(path);
    if (!input.isOpen()) return kNotProcessed;
    const auto size = input.size();
    if (!size || *size < kSmallestExaminedFile) return kNotProcessed;

    FileReplacement temp(path);
    if (!temp.isOpen()) return kNotProcessed;
    // A file shorter than a header fills fewer bytes; the rest stay zero.
    ContainerHeader header{};
    if (!io.read(input, header)) return kNotProcessed;
    const ContainerHeaderFields fields = ReadContainerHeader(header);
    if (fields.storedKey != key) return kNotAContainer;

    const std::int64_t bodySize = *size - static_cast<std::int64_t>(kContainerHeaderSize);
    if (bodySize > 0 &&
        !cipherCopy(input, temp.file(), static_cast<std::uint64_t>(bodySize), key, io)) {
        return kNotProcessed;
    }
    // 0 and stamps that name no date leave the file with the time it was written.
    temp.file().setLastWriteDosStamp(fields.dateStamp);
    if (!replaceInput(input, temp, io)) return kNotProcessed;
    notContainer = 0;
    return kDecrypted;
}

}  // namespace kivo
