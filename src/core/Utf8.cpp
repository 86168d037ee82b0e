#include "core/Utf8.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#include <immintrin.h>
#define KIVO_UTF8_SSSE3 1
#endif

namespace kivo {
namespace {

bool linesTextScalar(std::string_view text, std::size_t lines) {
    std::size_t found = 0;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        if (lf == std::string_view::npos) return isLineText(text) && found == lines;
        if (!isLineText(text.substr(0, lf))) return false;
        ++found;
        text.remove_prefix(lf + 1);
    }
    return found == lines;
}

#ifdef KIVO_UTF8_SSSE3
// Sixteen bytes at a time, by the lookup of each byte pair's nibbles in
// three tables (Keiser and Lemire, "Validating UTF-8 in less than one
// instruction per byte"): every error of a pair sets a bit in all three.
// The bits of an error, as the pair (previous byte, this byte) shows it.
constexpr char kTooShort = 1 << 0;                     // a lead, then no continuation
constexpr char kTooLong = 1 << 1;                      // ASCII, then a continuation
constexpr char kOverlong3 = 1 << 2;                    // E0 80..9F
constexpr char kTooLarge = 1 << 3;                     // F4 90.., F5..
constexpr char kSurrogate = 1 << 4;                    // ED A0..BF
constexpr char kOverlong2 = 1 << 5;                    // C0, C1
constexpr char kTooLarge1000 = 1 << 6;                 // F5.. 80..8F
constexpr char kOverlong4 = 1 << 6;                    // F0 80..8F
constexpr char kTwoConts = static_cast<char>(1 << 7);  // a continuation, then another
constexpr char kCarry = kTooShort | kTooLong | kTwoConts;

#define KIVO_SSSE3 __attribute__((target("ssse3,popcnt")))

struct Blocks {
    __m128i previous = _mm_setzero_si128();
    __m128i incomplete = _mm_setzero_si128();  // leads that the last block cut
    __m128i error = _mm_setzero_si128();
    std::size_t lineFeeds = 0;
};

KIVO_SSSE3 inline __m128i highNibbles(__m128i v) {
    return _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(0x0F));
}

KIVO_SSSE3 inline void checkBlock(Blocks& b, __m128i in) {
    b.lineFeeds += static_cast<std::size_t>(_mm_popcnt_u32(
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(in, _mm_set1_epi8('\n'))))));
    b.error = _mm_or_si128(b.error, _mm_cmpeq_epi8(in, _mm_set1_epi8('\r')));
    if (_mm_movemask_epi8(in) == 0) {
        // ASCII: only a sequence cut at the last block's end is wrong.
        b.error = _mm_or_si128(b.error, b.incomplete);
        b.incomplete = _mm_setzero_si128();
        b.previous = in;
        return;
    }
    const __m128i firstHigh = _mm_setr_epi8(
        kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTwoConts,
        kTwoConts, kTwoConts, kTwoConts, kTooShort | kOverlong2, kTooShort,
        kTooShort | kOverlong3 | kSurrogate, kTooShort | kTooLarge | kTooLarge1000 | kOverlong4);
    constexpr char kLarge = kCarry | kTooLarge | kTooLarge1000;
    const __m128i firstLow =
        _mm_setr_epi8(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry,
                      kCarry, kCarry | kTooLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge,
                      kLarge, kLarge, kLarge | kSurrogate, kLarge, kLarge);
    constexpr char kCont = kTooLong | kOverlong2 | kTwoConts;
    const __m128i secondHigh =
        _mm_setr_epi8(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
                      kTooShort, kCont | kOverlong3 | kTooLarge1000 | kOverlong4,
                      kCont | kOverlong3 | kTooLarge, kCont | kSurrogate | kTooLarge,
                      kCont | kSurrogate | kTooLarge, kTooShort, kTooShort, kTooShort, kTooShort);
    const __m128i prev1 = _mm_alignr_epi8(in, b.previous, 15);
    const __m128i special = _mm_and_si128(
        _mm_and_si128(_mm_shuffle_epi8(firstHigh, highNibbles(prev1)),
                      _mm_shuffle_epi8(firstLow, _mm_and_si128(prev1, _mm_set1_epi8(0x0F)))),
        _mm_shuffle_epi8(secondHigh, highNibbles(in)));
    // The third and fourth bytes of a sequence must be continuations.
    const __m128i third = _mm_subs_epu8(_mm_alignr_epi8(in, b.previous, 14),
                                        _mm_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m128i fourth = _mm_subs_epu8(_mm_alignr_epi8(in, b.previous, 13),
                                         _mm_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m128i must =
        _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(static_cast<char>(0x80)));
    b.error = _mm_or_si128(b.error, _mm_xor_si128(must, special));
    // A lead among the last bytes that this block cannot complete.
    const __m128i incompleteAbove = _mm_setr_epi8(
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, static_cast<char>(0xF0 - 1),
        static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));
    b.incomplete = _mm_subs_epu8(in, incompleteAbove);
    b.previous = in;
}

KIVO_SSSE3 bool linesTextSsse3(std::string_view text, std::size_t lines) {
    Blocks b;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (; end - p >= 16; p += 16)
        checkBlock(b, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    if (p < end) {
        // The tail padded with NULs, which are ASCII.
        alignas(16) char tail[16] = {};
        std::memcpy(tail, p, static_cast<std::size_t>(end - p));
        checkBlock(b, _mm_load_si128(reinterpret_cast<const __m128i*>(tail)));
    }
    const __m128i error = _mm_or_si128(b.error, b.incomplete);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(error, _mm_setzero_si128())) == 0xFFFF &&
           b.lineFeeds == lines;
}
#endif

}  // namespace

bool isLinesText(std::string_view text, std::size_t lines) {
#ifdef KIVO_UTF8_SSSE3
    static const bool ssse3 = __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
    if (ssse3) return linesTextSsse3(text, lines);
#endif
    return linesTextScalar(text, lines);
}

}  // namespace kivo
