#pragma once
// Files dragged onto a text control are the window's to load, never text
// to insert.
#include <QStringList>

class QDragMoveEvent;
class QMimeData;

namespace kivo {

// The local files in dragged data, in order; none for plain text.
QStringList localFilesOf(const QMimeData* data);

// Answers a drag of local files: taken where the window takes dropped
// files, refused elsewhere, with no drop caret either way. False for a drag
// of anything else, which the control answers itself.
bool answeredAsFileDrag(QDragMoveEvent* event, bool windowTakesDrops);

}  // namespace kivo
