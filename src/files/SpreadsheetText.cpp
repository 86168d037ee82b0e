#include "files/SpreadsheetText.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Utf8.h"
#include "files/FileError.h"
#include "files/GeneralNumber.h"
#include "files/OfficeXml.h"
#include "files/ZipArchive.h"

namespace kivo {
namespace {

using office::plainAttribute;
using Name = office::Namespaces::Name;

enum Ns : office::Namespaces::Id { Other, Main, Relationships, PackageRelationships };
constexpr office::Namespaces::Known kNamespaces[] = {
    {"http://schemas.openxmlformats.org/spreadsheetml/2006/main", Main},
    {"http://purl.oclc.org/ooxml/spreadsheetml/main", Main},  // Strict
    {"http://schemas.openxmlformats.org/officeDocument/2006/relationships", Relationships},
    {"http://purl.oclc.org/ooxml/officeDocument/relationships", Relationships},
    {"http://schemas.openxmlformats.org/package/2006/relationships", PackageRelationships},
};

// A handler of a workbook's part: its names told by namespace, the part's
// own namespace standing for names without a prefix until the part binds
// it, and r for the relationships'.
class PartHandler : public xml::Handler {
public:
    explicit PartHandler(Ns own) : namespaces_(kNamespaces, {{"", own}, {"r", Relationships}}) {}

    void startElement(std::string_view name, const std::vector<xml::Attribute>& attributes) final {
        namespaces_.open(++depth_, attributes);
        start(namespaces_.element(name), attributes);
    }
    void endElement(std::string_view name) final {
        end(namespaces_.element(name));
        namespaces_.close(depth_--);
    }

protected:
    virtual void start(const Name& name, const std::vector<xml::Attribute>& attributes) = 0;
    virtual void end(const Name&) {}

    office::Namespaces namespaces_;

private:
    std::size_t depth_ = 0;
};

constexpr std::string_view kWorkbookPart = "xl/workbook.xml";
constexpr std::string_view kWorkbookRelations = "xl/_rels/workbook.xml.rels";
constexpr std::string_view kDefaultSharedStrings = "xl/sharedStrings.xml";

// A string of the workbook's XML with its escapes "_xHHHH_" (characters XML
// cannot carry, such as a CR) resolved; "_x005F_" is the underscore itself.
void appendUnescaped(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = text.find("_x", i);
        if (at == std::string_view::npos || at + 7 > text.size() || text[at + 6] != '_') {
            out.append(text.substr(i, at == std::string_view::npos ? text.npos : at + 2 - i));
            if (at == std::string_view::npos) return;
            i = at + 2;
            continue;
        }
        unsigned code = 0;
        const char* first = text.data() + at + 2;
        const auto [end, error] = std::from_chars(first, first + 4, code, 16);
        if (error != std::errc() || end != first + 4) {
            out.append(text.substr(i, at + 2 - i));
            i = at + 2;
            continue;
        }
        out.append(text.substr(i, at - i));
        // As a character reference to no character reads.
        appendUtf8(out, code == 0 || (code >= 0xD800 && code <= 0xDFFF) ? 0xFFFD : code);
        i = at + 7;
    }
}

struct Sheet {
    std::string relation;
    bool visible = true;
};

// xl/workbook.xml: the sheets in order, and whether each shows.
class WorkbookPart : public PartHandler {
public:
    WorkbookPart() : PartHandler(Main) {}

    std::vector<Sheet> sheets;

    void start(const Name& name, const std::vector<xml::Attribute>& attributes) override {
        if (!name.is(Main, "sheet")) return;
        const std::string_view state = plainAttribute(attributes, "state");
        sheets.push_back({std::string(namespaces_.attribute(attributes, Relationships, "id")),
                          state != "hidden" && state != "veryHidden"});
    }
    void text(std::string_view) override {}
};

struct Relation {
    std::string id, type, target;
};

// xl/_rels/workbook.xml.rels: where each of the workbook's parts lies.
class RelationsPart : public PartHandler {
public:
    RelationsPart() : PartHandler(PackageRelationships) {}

    std::vector<Relation> relations;

    void start(const Name& name, const std::vector<xml::Attribute>& attributes) override {
        if (!name.is(PackageRelationships, "Relationship")) return;
        if (plainAttribute(attributes, "TargetMode") == "External") return;
        relations.push_back({std::string(plainAttribute(attributes, "Id")),
                             std::string(plainAttribute(attributes, "Type")),
                             std::string(plainAttribute(attributes, "Target"))});
    }
    void text(std::string_view) override {}
};

// A relationship's target as a member name: relative to xl/, or from the
// archive's root when it begins with "/".
std::string memberName(std::string_view target) {
    std::vector<std::string_view> parts;
    std::string_view rest = target;
    if (rest.starts_with('/')) {
        rest.remove_prefix(1);
    } else {
        parts.push_back("xl");
    }
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    std::string name;
    for (const std::string_view part : parts) {
        if (!name.empty()) name.push_back('/');
        name.append(part);
    }
    return name;
}

bool typeIs(std::string_view type, std::string_view last) {
    return type.size() > last.size() && type.ends_with(last) &&
           type[type.size() - last.size() - 1] == '/';
}

// sharedStrings.xml: the text of each string item, its runs joined, its
// phonetic guide (rPh) left out. Kept in one buffer: a workbook may share
// a million strings.
class SharedStringsPart : public PartHandler {
public:
    // What the strings keep (their text, and their index) is spent from
    // budget as it grows, whether a cell shows them or not.
    explicit SharedStringsPart(ReadBudget& budget) : PartHandler(Main), budget_(budget) {}

    // Where each string ends in text_: the strings take no more bytes than
    // their XML, which is never inflated past kMaxMemberBytes.
    static_assert(zip::kMaxMemberBytes <= UINT32_MAX);
    std::vector<std::uint32_t> ends;
    std::string text_;

    std::string_view at(std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : ends[i - 1];
        return std::string_view(text_).substr(start, ends[i] - start);
    }

    void start(const Name& name, const std::vector<xml::Attribute>&) override {
        if (name.is(Main, "si")) {
            inItem_ = true;
            item_.clear();
        } else if (name.is(Main, "rPh")) {
            ++phonetic_;
        } else if (name.is(Main, "t") && inItem_ && phonetic_ == 0) {
            inText_ = true;
        }
    }
    void end(const Name& name) override {
        if (name.is(Main, "si") && inItem_) {
            inItem_ = false;
            appendUnescaped(text_, item_.text());
            ends.push_back(static_cast<std::uint32_t>(text_.size()));
            const std::size_t kept = text_.capacity() + ends.capacity() * sizeof(ends[0]);
            if (kept - spent_ >= kSpendStep) {
                budget_.spend(kept - spent_);
                spent_ = kept;
            }
        } else if (name.is(Main, "rPh") && phonetic_ > 0) {
            --phonetic_;
        } else if (name.is(Main, "t")) {
            inText_ = false;
        }
    }
    void text(std::string_view utf8) override {
        if (inText_) item_.append(utf8);
    }

private:
    static constexpr std::size_t kSpendStep = 64 * 1024;

    ReadBudget& budget_;
    std::size_t spent_ = 0;  // of what the strings keep
    office::LineBuilder item_;
    int phonetic_ = 0;
    bool inItem_ = false;
    bool inText_ = false;
};

// The column a cell reference such as "AB12" names, the first 0; none when
// it names none.
std::optional<std::uint64_t> referencedColumn(std::string_view reference) {
    std::uint64_t column = 0;
    std::size_t letters = 0;
    for (; letters < reference.size(); ++letters) {
        const char c = reference[letters];
        if (c < 'A' || c > 'Z') break;
        // Far past any sheet's last column: the last column there is.
        column = column > (UINT64_MAX - 26) / 26 ? UINT64_MAX : column * 26 + (c - 'A' + 1);
    }
    if (letters == 0) return std::nullopt;
    return column - 1;
}

// A worksheet's sheetData: each cell's shown value, handed on as it ends,
// or held by its column when the sheet goes by columns.
class WorksheetPart : public PartHandler {
public:
    WorksheetPart(const SharedStringsPart& strings, office::LineEmitter& lines,
                  office::ColumnSections* columns)
        : PartHandler(Main), strings_(strings), lines_(lines), columns_(columns) {}

    bool badReference() const { return badReference_; }

    void start(const Name& name, const std::vector<xml::Attribute>& attributes) override {
        if (name.is(Main, "row")) {
            if (columns_) columns_->startRow(1);
            nextColumn_ = 0;
        } else if (name.is(Main, "c")) {
            inCell_ = true;
            if (columns_) {
                // A cell without a reference stands next to the one before.
                column_ = referencedColumn(plainAttribute(attributes, "r")).value_or(nextColumn_);
                nextColumn_ = column_ == UINT64_MAX ? column_ : column_ + 1;
            }
            type_ = cellType(plainAttribute(attributes, "t"));
            value_.clear();
            inlineText_.clear();
        } else if (!inCell_) {
            return;
        } else if (name.is(Main, "v")) {
            inValue_ = true;
        } else if (name.is(Main, "rPh")) {
            ++phonetic_;
        } else if (name.is(Main, "t") && phonetic_ == 0) {
            inText_ = true;
        }
    }
    void end(const Name& name) override {
        if (!inCell_) return;
        if (name.is(Main, "c")) {
            inCell_ = false;
            emitCell();
        } else if (name.is(Main, "v")) {
            inValue_ = false;
        } else if (name.is(Main, "rPh") && phonetic_ > 0) {
            --phonetic_;
        } else if (name.is(Main, "t")) {
            inText_ = false;
        }
    }
    void text(std::string_view utf8) override {
        if (inValue_) {
            value_.append(utf8);
        } else if (inText_) {
            inlineText_.append(utf8);
        }
    }

private:
    enum class Type : std::uint8_t { Number, Shared, Inline, Text, Boolean, Error };

    static Type cellType(std::string_view t) {
        if (t == "s") return Type::Shared;
        if (t == "inlineStr") return Type::Inline;
        if (t == "str" || t == "d") return Type::Text;
        if (t == "b") return Type::Boolean;
        if (t == "e") return Type::Error;
        return Type::Number;
    }

    void emitCell() {
        shown_.clear();
        switch (type_) {
            case Type::Number: {
                double number = 0;
                const std::string& value = value_.text();
                const char* last = value.data() + value.size();
                const auto [end, error] = std::from_chars(value.data(), last, number);
                if (error == std::errc() && end == last) {
                    shown_ = generalNumber(number);
                } else {
                    shown_ = value;
                }
                break;
            }
            case Type::Shared: {
                std::size_t index = 0;
                const std::string& value = value_.text();
                const char* last = value.data() + value.size();
                const auto [end, error] = std::from_chars(value.data(), last, index);
                if (value_.empty()) return;
                if (error != std::errc() || end != last || index >= strings_.ends.size()) {
                    badReference_ = true;
                    return;
                }
                // Handed on (or held) from where it is kept, not copied first.
                const std::string_view shared = strings_.at(index);
                if (!shared.empty()) show(shared, true);
                return;
            }
            case Type::Inline:
                appendUnescaped(shown_, inlineText_.text());
                break;
            case Type::Text:
                appendUnescaped(shown_, value_.text());
                break;
            case Type::Boolean:
                if (value_.text() == "1" || value_.text() == "0") {
                    shown_ = value_.text() == "1" ? "TRUE" : "FALSE";
                }
                break;
            case Type::Error:
                return;
        }
        if (!shown_.empty()) show(shown_, false);
    }

    // kept: the text outlives the sheet.
    void show(std::string_view text, bool kept) {
        if (columns_) {
            columns_->cell(column_, 1, text, kept);
        } else {
            lines_.emit(text);
        }
    }

    const SharedStringsPart& strings_;
    office::LineEmitter& lines_;
    office::ColumnSections* columns_;  // null when the sheet goes row by row
    std::uint64_t column_ = 0, nextColumn_ = 0;
    // A cell's value and inline text, judged as they grow.
    office::LineBuilder value_, inlineText_;
    std::string shown_;
    Type type_ = Type::Number;
    int phonetic_ = 0;
    bool inCell_ = false, inValue_ = false, inText_ = false;
    bool badReference_ = false;
};

template <typename Part>
void readNeededPart(office::Archive& archive, std::string_view name, Part& part) {
    if (archive.read(name, part, [] { return true; }) != office::PartResult::Read) {
        throw FileError(kReadPastEnd);
    }
}

}  // namespace

bool looksLikeWorkbook(std::span<const std::uint8_t> file) {
    return office::archiveNamesPart(file, kWorkbookPart);
}

WordTextOutcome extractWorkbookText(std::span<const std::uint8_t> file, const LineSink& appendLine,
                                    ReadBudget budget, SheetLayout layout) {
    office::Archive archive(file, budget);
    WorkbookPart workbook;
    readNeededPart(archive, kWorkbookPart, workbook);
    RelationsPart relations;
    readNeededPart(archive, kWorkbookRelations, relations);

    std::string stringsName(kDefaultSharedStrings);
    for (const Relation& r : relations.relations) {
        if (typeIs(r.type, "sharedStrings")) stringsName = memberName(r.target);
    }
    // A workbook of numbers alone may have none; a cell that names one
    // then finds it missing.
    SharedStringsPart strings(budget);
    archive.read(stringsName, strings, [] { return true; });

    office::LineEmitter lines(appendLine);
    office::ColumnSections columns(budget);
    office::ColumnSections* const byColumns =
        layout == SheetLayout::ColumnSections ? &columns : nullptr;
    for (const Sheet& sheet : workbook.sheets) {
        if (!sheet.visible) continue;
        const auto relation =
            std::find_if(relations.relations.begin(), relations.relations.end(),
                         [&](const Relation& r) { return r.id == sheet.relation; });
        if (relation == relations.relations.end()) throw FileError(kReadPastEnd);
        // Chart sheets and the like hold no cells.
        if (!typeIs(relation->type, "worksheet")) continue;
        // A part that another sheet has shown already (ReadBefore) is not
        // read again: its cells come once.
        WorksheetPart part(strings, lines, byColumns);
        const office::PartResult read = archive.read(memberName(relation->target), part, [&] {
            return !lines.refused() && !part.badReference();
        });
        if (part.badReference() || read == office::PartResult::Missing) {
            throw FileError(kReadPastEnd);
        }
        // A sheet by columns goes on once it has ended.
        if (byColumns && read == office::PartResult::Read) byColumns->emit(lines);
        if (lines.refused()) return WordTextOutcome::AppendRefused;
    }
    return WordTextOutcome::Completed;
}

}  // namespace kivo
