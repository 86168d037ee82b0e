// Word documents of today's tools: Word 97–2003 files read through their own
// structure, and .docx. The documents LibreOffice wrote of one list
// (tests/data/make-word-fixtures.sh) must give exactly its lines; broken
// documents and ZIP bombs, made here byte by byte, the loader's read error.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "core/LittleEndian.h"
#include "files/DocumentTests.h"
#include "files/DocxText.h"
#include "files/FileError.h"
#include "files/WordPieceText.h"
#include "files/WordText.h"
#include "files/XmlReader.h"
#include "files/ZipArchive.h"
#include "support/ZipWriter.h"

namespace kivo {
namespace {

using namespace kivo::test;

// The list of make-word-fixtures.sh, line by line.
Lines theList() {
    std::string longLine = "長い段落";
    for (int i = 0; i < 300; ++i) longLine += "あいうえおかきくけこ";
    return {"犬", "猫と鳥", "ｶﾀｶﾅ半角", "タブ\t区切り",   "改行前",  "改行後", "春",  "夏",
            "秋", "冬",     "ページ1",  "残す文字と挿入", "絵文字😀", longLine, "最後"};
}

Lines docLines(const Bytes& file, WordTextOutcome* outcome = nullptr, std::size_t at = SIZE_MAX) {
    return linesOf(file, extractWordPieceText, outcome, at);
}
Lines docxLines(const Bytes& file, WordTextOutcome* outcome = nullptr, std::size_t at = SIZE_MAX) {
    return linesOf(file, extractDocxText, outcome, at);
}

// ---- ZIP archives written here --------------------------------------------

Bytes docxOf(const std::string& body, const std::string& namespaces = "") {
    return zipOf(
        {{"[Content_Types].xml", "<Types/>"},
         {"word/document.xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
          "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
          "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"" +
              namespaces + "><w:body>" + body + "</w:body></w:document>"}});
}

// ---- The LibreOffice documents --------------------------------------------

TEST(WordDocuments, LibreOfficeDocHasNoLineAtTheFixedPlaces) {
    // Why the loader reads it through its structure: the fixed places of
    // the old road hold none of its text.
    const Bytes doc = fixture("word-libreoffice-list.doc");
    ASSERT_FALSE(doc.empty());
    MemoryByteReader file(doc);
    int lines = 0;
    extractWordText(file, [&](std::string_view) { return ++lines > 0; });
    EXPECT_EQ(lines, 0);
}

TEST(WordDocuments, LibreOfficeDocGivesTheListsLines) {
    WordTextOutcome outcome{};
    EXPECT_EQ(docLines(fixture("word-libreoffice-list.doc"), &outcome), theList());
    EXPECT_EQ(outcome, WordTextOutcome::Completed);
}

TEST(WordDocuments, LibreOfficeDocxGivesTheListsLines) {
    const Bytes docx = fixture("word-libreoffice-list.docx");
    EXPECT_TRUE(looksLikeDocx(docx));
    WordTextOutcome outcome{};
    EXPECT_EQ(docxLines(docx, &outcome), theList());
    EXPECT_EQ(outcome, WordTextOutcome::Completed);
}

TEST(WordDocuments, AListThatIsFullStopsBothReaders) {
    const Lines list = theList();
    WordTextOutcome outcome{};
    EXPECT_EQ(docLines(fixture("word-libreoffice-list.doc"), &outcome, 3),
              Lines(list.begin(), list.begin() + 3));
    EXPECT_EQ(outcome, WordTextOutcome::AppendRefused);
    EXPECT_EQ(docxLines(fixture("word-libreoffice-list.docx"), &outcome, 3),
              Lines(list.begin(), list.begin() + 3));
    EXPECT_EQ(outcome, WordTextOutcome::AppendRefused);
}

// ---- Broken .doc ------------------------------------------------------------

TEST(WordDocuments, BrokenDocIsAReadError) {
    const Bytes doc = fixture("word-libreoffice-list.doc");
    // Cut short: the FAT names sectors the file no longer has.
    expectReadError([&] { docLines(Bytes(doc.begin(), doc.begin() + 4096)); }, "cut short");
    // A FAT that claims more sectors than the file holds.
    Bytes manyFat = doc;
    manyFat[44] = 0xFF, manyFat[45] = 0xFF;
    expectReadError([&] { docLines(manyFat); }, "FAT count");
    // A sector size the format does not know.
    Bytes shift = doc;
    shift[30] = 20;
    expectReadError([&] { docLines(shift); }, "sector shift");
    // The piece table points outside the table stream: every FIB offset
    // of the CLX set past the end.
    Bytes clx = doc;
    std::size_t fib = 512;  // the WordDocument stream's first sector: the FIB's identifier
    while (fib + 2 < clx.size() && !(clx[fib] == 0xEC && clx[fib + 1] == 0xA5)) fib += 512;
    ASSERT_LT(fib + 0x9A + 34 * 8, clx.size());
    const std::size_t fcClx = fib + 0x9A + 33 * 8;
    clx[fcClx + 3] = 0x7F;
    expectReadError([&] { docLines(clx); }, "CLX offset");
}

TEST(WordDocuments, ACompoundFileWithoutWordDocumentHasNoText) {
    Bytes doc = fixture("word-libreoffice-list.doc");
    const std::u16string name = u"WordDocument";
    const auto entry =
        std::search(doc.begin(), doc.end(), reinterpret_cast<const std::uint8_t*>(name.data()),
                    reinterpret_cast<const std::uint8_t*>(name.data() + name.size()));
    ASSERT_NE(entry, doc.end());
    *entry = 'X';  // now "XordDocument"
    WordTextOutcome outcome{};
    EXPECT_TRUE(docLines(doc, &outcome).empty());
    EXPECT_EQ(outcome, WordTextOutcome::Completed);
}

// ---- .doc written here ----------------------------------------------------

void putAt(Bytes& b, std::size_t at, std::uint32_t v, int bytes = 4) {
    for (int k = 0; k < bytes; ++k)
        b[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
}

struct PieceSpec {
    std::uint32_t characters;
    std::uint32_t
        fc;  // as the piece table stores it: compressed pieces at twice the offset, bit 30 set
    std::uint16_t prm = 0;
};

// A compound file of 512-byte sectors: FAT, directory, WordDocument, 1Table.
// The WordDocument stream holds a Word 97 FIB and whatever the test puts at
// its offsets 1024 and up; the table stream holds the piece table.
Bytes docOf(const std::vector<std::pair<std::size_t, Bytes>>& text,
            const std::vector<PieceSpec>& pieces, std::uint32_t ccpText) {
    Bytes word(8192, 0), table(4096, 0);
    putAt(word, 0, 0xA5EC, 2), putAt(word, 2, 0xC1, 2), putAt(word, 0x0A, 0x0200, 2);
    putAt(word, 32, 14, 2), putAt(word, 62, 22, 2), putAt(word, 64 + 12, ccpText);
    putAt(word, 152, 93, 2);
    for (const auto& [at, bytes] : text)
        std::copy(bytes.begin(), bytes.end(), word.begin() + static_cast<std::ptrdiff_t>(at));
    // CLX: the piece table alone.
    const std::size_t n = pieces.size();
    const auto plc = static_cast<std::uint32_t>(4 * (n + 1) + 8 * n);
    table[0] = 0x02;
    putAt(table, 1, plc);
    std::uint32_t cp = 0;
    for (std::size_t i = 0; i < n; ++i) {
        putAt(table, 5 + 4 * i, cp);
        cp += pieces[i].characters;
        putAt(table, 5 + 4 * (n + 1) + 8 * i + 2, pieces[i].fc);
        putAt(table, 5 + 4 * (n + 1) + 8 * i + 6, pieces[i].prm, 2);
    }
    putAt(table, 5 + 4 * n, cp);
    putAt(word, 154 + 33 * 8, 0), putAt(word, 154 + 33 * 8 + 4, 5 + plc);

    const std::size_t wordSectors = word.size() / 512, tableSectors = table.size() / 512;
    Bytes file(512 * (3 + wordSectors + tableSectors), 0);
    const std::uint8_t sig[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(std::begin(sig), std::end(sig), file.begin());
    putAt(file, 24, 0x3E, 2), putAt(file, 26, 3, 2), putAt(file, 28, 0xFFFE, 2);
    putAt(file, 30, 9, 2), putAt(file, 32, 6, 2), putAt(file, 44, 1), putAt(file, 48, 1);
    putAt(file, 56, 4096), putAt(file, 60, 0xFFFFFFFE), putAt(file, 68, 0xFFFFFFFE);
    for (std::size_t i = 0; i < 109; ++i) putAt(file, 76 + 4 * i, i == 0 ? 0 : 0xFFFFFFFF);
    // FAT: itself, the directory, then each stream's chain.
    const std::size_t fat = 512, directory = 1024;
    for (std::size_t i = 0; i < 128; ++i) putAt(file, fat + 4 * i, 0xFFFFFFFF);
    putAt(file, fat, 0xFFFFFFFD), putAt(file, fat + 4, 0xFFFFFFFE);
    std::uint32_t sector = 2;
    for (const std::size_t count : {wordSectors, tableSectors}) {
        for (std::size_t k = 0; k < count; ++k, ++sector) {
            putAt(file, fat + 4 * sector, k + 1 < count ? sector + 1 : 0xFFFFFFFE);
        }
    }
    auto entry = [&](std::size_t id, std::u16string_view name, std::uint8_t type,
                     std::uint32_t right, std::uint32_t child, std::uint32_t start,
                     std::uint32_t size) {
        const std::size_t e = directory + 128 * id;
        for (std::size_t k = 0; k < name.size(); ++k) putAt(file, e + 2 * k, name[k], 2);
        putAt(file, e + 64, static_cast<std::uint32_t>(2 * (name.size() + 1)), 2);
        file[e + 66] = type;
        putAt(file, e + 68, 0xFFFFFFFF), putAt(file, e + 72, right), putAt(file, e + 76, child);
        putAt(file, e + 116, start), putAt(file, e + 120, size);
    };
    entry(0, u"Root Entry", 5, 0xFFFFFFFF, 1, 0xFFFFFFFE, 0);
    entry(1, u"WordDocument", 2, 2, 0xFFFFFFFF, 2, static_cast<std::uint32_t>(word.size()));
    entry(2, u"1Table", 2, 0xFFFFFFFF, 0xFFFFFFFF, static_cast<std::uint32_t>(2 + wordSectors),
          static_cast<std::uint32_t>(table.size()));
    std::copy(word.begin(), word.end(), file.begin() + 512 * 3);
    std::copy(table.begin(), table.end(),
              file.begin() + static_cast<std::ptrdiff_t>(512 * (3 + wordSectors)));
    return file;
}

Bytes latin(std::string_view s) { return Bytes(s.begin(), s.end()); }
Bytes utf16(std::u16string_view s) {
    Bytes b;
    for (const char16_t u : s)
        b.push_back(static_cast<std::uint8_t>(u)), b.push_back(static_cast<std::uint8_t>(u >> 8));
    return b;
}

TEST(WordDocuments, DocPiecesFieldsMarksAndSpecialCharacters) {
    // A compressed piece (Windows-1252) with a field, a UTF-16 piece with a
    // nested field in a field code, a line break, a cell mark, a picture, a
    // drawing, a page break after text and a surrogate pair, and a piece the
    // piece table marks as deleted.
    const Bytes compressed = latin(
        "caf\xE9 \x80\x13 PAGE \x14"
        "1\x15\r");
    const std::u16string wide = u"\x13 A \x13 B \x14no\x15 \x14r\x15\x0B猫\x07\x01\x08x\x0C😀y\r";
    const Bytes gone = utf16(u"消\r");
    const Bytes doc = docOf({{1024, compressed}, {2048, utf16(wide)}, {3072, gone}},
                            {{static_cast<std::uint32_t>(compressed.size()), 0x40000000u | 2048},
                             {static_cast<std::uint32_t>(wide.size()), 2048},
                             {2, 3072, static_cast<std::uint16_t>(0x41 << 1 | 1 << 8)}},
                            static_cast<std::uint32_t>(compressed.size() + wide.size() + 2));
    EXPECT_EQ(docLines(doc), (Lines{"café €1", "r", "猫", "x", "😀y"}));
    // The text ends where the FIB says: the rest of the pieces is no text.
    const Bytes cut =
        docOf({{1024, compressed}},
              {{static_cast<std::uint32_t>(compressed.size()), 0x40000000u | 2048}}, 3);
    EXPECT_EQ(docLines(cut), Lines{"caf"});
}

TEST(WordDocuments, DocPiecesOutsideTheStreamOrOverlappingAreReadErrors) {
    expectReadError([] { docLines(docOf({}, {{100, 8000}}, 100)); }, "piece past the stream's end");
    // Many pieces over the same bytes: more text than the stream has bytes.
    const std::vector<PieceSpec> overlapping(40, PieceSpec{200, 1024});
    expectReadError([&] { docLines(docOf({}, overlapping, 40 * 200)); }, "overlapping pieces");
}

// ---- .docx written here ---------------------------------------------------

TEST(WordDocuments, DocxParagraphsRunsFieldsAndRevisions) {
    const std::string body =
        // tab stops in the properties are no tab; a tab, a break, a page
        // break after text and one before any
        "<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr>"
        "<w:r><w:t>a</w:t><w:tab/><w:t xml:space=\"preserve\">b &amp; &lt;c&gt; &#x732B;</w:t>"
        "<w:br/><w:t>d</w:t><w:br w:type=\"page\"/><w:t>d2</w:t></w:r></w:p>"
        "<w:p><w:r><w:br w:type=\"page\"/><w:t>e</w:t></w:r></w:p>"
        // a complex field with a nested one in its code, a simple field
        "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>REF </w:instrText>"
        "<w:fldChar w:fldCharType=\"begin\"/><w:instrText>X</w:instrText><w:fldChar "
        "w:fldCharType=\"separate\"/>"
        "<w:t>inner</w:t><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>結果</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:fldSimple w:instr=\"PAGE\"><w:r><w:t>7</w:t></w:r></w:fldSimple></w:p>"
        // a deletion, an insertion, a moved-away run; a deleted paragraph mark
        // joins the next paragraph
        "<w:p><w:r><w:t>残</w:t></w:r><w:del><w:r><w:delText>消</w:delText><w:t>x</w:t></w:r></"
        "w:del>"
        "<w:ins><w:r><w:t>加</w:t></w:r></w:ins><w:moveFrom><w:r><w:t>移</w:t></w:r></w:moveFrom>"
        "<w:pPr><w:rPr><w:del/></w:rPr></w:pPr></w:p>"
        "<w:p><w:r><w:t>続き</w:t></w:r></w:p>"
        // text boxes and fallbacks are no part of the body's lines
        "<w:p><w:r><mc:AlternateContent><mc:Choice><w:drawing/></mc:Choice><mc:Fallback><w:pict>"
        "<w:txbxContent><w:p><w:r><w:t>箱</w:t></w:r></w:p></w:txbxContent></w:pict></mc:Fallback>"
        "</mc:AlternateContent><w:t>本文</w:t></w:r></w:p>"
        // a table, an empty paragraph, CDATA
        "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>左</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>右</w:t>"
        "</w:r></w:p></w:tc></w:tr></w:tbl><w:p/><w:p><w:r><w:t><![CDATA[<raw>]]></w:t></w:r></"
        "w:p>";
    EXPECT_EQ(docxLines(docxOf(body)), (Lines{"a\tb & <c> 猫", "d", "d2", "e", "結果7", "残加続き",
                                              "本文", "左", "右", "", "<raw>"}));
}

TEST(WordDocuments, DocxNamespacesDecideNotPrefixes) {
    // Another prefix for the WordprocessingML namespace; "w" bound to
    // something else inside is not Word's.
    const Bytes docx = zipOf(
        {{"word/document.xml",
          "<x:document xmlns:x=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
          "<x:body><x:p><x:r><x:t>one</x:t></x:r></x:p>"
          "<x:p xmlns:w=\"urn:other\"><w:p/><x:r><x:t>two</x:t></x:r></x:p>"
          "</x:body></x:document>"}});
    EXPECT_EQ(docxLines(docx), (Lines{"one", "two"}));
}

TEST(WordDocuments, DocxIsFoundByContentNotByName) {
    EXPECT_TRUE(looksLikeDocx(docxOf("")));
    EXPECT_FALSE(looksLikeDocx(zipOf({{"xl/workbook.xml", "<workbook/>"}})));
    const std::string text = "word/document.xml in plain text";
    EXPECT_FALSE(looksLikeDocx(Bytes(text.begin(), text.end())));
}

TEST(WordDocuments, BrokenDocxIsAReadError) {
    const Bytes good = docxOf("<w:p><w:r><w:t>ok</w:t></w:r></w:p>");
    ASSERT_EQ(docxLines(good), Lines{"ok"});
    expectReadError([&] { docxLines(Bytes(good.begin(), good.end() - 30)); }, "cut short");
    Bytes badData = good;
    const std::string name = "word/document.xml";
    const auto local = std::search(badData.begin(), badData.end(), name.begin(), name.end());
    for (auto it = local + static_cast<std::ptrdiff_t>(name.size()); it != local + 40; ++it)
        *it ^= 0x5A;
    expectReadError([&] { docxLines(badData); }, "damaged deflate data");
    Bytes offset = good;
    offset[offset.size() - 6] = 0xF0;  // the central directory's offset
    expectReadError([&] { docxLines(offset); }, "directory offset");
    expectReadError([&] { docxLines(docxOf("<w:p><w:r><w:t>x</w:r></w:t></w:p>")); },
                    "mismatched tags");
    expectReadError([&] { docxLines(docxOf("<w:p><w:r><w:t>x")); }, "unclosed elements");
    std::string deep;
    for (std::size_t i = 0; i < xml::kMaxXmlDepth; ++i) deep += "<a>";
    expectReadError([&] { docxLines(docxOf(deep)); }, "nested too deep");
}

TEST(WordDocuments, XmlReadsTheSameWholeOrInChunks) {
    // The reader holds cut markup and references over; a reference ends at
    // its first ';' before any other '&' (a case the fuzzer found).
    class Log : public xml::Handler {
    public:
        void startElement(std::string_view name,
                          const std::vector<xml::Attribute>& attributes) override {
            out += "<" + std::string(name);
            for (const auto& a : attributes)
                out += " " + std::string(a.name) + "=" + std::string(a.value);
            out += ">";
        }
        void endElement(std::string_view name) override { out += "</" + std::string(name) + ">"; }
        void text(std::string_view utf8) override { out += utf8; }
        std::string out;
    };
    const std::string xml =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY e \"x\"><!-- ] > -->]><!-- c -->"
        "<d a=\"1 &amp; 2\" b='>'>t&lt;&#x732B;&#29483;<![CDATA[<&>]]>&#xk]]>&e;<e/></d>";
    Log whole;
    xml::Reader reader(whole);
    ASSERT_TRUE(reader.feed(xml) && reader.finish());
    EXPECT_EQ(whole.out, "<d a=1 & 2 b=>>t<猫猫<&>&#xk]]>&e;<e></e></d>");
    for (std::size_t chunk = 1; chunk < 8; ++chunk) {
        Log log;
        xml::Reader r(log);
        bool ok = true;
        // Each chunk overwrites the last, as a caller's buffer would.
        std::string piece;
        for (std::size_t at = 0; ok && at < xml.size(); at += chunk) {
            piece.assign(xml, at, chunk);
            ok = r.feed(piece);
        }
        EXPECT_TRUE(ok && r.finish()) << chunk;
        EXPECT_EQ(log.out, whole.out) << chunk;
    }
}

TEST(WordDocuments, LargeDocxInflatedAheadGivesTheSameLinesAndErrors) {
    // Past the size inflated on a thread of its own, so that the handing
    // over between the threads is tried: whole, stopped, thrown out of and
    // damaged.
    std::string body;
    std::size_t count = 0;
    while (body.size() < (6u << 20)) {
        body += "<w:p><w:r><w:t>行" + std::to_string(count++) + "</w:t></w:r></w:p>";
        // Far into the document, a line that must be mended among those
        // that need not.
        if (count == 30000)
            body +=
                "<w:p><w:r><w:t>a\xFF\xE3\x81"
                "b&#10;c\r\nd</w:t></w:r></w:p>";
    }
    ++count;
    const std::string xml =
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:body>" +
        body + "</w:body></w:document>";
    const Bytes docx = zipOf({{"word/document.xml", xml}});
    const Lines lines = docxLines(docx);
    ASSERT_EQ(lines.size(), count);
    EXPECT_EQ(lines[29999], "行29999");
    EXPECT_EQ(lines[30000], "a\uFFFD\uFFFD\uFFFDb c  d");
    EXPECT_EQ(lines[30001], "行30000");
    EXPECT_EQ(lines.back(), "行" + std::to_string(count - 2));
    WordTextOutcome outcome{};
    EXPECT_EQ(docxLines(docx, &outcome, count / 2).size(), count / 2);
    EXPECT_EQ(outcome, WordTextOutcome::AppendRefused);
    // The first line held back, so that the worker finds every window full
    // and must wait to go on.
    std::size_t seen = 0;
    EXPECT_THROW(extractDocxText(docx,
                                 [&](std::string_view) {
                                     if (++seen == 1)
                                         std::this_thread::sleep_for(std::chrono::milliseconds(50));
                                     if (seen == count / 3) throw std::bad_alloc();
                                     return true;
                                 }),
                 std::bad_alloc);
    EXPECT_EQ(seen, count / 3);
    Bytes badCrc = docx;
    const std::size_t directory = u32(badCrc, badCrc.size() - 22 + 16);
    badCrc[directory + 16] ^= 1;
    expectReadError([&] { docxLines(badCrc); }, "checksum of a large member");
}

TEST(WordDocuments, ZipBombsAreRefused) {
    const std::string xml =
        "<w:document "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
    // Stated past 256 MiB.
    expectReadError(
        [&] {
            docxLines(zipOf({{"word/document.xml", xml, true, 257ll << 20}}));
        },
        "stated size");
    // Inflating past its stated size, however small the data.
    expectReadError(
        [&] {
            docxLines(zipOf({{"word/document.xml", xml + std::string(50000, ' '), true, 100}}));
        },
        "more than stated");
    // 8 MiB of spaces deflate to about 8 KiB: inflating a thousand times
    // over is no fault in itself, but what it inflates is spent from the
    // document's budget before it is inflated.
    const Bytes spaces =
        zipOf({{"word/document.xml", xml + std::string(8u << 20, ' ') + "</w:body></w:document>"}});
    EXPECT_EQ(docxLines(spaces), Lines{});
    EXPECT_THROW(extractDocxText(
                     spaces, [](std::string_view) { return true; }, ReadBudget(4u << 20)),
                 std::bad_alloc);
}

}  // namespace
}  // namespace kivo
