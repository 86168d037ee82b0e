#include "files/XmlReader.h"

#include <algorithm>
#include <cstring>

#include "core/Utf8.h"

namespace kivo::xml {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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

bool Reader::feed(std::string_view chunk) {
    if (broken_) return false;
    pending_.append(chunk);
    return parse(false);
}

bool Reader::finish() {
    if (broken_) return false;
    if (!parse(true)) return false;
    broken_ = !pending_.empty() || !open_.empty();
    return !broken_;
}

void Reader::textRun(std::string_view raw) {
    if (raw.empty()) return;
    if (raw.find('&') == std::string_view::npos) {
        handler_.text(raw);
        return;
    }
    decoded_.clear();
    appendResolved(decoded_, raw);
    if (!decoded_.empty()) handler_.text(decoded_);
}

bool Reader::parse(bool last) {
    std::string_view rest(pending_);
    if (!started_) {
        if (rest.size() < 3 && !last) return true;
        if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
        started_ = true;
    }
    while (!rest.empty()) {
        if (rest[0] != '<') {
            const std::size_t lt = rest.find('<');
            std::size_t take = lt == std::string_view::npos ? rest.size() : lt;
            if (lt == std::string_view::npos && !last) {
                // Keep a reference that the chunk may have cut.
                const std::size_t amp = rest.rfind('&');
                if (amp != std::string_view::npos &&
                    rest.find(';', amp) == std::string_view::npos && rest.size() - amp <= 12) {
                    take = amp;
                }
            }
            // Text outside the root element is no character data.
            if (!open_.empty()) textRun(rest.substr(0, take));
            rest.remove_prefix(take);
            if (take == 0) break;
            continue;
        }
        // Markup cut by the chunk's end is scanned on from where the last
        // scan stopped, not from its start again.
        std::size_t end = kNotYet;
        bool known = true;
        const auto resume = [&](std::size_t from, std::size_t terminator) {
            return std::max(from, scanned_ >= terminator ? scanned_ - terminator + 1 : 0);
        };
        if (rest.size() < 2) {
            known = false;
        } else if (rest[1] == '?') {
            end = findAfter(rest, resume(2, 2), "?>");
            if (end == kNotYet) scanned_ = rest.size();
        } else if (rest[1] == '!') {
            if (rest.size() < 9 && (std::string_view("<![CDATA[").starts_with(rest) ||
                                    std::string_view("<!--").starts_with(rest))) {
                known = false;
            } else if (rest.starts_with("<!--")) {
                end = findAfter(rest, resume(4, 3), "-->");
                if (end == kNotYet) scanned_ = rest.size();
            } else if (rest.starts_with("<![CDATA[")) {
                end = findAfter(rest, resume(9, 3), "]]>");
                if (end == kNotYet) scanned_ = rest.size();
            } else {
                end = declarationEnd(rest, scanned_, quote_, brackets_, last);
            }
        } else {
            end = tagEnd(rest, scanned_, quote_);
        }
        if (!known || end == kNotYet) {
            if (last || rest.size() > kMaxXmlTokenBytes) {
                broken_ = true;
                return false;
            }
            break;
        }
        scanned_ = 0;
        quote_ = 0;
        brackets_ = 0;
        if (end > kMaxXmlTokenBytes || !markup(rest.substr(0, end))) {
            broken_ = true;
            return false;
        }
        rest.remove_prefix(end);
    }
    pending_.erase(0, pending_.size() - rest.size());
    return true;
}

bool Reader::markup(std::string_view token) {
    if (token.starts_with("<![CDATA[")) {
        if (open_.empty()) return false;
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
        if (open_.empty() || open_.back() != name) return false;
        handler_.endElement(name);
        open_.pop_back();
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
    if (open_.size() >= kMaxXmlDepth) return false;
    open_.emplace_back(name);
    handler_.startElement(name, attributes_);
    if (empty) {
        handler_.endElement(name);
        open_.pop_back();
    }
    return true;
}

}  // namespace kivo::xml
