#include "core/CodePages.h"

#include "core/CodePage932.h"
#include "core/CodePagesSystem.h"
#include "core/Utf8.h"

namespace kivo {
namespace {

// A code page this build does not know: ASCII as itself, every other byte
// marked as lost rather than guessed.
void appendUnknown(std::string_view bytes, std::string& out) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out.push_back(c);
        } else {
            appendUtf8(out, 0xFFFD);
        }
    }
}

}  // namespace

void appendDecodedCodePage(int codePage, std::string_view bytes, std::string& out) {
    if (bytes.empty()) return;
    // The program's own code page has one decoder on every system, with
    // Windows' reading of the few bytes where ICU's table is IBM's.
    if (codePage == 932) {
        out += cp932::decode(bytes);
        return;
    }
    if (!appendDecodedBySystem(codePage, bytes, out)) appendUnknown(bytes, out);
}

std::string decodeCodePage(int codePage, std::string_view bytes) {
    std::string out;
    appendDecodedCodePage(codePage, bytes, out);
    return out;
}

}  // namespace kivo
