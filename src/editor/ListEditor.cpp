#include "editor/ListEditor.h"

#include "commands/ListContract.h"
#include "core/CodePage932.h"
#include "core/Utf8.h"
#include "files/TextDecoding.h"

namespace kivo {

std::string_view lineAsRead(std::string_view bytes, bool cut) {
    if (cut && !bytes.empty()) {
        // Not the part of a character the read cut off.
        std::size_t last = bytes.size() - 1;
        while (last > 0 && (static_cast<unsigned char>(bytes[last]) & 0xC0) == 0x80) --last;
        const auto lead = static_cast<unsigned char>(bytes[last]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (last + length > bytes.size()) bytes = bytes.substr(0, last);
    }
    // Short lines (nearly all) fit whatever they hold.
    if (bytes.size() <= kMaxLineBytes / 2) return bytes;
    const std::u16string units = utf8ToUtf16(bytes);
    const std::size_t keep = cp932::fittingPrefix(units, kMaxLineBytes);
    return keep == units.size() ? bytes : bytes.substr(0, Utf16Positions(bytes).byteAt(keep));
}

std::string asListText(std::string_view text) {
    std::string out = normalizeLineBreaks(text);
    return hasShownLineBreaks(out) ? breakLinesAsShown(out) : out;
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 1;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace kivo
