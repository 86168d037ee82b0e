#pragma once
// Opening a web address in the user's browser, behind an interface so that
// tests see what would have been opened without starting a browser.
#include <QUrl>

namespace kivo {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Hands the address to the desktop and returns at once; whether a
    // browser came up is not looked at.
    virtual void open(const QUrl& url) = 0;
};

// The desktop's own URL handler (the default browser for http and https).
class QtUrlOpener : public UrlOpener {
public:
    void open(const QUrl& url) override;
};

}  // namespace kivo
