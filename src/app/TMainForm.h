#pragma once
// The main window: its controls, menus, caption, hint line and line count,
// and one handler per event. Handlers stay thin; the work lives in the
// wordlist, files and about libraries.
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;

namespace kivo {

class Boxes;
class HintLine;
class MemoControl;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kInitialCaption =
        QStringLiteral("Kivo  version 1.33   >>>   [ Quillery ]");

    explicit TMainForm(Boxes& boxes, QWidget* parent = nullptr);
    ~TMainForm() override;

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

    const std::string& versionText() const { return FVersionText; }
    const std::string& currentFile() const { return FCurrentFile; }
    HintLine& hintLine() { return *hints_; }

    // Event handlers.
    void FormCreate();
    void FormShow();
    void MemoSelectionChange();
    void ButtonOKClick();
    void mnuClearClick();
    void mnuFListClearClick();
    void mnuRandomClick();
    void mnuExitClick();
    void mnuNewClick();
    void mnuPrintClick();
    void mnuNewInportKivoClick();
    void mnuAddInportKivoClick();
    void mnuNewInporttxtClick();
    void mnuAddInporttxtClick();
    void mnuExportKivoClick();
    void mnuExporttxtClick();
    void mnuFullWidthClick();
    void mnuHalfWidthClick();
    void EditCutClick();
    void EditCopyClick();
    void EditPasteClick();
    void EditSelectAllClick();
    void EditUndoClick();
    void mnuKivoHelpClick();
    void mnuAboutClick();
    void mnuNewKivoClick();

    // The one rule for LabelLineValue: the list's count in plain decimal.
    void refreshLineCount();
    // Names the current file in the caption and remembers its path.
    void SetCurrentFile(const std::string& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createActions();
    void createMenus();
    void createContextMenus();
    void createStatusBar();
    void setTabOrder();
    void ShowLongHint();

    // A menu item: caption, hint and the handler its choice runs.
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                     void (TMainForm::*handler)());
    // A menu item showing one of the shared edit commands.
    QAction* addCommandItem(QMenu* menu, const char* name, QAction* command,
                            const QString& ownCaption = QString());
    QAction* addSeparator(QMenu* menu, const char* name, const QString& hint = QString());
    QMenu* addSubMenu(QMenu* parent, const char* name, const QString& caption, const QString& hint);
    QAction* addCommand(const char* name, const QString& caption, const QString& hint,
                        void (TMainForm::*handler)());
    void connectCommand(QAction* action, void (TMainForm::*handler)());

    Boxes& boxes_;
    HintLine* hints_ = nullptr;
    bool shownOnce_ = false;

    // Shared edit commands (ActionList1, category "編集").
    QAction* EditCutCmd = nullptr;
    QAction* EditCopyCmd = nullptr;
    QAction* EditPasteCmd = nullptr;
    QAction* EditSelectAllCmd = nullptr;
    QAction* EditUndoCmd = nullptr;

    // Private fields, in this order.
    std::string FCurrentFile;
    std::string FVersionText;
    std::uint8_t FNotContainer = 0;
    std::string FCipherKey;
};

}  // namespace kivo
