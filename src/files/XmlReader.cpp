#include "files/XmlReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KIVO_XML_SSE2 1
#endif

#include "core/Utf8.h"

namespace kivo::xml {
namespace {

// Mostly a byte above the space: one comparison tells.
bool isSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ' &&
           (c == ' ' || c == '\t' || c == '\r' || c == '\n');
}

// The end of the markup that begins at text[0] ('<'): the index behind its
// closing '>', 0 when the text holds no end yet, npos when it is malformed.
// kind tells comment, CDATA, processing instruction, declaration or tag.
enum class Markup { Comment, CData, Instruction, Declaration, EndTag, StartTag };

constexpr std::size_t kNotYet = 0;

std::size_t findAfter(std::string_view text, std::size_t from, std::string_view terminator) {
    const std::size_t at = text.find(terminator, from);
    return at == std::string_view::npos ? kNotYet : at + terminator.size();
}

// A tag ends at the first '>' outside a quoted attribute value. The scan
// starts at from with the quote open there, and leaves both where it stopped
// for the next chunk.
std::size_t tagEnd(std::string_view text, std::size_t& from, char& quote) {
    // From quote to quote and on to the '>', with memchr's speed.
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin + std::max<std::size_t>(from, 1);
    while (p < end) {
        if (quote) {
            const auto* close =
                static_cast<const char*>(std::memchr(p, quote, static_cast<std::size_t>(end - p)));
            if (!close) break;
            quote = 0;
            p = close + 1;
            continue;
        }
        const auto* gt =
            static_cast<const char*>(std::memchr(p, '>', static_cast<std::size_t>(end - p)));
        const char* stop = gt ? gt : end;
        const auto* dq =
            static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(stop - p)));
        const auto* sq = static_cast<const char*>(
            std::memchr(p, '\'', static_cast<std::size_t>((dq ? dq : stop) - p)));
        const char* open = sq ? sq : dq;
        if (!open) {
            if (gt) return static_cast<std::size_t>(gt - begin) + 1;
            break;
        }
        quote = *open;
        p = open + 1;
    }
    from = text.size();
    return kNotYet;
}

// A declaration (<!DOCTYPE ...>) may hold an internal subset in brackets,
// with quoted literals and comments inside. Resumable like tagEnd.
std::size_t declarationEnd(std::string_view text, std::size_t& from, char& quote, int& brackets,
                           bool last) {
    for (std::size_t i = std::max<std::size_t>(from, 2); i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '<' && text.substr(i, 4) == "<!--") {
            const std::size_t end = text.find("-->", i + 4);
            if (end == std::string_view::npos) {
                from = i;  // the comment again, once more has come
                return kNotYet;
            }
            i = end + 2;
        } else if (c == '<' && text.size() - i < 4 && !last) {
            from = i;  // perhaps a comment: decide when it is whole
            return kNotYet;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']') {
            if (brackets > 0) --brackets;
        } else if (c == '>' && brackets == 0) {
            return i + 1;
        }
    }
    from = text.size();
    return kNotYet;
}

}  // namespace

void appendResolved(std::string& out, std::string_view raw) {
    std::size_t i = 0;
    while (i < raw.size()) {
        const std::size_t amp = raw.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(i));
            return;
        }
        out.append(raw.substr(i, amp - i));
        // A reference is short and ends at the first ';', before any other
        // '&'; a lone '&' stays as it is.
        const std::size_t semi = raw.find_first_of("&;", amp + 1);
        if (semi == std::string_view::npos || raw[semi] != ';' || semi - amp > 12) {
            out.push_back('&');
            i = amp + 1;
            continue;
        }
        const std::string_view name = raw.substr(amp + 1, semi - amp - 1);
        i = semi + 1;
        if (name == "lt") {
            out.push_back('<');
        } else if (name == "gt") {
            out.push_back('>');
        } else if (name == "amp") {
            out.push_back('&');
        } else if (name == "quot") {
            out.push_back('"');
        } else if (name == "apos") {
            out.push_back('\'');
        } else if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            char32_t cp = 0;
            bool valid = !digits.empty();
            for (const char c : digits) {
                int d = -1;
                if (c >= '0' && c <= '9')
                    d = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    d = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    d = c - 'A' + 10;
                if (d < 0 || cp > 0x10FFFF) {
                    valid = false;
                    break;
                }
                cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(d);
            }
            if (!valid || cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
            appendUtf8(out, cp);
        } else {
            out.append(raw.substr(amp, semi + 1 - amp));
        }
    }
}

void Reader::growNames(std::size_t n) {
    openNames_.resize(std::max(2 * openNames_.size(), openUsed_ + n + 1024));
}

// What parse returns for a broken document.
constexpr std::size_t kBroken = std::string_view::npos;

bool Reader::feed(std::string_view chunk) {
    if (broken_) return false;
    // A token cut by the last chunk's end is completed from this one's head,
    // one '>' at a time, so that only the token is copied; the rest of the
    // chunk is read where it lies.
    while (!pending_.empty() || !started_) {
        if (chunk.empty()) return true;
        std::size_t take = chunk.size();
        if (started_) {
            const auto* gt = static_cast<const char*>(std::memchr(chunk.data(), '>', chunk.size()));
            if (gt) take = static_cast<std::size_t>(gt - chunk.data()) + 1;
        }
        pending_.append(chunk.substr(0, take));
        chunk.remove_prefix(take);
        const std::size_t used = parse(pending_, false);
        if (used == kBroken) return false;
        pending_.erase(0, used);
    }
    const std::size_t used = parse(chunk, false);
    if (used == kBroken) return false;
    pending_.assign(chunk.substr(used));
    return true;
}

bool Reader::finish() {
    if (broken_) return false;
    const std::size_t used = parse(pending_, true);
    if (used == kBroken) return false;
    broken_ = used != pending_.size() || !openStarts_.empty();
    return !broken_;
}

void Reader::textRun(std::string_view raw) {
    if (raw.empty()) return;
    if (std::memchr(raw.data(), '&', raw.size()) == nullptr) {
        handler_.text(raw);
        return;
    }
    decoded_.clear();
    appendResolved(decoded_, raw);
    if (!decoded_.empty()) handler_.text(decoded_);
}

namespace {

// The bytes of a name as the quick road reads it: not a space, nor what
// ends a name or tag, nor a quote.
struct NameBytes {
    bool in[256] = {};
    constexpr NameBytes(bool attribute) {
        for (int c = 0; c < 256; ++c) in[c] = true;
        for (const unsigned char c : {' ', '\t', '\r', '\n', '>', '/', '"', '\''}) in[c] = false;
        if (attribute) in[static_cast<unsigned char>('=')] = false;
    }
    bool operator()(char c) const { return in[static_cast<unsigned char>(c)]; }
};
constexpr NameBytes kElementName(false);
constexpr NameBytes kAttributeName(true);

#ifdef KIVO_XML_SSE2
inline __m128i load16(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline unsigned maskOf(__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); }
#endif

// The end of the name that begins at p, sixteen bytes at a time: the
// bytes that end it are told all at once, without a branch for each. Every
// one of them but '=', '>' and '/' lies below 0x28, so one comparison
// finds those with a few others (control bytes, '!' to '&'), which the
// byte by byte road then judges.
template <bool attribute>
const char* nameEnd(const char* p, const char* end) {
    const NameBytes& in = attribute ? kAttributeName : kElementName;
#ifdef KIVO_XML_SSE2
    const __m128i low = _mm_set1_epi8(0x27);
    while (end - p >= 16) {
        const __m128i v = load16(p);
        const auto is = [&](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
        __m128i stop = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(v, low), v),
                                    _mm_or_si128(is('>'), is('/')));
        if constexpr (attribute) stop = _mm_or_si128(stop, is('='));
        if (const unsigned m = maskOf(stop); m != 0) {
            p += std::countr_zero(m);
            break;
        }
        p += 16;
    }
#endif
    while (p < end && in(*p)) ++p;
    return p;
}

// The closing quote of a value from p on (end when it has none), telling
// whether a '&' comes before it.
const char* valueEnd(const char* p, const char* end, char quote, bool& references) {
#ifdef KIVO_XML_SSE2
    const __m128i quotes = _mm_set1_epi8(quote);
    const __m128i amps = _mm_set1_epi8('&');
    while (end - p >= 16) {
        const __m128i v = load16(p);
        const unsigned q = maskOf(_mm_cmpeq_epi8(v, quotes));
        const unsigned a = maskOf(_mm_cmpeq_epi8(v, amps));
        if (q != 0) {
            if ((a & ((q & (0u - q)) - 1)) != 0) references = true;
            return p + std::countr_zero(q);
        }
        if (a != 0) references = true;
        p += 16;
    }
#endif
    while (p < end && *p != quote) references |= *p++ == '&';
    return p;
}

}  // namespace

// The quick road for a whole start tag of the usual form (name, attributes
// with quoted values, optional "/"): its end, once it is reported, or
// nullptr, having reported nothing, for anything else (a tag cut by the end
// of the text, a malformed or unusual one), which the general road then
// reads and judges. What the quick road takes it takes as the general road
// would.
const char* Reader::startTag(const char* at, const char* end) {
    const char* p = at + 1;
    const char* const nameStart = p;
    p = nameEnd<false>(p, end);
    if (p == nameStart || p == end) return nullptr;
    const std::string_view name(nameStart, static_cast<std::size_t>(p - nameStart));
    // Values are views into the text; those with references are resolved
    // into values_ and their views made once it is whole.
    attributes_.clear();
    if (!resolved_.empty()) {
        resolved_.clear();
        values_.clear();
    }
    bool empty = false;
    while (true) {
        while (p < end && isSpace(*p)) ++p;
        if (p == end) return nullptr;
        if (*p == '>') {
            ++p;
            break;
        }
        if (*p == '/') {
            if (end - p < 2 || p[1] != '>') return nullptr;
            empty = true;
            p += 2;
            break;
        }
        const char* const attrStart = p;
        p = nameEnd<true>(p, end);
        const std::string_view attrName(attrStart, static_cast<std::size_t>(p - attrStart));
        if (attrName.empty()) return nullptr;
        // Mostly written name="value", without spaces around the '='.
        if (end - p < 2 || p[0] != '=' || (p[1] != '"' && p[1] != '\'')) {
            while (p < end && isSpace(*p)) ++p;
            if (p == end || *p != '=') return nullptr;
            ++p;
            while (p < end && isSpace(*p)) ++p;
            if (p == end || (*p != '"' && *p != '\'')) return nullptr;
        } else {
            ++p;
        }
        const char quote = *p++;
        bool references = false;
        const char* const close = valueEnd(p, end, quote, references);
        if (close == end) return nullptr;
        const std::string_view raw(p, static_cast<std::size_t>(close - p));
        if (references) {
            const std::size_t start = values_.size();
            appendResolved(values_, raw);
            resolved_.push_back({attributes_.size(), start, values_.size() - start});
        }
        // Made in place: a temporary copied in would be read back at once
        // from where it was just written, which stalls.
        Attribute& attribute = attributes_.emplace_back();
        attribute.name = attrName;
        attribute.value = raw;
        p = close + 1;
    }
    if (static_cast<std::size_t>(p - at) > kMaxXmlTokenBytes ||
        openStarts_.size() >= kMaxXmlDepth) {
        return nullptr;
    }
    for (const Resolved& r : resolved_) {
        attributes_[r.attribute].value = std::string_view(values_).substr(r.start, r.length);
    }
    if (empty) {
        handler_.startElement(name, attributes_);
        handler_.endElement(name);
        return p;
    }
    open(name, static_cast<std::size_t>(end - nameStart));
    handler_.startElement(name, attributes_);
    return p;
}

// The quick road for the end tag of the open element, as startTag's.
const char* Reader::endTag(const char* at, const char* end) {
    // A quote in the name would open a quoted stretch to the general road.
    if (openStarts_.empty() || quotedNames_ != 0) return nullptr;
    const std::string_view name = openName();
    if (static_cast<std::size_t>(end - at) < name.size() + 3) return nullptr;
    const char* p = at + 2;
#ifdef KIVO_XML_SSE2
    // A short name at one compare: sixteen bytes may be read on both sides
    // (room is kept behind the open names).
    if (name.size() <= 16 && end - p >= 16) {
        const unsigned differ = maskOf(_mm_cmpeq_epi8(load16(p), load16(name.data()))) ^ 0xFFFFu;
        if ((differ & ((1u << name.size()) - 1)) != 0) return nullptr;
        p += name.size();
    } else
#endif
    {
        for (const char c : name) {
            if (*p++ != c) return nullptr;
        }
    }
    while (p < end && isSpace(*p)) ++p;
    if (p == end || *p != '>' || static_cast<std::size_t>(p + 1 - at) > kMaxXmlTokenBytes) {
        return nullptr;
    }
    handler_.endElement(std::string_view(at + 2, name.size()));
    close();
    return p + 1;
}

std::size_t Reader::parse(std::string_view text, bool last) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    if (!started_) {
        if (text.size() < 3 && !last) return 0;
        if (text.starts_with("\xEF\xBB\xBF")) p += 3;
        started_ = true;
    }
    while (p < end) {
        if (*p != '<') {
            const std::size_t left = static_cast<std::size_t>(end - p);
            const auto* lt = static_cast<const char*>(std::memchr(p, '<', left));
            std::size_t take = lt ? static_cast<std::size_t>(lt - p) : left;
            if (!lt && !last) {
                // Keep a reference that the chunk may have cut.
                const std::string_view rest(p, left);
                const std::size_t amp = rest.rfind('&');
                if (amp != std::string_view::npos &&
                    rest.find(';', amp) == std::string_view::npos && rest.size() - amp <= 12) {
                    take = amp;
                }
            }
            // Text outside the root element is no character data.
            if (!openStarts_.empty()) textRun(std::string_view(p, take));
            p += take;
            if (take == 0) break;
            continue;
        }
        // Most markup is a whole tag: read it at once.
        if (scanned_ == 0 && end - p >= 2 && p[1] != '?' && p[1] != '!') {
            if (const char* after = p[1] == '/' ? endTag(p, end) : startTag(p, end)) {
                p = after;
                continue;
            }
        }
        const std::string_view rest(p, static_cast<std::size_t>(end - p));
        // Markup cut by the chunk's end is scanned on from where the last
        // scan stopped, not from its start again.
        std::size_t tokenEnd = kNotYet;
        bool known = true;
        const auto resume = [&](std::size_t from, std::size_t terminator) {
            return std::max(from, scanned_ >= terminator ? scanned_ - terminator + 1 : 0);
        };
        if (rest.size() < 2) {
            known = false;
        } else if (rest[1] == '?') {
            tokenEnd = findAfter(rest, resume(2, 2), "?>");
            if (tokenEnd == kNotYet) scanned_ = rest.size();
        } else if (rest[1] == '!') {
            if (rest.size() < 9 && (std::string_view("<![CDATA[").starts_with(rest) ||
                                    std::string_view("<!--").starts_with(rest))) {
                known = false;
            } else if (rest.starts_with("<!--")) {
                tokenEnd = findAfter(rest, resume(4, 3), "-->");
                if (tokenEnd == kNotYet) scanned_ = rest.size();
            } else if (rest.starts_with("<![CDATA[")) {
                tokenEnd = findAfter(rest, resume(9, 3), "]]>");
                if (tokenEnd == kNotYet) scanned_ = rest.size();
            } else {
                tokenEnd = declarationEnd(rest, scanned_, quote_, brackets_, last);
            }
        } else {
            tokenEnd = tagEnd(rest, scanned_, quote_);
        }
        if (!known || tokenEnd == kNotYet) {
            if (last || rest.size() > kMaxXmlTokenBytes) {
                broken_ = true;
                return kBroken;
            }
            break;
        }
        scanned_ = 0;
        quote_ = 0;
        brackets_ = 0;
        if (tokenEnd > kMaxXmlTokenBytes || !markup(rest.substr(0, tokenEnd))) {
            broken_ = true;
            return kBroken;
        }
        p += tokenEnd;
    }
    return static_cast<std::size_t>(p - begin);
}

bool Reader::markup(std::string_view token) {
    if (token.starts_with("<![CDATA[")) {
        if (openStarts_.empty()) return false;
        const std::string_view data = token.substr(9, token.size() - 12);
        if (!data.empty()) handler_.text(data);
        return true;
    }
    if (token[1] == '?' || token[1] == '!') return true;  // read past
    return tag(token);
}

bool Reader::tag(std::string_view token) {
    if (token[1] == '/') {
        std::string_view name = token.substr(2, token.size() - 3);
        while (!name.empty() && isSpace(name.back())) name.remove_suffix(1);
        if (openStarts_.empty() || openName() != name) return false;
        handler_.endElement(name);
        close();
        return true;
    }
    std::string_view body = token.substr(1, token.size() - 2);
    const bool empty = !body.empty() && body.back() == '/';
    if (empty) body.remove_suffix(1);
    std::size_t i = 0;
    while (i < body.size() && !isSpace(body[i])) ++i;
    const std::string_view name = body.substr(0, i);
    if (name.empty()) return false;

    // Values without references are views into the token; the others are
    // resolved into one buffer first, and their views made once it is full.
    spans_.clear();
    values_.clear();
    while (true) {
        while (i < body.size() && isSpace(body[i])) ++i;
        if (i == body.size()) break;
        const std::size_t nameStart = i;
        while (i < body.size() && body[i] != '=' && !isSpace(body[i])) ++i;
        const std::string_view attrName = body.substr(nameStart, i - nameStart);
        while (i < body.size() && isSpace(body[i])) ++i;
        if (attrName.empty() || i == body.size() || body[i] != '=') return false;
        ++i;
        while (i < body.size() && isSpace(body[i])) ++i;
        if (i == body.size() || (body[i] != '"' && body[i] != '\'')) return false;
        const char quote = body[i++];
        const std::size_t close = body.find(quote, i);
        if (close == std::string_view::npos) return false;
        const std::string_view raw = body.substr(i, close - i);
        const bool references = raw.find('&') != std::string_view::npos;
        const std::size_t start = values_.size();
        if (references) appendResolved(values_, raw);
        spans_.push_back({attrName, raw, start, references, values_.size() - start});
        i = close + 1;
    }
    attributes_.clear();
    for (const SpanOf& s : spans_) {
        attributes_.push_back(
            {s.name, s.resolved ? std::string_view(values_).substr(s.start, s.length) : s.raw});
    }
    if (openStarts_.size() >= kMaxXmlDepth) return false;
    if (empty) {
        handler_.startElement(name, attributes_);
        handler_.endElement(name);
        return true;
    }
    if (name.find_first_of("\"'") != std::string_view::npos) ++quotedNames_;
    open(name, static_cast<std::size_t>(token.data() + token.size() - name.data()));
    handler_.startElement(name, attributes_);
    return true;
}

}  // namespace kivo::xml
