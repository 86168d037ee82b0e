#pragma once
// The reader's body, for the files that instantiate it for a handler of
// their own (XmlReader.cpp does so for the Handler interface).
#include <algorithm>
#include <bit>
#include <cstring>

#include "core/Simd.h"
#include "files/XmlReader.h"

namespace kivo::xml {
namespace detail {

// Mostly a byte above the space: one comparison tells.
inline bool isSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ' &&
           (c == ' ' || c == '\t' || c == '\r' || c == '\n');
}

// What the scans below return when the text holds no end yet.
inline constexpr std::size_t kNotYet = 0;
// What parse returns for a broken document.
inline constexpr std::size_t kBroken = std::string_view::npos;

// Where the markup that begins at text[0] ('<') ends: the index behind its
// closing '>', or kNotYet. The scans resume where the last one stopped,
// with the quote (and brackets) open there.
std::size_t findAfter(std::string_view text, std::size_t from, std::string_view terminator);
std::size_t tagEnd(std::string_view text, std::size_t& from, char& quote);
std::size_t declarationEnd(std::string_view text, std::size_t& from, char& quote, int& brackets,
                           bool last);

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
inline constexpr NameBytes kElementName(false);
inline constexpr NameBytes kAttributeName(true);

#ifdef KIVO_SSE2
inline __m128i load16(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline unsigned maskOf(__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); }
#endif

// The end of the name that begins at p, sixteen bytes at a time: the
// bytes that end it are told all at once, without a branch for each. Every
// one of them but '=', '>' and '/' lies below 0x28, so one comparison
// finds those with a few others (control bytes, '!' to '&'), which the
// byte by byte road then judges.
template <bool attribute>
inline const char* nameEnd(const char* p, const char* end) {
    const NameBytes& in = attribute ? kAttributeName : kElementName;
#ifdef KIVO_SSE2
    const __m128i low = _mm_set1_epi8(0x27);
    while (end - p >= 16) {
        const __m128i v = load16(p);
        const auto is = [&](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
        __m128i stop =
            _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(v, low), v), _mm_or_si128(is('>'), is('/')));
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
inline const char* valueEnd(const char* p, const char* end, char quote, bool& references) {
#ifdef KIVO_SSE2
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

}  // namespace detail

template <class H>
void BasicReader<H>::keepOpenNames() {
    if (keptCount_ == open_.size()) return;
    const std::size_t used =
        keptCount_ == 0 ? 0
                        : static_cast<std::size_t>(open_[keptCount_ - 1].data() +
                                                   open_[keptCount_ - 1].size() - kept_.data());
    std::size_t more = 0;
    for (std::size_t i = keptCount_; i < open_.size(); ++i) more += open_[i].size();
    if (kept_.size() < used + more + 16) {
        const char* const was = kept_.data();
        kept_.resize(std::max(2 * kept_.size(), used + more + 1024));
        for (std::size_t i = 0; i < keptCount_; ++i) {
            open_[i] = std::string_view(kept_.data() + (open_[i].data() - was), open_[i].size());
        }
    }
    char* to = kept_.data() + used;
    for (std::size_t i = keptCount_; i < open_.size(); ++i) {
        std::memcpy(to, open_[i].data(), open_[i].size());
        open_[i] = std::string_view(to, open_[i].size());
        to += open_[i].size();
    }
    keptCount_ = open_.size();
}

template <class H>
bool BasicReader<H>::feed(std::string_view chunk) {
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
        if (used == detail::kBroken) return false;
        pending_.erase(0, used);
    }
    const std::size_t used = parse(chunk, false);
    if (used == detail::kBroken) return false;
    pending_.assign(chunk.substr(used));
    return true;
}

template <class H>
bool BasicReader<H>::finish() {
    if (broken_) return false;
    const std::size_t used = parse(pending_, true);
    if (used == detail::kBroken) return false;
    broken_ = used != pending_.size() || !open_.empty();
    return !broken_;
}

template <class H>
void BasicReader<H>::textRun(std::string_view raw) {
    if (raw.empty()) return;
    if (std::memchr(raw.data(), '&', raw.size()) == nullptr) {
        handler_.text(raw);
        return;
    }
    decoded_.clear();
    appendResolved(decoded_, raw);
    if (!decoded_.empty()) handler_.text(decoded_);
}

// The quick road for a whole start tag of the usual form (name, attributes
// with quoted values, optional "/"): its end, once it is reported, or
// nullptr, having reported nothing, for anything else (a tag cut by the end
// of the text, a malformed or unusual one), which the general road then
// reads and judges. What the quick road takes it takes as the general road
// would.
template <class H>
const char* BasicReader<H>::startTag(const char* at, const char* end) {
    const char* p = at + 1;
    const char* const nameStart = p;
    p = detail::nameEnd<false>(p, end);
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
        while (p < end && detail::isSpace(*p)) ++p;
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
        p = detail::nameEnd<true>(p, end);
        const std::string_view attrName(attrStart, static_cast<std::size_t>(p - attrStart));
        if (attrName.empty()) return nullptr;
        // Mostly written name="value", without spaces around the '='.
        if (end - p < 2 || p[0] != '=' || (p[1] != '"' && p[1] != '\'')) {
            while (p < end && detail::isSpace(*p)) ++p;
            if (p == end || *p != '=') return nullptr;
            ++p;
            while (p < end && detail::isSpace(*p)) ++p;
            if (p == end || (*p != '"' && *p != '\'')) return nullptr;
        } else {
            ++p;
        }
        const char quote = *p++;
        bool references = false;
        const char* const close = detail::valueEnd(p, end, quote, references);
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
    if (static_cast<std::size_t>(p - at) > kMaxXmlTokenBytes || open_.size() >= kMaxXmlDepth) {
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
    open(name);
    handler_.startElement(name, attributes_);
    return p;
}

// The quick road for the end tag of the open element, as startTag's.
template <class H>
const char* BasicReader<H>::endTag(const char* at, const char* end) {
    // A quote in the name would open a quoted stretch to the general road.
    if (open_.empty() || quotedNames_ != 0) return nullptr;
    const std::string_view name = openName();
    if (static_cast<std::size_t>(end - at) < name.size() + 3) return nullptr;
    const char* p = at + 2;
#ifdef KIVO_SSE2
    // A short name at one compare: sixteen bytes may be read on both sides
    // (a name still in this text lies before p; room is kept behind the
    // names kept).
    if (name.size() <= 16 && end - p >= 16) {
        const unsigned differ =
            detail::maskOf(_mm_cmpeq_epi8(detail::load16(p), detail::load16(name.data()))) ^
            0xFFFFu;
        if ((differ & ((1u << name.size()) - 1)) != 0) return nullptr;
        p += name.size();
    } else
#endif
    {
        for (const char c : name) {
            if (*p++ != c) return nullptr;
        }
    }
    while (p < end && detail::isSpace(*p)) ++p;
    if (p == end || *p != '>' || static_cast<std::size_t>(p + 1 - at) > kMaxXmlTokenBytes) {
        return nullptr;
    }
    handler_.endElement(std::string_view(at + 2, name.size()));
    close();
    return p + 1;
}

// The usual run of whole tags and the text between them, read as the
// general road reads them: up to anything else (markup other than a tag, a
// tag the quick road does not take, text that the end of the text cuts).
template <class H>
const char* BasicReader<H>::run(const char* p, const char* end) {
    while (end - p >= 2) {
        if (*p != '<') {
            const auto* lt =
                static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
            if (!lt) break;
            // Text outside the root element is no character data.
            if (!open_.empty()) textRun(std::string_view(p, static_cast<std::size_t>(lt - p)));
            p = lt;
            continue;
        }
        const char* after;
        if (p[1] == '/') {
            after = endTag(p, end);
        } else if (p[1] == '?' || p[1] == '!') {
            break;
        } else {
            after = startTag(p, end);
        }
        if (!after) break;
        p = after;
    }
    return p;
}

template <class H>
std::size_t BasicReader<H>::parse(std::string_view text, bool last) {
    const std::size_t used = parseText(text, last);
    if (used != detail::kBroken) keepOpenNames();
    return used;
}

template <class H>
std::size_t BasicReader<H>::parseText(std::string_view text, bool last) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    if (!started_) {
        if (text.size() < 3 && !last) return 0;
        if (text.starts_with("\xEF\xBB\xBF")) p += 3;
        started_ = true;
    }
    while (p < end) {
        if (scanned_ == 0) {
            p = run(p, end);
            if (p == end) break;
        }
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
            if (!open_.empty()) textRun(std::string_view(p, take));
            p += take;
            if (take == 0) break;
            continue;
        }
        const std::string_view rest(p, static_cast<std::size_t>(end - p));
        // Markup cut by the chunk's end is scanned on from where the last
        // scan stopped, not from its start again.
        std::size_t tokenEnd = detail::kNotYet;
        bool known = true;
        const auto resume = [&](std::size_t from, std::size_t terminator) {
            return std::max(from, scanned_ >= terminator ? scanned_ - terminator + 1 : 0);
        };
        if (rest.size() < 2) {
            known = false;
        } else if (rest[1] == '?') {
            tokenEnd = detail::findAfter(rest, resume(2, 2), "?>");
            if (tokenEnd == detail::kNotYet) scanned_ = rest.size();
        } else if (rest[1] == '!') {
            if (rest.size() < 9 && (std::string_view("<![CDATA[").starts_with(rest) ||
                                    std::string_view("<!--").starts_with(rest))) {
                known = false;
            } else if (rest.starts_with("<!--")) {
                tokenEnd = detail::findAfter(rest, resume(4, 3), "-->");
                if (tokenEnd == detail::kNotYet) scanned_ = rest.size();
            } else if (rest.starts_with("<![CDATA[")) {
                tokenEnd = detail::findAfter(rest, resume(9, 3), "]]>");
                if (tokenEnd == detail::kNotYet) scanned_ = rest.size();
            } else {
                tokenEnd = detail::declarationEnd(rest, scanned_, quote_, brackets_, last);
            }
        } else {
            tokenEnd = detail::tagEnd(rest, scanned_, quote_);
        }
        if (!known || tokenEnd == detail::kNotYet) {
            if (last || rest.size() > kMaxXmlTokenBytes) {
                broken_ = true;
                return detail::kBroken;
            }
            break;
        }
        scanned_ = 0;
        quote_ = 0;
        brackets_ = 0;
        if (tokenEnd > kMaxXmlTokenBytes || !markup(rest.substr(0, tokenEnd))) {
            broken_ = true;
            return detail::kBroken;
        }
        p += tokenEnd;
    }
    return static_cast<std::size_t>(p - begin);
}

template <class H>
bool BasicReader<H>::markup(std::string_view token) {
    if (token.starts_with("<![CDATA[")) {
        if (open_.empty()) return false;
        const std::string_view data = token.substr(9, token.size() - 12);
        if (!data.empty()) handler_.text(data);
        return true;
    }
    if (token[1] == '?' || token[1] == '!') return true;  // read past
    return tag(token);
}

template <class H>
bool BasicReader<H>::tag(std::string_view token) {
    if (token[1] == '/') {
        std::string_view name = token.substr(2, token.size() - 3);
        while (!name.empty() && detail::isSpace(name.back())) name.remove_suffix(1);
        if (open_.empty() || openName() != name) return false;
        handler_.endElement(name);
        close();
        return true;
    }
    std::string_view body = token.substr(1, token.size() - 2);
    const bool empty = !body.empty() && body.back() == '/';
    if (empty) body.remove_suffix(1);
    std::size_t i = 0;
    while (i < body.size() && !detail::isSpace(body[i])) ++i;
    const std::string_view name = body.substr(0, i);
    if (name.empty()) return false;

    // Values without references are views into the token; the others are
    // resolved into one buffer first, and their views made once it is full.
    spans_.clear();
    values_.clear();
    while (true) {
        while (i < body.size() && detail::isSpace(body[i])) ++i;
        if (i == body.size()) break;
        const std::size_t nameStart = i;
        while (i < body.size() && body[i] != '=' && !detail::isSpace(body[i])) ++i;
        const std::string_view attrName = body.substr(nameStart, i - nameStart);
        while (i < body.size() && detail::isSpace(body[i])) ++i;
        if (attrName.empty() || i == body.size() || body[i] != '=') return false;
        ++i;
        while (i < body.size() && detail::isSpace(body[i])) ++i;
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
    if (open_.size() >= kMaxXmlDepth) return false;
    if (empty) {
        handler_.startElement(name, attributes_);
        handler_.endElement(name);
        return true;
    }
    if (name.find_first_of("\"'") != std::string_view::npos) ++quotedNames_;
    open(name);
    handler_.startElement(name, attributes_);
    return true;
}

}  // namespace kivo::xml
