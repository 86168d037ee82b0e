#include "app/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeySequence>
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
#include "app/FocusedEditor.h"
#include "app/HintLine.h"
#include "app/PresentationWindow.h"
#include "app/QtWindowPorts.h"
#include "commands/CommandRunner.h"
#include "commands/EditCommands.h"
#include "commands/FileCommands.h"
#include "commands/HelpCommands.h"
#include "commands/PresentationCommands.h"
#include "commands/TopicCommands.h"
#include "commands/WindowLayout.h"
#include "commands/WindowRules.h"
#include "platform/AnchorLayout.h"
#include "platform/Boxes.h"
#include "platform/FileDialogs.h"
#include "platform/MemoControl.h"
#include "platform/Settings.h"

namespace kivo {
namespace {

// The client area below the menu bar at the design resolution, less the
// status bar.
const QSize kCentralDesignSize(kClientWidth, kClientHeight - kStatusBarHeight);
const QSize kGroupBoxDesignSize(kGroupBoxBounds.width, kGroupBoxBounds.height);

QString textOf(const char* control) { return QString::fromUtf8(controlRow(control).text); }

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
      hints_(new HintLine(this)),
      auxiliaries_(std::make_unique<Auxiliaries>(boxes, *this)),
      boxPort_(std::make_unique<BoxesPort>(boxes)),
      dialogPort_(std::make_unique<FileDialogsPort>(*ownDialogs_)),
      settings_(std::make_unique<QtSettingsStore>()),
      clock_(std::make_unique<LocalClock>()),
      ports_(std::make_unique<QtWindowPorts>(*this)),
      files_(std::make_unique<FileCommands>(*ports_, *ports_, *boxPort_, *dialogPort_)),
      topics_(std::make_unique<TopicCommands>(*ports_, *ports_, *boxPort_, *settings_, *clock_)),
      edits_(std::make_unique<EditCommands>(*ports_, *ports_)),
      helps_(std::make_unique<HelpCommands>(HelpPorts{*auxiliaries_, *ports_, *auxiliaries_,
                                                      *auxiliaries_, *ports_, *boxPort_, *ports_})),
      presentationView_(new PresentationWindow(this, [this](CommandId command) { run(command); })),
      presentation_(std::make_unique<PresentationCommands>(*topics_, *ports_, *presentationView_,
                                                           *settings_)),
      runner_(std::make_unique<CommandRunner>(
          WindowCommands{*files_, *topics_, *edits_, *helps_, *presentation_, *ports_},
          *boxPort_)) {
    setObjectName(QStringLiteral("MainForm"));
    setFont(pixelFont(kWindowFontFamily, kWindowFontPixels));
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

    GroupBox1 = named(new QGroupBox(QString::fromUtf8(kGroupBoxText), client), "GroupBox1");
    clientLayout->addWidget(GroupBox1,
                            QRect(kGroupBoxBounds.left, kGroupBoxBounds.top, kGroupBoxBounds.width,
                                  kGroupBoxBounds.height),
                            AnchorLeft | AnchorTop | AnchorRight | AnchorBottom);

    Memo = named(new MemoControl(GroupBox1), "Memo");
    Memo->setFont(pixelFont(kListFontFamily, kListFontHalfPoints * 2 / 3));  // 12 pt is 16 px
    // Tab moves on to the next control rather than into the list.
    Memo->setTabChangesFocus(true);
    ButtonOK = named(new QPushButton(textOf("ButtonOK"), GroupBox1), "ButtonOK");
    ButtonListClear =
        named(new QPushButton(textOf("ButtonListClear"), GroupBox1), "ButtonListClear");
    Label3 = named(new QLabel(textOf("Label3"), GroupBox1), "Label3");
    Label1 = named(new QLabel(textOf("Label1"), GroupBox1), "Label1");
    LabelLineValue = named(new QLabel(textOf("LabelLineValue"), GroupBox1), "LabelLineValue");
    Edit1st = named(new QLineEdit(GroupBox1), "Edit1st");
    Edit2nd = named(new QLineEdit(GroupBox1), "Edit2nd");
    for (QLineEdit* edit : {Edit1st, Edit2nd}) {
        edit->setReadOnly(true);
        edit->setFont(pixelFont(kTopicFontFamily, kTopicFontPixels));
        keepSelectionWhileMenusHaveFocus(edit);
    }
    for (QPushButton* button : {ButtonOK, ButtonListClear}) button->setAutoDefault(false);

    struct Row {
        QWidget* control;
        const ControlRow& layout;
    };
    const Row rows[] = {
        {Memo, controlRow("Memo")},
        {ButtonOK, controlRow("ButtonOK")},
        {ButtonListClear, controlRow("ButtonListClear")},
        {Label3, controlRow("Label3")},
        {Label1, controlRow("Label1")},
        {LabelLineValue, controlRow("LabelLineValue")},
        {Edit1st, controlRow("Edit1st")},
        {Edit2nd, controlRow("Edit2nd")},
    };
    auto* boxLayout = new AnchorLayout(GroupBox1, kGroupBoxDesignSize);
    for (const Row& row : rows) {
        const Bounds& b = row.layout.bounds;
        boxLayout->addWidget(row.control, QRect(b.left, b.top, b.width, b.height),
                             row.layout.anchors);
        const QString hint = QString::fromUtf8(row.layout.hint);
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
            [this] { runner_->guard([this] { MemoSelectionChange(); }); });
    // A file dropped on the list is the window's dropped file.
    connect(Memo, &MemoControl::filesDropped, this,
            [this](const QStringList& paths) { runner_->guard([&] { WMDropFiles(paths); }); });
    connect(Memo, &MemoControl::pasteRequested, this, [this] { run(CommandId::Paste); });
    connect(ButtonOK, &QPushButton::clicked, this, [this] { run(CommandId::Draw); });
    connect(ButtonListClear, &QPushButton::clicked, this, [this] { run(CommandId::ClearList); });
}

void TMainForm::createActions() {
    QAction** targets[] = {&EditCutCmd, &EditCopyCmd, &EditPasteCmd, &EditSelectAllCmd,
                           &EditUndoCmd};
    std::size_t next = 0;
    for (const EditCommandText& command : editCommandTexts()) {
        *targets[next++] = addCommand(command.name, QString::fromUtf8(command.caption),
                                      QString::fromUtf8(command.hint), command.command);
    }
}

QAction* TMainForm::editCommandAction(CommandId command) const {
    // In the order of the shared table, as createActions made them.
    QAction* const actions[] = {EditCutCmd, EditCopyCmd, EditPasteCmd, EditSelectAllCmd,
                                EditUndoCmd};
    const std::span<const EditCommandText> texts = editCommandTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].command == command) return actions[i];
    }
    return nullptr;
}

void TMainForm::addMenuItems(QMenu* top, std::span<const MenuItem> items) {
    // The menu each depth adds to; a sub-menu opens the next depth.
    std::vector<QMenu*> parents{top};
    for (const MenuItem& item : items) {
        parents.resize(static_cast<std::size_t>(item.depth) + 1);
        QMenu* parent = parents.back();
        const QString caption = QString::fromUtf8(captionOf(item));
        const QString hint = QString::fromUtf8(hintOf(item));
        if (item.kind == MenuKind::SubMenu) {
            parents.push_back(addSubMenu(parent, item.name, caption, hint));
        } else if (item.kind == MenuKind::Separator) {
            addSeparator(parent, item.name, hint);
        } else if (QAction* command = editCommandAction(item.command)) {
            addCommandItem(parent, item.name, command, item.caption ? caption : QString());
        } else {
            QAction* action = addItem(parent, item.name, caption, hint, item.command);
            action->setCheckable(item.kind == MenuKind::CheckItem);
            if (const char* key = shortcutOf(item.command)) {
                action->setShortcut(QKeySequence(QString::fromLatin1(key)));
            }
        }
    }
}

void TMainForm::createMenus() {
    QMenuBar* bar = named(menuBar(), "MainMenu1");
    hints_->watchMenuBar(bar);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // Menus are windows of their own.
        if (now && now->window() == this && now != menuBar()) focusBeforeMenus_ = now;
    });
    addMenuItems(nullptr, mainMenuItems());
    mnuNoRepeats = findChild<QAction*>(QStringLiteral("mnuNoRepeats"));
    mnuNoRepeats->setChecked(topics_->noRepeats());
    mnuDarkPresentation = findChild<QAction*>(QStringLiteral("mnuDarkPresentation"));
    mnuDarkPresentation->setChecked(presentation_->darkPresentation());
    connect(findChild<QMenu*>(QStringLiteral("mnuEditMenu")), &QMenu::aboutToShow, this,
            &TMainForm::judgeEditCommands);
}

void TMainForm::createContextMenus() {
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    hints_->watchMenu(PopupMenu1, true);
    addMenuItems(PopupMenu1, listMenuItems());
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TMainForm::judgeEditCommands);

    PopupMenu2 = named(new QMenu(this), "PopupMenu2");
    hints_->watchMenu(PopupMenu2, true);
    addMenuItems(PopupMenu2, topicMenuItems());

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
    StatusPanel0->setMinimumWidth(kStatusPanelWidth);
    StatusBar->addWidget(StatusPanel0, 1);
}

void TMainForm::setTabOrder() {
    QWidget::setTabOrder(Memo, ButtonOK);
    QWidget::setTabOrder(ButtonOK, ButtonListClear);
    QWidget::setTabOrder(ButtonListClear, Edit1st);
    QWidget::setTabOrder(Edit1st, Edit2nd);
}

QAction* TMainForm::addCommand(const char* name, const QString& caption, const QString& hint,
                               CommandId handler) {
    auto* command = named(new QAction(caption, this), name);
    command->setProperty("category", QStringLiteral("編集"));
    HintLine::setHint(command, hint);
    connectCommand(command, handler);
    return command;
}

QAction* TMainForm::addItem(QMenu* menu, const char* name, const QString& caption,
                            const QString& hint, CommandId handler) {
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

void TMainForm::connectCommand(QAction* action, CommandId command) {
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
}

void TMainForm::run(CommandId command) { runner_->run(command); }

// ---- Start-up ------------------------------------------------------------

void TMainForm::FormCreate() {
    FVersionText = kVersionText;
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
    runner_->guard([this] { FormShow(); });
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

void TMainForm::setFileDialogs(FileDialogs& dialogs) { dialogPort_->use(dialogs); }

void TMainForm::setCommandLine(const QStringList& arguments) { commandLine_ = arguments; }

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
    runner_->guard([&] { WMDropFiles(paths); });
}

}  // namespace kivo
