#include "files/OpenDocumentText.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "files/FileError.h"
#include "files/OfficeXml.h"
#include "files/ZipArchive.h"

namespace kivo {
namespace {

constexpr std::string_view kSpreadsheetType = "application/vnd.oasis.opendocument.spreadsheet";
constexpr std::string_view kTextType = "application/vnd.oasis.opendocument.text";
constexpr std::string_view kContentPart = "content.xml";
// A flat document names its kind in its root element, near its start.
constexpr std::size_t kFlatHead = 16 * 1024;
// A flat document is read in pieces, so that a full list stops the reading.
constexpr std::size_t kFlatChunk = 64 * 1024;
// Spaces a single text:s may stand for; more are no word of a list.
constexpr std::size_t kMaxSpaces = 4096;

OpenDocumentKind kindOfType(std::string_view type) {
    if (type == kSpreadsheetType) return OpenDocumentKind::Spreadsheet;
    if (type == kTextType) return OpenDocumentKind::Text;
    return OpenDocumentKind::None;
}

// The mimetype member: first in the archive and stored as it is, so that
// its text stands at a fixed place; elsewhere it is looked up.
std::string mimetypeOf(std::span<const std::uint8_t> file) {
    constexpr std::string_view kName = "mimetype";
    zip::Member member;
    if (zip::firstMember(file, kName, member) && member.method == 0 && member.storedSize <= 256) {
        return std::string(reinterpret_cast<const char*>(file.data()) + member.dataOffset,
                           member.storedSize);
    }
    if (zip::findMember(file, kName, member) != zip::FindResult::Found || member.size > 256) {
        return {};
    }
    std::string type;
    if (zip::inflateMember(file, member, [&](std::string_view chunk) {
            type.append(chunk);
            return type.size() <= 256;
        }) != zip::InflateResult::Complete) {
        return {};
    }
    return type;
}

OpenDocumentKind flatKind(std::string_view bytes) {
    std::string_view head = bytes.substr(0, kFlatHead);
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || head[first] != '<') return OpenDocumentKind::None;
    for (const auto& [type, kind] : {std::pair{kSpreadsheetType, OpenDocumentKind::Spreadsheet},
                                     std::pair{kTextType, OpenDocumentKind::Text}}) {
        const std::string attribute = "mimetype=\"" + std::string(type) + "\"";
        if (head.find(attribute) != std::string_view::npos) return kind;
    }
    return OpenDocumentKind::None;
}

enum Ns : office::Namespaces::Id { Other, Office, Table, Text, Style, Draw, CalcExt };

constexpr office::Namespaces::Known kNamespaces[] = {
    {"urn:oasis:names:tc:opendocument:xmlns:office:1.0", Office},
    {"urn:oasis:names:tc:opendocument:xmlns:table:1.0", Table},
    {"urn:oasis:names:tc:opendocument:xmlns:text:1.0", Text},
    {"urn:oasis:names:tc:opendocument:xmlns:style:1.0", Style},
    {"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0", Draw},
    {"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0", CalcExt},
};

using Name = office::Namespaces::Name;

// What an element's end does something for.
enum class Ends : std::uint8_t { Other, Body, Style, Paragraph, Cell, Row, Sheet };

std::uint64_t saturatedSum(std::uint64_t a, std::uint64_t b) {
    return a + std::min(b, UINT64_MAX - a);
}

std::size_t countOf(std::string_view text) {
    std::size_t n = 1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error == std::errc::result_out_of_range) return SIZE_MAX;
    if (error != std::errc() || end != text.data() + text.size() || n == 0) return 1;
    return n;
}

// content.xml (or a flat document): the body's paragraphs, or its cells,
// handed on as they end or held by their columns until their sheet ends.
class ContentPart : public xml::Handler {
public:
    // What is built of the paragraphs, and what a sheet by columns holds, is
    // spent from budget: a space may stand for thousands.
    ContentPart(office::LineEmitter& lines, ReadBudget& budget, SheetLayout layout)
        : lines_(lines), paragraph_(&budget) {
        if (layout == SheetLayout::ColumnSections) columns_.emplace(budget);
    }

    void startElement(std::string_view qualified,
                      const std::vector<xml::Attribute>& attributes) override {
        ++depth_;
        if (skipFrom_ != 0) {
            open_.push_back(Ends::Other);
            return;
        }
        namespaces_.open(depth_, attributes);
        const Name name = namespaces_.element(qualified);
        open_.push_back(endsOf(name));
        if (name.is(Ns::Office, "body")) {
            inBody_ = true;
        } else if (name.is(Ns::Office, "spreadsheet")) {
            spreadsheet_ = true;
        } else if (name.is(Ns::Style, "style")) {
            tableStyle_ = attribute(attributes, Ns::Style, "family") == "table"
                              ? std::string(attribute(attributes, Ns::Style, "name"))
                              : std::string();
        } else if (name.is(Ns::Style, "table-properties")) {
            if (!tableStyle_.empty() && attribute(attributes, Ns::Table, "display") == "false") {
                hiddenStyles_.push_back(tableStyle_);
            }
        } else if (!inBody_) {
            return;
        } else if (name.is(Ns::Table, "covered-table-cell")) {
            // Left out, but it stands in its columns.
            column_ = saturatedSum(
                column_, countOf(attribute(attributes, Ns::Table, "number-columns-repeated")));
            skipFrom_ = depth_;
        } else if (leftOut(name)) {
            skipFrom_ = depth_;
        } else if (name.is(Ns::Text, "changed-region")) {
            region_ = attribute(attributes, Ns::Text, "id");
        } else if (name.is(Ns::Text, "deletion")) {
            // The deleted text stands here, or between the marks that
            // name this region in the body.
            deletions_.push_back(region_);
            skipFrom_ = depth_;
        } else if (name.is(Ns::Text, "change-start") || name.is(Ns::Text, "change-end")) {
            const std::string_view id = attribute(attributes, Ns::Text, "change-id");
            if (std::find(deletions_.begin(), deletions_.end(), id) != deletions_.end()) {
                deleting_ = name.local == "change-start";
            }
        } else if (name.is(Ns::Table, "table")) {
            const std::string_view style = attribute(attributes, Ns::Table, "style-name");
            if (spreadsheet_ && !style.empty() &&
                std::find(hiddenStyles_.begin(), hiddenStyles_.end(), style) !=
                    hiddenStyles_.end()) {
                skipFrom_ = depth_;
            } else if (spreadsheet_ && columns_ && !inSheet_) {
                // A sheet by columns; a table within it is of it.
                inSheet_ = true;
                open_.back() = Ends::Sheet;
            }
        } else if (name.is(Ns::Table, "table-row") && spreadsheet_) {
            rowRepeat_ = countOf(attribute(attributes, Ns::Table, "number-rows-repeated"));
            rowCells_.clear();
            column_ = 0;
            if (columns_) columns_->startRow(rowRepeat_);
        } else if (name.is(Ns::Table, "table-cell") && spreadsheet_) {
            inCell_ = true;
            cellRepeat_ = countOf(attribute(attributes, Ns::Table, "number-columns-repeated"));
            cellError_ = attribute(attributes, Ns::CalcExt, "value-type") == "error";
            cellText_.clear();
            cellParagraphs_ = 0;
        } else if (name.is(Ns::Text, "p") || name.is(Ns::Text, "h")) {
            if (paragraphs_++ == 0) {
                paragraph_.clear();
                lastSpace_ = true;  // leading white space is no text
            }
        } else if (paragraphs_ > 0 && name.ns == Ns::Text && !deleting_) {
            inlineElement(name.local, attributes);
        }
    }

    void endElement(std::string_view) override {
        const Ends ends = open_.back();
        open_.pop_back();
        if (skipFrom_ != 0) {
            if (depth_ == skipFrom_) {
                skipFrom_ = 0;
                namespaces_.close(depth_);
            }
            --depth_;
            return;
        }
        namespaces_.close(depth_--);
        if (ends == Ends::Body) {
            inBody_ = false;
        } else if (ends == Ends::Style) {
            tableStyle_.clear();
        } else if (!inBody_) {
            return;
        } else if (ends == Ends::Paragraph && paragraphs_ > 0) {
            if (--paragraphs_ == 0) paragraphEnd();
        } else if (ends == Ends::Cell && inCell_) {
            inCell_ = false;
            if (cellError_ || cellText_.empty()) {
                // Shows nothing, however often it stands.
            } else if (columns_) {
                columns_->cell(column_, cellRepeat_, cellText_);
            } else {
                repeat(cellText_, cellRepeat_);
                // Kept only for a row that stands again.
                if (rowRepeat_ > 1) rowCells_.push_back({cellText_, cellRepeat_});
            }
            column_ = saturatedSum(column_, cellRepeat_);
        } else if (ends == Ends::Sheet) {
            inSheet_ = false;
            columns_->emit(lines_);
        } else if (ends == Ends::Row && spreadsheet_ && !columns_) {
            // A repeated row: its cells again, as often as it stands.
            for (std::size_t r = 1; r < rowRepeat_ && !rowCells_.empty() && !lines_.refused();
                 ++r) {
                for (const auto& [text, times] : rowCells_) repeat(text, times);
            }
            rowCells_.clear();
        }
    }

    void text(std::string_view utf8) override {
        if (skipFrom_ != 0 || paragraphs_ == 0 || !inBody_ || deleting_) return;
        // White space in a paragraph's text runs together into one space;
        // what lies between is appended a run at a time.
        const auto space = [](char c) {
            return static_cast<unsigned char>(c) <= ' ' &&
                   (c == ' ' || c == '\t' || c == '\r' || c == '\n');
        };
        const char* p = utf8.data();
        const char* const end = p + utf8.size();
        while (p < end) {
            const char* const run = p;
            while (p < end && !space(*p)) ++p;
            if (p != run) {
                paragraph_.appendRun({run, static_cast<std::size_t>(p - run)});
                lastSpace_ = false;
            }
            if (p == end) break;
            if (!lastSpace_) paragraph_.push_back(' ');
            lastSpace_ = true;
            while (p < end && space(*p)) ++p;
        }
    }

private:
    static Ends endsOf(const Name& name) {
        if (name.is(Ns::Office, "body")) return Ends::Body;
        if (name.is(Ns::Style, "style")) return Ends::Style;
        if (name.is(Ns::Text, "p") || name.is(Ns::Text, "h")) return Ends::Paragraph;
        if (name.is(Ns::Table, "table-cell")) return Ends::Cell;
        if (name.is(Ns::Table, "table-row")) return Ends::Row;
        return Ends::Other;
    }

    // What a list leaves out: notes and comments, deleted text, ruby text
    // over its base, frames and shapes, and the cells a merged area covers.
    static bool leftOut(const Name& name) {
        return name.is(Ns::Office, "annotation") || name.is(Ns::Text, "note") ||
               name.is(Ns::Office, "change-info") || name.is(Ns::Text, "ruby-text") ||
               name.is(Ns::Table, "covered-table-cell") || name.ns == Ns::Draw;
    }

    void inlineElement(std::string_view local, const std::vector<xml::Attribute>& attributes) {
        if (local == "s") {
            const std::size_t count = countOf(attribute(attributes, Ns::Text, "c"));
            paragraph_.append(std::min(count, kMaxSpaces), ' ');
        } else if (local == "tab") {
            paragraph_.push_back('\t');
        } else if (local == "line-break") {
            paragraph_.push_back('\n');
        } else {
            return;
        }
        lastSpace_ = false;
    }

    void paragraphEnd() {
        // A space that only ran the layout's line breaks together.
        if (lastSpace_ && !paragraph_.empty() && paragraph_.back() == ' ') paragraph_.pop_back();
        if (!spreadsheet_) {
            lines_.emit(paragraph_.text());
        } else if (inCell_) {
            if (cellParagraphs_++ > 0) cellText_.push_back('\n');
            cellText_.append(paragraph_.text());
        }
    }

    // A cell as often as it stands; a full list stops it.
    void repeat(std::string_view text, std::size_t times) {
        for (std::size_t i = 0; i < times && lines_.emit(text); ++i) {
        }
    }

    template <std::size_t N>
    std::string_view attribute(const std::vector<xml::Attribute>& attributes, Ns ns,
                               const char (&local)[N]) const {
        return namespaces_.attribute(attributes, ns, std::string_view(local, N - 1));
    }

    office::LineEmitter& lines_;
    // The prefixes every producer uses, until the document binds its own.
    office::Namespaces namespaces_{kNamespaces,
                                   {{"office", Office},
                                    {"table", Table},
                                    {"text", Text},
                                    {"style", Style},
                                    {"draw", Draw},
                                    {"calcext", CalcExt}}};
    std::vector<Ends> open_;  // the open elements, innermost last
    std::vector<std::string> hiddenStyles_;
    std::string region_;                  // the tracked change being read
    std::vector<std::string> deletions_;  // the ids of tracked deletions
    bool deleting_ = false;               // between a deletion's marks
    std::string tableStyle_;
    std::size_t depth_ = 0;
    std::size_t skipFrom_ = 0;  // the depth of the element being left out
    bool inBody_ = false;
    bool spreadsheet_ = false;
    std::size_t paragraphs_ = 0;  // open text:p and text:h
    office::LineBuilder paragraph_;
    bool lastSpace_ = false;
    bool inCell_ = false;
    bool cellError_ = false;
    std::size_t cellRepeat_ = 1;
    std::size_t cellParagraphs_ = 0;
    std::string cellText_;
    std::size_t rowRepeat_ = 1;
    std::vector<std::pair<std::string, std::size_t>> rowCells_;
    std::uint64_t column_ = 0;  // where the next cell of the row stands
    // Present when sheets go by columns.
    std::optional<office::ColumnSections> columns_;
    bool inSheet_ = false;  // within a sheet by columns
};

}  // namespace

OpenDocumentKind openDocumentKind(std::span<const std::uint8_t> file) {
    if (!zip::hasZipSignature(file)) {
        return flatKind(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    }
    return kindOfType(mimetypeOf(file));
}

WordTextOutcome extractOpenDocumentText(std::span<const std::uint8_t> file,
                                        const LineSink& appendLine, ReadBudget budget,
                                        SheetLayout layout) {
    office::LineEmitter lines(appendLine);
    ContentPart content(lines, budget, layout);
    if (!zip::hasZipSignature(file)) {
        const std::string_view document(reinterpret_cast<const char*>(file.data()), file.size());
        budget.spend(document.size());
        xml::Reader reader(content);
        for (std::size_t at = 0; at < document.size() && !lines.refused(); at += kFlatChunk) {
            const bool fine = reader.feed(document.substr(at, kFlatChunk));
            if (lines.refused()) break;
            if (!fine) throw FileError(kReadPastEnd);
        }
        if (lines.refused()) return WordTextOutcome::AppendRefused;
        if (!reader.finish()) throw FileError(kReadPastEnd);
        return WordTextOutcome::Completed;
    }
    office::Archive archive(file, budget);
    const office::PartResult read =
        archive.read(kContentPart, content, [&] { return !lines.refused(); });
    if (read == office::PartResult::Missing) throw FileError(kReadPastEnd);
    return lines.refused() ? WordTextOutcome::AppendRefused : WordTextOutcome::Completed;
}

}  // namespace kivo
