// Word documents of today's tools: Word 97–2003 files read through their own
// structure, and .docx. The documents LibreOffice wrote of one list
// (tests/data/make-word-fixtures.sh) must give exactly its lines; broken
// documents and ZIP bombs, made here byte by byte, the loader's read error.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DocxText.h"
#include "FileError.h"
#include "WordPieceText.h"
#include "WordText.h"
#include "XmlReader.h"
#include "ZipArchive.h"

namespace kivo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

Bytes fixture(const char* name) {
    std::ifstream in(std::string(KIVO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The list of make-word-fixtures.sh, line by line.
Lines theList() {
    std::string longLine = "長い段落";
    for (int i = 0; i < 300; ++i) longLine += "あいうえおかきくけこ";
    return {"犬",   "猫と鳥", "ｶﾀｶﾅ半角", "タブ\t区切り", "改行前", "改行後", "春", "夏",
            "秋",   "冬",     "ページ1",  "残す文字と挿入", "絵文字😀", longLine, "最後"};
}

template <typename Extract>
Lines linesOf(const Bytes& file, Extract extract, WordTextOutcome* outcome = nullptr,
              std::size_t acceptAtMost = SIZE_MAX) {
    Lines lines;
    const WordTextOutcome o = extract(file, [&](std::string_view line) {
        if (lines.size() >= acceptAtMost) return false;
        lines.emplace_back(line);
        return true;
    });
    if (outcome) *outcome = o;
    return lines;
}

Lines docLines(const Bytes& file, WordTextOutcome* outcome = nullptr, std::size_t at = SIZE_MAX) {
    return linesOf(file, extractWordPieceText, outcome, at);
}
Lines docxLines(const Bytes& file, WordTextOutcome* outcome = nullptr, std::size_t at = SIZE_MAX) {
    return linesOf(file, extractDocxText, outcome, at);
}

template <typename F>
void expectReadError(F f, const std::string& what) {
    try {
        f();
        ADD_FAILURE() << what << ": no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.code(), kReadPastEnd) << what;
        EXPECT_STREQ(e.what(), "ファイルの末尾以降を読み込みました") << what;
    }
}

// ---- ZIP archives written here --------------------------------------------

void put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

Bytes rawDeflate(std::string_view data) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

struct ZipMember {
    std::string name;
    std::string data;
    bool deflated = true;
    std::int64_t statedSize = -1;  // the size the directory states, when not the true one
};

Bytes zipOf(const std::vector<ZipMember>& members) {
    Bytes zip, directory;
    for (const ZipMember& m : members) {
        const Bytes stored = m.deflated ? rawDeflate(m.data) : Bytes(m.data.begin(), m.data.end());
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size())));
        const auto size = static_cast<std::uint32_t>(m.statedSize >= 0 ? m.statedSize : m.data.size());
        const auto local = static_cast<std::uint32_t>(zip.size());
        put32(zip, 0x04034B50);
        put16(zip, 20), put16(zip, 0), put16(zip, m.deflated ? 8 : 0), put32(zip, 0);
        put32(zip, crc), put32(zip, static_cast<std::uint32_t>(stored.size())), put32(zip, size);
        put16(zip, static_cast<unsigned>(m.name.size())), put16(zip, 0);
        zip.insert(zip.end(), m.name.begin(), m.name.end());
        zip.insert(zip.end(), stored.begin(), stored.end());
        put32(directory, 0x02014B50);
        put16(directory, 20), put16(directory, 20), put16(directory, 0);
        put16(directory, m.deflated ? 8 : 0), put32(directory, 0);
        put32(directory, crc), put32(directory, static_cast<std::uint32_t>(stored.size()));
        put32(directory, size);
        put16(directory, static_cast<unsigned>(m.name.size()));
        put16(directory, 0), put16(directory, 0), put16(directory, 0), put16(directory, 0);
        put32(directory, 0), put32(directory, local);
        directory.insert(directory.end(), m.name.begin(), m.name.end());
    }
    const auto at = static_cast<std::uint32_t>(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    put32(zip, 0x06054B50);
    put16(zip, 0), put16(zip, 0);
    put16(zip, static_cast<unsigned>(members.size())), put16(zip, static_cast<unsigned>(members.size()));
    put32(zip, static_cast<std::uint32_t>(directory.size())), put32(zip, at), put16(zip, 0);
    return zip;
}

Bytes docxOf(const std::string& body, const std::string& namespaces = "") {
    return zipOf({{"[Content_Types].xml", "<Types/>"},
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
    class Memory : public ByteReader {
    public:
        explicit Memory(const Bytes& b) : b_(b) {}
        std::size_t read(std::span<std::uint8_t> buffer) override {
            const std::size_t n = pos_ >= b_.size() ? 0 : std::min(buffer.size(), b_.size() - pos_);
            std::copy_n(b_.begin() + static_cast<std::ptrdiff_t>(pos_), n, buffer.begin());
            pos_ += n;
            return n;
        }
        bool seek(std::uint64_t at) override {
            pos_ = at;
            return true;
        }

    private:
        const Bytes& b_;
        std::size_t pos_ = 0;
    } file(doc);
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
    EXPECT_EQ(docLines(fixture("word-libreoffice-list.doc"), &outcome, 3), Lines(list.begin(), list.begin() + 3));
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
    const auto entry = std::search(doc.begin(), doc.end(), reinterpret_cast<const std::uint8_t*>(name.data()),
                                   reinterpret_cast<const std::uint8_t*>(name.data() + name.size()));
    ASSERT_NE(entry, doc.end());
    *entry = 'X';  // now "XordDocument"
    WordTextOutcome outcome{};
    EXPECT_TRUE(docLines(doc, &outcome).empty());
    EXPECT_EQ(outcome, WordTextOutcome::Completed);
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
        "<w:fldChar w:fldCharType=\"begin\"/><w:instrText>X</w:instrText><w:fldChar w:fldCharType=\"separate\"/>"
        "<w:t>inner</w:t><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>結果</w:t></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
        "<w:fldSimple w:instr=\"PAGE\"><w:r><w:t>7</w:t></w:r></w:fldSimple></w:p>"
        // a deletion, an insertion, a moved-away run; a deleted paragraph mark
        // joins the next paragraph
        "<w:p><w:r><w:t>残</w:t></w:r><w:del><w:r><w:delText>消</w:delText><w:t>x</w:t></w:r></w:del>"
        "<w:ins><w:r><w:t>加</w:t></w:r></w:ins><w:moveFrom><w:r><w:t>移</w:t></w:r></w:moveFrom>"
        "<w:pPr><w:rPr><w:del/></w:rPr></w:pPr></w:p>"
        "<w:p><w:r><w:t>続き</w:t></w:r></w:p>"
        // text boxes and fallbacks are no part of the body's lines
        "<w:p><w:r><mc:AlternateContent><mc:Choice><w:drawing/></mc:Choice><mc:Fallback><w:pict>"
        "<w:txbxContent><w:p><w:r><w:t>箱</w:t></w:r></w:p></w:txbxContent></w:pict></mc:Fallback>"
        "</mc:AlternateContent><w:t>本文</w:t></w:r></w:p>"
        // a table, an empty paragraph, CDATA
        "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>左</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>右</w:t>"
        "</w:r></w:p></w:tc></w:tr></w:tbl><w:p/><w:p><w:r><w:t><![CDATA[<raw>]]></w:t></w:r></w:p>";
    EXPECT_EQ(docxLines(docxOf(body)), (Lines{"a\tb & <c> 猫", "d", "d2", "e", "結果7", "残加続き", "本文", "左",
                                              "右", "", "<raw>"}));
}

TEST(WordDocuments, DocxNamespacesDecideNotPrefixes) {
    // Another prefix for the WordprocessingML namespace; "w" bound to
    // something else inside is not Word's.
    const Bytes docx = zipOf({{"word/document.xml",
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
    for (auto it = local + static_cast<std::ptrdiff_t>(name.size()); it != local + 40; ++it) *it ^= 0x5A;
    expectReadError([&] { docxLines(badData); }, "damaged deflate data");
    Bytes offset = good;
    offset[offset.size() - 6] = 0xF0;  // the central directory's offset
    expectReadError([&] { docxLines(offset); }, "directory offset");
    expectReadError([&] { docxLines(docxOf("<w:p><w:r><w:t>x</w:r></w:t></w:p>")); }, "mismatched tags");
    expectReadError([&] { docxLines(docxOf("<w:p><w:r><w:t>x")); }, "unclosed elements");
    std::string deep;
    for (std::size_t i = 0; i < xml::kMaxXmlDepth; ++i) deep += "<a>";
    expectReadError([&] { docxLines(docxOf(deep)); }, "nested too deep");
}

TEST(WordDocuments, ZipBombsAreRefused) {
    const std::string xml =
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
    // Stated past 256 MiB.
    expectReadError([&] { docxLines(zipOf({{"word/document.xml", xml, true, 257ll << 20}})); },
                    "stated size");
    // Inflating past its stated size, however small the data.
    expectReadError([&] { docxLines(zipOf({{"word/document.xml", xml + std::string(50000, ' '), true, 100}})); },
                    "more than stated");
    // 8 MiB of spaces deflate to about 8 KiB: past 1000:1.
    const std::string spaces(8u << 20, ' ');
    expectReadError([&] { docxLines(zipOf({{"word/document.xml", xml + spaces + "</w:body></w:document>"}})); },
                    "ratio");
}

}  // namespace
}  // namespace kivo
