#pragma once
// Module cryptogram: the enciphered word-list container (.Kivo). A
// container is a 44-byte header followed by the plain bytes XOR-ed with a
// key that starts again at every 1024-byte block of the body. Other copies
// of the program read and write these files, so the bytes are fixed.
//
// The file routines report only through their results and never show
// anything. Those that work in place go through a temporary file beside
// the input that replaces it in one rename.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/FileSystem.h"

namespace kivo {

inline constexpr std::size_t kContainerHeaderSize = 44;
inline constexpr std::size_t kCipherBlockSize = 1024;
inline constexpr std::size_t kStoredKeyCapacity = 32;
// Shorter files are never examined; 35 to 43 bytes can still hold a header
// that matches, and then yield an empty plain file.
inline constexpr std::int64_t kSmallestExaminedFile = 35;

using ContainerHeader = std::array<std::uint8_t, kContainerHeaderSize>;

struct ContainerHeaderFields {
    std::uint32_t dateStamp = 0;
    std::string storedKey;
};

enum DecryptResult : int {
    kDecrypted = 0,      // the file now holds its plain content
    kNotAContainer = 1,  // not a container for this key; the file is as it was
    kNotProcessed = 2,   // nothing could be done; the file is as it was
};

// bytes[j] ^= key[j mod L] for every j; nothing when the key is empty. The
// phase starts at the first byte given, so a body is enciphered one
// 1024-byte block per call.
void XorWithKey(std::span<std::uint8_t> bytes, std::string_view key);

// Fills the header: 0x17 0x00 "Kivo", the stamp lowest byte first, the first
// 32 key bytes XOR 0xDD (zero-padded), two zero bytes.
void WriteContainerHeader(ContainerHeader& header, std::string_view key, std::uint32_t dateStamp);

// The stamp and stored key of a header; both empty (0, "") when the magic
// bytes do not match. The stored key ends at the first zero byte.
ContainerHeaderFields ReadContainerHeader(const ContainerHeader& header);

// A whole container: the header with the stamp, then plain enciphered.
std::string EncipherContainer(std::string_view plain, std::string_view key,
                              std::uint32_t dateStamp);

// A container read into memory and deciphered there; the file is not
// touched, so nothing can leave it deciphered on disk.
struct ContainerContent {
    DecryptResult result = kNotProcessed;
    // The header named this key: the file is a container for it, even when
    // its body could not be read (result kNotProcessed).
    bool headerMatches = false;
    std::string plain;  // the deciphered body; a body past maxBody bytes is not read
};
ContainerContent ReadContainerFile(const std::filesystem::path& path, std::string_view key,
                                   std::uint64_t maxBody);

// Where the data of a pass flows. The routines use the files as they are;
// tests derive from it to make a read come up short or a write fail as on a
// full disk.
class ContainerIo {
public:
    virtual ~ContainerIo() = default;
    virtual std::optional<std::size_t> read(File& file, std::span<std::uint8_t> buffer) {
        return file.read(buffer);
    }
    virtual bool write(File& file, std::span<const std::uint8_t> bytes) {
        return file.write(bytes);
    }
    virtual bool flush(File& file) { return file.flush(); }
};

// Turns the file at path into a container. True when it now is one. On any
// failure the file is as it was and no temporary file is left.
bool EncryptFileInPlace(const std::filesystem::path& path, std::string_view key);
bool EncryptFileInPlace(const std::filesystem::path& path, std::string_view key, ContainerIo& io);

// Turns a container for key back into its plain content, restoring the
// last-write time from its stamp. notContainer is 0 only when this call
// decrypted the file, 1 otherwise.
DecryptResult DecryptFileInPlace(const std::filesystem::path& path, std::string_view key,
                                 std::uint8_t& notContainer);
DecryptResult DecryptFileInPlace(const std::filesystem::path& path, std::string_view key,
                                 std::uint8_t& notContainer, ContainerIo& io);

}  // namespace kivo
