// The RTF reader: one pass over the bytes with an explicit stack of group
// states, so neither deep nesting nor a long document costs more than the
// bytes themselves.
#include "files/RtfReader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/CodePages.h"
#include "core/Utf8.h"
#include "files/RtfDocumentTables.h"
#include "files/RtfKeywords.h"

namespace kivo::rtf {
namespace {

constexpr int kMaxUnicodeSkip = 255;  // \ucN beyond this only swallows text
constexpr int kMaxHalfPoints = 3276;  // 1638 points, the largest size Word offers
constexpr int kMaxParameter = std::numeric_limits<std::int32_t>::max();

// What a group's text is for.
enum class Destination : std::uint8_t {
    Text,        // the document's visible text
    Skip,        // read past: pictures, headers, field codes, unknown \* groups ...
    FontTable,   // names and code pages of the fonts
    ColorTable,  // \cfN's colours
    Object,      // an embedded object: only its \result group is text
};

// Character properties as the document states them; the font and colour
// tables are applied only when a run goes out.
struct Format {
    bool bold = false, italic = false, underline = false;
    int color = -1;  // \cf index; -1 = automatic
    int halfPoints = 0;
    int font = -1;  // \f number; -1 = the default font (\deff)
    // Double-byte text can carry properties of its own: LibreOffice writes
    // "\dbch\ab" for a bold Japanese word. -1 = as the plain property.
    int dbBold = -1, dbItalic = -1, dbHalfPoints = -1, dbFont = -1;
    bool doubleByte = false;   // \dbch named last of \loch, \hich, \dbch
    bool assocDouble = false;  // \ab, \af ... describe double-byte text
};

// The properties of one run: what decides where a run ends.
struct RunKey {
    bool bold = false, italic = false, underline = false;
    int color = -1, halfPoints = 0, font = -1;
    bool operator==(const RunKey&) const = default;
};

RunKey runKeyOf(const Format& f) {
    RunKey key{f.bold, f.italic, f.underline, f.color, f.halfPoints, f.font};
    if (!f.doubleByte) return key;
    if (f.dbBold >= 0) key.bold = f.dbBold != 0;
    if (f.dbItalic >= 0) key.italic = f.dbItalic != 0;
    if (f.dbHalfPoints >= 0) key.halfPoints = f.dbHalfPoints;
    if (f.dbFont >= 0) key.font = f.dbFont;
    return key;
}

struct GroupState {
    Format format;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;  // \ucN: bytes of fallback text after each \uN
};

bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes that are text as they stand. CR and LF are line wrapping of the RTF
// source, the other control bytes (NUL included) are nobody's text; a tab
// byte is a tab.
bool isPlainByte(unsigned char c) {
    return c != '\\' && c != '{' && c != '}' && (c >= 0x20 || c == '\t');
}

int clampInt(int value, int low, int high) { return std::min(std::max(value, low), high); }

class Reader {
public:
    Reader(std::string_view input, Handler& handler) : in_(input), handler_(handler) {}

    void run() {
        stack_.push_back(GroupState{});  // the level around the document group
        while (pos_ < in_.size()) {
            const unsigned char c = at(pos_);
            if (c == '{') {
                ++pos_;
                openGroup();
            } else if (c == '}') {
                ++pos_;
                closeGroup();
            } else if (c == '\\') {
                ++pos_;
                control();
            } else if (isPlainByte(c)) {
                plainSpan();
            } else {
                ++pos_;
            }
        }
        finish();
    }

private:
    unsigned char at(std::size_t i) const { return static_cast<unsigned char>(in_[i]); }
    GroupState& top() { return stack_.back(); }
    Format& format() { return stack_.back().format; }

    Destination destination() const {
        return excessSkipLevel_ > 0 ? Destination::Skip : stack_.back().destination;
    }

    // --- groups -----------------------------------------------------------

    void openGroup() {
        skipBytes_ = 0;  // fallback text never spans a group boundary
        if (excessDepth_ > 0 || stack_.size() > static_cast<std::size_t>(kMaxGroupDepth)) {
            // Past the limit a group shares its parent's state: no stack
            // growth however many braces a file holds.
            ++excessDepth_;
            return;
        }
        stack_.push_back(stack_.back());
    }

    void closeGroup() {
        skipBytes_ = 0;
        if (excessDepth_ > 0) {
            if (excessSkipLevel_ == excessDepth_) excessSkipLevel_ = 0;
            --excessDepth_;
            return;
        }
        if (stack_.size() <= 1) return;  // a surplus closing brace
        if (top().destination == Destination::FontTable) commitFontName();
        stack_.pop_back();
    }

    void enterDestination(Kw kind) {
        if (excessDepth_ > 0) {
            // No state to give this group, but its content must still stay
            // out of the text.
            if (kind != Kw::Result) excessSkipLevel_ = excessDepth_;
            return;
        }
        Destination& dest = top().destination;
        switch (kind) {
            case Kw::FontTable:
                dest = Destination::FontTable;
                tables_.startFontTable();
                break;
            case Kw::ColorTable:
                dest = Destination::ColorTable;
                tables_.startColorTable();
                tablesChanged();
                break;
            case Kw::Object:
                dest = Destination::Object;
                break;
            case Kw::Result:
                if (dest == Destination::Object) dest = Destination::Text;
                break;
            default:
                dest = Destination::Skip;
                break;
        }
    }

    // --- control words and symbols ----------------------------------------

    void control() {
        if (pos_ >= in_.size()) return;
        const unsigned char c = at(pos_);
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        if (c == '\'') {
            hexEscape();
            return;
        }
        if (consumeSkipped()) return;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                text(in_.substr(pos_ - 1, 1));
                break;
            case '~':
                symbol(0x00A0);
                break;
            // A hyphen that must not break: the list never wraps, and a plain
            // "-" keeps the entry in code page 932 for a text export.
            case '_':
                symbol('-');
                break;
            case '*':
                if (destination() != Destination::Skip) enterDestination(Kw::Skip);
                break;
            case '\r':  // RTF reads "\<newline>" as \par
            case '\n':
                paragraphEnd();
                break;
            default:
                break;  // \- (optional hyphen), \: \| and unknown symbols
        }
    }

    void controlWord() {
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(at(pos_))) ++pos_;
        const std::string_view name = in_.substr(start, pos_ - start);
        bool hasParam = false;
        int param = 0;
        const bool negative = pos_ + 1 < in_.size() && at(pos_) == '-' && isDigit(at(pos_ + 1));
        if (negative) ++pos_;
        if (pos_ < in_.size() && isDigit(at(pos_))) {
            hasParam = true;
            param = readNumber(negative);
        }
        if (pos_ < in_.size() && at(pos_) == ' ') ++pos_;

        const Keyword* keyword = findKeyword(name);
        // The data of \bin is never text, whatever else happens to the word.
        if (keyword && keyword->kind == Kw::Binary) skipBinary(hasParam ? param : 0);
        if (consumeSkipped() || !keyword) return;
        execute(*keyword, hasParam, param);
    }

    // Digits of a parameter, saturated at the int range: any number of
    // digits reads in one pass without overflow.
    int readNumber(bool negative) {
        std::int64_t value = 0;
        while (pos_ < in_.size() && isDigit(at(pos_))) {
            if (value < kMaxParameter) value = value * 10 + (at(pos_) - '0');
            ++pos_;
        }
        const int clamped = static_cast<int>(std::min<std::int64_t>(value, kMaxParameter));
        return negative ? -clamped : clamped;
    }

    void skipBinary(int length) {
        if (length <= 0) return;
        const std::size_t left = in_.size() - pos_;
        pos_ += std::min(static_cast<std::size_t>(length), left);
    }

    void hexEscape() {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < in_.size() && hexValue(at(pos_)) >= 0) {
            value = value * 16 + hexValue(at(pos_));
            ++pos_;
            ++digits;
        }
        if (consumeSkipped()) return;
        if (digits < 2) return;  // a cut escape stands for nothing
        // An escaped control character is text (our own export writes them
        // so), except a line end, which only \par makes.
        if (value == '\r' || value == '\n') return;
        const char byte = static_cast<char>(value);
        text(std::string_view(&byte, 1));
    }

    // One fallback byte or word of a \uN goes by. True when this one did.
    bool consumeSkipped() {
        if (skipBytes_ == 0) return false;
        --skipBytes_;
        return true;
    }

    void execute(const Keyword& keyword, bool hasParam, int param) {
        if (destination() == Destination::Skip) return;
        if (isDestination(keyword.kind)) {
            enterDestination(keyword.kind);
            return;
        }
        if (excessDepth_ > 0 && changesState(keyword.kind)) return;
        const bool on = !hasParam || param != 0;
        Format& f = format();
        switch (keyword.kind) {
            case Kw::Ansi:
                setDocumentCodePage(kDefaultCodePage);
                break;
            case Kw::Mac:
                setDocumentCodePage(10000);
                break;
            case Kw::Pc:
                setDocumentCodePage(437);
                break;
            case Kw::Pca:
                setDocumentCodePage(850);
                break;
            case Kw::AnsiCodePage:
                if (param > 0) setDocumentCodePage(param);
                break;
            case Kw::DefaultFont:
                tables_.setDefaultFont(std::max(param, 0));
                tablesChanged();
                break;
            case Kw::FontCharset:
                if (destination() == Destination::FontTable) tables_.setFontCharset(param);
                break;
            case Kw::FontCodePage:
                if (destination() == Destination::FontTable) {
                    tables_.setFontCodePage(std::max(param, 0));
                }
                break;
            case Kw::Red:
                colorPart(16, param);
                break;
            case Kw::Green:
                colorPart(8, param);
                break;
            case Kw::Blue:
                colorPart(0, param);
                break;
            case Kw::Bold:
                f.bold = on;
                if (f.doubleByte) f.dbBold = -1;
                break;
            case Kw::Italic:
                f.italic = on;
                if (f.doubleByte) f.dbItalic = -1;
                break;
            case Kw::Underline:
                f.underline = on;
                break;
            case Kw::UnderlineNone:
                f.underline = false;
                break;
            case Kw::Plain:
                f = Format{};
                break;
            case Kw::Color:
                f.color = param >= 0 ? param : -1;
                break;
            case Kw::FontSize:
                f.halfPoints = hasParam ? clampInt(param, 0, kMaxHalfPoints) : 24;
                if (f.doubleByte) f.dbHalfPoints = -1;
                break;
            case Kw::Font:
                fontWord(std::max(param, 0));
                break;
            case Kw::AssocBold:
                if (f.assocDouble) f.dbBold = on ? 1 : 0;
                break;
            case Kw::AssocItalic:
                if (f.assocDouble) f.dbItalic = on ? 1 : 0;
                break;
            case Kw::AssocFontSize:
                if (f.assocDouble)
                    f.dbHalfPoints = hasParam ? clampInt(param, 0, kMaxHalfPoints) : 24;
                break;
            case Kw::AssocFont:
                if (f.assocDouble) f.dbFont = std::max(param, 0);
                break;
            case Kw::LowAnsi:
            case Kw::HighAnsi:
                f.doubleByte = f.assocDouble = false;
                break;
            case Kw::DoubleByte:
                f.doubleByte = f.assocDouble = true;
                break;
            case Kw::RightToLeft:
            case Kw::LeftToRight:
                f.assocDouble = false;
                break;
            case Kw::UnicodeSkip:
                top().unicodeSkip = hasParam ? clampInt(param, 0, kMaxUnicodeSkip) : 1;
                break;
            case Kw::Unicode:
                if (hasParam) unicode(param);
                break;
            case Kw::Break:
                paragraphEnd();
                break;
            // LibreOffice writes "\par\sect", Word ends a section's last
            // paragraph with \sect alone; a page break in a paragraph moves
            // its rest to a line of its own, one after \par does not. So a
            // line ends here only if it is open.
            case Kw::BreakIfOpen:
                if (lineOpen_) paragraphEnd();
                break;
            case Kw::Symbol:
                symbol(keyword.symbol);
                break;
            default:
                break;
        }
    }

    void fontWord(int number) {
        if (destination() == Destination::FontTable) {
            commitFontName();
            tables_.startFont(number);
            return;
        }
        Format& f = format();
        f.font = number;
        if (f.doubleByte) f.dbFont = -1;
    }

    // --- text ------------------------------------------------------------

    // A stretch of plain bytes up to the next brace, backslash or control
    // byte.
    void plainSpan() {
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isPlainByte(at(pos_))) ++pos_;
        takeRawTrailByte(start);
        std::string_view bytes = in_.substr(start, pos_ - start);
        const std::size_t skipped = std::min<std::size_t>(skipBytes_, bytes.size());
        skipBytes_ -= static_cast<int>(skipped);
        bytes.remove_prefix(skipped);
        if (!bytes.empty()) text(bytes);
    }

    // Raw double-byte text (as some Japanese writers leave it) puts its
    // lead byte raw in front of a trail byte that may be '\\', '{' or '}';
    // such a trail byte is text, not syntax.
    void takeRawTrailByte(std::size_t start) {
        // Only a span that ends in a high byte, before '\\', '{' or '}', can hold one.
        if (pos_ == start || at(pos_ - 1) < 0x80 || pos_ >= in_.size() || at(pos_) < 0x40) return;
        const Destination dest = destination();
        if (dest != Destination::Text && dest != Destination::FontTable) return;
        const int codePage = dest == Destination::Text ? tables_.codePageOf(runKeyOf(format()).font)
                                                       : tables_.tableFontCodePage();
        loadLeadBytes(codePage);
        if (!anyLead_) return;
        bool needTrail = false;
        for (std::size_t i = start; i < pos_; ++i) {
            needTrail = !needTrail && lead_[at(i)];
        }
        if (needTrail) ++pos_;
    }

    void loadLeadBytes(int codePage) {
        if (codePage == leadCodePage_) return;
        leadCodePage_ = codePage;
        lead_ = leadBytes(codePage);
        anyLead_ = std::find(lead_.begin(), lead_.end(), true) != lead_.end();
    }

    // Text bytes in the current font's code page, raw or from \'hh.
    void text(std::string_view bytes) {
        switch (destination()) {
            case Destination::Text:
                bodyBytes(bytes);
                break;
            case Destination::FontTable:
                fontTableBytes(bytes);
                break;
            case Destination::ColorTable:
                colorTableBytes(bytes);
                break;
            default:
                break;
        }
    }

    void bodyBytes(std::string_view bytes) {
        dropLoneSurrogate();
        prepareRun();
        lineOpen_ = true;
        if (pending_.empty()) {
            // ASCII is itself in every code page RTF can use: no decoder.
            std::size_t ascii = 0;
            while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
            run_.append(bytes.substr(0, ascii));
            bytes.remove_prefix(ascii);
        }
        // Anything else waits until the run changes, so that the two bytes of
        // a character given as two \'hh decode together.
        pending_.append(bytes);
    }

    // A character from \uN or a control symbol.
    void codePoint(char32_t cp) {
        if (cp == '\r' || cp == '\n') return;
        switch (destination()) {
            case Destination::Text:
                prepareRun();
                flushPending();
                appendUtf8(run_, cp);
                lineOpen_ = true;
                break;
            case Destination::FontTable:
                tables_.appendFontNameCodePoint(cp);
                break;
            default:
                break;
        }
    }

    void symbol(char32_t cp) {
        if (destination() != Destination::Text) return;
        dropLoneSurrogate();
        codePoint(cp);
    }

    void unicode(int param) {
        // Signed 16-bit by the format; some writers give 32768-65535 as is.
        const int value = param < 0 ? param + 65536 : param;
        const int skip = top().unicodeSkip;
        if (value < 0 || value > 0xFFFF) {
            dropLoneSurrogate();
            codePoint(0xFFFD);
        } else if (value >= 0xD800 && value <= 0xDBFF) {
            dropLoneSurrogate();
            pendingHigh_ = static_cast<char16_t>(value);
        } else if (value >= 0xDC00 && value <= 0xDFFF) {
            if (pendingHigh_ != 0) {
                const char32_t cp = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (value - 0xDC00);
                pendingHigh_ = 0;
                codePoint(cp);
            } else {
                codePoint(0xFFFD);
            }
        } else {
            dropLoneSurrogate();
            codePoint(static_cast<char32_t>(value));
        }
        skipBytes_ = skip;
    }

    void dropLoneSurrogate() {
        if (pendingHigh_ == 0) return;
        pendingHigh_ = 0;
        codePoint(0xFFFD);
    }

    void paragraphEnd() {
        if (destination() != Destination::Text) return;
        dropLoneSurrogate();
        flushRun();
        handler_.paragraphEnd();
        lineOpen_ = false;
    }

    // --- runs -------------------------------------------------------------

    void prepareRun() {
        const RunKey key = runKeyOf(format());
        if (key == runKey_) return;
        flushRun();
        runKey_ = key;
        runCodePage_ = tables_.codePageOf(key.font);
    }

    void flushPending() {
        if (pending_.empty()) return;
        const std::size_t from = run_.size();
        appendDecodedCodePage(runCodePage_, pending_, run_);
        pending_.clear();
        // A code page such as EBCDIC can turn text bytes into CR or LF; a
        // run never ends a line behind the handler's back.
        const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
        run_.erase(
            std::remove_if(run_.begin() + static_cast<std::ptrdiff_t>(from), run_.end(), isLineEnd),
            run_.end());
    }

    void flushRun() {
        flushPending();
        if (run_.empty()) return;
        handler_.text(run_, resolved(runKey_));
        run_.clear();
    }

    const CharFormat& resolved(const RunKey& key) {
        if (resolvedValid_ && key == resolvedKey_ && resolvedVersion_ == tablesVersion_) {
            return resolved_;
        }
        resolved_.bold = key.bold;
        resolved_.italic = key.italic;
        resolved_.underline = key.underline;
        resolved_.halfPoints = key.halfPoints;
        resolved_.color = tables_.color(key.color);
        resolved_.fontFamily = tables_.fontName(key.font);
        resolvedKey_ = key;
        resolvedVersion_ = tablesVersion_;
        resolvedValid_ = true;
        return resolved_;
    }

    void finish() {
        if (pendingHigh_ != 0) {
            pendingHigh_ = 0;
            if (destination() == Destination::Text) codePoint(0xFFFD);
        }
        flushRun();
    }

    // --- document and tables ---------------------------------------------

    void setDocumentCodePage(int codePage) {
        flushPending();
        tables_.setDocumentCodePage(codePage);
        tablesChanged();
    }

    // Fonts, colours or the document code page changed: runs already begun
    // keep what they were decoded with, later ones see the change.
    void tablesChanged() {
        flushPending();
        ++tablesVersion_;
        runCodePage_ = tables_.codePageOf(runKey_.font);
    }

    void fontTableBytes(std::string_view bytes) {
        for (;;) {
            const std::size_t end = bytes.find(';');
            tables_.appendFontNameBytes(bytes.substr(0, end));
            if (end == std::string_view::npos) return;
            commitFontName();
            bytes.remove_prefix(end + 1);
        }
    }

    void commitFontName() {
        if (tables_.commitFontName()) tablesChanged();
    }

    void colorPart(int shift, int value) {
        if (destination() != Destination::ColorTable) return;
        tables_.setColorPart(shift, value);
    }

    void colorTableBytes(std::string_view bytes) {
        for (const char c : bytes) {
            if (c != ';') continue;
            tables_.addColor();
            tablesChanged();
        }
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    Handler& handler_;

    std::vector<GroupState> stack_;
    std::size_t excessDepth_ = 0;      // open groups past kMaxGroupDepth
    std::size_t excessSkipLevel_ = 0;  // the excess level whose content is skipped; 0 = none
    int skipBytes_ = 0;                // fallback of the last \uN still to drop
    char16_t pendingHigh_ = 0;         // a high surrogate waiting for its low half

    DocumentTables tables_;
    unsigned tablesVersion_ = 0;  // counts changes to tables_, for resolved()

    bool lineOpen_ = false;  // text has come since the last paragraph end
    RunKey runKey_;
    int runCodePage_ = kDefaultCodePage;
    std::string run_;      // UTF-8 of the current run
    std::string pending_;  // bytes of the current run not yet decoded
    CharFormat resolved_;
    RunKey resolvedKey_;
    unsigned resolvedVersion_ = 0;
    bool resolvedValid_ = false;

    int leadCodePage_ = -1;
    bool anyLead_ = false;
    std::array<bool, 256> lead_{};
};

}  // namespace

ReadResult read(std::string_view bytes, Handler& handler) {
    if (!bytes.starts_with("{\\rtf")) return {false, "not an RTF document"};
    Reader(bytes, handler).run();
    return {true, {}};
}

}  // namespace kivo::rtf
