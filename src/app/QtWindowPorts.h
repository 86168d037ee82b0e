#pragma once
// The Qt window as the commands see it: the ports over the window's own
// controls, dialogs, printer, help and settings, each in a few lines (the
// boxes are the platform's own port, BoxesPort).
#include "commands/CommandRunner.h"
#include "commands/Ports.h"
#include "wordlist/DrawPorts.h"

namespace kivo {

class TMainForm;

class QtWindowPorts : public WordListPort,
                      public MainWindowPort,
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
    void historyChanged() override;
    void showBusy(bool busy) override;

    // What the window does itself for a command.
    void closeWindow() override;
    void showDrawHistory() override;
    void showNoRepeats(bool on) override;

    // Dialogs.
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

    // Qt's settings (~/.config/Kivo/Kivo.conf) and the local clock.
    std::optional<bool> readBool(const std::string& key) override;
    void writeBool(const std::string& key, bool value) override;
    LocalTime now() override;

private:
    TMainForm& form_;
};

}  // namespace kivo
