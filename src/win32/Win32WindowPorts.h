#pragma once
// The Win32 window as the commands see it: every port over the window's
// Rich Edit list, its edits and labels, the system boxes, dialogs, printer,
// browser, registry and clock, each in a few lines.
#include "commands/CommandRunner.h"
#include "commands/Ports.h"
#include "wordlist/DrawPorts.h"

namespace kivo::win32 {

class TMainForm;

class Win32WindowPorts : public WordListPort,
                         public MainWindowPort,
                         public BoxPort,
                         public FileDialogPort,
                         public HelpPort,
                         public AboutPort,
                         public UrlPort,
                         public TopMostPort,
                         public PrintPort,
                         public SettingsStore,
                         public WallClock,
                         public WindowCommandPort {
public:
    explicit Win32WindowPorts(TMainForm& form) : form_(form) {}

    // The word list.
    void focusList() override;
    std::uint32_t count() const override;
    std::string line(std::uint32_t i) const override;
    std::size_t capacity() const override;
    ListCosts listCosts() const override;
    void clearList() override;
    void loadWholeText(StyledText text) override;
    void appendText(std::string_view lines) override;
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

    // Boxes and dialogs, modal over the window.
    BoxAnswer confirm(const std::string& text) override;
    void warning(const std::string& text) override;
    void message(const std::string& text) override;
    void error(const std::string& text) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFile(const DialogSettings& settings) override;
    std::optional<std::string> saveFile(const DialogSettings& settings) override;

    // Help, About, the browser, the top-most windows, the printer.
    void showHelpContents() override;
    void showAbout() override;
    void openUrl(const std::string& url) override;
    void lowerTopMost() override;
    void raiseTopMost() override;
    bool setUpPrinter() override;
    void printList() override;

    // The registry and the local clock.
    std::optional<bool> readBool(const std::string& key) override;
    void writeBool(const std::string& key, bool value) override;
    LocalTime now() override;

private:
    // Counts a modal box or dialog as open for the hint line.
    template <typename Run>
    auto modal(Run&& run);

    TMainForm& form_;
};

}  // namespace kivo::win32
