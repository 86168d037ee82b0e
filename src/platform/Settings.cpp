#include "platform/Settings.h"

#include <QDateTime>
#include <QSettings>

namespace kivo {
namespace {

QSettings openSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kivo"),
                     QStringLiteral("Kivo"));
}

}  // namespace

std::optional<bool> QtSettingsStore::readBool(const std::string& key) {
    const QSettings settings = openSettings();
    const QString name = QString::fromStdString(key);
    if (!settings.contains(name)) return std::nullopt;
    return settings.value(name).toBool();
}

void QtSettingsStore::writeBool(const std::string& key, bool value) {
    QSettings settings = openSettings();
    settings.setValue(QString::fromStdString(key), value);
}

std::optional<std::string> QtSettingsStore::readString(const std::string& key) {
    const QSettings settings = openSettings();
    const QString name = QString::fromStdString(key);
    if (!settings.contains(name)) return std::nullopt;
    return settings.value(name).toString().toStdString();
}

void QtSettingsStore::writeString(const std::string& key, const std::string& value) {
    QSettings settings = openSettings();
    settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
}

LocalTime LocalClock::now() {
    const QDateTime at = QDateTime::currentDateTime();
    const QDate date = at.date();
    const QTime time = at.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

}  // namespace kivo
