#pragma once
// The Qt main window as the commands see it where its controls join: the
// caption, the count and the topics, the draw history, the menu checks and
// the About box. The list is a port of its own (MemoListPort), and so are
// the platform's parts (BoxesPort, FileDialogsPort, HelpEnginePort,
// UrlOpenerPort, TopMostWindowsPort, ListPrintPort, QtSettingsStore,
// LocalClock).
#include <QPointer>
#include <array>
#include <functional>

#include "commands/CommandRunner.h"
#include "commands/Ports.h"

class QAction;
class QLabel;
class QLineEdit;
class QMainWindow;

namespace kivo {

class AboutDialog;
class DrawHistoryWindow;
class TopicDrawer;
class WindowMenus;

// The controls the ports show things in, filled in by the window as it
// makes them.
struct QtWindowControls {
    QMainWindow* window = nullptr;
    QLabel* count = nullptr;
    std::array<QLineEdit*, 3> topics{};
    std::array<QLabel*, 3> headings{};
    // Lays the window out for a topic area.
    std::function<void(const TopicArea&)> layOutTopics;
    WindowMenus* menus = nullptr;
    AboutDialog* about = nullptr;
    // Runs a command as the window's menus do.
    std::function<void(CommandId)> run;
};

class QtWindowPorts : public MainWindowPort, public AboutPort, public WindowCommandPort {
public:
    // `drawer` gives the draws the history window shows.
    QtWindowPorts(const QtWindowControls& controls, std::function<TopicDrawer&()> drawer);
    ~QtWindowPorts() override;

    void setCaption(const std::string& caption) override;
    void showLineCount(const std::string& count) override;
    void showTopics(const DrawnTopics& topics) override;
    void clearTopics() override;
    void showTopicArea(const TopicArea& area) override;
    void historyChanged() override;
    void showBusy(bool busy) override;
    void copyToClipboard(const std::string& text) override;

    void closeWindow() override;
    void showDrawHistory() override;
    void showChecked(CommandId command, bool on) override;

    void showAbout() override;

private:
    const QtWindowControls& controls_;
    std::function<TopicDrawer&()> drawer_;
    QPointer<DrawHistoryWindow> history_;
};

}  // namespace kivo
