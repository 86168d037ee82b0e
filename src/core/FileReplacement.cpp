#include "core/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "core/PathRules.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = ".kivo-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomDigits = 8;
bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// A short name, whatever the target's length: a name near the file
// system's limit must still be savable.
fs::path randomTemporaryName() {
    static std::mt19937 generator{std::random_device{}()};
    char digits[kRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(generator()));
    return fs::path(std::string(kPrefix) + digits + std::string(kSuffix));
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

FileReplacement::FileReplacement(const fs::path& target, WhenFolderIsClosed fallback)
    : target_(followLinks(target)) {
    const fs::path folder = target_.parent_path();
    removeStaleTemporaryFiles(folder);
    // A name that exists is never ours to take; a few tries find a free one.
    for (int attempt = 0; attempt < 16 && !file_.isOpen(); ++attempt) {
        temporary_ = folder / randomTemporaryName();
        systemError_ = 0;
        file_ = File::createExclusive(temporary_, &systemError_);
        if (!file_.isOpen() && !nameTaken(systemError_)) break;
    }
    if (file_.isOpen()) return;
    temporary_.clear();
    if (fallback != WhenFolderIsClosed::WriteInPlace || !folderForbidsNewFiles(systemError_))
        return;
    int error = 0;
    file_ = File::openForWriting(target_, &error);
    inPlace_ = file_.isOpen();
    if (inPlace_) systemError_ = 0;
}

FileReplacement::~FileReplacement() {
    if (committed_ || temporary_.empty()) return;
    file_.close();
    removeFile(temporary_);
}

bool FileReplacement::fail() {
    systemError_ = lastSystemError();
    return false;
}

bool FileReplacement::write(std::span<const std::uint8_t> bytes) {
    if (!file_.reserve(written_ + bytes.size())) return fail();
    if (!file_.write(bytes)) return fail();
    written_ += bytes.size();
    return true;
}

bool FileReplacement::commit() {
    if (!file_.isOpen()) return false;
    if (inPlace_) {
        if (!file_.truncate(written_) || !file_.flush() || !file_.close()) return fail();
        committed_ = true;
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
    if (!rights || !file_.flush() || !file_.close()) return fail();
    if (!replaceFile(temporary_, target_)) return fail();
    committed_ = true;
    return true;
}

}  // namespace kivo
