#pragma once
// What the file commands ask of the window they run in. Each window (Qt,
// Win32) provides these in a few lines; the rules stay in the commands.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/TextStyle.h"

namespace kivo {

// The word list as the file commands use it: what the loader fills it
// with, its modified mark, its lines, its plain-text switch and what it saves.
class WordListPort {
public:
    virtual ~WordListPort() = default;
    virtual void focusList() = 0;
    // Empties the list and clears its modified mark.
    virtual void clearList() = 0;
    // The control's whole-file load of a file's text; raises its capacity.
    virtual void loadWholeText(StyledText text) = 0;
    // Adds a line at the end; false when the control has no room for it.
    virtual bool appendLine(std::string_view line) = 0;
    // Adds lines at the end in order until one finds no room; how many fit.
    virtual std::size_t appendLines(std::span<const std::string> lines) = 0;
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    // The entries in order (UTF-8), without a trailing empty line.
    virtual std::vector<std::string> lines() const = 0;
    // Replaces the list with these lines, unformatted.
    virtual void setLines(const std::vector<std::string>& lines) = 0;
    virtual bool plainTextMode() const = 0;
    virtual void setPlainTextMode(bool on) = 0;
    // The list's text, lines ended by "\n", and the same with its formats.
    virtual std::string text() const = 0;
    virtual StyledText styledText() const = 0;
};

// The rest of the main window that the file commands touch.
class FileWindowPort {
public:
    virtual ~FileWindowPort() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void refreshLineCount() = 0;
    virtual void clearTopics() = 0;
};

// The boxes: the confirmation box (caption "確認", question icon,
// "はい(&Y)" (default), "いいえ(&N)", "キャンセル") and the warning box.
enum class BoxAnswer { Yes, No, Cancel };
class BoxPort {
public:
    virtual ~BoxPort() = default;
    virtual BoxAnswer confirm(const std::string& text) = 0;
    virtual void warning(const std::string& text) = 0;
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

}  // namespace kivo
