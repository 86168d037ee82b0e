// Random bytes through the plain-text side of the loader and the exports.
// Beyond the sanitizers' findings it checks what must hold for any input:
// decoding never throws and gives UTF-8 no longer than a small multiple of
// the bytes, whose UTF-16 length is counted right, and valid UTF-8 as it
// was; after the line-break normalisation no CR is left, every line end is
// one LF, and a second pass changes nothing; the whole-file load gives
// UTF-8 without a CR; the text export never throws; and a list of
// well-formed UTF-8 without a CR comes back from its own RTF export as the
// same text. The table-driven code page 932 decode, with and without its
// line-break turning, gives byte for byte what the plain walk over the code
// page's tables gives, and the whole-file load's one walk what decoding and
// then normalising gives.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/CodePage932.h"
#include "core/Utf8.h"
#include "files/ListExport.h"
#include "files/TextDecoding.h"
#include "files/WordListLoader.h"

namespace {

std::size_t count(std::string_view s, char c) {
    std::size_t n = 0;
    for (const char x : s) n += x == c;
    return n;
}

std::string withoutLineBreaks(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c != '\r' && c != '\n') out += c;
    }
    return out;
}

void checkDecoding(std::string_view bytes) {
    const std::string text = kivo::decodePlainText(bytes);
    FUZZ_CHECK(kivo::fuzz::isUtf8(text));
    FUZZ_CHECK(kivo::utf16Length(text) == kivo::utf8ToUtf16(text).size());
    // The worst case is one U+FFFD (three bytes) for each byte, and one for
    // the odd last byte of UTF-16.
    FUZZ_CHECK(text.size() <= 3 * bytes.size() + 3);
    const bool marked = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                        bytes.starts_with("\xFE\xFF");
    // In valid UTF-8 a byte from 0xE0 on leads a sequence of three or four.
    bool longSequence = false;
    for (const char c : bytes) longSequence |= static_cast<unsigned char>(c) >= 0xE0;
    // Valid UTF-8 with such a character is taken as it is.
    if (!marked && longSequence && kivo::fuzz::isUtf8(bytes)) FUZZ_CHECK(text == bytes);
}

void checkLineBreaks(std::string_view text) {
    const std::string once = kivo::normalizeLineBreaks(text);
    FUZZ_CHECK(once.find('\r') == std::string::npos);
    FUZZ_CHECK(kivo::normalizeLineBreaks(once) == once);
    // Each CR LF pair, lone CR and lone LF is one LF; nothing else changes.
    std::size_t ends = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (text[i] == '\r' || text[i] == '\n') ++ends;
    }
    FUZZ_CHECK(count(once, '\n') == ends);
    FUZZ_CHECK(withoutLineBreaks(once) == withoutLineBreaks(text));
}

void checkCodePage932(std::string_view bytes) {
    const std::string plain = kivo::cp932::decodeByCharacter(bytes);
    FUZZ_CHECK(kivo::cp932::decode(bytes) == plain);
    FUZZ_CHECK(kivo::cp932::decodeLines(bytes) == kivo::normalizeLineBreaks(plain));
    FUZZ_CHECK(kivo::decodePlainTextLines(bytes) ==
               kivo::normalizeLineBreaks(kivo::decodePlainText(bytes)));
}

void checkWholeFileLoad(std::string_view bytes) {
    const kivo::StyledText loaded = kivo::styledTextFromBytes(bytes);
    FUZZ_CHECK(kivo::fuzz::isUtf8(loaded.text));
    FUZZ_CHECK(loaded.text.find('\r') == std::string::npos);
}

void checkRtfRoundTrip(std::string_view text) {
    if (!kivo::fuzz::isUtf8(text) || text.find('\r') != std::string_view::npos) return;
    kivo::StyledText list;
    list.text = std::string(text);
    const std::string rtf = kivo::listToRtf(list, "ＭＳ ゴシック", 24);
    for (const char c : rtf) FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
    const kivo::StyledText back = kivo::styledTextFromBytes(rtf);
    FUZZ_CHECK(back.text == list.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        checkDecoding(bytes);
        checkCodePage932(bytes);
        checkLineBreaks(bytes);
        checkLineBreaks(kivo::decodePlainText(bytes));
        checkWholeFileLoad(bytes);
        kivo::listToText(bytes);
        checkRtfRoundTrip(bytes);
    } catch (...) {
        FUZZ_CHECK(!"an exception from decoding, loading or exporting");
    }
    return 0;
}
