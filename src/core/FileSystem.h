#pragma once
// The file system as the container routines need it: files opened by handle,
// last-write times as MS-DOS date stamps, exclusive creation and atomic
// replacement. One header; FileSystemPosix.cpp and FileSystemWin.cpp
// implement it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace kivo {

// An MS-DOS (FAT) date and time packed as date << 16 | time. All bits set
// means "no time": the file's time could not be read or does not fit.
inline constexpr std::uint32_t kNoDosStamp = 0xFFFFFFFF;

struct DosDateTime {
    int year = 1980;  // 1980 ... 2107
    int month = 1;    // 1 ... 12
    int day = 1;      // 1 ... days of the month
    int hour = 0;
    int minute = 0;
    int second = 0;  // even; an odd second is rounded down
};

// The fields of a stamp; nothing when it names no real date and time (0,
// kNoDosStamp, 30 February, 24 o'clock ...).
std::optional<DosDateTime> decodeDosStamp(std::uint32_t stamp);

// The stamp of a date and time; kNoDosStamp when the year lies outside the
// format's 1980 ... 2107 or a field is out of range.
std::uint32_t encodeDosStamp(const DosDateTime& time);

// An open file. Move-only; closes itself when it goes.
class File {
public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // For reading only, leaving others free to read and write the file.
    // Closed (isOpen() false) when it cannot be opened; *systemError then
    // holds the system's reason (errno, or GetLastError() on Windows).
    static File openForReading(const std::filesystem::path& path, int* systemError = nullptr);
    // A new file for reading and writing, held by us alone. Fails when the
    // name exists, whatever it is, so nothing of the user's is overwritten.
    static File createExclusive(const std::filesystem::path& path, int* systemError = nullptr);
    // An existing regular file for writing over, its content left as it is
    // until written.
    static File openForWriting(const std::filesystem::path& path, int* systemError = nullptr);

    bool isOpen() const;
    std::optional<std::int64_t> size() const;

    // Last-write time in local time; kNoDosStamp when it cannot be had.
    std::uint32_t lastWriteDosStamp() const;
    // Sets the last-write time, read as local time. 0 and stamps that name
    // no real date are ignored (false) and the file keeps its time.
    bool setLastWriteDosStamp(std::uint32_t stamp);

    // Fills the buffer from the current position. Fewer bytes only at the
    // end of the file; nothing on error.
    std::optional<std::size_t> read(std::span<std::uint8_t> buffer);
    // Moves the position to offset bytes from the start.
    bool seek(std::uint64_t offset);
    // Writes all bytes or fails.
    bool write(std::span<const std::uint8_t> bytes);
    // Makes written data and times durable before the file is renamed.
    bool flush();
    // Cuts the file (or extends it with zeros) to size bytes.
    bool truncate(std::uint64_t size);
    // Sets disk space aside for size bytes without changing the file's
    // content or length. False only when the disk has no room; where the
    // file system cannot reserve, the space is simply not reserved.
    bool reserve(std::uint64_t size);
    // Gives this file the access rights of source (POSIX mode bits, the
    // Windows read-only attribute).
    bool copyPermissionsFrom(const File& source);
    // Gives a newly made file the rights any new file of the user gets
    // (POSIX: 0666 less the umask); on Windows it already has them.
    bool useDefaultPermissions();
    // Holds the file for this handle alone until it is closed, against
    // everyone who asks the same (POSIX flock, Windows' lock of the whole
    // file); it goes with the process, however that ends. False at once
    // when another holds it, the system's reason then reading as access
    // denied.
    bool tryLock();
    // Closes now; false when the system reports a late write error.
    bool close();

private:
    // An existing regular file; pipes, devices and folders are refused.
    static File openRegular(const std::filesystem::path& path, bool forWriting, int* systemError);
#ifdef _WIN32
    explicit File(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
#else
    explicit File(int fd) : fd_(fd) {}
    void startWriteback();
    int fd_ = -1;
    // Bytes written by us, and how many of them the disk was asked to take.
    std::uint64_t written_ = 0;
    std::uint64_t writebackRequested_ = 0;
#endif
};

// Puts a complete, flushed replacement in the place of target with one
// rename, so that a crash leaves either the old file or the new one. A
// read-only target is not replaced, as Windows refuses to replace it.
bool replaceFile(const std::filesystem::path& replacement, const std::filesystem::path& target);

// Removes a file; false when it could not be removed.
bool removeFile(const std::filesystem::path& path);

// Makes the name of a newly made file survive a crash along with its
// content (POSIX flushes the folder; Windows' file systems keep names in
// their journal).
void flushNameOf(const std::filesystem::path& path);

// Whether path is a regular file, not a link, that the user running us owns
// (on Windows also one owned as our new files are: by the Administrators
// group when we run elevated).
bool isOwnRegularFile(const std::filesystem::path& path);

// The folder to keep the user's private files in, named after wanted:
// wanted itself when it is the user's own and no one else may write in it
// (POSIX: not a link, owned by us, closed to group and others), made so
// with any missing parents when it is missing; else a folder of the user's
// own beside it ("kivo.Ab12Cd"), an existing one or a fresh one. Windows
// takes wanted as it is, %LOCALAPPDATA% being the user's own. Empty when
// none can be had, *systemError then saying why.
std::filesystem::path privateFolder(const std::filesystem::path& wanted,
                                    int* systemError = nullptr);

// The folders privateFolder() may have given for wanted, as they stand
// now: wanted first, when it qualifies.
std::vector<std::filesystem::path> privateFolders(const std::filesystem::path& wanted);

// This program's folder in the user's cache: %LOCALAPPDATA%\Kivo on
// Windows, xdgCacheFolder() elsewhere; empty when the environment names none.
std::filesystem::path userCacheFolder();

// $XDG_CACHE_HOME/kivo, else $HOME/.cache/kivo, from those two variables
// (null when unset); a relative or empty XDG_CACHE_HOME counts as unset.
std::filesystem::path xdgCacheFolder(const char* xdgCacheHome, const char* home);

// The system's reason for the last failed call of this thread (errno, or
// GetLastError() on Windows).
int lastSystemError();

// The present local time as an MS-DOS stamp; kNoDosStamp outside 1980 ... 2107.
std::uint32_t dosStampNow();

}  // namespace kivo
