#pragma once
// What the commands ask of the window they run in. Each window (Qt, Win32)
// provides these in a few lines; the rules stay in the commands.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/Countdown.h"
#include "commands/ListContract.h"
#include "commands/WindowLayout.h"
#include "core/ListReplacement.h"
#include "core/TextStyle.h"
#include "wordlist/DrawPorts.h"

namespace kivo {

// The word list control: what the loader fills it with, its modified mark,
// its lines, what it saves, its selection and the editor's own commands.
// What the list may hold and when it counts as modified are the commands'
// rules (ListContract.h); the control only does what it is told.
class WordListPort {
public:
    virtual ~WordListPort() = default;
    virtual void focusList() = 0;
    // Entries: the lines, a last empty line not counted.
    virtual std::uint32_t count() const = 0;
    // Entry i (UTF-8) as the draw reads it: cut to kMaxLineBytes bytes of
    // its code page 932 form at a character boundary.
    virtual std::string line(std::uint32_t i) const = 0;
    // UTF-16 units the list takes, line breaks included.
    virtual std::size_t capacity() const = 0;
    // What a list costs this control in memory.
    virtual ListCosts listCosts() const = 0;
    // Empties the list and clears its modified mark.
    virtual void clearList() = 0;
    // The control's whole-file load of a file's text (formats in the list's
    // own font already taken out); raises its capacity.
    virtual void loadWholeText(StyledText text) = 0;
    // Adds lines, each ended by "\n", at the end in one call; the commands
    // have made sure they fit.
    virtual void appendText(std::string_view lines) = 0;
    // The list's new lines, handed over while they are read (the commands
    // have made sure they fit); at commit the list holds them, as after
    // clearList and appendText. A control may take them in meanwhile,
    // away from the list it shows; by default they are kept together and
    // go in at commit.
    virtual std::unique_ptr<ListReplacement> replaceList() { return collectedReplacement(*this); }
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    // The entries in order (UTF-8), without a trailing empty line.
    virtual std::vector<std::string> lines() const = 0;
    // Replaces the list with these lines, unformatted.
    virtual void setLines(const std::vector<std::string>& lines) = 0;
    // The list's text, lines ended by "\n", and the same with its formats.
    virtual std::string text() const = 0;
    virtual StyledText styledText() const = 0;

    virtual bool hasSelection() const = 0;
    // The selection (UTF-8), its line breaks as "\n".
    virtual std::string selectedText() const = 0;
    // Puts text ("\n" between lines) in place of the selection; not undoable.
    virtual void replaceSelection(std::string_view text) = 0;
    virtual void cut() = 0;
    virtual void copy() = 0;
    // The text a paste would put in (UTF-8), and the paste itself.
    virtual std::string clipboardText() const = 0;
    virtual void paste() = 0;
    virtual void selectAll() = 0;
    virtual void undo() = 0;
};

// The rest of the main window: its caption, the count label, the topics it
// is told to show (the session keeps them; nothing reads them back).
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void showLineCount(const std::string& count) = 0;
    // One topic a box, its section's heading (bracketed) on the line above
    // it when the area shows headings.
    virtual void showTopics(const DrawnTopics& topics) = 0;
    virtual void clearTopics() = 0;
    // How many topic boxes show, and whether headings show over them: the
    // window lays itself out again (groupBoxControls(area)), its size and
    // smallest size growing or shrinking by what the area adds.
    virtual void showTopicArea(const TopicArea& area) = 0;
    // A draw went into the history; a window showing it catches up.
    virtual void historyChanged() = 0;
    // Puts text ("\n" between lines) on the clipboard, its line breaks as
    // the system's programs paste them.
    virtual void copyToClipboard(const std::string& text) = 0;
    // Long work under way: the wait cursor over the program while on, the
    // usual one over any box or dialog it shows meanwhile. Calls nest.
    virtual void showBusy(bool busy) = 0;
};

// The wait cursor for as long as it lives, whichever way the work ends.
class BusyCursor {
public:
    explicit BusyCursor(MainWindowPort& window) : window_(window) { window_.showBusy(true); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() { window_.showBusy(false); }

private:
    MainWindowPort& window_;
};

// The boxes: the confirmation box (caption "確認", question icon,
// "はい(&Y)" (default), "いいえ(&N)", "キャンセル"), the warning box, the
// plain message box (caption "Kivo", OK), the error box and a yes/no
// question under its own caption.
enum class BoxAnswer { Yes, No, Cancel };
class BoxPort {
public:
    virtual ~BoxPort() = default;
    virtual BoxAnswer confirm(const std::string& text) = 0;
    virtual void warning(const std::string& text) = 0;
    virtual void message(const std::string& text) = 0;
    // The error box: the application title, the stop icon, one OK.
    virtual void error(const std::string& text) = 0;
    virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
};

// The open and save dialogs, set up with a filter ("name|pattern|...") and a
// default extension (".Kivo"); nothing when cancelled.
struct DialogSettings {
    std::string filter;
    std::string defaultExtension;
};
class FileDialogPort {
public:
    virtual ~FileDialogPort() = default;
    virtual std::optional<std::string> openFile(const DialogSettings& settings) = 0;
    virtual std::optional<std::string> saveFile(const DialogSettings& settings) = 0;
};

// The help document, opened at its contents for the main window, and the
// example lists that ship beside it.
class HelpPort {
public:
    virtual ~HelpPort() = default;
    virtual void showHelpContents() = 0;
    // The UTF-8 path of the installed example list of that name; nothing
    // when it is missing.
    virtual std::optional<std::string> exampleListPath(std::string_view fileName) = 0;
};

// The user's browser, not waited for.
class UrlPort {
public:
    virtual ~UrlPort() = default;
    virtual void openUrl(const std::string& url) = 0;
};

// The program's top-most windows (the About box): lowered so that another
// window can come in front of them, raised again after. Nested calls count.
class TopMostPort {
public:
    virtual ~TopMostPort() = default;
    virtual void lowerTopMost() = 0;
    virtual void raiseTopMost() = 0;
};

// The printer: its set-up dialog (false when cancelled) and the whole list
// printed on the current printer.
class PrintPort {
public:
    virtual ~PrintPort() = default;
    virtual bool setUpPrinter() = 0;
    virtual void printList() = 0;
};

// The topics shown large for a room or a stream, in a window of their own.
// The window measures and paints; what goes where is the commands'
// (PresentationLayout.h).
enum class PresentationTheme { Light, Dark };
class PresentationPort {
public:
    virtual ~PresentationPort() = default;
    // Opens full screen on the main window's screen with these topics.
    virtual void showPresentation(const DrawnTopics& topics, PresentationTheme theme) = 0;
    // New topics: painted again, and told to a screen reader.
    virtual void updatePresentation(const DrawnTopics& topics) = 0;
    virtual void setPresentationTheme(PresentationTheme theme) = 0;
    // Full screen, or a window of its own that a stream can capture.
    virtual void setPresentationFullScreen(bool fullScreen) = 0;
    virtual void closePresentation() = 0;
    // False too once the user has closed it some other way.
    virtual bool presentationOpen() const = 0;
    // The countdown under the topics, kept for when the view opens.
    virtual void showCountdown(const CountdownFace& face) = 0;
    // The countdown reached zero: the system's notification sound, once,
    // and `announcement` told to a screen reader while the view is open.
    virtual void countdownEnded(const std::string& announcement) = 0;
};

// The countdown's clock and its wake-ups. The clock counts milliseconds
// from any start and never goes back; a wake-up asked for calls
// Session::clockTicked() once, a new one replacing the one before.
class CountdownClockPort {
public:
    virtual ~CountdownClockPort() = default;
    virtual std::int64_t milliseconds() = 0;
    virtual void wakeAfter(int milliseconds) = 0;
    virtual void stopWaking() = 0;
};

// What the stream files and the copied topics are made with, set in one
// small dialog.
struct ShareSettings {
    bool streamOn = false;
    std::string folder;  // UTF-8; empty until one is chosen
    std::string separator = " × ";
    std::string lead = "お題：";
    std::string hashtag;
    bool operator==(const ShareSettings&) const = default;
};
// The share dialog (texts in ShareTexts.h), with its own button that
// chooses the folder in the system's folder dialog; and the box that asks
// for the countdown's own length.
class ShareDialogPort {
public:
    virtual ~ShareDialogPort() = default;
    // The values OK took; nothing when cancelled.
    virtual std::optional<ShareSettings> editShareSettings(const ShareSettings& settings) = 0;
    // Whole minutes from kFewestTimerMinutes to kMostTimerMinutes; nothing
    // when cancelled.
    virtual std::optional<int> askTimerMinutes(int minutes) = 0;
};

class AboutPort {
public:
    virtual ~AboutPort() = default;
    virtual void showAbout() = 0;
};

}  // namespace kivo
