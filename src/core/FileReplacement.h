#pragma once
// A new version of a file, written aside under a name of our own and put in
// the file's place with one rename, so that a crash or a failed write leaves
// the old file whole; or, where the folder takes no new file, written over
// the file itself with a copy of the old content kept aside.
#include <cstdint>
#include <filesystem>
#include <span>

#include "core/FileSystem.h"
#include "core/KeptCopies.h"

namespace kivo {

class FileReplacement {
public:
    enum class WhenFolderIsClosed {
        Fail,
        // Write the file itself, when the folder takes no new file but the
        // file may be written: the user plainly may change it. Its old
        // content is first copied, flushed, to the cache folder, with a
        // record naming the file (KeptCopies.h); a failure puts it back,
        // and a crash halfway leaves both there to be offered back. Without
        // a copy the file is not touched. Only for content that does not
        // come from the file being replaced.
        WriteInPlace,
    };

    // Where a replacement failed, which tells what the user is to be told.
    enum class Failure {
        None,
        Create,   // no temporary file beside the target, nor a way in place
        Copy,     // the old content could not be kept aside for a write in place
        Write,    // writing the new content
        Finish,   // the end of a write in place: the length, the flush, the close
        Replace,  // the complete temporary file could not take the target's place
    };

    // Follows symbolic links to the file they name, so that the link stays
    // a link; creates the temporary file beside that file. cacheFolder
    // takes the copy of a file written in place, when it is private to the
    // user (privateFolder()).
    explicit FileReplacement(const std::filesystem::path& target,
                             WhenFolderIsClosed fallback = WhenFolderIsClosed::Fail,
                             const std::filesystem::path& cacheFolder = userCacheFolder());
    // Puts a copy a save in place left behind back in its file's place,
    // by the same roads. Where the file must be written in place, the copy
    // itself is the old content kept aside, so that a restore cut short
    // leaves the same copy to offer; once committed, the copy goes.
    explicit FileReplacement(const KeptCopy& copy);
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    // Removes the temporary file unless it took the target's place; puts
    // back the old content of a file written in place but not committed.
    ~FileReplacement();

    bool isOpen() const { return file_.isOpen(); }
    // The system's reason when it is not open, or when a write or
    // commit() failed; and where that was.
    int systemError() const { return systemError_; }
    Failure failure() const { return failure_; }
    File& file() { return file_; }

    // Sets disk space aside first, so that a full disk shows before a
    // byte of the old file is overwritten; then writes.
    bool write(std::span<const std::uint8_t> bytes);
    // Writes the whole content of the kept copy it was made for.
    bool writeKeptCopy();

    // Gives the new content the old file's rights (or a new file's),
    // makes it durable and puts it in place.
    bool commit();

private:
    void openInPlace(const std::filesystem::path& cacheFolder);
    // The temporary file beside the target; false (the failure noted) when
    // the folder takes none.
    bool createTemporary();
    bool keepCopy(const std::filesystem::path& cacheFolder);
    bool restoreFromCopy();
    void dropCopy();
    bool fail(Failure failure);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    File file_;
    // The old content of a file written in place, or the kept copy being
    // put back, and the record naming its file, held until committed.
    std::filesystem::path copyPath_;
    File copy_;
    std::filesystem::path recordPath_;
    File record_;
    std::uint64_t written_ = 0;
    bool inPlace_ = false;
    bool committed_ = false;
    int systemError_ = 0;
    Failure failure_ = Failure::None;
};

// The path a chain of symbolic links ends at (the path itself when it is
// none); a chain of more than 40 links is left as it is.
std::filesystem::path followLinks(const std::filesystem::path& path);

}  // namespace kivo
