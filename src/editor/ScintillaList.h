#pragma once
// The list as the editor both windows hold keeps it: Scintilla, reached
// through QScintilla on Linux and as its own Win32 control on Windows. How
// the list is counted, read, replaced, appended to and marked modified, and
// how its formats become styles, is written here once, in the editor's own
// messages; a window only says how it reaches the editor.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/TextStyle.h"
#include "editor/EditorStyles.h"
#include "editor/ScintillaCalls.h"

namespace kivo {

class ScintillaList {
public:
    explicit ScintillaList(const ScintillaCalls& editor) : editor_(editor), styles_(editor) {}

    // Entries: the lines, a last empty line not counted.
    std::uint32_t count() const;
    // Line i as the draw reads it (ListEditor.h), UTF-8; empty past the end.
    std::string_view line(std::uint32_t i) const { return lineOf(editor_, i); }
    // The same of any editor's text, for those that only reach its window.
    static std::string_view lineOf(const ScintillaCalls& editor, std::uint32_t i);
    // The editor's own UTF-8 text, valid until the text changes.
    std::string_view text() const;
    // The entries in order, without a trailing empty line.
    std::vector<std::string> lines() const;
    // The text with its formats, for a save.
    StyledText styledText() const;

    // The user's edits mark the list modified by themselves; the program
    // marks it too (after a conversion, an add-import) and clears the mark
    // when the list is saved or loaded.
    bool isModified() const;
    void setModified(bool modified);

    // Replaces the whole text (UTF-8, lines as the list holds them) with its
    // formats, with nothing to undo.
    void replaceAll(std::string_view text, const std::vector<StyledRange>& ranges);
    // Puts `text` in place of the selection, leaving nothing to undo: what
    // was there to undo would no longer fit the text.
    void replaceSelection(const std::string& text);
    // Adds text at the end in one insertion, with nothing to undo.
    void append(std::string_view text);
    // Shows `document` (the editor's, made elsewhere) in the list's place.
    void useDocument(std::intptr_t document);

    // Runs a change the program makes to the text: not undoable, and the
    // editor tells of none of its pieces. Out of memory in it, the list is
    // left empty and std::bad_alloc thrown.
    void programChange(const std::function<void()>& change);

    // The caret blinks at `period` (ms), or stands still on a very long
    // line: each blink repaints the caret's line, and a line is drawn whole.
    void settleCaret(int period);

    EditorStyles& styles() { return styles_; }
    const EditorStyles& styles() const { return styles_; }

private:
    std::intptr_t call(unsigned message, std::uintptr_t wParam = 0,
                       std::intptr_t lParam = 0) const {
        return editor_.call(message, wParam, lParam);
    }
    // A document of the list's kind, with or without a style byte beside
    // each byte of its text.
    void startDocument(bool styled);

    const ScintillaCalls& editor_;
    EditorStyles styles_;
    bool forcedModified_ = false;
};

}  // namespace kivo
