// The width mapping. Tables first, then lookups derived from them at compile
// time, then one conversion loop shared by UTF-8 and UTF-16.
//
// Which characters have a partner. The list leaves the program as code page
// 932 text, so a pair is in the tables only when both of its sides are
// characters code page 932 holds; a conversion never turns text that exports
// cleanly into text that does not, and half-width never makes it longer.
// What that decides for the characters at the edges:
//  - "\" is U+005C here (code page 932 byte 0x5C reads as U+005C) and pairs
//    with the full-width reverse solidus ＼ U+FF3C (0x815F) like every other
//    ASCII character. ¥ U+00A5 and ￥ U+FFE5 are left alone: ¥ has no code
//    page 932 form, and turning ￥ into "\" would change what the user wrote.
//  - "~" pairs with ～ U+FF5E (0x8160, which Windows and our code page
//    converter both read as U+FF5E). The wave dash 〜 U+301C is not a width
//    form and code page 932 lacks it; it stays as it is.
//  - ￠ ￡ ￢ ￣ ￤ ￥ (U+FFE0-FFE5) stay in both directions: their half-width
//    forms ¢ £ ¬ ¯ ¦ ¥ are not in code page 932, and ￦, the half-width
//    hangul, arrows and shapes (U+FFA0-FFEE) and ｟ ｠ have a side code page
//    932 cannot hold.
//  - ﾞ and ﾟ pair with the spacing marks ゛ ゜ (U+309B, U+309C) that code page
//    932 holds, not with the combining U+3099 / U+309A of their Unicode
//    decomposition. Half-width still turns the combining marks (text from
//    other systems, decomposed) into ﾞ and ﾟ: the rows of kHalfWidthOnlyRows.
//  - ﾜﾞ and ｦﾞ stay two characters (ワ゛ ヲ゛): ヷ and ヺ are not in code page
//    932. ヷ ヸ ヹ ヺ, ヰ ヱ ヮ ヵ ヶ and the other katakana without a half-width
//    letter stay full-width.
#include "wordlist/WidthMapping.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace kivo {
namespace {

// One row a line, as the tables are read.
// clang-format off
constexpr std::array<WidthPair, 158> kWidthPairs{{
    {u' ', u'　'},  // U+3000
    {u'!', u'！'},
    {u'"', u'＂'},
    {u'#', u'＃'},
    {u'$', u'＄'},
    {u'%', u'％'},
    {u'&', u'＆'},
    {u'\'', u'＇'},
    {u'(', u'（'},
    {u')', u'）'},
    {u'*', u'＊'},
    {u'+', u'＋'},
    {u',', u'，'},
    {u'-', u'－'},
    {u'.', u'．'},
    {u'/', u'／'},
    {u'0', u'０'},
    {u'1', u'１'},
    {u'2', u'２'},
    {u'3', u'３'},
    {u'4', u'４'},
    {u'5', u'５'},
    {u'6', u'６'},
    {u'7', u'７'},
    {u'8', u'８'},
    {u'9', u'９'},
    {u':', u'：'},
    {u';', u'；'},
    {u'<', u'＜'},
    {u'=', u'＝'},
    {u'>', u'＞'},
    {u'?', u'？'},
    {u'@', u'＠'},
    {u'A', u'Ａ'},
    {u'B', u'Ｂ'},
    {u'C', u'Ｃ'},
    {u'D', u'Ｄ'},
    {u'E', u'Ｅ'},
    {u'F', u'Ｆ'},
    {u'G', u'Ｇ'},
    {u'H', u'Ｈ'},
    {u'I', u'Ｉ'},
    {u'J', u'Ｊ'},
    {u'K', u'Ｋ'},
    {u'L', u'Ｌ'},
    {u'M', u'Ｍ'},
    {u'N', u'Ｎ'},
    {u'O', u'Ｏ'},
    {u'P', u'Ｐ'},
    {u'Q', u'Ｑ'},
    {u'R', u'Ｒ'},
    {u'S', u'Ｓ'},
    {u'T', u'Ｔ'},
    {u'U', u'Ｕ'},
    {u'V', u'Ｖ'},
    {u'W', u'Ｗ'},
    {u'X', u'Ｘ'},
    {u'Y', u'Ｙ'},
    {u'Z', u'Ｚ'},
    {u'[', u'［'},
    {u'\\', u'＼'},
    {u']', u'］'},
    {u'^', u'＾'},
    {u'_', u'＿'},
    {u'`', u'｀'},
    {u'a', u'ａ'},
    {u'b', u'ｂ'},
    {u'c', u'ｃ'},
    {u'd', u'ｄ'},
    {u'e', u'ｅ'},
    {u'f', u'ｆ'},
    {u'g', u'ｇ'},
    {u'h', u'ｈ'},
    {u'i', u'ｉ'},
    {u'j', u'ｊ'},
    {u'k', u'ｋ'},
    {u'l', u'ｌ'},
    {u'm', u'ｍ'},
    {u'n', u'ｎ'},
    {u'o', u'ｏ'},
    {u'p', u'ｐ'},
    {u'q', u'ｑ'},
    {u'r', u'ｒ'},
    {u's', u'ｓ'},
    {u't', u'ｔ'},
    {u'u', u'ｕ'},
    {u'v', u'ｖ'},
    {u'w', u'ｗ'},
    {u'x', u'ｘ'},
    {u'y', u'ｙ'},
    {u'z', u'ｚ'},
    {u'{', u'｛'},
    {u'|', u'｜'},
    {u'}', u'｝'},
    {u'~', u'～'},
    {u'｡', u'。'},
    {u'｢', u'「'},
    {u'｣', u'」'},
    {u'､', u'、'},
    {u'･', u'・'},
    {u'ｦ', u'ヲ'},
    {u'ｧ', u'ァ'},
    {u'ｨ', u'ィ'},
    {u'ｩ', u'ゥ'},
    {u'ｪ', u'ェ'},
    {u'ｫ', u'ォ'},
    {u'ｬ', u'ャ'},
    {u'ｭ', u'ュ'},
    {u'ｮ', u'ョ'},
    {u'ｯ', u'ッ'},
    {u'ｰ', u'ー'},
    {u'ｱ', u'ア'},
    {u'ｲ', u'イ'},
    {u'ｳ', u'ウ'},
    {u'ｴ', u'エ'},
    {u'ｵ', u'オ'},
    {u'ｶ', u'カ'},
    {u'ｷ', u'キ'},
    {u'ｸ', u'ク'},
    {u'ｹ', u'ケ'},
    {u'ｺ', u'コ'},
    {u'ｻ', u'サ'},
    {u'ｼ', u'シ'},
    {u'ｽ', u'ス'},
    {u'ｾ', u'セ'},
    {u'ｿ', u'ソ'},
    {u'ﾀ', u'タ'},
    {u'ﾁ', u'チ'},
    {u'ﾂ', u'ツ'},
    {u'ﾃ', u'テ'},
    {u'ﾄ', u'ト'},
    {u'ﾅ', u'ナ'},
    {u'ﾆ', u'ニ'},
    {u'ﾇ', u'ヌ'},
    {u'ﾈ', u'ネ'},
    {u'ﾉ', u'ノ'},
    {u'ﾊ', u'ハ'},
    {u'ﾋ', u'ヒ'},
    {u'ﾌ', u'フ'},
    {u'ﾍ', u'ヘ'},
    {u'ﾎ', u'ホ'},
    {u'ﾏ', u'マ'},
    {u'ﾐ', u'ミ'},
    {u'ﾑ', u'ム'},
    {u'ﾒ', u'メ'},
    {u'ﾓ', u'モ'},
    {u'ﾔ', u'ヤ'},
    {u'ﾕ', u'ユ'},
    {u'ﾖ', u'ヨ'},
    {u'ﾗ', u'ラ'},
    {u'ﾘ', u'リ'},
    {u'ﾙ', u'ル'},
    {u'ﾚ', u'レ'},
    {u'ﾛ', u'ロ'},
    {u'ﾜ', u'ワ'},
    {u'ﾝ', u'ン'},
    {u'ﾞ', u'゛'},
    {u'ﾟ', u'゜'},
}};

constexpr std::array<VoicedRow, 26> kVoicedRows{{
    {u'ｶ', u'ﾞ', u'ガ'},
    {u'ｷ', u'ﾞ', u'ギ'},
    {u'ｸ', u'ﾞ', u'グ'},
    {u'ｹ', u'ﾞ', u'ゲ'},
    {u'ｺ', u'ﾞ', u'ゴ'},
    {u'ｻ', u'ﾞ', u'ザ'},
    {u'ｼ', u'ﾞ', u'ジ'},
    {u'ｽ', u'ﾞ', u'ズ'},
    {u'ｾ', u'ﾞ', u'ゼ'},
    {u'ｿ', u'ﾞ', u'ゾ'},
    {u'ﾀ', u'ﾞ', u'ダ'},
    {u'ﾁ', u'ﾞ', u'ヂ'},
    {u'ﾂ', u'ﾞ', u'ヅ'},
    {u'ﾃ', u'ﾞ', u'デ'},
    {u'ﾄ', u'ﾞ', u'ド'},
    {u'ﾊ', u'ﾞ', u'バ'},
    {u'ﾊ', u'ﾟ', u'パ'},
    {u'ﾋ', u'ﾞ', u'ビ'},
    {u'ﾋ', u'ﾟ', u'ピ'},
    {u'ﾌ', u'ﾞ', u'ブ'},
    {u'ﾌ', u'ﾟ', u'プ'},
    {u'ﾍ', u'ﾞ', u'ベ'},
    {u'ﾍ', u'ﾟ', u'ペ'},
    {u'ﾎ', u'ﾞ', u'ボ'},
    {u'ﾎ', u'ﾟ', u'ポ'},
    {u'ｳ', u'ﾞ', u'ヴ'},
}};

constexpr std::array<HalfWidthOnlyRow, 2> kHalfWidthOnlyRows{{
    {u'\u3099', u'ﾞ'},  // combining voiced mark
    {u'\u309A', u'ﾟ'},  // combining semi-voiced mark
}};
// clang-format on

// A short initializer would leave zero rows, and a character listed twice
// would map one way only; neither may slip into a build.
template <class Row, std::size_t N, class Key>
constexpr bool completeAndUnique(const std::array<Row, N>& rows, Key key) {
    for (std::size_t i = 0; i < N; ++i) {
        if (key(rows[i]) == 0) return false;
        for (std::size_t j = i + 1; j < N; ++j) {
            if (key(rows[i]) == key(rows[j])) return false;
        }
    }
    return true;
}
static_assert(completeAndUnique(kWidthPairs, [](WidthPair p) { return p.half; }));
static_assert(completeAndUnique(kWidthPairs, [](WidthPair p) { return p.full; }));
static_assert(completeAndUnique(kVoicedRows, [](VoicedRow v) { return v.full; }));
static_assert(completeAndUnique(kVoicedRows,
                                [](VoicedRow v) { return (v.letter << 16) | v.mark; }));
static_assert(completeAndUnique(kHalfWidthOnlyRows, [](HalfWidthOnlyRow r) { return r.from; }));

// ---- Lookups derived from the tables ----

// A mapped character becomes up to two UTF-16 units, kept in one word: the
// first in the low half, the second (or 0) in the high half. 0 means
// "unchanged".
using Replacement = std::uint32_t;

constexpr Replacement one(char16_t unit) { return unit; }
constexpr Replacement two(char16_t first, char16_t second) {
    return static_cast<Replacement>(first) | (static_cast<Replacement>(second) << 16);
}

// Code point -> replacement, over the BMP, in 256-entry pages. Pages with
// nothing to map share block 0, so the whole table stays a few kilobytes
// and kanji-heavy text reads one block.
constexpr std::size_t kMaxBlocks = 8;

struct Lookup {
    std::array<std::uint8_t, 256> blockOfPage{};
    std::array<std::array<Replacement, 256>, kMaxBlocks> blocks{};
    std::size_t usedBlocks = 1;

    constexpr void set(char16_t from, Replacement to) {
        std::uint8_t& block = blockOfPage[from >> 8];
        if (block == 0) block = static_cast<std::uint8_t>(usedBlocks++);
        blocks[block][from & 0xFF] = to;
    }
    constexpr Replacement at(char32_t cp) const {
        if (cp > 0xFFFF) return 0;
        return blocks[blockOfPage[cp >> 8]][cp & 0xFF];
    }
};

constexpr Lookup makeFullWidthLookup() {
    Lookup lookup;
    for (const WidthPair& p : kWidthPairs) lookup.set(p.half, one(p.full));
    return lookup;
}

constexpr Lookup makeHalfWidthLookup() {
    Lookup lookup;
    for (const WidthPair& p : kWidthPairs) lookup.set(p.full, one(p.half));
    for (const VoicedRow& v : kVoicedRows) lookup.set(v.full, two(v.letter, v.mark));
    for (const HalfWidthOnlyRow& r : kHalfWidthOnlyRows) lookup.set(r.from, one(r.half));
    return lookup;
}

constexpr Lookup kFullWidth = makeFullWidthLookup();
constexpr Lookup kHalfWidth = makeHalfWidthLookup();
static_assert(kFullWidth.usedBlocks <= kMaxBlocks && kHalfWidth.usedBlocks <= kMaxBlocks);

// Half-width letter and mark -> the voiced katakana, indexed from ｡.
constexpr char16_t kFirstHalfKana = u'｡';
constexpr char16_t kLastHalfKana = u'ﾟ';
constexpr char16_t kVoicedMark = u'ﾞ';
constexpr char16_t kSemiVoicedMark = u'ﾟ';
constexpr std::size_t kHalfKanaCount = kLastHalfKana - kFirstHalfKana + 1;

constexpr std::size_t combinedIndex(char16_t letter, char16_t mark) {
    return (letter - kFirstHalfKana) * 2 + (mark == kSemiVoicedMark ? 1 : 0);
}

constexpr std::array<char16_t, kHalfKanaCount * 2> makeCombined() {
    std::array<char16_t, kHalfKanaCount * 2> combined{};
    for (const VoicedRow& v : kVoicedRows) combined[combinedIndex(v.letter, v.mark)] = v.full;
    return combined;
}

constexpr auto kCombined = makeCombined();

constexpr bool isHalfKana(char32_t cp) { return cp >= kFirstHalfKana && cp <= kLastHalfKana; }
constexpr bool isMark(char32_t cp) { return cp == kVoicedMark || cp == kSemiVoicedMark; }

// The voiced katakana a letter and the character after it make, or 0.
constexpr char16_t combined(char32_t letter, char32_t next) {
    if (!isHalfKana(letter) || !isMark(next)) return 0;
    return kCombined[combinedIndex(static_cast<char16_t>(letter), static_cast<char16_t>(next))];
}

// ---- Reading and writing code units ----

// Something the mapping does not know; its units are copied as they stand.
constexpr char32_t kOpaque = 0xFFFFFFFF;

struct Decoded {
    char32_t cp;
    std::size_t length;
};

// Every mapped character is in the BMP, so a UTF-16 unit is its own code
// point; surrogates match no row and are copied.
Decoded decode(std::u16string_view text, std::size_t i) { return {text[i], 1}; }

constexpr bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Only ASCII and the three-byte forms led by E3 (U+3000-U+3FFF) and EF
// (U+F000-U+FFFF) can be mapped; any other byte is copied on its own, which
// also keeps invalid UTF-8 exactly as it came.
Decoded decode(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) return {b, 1};
    if ((b != 0xE3 && b != 0xEF) || i + 2 >= text.size()) return {kOpaque, 1};
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    const auto b2 = static_cast<unsigned char>(text[i + 2]);
    if (!isContinuation(b1) || !isContinuation(b2)) return {kOpaque, 1};
    return {((b & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu), 3};
}

// Collects the output in a fixed buffer and hands it to the string in
// blocks, so the loop writes through a pointer and nothing allocates per
// character.
template <class Char>
class Output {
public:
    explicit Output(std::size_t expected) { text_.reserve(expected); }

    void copy(const Char* units, std::size_t count) {
        makeRoom();
        for (std::size_t k = 0; k < count; ++k) *end_++ = units[k];
    }
    void put(char16_t unit) {
        makeRoom();
        putUnit(unit);
    }
    void put(Replacement r) {
        makeRoom();
        putUnit(static_cast<char16_t>(r & 0xFFFF));
        if (r >> 16) putUnit(static_cast<char16_t>(r >> 16));
    }
    std::basic_string<Char> take() {
        flush();
        return std::move(text_);
    }

private:
    // Room for the largest write: two BMP characters, or a copied unit.
    static constexpr std::size_t kLargestWrite = 6;

    void makeRoom() {
        if (static_cast<std::size_t>(buffer_.end() - end_) < kLargestWrite) flush();
    }
    void flush() {
        text_.append(buffer_.data(), static_cast<std::size_t>(end_ - buffer_.data()));
        end_ = buffer_.data();
    }
    void putUnit(char16_t cp) {
        if constexpr (sizeof(Char) == 2) {
            *end_++ = cp;
        } else if (cp < 0x80) {
            *end_++ = static_cast<Char>(cp);
        } else if (cp < 0x800) {
            *end_++ = static_cast<Char>(0xC0 | (cp >> 6));
            *end_++ = static_cast<Char>(0x80 | (cp & 0x3F));
        } else {
            *end_++ = static_cast<Char>(0xE0 | (cp >> 12));
            *end_++ = static_cast<Char>(0x80 | ((cp >> 6) & 0x3F));
            *end_++ = static_cast<Char>(0x80 | (cp & 0x3F));
        }
    }

    std::array<Char, 4096> buffer_;
    Char* end_ = buffer_.data();
    std::basic_string<Char> text_;
};

// ---- The two conversions ----

template <class Char>
std::basic_string<Char> fullWidth(std::basic_string_view<Char> text) {
    Output<Char> out(text.size() + text.size() / 2);
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decode(text, i);
        if (isHalfKana(d.cp) && i + d.length < text.size()) {
            const Decoded next = decode(text, i + d.length);
            if (const char16_t voiced = combined(d.cp, next.cp)) {
                out.put(voiced);
                i += d.length + next.length;
                continue;
            }
        }
        if (const Replacement r = kFullWidth.at(d.cp)) {
            out.put(r);
        } else {
            out.copy(text.data() + i, d.length);
        }
        i += d.length;
    }
    return out.take();
}

template <class Char>
std::basic_string<Char> halfWidth(std::basic_string_view<Char> text) {
    Output<Char> out(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decode(text, i);
        if (const Replacement r = kHalfWidth.at(d.cp)) {
            out.put(r);
        } else {
            out.copy(text.data() + i, d.length);
        }
        i += d.length;
    }
    return out.take();
}

}  // namespace

std::span<const WidthPair> widthPairs() { return kWidthPairs; }
std::span<const VoicedRow> voicedRows() { return kVoicedRows; }
std::span<const HalfWidthOnlyRow> halfWidthOnlyRows() { return kHalfWidthOnlyRows; }

std::string toFullWidth(std::string_view utf8) { return fullWidth(utf8); }
std::string toHalfWidth(std::string_view utf8) { return halfWidth(utf8); }
std::u16string toFullWidth(std::u16string_view utf16) { return fullWidth(utf16); }
std::u16string toHalfWidth(std::u16string_view utf16) { return halfWidth(utf16); }

}  // namespace kivo
