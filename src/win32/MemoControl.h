#pragma once
// The word list over Scintilla's own Win32 control, the editor the Linux
// window holds through QScintilla: the list operations the commands go
// through, in the editor's own messages. The count and line rules are the
// commands' (ListContract.h, CodePage932.h); the formats' styles are shared
// with the Linux list (editor/EditorStyles.h).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/ListContract.h"
#include "commands/Ports.h"
#include "core/TextStyle.h"
#include "editor/ScintillaList.h"

namespace kivo::win32 {

class MemoControl : public WordListPort, private ScintillaCalls {
public:
    // What a list costs the control (measured: editor/ListEditor.h).
    static ListCosts costs();

    // Makes the control as a child of `parent`; `selectionChanged` runs
    // whenever the caret, the selection or the text moved.
    MemoControl(HWND parent, int id, std::function<void()> selectionChanged);
    ~MemoControl() override;
    MemoControl(const MemoControl&) = delete;
    MemoControl& operator=(const MemoControl&) = delete;
    HWND handle() const { return hwnd_; }
    // What a screen reader calls the list (ListAccessible.h).
    void setAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }
    const std::wstring& accessibleName() const { return accessibleName_; }

    // The list's operations, as the commands reach them.
    void focusList() override { SetFocus(hwnd_); }
    std::uint32_t count() const override;
    std::string line(std::uint32_t i) const override;
    std::size_t capacity() const override { return capacity_; }
    void setCapacity(std::size_t characters) { capacity_ = characters; }
    ListCosts listCosts() const override { return costs(); }
    // Empties the list and clears its modified mark.
    void clearList() override;
    // Replaces the whole content, formats included, with nothing to undo;
    // raises the capacity. Out of memory, the list is left empty and
    // std::bad_alloc thrown.
    void loadWholeText(StyledText text) override;
    // Lines, each ended by "\n", at the end in one insertion.
    void appendText(std::string_view lines) override;
    bool isModified() const override;
    void setModified(bool modified) override;
    std::vector<std::string> lines() const override;
    void setLines(const std::vector<std::string>& lines) override;
    // The text, lines ended by "\n", and the same with its formats.
    std::string text() const override;
    StyledText styledText() const override;
    // The format shown at character `position` (UTF-16 units from the start).
    TextStyle styleAt(std::size_t position) const;

    bool hasSelection() const override;
    std::string selectedText() const override;
    // Selects characters [from, to) (UTF-16 units).
    void selectRange(std::size_t from, std::size_t to);
    void replaceSelection(std::string_view text) override;
    bool canUndo() const;
    bool isEmpty() const;
    void cut() override;
    void copy() override;
    // The clipboard's text (UTF-8, "\n" between lines), and its paste.
    static std::string clipboardUtf8();
    std::string clipboardText() const override { return clipboardUtf8(); }
    void paste() override;
    void selectAll() override;
    void undo() override;

    // Sends one of the editor's messages straight to it.
    std::intptr_t send(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) const;
    // Tells the window when the caret, the selection or the text moved.
    void noteSelection();

private:
    std::intptr_t call(unsigned message, std::uintptr_t wParam,
                       std::intptr_t lParam) const override {
        return send(message, wParam, lParam);
    }
    // Runs a change the program makes; the window hears of it once.
    void told(const std::function<void()>& change);
    void replaceAll(std::string_view text, const std::vector<StyledRange>& ranges);
    std::size_t bytePosition(std::size_t units) const;

    using Direct = std::intptr_t (*)(std::intptr_t, unsigned, std::uintptr_t, std::intptr_t);
    HWND hwnd_ = nullptr;
    Direct direct_ = nullptr;
    std::intptr_t editor_ = 0;
    ScintillaList list_{*this};
    std::function<void()> selectionChanged_;
    std::wstring accessibleName_;
    std::size_t capacity_ = kDefaultCapacity;
    // Where the caret and the text stood when the window last heard.
    struct Place {
        std::intptr_t anchor = -1, caret = -1, lines = -1, length = -1;
        bool operator==(const Place&) const = default;
    } last_;
    bool textMoved_ = false;
};

}  // namespace kivo::win32
