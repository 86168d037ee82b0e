// Random compound files, held in memory, through the Word 97–2003 reader
// that follows the file's own structure (directory, FIB, piece table,
// property pages). Beyond the sanitizers' findings it checks what must hold
// for any input: the only exception is the loader's read error; every line
// is UTF-8 without a CR or LF; the text never grows past a small multiple
// of the input, however the pieces overlap; and a list that refuses a line
// gets exactly the lines before it, and no line after.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "WordFuzz.h"
#include "files/FileError.h"
#include "files/WordPieceText.h"

namespace {

using kivo::fuzz::Extraction;

Extraction extract(std::span<const std::uint8_t> bytes, std::size_t acceptAtMost) {
    return kivo::fuzz::extractChecked(
        [&](const kivo::LineSink& sink) { return kivo::extractWordPieceText(bytes, sink); },
        acceptAtMost, "\r\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const Extraction all = extract(bytes, SIZE_MAX);
    // A stream byte gives at most one character of three UTF-8 bytes (two
    // bytes at most four), and the pieces read each byte once at most.
    FUZZ_CHECK(all.textBytes <= 3 * size);
    if (all.broken) return 0;
    FUZZ_CHECK(all.outcome == kivo::WordTextOutcome::Completed);

    // A list that is full halfway gets the first half and nothing more.
    kivo::fuzz::checkRefusedHalfway(all, extract(bytes, all.lines.size() / 2));
    return 0;
}
