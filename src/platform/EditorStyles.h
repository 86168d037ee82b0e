#pragma once
// The list's formats as the editor's styles: number 0 is the list's plain
// text, the others are the distinct formats of loaded documents, each
// defined once. The editor has 256 of them, some kept for itself; once the
// rest are taken, a new format shows in the nearest one already defined.
// The editor's text carries a style number per byte; formatted stretches go
// in and come back out through here.
#include <QColor>
#include <QFont>
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/TextStyle.h"

class QsciScintillaBase;

namespace kivo {

class EditorStyles {
public:
    // Style numbers the editor has; a style byte holds any of them.
    static constexpr int kCount = 256;
    // Distinct formats the editor can show at once, the plain one included.
    static int limit();

    explicit EditorStyles(QsciScintillaBase& editor) : editor_(editor) {}

    // The style for a format; once the editor's styles are all taken, the
    // nearest one already defined.
    int numberOf(const TextStyle& style);
    // The format of a style number; the plain one for a number it never
    // gave out.
    const SharedStyle& styleOf(int number) const;
    bool anyDefined() const { return next_ > 1; }
    // Forgets every format, for a new document.
    void reset();
    // The plain style takes the list's font; formats keep what they give
    // of their own and take the rest from it.
    void setBaseFont(const QFont& font, const QColor& text, const QColor& paper);

    // Styles the editor's text, `text` as it holds it, with the stretches
    // (UTF-16 units); of overlapping ones the first wins.
    void apply(std::string_view text, const std::vector<StyledRange>& ranges);
    // The formatted stretches of the editor's first `length` bytes.
    std::vector<StyledRange> ranges(long length) const;
    // The format shown at byte `position` of the editor's text.
    TextStyle styleAt(long position) const;
    // Distinct styles the editor's first `length` bytes use.
    int inUse(long length) const;

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    std::size_t numberAt(long position) const;
    void define(int number);
    void defineStyle(int number, const TextStyle& style);
    double basePoints() const;

    QsciScintillaBase& editor_;
    QFont base_;
    QColor text_, paper_;
    std::map<std::string, int> numbers_;
    std::array<SharedStyle, kCount> defined_{};
    int next_ = 1;
};

}  // namespace kivo
