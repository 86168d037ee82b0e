#include "core/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/PathRules.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = ".kivo-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomDigits = 8;

std::mt19937& randomGenerator() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

std::string randomDigits() {
    char digits[kRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(randomGenerator()()));
    return digits;
}

// A short name, whatever the target's length: a name near the file
// system's limit must still be savable.
fs::path randomTemporaryName() {
    return fs::path(std::string(kPrefix) + randomDigits() + std::string(kSuffix));
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// Whether a file name is one that randomTemporaryName() makes. Nothing
// else is ours: any other name may be the user's.
bool isOurTemporaryName(const fs::path& name) {
    const std::string utf8 = utf8Of(name.filename());
    const std::string_view s = utf8;
    if (s.size() != kPrefix.size() + kRandomDigits + kSuffix.size() || !s.starts_with(kPrefix) ||
        !s.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view digits = s.substr(kPrefix.size(), kRandomDigits);
    return std::all_of(digits.begin(), digits.end(), isHexDigit);
}

bool nameTaken(int systemError) {
#ifdef _WIN32
    return systemError == 80 || systemError == 183;  // ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS
#else
    return systemError == EEXIST;
#endif
}

bool folderForbidsNewFiles(int systemError) {
#ifdef _WIN32
    return systemError == 5;  // ERROR_ACCESS_DENIED
#else
    return systemError == EACCES || systemError == EPERM;
#endif
}

// A new file under a name that makeName() gives, trying again while the
// name is taken; nothing is ever opened under a name that exists.
File createUnique(const fs::path& folder, const std::function<fs::path()>& makeName, fs::path& path,
                  int& systemError) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        path = folder / makeName();
        systemError = 0;
        File file = File::createExclusive(path, &systemError);
        if (file.isOpen() || !nameTaken(systemError)) return file;
    }
    return File();
}

// Copies from's content from its current position on to the end; the
// number of bytes, or nothing when a read or write failed.
std::optional<std::uint64_t> copyRest(File& from, File& to) {
    std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
    std::uint64_t copied = 0;
    for (;;) {
        const auto got = from.read(buffer);
        if (!got) return std::nullopt;
        if (*got == 0) return copied;
        if (!to.write(std::span(buffer.data(), *got))) return std::nullopt;
        copied += *got;
    }
}

// Our own temporary files that a crash left behind and that are older than
// an hour go whenever a new one is made in the same folder; only regular
// files of the user who saves, so that no link and nobody else's file goes.
void removeStaleTemporaryFiles(const fs::path& folder) {
    constexpr std::chrono::hours kStaleAge{1};
    std::error_code ec;
    const auto cutoff = fs::file_time_type::clock::now() - kStaleAge;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (!isOurTemporaryName(it->path()) || !isOwnRegularFile(it->path())) continue;
        std::error_code entryError;
        const auto written = fs::last_write_time(it->path(), entryError);
        if (!entryError && written < cutoff) fs::remove(it->path(), entryError);
    }
}

}  // namespace

fs::path followLinks(const fs::path& path) {
    fs::path current = path;
    std::error_code ec;
    for (int hops = 0; hops < 40; ++hops) {
        if (!fs::is_symlink(current, ec)) return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return path;
}

bool FileReplacement::createTemporary() {
    const fs::path folder = target_.parent_path();
    removeStaleTemporaryFiles(folder);
    file_ = createUnique(folder, randomTemporaryName, temporary_, systemError_);
    if (file_.isOpen()) return true;
    temporary_.clear();
    failure_ = Failure::Create;
    return false;
}

FileReplacement::FileReplacement(const fs::path& target, WhenFolderIsClosed fallback,
                                 const fs::path& cacheFolder)
    : target_(followLinks(target)) {
    if (createTemporary()) return;
    if (fallback == WhenFolderIsClosed::WriteInPlace && folderForbidsNewFiles(systemError_))
        openInPlace(cacheFolder);
}

FileReplacement::FileReplacement(const KeptCopy& copy) : target_(copy.file) {
    if (!takeKeptCopy(copy, record_, copy_, systemError_)) {
        failure_ = Failure::Copy;
        return;
    }
    copyPath_ = copy.copy;
    recordPath_ = copy.record;
    if (createTemporary()) return;
    if (!folderForbidsNewFiles(systemError_)) return;
    file_ = File::openForWriting(target_);
    if (!file_.isOpen()) return;
    inPlace_ = true;
    systemError_ = 0;
    failure_ = Failure::None;
}

// The folder's refusal stays the reason when the file cannot be written
// or no cache folder is known; a copy that cannot be made says why.
void FileReplacement::openInPlace(const fs::path& cacheFolder) {
    File target = File::openForWriting(target_);
    if (!target.isOpen() || cacheFolder.empty()) return;
    if (!keepCopy(cacheFolder)) {
        failure_ = Failure::Copy;
        return;
    }
    file_ = std::move(target);
    inPlace_ = true;
    systemError_ = 0;
    failure_ = Failure::None;
}

bool FileReplacement::keepCopy(const fs::path& cacheFolder) {
    File old = File::openForReading(target_, &systemError_);
    if (!old.isOpen()) return false;
    const fs::path folder = privateFolder(cacheFolder, &systemError_);
    if (folder.empty()) return false;
    copy_ = createUnique(
        folder, [this] { return keptCopyName(target_, randomDigits()); }, copyPath_, systemError_);
    if (!copy_.isOpen()) {
        copyPath_.clear();
        return false;
    }
    // A full disk shows before the copy is half made. The record follows
    // the whole, flushed copy, so a record always names a whole copy.
    const auto size = old.size();
    std::optional<std::uint64_t> copied;
    if (size && copy_.reserve(static_cast<std::uint64_t>(*size)) &&
        (copied = copyRest(old, copy_)) && copy_.flush()) {
        flushNameOf(copyPath_);
        record_ = recordKeptCopy(copyPath_, target_, *copied, recordPath_, systemError_);
        if (record_.isOpen()) return true;
    } else {
        systemError_ = lastSystemError();
    }
    dropCopy();
    return false;
}

bool FileReplacement::restoreFromCopy() {
    if (!file_.isOpen()) file_ = File::openForWriting(target_);
    const bool atStart = file_.isOpen() && copy_.seek(0) && file_.seek(0);
    const auto size = atStart ? copyRest(copy_, file_) : std::nullopt;
    const bool restored = size && file_.truncate(*size) && file_.flush();
    return file_.close() && restored;
}

void FileReplacement::dropCopy() {
    if (record_.isOpen()) {
        removeKeptCopy(record_, recordPath_, copy_, copyPath_);
    } else {
        copy_.close();
        removeFile(copyPath_);
    }
    copyPath_.clear();
    recordPath_.clear();
}

FileReplacement::~FileReplacement() {
    if (inPlace_ && !copyPath_.empty()) {
        // Left halfway: the old content goes back, and the copy stays
        // where it could not, its record naming the file.
        if (restoreFromCopy()) dropCopy();
        return;
    }
    if (committed_ || temporary_.empty()) return;
    file_.close();
    removeFile(temporary_);
}

bool FileReplacement::fail(Failure failure) {
    systemError_ = lastSystemError();
    failure_ = failure;
    if (inPlace_ && !copyPath_.empty() && restoreFromCopy()) dropCopy();
    return false;
}

bool FileReplacement::write(std::span<const std::uint8_t> bytes) {
    if (!file_.isOpen()) return false;
    if (!file_.reserve(written_ + bytes.size())) return fail(Failure::Write);
    if (!file_.write(bytes)) return fail(Failure::Write);
    written_ += bytes.size();
    return true;
}

bool FileReplacement::writeKeptCopy() {
    if (!file_.isOpen() || !copy_.isOpen()) return false;
    if (!copy_.seek(0)) return fail(Failure::Write);
    std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
    for (;;) {
        const auto got = copy_.read(buffer);
        if (!got) return fail(Failure::Write);
        if (*got == 0) return true;
        if (!write(std::span(buffer.data(), *got))) return false;
    }
}

bool FileReplacement::commit() {
    if (!file_.isOpen()) return false;
    if (inPlace_) {
        if (!file_.truncate(written_) || !file_.flush() || !file_.close())
            return fail(Failure::Finish);
        committed_ = true;
        dropCopy();
        return true;
    }
    std::error_code ec;
    bool rights = false;
    if (fs::is_regular_file(target_, ec)) {
        const File old = File::openForReading(target_);
        rights = old.isOpen() && file_.copyPermissionsFrom(old);
    } else {
        rights = file_.useDefaultPermissions();
    }
    if (!rights || !file_.flush() || !file_.close()) return fail(Failure::Replace);
    if (!replaceFile(temporary_, target_)) return fail(Failure::Replace);
    committed_ = true;
    // A kept copy put back is done with.
    if (!copyPath_.empty()) dropCopy();
    return true;
}

}  // namespace kivo
