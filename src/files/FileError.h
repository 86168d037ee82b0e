#pragma once
// File errors as the user sees them: a system error code and its Japanese
// text. Codes follow the Windows numbering that the texts were written for;
// POSIX errors are mapped onto it.
#include <string>

#include "core/Errors.h"

namespace kivo {

enum FileErrorCode : int {
    kFileNotFound = 2,
    kPathNotFound = 3,
    kTooManyOpenFiles = 4,
    kAccessDenied = 5,
    kReadPastEnd = 100,
    kNotNumeric = 106,
    kDiskFull = 112,
};

// The text shown for a file error code ("I/O エラー (%d)" for codes without
// a text of their own).
std::string fileErrorText(int code);

// Maps an errno value onto the codes above; an errno without a counterpart
// becomes its negative, which no code above can be. parentMissing tells a missing folder from a
// missing file, which POSIX reports alike.
int fileErrorCodeFromErrno(int err, bool parentMissing = false);

// Maps a Windows error code onto the codes above: the errors that mean the
// same as one of them (a file another program holds open is access denied)
// become that code; any other keeps its number.
int fileErrorCodeFromWindows(int error);

// The code of a failure the system reported: Windows error codes or POSIX
// errno values, mapped by the functions above.
int fileErrorCodeFromSystem(int systemError, bool parentMissing = false);

class FileError : public UserError {
public:
    explicit FileError(int code) : UserError(fileErrorText(code)), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

}  // namespace kivo
