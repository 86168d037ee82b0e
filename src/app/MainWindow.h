#pragma once
// The main window: it builds its controls, menus and layout, makes the
// session over them and hands it its events. It holds no rule and no state
// of the program's own: the session does.
//
// The controls keep their object names from the window's layout table,
// which tests and screen readers see:
//   Memo             the word list (単語リスト), one entry per line
//   ButtonOK         draws two topics (お題の選出)
//   ButtonListClear  empties the word list (単語リストのクリア)
//   Edit1st, Edit2nd the two drawn topics, read-only
//   Label3           the caption above the topics (今回のお題)
//   Label1           the caption of the count (総数：)
//   LabelLineValue   the count of entries
//   GroupBox1        the frame around all of them
//   StatusPanel0     the status bar's one panel: the hint line
//   PopupMenu1/2     the context menus of the list and of the topics
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "app/QtWindowPorts.h"
#include "commands/WindowLayout.h"
#include "core/Titles.h"

class QLabel;

namespace kivo {

class AboutDialog;
class AnchorLayout;
class Boxes;
class BoxesPort;
class FileDialogs;
class FileDialogsPort;
class HelpEngine;
class HelpEnginePort;
class HintLine;
class ListPrintPort;
class LocalClock;
class MemoControl;
class MemoListPort;
class PresentationWindow;
class PrinterPort;
class QtCountdownClock;
class QtSettingsStore;
class Session;
class ShareDialogs;
class TopMostWindows;
class TopMostWindowsPort;
class UrlOpener;
class UrlOpenerPort;
class WindowMenus;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kInitialCaption = QString::fromUtf8(kivo::kInitialCaption);

    explicit MainWindow(Boxes& boxes, QWidget* parent = nullptr);
    ~MainWindow() override;

    const std::string& versionText() const { return versionText_; }
    HintLine& hintLine() { return *hints_; }
    // The program behind the window: its commands, file and topics.
    Session& session() { return *session_; }
    // A command of the window's menus and buttons, as they run it.
    void run(CommandId command);

    // The About box, made at start-up after this window.
    void setAboutDialog(AboutDialog* about) { controls_.about = about; }
    // Tests pick files, see the help and the browser asked for and print to
    // a file themselves; the program uses the toolkit's and the system's.
    void setFileDialogs(FileDialogs& dialogs);
    void setHelpEngine(HelpEngine& help);
    void setUrlOpener(UrlOpener& urls);
    void setPrinter(PrinterPort& printer);
    // The top-most windows the commands have stepped aside, for the whole run.
    const TopMostWindows& topMost() const;
    // The countdown's clock, which a test runs faster.
    QtCountdownClock& countdownClock() { return *countdownClock_; }
    // The process's arguments; the first after the program names a file.
    void setCommandLine(const QStringList& arguments) { commandLine_ = arguments; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void routeControlEvents();
    void createMenus();
    void createStatusBar();
    // The topic boxes, their headings, the list and the window laid out for
    // the area the session shows.
    void layOutTopics(const TopicArea& area);
    void judgeEditCommands();
    void filesDropped(const QStringList& paths);

    QLabel* statusPanel_ = nullptr;
    AnchorLayout* clientLayout_ = nullptr;
    AnchorLayout* boxLayout_ = nullptr;
    MemoControl* list_ = nullptr;
    QtWindowControls controls_;
    std::unique_ptr<FileDialogs> ownDialogs_;
    HintLine* hints_ = nullptr;
    std::unique_ptr<BoxesPort> boxPort_;
    std::unique_ptr<FileDialogsPort> dialogPort_;
    std::unique_ptr<HelpEnginePort> help_;
    std::unique_ptr<UrlOpenerPort> urls_;
    std::unique_ptr<TopMostWindowsPort> topMost_;
    std::unique_ptr<QtSettingsStore> settings_;
    std::unique_ptr<LocalClock> clock_;
    std::unique_ptr<QtCountdownClock> countdownClock_;
    std::unique_ptr<ShareDialogs> shareDialogs_;
    std::unique_ptr<MemoListPort> listPort_;
    std::unique_ptr<ListPrintPort> printer_;
    std::unique_ptr<QtWindowPorts> ports_;
    std::unique_ptr<WindowMenus> menus_;
    // The presentation view, a window of its own owned by this one.
    PresentationWindow* presentationView_ = nullptr;
    std::unique_ptr<Session> session_;
    // The control that had the focus before the menus took it.
    QPointer<QWidget> focusBeforeMenus_;
    QStringList commandLine_;
    bool shownOnce_ = false;
    std::string versionText_;
};

}  // namespace kivo
