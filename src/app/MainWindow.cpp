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
#include "app/ShareDialogs.h"
#include "app/WindowMenus.h"
#include "commands/EditCommands.h"
#include "commands/Session.h"
#include "platform/AnchorLayout.h"
#include "platform/Boxes.h"
#include "platform/CountdownClock.h"
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
      countdownClock_(std::make_unique<QtCountdownClock>([this] { session_->clockTicked(); })),
      shareDialogs_(std::make_unique<ShareDialogs>(*dialogPort_, *this)),
      versionText_(kVersionText) {
    setObjectName(QStringLiteral("MainForm"));
    setFont(pixelFont(kWindowFontFamily, kWindowFontPixels));
    controls_.window = this;
    controls_.run = [this](CommandId command) { run(command); };
    createControls();
    listPort_ = std::make_unique<MemoListPort>(*list_);
    printer_ = std::make_unique<ListPrintPort>(*list_, *this);
    ports_ = std::make_unique<QtWindowPorts>(
        controls_, [this]() -> TopicDrawer& { return session_->drawer(); });
    presentationView_ = new PresentationWindow(this, [this](CommandId command) { run(command); });
    session_ = std::make_unique<Session>(SessionPorts{
        *listPort_, *ports_, *boxPort_, *dialogPort_, *help_, *ports_, *urls_, *topMost_, *printer_,
        *presentationView_, *ports_, *settings_, *clock_, *countdownClock_, *shareDialogs_});
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
    clientLayout_ = new AnchorLayout(client, kCentralDesignSize);
    setCentralWidget(client);

    auto* frame = named(new QGroupBox(QString::fromUtf8(kGroupBoxText), client), "GroupBox1");
    clientLayout_->addWidget(frame,
                             QRect(kGroupBoxBounds.left, kGroupBoxBounds.top, kGroupBoxBounds.width,
                                   kGroupBoxBounds.height),
                             AnchorLeft | AnchorTop | AnchorRight | AnchorBottom);

    auto* list = named(new MemoControl(frame), "Memo");
    list_ = list;
    list->setFont(pixelFont(kListFontFamily, kListFontHalfPoints * 2 / 3));  // 12 pt is 16 px
    // Tab moves on to the next control rather than into the list.
    list->setTabChangesFocus(true);

    boxLayout_ = new AnchorLayout(frame, kGroupBoxDesignSize);
    QWidget* previous = nullptr;
    std::size_t topics = 0, headings = 0;
    for (const ControlRow& row : groupBoxControls()) {
        const QString text = QString::fromUtf8(row.text);
        QWidget* control = list;
        if (row.kind == ControlKind::Button) {
            auto* button = new QPushButton(text, frame);
            button->setAutoDefault(false);
            control = button;
        } else if (row.kind == ControlKind::Label || row.kind == ControlKind::Heading) {
            auto* label = new QLabel(text, frame);
            if (row.kind == ControlKind::Heading) controls_.headings.at(headings++) = label;
            control = label;
        } else if (row.kind == ControlKind::Topic) {
            auto* edit = new QLineEdit(frame);
            edit->setReadOnly(true);
            edit->setFont(pixelFont(kTopicFontFamily, kTopicFontPixels));
            keepSelectionWhileMenusHaveFocus(edit);
            controls_.topics.at(topics++) = edit;
            control = edit;
        }
        named(control, row.name);
        const Bounds& b = row.bounds;
        boxLayout_->addWidget(control, QRect(b.left, b.top, b.width, b.height), row.anchors);
        const QString hint = QString::fromUtf8(row.hint);
        HintLine::setHint(control, hint);
        // Screen readers name a button or label by what it shows (for the
        // count, the count itself, kept current by the label) and read the
        // hint as its description; the list and the topic boxes show no
        // caption, so their hint names them, as it names a heading until it
        // shows one.
        control->setAccessibleDescription(hint);
        if (row.kind == ControlKind::List || row.kind == ControlKind::Topic ||
            row.kind == ControlKind::Heading) {
            control->setAccessibleName(hint);
        }
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previous) QWidget::setTabOrder(previous, control);
            previous = control;
        }
    }
    controls_.count = findChild<QLabel*>(QStringLiteral("LabelLineValue"));
    controls_.layOutTopics = [this](const TopicArea& area) { layOutTopics(area); };
    frame->setAccessibleName(frame->title().trimmed());
}

void MainWindow::layOutTopics(const TopicArea& area) {
    for (const PlacedControl& placed : groupBoxControls(area)) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(placed.row->name));
        const Bounds& b = placed.bounds;
        boxLayout_->setBounds(control, QRect(b.left, b.top, b.width, b.height));
        control->setVisible(placed.shown);
    }
    const Bounds box = groupBoxBounds(area);
    boxLayout_->setDesignSize(QSize(box.width, box.height));
    const Extent client = clientDesignSize(area);
    // The window grows or shrinks by what the area adds, whatever its size.
    const int growth = client.height - (kStatusBarHeight + clientLayout_->sizeHint().height());
    const int height = this->height() + growth;
    clientLayout_->setBounds(findChild<QWidget*>(QStringLiteral("GroupBox1")),
                             QRect(box.left, box.top, box.width, box.height));
    clientLayout_->setDesignSize(QSize(client.width, client.height - kStatusBarHeight));
    const Extent smallest = smallestClient(area);
    centralWidget()->setMinimumSize(smallest.width, smallest.height - kStatusBarHeight);
    // The window's own smallest size follows now, not at the next event, so
    // that a window shrinking at once is not held at the old one.
    layout()->activate();
    if (growth != 0 && !isMaximized() && !isFullScreen()) resize(width(), height);
    menus_->showTopicCount(area.topics);
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
    connect(findChild<QPushButton*>(QStringLiteral("ButtonListClear")), &QPushButton::clicked, this,
            [this] { run(CommandId::ClearList); });
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
    for (QLineEdit* edit : controls_.topics) {
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
