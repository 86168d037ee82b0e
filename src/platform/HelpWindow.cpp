#include "platform/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

namespace kivo {
namespace {

constexpr int kBlockPositionRole = Qt::UserRole;

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Kivo のヘルプ"));
    // An open help window must not keep the program alive on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(14);
    setFont(font);

    contents_ = new QTreeWidget;
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setHeaderLabel(QStringLiteral("目次"));
    contents_->header()->setSectionsClickable(false);
    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpText"));
    // The document is the program's own; nothing in it leaves the window.
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 540});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    resize(780, 560);

    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showTopic(item); });
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showTopic(item); });
}

bool HelpWindow::open(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) return false;
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (browser_->source() == url) {
        browser_->reload();
    } else {
        browser_->setSource(url, QTextDocument::HtmlResource);
    }
    if (browser_->document()->isEmpty()) return false;
    const QString title = browser_->documentTitle();
    if (!title.isEmpty()) setWindowTitle(title);
    createContents();
    return true;
}

void HelpWindow::createContents() {
    contents_->clear();
    // An entry goes under the last entry of a higher level before it.
    std::vector<std::pair<int, QTreeWidgetItem*>> open;
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        const QString title = block.text().simplified();
        if (level == 0 || title.isEmpty()) continue;
        while (!open.empty() && open.back().first >= level) open.pop_back();
        auto* item =
            open.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(open.back().second);
        item->setText(0, title);
        item->setData(0, kBlockPositionRole, block.position());
        open.emplace_back(level, item);
    }
    contents_->expandAll();
}

void HelpWindow::showTopic(const QTreeWidgetItem* item) {
    if (!item) return;
    QTextDocument* document = browser_->document();
    const QTextBlock block = document->findBlock(item->data(0, kBlockPositionRole).toInt());
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    browser_->setTextCursor(cursor);
    const QRectF bounds = document->documentLayout()->blockBoundingRect(block);
    browser_->verticalScrollBar()->setValue(static_cast<int>(bounds.top()));
}

}  // namespace kivo
