#include "app/MainWindow.h"

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

#include "app/FocusedEditor.h"
#include "app/HintLine.h"
#include "app/PresentationWindow.h"
#include "app/WindowMenus.h"
#include "commands/Session.h"
#include "commands/EditCommands.h"
#include "platform/AnchorLayout.h"
#include "platform/Boxes.h"
#include "platform/FileDialogs.h"
#include "platform/HelpEngine.h"
#include "platform/ListPrintDocument.h"
#include "platform/MemoControl.h"
#include "platform/MemoListPort.h"
#include "platform/Settings.h"
#include "platform/TopMostWindows.h"
#include "platform/UrlOpener.h"

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

MainWindow::MainWindow(Boxes& boxes, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      ownDialogs_(std::make_unique<QtFileDialogs>()),
      hints_(new HintLine(this)),
      boxPort_(std::make_unique<BoxesPort>(boxes)),
      dialogPort_(std::make_unique<FileDialogsPort>(*ownDialogs_)),
      help_(std::make_unique<HelpEnginePort>(boxes, *this)),
      urls_(std::make_unique<UrlOpenerPort>()),
      topMost_(std::make_unique<TopMostWindowsPort>(*this)),
      settings_(std::make_unique<QtSettingsStore>()),
      clock_(std::make_unique<LocalClock>()),
      versionText_(kVersionText) {
    setObjectName(QStringLiteral("MainForm"));
    setFont(pixelFont(kWindowFontFamily, kWindowFontPixels));
    controls_.window = this;
    createControls();
    listPort_ = std::make_unique<MemoListPort>(*list_);
    printer_ = std::make_unique<ListPrintPort>(*list_, *this);
    ports_ = std::make_unique<QtWindowPorts>(controls_,
                                             [this]() -> TopicDrawer& { return session_->drawer(); });
    presentationView_ = new PresentationWindow(this, [this](CommandId command) { run(command); });
    session_ = std::make_unique<Session>(
        SessionPorts{*listPort_, *ports_, *boxPort_, *dialogPort_, *help_, *ports_, *urls_,
                     *topMost_, *printer_, *presentationView_, *ports_, *settings_, *clock_});
    routeControlEvents();
    createMenus();
    createStatusBar();
    resize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
    session_->start();
    connect(hints_, &HintLine::hintChanged, this,
            [this] { statusPanel_->setText(hints_->shown()); });
}

MainWindow::~MainWindow() {
    // The history window, which the ports own, reads the session's draws
    // until it is gone: it goes first.
    ports_.reset();
}

void MainWindow::createControls() {
    auto* client = named(new QWidget(this), "ClientArea");
    auto* clientLayout = new AnchorLayout(client, kCentralDesignSize);
    setCentralWidget(client);

    auto* frame = named(new QGroupBox(QString::fromUtf8(kGroupBoxText), client), "GroupBox1");
    clientLayout->addWidget(frame,
                            QRect(kGroupBoxBounds.left, kGroupBoxBounds.top, kGroupBoxBounds.width,
                                  kGroupBoxBounds.height),
                            AnchorLeft | AnchorTop | AnchorRight | AnchorBottom);

    auto* list = named(new MemoControl(frame), "Memo");
    list_ = list;
    list->setFont(pixelFont(kListFontFamily, kListFontHalfPoints * 2 / 3));  // 12 pt is 16 px
    // Tab moves on to the next control rather than into the list.
    list->setTabChangesFocus(true);
    auto* drawButton = named(new QPushButton(textOf("ButtonOK"), frame), "ButtonOK");
    auto* clearButton =
        named(new QPushButton(textOf("ButtonListClear"), frame), "ButtonListClear");
    auto* topicsCaption = named(new QLabel(textOf("Label3"), frame), "Label3");
    auto* countCaption = named(new QLabel(textOf("Label1"), frame), "Label1");
    auto* count = named(new QLabel(textOf("LabelLineValue"), frame), "LabelLineValue");
    auto* firstTopic = named(new QLineEdit(frame), "Edit1st");
    auto* secondTopic = named(new QLineEdit(frame), "Edit2nd");
    for (QLineEdit* edit : {firstTopic, secondTopic}) {
        edit->setReadOnly(true);
        edit->setFont(pixelFont(kTopicFontFamily, kTopicFontPixels));
        keepSelectionWhileMenusHaveFocus(edit);
    }
    for (QPushButton* button : {drawButton, clearButton}) button->setAutoDefault(false);
    controls_.count = count;
    controls_.firstTopic = firstTopic;
    controls_.secondTopic = secondTopic;

    struct Row {
        QWidget* control;
        const ControlRow& layout;
    };
    const Row rows[] = {
        {list, controlRow("Memo")},
        {drawButton, controlRow("ButtonOK")},
        {clearButton, controlRow("ButtonListClear")},
        {topicsCaption, controlRow("Label3")},
        {countCaption, controlRow("Label1")},
        {count, controlRow("LabelLineValue")},
        {firstTopic, controlRow("Edit1st")},
        {secondTopic, controlRow("Edit2nd")},
    };
    auto* boxLayout = new AnchorLayout(frame, kGroupBoxDesignSize);
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
    for (QWidget* editor : std::initializer_list<QWidget*>{list, firstTopic, secondTopic}) {
        editor->setAccessibleName(HintLine::hintOf(editor));
    }
    frame->setAccessibleName(frame->title().trimmed());
    QWidget::setTabOrder(list, drawButton);
    QWidget::setTabOrder(drawButton, clearButton);
    QWidget::setTabOrder(clearButton, firstTopic);
    QWidget::setTabOrder(firstTopic, secondTopic);
}

void MainWindow::createStatusBar() {
    QStatusBar* StatusBar = named(statusBar(), "StatusBar");
    StatusBar->setFixedHeight(kStatusBarHeight);
    StatusBar->setSizeGripEnabled(true);
    // One panel; being the last, it reaches to the bar's right edge.
    statusPanel_ = named(new QLabel(StatusBar), "StatusPanel0");
    statusPanel_->setMinimumWidth(kStatusPanelWidth);
    StatusBar->addWidget(statusPanel_, 1);
}

void MainWindow::routeControlEvents() {
    MemoControl* list = list_;
    connect(list, &MemoControl::textChanged, this, [this] { session_->listChanged(); });
    connect(list, &MemoControl::selectionChange, this, [this] { session_->listMoved(); });
    // A file dropped on the list is the window's dropped file.
    connect(list, &MemoControl::filesDropped, this, &MainWindow::filesDropped);
    connect(list, &MemoControl::pasteRequested, this, [this] { run(CommandId::Paste); });
    connect(findChild<QPushButton*>(QStringLiteral("ButtonOK")), &QPushButton::clicked, this,
            [this] { run(CommandId::Draw); });
    connect(findChild<QPushButton*>(QStringLiteral("ButtonListClear")), &QPushButton::clicked,
            this, [this] { run(CommandId::ClearList); });
}

void MainWindow::createMenus() {
    menus_ = std::make_unique<WindowMenus>(*this, *hints_, [this](CommandId id) { run(id); });
    menus_->createMenuBar();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // Menus are windows of their own.
        if (now && now->window() == this && now != menuBar()) focusBeforeMenus_ = now;
    });
    controls_.menus = menus_.get();
    connect(menus_->editMenu(), &QMenu::aboutToShow, this, &MainWindow::judgeEditCommands);

    menus_->createContextMenus();
    connect(menus_->listMenu(), &QMenu::aboutToShow, this, &MainWindow::judgeEditCommands);
    // The editors' own context menus give way to the window's.
    MemoControl* list = list_;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
        menus_->listMenu()->popup(list->viewport()->mapToGlobal(pos));
    });
    for (QLineEdit* edit : {controls_.firstTopic, controls_.secondTopic}) {
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& pos) {
            menus_->topicMenu()->popup(edit->mapToGlobal(pos));
        });
    }
}

void MainWindow::run(CommandId command) { session_->run(command); }

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    list_->setFocus();
    setAcceptDrops(true);
    std::optional<std::string> file;
    if (commandLine_.size() >= 2) file = commandLine_[1].toStdString();
    session_->shown(file);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // No question and no offer to save: closing ends the program.
    event->accept();
}

void MainWindow::judgeEditCommands() {
    // A menu reached by keyboard has taken the focus to the menu bar; the
    // commands are about the control it came from.
    QWidget* focused = QApplication::focusWidget();
    if (focused == menuBar() || qobject_cast<QMenu*>(focused)) focused = focusBeforeMenus_;
    const std::optional<EditState> state = editStateOf(focused);
    if (!state) return;
    menus_->enableEditCommands(kivo::judgeEditCommands(*state, clipboardHoldsText()));
}

void MainWindow::setFileDialogs(FileDialogs& dialogs) { dialogPort_->use(dialogs); }

void MainWindow::setHelpEngine(HelpEngine& help) { help_->use(help); }

void MainWindow::setUrlOpener(UrlOpener& urls) { urls_->use(urls); }

void MainWindow::setPrinter(PrinterPort& printer) { printer_->use(printer); }

const TopMostWindows& MainWindow::topMost() const { return topMost_->windows(); }

void MainWindow::filesDropped(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) files.push_back(path.toStdString());
    session_->filesDropped(files);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
    event->acceptProposedAction();
    filesDropped(paths);
}

}  // namespace kivo
