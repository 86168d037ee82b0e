#include "files/FileError.h"

#include <cerrno>

namespace kivo {

std::string fileErrorText(int code) {
    switch (code) {
        case kFileNotFound:
            return "ファイルが見つかりません";
        case kPathNotFound:
            return "不正なファイル名です";
        case kTooManyOpenFiles:
            return "オープンしたファイルが多すぎます";
        case kAccessDenied:
            return "ファイルへのアクセスが拒否されました";
        case kDiskFull:
            return "ディスクがいっぱいです";
        case kReadPastEnd:
            return "ファイルの末尾以降を読み込みました";
        case kNotNumeric:
            return "入力値が数値ではありません";
        default:
            return "I/O エラー (" + std::to_string(code) + ")";
    }
}

int fileErrorCodeFromErrno(int err, bool parentMissing) {
    switch (err) {
        case ENOENT:
            return parentMissing ? kPathNotFound : kFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return kPathNotFound;
        case EMFILE:
        case ENFILE:
            return kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case ETXTBSY:
            return kAccessDenied;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return kDiskFull;
        default:
            // Negative, so that no other cause is shown under a code that
            // has a text of its own (EIO is 5, the code of access denied).
            return -err;
    }
}

int fileErrorCodeFromWindows(int error) {
    // The numbers are Windows' own (winerror.h), so that this builds and is
    // tested everywhere.
    switch (error) {
        case 2:  // ERROR_FILE_NOT_FOUND
            return kFileNotFound;
        case 3:    // ERROR_PATH_NOT_FOUND
        case 123:  // ERROR_INVALID_NAME
        case 161:  // ERROR_BAD_PATHNAME
        case 206:  // ERROR_FILENAME_EXCED_RANGE
        case 267:  // ERROR_DIRECTORY
            return kPathNotFound;
        case 4:  // ERROR_TOO_MANY_OPEN_FILES
            return kTooManyOpenFiles;
        case 5:   // ERROR_ACCESS_DENIED
        case 19:  // ERROR_WRITE_PROTECT
        case 32:  // ERROR_SHARING_VIOLATION: another program has the file open
        case 33:  // ERROR_LOCK_VIOLATION: another program locked a range of it
        case 65:  // ERROR_NETWORK_ACCESS_DENIED
            return kAccessDenied;
        case 38:  // ERROR_HANDLE_EOF
            return kReadPastEnd;
        case 39:   // ERROR_HANDLE_DISK_FULL
        case 112:  // ERROR_DISK_FULL
            return kDiskFull;
        default:
            return error;
    }
}

int fileErrorCodeFromSystem(int systemError, bool parentMissing) {
#ifdef _WIN32
    (void)parentMissing;
    return fileErrorCodeFromWindows(systemError);
#else
    return fileErrorCodeFromErrno(systemError, parentMissing);
#endif
}

}  // namespace kivo
