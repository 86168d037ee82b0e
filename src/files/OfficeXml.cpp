#include "files/OfficeXml.h"

#include <algorithm>
#include <functional>

#include "core/Utf8.h"
#include "files/FileError.h"
#include "files/ZipArchive.h"

namespace kivo::office {

std::string_view attributeByLocalName(const std::vector<xml::Attribute>& attributes,
                                      std::string_view local) {
    for (const xml::Attribute& a : attributes) {
        if (localName(a.name) == local) return a.value;
    }
    return {};
}

bool archiveNamesPart(std::span<const std::uint8_t> file, std::string_view part) {
    if (!zip::hasZipSignature(file)) return false;
    const std::string_view bytes(reinterpret_cast<const char*>(file.data()), file.size());
    return std::search(bytes.begin(), bytes.end(),
                       std::boyer_moore_horspool_searcher(part.begin(), part.end())) != bytes.end();
}

PartResult readPartBytes(std::span<const std::uint8_t> archive, std::string_view name,
                         const std::function<bool(std::string_view)>& feed,
                         const std::function<bool()>& finish,
                         const std::function<bool()>& keepGoing) {
    zip::Member member;
    switch (zip::findMember(archive, name, member)) {
        case zip::FindResult::Found:
            break;
        case zip::FindResult::Missing:
            return PartResult::Missing;
        case zip::FindResult::Broken:
            throw FileError(kReadPastEnd);
    }
    bool xmlBroken = false;
    bool stopped = false;
    const zip::InflateResult inflated =
        zip::inflateMember(archive, member, [&](std::string_view chunk) {
            if (!feed(chunk)) xmlBroken = true;
            // A full list ends the reading, whatever follows.
            if (!keepGoing()) stopped = true;
            return !xmlBroken && !stopped;
        });
    if (stopped) return PartResult::Stopped;
    if (inflated != zip::InflateResult::Complete || xmlBroken || !finish()) {
        throw FileError(kReadPastEnd);
    }
    return keepGoing() ? PartResult::Read : PartResult::Stopped;
}

PartResult readPart(std::span<const std::uint8_t> archive, std::string_view name,
                    xml::Handler& handler, const std::function<bool()>& keepGoing) {
    xml::Reader reader(handler);
    return readPart(archive, name, reader, keepGoing);
}

bool LineEmitter::emit(std::string_view text) {
    if (refused_) return false;
    // The usual cell or paragraph: one line, well-formed, handed on as it is.
    if (isLineText(text)) {
        if (!sink_(text)) refused_ = true;
        return !refused_;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size() && !refused_; ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        emitLine(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (!refused_) emitLine(text.substr(start));
    return !refused_;
}

bool LineEmitter::emitLine(std::string_view line) {
    // The XML reader passes bytes on as written: mend them here.
    if (!isLineText(line)) {
        clean_.clear();
        for (std::size_t i = 0; i < line.size();) appendUtf8(clean_, nextUtf8(line, i));
        line = clean_;
    }
    if (!sink_(line)) refused_ = true;
    return !refused_;
}

}  // namespace kivo::office
