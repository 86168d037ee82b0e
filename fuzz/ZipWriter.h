#pragma once
// Packs members into a ZIP archive, stored or deflated, so that a target can
// hand its fuzzed XML to a reader of archives.
#include <zlib.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kivo::fuzz {

struct ZipEntry {
    std::string name;
    std::span<const std::uint8_t> data;
};

inline std::vector<std::uint8_t> zipOf(const std::vector<ZipEntry>& entries, bool deflated) {
    using Bytes = std::vector<std::uint8_t>;
    const auto put16 = [](Bytes& b, unsigned v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto put32 = [&](Bytes& b, std::uint32_t v) {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    };
    Bytes zip, directory;
    for (const ZipEntry& e : entries) {
        Bytes stored(e.data.begin(), e.data.end());
        if (deflated) {
            z_stream z{};
            deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            stored.assign(deflateBound(&z, static_cast<uLong>(e.data.size())), 0);
            z.next_in = const_cast<Bytef*>(e.data.data());
            z.avail_in = static_cast<uInt>(e.data.size());
            z.next_out = stored.data();
            z.avail_out = static_cast<uInt>(stored.size());
            deflate(&z, Z_FINISH);
            stored.resize(z.total_out);
            deflateEnd(&z);
        }
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, e.data.data(), static_cast<uInt>(e.data.size())));
        const unsigned method = deflated ? 8 : 0;
        const auto offset = static_cast<std::uint32_t>(zip.size());
        put32(zip, 0x04034B50), put16(zip, 20), put16(zip, 0), put16(zip, method), put32(zip, 0);
        put32(zip, crc), put32(zip, static_cast<std::uint32_t>(stored.size()));
        put32(zip, static_cast<std::uint32_t>(e.data.size()));
        put16(zip, static_cast<unsigned>(e.name.size())), put16(zip, 0);
        zip.insert(zip.end(), e.name.begin(), e.name.end());
        zip.insert(zip.end(), stored.begin(), stored.end());
        Bytes& d = directory;
        put32(d, 0x02014B50), put16(d, 20), put16(d, 20), put16(d, 0), put16(d, method);
        put32(d, 0), put32(d, crc), put32(d, static_cast<std::uint32_t>(stored.size()));
        put32(d, static_cast<std::uint32_t>(e.data.size()));
        put16(d, static_cast<unsigned>(e.name.size())), put16(d, 0), put16(d, 0), put16(d, 0);
        put16(d, 0), put32(d, 0), put32(d, offset);
        d.insert(d.end(), e.name.begin(), e.name.end());
    }
    const auto directoryAt = static_cast<std::uint32_t>(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    const auto count = static_cast<unsigned>(entries.size());
    put32(zip, 0x06054B50), put16(zip, 0), put16(zip, 0), put16(zip, count), put16(zip, count);
    put32(zip, static_cast<std::uint32_t>(directory.size())), put32(zip, directoryAt);
    put16(zip, 0);
    return zip;
}

inline std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace kivo::fuzz
