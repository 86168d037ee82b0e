#pragma once
// The streams of a compound file (Microsoft's Compound File Binary format)
// held in memory: the header, the allocation tables (FAT through the DIFAT,
// and the mini FAT with its mini stream) and the directory. Every sector
// number, chain, count and size is checked against the file before use:
// a chain that leaves the file, loops or ends short makes the file broken.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::cfb {

enum class Status { Ok, Missing, Broken };

class CompoundFile {
public:
    // Reads the header, the FAT and the directory; nothing when they do not
    // hold together.
    static std::optional<CompoundFile> open(std::span<const std::uint8_t> file);

    // The stream of that name directly in the root storage (names compared
    // as the format does: without case for ASCII letters).
    Status readStream(std::u16string_view name, std::vector<std::uint8_t>& out) const;

private:
    struct Entry {
        std::u16string name;
        std::uint8_t type = 0;
        std::uint32_t left = 0, right = 0, child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    explicit CompoundFile(std::span<const std::uint8_t> file) : file_(file) {}
    bool readChain(std::uint32_t start, std::uint64_t size, std::vector<std::uint8_t>& out) const;
    bool readMiniChain(std::uint32_t start, std::uint64_t size,
                       std::vector<std::uint8_t>& out) const;
    std::span<const std::uint8_t> sector(std::uint32_t n) const;

    std::span<const std::uint8_t> file_;
    std::uint32_t sectorShift_ = 9;
    std::uint32_t sectorCount_ = 0;  // whole sectors in the file behind the header
    std::uint32_t miniCutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<std::uint8_t> miniStream_;
    std::vector<Entry> directory_;
};

}  // namespace kivo::cfb
