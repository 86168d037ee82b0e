// The ICU side of the code page decoder (everything but Windows).
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/CodePages.h"
#include "core/CodePagesSystem.h"
#include "core/Utf8.h"

namespace kivo {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Every malformed or unmapped sequence becomes one U+FFFD. ICU's own
// substitute callback writes U+001A for some single-byte tables, which would
// reach the list as an invisible control character.
void replaceWithFffd(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                     UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
    *status = U_ZERO_ERROR;
    static const UChar kReplacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

// ICU's names for the Windows code pages whose "windows-N" alias it lacks or
// maps to something else.
const char* specialName(int codePage) {
    switch (codePage) {
        case 932:
            return "windows-31j";  // Microsoft's table: 0x5C is U+005C, 0x8160 U+FF5E
        case 10000:
            return "macintosh";
        case 20127:
            return "US-ASCII";
        case 20932:
        case 51932:
            return "EUC-JP";
        case 50220:
        case 50221:
        case 50222:
            return "ISO-2022-JP";
        case 54936:
            return "gb18030";
        case 65001:
            return "UTF-8";
        case 28591:
            return "ISO-8859-1";
        case 28592:
            return "ISO-8859-2";
        case 28593:
            return "ISO-8859-3";
        case 28594:
            return "ISO-8859-4";
        case 28595:
            return "ISO-8859-5";
        case 28596:
            return "ISO-8859-6";
        case 28597:
            return "ISO-8859-7";
        case 28598:
            return "ISO-8859-8";
        case 28599:
            return "ISO-8859-9";
        case 28603:
            return "ISO-8859-13";
        case 28605:
            return "ISO-8859-15";
        default:
            return nullptr;
    }
}

ConverterPtr tryOpen(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(name.c_str(), &status));
    if (U_FAILURE(status)) return nullptr;
    return conv;
}

ConverterPtr openCodePage(int codePage) {
    if (codePage <= 0) return nullptr;
    if (const char* name = specialName(codePage)) return tryOpen(name);
    // "windows-N" covers the ANSI code pages (874, 936, 949, 950, 125x) and
    // "ibm-N" the OEM ones (437, 850, ...).
    if (auto conv = tryOpen("windows-" + std::to_string(codePage))) return conv;
    return tryOpen("ibm-" + std::to_string(codePage));
}

struct Entry {
    int codePage = 0;
    ConverterPtr conv;  // null: this build does not know the code page
    std::array<bool, 256> lead{};
};

Entry makeEntry(int codePage) {
    Entry entry;
    entry.codePage = codePage;
    entry.conv = openCodePage(codePage);
    if (!entry.conv) return entry;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(entry.conv.get(), replaceWithFffd, nullptr, nullptr, nullptr, &status);
    if (ucnv_getType(entry.conv.get()) == UCNV_DBCS ||
        ucnv_getType(entry.conv.get()) == UCNV_MBCS) {
        std::array<UBool, 256> starters{};
        status = U_ZERO_ERROR;
        ucnv_getStarters(entry.conv.get(), starters.data(), &status);
        if (U_SUCCESS(status)) {
            std::transform(starters.begin(), starters.end(), entry.lead.begin(),
                           [](UBool b) { return b != 0; });
        }
    }
    return entry;
}

// Converters keep state and cost a table load to open, so each thread keeps
// the few it has used; a document names only a handful of code pages.
Entry& entryFor(int codePage) {
    constexpr std::size_t kMaxEntries = 64;
    thread_local std::vector<Entry> cache;
    for (auto& entry : cache) {
        if (entry.codePage == codePage) return entry;
    }
    // Odd inputs can name any number; drop the oldest rather than grow.
    if (cache.size() >= kMaxEntries) cache.erase(cache.begin());
    cache.push_back(makeEntry(codePage));
    return cache.back();
}

// Appends UTF-16 units as UTF-8. A lead surrogate at the very end is left
// for the next piece (returns 1), unless `last`.
int appendUtf16(const UChar* units, int count, bool last, std::string& out) {
    const int held = count > 0 && !last && U16_IS_LEAD(units[count - 1]) ? 1 : 0;
    kivo::appendUtf16(out, std::u16string_view(reinterpret_cast<const char16_t*>(units),
                                               static_cast<std::size_t>(count - held)));
    return held;
}

}  // namespace

bool appendDecodedBySystem(int codePage, std::string_view bytes, std::string& out) {
    Entry& entry = entryFor(codePage);
    if (!entry.conv) return false;
    UConverter* conv = entry.conv.get();
    ucnv_resetToUnicode(conv);
    // Converted in slices, so the buffer stays small whatever the input.
    std::array<UChar, 2048> buffer;
    int carried = 0;
    const char* source = bytes.data();
    const char* const sourceLimit = bytes.data() + bytes.size();
    out.reserve(out.size() + bytes.size());
    for (;;) {
        UChar* target = buffer.data() + carried;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(conv, &target, buffer.data() + buffer.size(), &source, sourceLimit, nullptr,
                       true, &status);
        const int produced = static_cast<int>(target - buffer.data());
        const bool done = status != U_BUFFER_OVERFLOW_ERROR;
        carried = appendUtf16(buffer.data(), produced, done, out);
        if (carried > 0) buffer[0] = buffer[static_cast<std::size_t>(produced - 1)];
        if (done) break;
    }
    return true;
}

bool isCodePageKnown(int codePage) { return entryFor(codePage).conv != nullptr; }

bool isLeadByte(int codePage, unsigned char byte) { return entryFor(codePage).lead[byte]; }

std::array<bool, 256> leadBytes(int codePage) { return entryFor(codePage).lead; }

}  // namespace kivo
