// The Windows side of the code page decoder: the system's own tables,
// through MultiByteToWideChar.
#include <windows.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "core/CodePages.h"
#include "core/CodePagesSystem.h"
#include "core/Utf8.h"

namespace kivo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Entry {
    int codePage = 0;
    bool known = false;
    // Every character is one byte, or a lead byte and one more: such text
    // can be taken apart character by character where it is broken.
    bool byteWise = false;
    std::array<bool, 256> lead{};
};

// 0 to 3 are no tables but the system's current choices (CP_ACP, CP_OEMCP,
// CP_MACCP, CP_THREAD_ACP), which differ from machine to machine.
bool namesATable(int codePage) { return codePage > 3 && IsValidCodePage(codePage); }

Entry makeEntry(int codePage) {
    Entry entry;
    entry.codePage = codePage;
    CPINFO info{};
    if (!namesATable(codePage) || !GetCPInfo(static_cast<UINT>(codePage), &info)) return entry;
    entry.known = true;
    entry.byteWise = info.MaxCharSize <= 2;
    if (info.MaxCharSize != 2) return entry;
    for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r] != 0; r += 2) {
        for (unsigned b = info.LeadByte[r]; b <= info.LeadByte[r + 1]; ++b) entry.lead[b] = true;
    }
    return entry;
}

// A document names only a handful of code pages; each thread keeps what it
// has looked up.
const Entry& entryFor(int codePage) {
    constexpr std::size_t kMaxEntries = 64;
    thread_local std::vector<Entry> cache;
    for (const auto& entry : cache) {
        if (entry.codePage == codePage) return entry;
    }
    // Odd inputs can name any number; drop the oldest rather than grow.
    if (cache.size() >= kMaxEntries) cache.erase(cache.begin());
    cache.push_back(makeEntry(codePage));
    return cache.back();
}

void appendUtf16(const std::wstring& units, std::string& out) {
    // wchar_t is UTF-16 on Windows.
    kivo::appendUtf16(
        out, std::u16string_view(reinterpret_cast<const char16_t*>(units.data()), units.size()));
}

// The bytes as UTF-16; false when the system refuses them (with
// MB_ERR_INVALID_CHARS: a byte the table lacks).
bool toUtf16(int codePage, DWORD flags, std::string_view bytes, std::wstring& wide) {
    wide.clear();
    if (bytes.empty()) return true;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
    const auto cp = static_cast<UINT>(codePage);
    const int size = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(cp, flags, bytes.data(), size, nullptr, 0);
    if (needed <= 0) return false;
    wide.resize(static_cast<std::size_t>(needed));
    return MultiByteToWideChar(cp, flags, bytes.data(), size, wide.data(), needed) == needed;
}

// Whether a byte can stand second in a double-byte character of the CJK
// code pages (936, 949, 950, 1361): controls, space, digits, DEL and 0xFF
// never do, and are read anew after a broken lead byte.
bool mayBeTrailByte(unsigned char b) { return b >= 0x40 && b != 0x7F && b != 0xFF; }

// Broken text of a byte-wise code page, one character at a time, so that
// only what is broken becomes U+FFFD.
void appendPerCharacter(const Entry& entry, std::string_view bytes, std::string& out) {
    std::wstring wide;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t len = 1;
        if (entry.lead[b] && i + 1 < bytes.size()) len = 2;
        if (toUtf16(entry.codePage, MB_ERR_INVALID_CHARS, bytes.substr(i, len), wide)) {
            appendUtf16(wide, out);
        } else {
            appendUtf8(out, kReplacement);
            if (len == 2 && !mayBeTrailByte(static_cast<unsigned char>(bytes[i + 1]))) len = 1;
        }
        i += len;
    }
}

}  // namespace

bool appendDecodedBySystem(int codePage, std::string_view bytes, std::string& out) {
    const Entry& entry = entryFor(codePage);
    if (!entry.known) return false;
    std::wstring wide;
    if (entry.byteWise) {
        if (toUtf16(codePage, MB_ERR_INVALID_CHARS, bytes, wide)) {
            appendUtf16(wide, out);
            return true;
        }
        // Some tables (the symbol code page) take no flags at all.
        if (GetLastError() == ERROR_NO_UNICODE_TRANSLATION) {
            appendPerCharacter(entry, bytes, out);
            return true;
        }
    }
    // UTF-8, GB18030 and the stateful code pages: the system marks broken
    // bytes with U+FFFD itself.
    if (!toUtf16(codePage, 0, bytes, wide)) return false;
    appendUtf16(wide, out);
    return true;
}

bool isCodePageKnown(int codePage) { return entryFor(codePage).known; }

bool isLeadByte(int codePage, unsigned char byte) { return entryFor(codePage).lead[byte]; }

std::array<bool, 256> leadBytes(int codePage) { return entryFor(codePage).lead; }

}  // namespace kivo
