#pragma once
// The list as it leaves the program: RTF (the plain content of a container)
// and plain text, and the safe way both reach the disk.
#include <filesystem>
#include <string>
#include <string_view>

#include "core/FileReplacement.h"
#include "core/KeptCopies.h"
#include "core/TextStyle.h"

namespace kivo {

// RTF of the list, one paragraph per line, declared as code page 932 with a
// Japanese font: characters code page 932 holds go as \'hh bytes, the others
// as \uN, so nothing is lost and older readers still see Japanese.
// baseFont is the list's own font (UTF-8), halfPoints its size.
std::string listToRtf(const StyledText& list, std::string_view baseFont, int baseHalfPoints);

// Plain text with CR LF line breaks: code page 932, or UTF-8 with a
// byte-order mark when the text holds characters code page 932 lacks.
std::string listToText(std::string_view utf8Text);

// Lines ended by "\n" as Windows' programs read them: ended by CR LF.
std::string withCarriageReturns(std::string_view text);

// Writes bytes to path through a temporary file beside it that replaces the
// target only when complete, so a failed save leaves the old file whole. A
// symbolic link is written through; a writable file in a folder that takes
// no new file is written in place, beside a copy of its old content in the
// cache folder, unless `fallback` says to fail there (a file another
// program reads while it changes must never be seen half written). Throws
// as throwSaveFailure() says.
void writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                     FileReplacement::WhenFolderIsClosed fallback =
                         FileReplacement::WhenFolderIsClosed::WriteInPlace);

// Puts a copy that a save in place left behind (keptCopiesToOffer,
// keptCopyToOffer) back in its file's place, by the roads of
// writeFileSafely: a restore cut short leaves the same copy to offer.
// Older copies of the same file are declined. Throws as throwSaveFailure()
// says; a copy another window is putting back is access denied.
void restoreKeptCopy(const KeptCopy& copy);

// What a save of path that failed tells the user. The file error (disk
// full, access denied, I/O error) when the new content could not be
// written or finished, or the old content could not be copied to the cache
// folder; a rename refused for want of room says so too; otherwise
// "ファイル %s を作成できません".
[[noreturn]] void throwSaveFailure(const std::filesystem::path& path,
                                   FileReplacement::Failure failure, int systemError);

// The same for a container of plain enciphered with key.
void writeContainerSafely(const std::filesystem::path& path, std::string_view plain,
                          std::string_view key);

}  // namespace kivo
