#pragma once
// What the tests that make and read .Kivo containers share: the key Kivo
// enciphers them with, written down by the tests rather than taken from the
// program, and a file's first bytes taken as a container's header.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "files/Cryptogram.h"

namespace kivo {

inline constexpr std::string_view kContainerKey = "tonic_Kivo_RW7QX214fy";

inline ContainerHeader headerOf(const std::vector<std::uint8_t>& bytes) {
    ContainerHeader header{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), header.size()), header.begin());
    return header;
}

}  // namespace kivo
