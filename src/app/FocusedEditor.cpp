#include "app/FocusedEditor.h"

#include <QClipboard>
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

bool clipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace kivo
