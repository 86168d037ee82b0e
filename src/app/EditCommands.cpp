#include "app/EditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

#include "core/Errors.h"
#include "platform/MemoControl.h"
#include "wordlist/WidthMapping.h"

namespace kivo {
namespace {

QString mapWidth(const QString& text, WidthDirection direction) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    const std::u16string mapped =
        direction == WidthDirection::Full ? toFullWidth(units) : toHalfWidth(units);
    return QString::fromUtf16(mapped.data(), static_cast<qsizetype>(mapped.size()));
}

void convertSelection(MemoControl& memo, WidthDirection direction) {
    memo.replaceSelectionWithoutUndo(mapWidth(memo.selectedListText(), direction));
}

void convertList(MemoControl& memo, WidthDirection direction) {
    const QStringList lines = memo.allLines();
    memo.clearList();
    if (lines.isEmpty()) return;

    // The list takes the converted lines as long as they fit; the rest go
    // back unconverted rather than being lost.
    QString text;
    qsizetype used = 0;
    qsizetype converted = 0;
    for (; converted < lines.size(); ++converted) {
        const QString line = mapWidth(lines[converted], direction);
        if (used + line.size() + 1 > memo.capacity()) break;
        used += line.size() + 1;
        text += line;
        text += QLatin1Char('\n');
    }
    for (qsizetype i = converted; i < lines.size(); ++i) {
        text += lines[i];
        text += QLatin1Char('\n');
    }
    memo.setPlainText(text);
    memo.setModified(true);
    if (converted < lines.size()) throw UserError("RichEdit での行の挿入エラー");
}

bool clipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace

void convertWidth(MemoControl& memo, WidthDirection direction) {
    if (memo.hasSelection()) {
        convertSelection(memo, direction);
    } else {
        convertList(memo, direction);
    }
}

void updateEditCommands(const EditCommandSet& commands, const QWidget* focused) {
    bool hasSelection, hasText, canUndo;
    if (const auto* memo = qobject_cast<const MemoControl*>(focused)) {
        hasSelection = memo->hasSelection();
        hasText = !memo->isEmpty();
        canUndo = memo->canUndo();
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(focused)) {
        hasSelection = edit->hasSelectedText();
        hasText = !edit->text().isEmpty();
        canUndo = edit->isUndoAvailable();
    } else {
        return;
    }
    commands.cut->setEnabled(hasSelection);
    commands.copy->setEnabled(hasSelection);
    commands.paste->setEnabled(clipboardHoldsText());
    commands.selectAll->setEnabled(hasText);
    commands.undo->setEnabled(canUndo);
}

}  // namespace kivo
