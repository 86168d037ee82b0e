#include <windows.h>

// After windows.h, which it needs.
#include <aclapi.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/FileSystem.h"

namespace kivo {
namespace {

HANDLE handleOf(void* handle) { return static_cast<HANDLE>(handle); }

// An invalid handle is kept as nullptr, so that isOpen() has one test.
void* keep(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

BOOL closeRetaining(void* handle) {
    return handle != nullptr ? CloseHandle(handleOf(handle)) : TRUE;
}

// Windows' FileTimeToDosDateTime fails for years the format cannot hold;
// Wine's wraps 2108 round to 1980. Checked here, both give no stamp.
bool fitsDosDateTime(const FILETIME& local) {
    SYSTEMTIME fields{};
    return FileTimeToSystemTime(&local, &fields) && fields.wYear >= 1980 && fields.wYear <= 2107;
}

// What our process's token holds of one kind (TokenUser, TokenOwner);
// empty when it cannot be read.
std::vector<BYTE> tokenInformation(TOKEN_INFORMATION_CLASS kind) {
    std::vector<BYTE> buffer;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return buffer;
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    buffer.resize(size);
    if (size == 0 || !GetTokenInformation(token, kind, buffer.data(), size, &size)) buffer.clear();
    CloseHandle(token);
    return buffer;
}

// Whether a file's owner is us: the user, or the owner the system gives
// the files we make (the Administrators group when we run elevated).
bool isUs(PSID owner) {
    static const std::vector<BYTE> user = tokenInformation(TokenUser);
    static const std::vector<BYTE> newFiles = tokenInformation(TokenOwner);
    if (owner == nullptr) return false;
    return (!user.empty() &&
            EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid)) ||
           (!newFiles.empty() &&
            EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(newFiles.data())->Owner));
}

// ReadFile and WriteFile count in 32 bits.
constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;

}  // namespace

File::File(File&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        closeRetaining(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

File::~File() { closeRetaining(handle_); }

File File::openRegular(const std::filesystem::path& path, bool forWriting, int* systemError) {
    // Readers let others go on reading and writing; a writer lets them read.
    File file(keep(CreateFileW(
        path.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
        forWriting ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | (forWriting ? 0 : FILE_FLAG_SEQUENTIAL_SCAN), nullptr)));
    if (!file.isOpen()) {
        if (systemError) *systemError = static_cast<int>(GetLastError());
        return File();
    }
    // Pipes and devices have no length to copy.
    if (GetFileType(handleOf(file.handle_)) != FILE_TYPE_DISK) {
        if (systemError) *systemError = ERROR_ACCESS_DENIED;
        return File();
    }
    return file;
}

File File::openForReading(const std::filesystem::path& path, int* systemError) {
    return openRegular(path, false, systemError);
}

File File::openForWriting(const std::filesystem::path& path, int* systemError) {
    return openRegular(path, true, systemError);
}

bool File::seek(std::uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handleOf(handle_), to, nullptr, FILE_BEGIN) != 0;
}

File File::createExclusive(const std::filesystem::path& path, int* systemError) {
    File file(keep(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file.isOpen() && systemError) *systemError = static_cast<int>(GetLastError());
    return file;
}

bool File::isOpen() const { return handle_ != nullptr; }

std::optional<std::int64_t> File::size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(handle_), &size)) return std::nullopt;
    return size.QuadPart;
}

std::uint32_t File::lastWriteDosStamp() const {
    FILETIME written{};
    FILETIME local{};
    WORD date = 0;
    WORD time = 0;
    if (!GetFileTime(handleOf(handle_), nullptr, nullptr, &written) ||
        !FileTimeToLocalFileTime(&written, &local) || !fitsDosDateTime(local) ||
        !FileTimeToDosDateTime(&local, &date, &time)) {
        return kNoDosStamp;
    }
    return std::uint32_t{date} << 16 | time;
}

bool File::setLastWriteDosStamp(std::uint32_t stamp) {
    if (!decodeDosStamp(stamp)) return false;
    FILETIME local{};
    FILETIME written{};
    return DosDateTimeToFileTime(static_cast<WORD>(stamp >> 16), static_cast<WORD>(stamp),
                                 &local) &&
           LocalFileTimeToFileTime(&local, &written) &&
           SetFileTime(handleOf(handle_), nullptr, nullptr, &written);
}

std::optional<std::size_t> File::read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const auto want = static_cast<DWORD>(std::min(buffer.size() - filled, kLargestTransfer));
        DWORD got = 0;
        if (!ReadFile(handleOf(handle_), buffer.data() + filled, want, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) break;
        filled += got;
    }
    return filled;
}

bool File::write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto want = static_cast<DWORD>(std::min(bytes.size() - done, kLargestTransfer));
        DWORD put = 0;
        if (!WriteFile(handleOf(handle_), bytes.data() + done, want, &put, nullptr) || put == 0) {
            return false;
        }
        done += put;
    }
    return true;
}

bool File::flush() { return FlushFileBuffers(handleOf(handle_)) != FALSE; }

bool File::truncate(std::uint64_t size) {
    return seek(size) && SetEndOfFile(handleOf(handle_)) != FALSE;
}

bool File::reserve(std::uint64_t size) {
    // A smaller allocation would cut the file.
    if (const auto current = this->size(); !current || static_cast<std::uint64_t>(*current) >= size)
        return true;
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    if (SetFileInformationByHandle(handleOf(handle_), FileAllocationInfo, &allocation,
                                   sizeof allocation)) {
        return true;
    }
    const DWORD error = GetLastError();
    return error != ERROR_DISK_FULL && error != ERROR_HANDLE_DISK_FULL;
}

bool File::copyPermissionsFrom(const File& source) {
    // Access rights come from the folder, as for any new file. Of the
    // attributes, read-only never needs copying (a read-only file is not
    // replaced) and would keep a failed temporary file from being removed.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handleOf(source.handle_), &info)) return false;
    const DWORD kept = info.dwFileAttributes &
                       (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    FILE_BASIC_INFO basic{};  // zero times stay as they are
    basic.FileAttributes = kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(handleOf(handle_), FileBasicInfo, &basic, sizeof basic) !=
           FALSE;
}

bool File::useDefaultPermissions() { return true; }

bool File::tryLock() {
    OVERLAPPED from{};  // the whole file, from its first byte on
    return LockFileEx(handleOf(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                      MAXDWORD, MAXDWORD, &from) != FALSE;
}

bool File::close() { return closeRetaining(std::exchange(handle_, nullptr)) != FALSE; }

bool replaceFile(const std::filesystem::path& replacement, const std::filesystem::path& target) {
    // Windows refuses to replace a read-only file, but Wine replaces it all
    // the same; asking first gives one behaviour on both.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return MoveFileExW(replacement.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool removeFile(const std::filesystem::path& path) { return DeleteFileW(path.c_str()) != FALSE; }

void flushNameOf(const std::filesystem::path& path) { (void)path; }

bool isOwnRegularFile(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    constexpr DWORD kNotAFile =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotAFile) != 0) return false;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool owned = isUs(owner);
    LocalFree(descriptor);
    return owned;
}

namespace {

// Makes a folder and any missing parents, with the rights their parents
// hand down.
bool makeFolders(const std::filesystem::path& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
    DWORD error = GetLastError();
    if (error == ERROR_PATH_NOT_FOUND) {
        const std::filesystem::path parent = folder.parent_path();
        if (parent.empty() || parent == folder || !makeFolders(parent)) return false;
        if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
        error = GetLastError();
    }
    if (error != ERROR_ALREADY_EXISTS) return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return true;
    SetLastError(ERROR_DIRECTORY);
    return false;
}

}  // namespace

std::filesystem::path privateFolder(const std::filesystem::path& wanted, int* systemError) {
    // %LOCALAPPDATA% is the user's own, and what is made in it inherits so.
    if (makeFolders(wanted)) return wanted;
    if (systemError) *systemError = static_cast<int>(GetLastError());
    return {};
}

std::vector<std::filesystem::path> privateFolders(const std::filesystem::path& wanted) {
    std::error_code ec;
    if (std::filesystem::is_directory(wanted, ec)) return {wanted};
    return {};
}

std::filesystem::path userCacheFolder() {
    // Wide, as the user's name in the path may be Japanese.
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    const DWORD got = GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), length);
    if (got == 0 || got >= length) return {};
    value.resize(got);
    return std::filesystem::path(value) / L"Kivo";
}

int lastSystemError() { return static_cast<int>(GetLastError()); }

std::uint32_t dosStampNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return encodeDosStamp({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

}  // namespace kivo
