#include "files/DocxText.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Utf8.h"
#include "files/FileError.h"
#include "files/OfficeXml.h"
#include "files/XmlReaderImpl.h"

namespace kivo {
namespace {

constexpr std::string_view kDocumentPart = "word/document.xml";
enum Ns : office::Namespaces::Id { Other, Word, Compatibility };
constexpr office::Namespaces::Known kNamespaces[] = {
    {"http://schemas.openxmlformats.org/wordprocessingml/2006/main", Word},
    {"http://purl.oclc.org/ooxml/wordprocessingml/main", Word},  // Strict
    {"http://schemas.openxmlformats.org/markup-compatibility/2006", Compatibility},
};

// Appends the line with what is not well-formed UTF-8 replaced by U+FFFD
// and line breaks by spaces: a line handed on holds neither.
void appendLineText(std::string& out, std::string_view line) {
    if (isLineText(line)) {
        out.append(line);
        return;
    }
    for (std::size_t i = 0; i < line.size();) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (b < 0x80) {
            out.push_back(b == '\r' || b == '\n' ? ' ' : static_cast<char>(b));
            ++i;
        } else {
            appendUtf8(out, nextUtf8(line, i));
        }
    }
}

// The lines handed one by one to a sink.
class SinkLines : public LineText {
public:
    explicit SinkLines(const LineSink& appendLine) : appendLine_(appendLine) {}
    bool endLines(std::size_t, std::size_t) override {
        std::string_view rest(text);
        bool kept = true;
        while (kept && !rest.empty()) {
            const std::size_t lf = rest.find('\n');
            kept = appendLine_(rest.substr(0, lf));
            rest.remove_prefix(lf + 1);
        }
        text.clear();
        return kept;
    }

private:
    const LineSink& appendLine_;
};

// What an element is to the body's text; Other for everything else.
enum class Kind : std::uint8_t { Other, Paragraph, Run, Text, ParagraphProps, RunProps };

// Final, for the reader to call it directly.
class BodyText final : public xml::Handler {
public:
    explicit BodyText(LineText& lines)
        : lines_(lines), lineStart_(lines.text.size()), batchStart_(lineStart_) {}

    bool refused() const { return refused_; }

    // Takes out what was built of a line after the refused one.
    void dropUnfinished() { lines_.text.resize(lineStart_); }

    // The text behind the last paragraph mark, when a deleted mark left some.
    // Then the lines not yet handed on.
    void finish() {
        if (!lineEmpty() && !refused_) emitLine();
        handOn();
    }

    // Called for every element: inlined into the reader's loop, the rarer
    // roads kept out of line.
    [[gnu::always_inline]] void startElement(
        std::string_view name, const std::vector<xml::Attribute>& attributes) override {
        ++depth_;
        if (skipFrom_ != 0) return;
        namespaces_.open(depth_, attributes);
        if (depth_ >= kinds_.size()) kinds_.resize(2 * depth_);
        // Mostly a word element under a one-letter prefix (not a colon),
        // told by the name's first two bytes.
        const std::string_view word = namespaces_.prefixOf(Word);
        if (word.size() == 1 && word[0] != ':' && name.size() > 2 && name[0] == word[0] &&
            name[1] == ':') {
            kinds_[depth_] = wordElement({name.data() + 2, name.size() - 2}, attributes);
        } else {
            kinds_[depth_] = element(name, attributes);
        }
    }

    [[gnu::always_inline]] void endElement(std::string_view) override {
        if (skipFrom_ != 0) {
            if (depth_-- == skipFrom_) {
                skipFrom_ = 0;
                popElement();
            }
            return;
        }
        const Kind kind = kinds_[depth_--];
        popElement();
        if (kind == Kind::Paragraph && !markDeleted_) emitLine();
        if (kind == Kind::Paragraph) markDeleted_ = false;
    }

    void text(std::string_view utf8) override {
        if (skipFrom_ == 0 && kinds_[depth_] == Kind::Text && fieldCode_ == 0 && !refused_) {
            makeRoom(utf8.size());
            lines_.text.append(utf8);
        }
    }

private:
    [[gnu::noinline]] Kind element(std::string_view qualified,
                                   const std::vector<xml::Attribute>& attributes) {
        const office::Namespaces::Name name = namespaces_.element(qualified);
        if (name.ns == Word) return wordElement(name.local, attributes);
        if (name.is(Compatibility, "Fallback")) skipFrom_ = depth_;
        return Kind::Other;
    }

    // The element at depth_ + 1 has ended.
    void popElement() { namespaces_.close(depth_ + 1); }

    // Of the element that is starting, at depth_.
    Kind parent() const { return kinds_[depth_ - 1]; }
    Kind grandparent() const { return depth_ < 2 ? Kind::Other : kinds_[depth_ - 2]; }

    [[gnu::always_inline]] Kind wordElement(std::string_view local,
                                            const std::vector<xml::Attribute>& attributes) {
        if (local.size() == 1) {
            if (local[0] == 'p') return Kind::Paragraph;
            if (local[0] == 'r') return Kind::Run;
            if (local[0] == 't') return Kind::Text;
        } else if (local.size() == 3 && local[1] == 'P' && local[2] == 'r') {
            if (local[0] == 'p') return Kind::ParagraphProps;
            if (local[0] == 'r') return Kind::RunProps;
        }
        if (local.size() < 2) return Kind::Other;
        return markElement(local, attributes);
    }

    // The word elements that mark the text rather than hold it.
    [[gnu::noinline]] Kind markElement(std::string_view local,
                                       const std::vector<xml::Attribute>& attributes) {
        const bool inRun = parent() == Kind::Run;
        const bool visible = fieldCode_ == 0;
        if (local == "tab" && inRun && visible) {
            makeRoom(1);
            lines_.text.push_back('\t');
        } else if ((local == "br" || local == "cr") && inRun && visible) {
            const std::string_view type = namespaces_.attribute(attributes, Word, "type");
            if ((type != "page" && type != "column") || !lineEmpty()) emitLine();
        } else if (local == "noBreakHyphen" && inRun && visible) {
            makeRoom(1);
            lines_.text.push_back('-');
        } else if (local == "del" || local == "moveFrom") {
            // In a paragraph mark's properties: the mark itself is deleted.
            if (parent() == Kind::RunProps && grandparent() == Kind::ParagraphProps) {
                markDeleted_ = true;
            } else if (parent() != Kind::RunProps) {
                skipFrom_ = depth_;
            }
        } else if (local == "txbxContent") {
            skipFrom_ = depth_;
        } else if (local == "fldChar") {
            const std::string_view type = namespaces_.attribute(attributes, Word, "fldCharType");
            if (type == "begin") {
                fields_.push_back(true);
                ++fieldCode_;
            } else if (type == "separate" && !fields_.empty() && fields_.back()) {
                fields_.back() = false;
                --fieldCode_;
            } else if (type == "end" && !fields_.empty()) {
                if (fields_.back()) --fieldCode_;
                fields_.pop_back();
            }
        }
        return Kind::Other;
    }

    bool lineEmpty() const { return lines_.text.size() == lineStart_; }

    // The line being built is judged as it grows: past the longest a list
    // takes it is refused before it is built.
    void makeRoom(std::size_t bytes) const {
        if (lines_.text.size() - lineStart_ + bytes > kLongestLineBytes) office::refuseLongLine();
    }

    void emitLine() {
        if (refused_) return;
        lines_.text.push_back('\n');
        lineStart_ = lines_.text.size();
        lineEnds_.push_back(lineStart_);
        if (lineStart_ - batchStart_ >= kBatchBytes) handOn();
    }

    // The lines ended since the last batch, checked at once rather than one
    // by one: well-formed, as they mostly are, they go on as they stand.
    void handOn() {
        if (refused_ || lineEnds_.empty()) return;
        const std::string_view batch =
            std::string_view(lines_.text).substr(batchStart_, lineStart_ - batchStart_);
        if (!isLinesText(batch, lineEnds_.size())) mendBatch();
        std::size_t longest = 0;
        std::size_t from = batchStart_;
        for (const std::size_t end : lineEnds_) {
            longest = std::max(longest, end - 1 - from);
            from = end;
        }
        if (!lines_.endLines(lineEnds_.size(), longest)) refused_ = true;
        lineEnds_.clear();
        batchStart_ = lineStart_ = lines_.text.size();
    }

    // Each line of the batch mended, and its end moved with it.
    void mendBatch() {
        std::string mended;
        std::size_t from = batchStart_;
        for (std::size_t& end : lineEnds_) {
            appendLineText(mended, std::string_view(lines_.text).substr(from, end - 1 - from));
            mended.push_back('\n');
            from = end;
            end = batchStart_ + mended.size();
        }
        lines_.text.replace(batchStart_, std::string::npos, mended);
        lineStart_ = lines_.text.size();
    }

    static constexpr std::size_t kBatchBytes = 64 * 1024;

    LineText& lines_;
    std::size_t lineStart_;              // where the line being built begins in lines_.text
    std::size_t batchStart_;             // where the lines not yet handed on begin
    std::vector<std::size_t> lineEnds_;  // behind the LF of each of them
    office::Namespaces namespaces_{kNamespaces, {{"w", Word}, {"mc", Compatibility}}};
    // The kind of each open element by its depth, from 1; the document's own
    // level, 0, is Other.
    std::vector<Kind> kinds_ = std::vector<Kind>(64, Kind::Other);
    std::size_t depth_ = 0;
    std::size_t skipFrom_ = 0;   // the depth of the element being left out
    std::vector<bool> fields_;   // open complex fields: true while in the code
    std::size_t fieldCode_ = 0;  // how many of them are in their code
    bool markDeleted_ = false;
    bool refused_ = false;
};

}  // namespace

bool looksLikeDocx(std::span<const std::uint8_t> file) {
    return office::archiveNamesPart(file, kDocumentPart);
}

WordTextOutcome extractDocxText(std::span<const std::uint8_t> file, const LineSink& appendLine,
                                ReadBudget budget) {
    SinkLines lines(appendLine);
    return extractDocxLines(file, lines, std::move(budget));
}

WordTextOutcome extractDocxLines(std::span<const std::uint8_t> file, LineText& lines,
                                 ReadBudget budget) {
    office::Archive archive(file, budget);
    BodyText body(lines);
    xml::BasicReader<BodyText> reader(body);
    switch (archive.read(kDocumentPart, reader, [&] { return !body.refused(); })) {
        case office::PartResult::Missing:
        case office::PartResult::ReadBefore:  // not the first part read: never
            throw FileError(kReadPastEnd);
        case office::PartResult::Stopped:
            body.dropUnfinished();
            return WordTextOutcome::AppendRefused;
        case office::PartResult::Read:
            break;
    }
    body.finish();
    return body.refused() ? WordTextOutcome::AppendRefused : WordTextOutcome::Completed;
}

}  // namespace kivo
