#pragma once
// A new version of a file, written aside under a name of our own and put in
// the file's place with one rename, so that a crash or a failed write leaves
// the old file whole; or, where the folder takes no new file, written over
// the file itself with a copy of the old content kept aside.
#include <cstdint>
#include <filesystem>
#include <span>

#include "core/FileSystem.h"

namespace kivo {

class FileReplacement {
public:
    enum class WhenFolderIsClosed {
        Fail,
        // Write the file itself, when the folder takes no new file but the
        // file may be written: the user plainly may change it. Its old
        // content is first copied, flushed, to the cache folder; a failure
        // puts it back, and a crash halfway leaves the copy there. Without
        // a copy the file is not touched. Only for content that does not
        // come from the file being replaced.
        WriteInPlace,
    };

    // Follows symbolic links to the file they name, so that the link stays
    // a link; creates the temporary file beside that file. cacheFolder
    // takes the copy of a file written in place, when it is private to the
    // user (privateFolder()).
    explicit FileReplacement(const std::filesystem::path& target,
                             WhenFolderIsClosed fallback = WhenFolderIsClosed::Fail,
                             const std::filesystem::path& cacheFolder = userCacheFolder());
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    // Removes the temporary file unless it took the target's place; puts
    // back the old content of a file written in place but not committed.
    ~FileReplacement();

    bool isOpen() const { return file_.isOpen(); }
    // The system's reason when it is not open, or when commit() failed.
    int systemError() const { return systemError_; }
    File& file() { return file_; }

    // Sets disk space aside first, so that a full disk shows before a
    // byte of the old file is overwritten; then writes.
    bool write(std::span<const std::uint8_t> bytes);

    // Gives the new content the old file's rights (or a new file's),
    // makes it durable and puts it in place.
    bool commit();

private:
    void openInPlace(const std::filesystem::path& cacheFolder);
    bool keepCopy(const std::filesystem::path& cacheFolder);
    bool restoreFromCopy();
    void dropCopy();
    bool fail();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    File file_;
    // The old content of a file written in place, until it is committed.
    std::filesystem::path copyPath_;
    File copy_;
    std::uint64_t written_ = 0;
    bool inPlace_ = false;
    bool committed_ = false;
    int systemError_ = 0;
};

// The path a chain of symbolic links ends at (the path itself when it is
// none); a chain of more than 40 links is left as it is.
std::filesystem::path followLinks(const std::filesystem::path& path);

}  // namespace kivo
