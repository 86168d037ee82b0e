#pragma once
// A small streaming XML reader: the subset that the parts of an Office Open
// XML document use. It takes the document in chunks of any size and reports
// elements and text as they complete, reading each chunk where it lies and
// holding only the unfinished token between chunks.
//
// What it reads: elements with attributes (values in ' or "), empty-element
// tags, text, CDATA sections, the five predefined entities and character
// references. Comments, processing instructions, the XML declaration and a
// document type declaration (internal subset included) are read past;
// entities that a document type declares are not expanded, so a reference
// to one stays in the text as written. UTF-8 only; a UTF-8 byte-order mark
// is skipped. Names are reported as written, prefix included: namespaces
// are the handler's business.
//
// What it refuses (the document is broken and reading stops): an end tag
// that does not match its start tag, elements nested deeper than
// kMaxXmlDepth, a tag or other markup longer than kMaxXmlTokenBytes, and a
// document that ends inside markup or with elements open.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::xml {

inline constexpr std::size_t kMaxXmlDepth = 1000;
inline constexpr std::size_t kMaxXmlTokenBytes = 1024 * 1024;

struct Attribute {
    std::string_view name;
    std::string_view value;  // entities and character references resolved
};

class Handler {
public:
    virtual ~Handler() = default;
    // An element begins; an empty-element tag is followed at once by its end.
    virtual void startElement(std::string_view name, const std::vector<Attribute>& attributes) = 0;
    virtual void endElement(std::string_view name) = 0;
    // Character data (references resolved, CDATA as it stands), in pieces of
    // any size: a text may arrive in several calls.
    virtual void text(std::string_view utf8) = 0;
};

// H is the handler's class: a final one has its calls made directly, and
// inlined where the reader is instantiated for it (XmlReaderImpl.h).
template <class H>
class BasicReader {
public:
    explicit BasicReader(H& handler) : handler_(handler) {}

    // Reads the next chunk; false once the document is found broken (then
    // and afterwards nothing more is reported).
    bool feed(std::string_view chunk);
    // The document is complete; false when it is broken or unfinished.
    bool finish();

private:
    std::size_t parse(std::string_view text, bool last);
    std::size_t parseText(std::string_view text, bool last);
    const char* run(const char* p, const char* end);
    const char* startTag(const char* at, const char* end);
    const char* endTag(const char* at, const char* end);
    bool markup(std::string_view token);
    bool tag(std::string_view token);
    void textRun(std::string_view raw);
    std::string_view openName() const { return open_.back(); }
    // The name stays a view into the text being read; the names still open
    // when a text has been read are copied (keepOpenNames), the text being
    // gone by the next.
    void open(std::string_view name) { open_.push_back(name); }
    void close() {
        if (quotedNames_ != 0 && openName().find_first_of("\"'") != std::string_view::npos) {
            --quotedNames_;
        }
        open_.pop_back();
        keptCount_ = std::min(keptCount_, open_.size());
    }
    void keepOpenNames();

    H& handler_;
    std::string pending_;  // bytes not yet read as a whole token
    // The open elements' names, innermost last: the first keptCount_ of
    // them copied into kept_, one after another, 16 bytes of room kept
    // behind them for reading a short name at once.
    std::vector<std::string_view> open_;
    std::vector<char> kept_;
    std::size_t keptCount_ = 0;
    std::size_t quotedNames_ = 0;  // open names that hold a quote
    struct SpanOf {
        std::string_view name;
        std::string_view raw;  // the value as written
        std::size_t start;     // where its resolved form begins in values_
        bool resolved;
        std::size_t length;
    };
    std::vector<SpanOf> spans_;
    struct Resolved {
        std::size_t attribute;  // its index in attributes_
        std::size_t start;      // where its value begins in values_
        std::size_t length;
    };
    std::vector<Resolved> resolved_;
    std::vector<Attribute> attributes_;
    std::string values_;  // the resolved attribute values of one tag
    std::string decoded_;
    bool broken_ = false;
    bool started_ = false;     // the byte-order mark has been looked for
    std::size_t scanned_ = 0;  // how far the unfinished markup was scanned
    char quote_ = 0;           // the quote open there, in a tag or declaration
    int brackets_ = 0;         // the brackets open there, in a declaration
};

using Reader = BasicReader<Handler>;
extern template class BasicReader<Handler>;

// Resolves the predefined entities and character references of raw text
// into out. A character reference to no character (0, a surrogate, beyond
// U+10FFFF) becomes U+FFFD; an unknown entity stays as written.
void appendResolved(std::string& out, std::string_view raw);

}  // namespace kivo::xml
