#pragma once
// The editor's styles for the list's formats: number 0 is the list's plain
// text, the others are the distinct formats of loaded documents, each
// defined once. The editor has 256 of them, some kept for itself; once the
// rest are taken, a new format shows in the nearest one already defined.
#include <QColor>
#include <QFont>
#include <array>
#include <map>
#include <string>

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

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
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
