#pragma once
// What an RTF document declares for its text to refer to: the fonts with
// their names and code pages, the colours, the document's code page and
// default font. The reader fills the tables while it reads \fonttbl and
// \colortbl, and asks them what a run's \fN and \cfN stand for. Internal to
// the reader.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/RtfKeywords.h"

namespace kivo::rtf {

class DocumentTables {
public:
    void setDocumentCodePage(int codePage) { documentCodePage_ = codePage; }
    void setDefaultFont(int number) { defaultFont_ = number; }  // \deffN

    // --- the font table, entry by entry ----------------------------------

    // \fonttbl: no entry is being read yet.
    void startFontTable() { tableFont_ = -1; }
    // \fN in the font table: a fresh entry, its name to follow.
    void startFont(int number);
    void setFontCharset(int charset);    // \fcharsetN of the entry being read
    void setFontCodePage(int codePage);  // \cpgN of the entry being read
    // Bytes of the entry's name in its own code page; none while no name is open.
    void appendFontNameBytes(std::string_view bytes);
    // A character of the name from \uN or a control symbol.
    void appendFontNameCodePoint(char32_t cp);
    // The name is complete (";" or the end of its group). False when no name
    // was open, so that nothing changed.
    bool commitFontName();
    // The code page the entry being read writes its name in.
    int tableFontCodePage();

    // --- the colour table -------------------------------------------------

    void startColorTable();
    // One of \redN, \greenN, \blueN: the byte at `shift` of the entry being read.
    void setColorPart(int shift, int value);
    // ";": the entry is complete.
    void addColor();

    // --- what runs refer to -----------------------------------------------

    // The code page of text in font `number` (\fN; -1 = the default font).
    int codePageOf(int fontNumber) const;
    // The font's name; empty when the table has no such font.
    std::string_view fontName(int fontNumber) const;
    // The colour of \cfN; nullopt = automatic, as is a colour the table lacks.
    std::optional<std::uint32_t> color(int index) const;

private:
    struct Font {
        std::string name;
        int charset = -1;  // \fcharsetN; -1 = not given
        int codePage = 0;  // \cpgN; 0 = not given
    };

    const Font* fontOf(int number) const;
    int codePageOfFont(const Font* font) const;
    Font* tableEntry();
    void flushFontName();
    void resetColorEntry();

    int documentCodePage_ = kDefaultCodePage;
    int defaultFont_ = -1;
    std::map<int, Font> fonts_;
    // The colour table as runs of equal entries: each holds the index of
    // its first entry.
    struct ColorRun {
        std::size_t first;
        std::optional<std::uint32_t> color;
    };
    std::vector<ColorRun> colors_;
    std::size_t colorCount_ = 0;

    int tableFont_ = -1;  // the font table entry being read
    bool fontNameOpen_ = false;
    std::string fontBytes_;  // its name's bytes not yet decoded
    std::string fontName_;
    std::uint32_t colorValue_ = 0;
    bool colorGiven_ = false;
};

}  // namespace kivo::rtf
