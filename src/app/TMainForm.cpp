#include "app/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>

#include "about/Auxiliaries.h"
#include "app/DrawHistoryWindow.h"
#include "app/ErrorReporting.h"
#include "app/FocusedEditor.h"
#include "app/HintLine.h"
#include "app/QtWindowPorts.h"
#include "commands/EditCommands.h"
#include "commands/FileCommands.h"
#include "commands/HelpCommands.h"
#include "commands/TopicCommands.h"
#include "commands/WindowRules.h"
#include "platform/AnchorLayout.h"
#include "platform/Boxes.h"
#include "platform/FileDialogs.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

// The client area below the menu bar at the design resolution, and the
// part of it above the status bar.
constexpr int kClientWidth = 395;
constexpr int kClientHeight = 216;
constexpr int kStatusBarHeight = 19;
const QSize kCentralDesignSize(kClientWidth, kClientHeight - kStatusBarHeight);
const QSize kGroupBoxDesignSize(389, 185);

QFont pixelFont(const char* family, int pixels) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    return font;
}

template <typename T>
T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

}  // namespace

TMainForm::TMainForm(Boxes& boxes, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      boxes_(boxes),
      ownDialogs_(std::make_unique<QtFileDialogs>()),
      dialogs_(ownDialogs_.get()),
      hints_(new HintLine(this)),
      auxiliaries_(std::make_unique<Auxiliaries>(boxes)),
      ports_(std::make_unique<QtWindowPorts>(*this)),
      files_(std::make_unique<FileCommands>(*ports_, *ports_, *ports_, *ports_)),
      topics_(std::make_unique<TopicCommands>(*ports_, *ports_, *ports_, *ports_, *ports_)),
      edits_(std::make_unique<EditCommands>(*ports_)),
      helps_(std::make_unique<HelpCommands>(
          HelpPorts{*ports_, *ports_, *ports_, *ports_, *ports_, *ports_})) {
    setObjectName(QStringLiteral("MainForm"));
    setFont(pixelFont("ＭＳ Ｐゴシック", 12));
    createControls();
    // Any change to the list's text starts the pool of draws again.
    connect(Memo, &MemoControl::textChanged, this, [this] { topics_->listChanged(); });
    createActions();
    createMenus();
    createContextMenus();
    createStatusBar();
    setTabOrder();
    resize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
    FormCreate();
}

TMainForm::~TMainForm() {
    // The history window reads the drawer's history; it goes first.
    delete historyWindow_.data();
}

void TMainForm::createControls() {
    auto* client = named(new QWidget(this), "ClientArea");
    auto* clientLayout = new AnchorLayout(client, kCentralDesignSize);
    setCentralWidget(client);

    GroupBox1 = named(new QGroupBox(QStringLiteral(" 単語リスト "), client), "GroupBox1");
    clientLayout->addWidget(GroupBox1, QRect(4, 8, 389, 185),
                            AnchorLeft | AnchorTop | AnchorRight | AnchorBottom);

    Memo = named(new MemoControl(GroupBox1), "Memo");
    Memo->setFont(pixelFont(kListFontFamily, kListFontHalfPoints * 2 / 3));  // 12 pt is 16 px
    // Tab moves on to the next control rather than into the list.
    Memo->setTabChangesFocus(true);
    ButtonOK = named(new QPushButton(QStringLiteral("お題の選出"), GroupBox1), "ButtonOK");
    ButtonListClear =
        named(new QPushButton(QStringLiteral("単語リストのクリア"), GroupBox1), "ButtonListClear");
    Label3 = named(new QLabel(QStringLiteral("今回のお題"), GroupBox1), "Label3");
    Label1 = named(new QLabel(QStringLiteral("総数："), GroupBox1), "Label1");
    LabelLineValue = named(new QLabel(QStringLiteral("0"), GroupBox1), "LabelLineValue");
    Edit1st = named(new QLineEdit(GroupBox1), "Edit1st");
    Edit2nd = named(new QLineEdit(GroupBox1), "Edit2nd");
    for (QLineEdit* edit : {Edit1st, Edit2nd}) {
        edit->setReadOnly(true);
        edit->setFont(pixelFont("FixedSys", 12));
    }
    for (QPushButton* button : {ButtonOK, ButtonListClear}) button->setAutoDefault(false);

    struct Row {
        QWidget* control;
        QRect bounds;
        unsigned anchors;
        const char* hint;
    };
    const unsigned kBottomRow = AnchorLeft | AnchorRight | AnchorBottom;
    // Labels size themselves to their text, so a long count is never cut.
    const unsigned kLabel = kBottomRow | AutoWidth;
    const Row rows[] = {
        {Memo, {12, 24, 209, 153}, AnchorLeft | AnchorTop | AnchorBottom, "単語リスト"},
        {ButtonOK, {232, 29, 145, 20}, AnchorLeft | AnchorTop, "お題をランダムに選出します"},
        {ButtonListClear, {232, 56, 145, 20}, AnchorLeft | AnchorTop, "単語リストをクリアします"},
        {Label3, {235, 101, 59, 12}, kLabel, ""},
        {Label1, {320, 101, 30, 12}, kLabel, "単語の総数です"},
        {LabelLineValue, {352, 101, 6, 12}, kLabel, "単語の総数です"},
        {Edit1st, {232, 117, 145, 26}, kBottomRow, "お題その 1"},
        {Edit2nd, {232, 151, 145, 26}, kBottomRow, "お題その 2"},
    };
    auto* boxLayout = new AnchorLayout(GroupBox1, kGroupBoxDesignSize);
    for (const Row& row : rows) {
        boxLayout->addWidget(row.control, row.bounds, row.anchors);
        const QString hint = QString::fromUtf8(row.hint);
        HintLine::setHint(row.control, hint);
        // Screen readers name a button or label by what it shows (for the
        // count, the count itself, kept current by the label) and read the
        // hint as its description.
        row.control->setAccessibleDescription(hint);
    }
    // The list and the topic boxes show no caption; their hint names them.
    for (QWidget* editor : std::initializer_list<QWidget*>{Memo, Edit1st, Edit2nd}) {
        editor->setAccessibleName(HintLine::hintOf(editor));
    }
    GroupBox1->setAccessibleName(GroupBox1->title().trimmed());

    connect(Memo, &MemoControl::selectionChange, this,
            [this] { runCommand(boxes_, [this] { MemoSelectionChange(); }); });
    // A file dropped on the list is the window's dropped file.
    connect(Memo, &MemoControl::filesDropped, this,
            [this](const QStringList& paths) { runCommand(boxes_, [&] { WMDropFiles(paths); }); });
    connect(ButtonOK, &QPushButton::clicked, this,
            [this] { runCommand(boxes_, [this] { ButtonOKClick(); }); });
    connect(ButtonListClear, &QPushButton::clicked, this,
            [this] { runCommand(boxes_, [this] { mnuClearClick(); }); });
}

void TMainForm::createActions() {
    EditCutCmd = addCommand("EditCutCmd", QStringLiteral("切り取り(&X)"),
                            QStringLiteral("選択部分を切り取り、クリップボードに送ります"),
                            &TMainForm::EditCutClick);
    EditCopyCmd = addCommand("EditCopyCmd", QStringLiteral("コピー(&C)"),
                             QStringLiteral("選択部分をコピーし、クリップボードに送ります"),
                             &TMainForm::EditCopyClick);
    EditPasteCmd = addCommand("EditPasteCmd", QStringLiteral("貼り付け(&V)"),
                              QStringLiteral("クリップボードの内容を貼り付けます"),
                              &TMainForm::EditPasteClick);
    EditSelectAllCmd =
        addCommand("EditSelectAllCmd", QStringLiteral("すべてを選択(&A)"),
                   QStringLiteral("リストを全て選択します"), &TMainForm::EditSelectAllClick);
    EditUndoCmd = addCommand("EditUndoCmd", QStringLiteral("元に戻す(&Z)"),
                             QStringLiteral("直前の変更を元に戻します"), &TMainForm::EditUndoClick);
}

void TMainForm::createMenus() {
    QMenuBar* bar = named(menuBar(), "MainMenu1");
    hints_->watchMenuBar(bar);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // Menus are windows of their own.
        if (now && now->window() == this && now != menuBar()) focusBeforeMenus_ = now;
    });

    QMenu* file = addSubMenu(nullptr, "mnuFile", QStringLiteral("ファイル(&F)"),
                             QStringLiteral("語句リストとお題リストをクリアします"));
    addItem(file, "mnuNew", QStringLiteral("新規作成(&N)"),
            QStringLiteral("単語リストとお題リストをクリアします"), &TMainForm::mnuNewClick);
    addSeparator(file, "Bar1");
    addItem(file, "mnuPrint", QStringLiteral("印刷(&P)"), QStringLiteral("単語リストを印刷します"),
            &TMainForm::mnuPrintClick);
    addSeparator(file, "Bar2");
    QMenu* import = addSubMenu(file, "mnuInport", QStringLiteral("インポート(&I)"),
                               QStringLiteral("外部からファイルをインポートします"));
    addItem(import, "mnuNewInportKivo", QStringLiteral("Kivo ファイルを新規インポート(&S)"),
            QStringLiteral("暗号化された Kivo 形式のファイルを新規にインポートします"),
            &TMainForm::mnuNewInportKivoClick);
    addItem(import, "mnuAddInportKivo", QStringLiteral("Kivo ファイルを追加インポート(&A)"),
            QStringLiteral("暗号化された Kivo 形式のファイルを、既存の単語リストに追加します"),
            &TMainForm::mnuAddInportKivoClick);
    addSeparator(import, "Bar6");
    addItem(import, "mnuNewInporttxt", QStringLiteral("txt ファイルを新規インポート(&T)"),
            QStringLiteral("テキストファイルを新規にインポートします"),
            &TMainForm::mnuNewInporttxtClick);
    addItem(import, "mnuAddInporttxt", QStringLiteral("txt ファイルを追加インポート(&D)"),
            QStringLiteral("既存の単語リストに追加する形でインポートを行います"),
            &TMainForm::mnuAddInporttxtClick);
    QMenu* exportMenu = addSubMenu(file, "mnuExport", QStringLiteral("エクスポート(&E)"),
                                   QStringLiteral("単語リストを外部へエクスポートします"));
    addItem(exportMenu, "mnuExportKivo", QStringLiteral("Kivo 形式でエクスポート(&P)"),
            QStringLiteral("単語リストを暗号化して保存します"), &TMainForm::mnuExportKivoClick);
    addItem(exportMenu, "mnuExporttxt", QStringLiteral("txt 形式でエクスポート(&T)"),
            QStringLiteral("単語リストを txt 形式で保存します"), &TMainForm::mnuExporttxtClick);
    addSeparator(file, "Bar3");
    addItem(file, "mnuExit", QStringLiteral("終了(&X)"), QStringLiteral("Kivo を終了します"),
            &TMainForm::mnuExitClick);

    QMenu* edit = addSubMenu(nullptr, "mnuEdit", QStringLiteral("編集(&E)"), QString());
    addItem(edit, "mnuFullWidth", QStringLiteral("全角変換(&F)"),
            QStringLiteral("カタカナ、英数を全角文字に変換します"), &TMainForm::mnuFullWidthClick);
    addItem(edit, "mnuHalfWidth", QStringLiteral("半角変換(&H)"),
            QStringLiteral("カタカナ、英数を半角文字に変換します"), &TMainForm::mnuHalfWidthClick);
    addSeparator(edit, "N3");
    addCommandItem(edit, "mnuEditCut", EditCutCmd);
    addCommandItem(edit, "mnuEditCopy", EditCopyCmd);
    addCommandItem(edit, "mnuEditPaste", EditPasteCmd);
    addCommandItem(edit, "mnuEditSelectAll", EditSelectAllCmd, QStringLiteral("全て選択(&A)"));
    addSeparator(edit, "Bar7");
    addCommandItem(edit, "mnuEditUndo", EditUndoCmd);
    connect(edit, &QMenu::aboutToShow, this, &TMainForm::judgeEditCommands);

    QMenu* tool = addSubMenu(nullptr, "mnuTool", QStringLiteral("ツール(&T)"), QString());
    addItem(tool, "mnuListClear", QStringLiteral("単語リストのクリア(&C)"),
            QStringLiteral("単語リストをクリアします"), &TMainForm::mnuClearClick);
    addItem(tool, "mnuFListClear", QStringLiteral("お題のクリア(&L)"),
            QStringLiteral("選出された二つのお題をクリアします"), &TMainForm::mnuFListClearClick);
    addSeparator(tool, "Bar4");
    addItem(tool, "mnuRandom", QStringLiteral("ランダムを再生成(&R)"),
            QStringLiteral("現時刻より、ランダムを再生成します"), &TMainForm::mnuRandomClick);
    addSeparator(tool, "Bar8");
    mnuNoRepeats = addItem(tool, "mnuNoRepeats", QStringLiteral("重複なしで選出(&U)"),
                           QStringLiteral("全ての語句が選出されるまで、同じ語句を選出しません"),
                           &TMainForm::mnuNoRepeatsClick);
    mnuNoRepeats->setCheckable(true);
    mnuNoRepeats->setChecked(topics_->noRepeats());
    addItem(tool, "mnuDrawHistory", QStringLiteral("お題の履歴(&H)"),
            QStringLiteral("今回の起動中に選出したお題の履歴を表示します"),
            &TMainForm::mnuDrawHistoryClick);

    QMenu* help = addSubMenu(nullptr, "mnuHelp", QStringLiteral("ヘルプ(&H)"), QString());
    addItem(help, "mnuKivoHelp", QStringLiteral("Kivo のヘルプ(&P)"),
            QStringLiteral("Kivo のヘルプを表示します"), &TMainForm::mnuKivoHelpClick);
    addSeparator(help, "Bar5", QStringLiteral("Kivo のヘルプを表示します"));
    addItem(help, "mnuAbout", QStringLiteral("バージョン情報(&A)"),
            QStringLiteral("Kivo のバージョン情報を表示します"), &TMainForm::mnuAboutClick);
    addItem(help, "mnuNewKivo", QStringLiteral("最新版を確認(&N)"),
            QStringLiteral("開発者ホームページへ接続します"), &TMainForm::mnuNewKivoClick);
}

void TMainForm::createContextMenus() {
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    hints_->watchMenu(PopupMenu1, true);
    addItem(PopupMenu1, "mnuClear", QStringLiteral("単語リストのクリア(&L)"),
            QStringLiteral("単語リストをクリアします"), &TMainForm::mnuClearClick);
    addSeparator(PopupMenu1, "N1");
    addCommandItem(PopupMenu1, "mnuPUCut", EditCutCmd);
    addCommandItem(PopupMenu1, "mnuPUCopy", EditCopyCmd);
    addCommandItem(PopupMenu1, "mnuPUPaste", EditPasteCmd);
    addCommandItem(PopupMenu1, "mnuSelectAll", EditSelectAllCmd, QStringLiteral("全て選択(&A)"));
    addSeparator(PopupMenu1, "N2");
    addCommandItem(PopupMenu1, "mnuPUUndo", EditUndoCmd);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TMainForm::judgeEditCommands);

    PopupMenu2 = named(new QMenu(this), "PopupMenu2");
    hints_->watchMenu(PopupMenu2, true);
    addItem(PopupMenu2, "mnuFListC", QStringLiteral("お題リストのクリア(&C)"),
            QStringLiteral("選出された二つのお題をクリアします"), &TMainForm::mnuFListClearClick);

    // The editors' own context menus give way to the window's.
    Memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(Memo->viewport()->mapToGlobal(pos)); });
    for (QLineEdit* edit : {Edit1st, Edit2nd}) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this,
                [this, edit](const QPoint& pos) { PopupMenu2->popup(edit->mapToGlobal(pos)); });
    }
}

void TMainForm::createStatusBar() {
    StatusBar = named(statusBar(), "StatusBar");
    StatusBar->setFixedHeight(kStatusBarHeight);
    StatusBar->setSizeGripEnabled(true);
    // One panel; being the last, it reaches to the bar's right edge.
    StatusPanel0 = named(new QLabel(StatusBar), "StatusPanel0");
    StatusPanel0->setMinimumWidth(50);
    StatusBar->addWidget(StatusPanel0, 1);
}

void TMainForm::setTabOrder() {
    QWidget::setTabOrder(Memo, ButtonOK);
    QWidget::setTabOrder(ButtonOK, ButtonListClear);
    QWidget::setTabOrder(ButtonListClear, Edit1st);
    QWidget::setTabOrder(Edit1st, Edit2nd);
}

QAction* TMainForm::addCommand(const char* name, const QString& caption, const QString& hint,
                               void (TMainForm::*handler)()) {
    auto* command = named(new QAction(caption, this), name);
    command->setProperty("category", QStringLiteral("編集"));
    HintLine::setHint(command, hint);
    connectCommand(command, handler);
    return command;
}

QAction* TMainForm::addItem(QMenu* menu, const char* name, const QString& caption,
                            const QString& hint, void (TMainForm::*handler)()) {
    auto* item = named(new QAction(caption, this), name);
    HintLine::setHint(item, hint);
    connectCommand(item, handler);
    menu->addAction(item);
    return item;
}

QAction* TMainForm::addCommandItem(QMenu* menu, const char* name, QAction* command,
                                   const QString& ownCaption) {
    // Each menu item is an object of its own that follows its command: the
    // command's caption (unless the item names its own), hint and enabling.
    auto* item =
        named(new QAction(ownCaption.isEmpty() ? command->text() : ownCaption, this), name);
    HintLine::setHint(item, HintLine::hintOf(command));
    item->setEnabled(command->isEnabled());
    connect(command, &QAction::changed, item, [item, command, ownCaption] {
        item->setEnabled(command->isEnabled());
        if (ownCaption.isEmpty()) item->setText(command->text());
    });
    connect(item, &QAction::triggered, command, &QAction::trigger);
    menu->addAction(item);
    return item;
}

QAction* TMainForm::addSeparator(QMenu* menu, const char* name, const QString& hint) {
    auto* separator = named(new QAction(this), name);
    separator->setSeparator(true);
    HintLine::setHint(separator, hint);
    menu->addAction(separator);
    return separator;
}

QMenu* TMainForm::addSubMenu(QMenu* parent, const char* name, const QString& caption,
                             const QString& hint) {
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
    named(menu->menuAction(), name);
    HintLine::setHint(menu->menuAction(), hint);
    if (parent) {
        parent->addMenu(menu);
    } else {
        menuBar()->addMenu(menu);
    }
    hints_->watchMenu(menu, parent == nullptr);
    return menu;
}

void TMainForm::connectCommand(QAction* action, void (TMainForm::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { runCommand(boxes_, [this, handler] { (this->*handler)(); }); });
}

// ---- Start-up ------------------------------------------------------------

void TMainForm::FormCreate() {
    FVersionText = "version 1.33";
    kivo::FormCreate(*ports_);
    connect(hints_, &HintLine::hintChanged, this, &TMainForm::ShowLongHint, Qt::UniqueConnection);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Memo->setFocus();
    runCommand(boxes_, [this] { FormShow(); });
}

void TMainForm::FormShow() {
    setAcceptDrops(true);
    if (commandLine_.size() >= 2) files_->loadCommandLineFile(commandLine_[1].toStdString());
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // No question and no offer to save: closing ends the program.
    event->accept();
}

// ---- Caption, hint line, line count -------------------------------------

void TMainForm::SetCurrentFile(const std::string& path) { files_->SetCurrentFile(path); }

const std::string& TMainForm::currentFile() const { return files_->currentFile(); }

void TMainForm::LoadWordListFile(const std::string& path) { files_->LoadWordListFile(path); }

void TMainForm::ShowLongHint() { StatusPanel0->setText(hints_->shown()); }

void TMainForm::refreshLineCount() { kivo::refreshLineCount(*ports_, *ports_); }

void TMainForm::MemoSelectionChange() { refreshLineCount(); }

// ---- Word list and topics -----------------------------------------------

void TMainForm::ButtonOKClick() { topics_->ButtonOKClick(); }

void TMainForm::mnuClearClick() { topics_->mnuClearClick(); }

void TMainForm::mnuFListClearClick() { topics_->mnuFListClearClick(); }

void TMainForm::mnuRandomClick() { topics_->mnuRandomClick(); }

void TMainForm::mnuNoRepeatsClick() { topics_->mnuNoRepeatsClick(mnuNoRepeats->isChecked()); }

void TMainForm::mnuDrawHistoryClick() {
    if (!historyWindow_) historyWindow_ = new DrawHistoryWindow(topics_->drawer(), this);
    historyWindow_->refresh();
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

void TMainForm::mnuExitClick() { close(); }

// ---- Width conversion and edit commands ---------------------------------

void TMainForm::mnuFullWidthClick() { edits_->mnuFullWidthClick(); }

void TMainForm::mnuHalfWidthClick() { edits_->mnuHalfWidthClick(); }

void TMainForm::EditCutClick() { edits_->EditCutClick(); }

void TMainForm::EditCopyClick() { edits_->EditCopyClick(); }

void TMainForm::EditPasteClick() { edits_->EditPasteClick(); }

void TMainForm::EditSelectAllClick() { edits_->EditSelectAllClick(); }

void TMainForm::EditUndoClick() { edits_->EditUndoClick(); }

void TMainForm::judgeEditCommands() {
    // A menu reached by keyboard has taken the focus to the menu bar; the
    // commands are about the control it came from.
    QWidget* focused = QApplication::focusWidget();
    if (focused == menuBar() || qobject_cast<QMenu*>(focused)) focused = focusBeforeMenus_;
    const std::optional<EditState> state = editStateOf(focused);
    if (!state) return;
    const EditEnabling enabling = kivo::judgeEditCommands(*state, clipboardHoldsText());
    EditCutCmd->setEnabled(enabling.cut);
    EditCopyCmd->setEnabled(enabling.copy);
    EditPasteCmd->setEnabled(enabling.paste);
    EditSelectAllCmd->setEnabled(enabling.selectAll);
    EditUndoCmd->setEnabled(enabling.undo);
}

// ---- File commands -------------------------------------------------------

void TMainForm::setFileDialogs(FileDialogs& dialogs) { dialogs_ = &dialogs; }

void TMainForm::setCommandLine(const QStringList& arguments) { commandLine_ = arguments; }

void TMainForm::mnuNewClick() { files_->mnuNewClick(); }

void TMainForm::mnuNewInportKivoClick() { files_->mnuNewInportKivoClick(); }

void TMainForm::mnuAddInportKivoClick() { files_->mnuAddInportKivoClick(); }

void TMainForm::mnuNewInporttxtClick() { files_->mnuNewInporttxtClick(); }

void TMainForm::mnuAddInporttxtClick() { files_->mnuAddInporttxtClick(); }

void TMainForm::mnuExportKivoClick() { files_->mnuExportKivoClick(); }

void TMainForm::mnuExporttxtClick() { files_->mnuExporttxtClick(); }

void TMainForm::WMDropFiles(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) files.push_back(path.toStdString());
    files_->WMDropFiles(files);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
    event->acceptProposedAction();
    runCommand(boxes_, [&] { WMDropFiles(paths); });
}

// ---- Help, About box, update check and printing -------------------------

void TMainForm::mnuPrintClick() { helps_->mnuPrintClick(); }

void TMainForm::mnuKivoHelpClick() { helps_->mnuKivoHelpClick(); }

void TMainForm::mnuAboutClick() { helps_->mnuAboutClick(); }

void TMainForm::mnuNewKivoClick() { helps_->mnuNewKivoClick(); }

}  // namespace kivo
