#include "app/PresentationWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "commands/PresentationCommands.h"

namespace kivo {
namespace {

QFont presentationFont(int pixels) {
    QFont font(QString::fromUtf8(kPresentationFontFamily));
    font.setPixelSize(std::max(1, pixels));
    return font;
}

QColor colour(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

PresentationKey keyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Space:
            return PresentationKey::Space;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return event.modifiers() & Qt::AltModifier ? PresentationKey::AltEnter
                                                       : PresentationKey::Enter;
        case Qt::Key_Escape:
            return PresentationKey::Escape;
        case Qt::Key_F11:
            return PresentationKey::F11;
        case Qt::Key_T:
            return event.modifiers() == Qt::NoModifier ? PresentationKey::T
                                                       : PresentationKey::Other;
        case Qt::Key_R:
            return event.modifiers() == Qt::NoModifier ? PresentationKey::R
                                                       : PresentationKey::Other;
        default:
            return PresentationKey::Other;
    }
}

}  // namespace

PresentationWindow::PresentationWindow(QWidget* owner, std::function<void(CommandId)> run)
    : QWidget(owner, Qt::Window),
      owner_(owner),
      run_(std::move(run)),
      metrics_(presentationFont(kPresentationMeasurePixels)) {
    setObjectName(QStringLiteral("PresentationWindow"));
    setWindowTitle(QString::fromUtf8(presentationCaption(topics_)));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    pointerTimer_.setSingleShot(true);
    pointerTimer_.setInterval(kPresentationPointerHideMs);
    connect(&pointerTimer_, &QTimer::timeout, this, [this] { setCursor(Qt::BlankCursor); });
}

void PresentationWindow::showPresentation(const DrawnTopics& topics, PresentationTheme theme) {
    theme_ = theme;
    topics_ = topics;
    setWindowTitle(QString::fromUtf8(presentationCaption(topics_)));
    setAccessibleName(QString::fromUtf8(presentationText(topics_)));
    // Full screen on the screen the main window is on.
    QScreen* screen = owner_->screen();
    if (!windowHandle()) create();
    if (screen) {
        windowHandle()->setScreen(screen);
        setGeometry(screen->geometry());
    }
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    showPointer();
    layOut();
}

void PresentationWindow::updatePresentation(const DrawnTopics& topics) {
    topics_ = topics;
    layOut();
    setWindowTitle(QString::fromUtf8(presentationCaption(topics_)));
    // A screen reader reads the new pair out: a new name tells it by
    // itself; the same pair drawn again is told once more.
    tellName(QString::fromUtf8(presentationText(topics_)));
}

void PresentationWindow::tellName(const QString& name) {
    if (name != accessibleName()) return setAccessibleName(name);
    QAccessibleEvent again(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&again);
}

void PresentationWindow::setPresentationTheme(PresentationTheme theme) {
    theme_ = theme;
    update();
}

void PresentationWindow::setPresentationFullScreen(bool fullScreen) {
    if (fullScreen) {
        showFullScreen();
        return;
    }
    showNormal();
    const QRect screen = owner_->screen() ? owner_->screen()->availableGeometry() : QRect();
    QRect frame(0, 0, kPresentationWindowWidth, kPresentationWindowHeight);
    frame.moveCenter(screen.center());
    setGeometry(frame);
}

void PresentationWindow::showCountdown(const CountdownFace& face) {
    const bool textChanged = face.text != face_.text;
    face_ = face;
    if (!isVisible()) return;
    if (!textChanged) return update();
    // Zero, once told, is said no more when the time moves on.
    if (const QString name = QString::fromUtf8(presentationText(topics_)); accessibleName() != name)
        setAccessibleName(name);
    layOut();
}

void PresentationWindow::countdownEnded(const std::string& announcement) {
    QApplication::beep();
    if (!isVisible()) return;
    // Told as the view's name: the topics, then the announcement.
    tellName(QString::fromUtf8(presentationText(topics_) + "\n" + announcement));
}

void PresentationWindow::closePresentation() {
    pointerTimer_.stop();
    hide();
    owner_->activateWindow();
}

void PresentationWindow::layOut() {
    const auto measure = [this](std::string_view c) {
        return metrics_.horizontalAdvance(
            QString::fromUtf8(c.data(), static_cast<qsizetype>(c.size())));
    };
    layout_ = fitPresentation(
        topics_, [&](std::string_view c) { return widths_.width(c, measure); }, width(), height(),
        face_.text);
    update();
}

void PresentationWindow::paintEvent(QPaintEvent*) {
    const PresentationColours colours =
        theme_ == PresentationTheme::Dark ? kPresentationDark : kPresentationLight;
    QPainter painter(this);
    painter.fillRect(rect(), colour(colours.background));
    painter.setPen(colour(colours.text));
    for (const PresentationLine& line : layout_.lines) {
        painter.setFont(presentationFont(line.pixelSize));
        painter.drawText(QRect(line.left, line.top, width() - line.left, line.height),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromUtf8(line.text));
    }
    if (const std::optional<PresentationLine>& line = layout_.countdown; line && face_.shown) {
        painter.setPen(colour(countdownColour(theme_ == PresentationTheme::Dark, face_.warning)));
        painter.setFont(presentationFont(line->pixelSize));
        painter.drawText(QRect(line->left, line->top, width() - line->left, line->height),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromUtf8(line->text));
    }
}

void PresentationWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void PresentationWindow::keyPressEvent(QKeyEvent* event) {
    const CommandId command = presentationKeyCommand(keyOf(*event));
    if (command == CommandId::None) return QWidget::keyPressEvent(event);
    run_(command);
}

void PresentationWindow::mouseMoveEvent(QMouseEvent* event) {
    showPointer();
    QWidget::mouseMoveEvent(event);
}

void PresentationWindow::showPointer() {
    unsetCursor();
    pointerTimer_.start();
}

}  // namespace kivo
