#include "files/OfficeXml.h"

#include <algorithm>
#include <functional>

#include "core/Errors.h"
#include "core/Utf8.h"
#include "files/FileError.h"
#include "files/ZipArchive.h"

namespace kivo::office {

std::string_view plainAttribute(const std::vector<xml::Attribute>& attributes,
                                std::string_view name) {
    for (const xml::Attribute& a : attributes) {
        if (same(a.name, name)) return a.value;
    }
    return {};
}

Namespaces::Namespaces(std::span<const Known> known, std::initializer_list<Default> defaults)
    : known_(known) {
    Id last = kOther;
    for (const Known& k : known) last = std::max(last, k.id);
    prefixes_.resize(std::size_t{last} + 1);
    // Never empty, so that an element's end looks at the last binding alone.
    bindings_.push_back({"\x01", kOther, 0});
    for (const Default& d : defaults) bindings_.push_back({std::string(d.prefix), d.id, 0});
    findPrefixes();
}

std::string_view Namespaces::attribute(const std::vector<xml::Attribute>& attributes, Id ns,
                                       std::string_view local) const {
    // The local name first: most attributes differ there, and the prefix's
    // namespace is then looked up for one alone.
    for (const xml::Attribute& a : attributes) {
        const std::string_view own = localName(a.name);
        if (own.size() == a.name.size() || !same(own, local)) continue;
        if (of(a.name.substr(0, a.name.size() - own.size() - 1)) == ns) return a.value;
    }
    return {};
}

void Namespaces::declare(std::size_t depth, const std::vector<xml::Attribute>& attributes) {
    bool bound = false;
    for (const xml::Attribute& a : attributes) {
        if (!a.name.starts_with("xmlns")) continue;
        std::string_view prefix;
        if (a.name.size() > 6 && a.name[5] == ':') {
            prefix = a.name.substr(6);
        } else if (a.name.size() != 5) {
            continue;
        }
        Id id = kOther;
        for (const Known& k : known_) {
            if (a.value == k.uri) id = k.id;
        }
        // Only what changes a prefix's meaning: a document declares dozens
        // of namespaces, and every name is looked up.
        if (of(prefix) == id) continue;
        bindings_.push_back({std::string(prefix), id, depth});
        bound = true;
    }
    if (bound) findPrefixes();
}

void Namespaces::unbind(std::size_t depth) {
    while (bindings_.back().depth == depth) bindings_.pop_back();
    findPrefixes();
}

void Namespaces::findPrefixes() {
    std::fill(prefixes_.begin(), prefixes_.end(), std::string_view());
    for (auto b = bindings_.rbegin(); b != bindings_.rend(); ++b) {
        if (b->id != kOther && prefixes_[b->id].data() == nullptr && of(b->prefix) == b->id) {
            prefixes_[b->id] = b->prefix;
        }
    }
}

bool archiveNamesPart(std::span<const std::uint8_t> file, std::string_view part) {
    if (!zip::hasZipSignature(file)) return false;
    const std::string_view bytes(reinterpret_cast<const char*>(file.data()), file.size());
    return std::search(bytes.begin(), bytes.end(),
                       std::boyer_moore_horspool_searcher(part.begin(), part.end())) != bytes.end();
}

PartResult Archive::readBytes(std::string_view name,
                              const std::function<bool(std::string_view)>& feed,
                              const std::function<bool()>& finish,
                              const std::function<bool()>& keepGoing) {
    zip::Member member;
    switch (zip::findMember(bytes_, name, member)) {
        case zip::FindResult::Found:
            break;
        case zip::FindResult::Missing:
            return PartResult::Missing;
        case zip::FindResult::Broken:
            throw FileError(kReadPastEnd);
    }
    if (std::find(read_.begin(), read_.end(), member.dataOffset) != read_.end()) {
        return PartResult::ReadBefore;
    }
    read_.push_back(member.dataOffset);
    // The size the directory states, which the inflate holds the member to.
    budget_.spend(member.size);
    bool xmlBroken = false;
    bool stopped = false;
    const zip::InflateResult inflated =
        zip::inflateMember(bytes_, member, [&](std::string_view chunk) {
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

PartResult Archive::read(std::string_view name, xml::Handler& handler,
                         const std::function<bool()>& keepGoing) {
    xml::Reader reader(handler);
    return read(name, reader, keepGoing);
}

void refuseLongLine() { throw UserError("行数が長すぎてファイルが開けません"); }

void LineBuilder::appendLines(std::string_view piece) {
    // Each line the piece ends, and then the one it leaves open.
    std::size_t from = 0;
    for (std::size_t at; (at = piece.find_first_of("\r\n", from)) != std::string_view::npos;
         from = at + 1) {
        grow(at - from);
        text_.append(piece.substr(from, at + 1 - from));
        lineStart_ = text_.size();
        spend(1);
    }
    grow(piece.size() - from);
    text_.append(piece.substr(from));
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
