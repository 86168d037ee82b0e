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

int fileErrorCodeFromSystem(int systemError, bool parentMissing) {
#ifdef _WIN32
    (void)parentMissing;
    return systemError;
#else
    return fileErrorCodeFromErrno(systemError, parentMissing);
#endif
}

}  // namespace kivo
