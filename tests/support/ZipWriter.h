#pragma once
// Writes a ZIP archive in memory, each member stored or deflated, for the
// tests and fuzz targets of the readers of archives. A member may state a
// size other than its own, as a damaged or hostile archive does.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kivo::test {

struct ZipMember {
    std::string name;
    std::string data;
    bool deflated = true;
    std::int64_t statedSize = -1;  // the size the directory states, when not the true one
    // When set, the member is only a directory entry of its own name that
    // points at the local header of this member written before it.
    std::string sameDataAs = {};
};

inline std::vector<std::uint8_t> zipOf(const std::vector<ZipMember>& members) {
    using Bytes = std::vector<std::uint8_t>;
    const auto put16 = [](Bytes& b, unsigned v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto put32 = [&](Bytes& b, std::uint32_t v) {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    };
    const auto deflated = [](const std::string& data) {
        z_stream z{};
        deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
        Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, Z_FINISH);
        out.resize(z.total_out);
        deflateEnd(&z);
        return out;
    };
    Bytes zip, directory;
    std::vector<std::pair<std::string, Bytes>> entries;  // each member's directory entry
    for (const ZipMember& m : members) {
        if (!m.sameDataAs.empty()) {
            for (const auto& [name, entry] : entries) {
                if (name != m.sameDataAs) continue;
                directory.insert(directory.end(), entry.begin(), entry.end());
                directory.insert(directory.end(), m.name.begin(), m.name.end());
                // The name's length, where the entry states it.
                directory[directory.size() - m.name.size() - entry.size() + 28] =
                    static_cast<std::uint8_t>(m.name.size());
                directory[directory.size() - m.name.size() - entry.size() + 29] =
                    static_cast<std::uint8_t>(m.name.size() >> 8);
            }
            continue;
        }
        const Bytes stored = m.deflated ? deflated(m.data) : Bytes(m.data.begin(), m.data.end());
        const auto crc = static_cast<std::uint32_t>(crc32(
            0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size())));
        const auto size =
            static_cast<std::uint32_t>(m.statedSize >= 0 ? m.statedSize : m.data.size());
        const unsigned method = m.deflated ? 8 : 0;
        const auto local = static_cast<std::uint32_t>(zip.size());
        put32(zip, 0x04034B50), put16(zip, 20), put16(zip, 0), put16(zip, method), put32(zip, 0);
        put32(zip, crc), put32(zip, static_cast<std::uint32_t>(stored.size())), put32(zip, size);
        put16(zip, static_cast<unsigned>(m.name.size())), put16(zip, 0);
        zip.insert(zip.end(), m.name.begin(), m.name.end());
        zip.insert(zip.end(), stored.begin(), stored.end());
        Bytes d;
        put32(d, 0x02014B50), put16(d, 20), put16(d, 20), put16(d, 0), put16(d, method);
        put32(d, 0), put32(d, crc), put32(d, static_cast<std::uint32_t>(stored.size()));
        put32(d, size);
        put16(d, static_cast<unsigned>(m.name.size())), put16(d, 0), put16(d, 0), put16(d, 0);
        put16(d, 0), put32(d, 0), put32(d, local);
        directory.insert(directory.end(), d.begin(), d.end());
        directory.insert(directory.end(), m.name.begin(), m.name.end());
        entries.emplace_back(m.name, std::move(d));
    }
    const auto directoryAt = static_cast<std::uint32_t>(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    const auto count = static_cast<unsigned>(members.size());
    put32(zip, 0x06054B50), put16(zip, 0), put16(zip, 0), put16(zip, count), put16(zip, count);
    put32(zip, static_cast<std::uint32_t>(directory.size())), put32(zip, directoryAt);
    put16(zip, 0);
    return zip;
}

}  // namespace kivo::test
