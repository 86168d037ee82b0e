#include "app/DrawHistoryWindow.h"

#include <QAbstractTableModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/WindowLayout.h"
#include "wordlist/TopicDrawer.h"

namespace kivo {

// The history as rows, read from the drawer as the view asks for them: a
// long run costs the view no more than a short one.
class DrawHistoryModel : public QAbstractTableModel {
public:
    explicit DrawHistoryModel(const DrawHistory& history, QObject* parent)
        : QAbstractTableModel(parent), history_(history) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(history_.size());
    }
    // The time, then as many topics as the draw with the most had.
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid()
                   ? 0
                   : 1 + static_cast<int>(std::max<std::size_t>(2, history_.mostTopics()));
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
        const auto row = static_cast<std::size_t>(index.row());
        if (!index.isValid() || row >= history_.size()) return {};
        const DrawRecord& record = history_.newest(row);
        if (index.column() == 0) return QString::fromStdString(formatDrawTime(record.time));
        const auto topic = static_cast<std::size_t>(index.column() - 1);
        if (topic >= record.topics.size()) return QString();
        return QString::fromStdString(historyTopicText(record.topics[topic]));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        if (section == 0) return QStringLiteral("時刻");
        return QStringLiteral("お題その %1").arg(section);
    }

    void reload() {
        beginResetModel();
        endResetModel();
    }

private:
    const DrawHistory& history_;
};

namespace {

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    // What the button shows, without the access key's mark.
    b->setAccessibleName(
        QString(caption).remove(QRegularExpression(QStringLiteral("\\(&.\\)(\\.\\.\\.)?$"))));
    return b;
}

}  // namespace

DrawHistoryWindow::DrawHistoryWindow(TopicDrawer& drawer, QWidget* mainWindow,
                                     std::function<void(CommandId)> run)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      drawer_(drawer),
      run_(std::move(run)) {
    setObjectName(QStringLiteral("FormDrawHistory"));
    setWindowTitle(QString::fromUtf8(kDrawHistoryCaption));
    if (mainWindow) setFont(mainWindow->font());

    model_ = new DrawHistoryModel(drawer_.history(), this);
    List = new QTableView(this);
    List->setObjectName(QStringLiteral("List"));
    List->setAccessibleName(windowTitle());
    List->setModel(model_);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setWordWrap(false);
    List->verticalHeader()->hide();
    List->verticalHeader()->setDefaultSectionSize(List->fontMetrics().height() + 6);
    List->horizontalHeader()->setStretchLastSection(true);
    List->setColumnWidth(
        0, List->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00:00")) + 12);
    List->setColumnWidth(1, 130);

    ButtonCopy =
        button(QString::fromUtf8(kDrawHistoryCopyCaption), QStringLiteral("ButtonCopy"), this);
    ButtonClear =
        button(QString::fromUtf8(kDrawHistoryClearCaption), QStringLiteral("ButtonClear"), this);
    ButtonCsv =
        button(QString::fromUtf8(kDrawHistoryCsvCaption), QStringLiteral("ButtonCsv"), this);
    ButtonCsv->setAccessibleDescription(QString::fromUtf8(kDrawHistoryCsvHint));
    ButtonCsv->setToolTip(QString::fromUtf8(kDrawHistoryCsvHint));
    ButtonClose =
        button(QString::fromUtf8(kDrawHistoryCloseCaption), QStringLiteral("ButtonClose"), this);
    connect(ButtonCopy, &QPushButton::clicked, this, &DrawHistoryWindow::copyHistory);
    connect(ButtonClear, &QPushButton::clicked, this, &DrawHistoryWindow::clearHistory);
    connect(ButtonCsv, &QPushButton::clicked, this, [this] { run_(CommandId::SaveHistoryCsv); });
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonCopy);
    buttons->addWidget(ButtonClear);
    buttons->addWidget(ButtonCsv);
    buttons->addStretch(1);
    buttons->addWidget(ButtonClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(List, 1);
    layout->addLayout(buttons);
    resize(460, 280);
    refresh();
}

DrawHistoryWindow::~DrawHistoryWindow() = default;

void DrawHistoryWindow::refresh() {
    model_->reload();
    const bool any = !drawer_.history().empty();
    ButtonCopy->setEnabled(any);
    ButtonClear->setEnabled(any);
    ButtonCsv->setEnabled(any);
}

void DrawHistoryWindow::copyHistory() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(drawer_.history().text()));
}

void DrawHistoryWindow::clearHistory() {
    drawer_.clearHistory();
    refresh();
}

}  // namespace kivo
