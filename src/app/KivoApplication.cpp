#include "app/KivoApplication.h"

#include "commands/CommandRunner.h"
#include "platform/Boxes.h"

namespace kivo {

KivoApplication::KivoApplication(int& argc, char** argv)
    : QApplication(argc, argv), boxes_(std::make_unique<QtBoxes>()) {
    holdMemoryReserve();
}

KivoApplication::~KivoApplication() = default;

void KivoApplication::setBoxes(std::unique_ptr<Boxes> boxes) { boxes_ = std::move(boxes); }

bool KivoApplication::notify(QObject* receiver, QEvent* event) {
    // Hints belong in panel 0 of the status bar only: no tooltips, and no
    // status tips that would paint over the panel.
    switch (event->type()) {
        case QEvent::ToolTip:
        case QEvent::WhatsThis:
        case QEvent::StatusTip:
            return true;
        default:
            break;
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        BoxesPort boxes(*boxes_);
        reportCommandError(boxes, std::current_exception());
        return true;
    }
}

}  // namespace kivo
