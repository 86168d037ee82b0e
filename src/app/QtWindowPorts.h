#pragma once
// The Qt window as the commands see it where its controls join: the list,
// the caption, count and topics, the About box, the printed list and what
// the window does itself. The platform's parts are ports of their own
// (BoxesPort, FileDialogsPort, Auxiliaries, QtSettingsStore, LocalClock).
#include "commands/CommandRunner.h"
#include "commands/Ports.h"

namespace kivo {

class TMainForm;

class QtWindowPorts : public WordListPort,
                      public MainWindowPort,
                      public AboutPort,
                      public PrintPort,
                      public WindowCommandPort {
public:
    explicit QtWindowPorts(TMainForm& form) : form_(form) {}

    // The word list.
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

    // The rest of the window.
    void setCaption(const std::string& caption) override;
    void showLineCount(const std::string& count) override;
    void showTopics(const std::string& topic1, const std::string& topic2) override;
    void clearTopics() override;
    std::array<std::string, 2> shownTopics() const override;
    void historyChanged() override;
    void showBusy(bool busy) override;

    // What the window does itself for a command.
    void closeWindow() override;
    void showDrawHistory() override;
    void showNoRepeats(bool on) override;
    void showDarkPresentation(bool on) override;

    // Help, About, the browser, the top-most windows, the printer.
    void showAbout() override;
    bool setUpPrinter() override;
    void printList() override;

private:
    TMainForm& form_;
};

}  // namespace kivo
