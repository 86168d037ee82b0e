// Writes the word lists the comparison with other programs runs on: a
// realistic Japanese list of 100,000 and of 1,000,000 lines, each as the
// code page 932 text with CR LF that Japanese Windows editors save, as the
// RTF our own export writes of it, and as a .docx with one paragraph per
// line, its runs marked up as Word marks them.
//   make_list DIR     writes DIR/list-100000.txt, .rtf, .docx and the same of 1000000
// The same seed gives the same files on every machine.
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/CodePage932.h"
#include "core/Utf8.h"
#include "files/ListExport.h"

namespace {

namespace fs = std::filesystem;

// What word lists for topic games hold: kanji compounds, loanwords in
// katakana, native words in hiragana, verbs and adjectives with their
// endings, short phrases, and a few entries with Latin letters, digits or
// the half-width katakana of older lists. Every character is in code page
// 932, so each form of the file holds the same text.
constexpr std::u16string_view kKanji =
    u"日本人大年中出子生上下国学会社事業自分者市場前後手方地気時間見"
    u"行来言思食飲書読話聞買売作住使知持待歩走泳歌休遊習教始終開閉"
    u"山川海空雲雨雪風花木森林石岩火水土金銀銅春夏秋冬朝昼夜星月光"
    u"東西南北町村都府県駅道橋港島野原田畑村店家室門窓机椅子本紙筆"
    u"犬猫鳥魚馬牛豚羊虫象熊猿兎鹿竜亀蛇赤青白黒黄緑茶色音楽絵映画"
    u"電車船飛機自転運動野球水泳料理果物野菜肉卵米麦酒茶菓子薬病院"
    u"医者先生友達家族父母兄弟姉妹祖親男女王様神仏寺宮城公園図館";
constexpr std::u16string_view kKatakana =
    u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"
    u"ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ";
constexpr std::u16string_view kHiragana =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわん"
    u"がぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽ";
constexpr std::u16string_view kHalfKatakana = u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ";
constexpr std::u16string_view kSmallKana = u"ャュョ";
constexpr std::u16string_view kEndings[] = {u"る", u"い", u"しい", u"する", u"った",
                                            u"む", u"く", u"べる", u"ける", u"かな"};
constexpr std::u16string_view kLatin[] = {u"CD", u"DVD", u"PC",   u"Ｔ",     u"ＯＬ",
                                          u"IT", u"SNS", u"ＧＷ", u"ＵＦＯ", u"Wi-Fi"};
constexpr std::u16string_view kParticles[] = {u"の", u"と", u"な", u"で"};

class ListMaker {
public:
    explicit ListMaker(std::uint32_t seed) : random_(seed) {}

    std::u16string line() {
        std::u16string s;
        const unsigned kind = random_() % 100;
        if (kind < 35) {
            appendKanji(s, 2 + random_() % 3);
        } else if (kind < 60) {
            appendKatakanaWord(s);
        } else if (kind < 72) {
            appendRun(s, kHiragana, 2 + random_() % 4);
        } else if (kind < 85) {
            appendKanji(s, 1 + random_() % 2);
            s += pick(kEndings);
        } else if (kind < 93) {
            appendKanji(s, 2);
            s += pick(kParticles);
            if (random_() % 2 == 0) {
                appendKanji(s, 1 + random_() % 2);
            } else {
                appendKatakanaWord(s);
            }
        } else if (kind < 97) {
            s += pick(kLatin);
            if (random_() % 3 == 0) s += u"2";
            appendKatakanaWord(s);
        } else {
            appendRun(s, kHalfKatakana, 2 + random_() % 5);
            if (random_() % 3 == 0) s += u'ﾞ';
        }
        return s;
    }

private:
    template <std::size_t N>
    std::u16string_view pick(const std::u16string_view (&pool)[N]) {
        return pool[random_() % N];
    }
    char16_t pick(std::u16string_view pool) { return pool[random_() % pool.size()]; }

    void appendKanji(std::u16string& s, std::size_t n) { appendRun(s, kKanji, n); }
    void appendRun(std::u16string& s, std::u16string_view pool, std::size_t n) {
        for (std::size_t k = 0; k < n; ++k) s += pick(pool);
    }
    // Two to six syllables, some contracted, some long.
    void appendKatakanaWord(std::u16string& s) {
        const std::size_t syllables = 2 + random_() % 5;
        for (std::size_t k = 0; k < syllables; ++k) {
            s += pick(kKatakana);
            const unsigned r = random_() % 12;
            if (r == 0) s += pick(kSmallKana);
            if (r == 1 || r == 2) s += u'ー';
            if (r == 3 && k + 1 < syllables) s += u'ッ';
        }
    }

    std::mt19937 random_;
};

std::string utf8(std::u16string_view text) { return kivo::utf16ToUtf8(text); }

bool write(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

void put16(std::string& b, unsigned v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A ZIP archive of deflated members, as Word writes a .docx.
std::string zipOf(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string zip, directory;
    for (const auto& [name, data] : members) {
        z_stream z{};
        deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        std::string stored(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        z.next_out = reinterpret_cast<Bytef*>(stored.data());
        z.avail_out = static_cast<uInt>(stored.size());
        deflate(&z, Z_FINISH);
        stored.resize(z.total_out);
        deflateEnd(&z);
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const auto local = static_cast<std::uint32_t>(zip.size());
        for (std::string* header : {&zip, &directory}) {
            std::string& h = *header;
            if (header == &zip) {
                put32(h, 0x04034B50);
            } else {
                put32(h, 0x02014B50);
                put16(h, 20);
            }
            put16(h, 20), put16(h, 0), put16(h, 8), put32(h, 0), put32(h, crc);
            put32(h, static_cast<std::uint32_t>(stored.size()));
            put32(h, static_cast<std::uint32_t>(data.size()));
            put16(h, static_cast<unsigned>(name.size())), put16(h, 0);
            if (header == &directory)
                put16(h, 0), put16(h, 0), put16(h, 0), put32(h, 0), put32(h, local);
            h += name;
        }
        zip += stored;
    }
    const auto at = static_cast<std::uint32_t>(zip.size());
    zip += directory;
    put32(zip, 0x06054B50), put16(zip, 0), put16(zip, 0);
    put16(zip, static_cast<unsigned>(members.size())),
        put16(zip, static_cast<unsigned>(members.size()));
    put32(zip, static_cast<std::uint32_t>(directory.size())), put32(zip, at), put16(zip, 0);
    return zip;
}

// The list as a .docx: one paragraph per line, with the revision ids and the
// East Asian font hint that Word writes on its paragraphs and runs.
std::string docxOf(const std::vector<std::string>& lines) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>";
    char rsid[16];
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::snprintf(rsid, sizeof rsid, "00%06zX", (i * 2654435761u) & 0xFFFFFF);
        xml += "<w:p w:rsidR=\"";
        xml += rsid;
        xml += "\" w:rsidRDefault=\"";
        xml += rsid;
        xml += "\"><w:r><w:rPr><w:rFonts w:hint=\"eastAsia\"/></w:rPr><w:t>";
        for (const char c : lines[i]) {
            if (c == '&')
                xml += "&amp;";
            else if (c == '<')
                xml += "&lt;";
            else if (c == '>')
                xml += "&gt;";
            else
                xml += c;
        }
        xml += "</w:t></w:r></w:p>";
    }
    xml += "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>";
    return zipOf({
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<Types "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
         "Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override "
         "PartName=\"/word/document.xml\" "
         "ContentType=\"application/"
         "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
         "Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
         "officeDocument\" "
         "Target=\"word/document.xml\"/></Relationships>"},
        {"word/document.xml", xml},
    });
}

bool makeList(const fs::path& dir, std::size_t lines) {
    ListMaker maker(static_cast<std::uint32_t>(lines));
    std::u16string crlf;
    kivo::StyledText list;
    std::vector<std::string> paragraphs;
    paragraphs.reserve(lines);
    for (std::size_t i = 0; i < lines; ++i) {
        const std::u16string line = maker.line();
        crlf += line;
        crlf += u"\r\n";
        paragraphs.push_back(utf8(line));
        list.text += paragraphs.back();
        list.text += '\n';
    }
    bool lossless = false;
    const std::string text = kivo::cp932::encode(utf8(crlf), &lossless);
    if (!lossless) {
        std::fprintf(stderr, "make_list: a character outside code page 932\n");
        return false;
    }
    const std::string base = "list-" + std::to_string(lines);
    return write(dir / (base + ".txt"), text) &&
           write(dir / (base + ".rtf"), kivo::listToRtf(list, "ＭＳ ゴシック", 24)) &&
           write(dir / (base + ".docx"), docxOf(paragraphs));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_list DIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const std::size_t lines : {100'000, 1'000'000}) {
        if (!makeList(dir, lines)) {
            std::fprintf(stderr, "make_list: cannot write the %zu-line list in %s\n", lines,
                         dir.string().c_str());
            return 1;
        }
    }
    return 0;
}
