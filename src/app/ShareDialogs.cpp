#include "app/ShareDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

#include "commands/Countdown.h"
#include "commands/ShareTexts.h"
#include "platform/Boxes.h"
#include "platform/FileDialogs.h"

namespace kivo {
namespace {

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// A screen reader names a field by its label and describes it by its hint.
template <typename Field>
Field* described(Field* field, const char* name, const char* label, const char* hint) {
    field->setObjectName(QString::fromLatin1(name));
    // The label as shown, without its access key, its dots or its colon.
    field->setAccessibleName(
        text(label).remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.|：$"))));
    field->setAccessibleDescription(text(hint));
    field->setToolTip(text(hint));
    return field;
}

QDialogButtonBox* okAndCancel(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(text(kDialogOkText), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(text(kDialogCancelText), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

QLabel* buddyLabel(const char* caption, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text(caption), parent);
    label->setBuddy(field);
    return label;
}

}  // namespace

ShareDialog::ShareDialog(const ShareSettings& settings, FileDialogsPort& folders, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      folders_(folders) {
    setObjectName(QStringLiteral("ShareDialog"));
    setWindowTitle(text(kShareDialogCaption));
    StreamOn = described(new QCheckBox(text(kShareStreamOnText), this), "StreamOn",
                         kShareStreamOnText, kShareStreamOnHint);
    StreamOn->setChecked(settings.streamOn);
    Folder = described(new QLineEdit(QString::fromStdString(settings.folder), this), "Folder",
                       kShareFolderText, kShareFolderHint);
    auto* browse = described(new QPushButton(text(kShareBrowseText), this), "Browse",
                             kShareBrowseText, kShareBrowseHint);
    connect(browse, &QPushButton::clicked, this, [this] { chooseFolder(); });
    Separator = described(new QLineEdit(QString::fromStdString(settings.separator), this),
                          "Separator", kShareSeparatorText, kShareSeparatorHint);
    Lead = described(new QLineEdit(QString::fromStdString(settings.lead), this), "Lead",
                     kShareLeadText, kShareLeadHint);
    Hashtag = described(new QLineEdit(QString::fromStdString(settings.hashtag), this), "Hashtag",
                        kShareHashtagText, kShareHashtagHint);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(Folder, 1);
    folderRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(StreamOn);
    form->addRow(buddyLabel(kShareFolderText, Folder, this), folderRow);
    form->addRow(buddyLabel(kShareSeparatorText, Separator, this), Separator);
    form->addRow(buddyLabel(kShareLeadText, Lead, this), Lead);
    form->addRow(buddyLabel(kShareHashtagText, Hashtag, this), Hashtag);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(form);
    whole->addWidget(okAndCancel(*this));
    setMinimumWidth(420);
}

ShareSettings ShareDialog::settings() const {
    return {StreamOn->isChecked(), Folder->text().toStdString(), Separator->text().toStdString(),
            Lead->text().toStdString(), Hashtag->text().toStdString()};
}

void ShareDialog::chooseFolder() {
    const QString start = Folder->text().isEmpty() ? QDir::homePath() : Folder->text();
    if (const std::optional<QString> folder =
            folders_.chooseFolder(text(kShareFolderDialogTitle), start)) {
        Folder->setText(QDir::toNativeSeparators(*folder));
    }
}

std::optional<ShareSettings> ShareDialogs::editShareSettings(const ShareSettings& settings) {
    const UsualCursor usual;
    ShareDialog dialog(settings, folders_, &parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.settings();
}

std::optional<int> ShareDialogs::askTimerMinutes(int minutes) {
    const UsualCursor usual;
    QDialog dialog(&parent_, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setObjectName(QStringLiteral("TimerDialog"));
    dialog.setWindowTitle(text(kTimerDialogCaption));
    auto* field = described(new QSpinBox(&dialog), "Minutes", kTimerMinutesText, kTimerMinutesHint);
    field->setRange(kFewestTimerMinutes, kMostTimerMinutes);
    field->setValue(minutes);
    auto* form = new QFormLayout;
    form->addRow(buddyLabel(kTimerMinutesText, field, &dialog), field);
    auto* whole = new QVBoxLayout(&dialog);
    whole->addLayout(form);
    whole->addWidget(okAndCancel(dialog));
    field->selectAll();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return field->value();
}

}  // namespace kivo
