#pragma once
// Little-endian numbers in the binary formats we read (compound files, Word
// tables, ZIP). The caller has checked that the bytes are there.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kivo {

inline std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

inline std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

}  // namespace kivo
