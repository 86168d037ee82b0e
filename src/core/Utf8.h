#pragma once
// UTF-8, the form text takes inside the program's plain C++ code.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/Simd.h"

namespace kivo {

// Appends one code point (at most U+10FFFF) in UTF-8.
inline void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// The code point of the UTF-8 character at s[i], moving i past it. A
// malformed sequence (overlong, a surrogate, cut short) is U+FFFD and takes
// one byte.
inline char32_t nextUtf8(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const auto cont = [&](std::size_t k) { return i + k < s.size() && (byte(k) & 0xC0) == 0x80; };
    const unsigned char b = byte(0);
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (b < 0x80) {
        cp = b;
    } else if ((b & 0xE0) == 0xC0 && cont(1)) {
        const char32_t c = ((b & 0x1Fu) << 6) | (byte(1) & 0x3Fu);
        if (c >= 0x80) cp = c, len = 2;
    } else if ((b & 0xF0) == 0xE0 && cont(1) && cont(2)) {
        const char32_t c = ((b & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu);
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) cp = c, len = 3;
    } else if ((b & 0xF8) == 0xF0 && cont(1) && cont(2) && cont(3)) {
        const char32_t c = ((b & 0x07u) << 18) | ((byte(1) & 0x3Fu) << 12) |
                           ((byte(2) & 0x3Fu) << 6) | (byte(3) & 0x3Fu);
        if (c >= 0x10000 && c <= 0x10FFFF) cp = c, len = 4;
    }
    i += len;
    return cp;
}

// Whether the bytes are well-formed UTF-8 without a CR or LF, eight ASCII
// bytes at a time: such a line is handed on as it is.
inline bool isLineText(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* const end = p + s.size();
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const auto cont = [&](std::ptrdiff_t k) { return (p[k] & 0xC0) == 0x80; };
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            if (end - p >= 8) {
                std::uint64_t x;
                std::memcpy(&x, p, sizeof x);
                // No byte from 0x80 up, and none equal to CR or LF.
                const std::uint64_t cr = x ^ (kOnes * '\r');
                const std::uint64_t lf = x ^ (kOnes * '\n');
                if (((x | ((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHigh) == 0) {
                    p += 8;
                    continue;
                }
            }
            if (b == '\r' || b == '\n') return false;
            ++p;
            continue;
        }
        // Japanese text is mostly three-byte characters: those first, and
        // no eight-byte look for them.
        if ((b & 0xF0) == 0xE0) {
            if (end - p < 3 || !cont(1) || !cont(2)) return false;
            // Not overlong, not a surrogate.
            if ((b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] >= 0xA0)) return false;
            p += 3;
        } else if (b >= 0xC2 && b <= 0xDF) {
            if (end - p < 2 || !cont(1)) return false;
            p += 2;
        } else if (b >= 0xF0 && b <= 0xF4) {
            if (end - p < 4 || !cont(1) || !cont(2) || !cont(3)) return false;
            // From U+10000 to U+10FFFF.
            if ((b == 0xF0 && p[1] < 0x90) || (b == 0xF4 && p[1] >= 0x90)) return false;
            p += 4;
        } else {
            return false;
        }
    }
    return true;
}

// Whether text is exactly this many lines, each ended by LF, of well-formed
// UTF-8 without a CR: a block of lines checked at once, sixteen bytes at a
// time where the processor can.
bool isLinesText(std::string_view text, std::size_t lines);

// The code point of the UTF-16 character at s[i], moving i past it; an
// unpaired surrogate is U+FFFD.
inline char32_t nextUtf16(std::u16string_view s, std::size_t& i) {
    const char32_t u = s[i++];
    if (u >= 0xD800 && u <= 0xDBFF && i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
        return 0x10000 + ((u - 0xD800) << 10) + (s[i++] - 0xDC00);
    }
    return u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u;
}

// Appends UTF-16 units as UTF-8; an unpaired surrogate becomes U+FFFD.
inline void appendUtf16(std::string& out, std::u16string_view units) {
    for (std::size_t i = 0; i < units.size();) appendUtf8(out, nextUtf16(units, i));
}

inline std::string utf16ToUtf8(std::u16string_view units) {
    std::string out;
    out.reserve(units.size() * 3);
    appendUtf16(out, units);
    return out;
}

// UTF-16 units of well-formed UTF-8: one per character, two from U+10000
// up, as whole lists are measured with it: sixteen bytes at a time where
// the processor has SSE2 (every x86-64 one), else eight.
inline std::size_t utf16Length(std::string_view utf8) {
    std::size_t continuation = 0;
    std::size_t fourByteLeads = 0;
    std::size_t i = 0;
#ifdef KIVO_SSE2
    const __m128i zero = _mm_setzero_si128();
    // Bytes 80 to BF lie below C0 taken as signed; F0 and up are their own
    // unsigned maximum with F0.
    const __m128i lead = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i fourLead = _mm_set1_epi8(static_cast<char>(0xF0));
    while (utf8.size() - i >= 16) {
        // Counted per byte lane, as many blocks as a lane holds, then summed.
        __m128i c = zero, f = zero;
        for (std::size_t n = std::min<std::size_t>((utf8.size() - i) / 16, 255); n > 0; --n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(utf8.data() + i));
            c = _mm_sub_epi8(c, _mm_cmplt_epi8(v, lead));
            f = _mm_sub_epi8(f, _mm_cmpeq_epi8(_mm_max_epu8(v, fourLead), v));
            i += 16;
        }
        const auto sum = [&](__m128i counts) {
            const __m128i s = _mm_sad_epu8(counts, zero);
            return static_cast<std::size_t>(_mm_cvtsi128_si32(s)) +
                   static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(s, s)));
        };
        continuation += sum(c);
        fourByteLeads += sum(f);
    }
#endif
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    // The marks of eight bytes counted by one multiplication: without the
    // processor's own count (not in the baseline instruction set), popcount
    // is a library call.
    const auto marks = [](std::uint64_t m) {
        return static_cast<std::size_t>(((m >> 7) * 0x0101010101010101u) >> 56);
    };
    for (; i + 8 <= utf8.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, utf8.data() + i, sizeof x);
        // Bytes 10xxxxxx, and bytes 1111xxxx, marked in their top bits.
        continuation += marks(x & ~(x << 1) & kHigh);
        fourByteLeads += marks(x & (x << 1) & (x << 2) & (x << 3) & kHigh);
    }
    for (; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        continuation += (b & 0xC0) == 0x80 ? 1 : 0;
        fourByteLeads += b >= 0xF0 ? 1 : 0;
    }
    return utf8.size() - continuation + fourByteLeads;
}

// Byte offsets in UTF-8 text of positions given in UTF-16 units, asked for
// in increasing order: the text is walked once for them all. A position
// inside a character from U+10000 up is taken past it.
class Utf16Positions {
public:
    explicit Utf16Positions(std::string_view utf8) : text_(utf8) {}

    // The byte offset of UTF-16 position `units`, the end of the text at
    // most.
    std::size_t byteAt(std::size_t units) {
        while (unit_ < units && byte_ < text_.size()) {
            const auto b = static_cast<unsigned char>(text_[byte_]);
            const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            unit_ += n == 4 ? 2 : 1;
            byte_ = std::min(text_.size(), byte_ + n);
        }
        return byte_;
    }
    // The UTF-16 position the walk has reached.
    std::size_t units() const { return unit_; }

private:
    std::string_view text_;
    std::size_t unit_ = 0;
    std::size_t byte_ = 0;
};

// UTF-8 to UTF-16; malformed sequences become U+FFFD.
inline std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextUtf8(utf8, i);
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

// The text without the blanks around it: spaces, tabs and ideographic
// spaces (U+3000).
inline std::string_view trimBlanks(std::string_view s) {
    constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    for (;;) {
        if (s.starts_with(' ') || s.starts_with('\t')) {
            s.remove_prefix(1);
        } else if (s.starts_with(kIdeographicSpace)) {
            s.remove_prefix(kIdeographicSpace.size());
        } else if (s.ends_with(' ') || s.ends_with('\t')) {
            s.remove_suffix(1);
        } else if (s.ends_with(kIdeographicSpace)) {
            s.remove_suffix(kIdeographicSpace.size());
        } else {
            return s;
        }
    }
}

}  // namespace kivo
