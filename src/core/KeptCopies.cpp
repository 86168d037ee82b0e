#include "core/KeptCopies.h"

#include <algorithm>
#include <ctime>
#include <exception>
#include <map>
#include <system_error>
#include <utility>

#include "core/FileReplacement.h"
#include "core/PathRules.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCopyExtension = ".bak";
constexpr std::string_view kSavingExtension = ".saving";
constexpr std::string_view kDeclinedExtension = ".declined";

// The first line of a record; then the copy's length and the file's path.
constexpr std::string_view kRecordHeader = "Kivo kept copy 1\n";
// The longest path Windows takes, in UTF-8, and room for the rest.
constexpr std::size_t kLongestRecord = std::size_t{128} << 10;
// Digits of a length that cannot overflow 64 bits.
constexpr std::size_t kMostLengthDigits = 19;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f'); }

// The part of name before extension when it is one keptCopyName() makes:
// "<file name>.20240501-142233.1a2b3c4d".
std::optional<std::string> stemOf(const fs::path& name, std::string_view extension) {
    const std::string utf8 = utf8Of(name.filename());
    std::string_view s = utf8;
    if (!s.ends_with(extension)) return std::nullopt;
    s.remove_suffix(extension.size());
    constexpr std::string_view kShape = ".dddddddd-dddddd.hhhhhhhh";
    if (s.size() <= kShape.size()) return std::nullopt;
    const std::string_view tail = s.substr(s.size() - kShape.size());
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool fits = kShape[i] == 'd'   ? isDigit(tail[i])
                          : kShape[i] == 'h' ? isHexDigit(tail[i])
                                             : tail[i] == kShape[i];
        if (!fits) return std::nullopt;
    }
    return std::string(s);
}

fs::path named(const fs::path& folder, const std::string& stem, std::string_view extension) {
    return folder / pathFromUtf8(stem + std::string(extension));
}

struct Record {
    fs::path file;
    std::uint64_t size = 0;
};

std::optional<Record> readRecord(File& from) {
    std::string text(kLongestRecord + 1, '\0');
    const auto got = from.read({reinterpret_cast<std::uint8_t*>(text.data()), text.size()});
    if (!got || *got > kLongestRecord) return std::nullopt;
    text.resize(*got);
    std::string_view s = text;
    if (!s.starts_with(kRecordHeader)) return std::nullopt;
    s.remove_prefix(kRecordHeader.size());
    const std::size_t lineEnd = s.find('\n');
    if (lineEnd == 0 || lineEnd > kMostLengthDigits) return std::nullopt;
    Record record;
    for (const char c : s.substr(0, lineEnd)) {
        if (!isDigit(c)) return std::nullopt;
        record.size = record.size * 10 + static_cast<std::uint64_t>(c - '0');
    }
    const std::string_view path = s.substr(lineEnd + 1);
    if (path.empty()) return std::nullopt;
    try {
        record.file = pathFromUtf8(path);
    } catch (const std::exception&) {
        // Windows' paths take no malformed UTF-8; such a record is none of ours.
        return std::nullopt;
    }
    if (!record.file.is_absolute()) return std::nullopt;
    return record;
}

// A record opened and held by us, so that no other window works on it
// meanwhile; closed when it is held elsewhere (a save in progress).
File holdRecord(const fs::path& path) {
    File record = File::openForReading(path);
    if (!record.isOpen() || !record.tryLock()) return File();
    return record;
}

// POSIX lets a held record go by its name while it is still held, so that
// no other window finds it unheld meanwhile; Windows lets it go once closed.
bool removeHeld(File& record, const fs::path& path) {
    if (removeFile(path)) {
        record.close();
        return true;
    }
    record.close();
    return removeFile(path);
}

bool renameHeld(File& record, const fs::path& from, const fs::path& to) {
    if (replaceFile(from, to)) {
        record.close();
        return true;
    }
    record.close();
    return replaceFile(from, to);
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    return fs::absolute(a, ec).lexically_normal() == fs::absolute(b, ec).lexically_normal();
}

// A file gone from a folder that is still there: the user removed or
// renamed it. A file on a drive that is not plugged in is not gone.
bool isGone(const fs::path& file) {
    std::error_code ec;
    return fs::symlink_status(file, ec).type() == fs::file_type::not_found &&
           fs::is_directory(file.parent_path(), ec);
}

std::optional<fs::file_time_type> lastWritten(const fs::path& path) {
    std::error_code ec;
    const auto time = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return time;
}

bool isOlderThanLifetime(const fs::path& path, fs::file_time_type now) {
    const auto written = lastWritten(path);
    return written && *written < now - kKeptCopyLifetime;
}

// The names in folder of our copies and records, by their stem.
struct Stem {
    bool copy = false;
    bool saving = false;
    bool declined = false;
};

std::map<std::string, Stem> stemsIn(const fs::path& folder) {
    std::map<std::string, Stem> stems;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (const auto stem = stemOf(it->path(), kCopyExtension)) stems[*stem].copy = true;
        if (const auto stem = stemOf(it->path(), kSavingExtension)) stems[*stem].saving = true;
        if (const auto stem = stemOf(it->path(), kDeclinedExtension)) stems[*stem].declined = true;
    }
    return stems;
}

// Removes what folder holds of ours that is no longer worth keeping. Only
// our own regular files go, and nothing a running save holds.
void sweep(const fs::path& folder, fs::file_time_type now) {
    for (const auto& [stem, found] : stemsIn(folder)) {
        const fs::path copy = named(folder, stem, kCopyExtension);
        const bool copyIsOurs = found.copy && isOwnRegularFile(copy);
        bool recorded = false;
        for (const auto extension : {kSavingExtension, kDeclinedExtension}) {
            if (extension == kSavingExtension ? !found.saving : !found.declined) continue;
            recorded = true;
            const fs::path recordPath = named(folder, stem, extension);
            if (!isOwnRegularFile(recordPath)) continue;
            File held = holdRecord(recordPath);
            if (!held.isOpen()) continue;
            const auto record = readRecord(held);
            std::error_code ec;
            const bool whole = record && copyIsOurs && fs::file_size(copy, ec) == record->size;
            const bool expired = isOlderThanLifetime(copyIsOurs ? copy : recordPath, now);
            // A copy that can no longer be offered goes once its time is up.
            const bool drop = !copyIsOurs || (record && isGone(record->file)) ||
                              ((extension == kDeclinedExtension || !whole) && expired);
            if (!drop) continue;
            removeHeld(held, recordPath);
            if (copyIsOurs) removeFile(copy);
        }
        if (!recorded && copyIsOurs && isOlderThanLifetime(copy, now)) removeFile(copy);
    }
}

struct Offer {
    KeptCopy copy;
    fs::file_time_type made;
};

// The copies in folder still to offer, none held by a running save.
std::vector<Offer> offersIn(const fs::path& folder) {
    std::vector<Offer> offers;
    for (const auto& [stem, found] : stemsIn(folder)) {
        if (!found.saving || !found.copy) continue;
        KeptCopy kept{
            {}, named(folder, stem, kCopyExtension), named(folder, stem, kSavingExtension), 0};
        if (!isOwnRegularFile(kept.record) || !isOwnRegularFile(kept.copy)) continue;
        File held = holdRecord(kept.record);
        if (!held.isOpen()) continue;
        const auto record = readRecord(held);
        const auto made = lastWritten(kept.copy);
        std::error_code ec;
        if (!record || !made || fs::file_size(kept.copy, ec) != record->size || ec) continue;
        kept.file = record->file;
        kept.size = record->size;
        offers.push_back({std::move(kept), *made});
    }
    return offers;
}

std::vector<Offer> offers(const fs::path& cacheFolder) {
    std::vector<Offer> all;
    if (cacheFolder.empty()) return all;
    for (const auto& folder : privateFolders(cacheFolder)) {
        auto found = offersIn(folder);
        all.insert(all.end(), std::make_move_iterator(found.begin()),
                   std::make_move_iterator(found.end()));
    }
    std::sort(all.begin(), all.end(),
              [](const Offer& a, const Offer& b) { return a.made > b.made; });
    return all;
}

}  // namespace

std::vector<KeptCopy> keptCopiesToOffer(const fs::path& cacheFolder) {
    if (cacheFolder.empty()) return {};
    const auto now = fs::file_time_type::clock::now();
    for (const auto& folder : privateFolders(cacheFolder)) sweep(folder, now);
    std::vector<KeptCopy> newest;
    for (auto& offer : offers(cacheFolder)) {
        const bool seen = std::any_of(newest.begin(), newest.end(), [&](const KeptCopy& kept) {
            return sameFile(kept.file, offer.copy.file);
        });
        if (!seen) newest.push_back(std::move(offer.copy));
    }
    return newest;
}

std::optional<KeptCopy> keptCopyToOffer(const fs::path& file, const fs::path& cacheFolder) {
    const fs::path target = followLinks(file);
    for (auto& offer : offers(cacheFolder))
        if (sameFile(offer.copy.file, target)) return std::move(offer.copy);
    return std::nullopt;
}

bool declineKeptCopy(const KeptCopy& copy) {
    const fs::path folder = copy.record.parent_path();
    bool declined = false;
    for (const auto& offer : offersIn(folder)) {
        if (!sameFile(offer.copy.file, copy.file)) continue;
        File held = holdRecord(offer.copy.record);
        if (!held.isOpen()) continue;
        const auto stem = stemOf(offer.copy.record, kSavingExtension);
        if (!stem || !renameHeld(held, offer.copy.record, named(folder, *stem, kDeclinedExtension)))
            continue;
        // Its time counts from the answer, as the question says.
        std::error_code ec;
        fs::last_write_time(offer.copy.copy, fs::file_time_type::clock::now(), ec);
        if (offer.copy.record == copy.record) declined = true;
    }
    return declined;
}

std::string keptCopyQuestion(const KeptCopy& copy) {
    return "ファイル " + utf8Of(copy.file) +
           " の保存が途中で終わっています。\r\n保存前の内容に戻しますか？\r\n\r\n"
           "戻さない場合も、保存前の内容は " +
           utf8Of(copy.copy) + " に " + std::to_string(kKeptCopyLifetime.count()) +
           " 日間残ります。";
}

fs::path keptCopyName(const fs::path& file, std::string_view randomPart) {
    constexpr std::size_t kLongestKeptName = 200;
    std::string name = utf8Of(file.filename());
    if (name.size() > kLongestKeptName) {
        std::size_t cut = kLongestKeptName;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char when[32];
    std::strftime(when, sizeof when, "%Y%m%d-%H%M%S", &local);
    return pathFromUtf8(name + "." + when + "." + std::string(randomPart) +
                        std::string(kCopyExtension));
}

File recordKeptCopy(const fs::path& copy, const fs::path& file, std::uint64_t size,
                    fs::path& recordPath, int& systemError) {
    const auto stem = stemOf(copy, kCopyExtension);
    std::error_code ec;
    const fs::path absolute = fs::absolute(file, ec);
    recordPath.clear();
    if (!stem || ec) {
        systemError = ec.value();
        return File();
    }
    const fs::path path = named(copy.parent_path(), *stem, kSavingExtension);
    File record = File::createExclusive(path, &systemError);
    if (!record.isOpen()) return File();
    const std::string text =
        std::string(kRecordHeader) + std::to_string(size) + "\n" + utf8Of(absolute);
    if (!record.tryLock() ||
        !record.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}) ||
        !record.flush()) {
        systemError = lastSystemError();
        removeHeld(record, path);
        return File();
    }
    flushNameOf(path);
    recordPath = path;
    return record;
}

bool takeKeptCopy(const KeptCopy& copy, File& record, File& content, int& systemError) {
    record = File::openForReading(copy.record, &systemError);
    if (!record.isOpen()) return false;
    if (!record.tryLock()) {
        systemError = lastSystemError();
        record.close();
        return false;
    }
    const auto said = readRecord(record);
    content = File::openForReading(copy.copy, &systemError);
    const auto size = content.isOpen() ? content.size() : std::nullopt;
    if (said && size && said->size == copy.size && static_cast<std::uint64_t>(*size) == copy.size &&
        sameFile(said->file, copy.file)) {
        return true;
    }
    // Changed since it was found: nothing the system could name.
    if (content.isOpen()) systemError = 0;
    record.close();
    content.close();
    return false;
}

void removeKeptCopy(File& record, const fs::path& recordPath, File& content,
                    const fs::path& copyPath) {
    removeHeld(record, recordPath);
    content.close();
    removeFile(copyPath);
}

}  // namespace kivo
