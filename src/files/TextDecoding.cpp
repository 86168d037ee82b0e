#include "files/TextDecoding.h"

#include <cstdint>
#include <cstring>

#include "core/CodePage932.h"
#include "core/Utf8.h"

namespace kivo {
namespace {

// Length of the well-formed UTF-8 sequence at s[i], or 0 when there is none.
std::size_t utf8SequenceAt(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    if (b < 0x80) return 1;
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // no overlong forms
        if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    return len;
}

// UTF-8 with every malformed byte replaced by U+FFFD.
std::string repairUtf8(std::string_view s) {
    if (isValidUtf8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = utf8SequenceAt(s, i);
        if (len == 0) {
            appendUtf8(out, 0xFFFD);
            ++i;
        } else {
            out.append(s.substr(i, len));
            i += len;
        }
    }
    return out;
}

std::string decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t k = 0; k < units.size(); ++k) {
        const auto a = static_cast<unsigned char>(bytes[2 * k]);
        const auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
        units[k] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    std::string out = utf16ToUtf8(units);
    if (bytes.size() % 2 != 0) appendUtf8(out, 0xFFFD);  // a lone last byte
    return out;
}

}  // namespace

bool isValidUtf8(std::string_view bytes, bool* longSequence) {
    bool sawLong = false;
    for (std::size_t i = 0; i < bytes.size();) {
        // Plain ASCII, sixteen bytes at a time: most of a list's line breaks,
        // digits and Latin letters.
        if (bytes.size() - i >= 16) {
            std::uint64_t x[2];
            std::memcpy(x, bytes.data() + i, sizeof x);
            if (((x[0] | x[1]) & 0x8080808080808080u) == 0) {
                i += 16;
                continue;
            }
        }
        const std::size_t len = utf8SequenceAt(bytes, i);
        if (len == 0) return false;
        sawLong |= len >= 3;
        i += len;
    }
    if (longSequence) *longSequence = sawLong;
    return true;
}

TextEncoding detectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return TextEncoding::Utf8Bom;
    if (bytes.starts_with("\xFF\xFE")) return TextEncoding::Utf16LE;
    if (bytes.starts_with("\xFE\xFF")) return TextEncoding::Utf16BE;
    // The whole text is checked: a long code page 932 file may pass as UTF-8
    // for pages before its first double-byte character breaks the pattern.
    bool longSequence = false;
    if (isValidUtf8(bytes, &longSequence) && longSequence) return TextEncoding::Utf8;
    return TextEncoding::CodePage932;
}

namespace {

std::string decodeAs(TextEncoding encoding, std::string_view bytes) {
    switch (encoding) {
        case TextEncoding::Utf8Bom:
            return repairUtf8(bytes.substr(3));
        case TextEncoding::Utf16LE:
            return decodeUtf16(bytes.substr(2), false);
        case TextEncoding::Utf16BE:
            return decodeUtf16(bytes.substr(2), true);
        case TextEncoding::Utf8:
            return std::string(bytes);
        case TextEncoding::CodePage932:
            break;
    }
    return cp932::decode(bytes);
}

}  // namespace

std::string decodePlainText(std::string_view bytes) {
    return decodeAs(detectTextEncoding(bytes), bytes);
}

std::string decodePlainTextLines(std::string_view bytes) {
    // Code page 932 turns its line breaks as it decodes, and UTF-8 as it
    // is copied.
    switch (const TextEncoding encoding = detectTextEncoding(bytes)) {
        case TextEncoding::CodePage932:
            return cp932::decodeLines(bytes);
        case TextEncoding::Utf8:
            return normalizeLineBreaks(bytes);
        default:
            return normalizeLineBreaks(decodeAs(encoding, bytes));
    }
}

std::string normalizeLineBreaks(std::string_view text) {
    // The stretches between CRs go over whole.
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto* cr =
            static_cast<const char*>(std::memchr(text.data() + at, '\r', text.size() - at));
        const std::size_t stop = cr ? static_cast<std::size_t>(cr - text.data()) : text.size();
        out.append(text, at, stop - at);
        if (!cr) break;
        out.push_back('\n');
        at = stop + 1;
        if (at < text.size() && text[at] == '\n') ++at;
    }
    return out;
}

}  // namespace kivo
