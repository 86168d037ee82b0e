#include "platform/FileDrops.h"

#include <QDragMoveEvent>
#include <QMimeData>
#include <QUrl>

namespace kivo {

QStringList localFilesOf(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

bool answeredAsFileDrag(QDragMoveEvent* event, bool windowTakesDrops) {
    if (localFilesOf(event->mimeData()).isEmpty()) return false;
    if (windowTakesDrops) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
    return true;
}

}  // namespace kivo
