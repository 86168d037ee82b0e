// Random .docx documents through the Office Open XML reader: the ZIP
// directory, the inflate within the document's budget, the streaming XML
// reader and the body's rules. The first byte chooses what the rest is:
//   even: a whole archive, as a file holds it;
//   odd:  the XML of word/document.xml, which the target packs into an
//         archive itself (stored, or deflated when the byte has bit 1 set),
//         so that the XML reader and the body's rules get most of the work.
// Beyond the sanitizers' findings it checks: the only exceptions are the
// loader's own (the read error, a line too long, the budget spent);
// every line is UTF-8 without a CR or LF; a list that refuses a
// line gets exactly the lines before it; and the XML reader reports the same
// elements and text whether the document comes whole or in chunks of any
// size.
#include <zlib.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "WordFuzz.h"
#include "files/DocxText.h"
#include "files/FileError.h"
#include "files/XmlReader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// An archive of the one member word/document.xml.
Bytes archiveOf(std::span<const std::uint8_t> xml, bool deflated) {
    Bytes stored(xml.begin(), xml.end());
    if (deflated) {
        z_stream z{};
        deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        stored.assign(deflateBound(&z, static_cast<uLong>(xml.size())), 0);
        z.next_in = const_cast<Bytef*>(xml.data());
        z.avail_in = static_cast<uInt>(xml.size());
        z.next_out = stored.data();
        z.avail_out = static_cast<uInt>(stored.size());
        deflate(&z, Z_FINISH);
        stored.resize(z.total_out);
        deflateEnd(&z);
    }
    const std::string name = "word/document.xml";
    const auto crc =
        static_cast<std::uint32_t>(crc32(0, xml.data(), static_cast<uInt>(xml.size())));
    const unsigned method = deflated ? 8 : 0;
    Bytes zip;
    put32(zip, 0x04034B50), put16(zip, 20), put16(zip, 0), put16(zip, method), put32(zip, 0);
    put32(zip, crc), put32(zip, static_cast<std::uint32_t>(stored.size()));
    put32(zip, static_cast<std::uint32_t>(xml.size()));
    put16(zip, static_cast<unsigned>(name.size())), put16(zip, 0);
    zip.insert(zip.end(), name.begin(), name.end());
    zip.insert(zip.end(), stored.begin(), stored.end());
    const auto directory = static_cast<std::uint32_t>(zip.size());
    put32(zip, 0x02014B50), put16(zip, 20), put16(zip, 20), put16(zip, 0), put16(zip, method);
    put32(zip, 0), put32(zip, crc), put32(zip, static_cast<std::uint32_t>(stored.size()));
    put32(zip, static_cast<std::uint32_t>(xml.size()));
    put16(zip, static_cast<unsigned>(name.size())), put16(zip, 0), put16(zip, 0), put16(zip, 0);
    put16(zip, 0), put32(zip, 0), put32(zip, 0);
    zip.insert(zip.end(), name.begin(), name.end());
    const auto directorySize = static_cast<std::uint32_t>(zip.size() - directory);
    put32(zip, 0x06054B50), put16(zip, 0), put16(zip, 0), put16(zip, 1), put16(zip, 1);
    put32(zip, directorySize), put32(zip, directory), put16(zip, 0);
    return zip;
}

using kivo::fuzz::Extraction;

Extraction extract(std::span<const std::uint8_t> archive, std::size_t acceptAtMost) {
    return kivo::fuzz::extractChecked(
        [&](const kivo::LineSink& sink) { return kivo::extractDocxText(archive, sink); },
        acceptAtMost, "\r\n");
}

// The reader's events; text that came in pieces is joined, as a reader fed
// in chunks may cut it anywhere.
class Log : public kivo::xml::Handler {
public:
    void startElement(std::string_view name,
                      const std::vector<kivo::xml::Attribute>& attributes) override {
        events.push_back({'<', std::string(name)});
        for (const auto& a : attributes) {
            events.push_back({'=', std::string(a.name) + "=" + std::string(a.value)});
        }
    }
    void endElement(std::string_view name) override { events.push_back({'>', std::string(name)}); }
    void text(std::string_view utf8) override {
        if (events.empty() || events.back().first != 'T') events.push_back({'T', {}});
        events.back().second += utf8;
    }
    std::vector<std::pair<char, std::string>> events;
};

// The events of the XML fed in chunks of the given size (0: whole).
std::vector<std::pair<char, std::string>> eventsOf(std::string_view xml, std::size_t chunk,
                                                   bool* ok) {
    Log log;
    kivo::xml::Reader reader(log);
    bool fine = true;
    if (chunk == 0) {
        fine = reader.feed(xml);
    } else {
        // Each chunk in memory of its own, gone once fed.
        for (std::size_t at = 0; fine && at < xml.size(); at += chunk) {
            fine = reader.feed(std::string(xml.substr(at, chunk)));
        }
    }
    *ok = fine && reader.finish();
    return log.events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    Bytes archive;
    if (mode & 1) {
        archive = archiveOf(rest, (mode & 2) != 0);
        // The same events whole and in chunks of 1 to 64 bytes.
        const std::string_view xml(reinterpret_cast<const char*>(rest.data()), rest.size());
        bool wholeOk = false, chunkOk = false;
        const auto whole = eventsOf(xml, 0, &wholeOk);
        const auto chunked = eventsOf(xml, 1 + (mode >> 2), &chunkOk);
        FUZZ_CHECK(wholeOk == chunkOk);
        if (wholeOk) FUZZ_CHECK(whole == chunked);
    } else {
        archive.assign(rest.begin(), rest.end());
    }

    const Extraction all = extract(archive, SIZE_MAX);
    if (all.broken) return 0;
    FUZZ_CHECK(all.outcome == kivo::WordTextOutcome::Completed);
    kivo::fuzz::checkRefusedHalfway(all, extract(archive, all.lines.size() / 2));
    return 0;
}
