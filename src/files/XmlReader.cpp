#include "files/XmlReaderImpl.h"

#include "core/Utf8.h"

namespace kivo::xml {
namespace detail {

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

}  // namespace detail

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

template class BasicReader<Handler>;

}  // namespace kivo::xml
