#include "app/DrawSession.h"

#include <QDateTime>
#include <QLineEdit>
#include <QSettings>

#include "app/DrawHistoryWindow.h"
#include "platform/Boxes.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

// The user's own settings file of the program (~/.config/Kivo/Kivo.conf).
class QtSettingsStore : public SettingsStore {
public:
    std::optional<bool> readBool(const std::string& key) override {
        const QSettings settings = open();
        const QString name = QString::fromStdString(key);
        if (!settings.contains(name)) return std::nullopt;
        return settings.value(name).toBool();
    }
    void writeBool(const std::string& key, bool value) override {
        QSettings settings = open();
        settings.setValue(QString::fromStdString(key), value);
    }

private:
    static QSettings open() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kivo"),
                         QStringLiteral("Kivo"));
    }
};

class LocalClock : public WallClock {
public:
    LocalTime now() override {
        const QDateTime at = QDateTime::currentDateTime();
        const QDate date = at.date();
        const QTime time = at.time();
        return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
    }
};

class TopicFields : public TopicView {
public:
    TopicFields(Boxes& boxes, QLineEdit& topic1, QLineEdit& topic2)
        : boxes_(boxes), topic1_(topic1), topic2_(topic2) {}
    void showMessage(const std::string& text) override {
        boxes_.message(QString::fromStdString(text));
    }
    void showTopics(const std::string& topic1, const std::string& topic2) override {
        topic1_.setText(QString::fromStdString(topic1));
        topic2_.setText(QString::fromStdString(topic2));
    }

private:
    Boxes& boxes_;
    QLineEdit& topic1_;
    QLineEdit& topic2_;
};

}  // namespace

DrawSession::DrawSession(Boxes& boxes, QWidget* mainWindow)
    : boxes_(boxes),
      mainWindow_(mainWindow),
      settings_(std::make_unique<QtSettingsStore>()),
      clock_(std::make_unique<LocalClock>()),
      drawer_(*settings_, *clock_) {}

DrawSession::~DrawSession() {
    // The window reads the drawer's history; it goes first.
    delete historyWindow_.data();
}

void DrawSession::watchList(MemoControl& memo) {
    connect(&memo, &MemoControl::textChanged, this, [this] { drawer_.listChanged(); });
}

void DrawSession::draw(const WordListSource& list, RandomGenerator& random, QLineEdit& topic1,
                       QLineEdit& topic2) {
    TopicFields fields(boxes_, topic1, topic2);
    drawer_.draw(list, random, fields);
    // A hidden window catches up when it is shown again.
    if (historyWindow_ && historyWindow_->isVisible()) historyWindow_->refresh();
}

void DrawSession::showHistory() {
    if (!historyWindow_) historyWindow_ = new DrawHistoryWindow(drawer_, mainWindow_);
    historyWindow_->refresh();
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

}  // namespace kivo
