#include "platform/UrlOpener.h"

#include <QDesktopServices>

namespace kivo {

void QtUrlOpener::open(const QUrl& url) {
    // The desktop starts the browser detached; a failure has nobody to
    // tell, as the user can still type the address.
    QDesktopServices::openUrl(url);
}

void UrlOpenerPort::openUrl(const std::string& url) {
    opener_->open(QUrl(QString::fromStdString(url)));
}

}  // namespace kivo
