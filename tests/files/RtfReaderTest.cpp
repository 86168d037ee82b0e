#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "files/RtfReader.h"
#include "files/WordListLoader.h"

namespace kivo::rtf {

void PrintTo(const CharFormat& f, std::ostream* os) {
    *os << "{" << (f.bold ? "b" : "") << (f.italic ? "i" : "") << (f.underline ? "u" : "");
    if (f.color) *os << " #" << std::hex << *f.color << std::dec;
    *os << " " << f.halfPoints << " '" << f.fontFamily << "'}";
}

namespace {

struct TextRun {
    std::string text;
    CharFormat format;
    bool operator==(const TextRun&) const = default;
};

using Runs = std::vector<TextRun>;

void PrintTo(const TextRun& run, std::ostream* os) {
    *os << "\"" << run.text << "\" ";
    PrintTo(run.format, os);
}

// Keeps what the reader hands out: the text with '\n' for each paragraph
// end (runs never hold one themselves), and the runs.
class Recorder : public Handler {
public:
    void text(std::string_view utf8, const CharFormat& format) override {
        EXPECT_FALSE(utf8.empty());
        flat += utf8;
        runs.push_back({std::string(utf8), format});
    }
    void paragraphEnd() override { flat += '\n'; }

    std::string flat;
    Runs runs;
};

Recorder readOk(std::string_view rtf) {
    Recorder recorder;
    const ReadResult result = read(rtf, recorder);
    EXPECT_TRUE(result.ok) << result.error;
    return recorder;
}

std::string textOf(std::string_view rtf) { return readOk(rtf).flat; }
Runs runsOf(std::string_view rtf) { return readOk(rtf).runs; }

CharFormat plain() { return {}; }
CharFormat bold() {
    CharFormat f;
    f.bold = true;
    return f;
}
CharFormat italic() {
    CharFormat f;
    f.italic = true;
    return f;
}
CharFormat colored(std::uint32_t rgb) {
    CharFormat f;
    f.color = rgb;
    return f;
}
CharFormat withFont(std::string family, int halfPoints = 0) {
    CharFormat f;
    f.fontFamily = std::move(family);
    f.halfPoints = halfPoints;
    return f;
}

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(KIVO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(RtfReader, AcceptsOnlyBytesThatStartAsRtf) {
    for (const std::string_view bytes :
         {"", "{", "{\\rt", " {\\rtf1 a}", "{\\RTF1 a}", "\xEF\xBB\xBF{\\rtf1 a}", "plain text"}) {
        Recorder recorder;
        EXPECT_FALSE(read(bytes, recorder).ok) << bytes;
        EXPECT_EQ(recorder.flat, "");
    }
    EXPECT_EQ(textOf("{\\rtf1}"), "");
    EXPECT_EQ(textOf("{\\rtf"), "");
}

TEST(RtfReader, ParagraphMarksAndNothingElseEndLines) {
    EXPECT_EQ(textOf("{\\rtf1 one\\par two\\par}"), "one\ntwo\n");  // no line after the last \par
    EXPECT_EQ(textOf("{\\rtf1 one\\par two}"), "one\ntwo");         // a last line without a mark
    EXPECT_EQ(textOf("{\\rtf1 \\par\\par x}"), "\n\nx");
    EXPECT_EQ(textOf("{\\rtf1 a\\line b\\par}"), "a\nb\n");
    // CR and LF in the source are wrapping; after a backslash they are \par.
    EXPECT_EQ(textOf("{\\rtf1 wo\r\nrd\\par\r\n}"), "word\n");
    EXPECT_EQ(textOf("{\\rtf1 a\\\nb\\\r\nc}"), "a\nb\nc");
    // Table cells become lines of their own; the row end adds none.
    EXPECT_EQ(textOf("{\\rtf1 \\trowd\\cellx100\\cellx200 A\\cell B\\cell\\row C\\par}"),
              "A\nB\nC\n");
    // \sect and \page end only a line that holds text.
    EXPECT_EQ(textOf("{\\rtf1 a\\par\\sect b\\sect c\\par}"), "a\nb\nc\n");
    EXPECT_EQ(textOf("{\\rtf1 a\\page b\\par{\\page}\\par c}"), "a\nb\n\nc");
}

TEST(RtfReader, ControlSymbolsAndSpecialCharacters) {
    EXPECT_EQ(textOf("{\\rtf1 a\\tab b\\~c\\_d\\-e}"), "a\tb\u00A0c-de");
    EXPECT_EQ(textOf("{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}"),
              "—–‘’“”•");
    EXPECT_EQ(textOf("{\\rtf1 \\{x\\} \\\\y}"), "{x} \\y");
    EXPECT_EQ(textOf("{\\rtf1 a\tb\\:c\\|d}"), "a\tbcd");
    // One space ends a control word and belongs to it; the next is text.
    EXPECT_EQ(textOf("{\\rtf1 \\par  x}"), "\n x");
}

TEST(RtfReader, DecodesBytesInTheCodePageOfTheDocumentAndTheFont) {
    EXPECT_EQ(textOf("{\\rtf1 caf\\'e9}"), "café");  // 1252 when nothing is said
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'8c\\'ea\\'b6\\'de}"), "あ語ｶﾞ");
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1251 \\'c0}"), "А");
    EXPECT_EQ(textOf("{\\rtf1\\mac \\'8e}"), "é");
    // A font's charset wins over the document's code page; 1 means the document's.
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset128 M;}}"
                     "\\f0 \\'e9{\\f1 \\'82\\'a0}\\'e9}"),
              "éあé");
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932{\\fonttbl{\\f0\\fcharset1 X;}}\\f0 \\'82\\'a0}"), "あ");
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0\\cpg1253 G;}}\\f0 \\'e1}"), "α");
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0\\fcharset204\\cpg1253 G;}}\\f0 \\'c0}"), "А");
    // Text before any \f is in the default font.
    EXPECT_EQ(textOf("{\\rtf1\\deff1{\\fonttbl{\\f1\\fcharset128 M;}}\\'82\\'a0}"), "あ");

    struct Case {
        int charset;
        const char* escapes;
        const char* text;
    };
    const Case cases[] = {
        {129, "\\'b0\\'a1", "가"}, {134, "\\'c4\\'e3", "你"}, {136, "\\'a4\\'a4", "中"},
        {161, "\\'e1", "α"},       {162, "\\'fe", "ş"},       {163, "\\'e0", "à"},
        {177, "\\'e0", "א"},       {178, "\\'c7", "ا"},       {186, "\\'e0", "ą"},
        {204, "\\'c0", "А"},       {222, "\\'a1", "ก"},       {238, "\\'b9", "ą"},
        {2, "\\'e9", "é"},  // symbol fonts read as 1252
    };
    for (const auto& c : cases) {
        const std::string rtf = "{\\rtf1{\\fonttbl{\\f3\\fcharset" + std::to_string(c.charset) +
                                " F;}}\\f3 " + c.escapes + "}";
        EXPECT_EQ(textOf(rtf), c.text) << rtf;
    }
}

TEST(RtfReader, DoubleByteCharactersJoinAcrossEscapesAndRawBytes) {
    // Escaped lead byte with a raw or escaped trail byte, 0x5C included.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932 \\'83A\\'83\\\\\\'83\\'5c}"), "アソソ");
    // Raw Shift-JIS: a raw lead byte takes the next byte, even '\\', '{', '}'.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932 \x82\xa0\x83\\\x83{\x83}\x95\\!}"), "あソボマ表!");
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932 x\x82\xa0y\\par}"), "xあy\n");
    // A lead byte that finds no trail byte before its run ends.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932 \\'82\\par a\\'82}"), "\uFFFD\na\uFFFD");
}

TEST(RtfReader, UnicodeEscapesWithTheirFallbackSkipped) {
    EXPECT_EQ(textOf("{\\rtf1 \\u12354?\\u-10179?\\u-8704?}"), "あ😀");
    EXPECT_EQ(textOf("{\\rtf1 \\uc0 \\u12354 x}"), "あx");
    // Word's form: two \'hh per character under \uc2.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932\\uc2 \\u12354\\'82\\'a0\\u12356\\'82\\'a2}"), "あい");
    // \uc belongs to its group; the skip ends at a brace.
    EXPECT_EQ(textOf("{\\rtf1 {\\uc2 \\u12354 ab}\\u12356 cd}"), "あいd");
    EXPECT_EQ(textOf("{\\rtf1 {\\u12354}?}"), "あ?");
    EXPECT_EQ(textOf("{\\rtf1 \\u12354{x}}"), "あx");
    // A control word counts as one fallback character.
    EXPECT_EQ(textOf("{\\rtf1 \\u12354\\tab x}"), "あx");
    // Values beyond 16 bits, lone surrogates, control characters.
    EXPECT_EQ(textOf("{\\rtf1 \\u70000?\\u99999999999999999999?}"), "\uFFFD\uFFFD");
    EXPECT_EQ(textOf("{\\rtf1 \\u-10179?x\\u-8704?}"), "\uFFFDx\uFFFD");
    EXPECT_EQ(textOf("{\\rtf1 \\u-10179?\\u-10179?\\u-8704?}"), "\uFFFD😀");
    EXPECT_EQ(textOf("{\\rtf1 \\u-10179?\\par}"), "\uFFFD\n");
    EXPECT_EQ(textOf("{\\rtf1 \\u-10179?}"), "\uFFFD");
    EXPECT_EQ(textOf("{\\rtf1 a\\u0?\\u13?\\u10?b}"), std::string("a\0b", 3));
    // LibreOffice writes an emoji as a pair across a \uc change.
    EXPECT_EQ(textOf("{\\rtf1 \\uc0 \\u55357\\uc1 \\u56832\\'3f}"), "😀");
}

TEST(RtfReader, SkipsWhatIsNotText) {
    EXPECT_EQ(textOf("{\\rtf1{\\*\\unknown hidden{\\b deeper}\\par}shown}"), "shown");
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                     "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}text}"),
              "text");
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\pngblip 89504e47}b}"), "ab");
    // \bin data is skipped by count, braces and backslashes in it included.
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\bin4 }{\\}}b}"), "ab");
    EXPECT_EQ(textOf("{\\rtf1 {\\object hidden{\\*\\objclass Paint}{\\objdata 01}"
                     "{\\result {\\b shown}}}}"),
              "shown");
    EXPECT_EQ(textOf("{\\rtf1{\\header h\\par}{\\footerr f\\par}{\\footnote n}body\\par}"),
              "body\n");
    EXPECT_EQ(textOf("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} and "
                     "{\\field{\\fldinst PAGE}{\\fldrslt 1}}}"),
              "link and 1");
    // List numbers are drawn by the writer, not part of the entries.
    EXPECT_EQ(textOf("{\\rtf1{\\listtext 1.\\tab}apple\\par{\\pntext\\'b7\\tab}pear\\par}"),
              "apple\npear\n");
}

TEST(RtfReader, FormattingBelongsToItsGroup) {
    CharFormat boldItalic = bold();
    boldItalic.italic = true;
    EXPECT_EQ(
        runsOf("{\\rtf1 a{\\b b{\\i c}d}e}"),
        (Runs{{"a", plain()}, {"b", bold()}, {"c", boldItalic}, {"d", bold()}, {"e", plain()}}));
    CharFormat underline;
    underline.underline = true;
    EXPECT_EQ(runsOf("{\\rtf1 \\b x\\b0 y\\ul z\\ul0 w\\uldb v\\ulnone u\\i1 t\\i0 s}"),
              (Runs{{"x", bold()},
                    {"y", plain()},
                    {"z", underline},
                    {"w", plain()},
                    {"v", underline},
                    {"u", plain()},
                    {"t", italic()},
                    {"s", plain()}}));
    CharFormat all = boldItalic;
    all.underline = true;
    all.halfPoints = 30;
    EXPECT_EQ(runsOf("{\\rtf1\\b\\i\\ul\\fs30 x\\plain y}"), (Runs{{"x", all}, {"y", plain()}}));
    // \pard is about paragraphs; runs of one format come as one.
    EXPECT_EQ(runsOf("{\\rtf1\\b x\\par\\pard y{\\b z}}"), (Runs{{"x", bold()}, {"yz", bold()}}));
}

TEST(RtfReader, ColoursSizesAndFontsComeFromTheTables) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}"
        "{\\f1\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9{\\*\\falt MS Mincho};}"
        "{\\f2{\\*\\panose 0}\\u12354?Font;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
        "a{\\f1\\cf1\\fs32 b}{\\cf2 c}{\\cf0 d}{\\cf9 e}{\\f2 f}{\\f7 g}}";
    CharFormat red = withFont("ＭＳ 明朝", 32);
    red.color = 0xFF0000;
    CharFormat navy = withFont("Times New Roman");
    navy.color = 0x000080;
    EXPECT_EQ(runsOf(rtf), (Runs{{"a", withFont("Times New Roman")},
                                 {"b", red},
                                 {"c", navy},
                                 {"d", withFont("Times New Roman")},
                                 {"e", withFont("Times New Roman")},
                                 {"f", withFont("あFont")},
                                 {"g", plain()}}));
    // Names past 255 bytes are cut, between characters.
    const std::string longName(300, 'n');
    const auto family = [](const std::string& rtf) { return runsOf(rtf).at(0).format.fontFamily; };
    EXPECT_EQ(family("{\\rtf1{\\fonttbl{\\f0 " + longName + ";}}\\f0 x}"), std::string(255, 'n'));
    std::string kana;
    for (int i = 0; i < 100; ++i) kana += "\\u12354?";  // three bytes each: 85 fit
    EXPECT_EQ(family("{\\rtf1{\\fonttbl{\\f0 " + kana + ";}}\\f0 x}").size(), 255u);
    EXPECT_EQ(family("{\\rtf1{\\fonttbl{\\f0 n" + kana + ";}}\\f0 x}").size(), 253u);
    // The older font table without a group per font.
    EXPECT_EQ(runsOf("{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1 Courier;}\\f1 x}"),
              (Runs{{"x", withFont("Courier")}}));
}

TEST(RtfReader, DoubleByteTextTakesItsOwnProperties) {
    // LibreOffice: Western properties plain, Asian ones after \dbch as \ab, \afs, \af.
    const std::string libreOffice =
        "{\\rtf1{\\fonttbl{\\f0 Western;}{\\f1 Asian;}}\\f0\\fs20\\dbch\\af1 "
        "{\\dbch\\ab\\afs32 j}{\\loch w}{\\dbch k}}";
    CharFormat asianBold = withFont("Asian", 32);
    asianBold.bold = true;
    EXPECT_EQ(
        runsOf(libreOffice),
        (Runs{{"j", asianBold}, {"w", withFont("Western", 20)}, {"k", withFont("Asian", 20)}}));
    // Word: the plain words after \dbch are the double-byte text's own;
    // whichever came last counts. Right-to-left properties change nothing here.
    EXPECT_EQ(runsOf("{\\rtf1\\b\\dbch\\ab0 j\\b k\\rtlch\\ab0\\ltrch w}"),
              (Runs{{"j", plain()}, {"kw", bold()}}));
}

TEST(RtfReader, ReadsWhatARichEditControlWrites) {
    // The list as a Japanese Windows rich-text control saves it.
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fnil"
        "\\fcharset128 \\'82\\'6c\\'82\\'72 "
        "\\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 "
        "\\'94\\'4c\\par\r\n\\'8c\\'a2\\par\r\n\\u-10179?\\u-8704?\\par\r\n}\r\n";
    EXPECT_EQ(runsOf(rtf), (Runs{{"猫", withFont("ＭＳ Ｐゴシック", 18)},
                                 {"犬", withFont("ＭＳ Ｐゴシック", 18)},
                                 {"😀", withFont("ＭＳ Ｐゴシック", 18)}}));
    EXPECT_EQ(textOf(rtf), "猫\n犬\n😀\n");
}

TEST(RtfReader, SurvivesBrokenStructure) {
    // Missing closing braces: what was read counts.
    EXPECT_EQ(runsOf("{\\rtf1 a\\par{\\b b"), (Runs{{"a", plain()}, {"b", bold()}}));
    // Surplus closing braces are ignored.
    EXPECT_EQ(textOf("{\\rtf1 a}}}b\\par}"), "ab\n");
    // Cut or broken escapes stand for nothing.
    EXPECT_EQ(textOf("{\\rtf1 a\\'8"), "a");
    EXPECT_EQ(textOf("{\\rtf1 a\\'"), "a");
    EXPECT_EQ(textOf("{\\rtf1 a\\"), "a");
    EXPECT_EQ(textOf("{\\rtf1 a\\'4zb}"), "azb");
    // Raw control bytes are no text; escaped ones are, but for line ends.
    const char controls[] =
        "{\\rtf1 a\0b\x01\x1f"
        "c\\'00\\'0d\\'02\\'0a}";
    EXPECT_EQ(textOf(std::string(controls, sizeof controls - 1)), std::string("abc\0\x02", 5));
    // Control words past 32 letters mean nothing, however long.
    EXPECT_EQ(runsOf("{\\rtf1 \\" + std::string(40, 'b') + " x}"), (Runs{{"x", plain()}}));
    EXPECT_EQ(textOf("{\\rtf1 \\" + std::string(100000, 'b') + "1234 x}"), "x");
}

TEST(RtfReader, TheListKeepsOneCopyOfEachDistinctFormat) {
    // Entries 3 and 6 of the colour table are red, the rest automatic.
    const StyledText list = styledTextFromBytes(
        "{\\rtf1{\\colortbl;;;\\red255\\green0\\blue0;;;\\red255\\green0\\blue0;}"
        "{\\b a}{\\i b}{\\b c}{\\cf3 d}{\\cf6 e}{\\cf2 f}{\\cf4 g}{\\cf7 h}}");
    ASSERT_EQ(list.text, "abcdefgh");
    ASSERT_EQ(list.ranges.size(), 4u);
    EXPECT_TRUE(list.ranges[0].style->bold);
    EXPECT_TRUE(list.ranges[1].style->italic);
    EXPECT_EQ(&list.ranges[0].style.get(), &list.ranges[2].style.get());
    EXPECT_EQ(list.ranges[3].start, 3u);
    EXPECT_EQ(list.ranges[3].length, 2u);  // d and e: the same red
    EXPECT_EQ(list.ranges[3].style->color, 0xFF0000u);
}

TEST(RtfReader, ClampsNumbersOutOfRange) {
    CharFormat largest;
    largest.halfPoints = 3276;
    EXPECT_EQ(runsOf("{\\rtf1{\\colortbl;\\red999\\green-4\\blue0;}"
                     "{\\fs99999999999999999999 x}{\\fs-5 y}{\\cf-3 z}{\\cf1 w}}"),
              (Runs{{"x", largest}, {"yz", plain()}, {"w", colored(0xFF0000)}}));
    // \uc clamps to 0..255 fallback bytes; the skip still ends at the group.
    EXPECT_EQ(textOf("{\\rtf1{\\uc99999999999 \\u12354 abc}{\\uc-4 \\u12356 d}}"), "あいd");
    // \bin: past the end stops the reading; negative skips nothing.
    EXPECT_EQ(textOf("{\\rtf1 a\\bin999999999 xyz"), "a");
    EXPECT_EQ(textOf("{\\rtf1 a\\bin99999999999999999999999 xyz}"), "a");
    EXPECT_EQ(textOf("{\\rtf1 a\\bin-5 b}"), "ab");
}

TEST(RtfReader, DeepNestingKeepsTextButNotFormatting) {
    const auto nested = [](std::size_t depth, const std::string& inner) {
        return std::string(depth, '{') + inner + std::string(depth, '}');
    };
    // The document group is level 1: kMaxGroupDepth - 1 more still count.
    const std::size_t within = kMaxGroupDepth - 1;
    EXPECT_EQ(runsOf("{\\rtf1 " + nested(within, "\\b x") + "y}"),
              (Runs{{"x", bold()}, {"y", plain()}}));
    EXPECT_EQ(runsOf("{\\rtf1 " + nested(within + 1, "\\b x") + "y}"), (Runs{{"xy", plain()}}));
    // Far past the limit: no recursion, no stack; marks and destinations still work.
    const std::string deep =
        "{\\rtf1\\b " + nested(200000, "a\\par{\\*\\foo hidden}{\\fonttbl{\\f0 X;}}b\\i c") + "d}";
    EXPECT_EQ(runsOf(deep), (Runs{{"a", bold()}, {"bcd", bold()}}));
    EXPECT_EQ(textOf(deep), "a\nbcd");
}

TEST(RtfReader, ReadsLibreOfficeDocuments) {
    EXPECT_EQ(textOf(fixture("rtf-libreoffice-lines.rtf")),
              "猫\nひらがなとカタカナ\nｶﾞｷﾞｸﾞ\nplain ASCII\n\n絵文字😀\n{波括弧} と \\円記号\n");
    EXPECT_EQ(textOf(fixture("rtf-libreoffice-structure.rtf")),
              "見出し\nりんご\nみかん\n左\n右\n絵の後\n改ページ後\n最後\n");

    const Recorder formatted = readOk(fixture("rtf-libreoffice-formatted.rtf"));
    EXPECT_EQ(formatted.flat,
              "猫と太字の犬\n赤い花\tタブ\n\n下線ﾃﾞｰﾀ\n改行後\nリンク例です\nA\u00A0B bold 😀\n");
    const auto runWith = [&](std::string_view text) {
        for (const auto& run : formatted.runs) {
            if (run.text == text) return run.format;
        }
        ADD_FAILURE() << "no run \"" << text << "\"";
        return CharFormat{};
    };
    EXPECT_TRUE(runWith("太字").bold);
    EXPECT_FALSE(runWith("の犬").bold);
    const CharFormat red = runWith("赤い");
    EXPECT_TRUE(red.italic);
    EXPECT_EQ(red.color, 0xC00000u);
    EXPECT_EQ(red.halfPoints, 32);
    EXPECT_EQ(runWith("花").halfPoints, 24);
    const CharFormat underlined = runWith("下線");
    EXPECT_TRUE(underlined.underline);
    EXPECT_EQ(underlined.fontFamily, "ＭＳ 明朝");
    EXPECT_EQ(runWith("例").color, 0x000080u);  // the hyperlink's colour
    EXPECT_TRUE(runWith("bold").bold);
}

}  // namespace
}  // namespace kivo::rtf
