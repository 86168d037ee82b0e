#pragma once
// What the readers of office documents in XML parts share: reading one part
// of a ZIP archive through an XML handler, and handing a document's text on
// as list lines.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/OfficeText.h"
#include "files/XmlReader.h"

namespace kivo::office {

// The part of a name behind its prefix ("table:table-cell" → "table-cell").
inline std::string_view localName(std::string_view name) {
    // By hand: names are short, and a call to memchr for each costs more.
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == ':') return name.substr(i + 1);
    }
    return name;
}

// The value of the attribute with this local name, whatever its prefix;
// empty when there is none.
std::string_view attributeByLocalName(const std::vector<xml::Attribute>& attributes,
                                      std::string_view local);

// Whether the bytes are a ZIP archive in which this part's name stands: a
// quick look, before the archive is read, at what kind of document it is.
bool archiveNamesPart(std::span<const std::uint8_t> file, std::string_view part);

enum class PartResult { Read, Missing, Stopped };

// Inflates the archive's member name into feed, chunk by chunk, then calls
// finish; either returns false when the XML is broken. Missing: the archive
// has no such member. Stopped: keepGoing turned false (checked after every
// chunk). Throws FileError "ファイルの末尾以降を読み込みました" when the archive, the
// member's data or its XML is broken, or the member too large to inflate.
PartResult readPartBytes(std::span<const std::uint8_t> archive, std::string_view name,
                         const std::function<bool(std::string_view)>& feed,
                         const std::function<bool()>& finish,
                         const std::function<bool()>& keepGoing);

// The same through an XML reader, and so its handler.
template <class H>
PartResult readPart(std::span<const std::uint8_t> archive, std::string_view name,
                    xml::BasicReader<H>& reader, const std::function<bool()>& keepGoing) {
    return readPartBytes(
        archive, name, [&](std::string_view chunk) { return reader.feed(chunk); },
        [&] { return reader.finish(); }, keepGoing);
}

PartResult readPart(std::span<const std::uint8_t> archive, std::string_view name,
                    xml::Handler& handler, const std::function<bool()>& keepGoing);

// Hands text on as lines: each line break in it (CR LF, CR, LF) ends a
// line, and what is not well-formed UTF-8 becomes U+FFFD.
class LineEmitter {
public:
    explicit LineEmitter(const LineSink& sink) : sink_(sink) {}
    // False once the sink refused a line; nothing is handed on after that.
    bool emit(std::string_view text);
    bool refused() const { return refused_; }

private:
    bool emitLine(std::string_view line);

    const LineSink& sink_;
    std::string clean_;
    bool refused_ = false;
};

}  // namespace kivo::office
