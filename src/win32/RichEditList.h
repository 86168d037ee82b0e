#pragma once
// The word list over a Rich Edit control (MSFTEDIT_CLASS): the list
// operations the commands go through, in the control's own messages. The
// count and line rules are the commands' (WindowRules.h, CodePage932.h).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/ListContract.h"
#include "core/TextStyle.h"

namespace kivo::win32 {

class RichEditList {
public:
    // What a list costs the control: a paragraph of Rich Edit takes far
    // more than a line of a plain editor.
    static ListCosts costs() { return {256, std::size_t{1} << 30}; }

    // Makes the control; Msftedit.dll must be loaded.
    static HWND create(HWND parent, int id);

    explicit RichEditList(HWND control) : hwnd_(control) {}
    HWND handle() const { return hwnd_; }

    std::uint32_t count() const;
    std::string line(std::uint32_t i) const;
    std::size_t capacity() const;
    void setCapacity(std::size_t characters);
    // Characters in the list, line breaks included.
    std::size_t length() const;
    void clearList();
    // Replaces the whole content, formats included; raises the capacity.
    void loadWholeText(const StyledText& text);
    // Lines, each ended by "\n", at the end in one insertion.
    void appendText(std::string_view lines);
    bool isModified() const;
    void setModified(bool modified);
    std::vector<std::string> lines() const;
    void setLines(const std::vector<std::string>& lines);
    // The text, lines ended by "\n", and the same with its formats.
    std::string text() const;
    StyledText styledText() const;

    bool hasSelection() const;
    std::string selectedText() const;
    void replaceSelection(std::string_view text);
    bool canUndo() const;
    void cut();
    void copy();
    // The clipboard's text (UTF-8, "\n" between lines), and its paste.
    static std::string clipboardText();
    void paste();
    void selectAll();
    void undo();

    // The control's text as it holds it, paragraphs ended by CR.
    std::wstring rawText() const;

private:
    // Puts units at the end of the text without moving the user's caret or
    // selection and without an undo step.
    void appendRaw(const std::wstring& units);
    // The list's own font, size and colour over the whole text.
    void plainFormat();

    HWND hwnd_;
};

}  // namespace kivo::win32
