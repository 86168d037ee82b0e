// Random text through the width mapping. Any bytes, read as UTF-8 and as
// UTF-16 units, go through full-width and then half-width. On well-formed
// text it also checks what must hold for any input: both forms of the
// interface agree, half-width never makes the text longer in code page 932
// and full-width at most doubles it, each direction is idempotent, and
// half-width text survives a trip through full-width.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/CodePage932.h"
#include "core/Utf8.h"
#include "wordlist/WidthMapping.h"

namespace {

bool isUtf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u >= 0xDC00 && u <= 0xDFFF) return false;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

std::string utf8(std::u16string_view text) { return kivo::utf16ToUtf8(text); }

std::size_t cp932Bytes(std::string_view text) { return kivo::cp932::encode(text).size(); }

// The properties of well-formed text, on its UTF-8 form.
void checkText(const std::string& text) {
    const std::string full = kivo::toFullWidth(text);
    const std::string half = kivo::toHalfWidth(text);
    FUZZ_CHECK(cp932Bytes(half) <= cp932Bytes(text));
    FUZZ_CHECK(cp932Bytes(full) <= 2 * cp932Bytes(text));
    FUZZ_CHECK(kivo::toFullWidth(full) == full);
    FUZZ_CHECK(kivo::toHalfWidth(half) == half);
    FUZZ_CHECK(kivo::toHalfWidth(kivo::toFullWidth(half)) == half);
}

void checkUtf8(std::string_view bytes) {
    const std::string full = kivo::toFullWidth(bytes);
    const std::string half = kivo::toHalfWidth(full);
    FUZZ_CHECK(full.size() <= 3 * bytes.size());
    FUZZ_CHECK(half.size() <= 2 * full.size());
    if (!kivo::fuzz::isUtf8(bytes)) return;
    FUZZ_CHECK(kivo::fuzz::isUtf8(full) && kivo::fuzz::isUtf8(half));
    checkText(std::string(bytes));
}

void checkUtf16(std::u16string_view units) {
    const std::u16string full = kivo::toFullWidth(units);
    const std::u16string half = kivo::toHalfWidth(full);
    FUZZ_CHECK(full.size() <= units.size());
    FUZZ_CHECK(half.size() <= 2 * full.size());
    if (!isUtf16(units)) return;
    FUZZ_CHECK(isUtf16(full) && isUtf16(half));
    const std::string text = utf8(units);
    FUZZ_CHECK(utf8(full) == kivo::toFullWidth(text));
    FUZZ_CHECK(utf8(half) == kivo::toHalfWidth(kivo::toFullWidth(text)));
    FUZZ_CHECK(utf8(kivo::toHalfWidth(units)) == kivo::toHalfWidth(text));
    checkText(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    std::u16string units(size / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
    checkUtf16(units);
    return 0;
}
