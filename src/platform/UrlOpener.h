#pragma once
// Opening a web address in the user's browser, behind an interface so that
// tests see what would have been opened without starting a browser.
#include <QUrl>

#include "commands/Ports.h"

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

// The browser as the commands ask for it, in UTF-8: the desktop's own
// handler until a test puts in its own.
class UrlOpenerPort : public UrlPort {
public:
    // A replacement stays the caller's; it must outlive its use here.
    void use(UrlOpener& opener) { opener_ = &opener; }
    void openUrl(const std::string& url) override;

private:
    QtUrlOpener qtOpener_;
    UrlOpener* opener_ = &qtOpener_;
};

}  // namespace kivo
