#include "app/FocusedEditor.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

#include "platform/MemoControl.h"

namespace kivo {

std::optional<EditState> editStateOf(const QWidget* focused) {
    if (const auto* memo = qobject_cast<const MemoControl*>(focused)) {
        return EditState{memo->hasSelection(), !memo->isEmpty(), memo->canUndo()};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(focused)) {
        return EditState{edit->hasSelectedText(), !edit->text().isEmpty(), edit->isUndoAvailable()};
    }
    return std::nullopt;
}

namespace {

class MenuFocusFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusOut ||
            static_cast<QFocusEvent*>(event)->reason() != Qt::MenuBarFocusReason) {
            return false;
        }
        // The same focus change, told as a popup's, which keeps the selection.
        QFocusEvent asPopup(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(watched, &asPopup);
        return true;
    }
};

}  // namespace

void keepSelectionWhileMenusHaveFocus(QLineEdit* edit) {
    edit->installEventFilter(new MenuFocusFilter(edit));
}

bool clipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace kivo
