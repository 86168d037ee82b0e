#include "files/ListExport.h"

#include <cstdio>
#include <map>
#include <vector>

#include "core/CodePage932.h"
#include "core/Errors.h"
#include "core/FileReplacement.h"
#include "core/FileSystem.h"
#include "core/PathRules.h"
#include "core/Utf8.h"
#include "files/Cryptogram.h"
#include "files/FileError.h"

namespace kivo {
namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendHexByte(std::string& out, unsigned char byte) {
    out += "\\'";
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}

void appendUnicodeEscape(std::string& out, char32_t cp) {
    auto unit = [&](unsigned u) {
        // \uN takes a signed 16-bit number; '?' is what a reader without
        // Unicode shows instead.
        out += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(u))) + "?";
    };
    if (cp >= 0x10000) {
        unit(0xD800 + ((cp - 0x10000) >> 10));
        unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
        unit(cp);
    }
}

// One character of an RTF body: escaped, as code page 932 bytes, or as a
// Unicode escape.
void appendRtfCharacter(std::string& out, char32_t cp) {
    if (cp == '\\' || cp == '{' || cp == '}') {
        out += '\\';
        out += static_cast<char>(cp);
    } else if (cp == '\t') {
        out += "\\tab ";
    } else if (cp < 0x20 || cp == 0x7F) {
        appendHexByte(out, static_cast<unsigned char>(cp));
    } else if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else {
        std::string bytes;
        if (!cp932::appendEncoded(bytes, cp)) {
            appendUnicodeEscape(out, cp);
            return;
        }
        // A JIS form (〜) goes out as its Microsoft form's bytes; readers
        // that know Unicode keep the very character, the others read the
        // bytes.
        const bool exact = cp932::readsBackAsItself(cp);
        const auto code = static_cast<unsigned>(cp);
        if (!exact) out += "{\\uc" + std::to_string(bytes.size()) + "\\u" + std::to_string(code);
        for (const char b : bytes) appendHexByte(out, static_cast<unsigned char>(b));
        if (!exact) out += '}';
    }
}

void appendRtfText(std::string& out, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) appendRtfCharacter(out, nextUtf8(utf8, i));
}

// A font name as the font table holds it: code page 932 bytes, escaped.
std::string fontTableName(std::string_view utf8) {
    std::string out;
    appendRtfText(out, utf8);
    return out;
}

struct FontAndColourTables {
    std::map<std::string, int> fonts;    // family -> \fN
    std::vector<std::uint32_t> colours;  // \cfN is index + 1

    int fontIndex(const std::string& family) {
        return fonts.emplace(family, static_cast<int>(fonts.size())).first->second;
    }
    int colourIndex(std::uint32_t rgb) {
        for (std::size_t k = 0; k < colours.size(); ++k) {
            if (colours[k] == rgb) return static_cast<int>(k) + 1;
        }
        colours.push_back(rgb);
        return static_cast<int>(colours.size());
    }
};

// The control words that switch from the base format to a style.
std::string styleWords(const TextStyle& style, FontAndColourTables& tables, int baseHalfPoints) {
    std::string words;
    if (!style.fontFamily.empty())
        words += "\\f" + std::to_string(tables.fontIndex(style.fontFamily));
    words += "\\fs" + std::to_string(style.halfPoints > 0 ? style.halfPoints : baseHalfPoints);
    if (style.bold) words += "\\b";
    if (style.italic) words += "\\i";
    if (style.underline) words += "\\ul";
    if (style.color) words += "\\cf" + std::to_string(tables.colourIndex(*style.color));
    return words;
}

}  // namespace

std::string listToRtf(const StyledText& list, std::string_view baseFont, int baseHalfPoints) {
    FontAndColourTables tables;
    tables.fontIndex(std::string(baseFont));  // \f0

    // The body first: the tables grow as the styles are met.
    std::string body;
    body.reserve(list.text.size() * 3);
    const std::string_view text = list.text;
    std::size_t rangeIndex = 0;
    std::size_t units = 0;  // UTF-16 position in the text
    bool inStyledGroup = false;
    for (std::size_t i = 0; i < text.size();) {
        // Open or close a styled group at range edges.
        if (inStyledGroup &&
            units >= list.ranges[rangeIndex].start + list.ranges[rangeIndex].length) {
            body += '}';
            inStyledGroup = false;
            ++rangeIndex;
        }
        while (!inStyledGroup && rangeIndex < list.ranges.size() &&
               list.ranges[rangeIndex].start + list.ranges[rangeIndex].length <= units) {
            ++rangeIndex;
        }
        if (!inStyledGroup && rangeIndex < list.ranges.size() &&
            list.ranges[rangeIndex].start <= units) {
            body += '{' + styleWords(list.ranges[rangeIndex].style, tables, baseHalfPoints) + ' ';
            inStyledGroup = true;
        }
        if (text[i] == '\n') {
            body += "\\par\n";
            ++i;
            ++units;
            continue;
        }
        const char32_t cp = nextUtf8(text, i);
        appendRtfCharacter(body, cp);
        units += cp >= 0x10000 ? 2 : 1;
    }
    if (inStyledGroup) body += '}';

    std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0\\uc1{\\fonttbl";
    std::vector<const std::string*> byIndex(tables.fonts.size());
    for (const auto& [family, index] : tables.fonts)
        byIndex[static_cast<std::size_t>(index)] = &family;
    for (std::size_t k = 0; k < byIndex.size(); ++k) {
        rtf +=
            "{\\f" + std::to_string(k) + "\\fnil\\fcharset128 " + fontTableName(*byIndex[k]) + ";}";
    }
    rtf += '}';
    if (!tables.colours.empty()) {
        rtf += "{\\colortbl;";
        for (const std::uint32_t c : tables.colours) {
            rtf += "\\red" + std::to_string(c >> 16 & 0xFF) + "\\green" +
                   std::to_string(c >> 8 & 0xFF) + "\\blue" + std::to_string(c & 0xFF) + ';';
        }
        rtf += '}';
    }
    rtf += "\n\\pard\\plain\\f0\\fs" + std::to_string(baseHalfPoints) + ' ';
    rtf += body;
    rtf += "}\n";
    return rtf;
}

std::string withCarriageReturns(std::string_view text) {
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

std::string listToText(std::string_view utf8Text) {
    const std::string crlf = withCarriageReturns(utf8Text);
    bool lossless = true;
    std::string sjis = cp932::encode(crlf, &lossless);
    if (lossless) return sjis;
    return "\xEF\xBB\xBF" + crlf;
}

void throwSaveFailure(const std::filesystem::path& path, FileReplacement::Failure failure,
                      int systemError) {
    using Failure = FileReplacement::Failure;
    const int code = fileErrorCodeFromSystem(systemError);
    switch (failure) {
        case Failure::Write:
        case Failure::Finish:
            throw FileError(code);
        case Failure::Copy:
            // A cache path that names no folder is no fault of the user's
            // file name, which is what the text of a missing path says.
            if (systemError != 0 && code != kFileNotFound && code != kPathNotFound)
                throw FileError(code);
            break;
        case Failure::Replace:
            if (code == kDiskFull) throw FileError(code);
            break;
        case Failure::None:
        case Failure::Create:
            break;
    }
    throw UserError("ファイル " + utf8Of(path) + " を作成できません");
}

void writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                     FileReplacement::WhenFolderIsClosed fallback) {
    FileReplacement replacement(path, fallback);
    if (!replacement.isOpen() ||
        !replacement.write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}) ||
        !replacement.commit()) {
        throwSaveFailure(path, replacement.failure(), replacement.systemError());
    }
}

void restoreKeptCopy(const KeptCopy& copy) {
    FileReplacement replacement(copy);
    if (!replacement.isOpen() || !replacement.writeKeptCopy() || !replacement.commit())
        throwSaveFailure(copy.file, replacement.failure(), replacement.systemError());
    // The file is settled: any older copy of it is offered no more.
    declineKeptCopy(copy);
}

void writeContainerSafely(const std::filesystem::path& path, std::string_view plain,
                          std::string_view key) {
    // The plain list never reaches the disk: the container is written whole.
    writeFileSafely(path, EncipherContainer(plain, key, dosStampNow()));
}

}  // namespace kivo
