#include <fcntl.h>
#ifdef __linux__
#include <linux/falloc.h>
#endif
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>
#include <utility>

#include "core/FileSystem.h"

namespace kivo {
namespace {

int closeRetaining(int fd) { return fd >= 0 ? ::close(fd) : 0; }

std::optional<struct stat> statOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return st;
}

// Makes a finished rename survive a crash: the new directory entry is on
// disk only once the folder itself is flushed.
void flushFolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      written_(std::exchange(other.written_, 0)),
      writebackRequested_(std::exchange(other.writebackRequested_, 0)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        closeRetaining(fd_);
        fd_ = std::exchange(other.fd_, -1);
        written_ = std::exchange(other.written_, 0);
        writebackRequested_ = std::exchange(other.writebackRequested_, 0);
    }
    return *this;
}

File::~File() { closeRetaining(fd_); }

File File::openRegular(const std::filesystem::path& path, bool forWriting, int* systemError) {
    // Non-blocking, so that a FIFO dropped on the window cannot hang the
    // open; only regular files are kept.
    const int fd =
        ::open(path.c_str(), (forWriting ? O_WRONLY : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (systemError) *systemError = errno;
        return File();
    }
    File file(fd);
    const auto st = statOf(fd);
    if (!st || !S_ISREG(st->st_mode)) {
        // A folder or device is no file to read, as Windows refuses it.
        if (systemError) *systemError = EACCES;
        return File();
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return File();
    return file;
}

File File::openForReading(const std::filesystem::path& path, int* systemError) {
    return openRegular(path, false, systemError);
}

File File::openForWriting(const std::filesystem::path& path, int* systemError) {
    return openRegular(path, true, systemError);
}

File File::createExclusive(const std::filesystem::path& path, int* systemError) {
    // Readable by us alone until the finished file takes the input's rights.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && systemError) *systemError = errno;
    return fd < 0 ? File() : File(fd);
}

bool File::isOpen() const { return fd_ >= 0; }

std::optional<std::int64_t> File::size() const {
    const auto st = statOf(fd_);
    if (!st) return std::nullopt;
    return static_cast<std::int64_t>(st->st_size);
}

std::uint32_t File::lastWriteDosStamp() const {
    const auto st = statOf(fd_);
    if (!st) return kNoDosStamp;
    std::tm local{};
    if (::localtime_r(&st->st_mtim.tv_sec, &local) == nullptr) return kNoDosStamp;
    return encodeDosStamp({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec});
}

bool File::setLastWriteDosStamp(std::uint32_t stamp) {
    const auto fields = decodeDosStamp(stamp);
    if (!fields) return false;
    std::tm local{};
    local.tm_year = fields->year - 1900;
    local.tm_mon = fields->month - 1;
    local.tm_mday = fields->day;
    local.tm_hour = fields->hour;
    local.tm_min = fields->minute;
    local.tm_sec = fields->second;
    local.tm_isdst = -1;  // let the zone rules decide, as Windows does
    const std::time_t when = std::mktime(&local);
    if (when == static_cast<std::time_t>(-1)) return false;
    const timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
    return ::futimens(fd_, times) == 0;
}

bool File::seek(std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::optional<std::size_t> File::read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t n = ::read(fd_, buffer.data() + filled, buffer.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    return filled;
}

bool File::write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    written_ += bytes.size();
    startWriteback();
    return true;
}

// What we write is flushed before it is used. Handing it to the disk every
// few megabytes lets the disk work while we copy, so the final flush has
// little left to do, and keeps dirty pages from piling up.
void File::startWriteback() {
#ifdef __linux__
    constexpr std::uint64_t kWritebackStep = std::uint64_t{8} << 20;
    if (written_ - writebackRequested_ < kWritebackStep) return;
    ::sync_file_range(fd_, static_cast<off_t>(writebackRequested_),
                      static_cast<off_t>(written_ - writebackRequested_), SYNC_FILE_RANGE_WRITE);
    writebackRequested_ = written_;
#endif
}

bool File::flush() { return ::fsync(fd_) == 0; }

bool File::truncate(std::uint64_t size) {
    if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

bool File::reserve(std::uint64_t size) {
#ifdef __linux__
    if (size == 0 || size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        return true;
    if (::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0) return true;
    return errno != ENOSPC && errno != EDQUOT;
#else
    (void)size;
    return true;
#endif
}

bool File::copyPermissionsFrom(const File& source) {
    const auto st = statOf(source.fd_);
    return st && ::fchmod(fd_, st->st_mode & 07777) == 0;
}

bool File::useDefaultPermissions() {
    // The umask can only be read by setting it; one thread, so set it back.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(fd_, 0666 & ~mask) == 0;
}

bool File::tryLock() {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EWOULDBLOCK) errno = EACCES;
    return false;
}

bool File::close() { return closeRetaining(std::exchange(fd_, -1)) == 0; }

bool replaceFile(const std::filesystem::path& replacement, const std::filesystem::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && (st.st_mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    if (::rename(replacement.c_str(), target.c_str()) != 0) return false;
    flushFolderOf(target);
    return true;
}

bool removeFile(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0; }

void flushNameOf(const std::filesystem::path& path) { flushFolderOf(path); }

bool isOwnRegularFile(const std::filesystem::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

namespace {

// Makes a folder and any missing parents for the user alone; a parent
// that is there is taken as it is, a link included (a home's .cache is
// often one).
bool makeFolders(const std::filesystem::path& folder) {
    if (folder.empty()) return true;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
        return false;
    }
    if (errno != ENOENT) return false;
    const std::filesystem::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !makeFolders(parent)) return false;
    // Another of our windows may have made it meanwhile.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    flushFolderOf(folder);
    return true;
}

// Whether no one but the user can put, swap or take a file in folder.
bool isPrivate(const std::filesystem::path& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 022) == 0;
}

// The folders of the user's own beside wanted that mkdtemp() made for it,
// in the order of their names, so that every window picks the same one.
std::vector<std::filesystem::path> privateSiblings(const std::filesystem::path& wanted) {
    const std::string prefix = wanted.filename().string() + ".";
    constexpr std::size_t kRandomPart = 6;
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    const std::filesystem::path parent = wanted.parent_path();
    for (std::filesystem::directory_iterator it(parent.empty() ? "." : parent, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + kRandomPart && name.starts_with(prefix) &&
            isPrivate(it->path())) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::filesystem::path privateFolder(const std::filesystem::path& wanted, int* systemError) {
    const std::filesystem::path parent = wanted.parent_path();
    if (!makeFolders(parent)) {
        if (systemError) *systemError = errno;
        return {};
    }
    if (::mkdir(wanted.c_str(), 0700) == 0) {
        flushFolderOf(wanted);
    } else if (errno != EEXIST) {
        if (systemError) *systemError = errno;
        return {};
    }
    if (isPrivate(wanted)) return wanted;
    // Someone else's folder, or one others may write in: what went in
    // there could be read, swapped or taken.
    if (const auto siblings = privateSiblings(wanted); !siblings.empty()) return siblings.front();
    std::string pattern = (parent / (wanted.filename().string() + ".XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        if (systemError) *systemError = errno;
        return {};
    }
    flushFolderOf(pattern);
    return pattern;
}

std::vector<std::filesystem::path> privateFolders(const std::filesystem::path& wanted) {
    std::vector<std::filesystem::path> folders = privateSiblings(wanted);
    if (isPrivate(wanted)) folders.insert(folders.begin(), wanted);
    return folders;
}

std::filesystem::path userCacheFolder() {
    return xdgCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

int lastSystemError() { return errno; }

std::uint32_t dosStampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) return kNoDosStamp;
    return encodeDosStamp({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec});
}

}  // namespace kivo
