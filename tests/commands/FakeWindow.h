#pragma once
// A double of every port the commands use.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "commands/Ports.h"
#include "commands/Session.h"
#include "wordlist/DrawPorts.h"

namespace kivo {

using Lines = std::vector<std::string>;

// The window as a few fields: the list's lines, its mark and switch, the
// caption, and scripted boxes and dialogs that record what was shown.
struct FakeWindow : WordListPort,
                    MainWindowPort,
                    BoxPort,
                    FileDialogPort,
                    HelpPort,
                    AboutPort,
                    UrlPort,
                    TopMostPort,
                    PrintPort,
                    SettingsStore,
                    WallClock,
                    WindowCommandPort,
                    PresentationPort,
                    CountdownClockPort,
                    ShareDialogPort {
    Lines list;
    bool modified = false;
    ListCosts costs;
    int busy = 0;       // wait cursors shown and not yet taken back
    int busyShown = 0;  // how many times the wait cursor came up
    std::string caption;
    std::vector<std::string> lineCounts;  // the count label, each time
    std::string topics;                   // "first/second", "" when cleared
    std::vector<std::string> topicBoxes;
    TopicArea area;
    std::optional<std::string> selection;
    std::size_t room = 1u << 20;
    bool printerChosen = true;
    std::map<std::string, bool> settings;
    std::vector<std::string> shown;  // boxes and dialogs, in order
    // Answers to the boxes and dialogs, taken in order. One that finds none
    // left was not expected: the test fails naming it, and it is cancelled.
    std::deque<BoxAnswer> answers;
    std::deque<std::optional<std::string>> paths;

    void focusList() override {}
    std::uint32_t count() const override { return static_cast<std::uint32_t>(list.size()); }
    std::string line(std::uint32_t i) const override { return list.at(i); }
    std::size_t capacity() const override { return room; }
    void clearList() override {
        list.clear();
        modified = false;
    }
    ListCosts listCosts() const override { return costs; }
    void loadWholeText(StyledText text) override {
        list.clear();
        std::istringstream in(text.text);
        for (std::string line; std::getline(in, line);) list.push_back(line);
    }
    // Marks nothing: the mark is the commands' business.
    void appendText(std::string_view lines) override {
        std::istringstream in{std::string(lines)};
        for (std::string line; std::getline(in, line);) list.push_back(line);
    }
    void warning(const std::string& text) override { shown.push_back("warning:" + text); }
    bool isModified() const override { return modified; }
    void setModified(bool m) override { modified = m; }
    Lines lines() const override { return list; }
    void setLines(const Lines& lines) override { list = lines; }
    std::string text() const override {
        std::string out;
        for (const std::string& line : list) out += line + "\n";
        return out;
    }
    StyledText styledText() const override { return {text(), {}}; }
    bool hasSelection() const override { return selection.has_value(); }
    std::string selectedText() const override { return selection.value_or(""); }
    void replaceSelection(std::string_view text) override {
        shown.push_back("replaced:" + std::string(text));
        selection.reset();
    }
    void cut() override { shown.push_back("cut"); }
    void copy() override { shown.push_back("copy"); }
    std::string clipboard;
    std::string clipboardText() const override { return clipboard; }
    void paste() override { shown.push_back("paste"); }
    void selectAll() override { shown.push_back("select all"); }
    void undo() override { shown.push_back("undo"); }

    void setCaption(const std::string& c) override { caption = c; }
    void showLineCount(const std::string& count) override { lineCounts.push_back(count); }
    // " 犬/ 猫", or "【人物】 騎士/【場所】 駅" drawn by heading.
    static std::string joined(const DrawnTopics& drawn) {
        std::string out;
        for (const DrawnTopic& t : drawn) {
            if (!out.empty()) out += "/";
            if (!t.heading.empty()) out += "【" + t.heading + "】";
            out += t.text;
        }
        return out;
    }
    void showTopics(const DrawnTopics& drawn) override {
        topics = joined(drawn);
        topicBoxes.clear();
        for (const DrawnTopic& t : drawn) topicBoxes.push_back(t.text);
    }
    void showTopicArea(const TopicArea& a) override {
        area = a;
        shown.push_back("area:" + std::to_string(a.topics) + (a.headings ? ":headings" : ""));
    }
    void clearTopics() override {
        topics.clear();
        topicBoxes = {};
        shown.push_back("topics cleared");
    }
    void historyChanged() override {}
    void showBusy(bool on) override {
        busy += on ? 1 : -1;
        if (on) ++busyShown;
    }
    void message(const std::string& text) override { shown.push_back("message:" + text); }
    void error(const std::string& text) override { shown.push_back("error:" + text); }
    void closeWindow() override { shown.push_back("closed"); }
    void showDrawHistory() override { shown.push_back("history"); }
    void showChecked(CommandId command, bool on) override {
        if (command == CommandId::NoRepeats) shown.push_back(on ? "checked" : "unchecked");
        if (command == CommandId::DarkPresentation) shown.push_back(on ? "dark" : "light");
        if (command == CommandId::ThreeTopics && on) shown.push_back("three");
        if (command == CommandId::TwoTopics && on) shown.push_back("two");
        if (command == CommandId::ByHeading) shown.push_back(on ? "by heading" : "whole list");
    }

    // The presentation view: what it shows, each change told as
    // "view:<theme>:<lines>" and the like.
    bool viewOpen = false;
    std::vector<std::string> view;
    static std::string themeName(PresentationTheme t) {
        return t == PresentationTheme::Dark ? "dark" : "light";
    }
    void showPresentation(const DrawnTopics& t, PresentationTheme theme) override {
        viewOpen = true;
        view.push_back("open:" + themeName(theme) + ":" + joined(t));
    }
    void updatePresentation(const DrawnTopics& t) override {
        view.push_back("update:" + joined(t));
    }
    void setPresentationTheme(PresentationTheme theme) override {
        view.push_back("theme:" + themeName(theme));
    }
    void setPresentationFullScreen(bool on) override {
        view.push_back(on ? "full screen" : "windowed");
    }
    void closePresentation() override {
        viewOpen = false;
        view.push_back("closed");
    }
    bool presentationOpen() const override { return viewOpen; }
    bool askYesNo(const std::string& caption, const std::string& text) override {
        shown.push_back("ask:" + caption + ":" + text);
        if (answers.empty()) {
            ADD_FAILURE() << "unanswered question: " << caption << ": " << text;
            return false;
        }
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a == BoxAnswer::Yes;
    }
    BoxAnswer confirm(const std::string& text) override {
        shown.push_back("confirm:" + text);
        if (answers.empty()) {
            ADD_FAILURE() << "unanswered box: " << text;
            return BoxAnswer::Cancel;
        }
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> next(const std::string& kind, const DialogSettings& s) {
        shown.push_back(kind + ":" + s.filter + ":" + s.defaultExtension);
        if (paths.empty()) {
            ADD_FAILURE() << "unanswered " << kind << " dialog: " << s.filter;
            return std::nullopt;
        }
        auto p = paths.front();
        paths.pop_front();
        return p;
    }
    std::optional<std::string> openFile(const DialogSettings& s) override {
        return next("open", s);
    }
    std::optional<std::string> saveFile(const DialogSettings& s) override {
        return next("save", s);
    }

    void showHelpContents() override { shown.push_back("help"); }
    // The example lists installed, by file name.
    std::map<std::string, std::string, std::less<>> examples;
    std::optional<std::string> exampleListPath(std::string_view fileName) override {
        const auto found = examples.find(fileName);
        if (found == examples.end()) return std::nullopt;
        return found->second;
    }
    void showAbout() override { shown.push_back("about"); }
    void openUrl(const std::string& url) override { shown.push_back("browser:" + url); }
    void lowerTopMost() override { shown.push_back("lower"); }
    void raiseTopMost() override { shown.push_back("raise"); }
    bool setUpPrinter() override {
        shown.push_back("printer set-up");
        return printerChosen;
    }
    void printList() override { shown.push_back("printed"); }

    std::optional<bool> readBool(const std::string& key) override {
        const auto it = settings.find(key);
        if (it == settings.end()) return std::nullopt;
        return it->second;
    }
    void writeBool(const std::string& key, bool value) override { settings[key] = value; }
    std::map<std::string, std::string> strings;
    std::optional<std::string> readString(const std::string& key) override {
        const auto it = strings.find(key);
        if (it == strings.end()) return std::nullopt;
        return it->second;
    }
    void writeString(const std::string& key, const std::string& value) override {
        strings[key] = value;
    }
    LocalTime now() override { return {2026, 12, 7, 9, 30, 0}; }

    std::string copied;  // what went on the clipboard
    void copyToClipboard(const std::string& text) override { copied = text; }

    // The countdown: the faces shown, "4:59" or "!0:00" (warning) or "-"
    // (flashed off), and a clock that moves only when told.
    std::vector<std::string> faces;
    std::vector<std::string> ended;
    void showCountdown(const CountdownFace& face) override {
        faces.push_back(!face.shown ? "-" : (face.warning ? "!" : "") + face.text);
    }
    void countdownEnded(const std::string& text) override { ended.push_back(text); }
    std::int64_t clockMs = 1'000'000;
    int wake = -1;  // the wake-up asked for, -1 for none
    std::int64_t milliseconds() override { return clockMs; }
    void wakeAfter(int ms) override { wake = ms; }
    void stopWaking() override { wake = -1; }

    // The share dialog and the minutes box, answered from scripts.
    std::deque<std::optional<ShareSettings>> shareAnswers;
    std::deque<std::optional<int>> minutesAnswers;
    std::optional<ShareSettings> editShareSettings(const ShareSettings&) override {
        shown.push_back("share dialog");
        if (shareAnswers.empty()) {
            ADD_FAILURE() << "unanswered share dialog";
            return std::nullopt;
        }
        auto a = shareAnswers.front();
        shareAnswers.pop_front();
        return a;
    }
    std::optional<int> askTimerMinutes(int) override {
        shown.push_back("minutes");
        if (minutesAnswers.empty()) return std::nullopt;
        auto a = minutesAnswers.front();
        minutesAnswers.pop_front();
        return a;
    }
};

// A session over one fake window, run as the windows run it.
class RunnerTest : public ::testing::Test {
protected:
    FakeWindow window;
    Session session{SessionPorts{window, window, window, window, window, window, window, window,
                                 window, window, window, window, window, window, window}};
    TopicCommands& topics = session.topicCommands();
};

}  // namespace kivo
