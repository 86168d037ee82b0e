#include "files/OfficeXml.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "core/Errors.h"
#include "core/Headings.h"
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

namespace {

std::uint64_t saturatedSum(std::uint64_t a, std::uint64_t b) {
    return a + std::min(b, UINT64_MAX - a);
}

}  // namespace

std::string columnName(std::uint64_t column) {
    std::string name;
    // Letters as digits without a zero: Z is followed by AA.
    for (std::uint64_t n = column;; n = n / 26 - 1) {
        name.insert(name.begin(), static_cast<char>('A' + n % 26));
        if (n < 26) return name;
    }
}

void ColumnSections::startRow(std::uint64_t times) {
    ++row_;
    rowTimes_ = std::max<std::uint64_t>(times, 1);
}

void ColumnSections::cell(std::uint64_t column, std::uint64_t columns, std::string_view text,
                          bool kept) {
    // Past the last column there is, a cell still stands in the last.
    column = std::min(column, UINT64_MAX - 1);
    const std::uint64_t end = saturatedSum(column, columns);
    if (text.empty() || column >= end) return;
    if (headingRow_ == 0) headingRow_ = row_;
    // Copied once, however many columns it stands in, and only when held.
    std::string_view held = kept ? text : std::string_view();
    const auto heldText = [&] {
        if (held.data() == nullptr) held = keep(text);
        return held;
    };
    if (row_ != headingRow_) {
        eachColumns(column, end, [&](Columns& c) { addEntry(c, heldText(), rowTimes_); });
        return;
    }
    // The heading row: a repeated one stands again below itself as entries.
    const std::string_view heading = headingLine(text);
    if (heading.empty() && rowTimes_ == 1) return;
    eachColumns(column, end, [&](Columns& c) {
        std::uint64_t times = rowTimes_;
        if (c.heading.empty() && !heading.empty()) {
            c.heading = heading;
            --times;
        }
        if (times > 0) addEntry(c, heldText(), times);
    });
}

bool ColumnSections::emit(LineEmitter& lines) {
    std::vector<const Entry*> column;  // the columns' entries, the lowest first
    for (const auto& [first, c] : columns_) {
        column.clear();
        for (std::size_t i = c.last; i != kNone; i = entries_[i].above) {
            column.push_back(&entries_[i]);
        }
        for (std::uint64_t at = first; at < c.end; ++at) {
            if (c.heading.empty()) {
                lines.emit(bracketedHeading(columnName(at) + "列"));
            } else {
                lines.emit(c.heading);
            }
            for (auto e = column.rbegin(); e != column.rend(); ++e) {
                for (std::uint64_t i = 0; i < (*e)->times && lines.emit((*e)->text); ++i) {
                }
            }
            if (lines.refused()) {
                clear();
                return false;
            }
        }
    }
    clear();
    return true;
}

// Makes a key of `at` unless it lies outside what is held or begins a key's
// columns already: the columns it falls in are held as two alike.
void ColumnSections::split(std::uint64_t at) {
    auto it = columns_.upper_bound(at);
    if (it == columns_.begin()) return;
    --it;
    if (it->first == at || it->second.end <= at) return;
    hold(kNodeBytes);
    // Both keep the entries so far, which are theirs no longer alone.
    it->second.ownFrom = entries_.size();
    Columns right = it->second;
    it->second.end = at;
    columns_.emplace_hint(std::next(it), at, right);
}

// visit(Columns&) for each of the held columns from first up to end, those
// not held yet held from now, split where the range begins and ends.
template <typename Visit>
void ColumnSections::eachColumns(std::uint64_t first, std::uint64_t end, Visit visit) {
    split(first);
    split(end);
    auto it = columns_.lower_bound(first);
    for (std::uint64_t at = first; at < end; ++it) {
        if (it == columns_.end() || it->first > at) {
            hold(kNodeBytes);
            const std::uint64_t until = it == columns_.end() ? end : std::min(end, it->first);
            it = columns_.emplace_hint(it, at, Columns{until, {}});
        }
        visit(it->second);
        at = it->second.end;
    }
}

void ColumnSections::addEntry(Columns& columns, std::string_view text, std::uint64_t times) {
    // The same text again just below (a shared string, say): counted, when
    // the entry is these columns' alone.
    if (columns.last != kNone && columns.last >= columns.ownFrom) {
        Entry& last = entries_[columns.last];
        if (last.text.data() == text.data() && last.text.size() == text.size()) {
            last.times = saturatedSum(last.times, times);
            return;
        }
    }
    if (entries_.size() == entries_.capacity()) {
        hold(std::max<std::size_t>(entries_.size(), 1024) * sizeof(Entry));
    }
    entries_.push_back({text, times, columns.last});
    columns.last = entries_.size() - 1;
}

std::string_view ColumnSections::keep(std::string_view text) {
    constexpr std::size_t kBlockBytes = 64 * 1024;
    // A long text a block of its own, so that no block is left mostly unused.
    if (text.size() > kBlockBytes / 4) {
        hold(text.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
        std::memcpy(blocks_.back().get(), text.data(), text.size());
        return {blocks_.back().get(), text.size()};
    }
    if (text.size() > left_) {
        hold(kBlockBytes);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockBytes));
        free_ = blocks_.back().get();
        left_ = kBlockBytes;
    }
    std::memcpy(free_, text.data(), text.size());
    const std::string_view kept(free_, text.size());
    free_ += text.size();
    left_ -= text.size();
    return kept;
}

// The heading's line, kept; empty when the cell holds only blanks. Judged as
// any line is as it grows.
std::string_view ColumnSections::headingLine(std::string_view text) {
    heading_.clear();
    heading_.appendRun(kHeadingOpen);
    bool any = false;
    for (std::size_t from = 0;;) {
        const std::size_t at = std::min(text.find_first_of("\r\n", from), text.size());
        const std::string_view line = trimBlanks(text.substr(from, at - from));
        if (!line.empty()) {
            if (any) heading_.push_back(' ');
            heading_.appendRun(line);
            any = true;
        }
        if (at == text.size()) break;
        from = at + 1;
    }
    if (!any) return {};
    heading_.appendRun(kHeadingClose);
    return keep(heading_.text());
}

void ColumnSections::hold(std::size_t bytes) {
    // Spent a stretch at a time, as a LineBuilder spends.
    unspent_ += bytes;
    if (unspent_ >= kSpendStep) {
        budget_.spend(unspent_);
        unspent_ = 0;
    }
}

void ColumnSections::clear() {
    columns_.clear();
    entries_.clear();
    blocks_.clear();
    free_ = nullptr;
    left_ = 0;
    row_ = 1;
    rowTimes_ = 1;
    headingRow_ = 0;
}

}  // namespace kivo::office
