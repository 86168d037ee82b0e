#pragma once
// What the readers of office documents in XML parts share: reading one part
// of a ZIP archive through an XML handler, handing a document's text on as
// list lines, and holding a spreadsheet's sheet to hand it on by columns.
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ListShape.h"
#include "files/OfficeText.h"
#include "files/XmlReader.h"

namespace kivo::office {

// Whether two short strings (names, prefixes) are the same, byte by byte:
// they are compared many times for each element, and a library call each
// costs more.
inline bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// The part of a name behind its prefix ("table:table-cell" → "table-cell").
inline std::string_view localName(std::string_view name) {
    // By hand: names are short, and a call to memchr for each costs more.
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == ':') return name.substr(i + 1);
    }
    return name;
}

// The value of the attribute of this name without a prefix (in no
// namespace); empty when there is none.
std::string_view plainAttribute(const std::vector<xml::Attribute>& attributes,
                                std::string_view name);

// How every Office reader tells the names of its XML apart: by namespace,
// as XML defines it. A reader numbers the namespaces it reads (0 for any
// other), names them by their URIs, and gives the prefixes that stand for
// them until a document binds its own; an element's xmlns attributes bind
// prefixes for it and for what lies within it, and an element's name
// without a prefix is in the namespace bound to no prefix. The reader hands
// on each element's start and end with its depth (1 for the root); within
// an element it leaves out it need not.
class Namespaces {
public:
    using Id = std::uint8_t;
    static constexpr Id kOther = 0;
    struct Known {
        std::string_view uri;
        Id id;
    };
    struct Default {
        std::string_view prefix;
        Id id;
    };

    Namespaces(std::span<const Known> known, std::initializer_list<Default> defaults);

    // An element at this depth begins: the prefixes its attributes bind.
    // Namespaces are declared seldom: only a name that may be xmlns is
    // looked at closer.
    void open(std::size_t depth, const std::vector<xml::Attribute>& attributes) {
        for (const xml::Attribute& a : attributes) {
            if (!a.name.empty() && a.name[0] == 'x') {
                declare(depth, attributes);
                return;
            }
        }
    }
    // The element at this depth has ended: what it bound goes.
    void close(std::size_t depth) {
        if (bindings_.back().depth == depth) unbind(depth);
    }

    // The namespace a prefix stands for here.
    Id of(std::string_view prefix) const {
        for (auto b = bindings_.rbegin(); b != bindings_.rend(); ++b) {
            if (same(b->prefix, prefix)) return b->id;
        }
        return kOther;
    }
    // A prefix that stands for the namespace here, the one bound last (for
    // a reader's quick look at its usual names); data() is null when none.
    std::string_view prefixOf(Id id) const { return prefixes_[id]; }

    struct Name {
        Id ns;
        std::string_view local;
        // Against a literal its length is known, and the compare is a few
        // loads rather than a loop.
        template <std::size_t N>
        bool is(Id n, const char (&l)[N]) const {
            return ns == n && local.size() == N - 1 && std::memcmp(local.data(), l, N - 1) == 0;
        }
    };
    // An element's name.
    Name element(std::string_view qualified) const {
        const std::string_view local = localName(qualified);
        if (local.size() == qualified.size()) return {of({}), local};
        return {of(qualified.substr(0, qualified.size() - local.size() - 1)), local};
    }
    // The value of the attribute with this namespace and local name; empty
    // when there is none. An attribute without a prefix is in no namespace.
    std::string_view attribute(const std::vector<xml::Attribute>& attributes, Id ns,
                               std::string_view local) const;

private:
    struct Binding {
        std::string prefix;
        Id id;
        std::size_t depth;  // of the element that bound it; 0 for a default
    };
    void declare(std::size_t depth, const std::vector<xml::Attribute>& attributes);
    void unbind(std::size_t depth);
    void findPrefixes();

    std::span<const Known> known_;
    std::vector<Binding> bindings_;  // innermost last, the defaults first
    std::vector<std::string_view> prefixes_;
};

// Whether the bytes are a ZIP archive in which this part's name stands: a
// quick look, before the archive is read, at what kind of document it is.
bool archiveNamesPart(std::span<const std::uint8_t> file, std::string_view part);

enum class PartResult {
    Read,
    Missing,     // the archive has no such member
    Stopped,     // keepGoing turned false
    ReadBefore,  // its bytes were read already, under this name or another
};

// One document's archive as its reader reads it: each part's bytes at most
// once, whatever names point at them, and every byte a part inflates to
// spent from the document's budget before it is inflated.
class Archive {
public:
    Archive(std::span<const std::uint8_t> bytes, ReadBudget& budget)
        : bytes_(bytes), budget_(budget) {}

    // Inflates the member name into feed, chunk by chunk, then calls finish;
    // either returns false when the XML is broken. keepGoing is asked after
    // every chunk. Throws FileError "ファイルの末尾以降を読み込みました" when the
    // archive, the member's data or its XML is broken, or the member stated
    // too large to inflate; what the budget throws past it.
    PartResult readBytes(std::string_view name, const std::function<bool(std::string_view)>& feed,
                         const std::function<bool()>& finish,
                         const std::function<bool()>& keepGoing);

    // The same through an XML reader, and so its handler.
    template <class H>
    PartResult read(std::string_view name, xml::BasicReader<H>& reader,
                    const std::function<bool()>& keepGoing) {
        return readBytes(
            name, [&](std::string_view chunk) { return reader.feed(chunk); },
            [&] { return reader.finish(); }, keepGoing);
    }
    PartResult read(std::string_view name, xml::Handler& handler,
                    const std::function<bool()>& keepGoing);

private:
    std::span<const std::uint8_t> bytes_;
    ReadBudget& budget_;
    std::vector<std::uint64_t> read_;  // where the data of each part read lies
};

// Refuses a document one of whose lines grows past the longest a list
// takes (kLongestLineBytes, core/ListShape.h), with the message a text file
// with such a line gets: "行数が長すぎてファイルが開けません".
[[noreturn]] void refuseLongLine();

// Text built a piece at a time as it is read, to be handed on as lines (a
// paragraph, a cell, a shared string). Each line of it is judged as it
// grows: one that would grow past kLongestLineBytes is refused at once
// (refuseLongLine), so that nothing is built past that. With a budget, what
// is built is spent from it.
class LineBuilder {
public:
    explicit LineBuilder(ReadBudget* budget = nullptr) : budget_(budget) {}

    // A piece that may hold line breaks (CR, LF).
    void append(std::string_view piece) {
        for (const char c : piece) {
            if (static_cast<unsigned char>(c) <= '\r' && (c == '\r' || c == '\n')) {
                appendLines(piece);
                return;
            }
        }
        appendRun(piece);
    }
    // A piece that holds none.
    void appendRun(std::string_view run) {
        grow(run.size());
        text_.append(run);
    }
    void append(std::size_t count, char c) {  // c not a line break
        grow(count);
        text_.append(count, c);
    }
    void push_back(char c) {
        if (c == '\n' || c == '\r') {
            lineStart_ = text_.size() + 1;
            spend(1);
        } else {
            grow(1);
        }
        text_.push_back(c);
    }
    // Takes out the last byte, which is no line break.
    void pop_back() { text_.pop_back(); }
    void clear() {
        text_.clear();
        lineStart_ = 0;
    }

    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }
    char back() const { return text_.back(); }

private:
    void appendLines(std::string_view piece);
    void grow(std::size_t bytes) {
        if (text_.size() - lineStart_ + bytes > kLongestLineBytes) refuseLongLine();
        spend(bytes);
    }
    void spend(std::size_t bytes) {
        if (!budget_) return;
        // Spent a stretch at a time, not byte by byte.
        unspent_ += bytes;
        if (unspent_ >= kSpendStep) {
            budget_->spend(unspent_);
            unspent_ = 0;
        }
    }

    static constexpr std::size_t kSpendStep = 64 * 1024;

    std::string text_;
    std::size_t lineStart_ = 0;  // where the last line begins in text_
    ReadBudget* budget_;
    std::size_t unspent_ = 0;
};

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

// A sheet held until it ends, to be handed on a section per column
// (SheetLayout::ColumnSections): the sheet's first row that shows something
// gives each column its heading, the cells below it the column's entries.
// A reader tells it of each row and of each cell that shows something, in
// the sheet's order, where it stands and as often as it stands; empty cells
// it need not tell, however often they repeat. Columns alike side by side (a
// cell repeated across columns) are held once, keyed by the first of them,
// and a cell repeated down a column once with its count, so that what is
// held grows with the cells the sheet writes, not with where they stand or
// how often they repeat; all of it is spent from the document's budget.
// Each column's entries are a chain from its last up, in one array: columns
// split apart share what stood above the split, and a row's cell across
// many columns is an entry appended for each, one after another.
class ColumnSections {
public:
    explicit ColumnSections(ReadBudget& budget) : budget_(budget) {}

    // A row begins, standing `times` times (more than once when repeated).
    void startRow(std::uint64_t times);
    // A cell of the row that shows text, standing in `columns` columns from
    // `column` (the first column is 0). The text is copied unless `kept`
    // says it outlives the sheet. Throws as refuseLongLine when a heading's
    // line would be longer than any a list takes; what the budget throws.
    void cell(std::uint64_t column, std::uint64_t columns, std::string_view text,
              bool kept = false);
    // Hands the sheet on to lines, left to right, each section its heading
    // line 【…】 (the heading's lines joined by a space, blanks around
    // trimmed; a column without one is named by its letters, 【C列】) and
    // then its entries, a line each as a row's cell would be; and starts
    // again empty. False when lines refused one.
    bool emit(LineEmitter& lines);

private:
    static constexpr std::size_t kNone = SIZE_MAX;
    struct Entry {
        std::string_view text;
        std::uint64_t times;
        std::size_t above;  // the entry above it in its columns; kNone at the top
    };
    // Neighbouring columns held alike, up to end (not included).
    struct Columns {
        std::uint64_t end;
        std::string_view heading;  // its 【…】 line; empty when none
        std::size_t last = kNone;  // its lowest entry
        // Entries from here on are these columns' own, shared with none.
        std::size_t ownFrom = 0;
    };

    void split(std::uint64_t at);
    template <typename Visit>
    void eachColumns(std::uint64_t first, std::uint64_t end, Visit visit);
    void addEntry(Columns& columns, std::string_view text, std::uint64_t times);
    std::string_view keep(std::string_view text);
    std::string_view headingLine(std::string_view text);
    void hold(std::size_t bytes);
    void clear();

    static constexpr std::size_t kSpendStep = 64 * 1024;
    // What the map takes for a key beside its columns.
    static constexpr std::size_t kNodeBytes =
        sizeof(std::pair<const std::uint64_t, Columns>) + 4 * sizeof(void*);

    ReadBudget& budget_;
    std::size_t unspent_ = 0;
    std::map<std::uint64_t, Columns> columns_;  // by the first column of each
    std::vector<Entry> entries_;                // every column's, in the order they came
    std::uint64_t row_ = 1;                     // the row being read, from 1
    std::uint64_t rowTimes_ = 1;
    std::uint64_t headingRow_ = 0;  // 0 until a row shows something
    LineBuilder heading_;           // a heading's line as it is built
    // The texts copied, in blocks that never move.
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
};

// A spreadsheet's name for a column: A … Z, AA, AB …, the first column 0.
std::string columnName(std::uint64_t column);

}  // namespace kivo::office
