#pragma once
// The main window: its controls, menus and layout; each of its events
// becomes a command id for the command runner. It holds no rule of its own;
// the commands reach its controls through QtWindowPorts.
//
// The controls keep the names the program has always used for them:
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
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "commands/WindowLayout.h"
#include "core/Titles.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;

namespace kivo {

class Auxiliaries;
class Boxes;
class BoxesPort;
class FileDialogsPort;
class LocalClock;
class QtSettingsStore;
class CommandRunner;
class DrawHistoryWindow;
class EditCommands;
class FileCommands;
class FileDialogs;
class HelpCommands;
class HintLine;
class MemoControl;
class PresentationCommands;
class PresentationWindow;
class QtWindowPorts;
class TFormAbout;
class TopicCommands;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kInitialCaption = QString::fromUtf8(kivo::kInitialCaption);

    explicit TMainForm(Boxes& boxes, QWidget* parent = nullptr);
    ~TMainForm() override;

    const std::string& versionText() const { return FVersionText; }
    const std::string& currentFile() const;
    HintLine& hintLine() { return *hints_; }

    // Event handlers that are no command of their own.
    void FormCreate();
    void FormShow();
    void MemoSelectionChange();
    // A command of the window's menus and buttons, as they run it.
    void run(CommandId command);

    // The About box, made at start-up after this window.
    void setFormAbout(TFormAbout* about) { FormAbout = about; }
    // Help, the update check and printing reach the platform through these.
    Auxiliaries& auxiliaries() { return *auxiliaries_; }

    // LabelLineValue shows the list's count again.
    void refreshLineCount();
    // Names the current file in the caption and remembers its path.
    void SetCurrentFile(const std::string& path);
    // Replaces the word list with the text of the file at path (UTF-8).
    void LoadWordListFile(const std::string& path);
    // The first of the files dropped on the window (local paths).
    void WMDropFiles(const QStringList& paths);

    // Tests pick files themselves; the program uses the toolkit's dialogs.
    void setFileDialogs(FileDialogs& dialogs);
    // The process's arguments; the first after the program names a file.
    void setCommandLine(const QStringList& arguments);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void createActions();
    // Builds the rows of a menu table into `top` (the menu bar when null).
    void addMenuItems(QMenu* top, std::span<const MenuItem> items);
    QAction* editCommandAction(CommandId command) const;
    void createMenus();
    void createContextMenus();
    void createStatusBar();
    void setTabOrder();
    void judgeEditCommands();
    void ShowLongHint();

    // Controls, named as in the window's layout.
    QStatusBar* StatusBar = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    MemoControl* Memo = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonListClear = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LabelLineValue = nullptr;
    QLineEdit* Edit1st = nullptr;
    QLineEdit* Edit2nd = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;

    // A menu item: caption, hint and the handler its choice runs.
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                     CommandId command);
    // A menu item showing one of the shared edit commands.
    QAction* addCommandItem(QMenu* menu, const char* name, QAction* command,
                            const QString& ownCaption = QString());
    QAction* addSeparator(QMenu* menu, const char* name, const QString& hint = QString());
    QMenu* addSubMenu(QMenu* parent, const char* name, const QString& caption, const QString& hint);
    QAction* addCommand(const char* name, const QString& caption, const QString& hint,
                        CommandId command);
    void connectCommand(QAction* action, CommandId command);

    friend class QtWindowPorts;
    Boxes& boxes_;
    std::unique_ptr<FileDialogs> ownDialogs_;
    HintLine* hints_ = nullptr;
    std::unique_ptr<Auxiliaries> auxiliaries_;
    TFormAbout* FormAbout = nullptr;
    QPointer<DrawHistoryWindow> historyWindow_;
    // The window as the commands see it, and the commands over it.
    std::unique_ptr<BoxesPort> boxPort_;
    std::unique_ptr<FileDialogsPort> dialogPort_;
    std::unique_ptr<QtSettingsStore> settings_;
    std::unique_ptr<LocalClock> clock_;
    std::unique_ptr<QtWindowPorts> ports_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<TopicCommands> topics_;
    std::unique_ptr<EditCommands> edits_;
    std::unique_ptr<HelpCommands> helps_;
    // The presentation view, a window of its own owned by this one.
    PresentationWindow* presentationView_ = nullptr;
    std::unique_ptr<PresentationCommands> presentation_;
    std::unique_ptr<CommandRunner> runner_;
    // The control that had the focus before the menus took it.
    QPointer<QWidget> focusBeforeMenus_;
    QStringList commandLine_;
    bool shownOnce_ = false;
    QAction* mnuNoRepeats = nullptr;
    QAction* mnuDarkPresentation = nullptr;

    // Shared edit commands (ActionList1, category "編集").
    QAction* EditCutCmd = nullptr;
    QAction* EditCopyCmd = nullptr;
    QAction* EditPasteCmd = nullptr;
    QAction* EditSelectAllCmd = nullptr;
    QAction* EditUndoCmd = nullptr;

    std::string FVersionText;
};

}  // namespace kivo
