// Random workbooks through the Excel reader: the ZIP directory, the inflate
// within the document's budget, the XML reader, the workbook's parts and
// their relationships, shared strings and cells. The first byte chooses what
// the rest is:
//   even: a whole archive, as a file holds it;
//   odd:  the XML of one part, which the target packs into a workbook of
//         one sheet (deflated when the byte has bit 1 set): the sheet when
//         bit 2 is clear, the shared strings when it is set.
// With bit 3 set the sheets are read a section per column, else row by row.
// Beyond the sanitizers' findings it checks: the only exceptions are the
// loader's own (the read error, a line too long, the budget spent);
// every line is UTF-8 without a CR or LF; a list that refuses a
// line gets exactly the lines before it; by columns, the first line is a
// heading.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "WordFuzz.h"
#include "files/SpreadsheetText.h"
#include "support/ZipWriter.h"

namespace {

constexpr std::string_view kWorkbook =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)"
    R"(<sheet name="a" sheetId="1" r:id="rId1"/><sheet name="b" sheetId="2" state="hidden" )"
    R"(r:id="rId1"/></sheets></workbook>)";
constexpr std::string_view kRelations =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/)"
    R"(relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" )"
    R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" )"
    R"(Target="/xl/sharedStrings.xml"/></Relationships>)";
constexpr std::string_view kStrings =
    R"(<sst><si><t>a</t></si><si><r><t>b</t></r><r><t>c</t></r><rPh><t>x</t></rPh></si></sst>)";
constexpr std::string_view kSheet =
    R"(<worksheet><sheetData><row><c t="s"><v>0</v></c><c t="s"><v>1</v></c><c><v>1.5</v></c>)"
    R"(<c t="s"><v>2</v></c><c t="s"><v>3</v></c><c t="s"><v>99</v></c></row></sheetData></worksheet>)";

kivo::fuzz::Extraction extract(std::span<const std::uint8_t> archive, kivo::SheetLayout layout,
                               std::size_t acceptAtMost) {
    return kivo::fuzz::extractChecked(
        [&](const kivo::LineSink& sink) {
            return kivo::extractWorkbookText(archive, sink, kivo::ReadBudget(), layout);
        },
        acceptAtMost, "\r\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    std::vector<std::uint8_t> archive(rest.begin(), rest.end());
    if (mode & 1) {
        const bool strings = (mode & 4) != 0;
        const bool deflated = (mode & 2) != 0;
        const std::string fuzzed(rest.begin(), rest.end());
        archive = kivo::test::zipOf(
            {{"xl/workbook.xml", std::string(kWorkbook), deflated},
             {"xl/_rels/workbook.xml.rels", std::string(kRelations), deflated},
             {"xl/sharedStrings.xml", strings ? fuzzed : std::string(kStrings), deflated},
             {"xl/worksheets/sheet1.xml", strings ? std::string(kSheet) : fuzzed, deflated}});
    }
    const kivo::SheetLayout layout =
        (mode & 8) != 0 ? kivo::SheetLayout::ColumnSections : kivo::SheetLayout::Rows;
    // A list of its own size: cells never outnumber what the list takes.
    const kivo::fuzz::Extraction all = extract(archive, layout, 100000);
    if (all.broken) return 0;
    if (layout == kivo::SheetLayout::ColumnSections) kivo::fuzz::checkStartsWithHeading(all);
    kivo::fuzz::checkRefusedHalfway(all, extract(archive, layout, all.lines.size() / 2));
    return 0;
}
