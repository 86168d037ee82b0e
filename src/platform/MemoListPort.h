#pragma once
// The word-list control as the commands reach it: each of the list's
// operations on the QScintilla control, and the clipboard it pastes from.
#include "commands/Ports.h"

namespace kivo {

class MemoControl;

class MemoListPort : public WordListPort {
public:
    explicit MemoListPort(MemoControl& memo) : memo_(memo) {}

    void focusList() override;
    std::uint32_t count() const override;
    std::string line(std::uint32_t i) const override;
    std::size_t capacity() const override;
    ListCosts listCosts() const override;
    void clearList() override;
    void loadWholeText(StyledText text) override;
    void appendText(std::string_view lines) override;
    std::unique_ptr<ListReplacement> replaceList() override;
    bool isModified() const override;
    void setModified(bool modified) override;
    std::vector<std::string> lines() const override;
    void setLines(const std::vector<std::string>& lines) override;
    std::string text() const override;
    StyledText styledText() const override;
    bool hasSelection() const override;
    std::string selectedText() const override;
    void replaceSelection(std::string_view text) override;
    void cut() override;
    void copy() override;
    std::string clipboardText() const override;
    void paste() override;
    void selectAll() override;
    void undo() override;

private:
    MemoControl& memo_;
};

}  // namespace kivo
