#pragma once
// Reading one member out of a ZIP archive held in memory, as an Office Open
// XML document needs it: the central directory finds the member, and ISA-L
// inflates it in chunks (zlib in a build without ISA-L, as on Windows).
// Every count, size and offset is checked against the archive before use; a
// member is held to the size its directory entry states, and one stated
// past kMaxMemberBytes is refused before it is inflated. What a whole
// document may inflate is its reader's to bound (ReadBudget, OfficeText.h):
// a member that inflates a thousand times over is no fault in itself.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace kivo::zip {

inline constexpr std::uint64_t kMaxMemberBytes = 256u * 1024 * 1024;

// Whether the bytes begin as a ZIP archive does (a local file header).
bool hasZipSignature(std::span<const std::uint8_t> bytes);

struct Member {
    std::uint16_t method = 0;  // 0 stored, 8 deflated
    std::uint16_t flags = 0;
    std::uint32_t crc = 0;
    std::uint64_t storedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t dataOffset = 0;  // the stored bytes in the archive
};

enum class FindResult { Found, Missing, Broken };

// Looks a member up by name (ASCII letters compared without case, as the
// parts of an Office document are named). Broken: the archive's directory
// or the member's local header does not hold together.
FindResult findMember(std::span<const std::uint8_t> archive, std::string_view name, Member& member);

// The member whose local header begins the archive, when it bears this
// name: told from that header alone, without the central directory, as a
// document that names its kind in its first member (an OpenDocument's
// mimetype) is told even when the rest of the archive is damaged. False
// when the first header names another member or does not hold together.
bool firstMember(std::span<const std::uint8_t> archive, std::string_view name, Member& member);

enum class InflateResult {
    Complete,
    Broken,    // bad data, wrong size or checksum, unknown method, encrypted
    TooLarge,  // stated past kMaxMemberBytes
    Stopped,   // the sink asked to stop
};

// Receives the member's bytes in order, in chunks; false stops the inflate.
using ChunkSink = std::function<bool(std::string_view chunk)>;

// Inflates the member and hands its bytes to sink chunk by chunk.
InflateResult inflateMember(std::span<const std::uint8_t> archive, const Member& member,
                            const ChunkSink& sink);

}  // namespace kivo::zip
