// Spreadsheets and OpenDocument texts: the documents LibreOffice wrote of one
// workbook and one text (tests/data/make-office-fixtures.sh) must give
// exactly their lines, packed or flat; broken ones the loader's read error.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "core/ListShape.h"
#include "files/DocumentTests.h"
#include "files/FileError.h"
#include "files/GeneralNumber.h"
#include "files/OpenDocumentText.h"
#include "files/SpreadsheetText.h"
#include "support/ZipWriter.h"

namespace kivo {
namespace {

using namespace kivo::test;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The visible sheets' cells of make-office-fixtures.sh, row by row.
Lines theWorkbook() {
    return {"犬", "猫と鳥", "123", "3.14", "-0.5", "12345678901", "1234567890123", "1.23E-10",
            "1234.56789012345", "246", "0.333333333333333", "0.3", "犬小屋", "結合", "右", "改行前",
            "改行後", "100000000000", "0.000000001", "TRUE",
            // the second visible sheet
            "鳥", "42", "繰", "繰", "同じ", "同じ"};
}

Lines theText() {
    return {"見出し",   "犬", "猫  と鳥", "タブ\t区切り", "改行前", "改行後",   "一つ目",
            "二つ目",   "春", "夏",       "秋",           "冬",     "注の前後", "コメント付き",
            "残す文字", "",   "最後"};
}

TEST(OfficeDocuments, LibreOfficeWorkbooksGiveTheirCells) {
    const Bytes xlsx = fixture("calc-libreoffice-list.xlsx");
    ASSERT_TRUE(looksLikeWorkbook(xlsx));
    WordTextOutcome outcome{};
    EXPECT_EQ(linesOf(xlsx, extractWorkbookText, &outcome), theWorkbook());
    EXPECT_EQ(outcome, WordTextOutcome::Completed);
    for (const char* name : {"calc-libreoffice-list.ods", "calc-libreoffice-list.fods"}) {
        const Bytes ods = fixture(name);
        EXPECT_EQ(openDocumentKind(ods), OpenDocumentKind::Spreadsheet) << name;
        EXPECT_EQ(linesOf(ods, extractOpenDocumentText, &outcome), theWorkbook()) << name;
        EXPECT_EQ(outcome, WordTextOutcome::Completed);
    }
    // A full list stops the reading.
    EXPECT_EQ(linesOf(xlsx, extractWorkbookText, &outcome, 3), (Lines{"犬", "猫と鳥", "123"}));
    EXPECT_EQ(outcome, WordTextOutcome::AppendRefused);
}

// A reader's lines with its sheets by columns, the sink refusing after
// acceptAtMost.
template <typename Extract>
Lines sectionsOf(const Bytes& file, Extract extract, WordTextOutcome* outcome = nullptr,
                 std::size_t acceptAtMost = SIZE_MAX) {
    Lines lines;
    const WordTextOutcome o = extract(
        file,
        [&](std::string_view line) {
            if (lines.size() >= acceptAtMost) return false;
            lines.emplace_back(line);
            return true;
        },
        ReadBudget(), SheetLayout::ColumnSections);
    if (outcome) *outcome = o;
    return lines;
}

TEST(OfficeDocuments, WorkbooksBySectionsGiveAColumnUnderEachHeading) {
    // Row 1 holds the headings; the columns run to different depths; C has
    // entries but no heading and is named; E holds an error value alone and
    // gives nothing; the merged area stands in A only.
    const Lines sections = {"【犬】", "123", "12345678901", "246", "結合", "改行前", "改行後",
                            "100000000000", "【猫と鳥】", "3.14", "1234567890123",
                            "0.333333333333333", "0.000000001", "【C列】", "-0.5", "1.23E-10",
                            "0.3", "右", "TRUE", "【D列】", "1234.56789012345", "犬小屋",
                            // the second visible sheet
                            "【鳥】", "繰", "同じ", "同じ", "【42】", "繰"};
    EXPECT_EQ(sectionsOf(fixture("calc-libreoffice-list.xlsx"), extractWorkbookText), sections);
    for (const char* name : {"calc-libreoffice-list.ods", "calc-libreoffice-list.fods"}) {
        EXPECT_EQ(sectionsOf(fixture(name), extractOpenDocumentText), sections) << name;
    }
}

TEST(OfficeDocuments, LibreOfficeTextsGiveTheirParagraphs) {
    for (const char* name : {"writer-libreoffice-list.odt", "writer-libreoffice-list.fodt"}) {
        const Bytes odt = fixture(name);
        EXPECT_EQ(openDocumentKind(odt), OpenDocumentKind::Text) << name;
        WordTextOutcome outcome{};
        EXPECT_EQ(linesOf(odt, extractOpenDocumentText, &outcome), theText()) << name;
        EXPECT_EQ(outcome, WordTextOutcome::Completed);
    }
    // Neither a workbook nor an OpenDocument: a .docx, a ZIP of something
    // else, XML of something else.
    const Bytes docx = fixture("word-libreoffice-list.docx");
    EXPECT_FALSE(looksLikeWorkbook(docx));
    EXPECT_EQ(openDocumentKind(docx), OpenDocumentKind::None);
    EXPECT_EQ(openDocumentKind(bytesOf("<?xml version=\"1.0\"?><html/>")), OpenDocumentKind::None);
}

TEST(OfficeDocuments, ExcelsOwnWaysWithText) {
    // What Excel writes and LibreOffice does not: the reading of Japanese
    // text as a phonetic guide, escaped CRs, inline strings, paths from the
    // archive's root, a sheet a relationship names in another folder.
    const Bytes xlsx = zipOf({
        {"xl/workbook.xml",
         "<workbook "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
         "<sheets><sheet name=\"s\" r:id=\"rId9\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId9\" Type=\"http://x/worksheet\" "
         "Target=\"/xl/sheets/../ws/a.xml\"/><Relationship Id=\"rId2\" "
         "Type=\"http://x/sharedStrings\" Target=\"strings.xml\"/></Relationships>"},
        {"xl/strings.xml",
         "<sst><si><r><t>東</t></r><r><t>京</t></r><rPh sb=\"0\" eb=\"2\"><t>トウキョウ</t></rPh>"
         "</si><si><t>一_x000D_\n二_x005F_x0041_</t></si></sst>"},
        {"xl/ws/a.xml",
         "<worksheet><sheetData><row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c>"
         "<c t=\"inlineStr\"><is><t>中</t></is></c><c t=\"b\"><v>0</v></c>"
         "<c t=\"e\"><v>#N/A</v></c><c><v>-0</v></c><c t=\"s\"/></row></sheetData></worksheet>"},
    });
    ASSERT_TRUE(looksLikeWorkbook(xlsx));
    EXPECT_EQ(linesOf(xlsx, extractWorkbookText),
              (Lines{"東京", "一", "二_x0041_", "中", "FALSE", "0"}));
}

TEST(OfficeDocuments, WorkbookNamesAreToldByNamespaceNotPrefix) {
    // Strict's namespaces under prefixes of the writer's choosing (as the
    // Open XML SDK writes x:); a name of another namespace is not a cell.
    const std::string main = "http://purl.oclc.org/ooxml/spreadsheetml/main";
    const Bytes xlsx = zipOf({
        {"xl/workbook.xml", "<x:workbook xmlns:x=\"" + main +
                                "\" xmlns:q=\"http://purl.oclc.org/ooxml/officeDocument/"
                                "relationships\"><x:sheets><x:sheet q:id=\"a\" r:id=\"b\"/>"
                                "</x:sheets></x:workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<p:Relationships "
         "xmlns:p=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<p:Relationship Id=\"a\" Type=\"http://x/worksheet\" Target=\"s.xml\"/>"
         "</p:Relationships>"},
        {"xl/s.xml", "<worksheet xmlns=\"" + main +
                         "\" xmlns:o=\"other\"><sheetData><row><c t=\"str\"><v>a</v></c>"
                         "<o:c t=\"str\"><v>b</v></o:c></row></sheetData></worksheet>"},
    });
    EXPECT_EQ(linesOf(xlsx, extractWorkbookText), Lines{"a"});
}

TEST(OfficeDocuments, BrokenDocumentsAreReadErrors) {
    for (const char* name : {"calc-libreoffice-list.xlsx", "calc-libreoffice-list.ods",
                             "writer-libreoffice-list.odt", "writer-libreoffice-list.fodt"}) {
        const Bytes whole = fixture(name);
        const Bytes cut(whole.begin(),
                        whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
        expectReadError(
            [&] {
                if (looksLikeWorkbook(cut)) {
                    extractWorkbookText(cut, [](std::string_view) { return true; });
                } else {
                    ASSERT_NE(openDocumentKind(cut), OpenDocumentKind::None);
                    extractOpenDocumentText(cut, [](std::string_view) { return true; });
                }
            },
            name);
    }
    // Cells name shared strings the workbook no longer has.
    Bytes xlsx = fixture("calc-libreoffice-list.xlsx");
    const std::string_view part = "xl/sharedStrings.xml";
    for (auto at = xlsx.begin();
         (at = std::search(xlsx.begin(), xlsx.end(), part.begin(), part.end())) != xlsx.end();) {
        at[3] = 'X';
    }
    expectReadError([&] { linesOf(xlsx, extractWorkbookText); }, "no shared strings");
}

TEST(OfficeDocuments, RepeatedCellsComeAsOftenAsAFullListTakes) {
    // Calc's last row: a million rows of empty cells, which stay nothing;
    // a repeated cell with text stops when the list is full.
    const std::string flat =
        "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">"
        "<office:body><office:spreadsheet><table:table>"
        "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell><text:p>a</text:p>"
        "</table:table-cell><table:table-cell table:number-columns-repeated=\"2\">"
        "<text:p>b</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
        "table:number-columns-repeated=\"16384\"/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"99999999999999999999\"><table:table-cell "
        "table:number-columns-repeated=\"4294967296\"><text:p>c</text:p></table:table-cell>"
        "</table:table-row></table:table></office:spreadsheet></office:body></office:document>";
    WordTextOutcome outcome{};
    const Lines lines = linesOf(bytesOf(flat), extractOpenDocumentText, &outcome, 10);
    EXPECT_EQ(lines, (Lines{"a", "b", "b", "a", "b", "b", "c", "c", "c", "c"}));
    EXPECT_EQ(outcome, WordTextOutcome::AppendRefused);
}

TEST(OfficeDocuments, SheetsBySectionsKeepColumnsWhereRepeatsAndMergesPutThem) {
    // Columns counted through repeated and covered cells; a heading's lines
    // joined, its blanks trimmed; a repeated row's cells as often as it
    // stands; a sheet whose only row showing something is its headings, an
    // empty one, a hidden one; a million empty rows that cost nothing; and
    // repeats past any list, which stop when the list is full.
    const auto cell = [](const std::string& text, const std::string& attributes = "") {
        return "<table:table-cell" + attributes + "><text:p>" + text +
               "</text:p></table:table-cell>";
    };
    const auto row = [](const std::string& cells, const std::string& attributes = "") {
        return "<table:table-row" + attributes + ">" + cells + "</table:table-row>";
    };
    const auto sheet = [](const std::string& rows, const std::string& attributes = "") {
        return "<table:table" + attributes + ">" + rows + "</table:table>";
    };
    const auto across = [](const char* columns) {
        return std::string(" table:number-columns-repeated=\"") + columns + "\"";
    };
    const auto down = [](const char* rows) {
        return std::string(" table:number-rows-repeated=\"") + rows + "\"";
    };
    const std::string empties = row("<table:table-cell" + across("16384") + "/>", down("1048570"));
    const std::string first =
        row("<table:table-cell><text:p>　動物 </text:p><text:p> 名<text:line-break/>前</text:p>"
            "</table:table-cell>" +
            cell("色", across("2")) + "<table:table-cell/>" +
            cell("結合", " table:number-columns-spanned=\"2\"") + "<table:covered-table-cell/>" +
            cell("最後")) +
        row(cell("犬") + "<table:table-cell" + across("2") + "/>" + cell("灰") +
                cell("#DIV/0!", " calcext:value-type=\"error\""),
            down("2")) +
        empties + row("<table:covered-table-cell" + across("3") + "/>" + cell("黒")) +
        row("<table:table-cell" + across("5") + "/>" + cell("下"));
    const std::string headingsOnly =
        row("<table:table-cell/>", down("3")) + row(cell("見出しだけ", across("1"))) + empties;
    const std::string pastAnyList =
        row(cell("h", across("4294967296")), down("2")) +
        row(cell("c", across("4294967296")), down("99999999999999999999"));
    const std::string flat =
        "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">"
        "<office:automatic-styles><style:style style:name=\"h\" style:family=\"table\">"
        "<style:table-properties table:display=\"false\"/></style:style>"
        "</office:automatic-styles><office:body><office:spreadsheet>" +
        sheet(first) + sheet(row(cell("隠し")), " table:style-name=\"h\"") + sheet(headingsOnly) +
        sheet(empties) + sheet(pastAnyList) +
        "</office:spreadsheet></office:body></office:document>";
    const Lines sections = {"【動物 名 前】", "犬", "犬", "【色】", "【色】", "【D列】", "灰", "灰",
                            "黒", "【結合】", "【F列】", "下", "【最後】",
                            // the sheet of headings alone; the sheet past any list
                            "【見出しだけ】", "【h】", "h", "c", "c"};
    WordTextOutcome outcome{};
    EXPECT_EQ(sectionsOf(bytesOf(flat), extractOpenDocumentText, &outcome, sections.size()),
              sections);
    EXPECT_EQ(outcome, WordTextOutcome::AppendRefused);
}

// ---- hostile documents: what one may cost ----------------------------------

constexpr const char* kFlatText =
    "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text>";

Bytes flatText(const std::string& body) {
    return bytesOf(kFlatText + body + "</office:text></office:body></office:document>");
}

// A workbook whose sheets are the parts named, each with its own
// relationship, and more members as given.
Bytes workbookOf(const std::vector<std::string>& sheets, std::vector<ZipMember> more) {
    std::string list, relations;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string id = "rId" + std::to_string(i + 1);
        list += "<sheet name=\"" + id + "\" r:id=\"" + id + "\"/>";
        relations += "<Relationship Id=\"" + id + "\" Type=\"http://x/worksheet\" Target=\"" +
                     sheets[i] + "\"/>";
    }
    more.insert(more.begin(),
                {{"xl/workbook.xml",
                  "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                  "relationships\"><sheets>" +
                      list + "</sheets></workbook>"},
                 {"xl/_rels/workbook.xml.rels",
                  "<Relationships>" + relations +
                      "<Relationship Id=\"s\" Type=\"http://x/sharedStrings\" "
                      "Target=\"strings.xml\"/></Relationships>"}});
    return zipOf(more);
}

std::string sheetOf(const std::string& rows) {
    return "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
}

const LineSink kTakesAll = [](std::string_view) { return true; };

TEST(OfficeDocuments, ALineIsJudgedAsItGrowsNotOnceItIsBuilt) {
    // Each text:s stands for 4,096 spaces: 3,000 of them, 70 KB of XML, a
    // paragraph of 12 MiB. It is refused as a text file with a line that
    // long is, before it is built past the longest line a list takes.
    std::string spaces;
    for (int i = 0; i < 3000; ++i) spaces += "<text:s text:c=\"4096\"/>";
    std::uint64_t spent = 0;
    const ReadBudget counted([&](std::uint64_t total) { spent = total; });
    expectTooLong(
        [&] {
            extractOpenDocumentText(flatText("<text:p>a" + spaces + "b</text:p>"), kTakesAll,
                                    counted);
        },
        "a paragraph of spaces");
    EXPECT_LT(spent, 2u << 20);
    // Each line its breaks end is judged alone.
    const std::string half = spaces.substr(0, spaces.size() / 12);
    EXPECT_EQ(linesOf(flatText("<text:p>a" + half + "<text:line-break/>" + half + "b</text:p>"),
                      extractOpenDocumentText)
                  .size(),
              2u);
}

TEST(OfficeDocuments, ACellLongerThanAnyLineIsALineTooLong) {
    // Four megabytes of one letter deflate past a thousand to one: a cell
    // too long, not a broken archive.
    const std::string longest(kLongestLineBytes, 'x');
    const std::string tooLong(4 * kLongestLineBytes, 'x');
    const auto formula = [](const std::string& value) {
        return workbookOf({"s.xml"}, {{"xl/s.xml", sheetOf("<row><c t=\"str\"><f>REPT(\"x\",1E8)"
                                                           "</f><v>" +
                                                           value + "</v></c></row>")}});
    };
    EXPECT_EQ(linesOf(formula(longest), extractWorkbookText), Lines{longest});
    expectTooLong([&] { linesOf(formula(longest + "x"), extractWorkbookText); }, ".xlsx");
    expectTooLong([&] { linesOf(formula(tooLong), extractWorkbookText); }, ".xlsx of 4 MiB");
    const Bytes ods =
        zipOf({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", false},
               {"content.xml",
                "<office:document-content "
                "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
                "<office:spreadsheet><table:table><table:table-row><table:table-cell><text:p>" +
                    tooLong +
                    "</text:p></table:table-cell></table:table-row></table:table>"
                    "</office:spreadsheet></office:body></office:document-content>"}});
    expectTooLong([&] { linesOf(ods, extractOpenDocumentText); }, ".ods");
}

TEST(OfficeDocuments, APartIsReadOnceWhateverPointsAtIt) {
    // Three sheets on one part; three names in the archive's directory on
    // one local header: its cells come once.
    const ZipMember sheet{"xl/s.xml", sheetOf("<row><c t=\"str\"><v>a</v></c></row>")};
    EXPECT_EQ(linesOf(workbookOf({"s.xml", "s.xml", "s.xml"}, {sheet}), extractWorkbookText),
              Lines{"a"});
    const Bytes aliases = workbookOf(
        {"s.xml", "t.xml", "u.xml"},
        {sheet, {"xl/t.xml", "", true, -1, "xl/s.xml"}, {"xl/u.xml", "", true, -1, "xl/s.xml"}});
    EXPECT_EQ(linesOf(aliases, extractWorkbookText), Lines{"a"});
}

TEST(OfficeDocuments, WhatADocumentInflatesAndKeepsIsSpentFromOneBudget) {
    // Two sheets of empty rows, 42 KB each: either fits 64 KiB, the two
    // together do not, and the document is refused as memory.
    std::string rows;
    for (int i = 0; i < 7000; ++i) rows += "<row/>";
    const Bytes sheets = workbookOf(
        {"s.xml", "t.xml"}, {{"xl/s.xml", sheetOf(rows)}, {"xl/t.xml", sheetOf(rows + " ")}});
    EXPECT_NO_THROW(extractWorkbookText(sheets, kTakesAll, ReadBudget(128u << 10)));
    EXPECT_THROW(extractWorkbookText(sheets, kTakesAll, ReadBudget(64u << 10)), std::bad_alloc);
    // 200,000 empty shared strings: 1 MB of XML that the workbook keeps an
    // index of, 1 MiB, shown or not.
    std::string items;
    for (int i = 0; i < 200000; ++i) items += "<si/>";
    const Bytes strings = workbookOf(
        {"s.xml"}, {{"xl/s.xml", sheetOf("")}, {"xl/strings.xml", "<sst>" + items + "</sst>"}});
    EXPECT_NO_THROW(extractWorkbookText(strings, kTakesAll, ReadBudget(4u << 20)));
    EXPECT_THROW(extractWorkbookText(strings, kTakesAll, ReadBudget(3u << 19)), std::bad_alloc);
}

TEST(OfficeDocuments, ASheetByColumnsIsHeldWithinTheBudgetAndItsHeadingsJudged) {
    // 2,000 cells of 1,000 bytes, 2 MB of XML: read row by row within
    // 3 MiB, held by columns they take 2 MB more, and the document is
    // refused as memory.
    const auto extract = [](const Bytes& file, SheetLayout layout, std::uint64_t budget) {
        return extractWorkbookText(file, kTakesAll, ReadBudget(budget), layout);
    };
    const std::string value(1000, 'x');
    std::string rows;
    for (int i = 0; i < 2000; ++i) rows += "<row><c t=\"str\"><v>" + value + "</v></c></row>";
    const Bytes held = workbookOf({"s.xml"}, {{"xl/s.xml", sheetOf(rows)}});
    EXPECT_NO_THROW(extract(held, SheetLayout::Rows, 3u << 20));
    EXPECT_THROW(extract(held, SheetLayout::ColumnSections, 3u << 20), std::bad_alloc);
    EXPECT_NO_THROW(extract(held, SheetLayout::ColumnSections, 5u << 20));
    // A heading's lines, each short enough for a list, joined past the
    // longest line: refused as a line too long.
    const std::string half(kLongestLineBytes / 2, 'x');
    const Bytes joined = workbookOf(
        {"s.xml"},
        {{"xl/s.xml", sheetOf("<row><c t=\"str\"><v>" + half + "\n" + half + "</v></c></row>")}});
    EXPECT_EQ(linesOf(joined, extractWorkbookText), (Lines{half, half}));
    expectTooLong([&] { extract(joined, SheetLayout::ColumnSections, 64u << 20); },
                  "a heading joined");
}

TEST(OfficeDocuments, GeneralNumbersAsASpreadsheetShowsThem) {
    const std::pair<double, const char*> shown[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-1234.5, "-1234.5"},
        {4901234567894.0, "4901234567894"},  // a product code stays whole
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {1.5e17, "1.5E+17"},
        {1e-9, "0.000000001"},
        {9.9e-10, "9.9E-10"},
        {1.7976931348623157e308, "1.79769313486232E+308"},
        {999999999999999.9, "1E+15"},  // rounding moves it up a digit
    };
    for (const auto& [value, text] : shown) EXPECT_EQ(generalNumber(value), text) << value;
}

}  // namespace
}  // namespace kivo
