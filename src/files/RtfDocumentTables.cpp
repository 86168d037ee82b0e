#include "files/RtfDocumentTables.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/CodePages.h"
#include "core/Utf8.h"

namespace kivo::rtf {
namespace {

// Font names are short (Windows allows 31 characters); a longer one is cut,
// so that no run carries a name of megabytes into the list.
constexpr std::size_t kMaxFontNameBytes = 255;

void trimSpaces(std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        s.clear();
        return;
    }
    s.erase(s.find_last_not_of(' ') + 1);
    s.erase(0, first);
}

// Shortens UTF-8 to at most `size` bytes without splitting a character.
void cutAtCharacter(std::string& s, std::size_t size) {
    if (s.size() <= size) return;
    while (size > 0 && (static_cast<unsigned char>(s[size]) & 0xC0) == 0x80) --size;
    s.resize(size);
}

}  // namespace

// --- the font table ------------------------------------------------------

void DocumentTables::startFont(int number) {
    tableFont_ = number;
    fonts_[number] = Font{};
    fontNameOpen_ = true;
}

void DocumentTables::setFontCharset(int charset) {
    if (Font* font = tableEntry()) font->charset = charset;
}

void DocumentTables::setFontCodePage(int codePage) {
    if (Font* font = tableEntry()) font->codePage = codePage;
}

void DocumentTables::appendFontNameBytes(std::string_view bytes) {
    if (fontNameOpen_) fontBytes_.append(bytes);
}

void DocumentTables::appendFontNameCodePoint(char32_t cp) {
    if (!fontNameOpen_) return;
    flushFontName();
    appendUtf8(fontName_, cp);
}

bool DocumentTables::commitFontName() {
    if (!fontNameOpen_) return false;
    flushFontName();
    trimSpaces(fontName_);
    cutAtCharacter(fontName_, kMaxFontNameBytes);
    if (Font* font = tableEntry()) font->name = std::move(fontName_);
    fontName_.clear();
    fontNameOpen_ = false;
    return true;
}

int DocumentTables::tableFontCodePage() {
    const Font* font = tableEntry();
    return font ? codePageOfFont(font) : documentCodePage_;
}

DocumentTables::Font* DocumentTables::tableEntry() {
    if (tableFont_ < 0) return nullptr;
    return &fonts_[tableFont_];
}

void DocumentTables::flushFontName() {
    if (fontBytes_.empty()) return;
    const bool ascii = std::all_of(fontBytes_.begin(), fontBytes_.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        fontName_ += fontBytes_;  // most names, and no decoder needed
    } else {
        appendDecodedCodePage(tableFontCodePage(), fontBytes_, fontName_);
    }
    fontBytes_.clear();
}

// --- the colour table ----------------------------------------------------

void DocumentTables::startColorTable() {
    colors_.clear();
    colorCount_ = 0;
    resetColorEntry();
}

void DocumentTables::setColorPart(int shift, int value) {
    const auto part = static_cast<std::uint32_t>(std::clamp(value, 0, 255));
    colorValue_ = (colorValue_ & ~(0xFFu << shift)) | (part << shift);
    colorGiven_ = true;
}

void DocumentTables::addColor() {
    // An entry with no colour given is "automatic", as \cf0 usually is.
    // Entries equal to the one before share its record: a table of millions
    // of separators costs one.
    const std::optional<std::uint32_t> color =
        colorGiven_ ? std::optional<std::uint32_t>(colorValue_) : std::nullopt;
    if (colors_.empty() || colors_.back().color != color) colors_.push_back({colorCount_, color});
    ++colorCount_;
    resetColorEntry();
}

void DocumentTables::resetColorEntry() {
    colorValue_ = 0;
    colorGiven_ = false;
}

// --- what runs refer to --------------------------------------------------

int DocumentTables::codePageOf(int fontNumber) const { return codePageOfFont(fontOf(fontNumber)); }

std::string_view DocumentTables::fontName(int fontNumber) const {
    const Font* font = fontOf(fontNumber);
    return font ? std::string_view(font->name) : std::string_view();
}

std::optional<std::uint32_t> DocumentTables::color(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colorCount_) return std::nullopt;
    const auto after =
        std::upper_bound(colors_.begin(), colors_.end(), static_cast<std::size_t>(index),
                         [](std::size_t i, const ColorRun& run) { return i < run.first; });
    return std::prev(after)->color;
}

const DocumentTables::Font* DocumentTables::fontOf(int number) const {
    const int n = number >= 0 ? number : defaultFont_;
    const auto it = fonts_.find(n);
    return it != fonts_.end() ? &it->second : nullptr;
}

int DocumentTables::codePageOfFont(const Font* font) const {
    if (!font) return documentCodePage_;
    // Word reads \cpg only when \fcharset is absent; so do we.
    if (font->charset >= 0) {
        const int cp = codePageOfCharset(font->charset);
        return cp != 0 ? cp : documentCodePage_;
    }
    return font->codePage > 0 ? font->codePage : documentCodePage_;
}

}  // namespace kivo::rtf
