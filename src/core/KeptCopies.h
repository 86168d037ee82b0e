#pragma once
// The copy of a file's old content that a save in place keeps in the cache
// folder (FileReplacement). Beside the copy, a small record names the file
// it belongs to; it is written and flushed before the file is touched,
// held while the save runs and removed with the copy once the save is
// done. A save cut short (the program killed, the machine down) leaves
// both, and the file torn: the copy is then offered back, and the user puts
// it back or declines it.
//
// "list.txt.20240501-142233.1a2b3c4d.bak" holds the old content,
// "….saving" names the file while the copy is still to be offered,
// "….declined" once the user chose to keep the file as it is.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileSystem.h"

namespace kivo {

// How long a declined copy stays, counted from the answer; a copy that no
// record names goes as long after it was made. A copy still to be offered
// stays until it is answered, or until its file is gone.
inline constexpr std::chrono::days kKeptCopyLifetime{7};

struct KeptCopy {
    std::filesystem::path file;    // the file the old content is of, absolute
    std::filesystem::path copy;    // the old content, whole
    std::filesystem::path record;  // names file
    std::uint64_t size = 0;        // the copy's length when it was made
};

// At start-up. Sweeps the cache folder first: copies whose file is gone
// from a folder that is still there, declined copies whose time is up,
// copies no record names after their time. Then returns the copies still to
// offer, one per file (its newest), newest first; a copy whose save is
// still running in another window is not among them.
std::vector<KeptCopy> keptCopiesToOffer(
    const std::filesystem::path& cacheFolder = userCacheFolder());

// Before file is opened or saved: its newest copy still to offer, if any
// (file is followed through symbolic links, as a save follows it).
std::optional<KeptCopy> keptCopyToOffer(
    const std::filesystem::path& file,
    const std::filesystem::path& cacheFolder = userCacheFolder());

// The user keeps the file as it is: the copy, and any other still to offer
// for the same file, is offered no more and stays kKeptCopyLifetime from
// now. False when it could not be marked (another window holds it).
bool declineKeptCopy(const KeptCopy& copy);

// The question for the yes/no box: yes puts the copy back
// (restoreKeptCopy in files/ListExport.h), no declines it.
std::string keptCopyQuestion(const KeptCopy& copy);

// What FileReplacement uses to make and drop copies.

// The name of a new copy of file's content: the file's name, cut at a
// character when long, the time and randomPart (8 hexadecimal digits).
std::filesystem::path keptCopyName(const std::filesystem::path& file, std::string_view randomPart);

// Writes, flushes and holds the record naming file as the owner of copy
// (size bytes). Closed when it could not be made, systemError then saying
// why; recordPath is empty then.
File recordKeptCopy(const std::filesystem::path& copy, const std::filesystem::path& file,
                    std::uint64_t size, std::filesystem::path& recordPath, int& systemError);

// Holds copy's record and opens the copy for putting it back: false when
// another window holds it, or either is no longer what it was.
bool takeKeptCopy(const KeptCopy& copy, File& record, File& content, int& systemError);

// Removes a held record, then its copy (closing both).
void removeKeptCopy(File& record, const std::filesystem::path& recordPath, File& content,
                    const std::filesystem::path& copyPath);

}  // namespace kivo
