#include "files/CompoundFile.h"

#include <algorithm>

#include "core/LittleEndian.h"

namespace kivo::cfb {
namespace {

constexpr std::uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kEntrySize = 128;
constexpr std::size_t kMiniSectorSize = 64;
constexpr std::uint8_t kStreamEntry = 2;
constexpr std::uint8_t kRootEntry = 5;

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool sameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return upper(x) == upper(y); });
}

}  // namespace

std::span<const std::uint8_t> CompoundFile::sector(std::uint32_t n) const {
    const std::uint64_t size = std::uint64_t{1} << sectorShift_;
    const std::uint64_t at = (static_cast<std::uint64_t>(n) + 1) * size;
    if (n >= sectorCount_ || at >= file_.size()) return {};
    return file_.subspan(at, std::min<std::uint64_t>(size, file_.size() - at));
}

bool CompoundFile::readChain(std::uint32_t start, std::uint64_t size,
                             std::vector<std::uint8_t>& out) const {
    out.clear();
    const std::uint64_t sectorSize = std::uint64_t{1} << sectorShift_;
    if (size > static_cast<std::uint64_t>(sectorCount_) * sectorSize) return false;
    out.reserve(size);
    // At most as many steps as the size needs sectors: a loop in the chain
    // repeats sectors but cannot run on.
    std::uint32_t s = start;
    while (out.size() < size) {
        if (s >= fat_.size()) return false;
        const std::span<const std::uint8_t> bytes = sector(s);
        const std::size_t take = std::min<std::uint64_t>(sectorSize, size - out.size());
        if (bytes.size() < take) return false;
        out.insert(out.end(), bytes.begin(), bytes.begin() + take);
        s = fat_[s];
    }
    return true;
}

bool CompoundFile::readMiniChain(std::uint32_t start, std::uint64_t size,
                                 std::vector<std::uint8_t>& out) const {
    out.clear();
    if (size > miniStream_.size()) return false;
    out.reserve(size);
    std::uint32_t s = start;
    while (out.size() < size) {
        if (s >= miniFat_.size() ||
            (static_cast<std::uint64_t>(s) + 1) * kMiniSectorSize > miniStream_.size()) {
            return false;
        }
        const std::size_t take = std::min<std::uint64_t>(kMiniSectorSize, size - out.size());
        const auto from = miniStream_.begin() + static_cast<std::ptrdiff_t>(s * kMiniSectorSize);
        out.insert(out.end(), from, from + static_cast<std::ptrdiff_t>(take));
        s = miniFat_[s];
    }
    return true;
}

std::optional<CompoundFile> CompoundFile::open(std::span<const std::uint8_t> file) {
    if (file.size() < 512 ||
        !std::equal(std::begin(kSignature), std::end(kSignature), file.begin())) {
        return std::nullopt;
    }
    CompoundFile cf(file);
    cf.sectorShift_ = u16(file, 30);
    if ((cf.sectorShift_ != 9 && cf.sectorShift_ != 12) || u16(file, 32) != 6) return std::nullopt;
    const std::uint64_t sectorSize = std::uint64_t{1} << cf.sectorShift_;
    if (file.size() <= sectorSize) return std::nullopt;
    // Sectors behind the header; a last one cut short still counts.
    cf.sectorCount_ = static_cast<std::uint32_t>(
        std::min<std::uint64_t>((file.size() - 1) / sectorSize, kMaxRegularSector));
    const std::uint32_t fatSectors = u32(file, 44);
    const std::uint32_t firstDirectory = u32(file, 48);
    cf.miniCutoff_ = u32(file, 56);
    const std::uint32_t firstMiniFat = u32(file, 60);
    const std::uint32_t miniFatSectors = u32(file, 64);
    std::uint32_t difat = u32(file, 68);
    const std::uint32_t difatSectors = u32(file, 72);
    if (fatSectors == 0 || fatSectors > cf.sectorCount_ || difatSectors > cf.sectorCount_ ||
        miniFatSectors > cf.sectorCount_) {
        return std::nullopt;
    }

    // Where the FAT lies: 109 places in the header, the rest in the DIFAT chain.
    std::vector<std::uint32_t> fatPlaces;
    fatPlaces.reserve(fatSectors);
    for (std::size_t i = 0; i < kHeaderDifatEntries && fatPlaces.size() < fatSectors; ++i) {
        fatPlaces.push_back(u32(file, 76 + 4 * i));
    }
    const std::size_t perDifat = sectorSize / 4 - 1;
    for (std::uint32_t n = 0; n < difatSectors && fatPlaces.size() < fatSectors; ++n) {
        const std::span<const std::uint8_t> bytes = cf.sector(difat);
        if (bytes.size() < sectorSize) return std::nullopt;
        for (std::size_t i = 0; i < perDifat && fatPlaces.size() < fatSectors; ++i) {
            fatPlaces.push_back(u32(bytes, 4 * i));
        }
        difat = u32(bytes, 4 * perDifat);
    }
    if (fatPlaces.size() < fatSectors) return std::nullopt;
    cf.fat_.reserve(fatPlaces.size() * (sectorSize / 4));
    for (const std::uint32_t place : fatPlaces) {
        const std::span<const std::uint8_t> bytes = cf.sector(place);
        if (bytes.size() < sectorSize) return std::nullopt;
        for (std::size_t i = 0; i < sectorSize; i += 4) cf.fat_.push_back(u32(bytes, i));
    }

    // The directory: its chain has no stated length, so it may take at most
    // every sector of the file once.
    std::vector<std::uint8_t> entries;
    std::uint32_t s = firstDirectory;
    for (std::uint32_t steps = 0; s != kEndOfChain; ++steps) {
        if (steps >= cf.sectorCount_ || s >= cf.fat_.size()) return std::nullopt;
        const std::span<const std::uint8_t> bytes = cf.sector(s);
        if (bytes.size() < sectorSize) return std::nullopt;
        entries.insert(entries.end(), bytes.begin(), bytes.end());
        s = cf.fat_[s];
    }
    for (std::size_t at = 0; at + kEntrySize <= entries.size(); at += kEntrySize) {
        const std::span<const std::uint8_t> e(entries.data() + at, kEntrySize);
        Entry entry;
        const std::size_t nameBytes = std::min<std::size_t>(u16(e, 64), 64);
        for (std::size_t i = 0; i + 1 < nameBytes; i += 2) {
            const char16_t unit = static_cast<char16_t>(u16(e, i));
            if (unit == 0) break;
            entry.name.push_back(unit);
        }
        entry.type = e[66];
        entry.left = u32(e, 68);
        entry.right = u32(e, 72);
        entry.child = u32(e, 76);
        entry.start = u32(e, 116);
        entry.size = cf.sectorShift_ == 9
                         ? u32(e, 120)
                         : u32(e, 120) | static_cast<std::uint64_t>(u32(e, 124)) << 32;
        cf.directory_.push_back(std::move(entry));
    }
    if (cf.directory_.empty() || cf.directory_[0].type != kRootEntry) return std::nullopt;

    // The mini stream (the root's data) and its FAT, for the small streams.
    const Entry& root = cf.directory_[0];
    if (root.size > 0 && !cf.readChain(root.start, root.size, cf.miniStream_)) return std::nullopt;
    if (miniFatSectors > 0) {
        std::vector<std::uint8_t> miniFat;
        if (!cf.readChain(firstMiniFat, static_cast<std::uint64_t>(miniFatSectors) * sectorSize,
                          miniFat)) {
            return std::nullopt;
        }
        cf.miniFat_.reserve(miniFat.size() / 4);
        for (std::size_t i = 0; i + 4 <= miniFat.size(); i += 4)
            cf.miniFat_.push_back(u32(miniFat, i));
    }
    return cf;
}

Status CompoundFile::readStream(std::u16string_view name, std::vector<std::uint8_t>& out) const {
    // The root's children form a tree through their left and right siblings.
    std::vector<bool> seen(directory_.size(), false);
    std::vector<std::uint32_t> todo{directory_[0].child};
    while (!todo.empty()) {
        const std::uint32_t id = todo.back();
        todo.pop_back();
        if (id == kNoStream) continue;
        if (id >= directory_.size() || seen[id]) return Status::Broken;
        seen[id] = true;
        const Entry& entry = directory_[id];
        if (sameName(entry.name, name)) {
            if (entry.type != kStreamEntry) return Status::Missing;
            const bool ok = entry.size < miniCutoff_ ? readMiniChain(entry.start, entry.size, out)
                                                     : readChain(entry.start, entry.size, out);
            return ok ? Status::Ok : Status::Broken;
        }
        todo.push_back(entry.left);
        todo.push_back(entry.right);
    }
    return Status::Missing;
}

}  // namespace kivo::cfb
