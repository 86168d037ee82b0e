#include "app/AboutDialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <functional>

#include "commands/WindowLayout.h"

namespace kivo {
namespace {

QColor colourOf(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

QFont trebuchet(int pixels) {
    QFont font(QString::fromLatin1(kAboutFontFamily));
    font.setPixelSize(pixels);
    // Where Trebuchet MS is missing, another plain sans face stands in.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// A lowered box frame: shadow along the top and left, highlight along the
// bottom and right.
class Bevel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
};

// An image without a picture: invisible, but it takes the clicks.
class ClickImage : public QWidget {
public:
    ClickImage(QWidget* parent, std::function<void()> onClick)
        : QWidget(parent), onClick_(std::move(onClick)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        // A click is a press and a release on the image.
        const bool click = pressed_ && event->button() == Qt::LeftButton &&
                           rect().contains(event->position().toPoint());
        pressed_ = false;
        if (click) onClick_();
    }

private:
    std::function<void()> onClick_;
    bool pressed_ = false;
};

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int pixels,
                  const QColor& colour, QPoint at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(trebuchet(pixels));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    label->setMargin(0);
    label->setIndent(0);
    // Sized to the text, as the labels size themselves.
    label->adjustSize();
    label->move(at);
    return label;
}

QFrame* makeRule(QWidget* parent, const char* name, const QRect& bounds) {
    auto* rule = new QFrame(parent);
    rule->setObjectName(QString::fromLatin1(name));
    rule->setFrameShape(QFrame::NoFrame);
    QPalette palette = rule->palette();
    palette.setColor(QPalette::Window, Qt::white);
    rule->setPalette(palette);
    rule->setAutoFillBackground(true);
    rule->setGeometry(bounds);
    return rule;
}

}  // namespace

AboutDialog::AboutDialog(const QString& versionText, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      versionText_(versionText),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("FormAbout"));
    // It must never keep the program alive once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(true);
    setFixedSize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    setPalette(palette);
    setAutoFillBackground(true);
    createBackground();
    createLabels();
    createRules();
    showVersion();
}

void AboutDialog::createBackground() {
    Bevel1 = new Bevel(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
}

void AboutDialog::createLabels() {
    const QColor shadow = palette().color(QPalette::Window);
    QLabel** pieces[] = {&Label1, &Label5, &Label6, &Label7};
    const char* names[] = {"Label1", "Label5", "Label6", "Label7"};
    QPoint at(32, 12);
    for (int i = 0; i < 4; ++i) {
        QLabel* piece = makeLabel(this, names[i], QString::fromLatin1(kAboutNamePieces[i].text), 24,
                                  colourOf(kAboutNamePieces[i].colour), at);
        at.rx() += piece->width();
        *pieces[i] = piece;
    }
    // The name's pieces sit on the box colour; Label5 lets it show through.
    for (QLabel* piece : {Label1, Label6, Label7}) {
        QPalette p = piece->palette();
        p.setColor(QPalette::Window, shadow);
        piece->setPalette(p);
        piece->setAutoFillBackground(true);
    }
    Label2 = makeLabel(this, "Label2", QStringLiteral("Version info"), 13, Qt::white, {140, 48});
    Label4 = makeLabel(this, "Label4", QString::fromLatin1(kAboutRightsLine), 11,
                       palette().color(QPalette::WindowText), {18, 74});
    Label3 =
        makeLabel(this, "Label3", QString::fromLatin1(kAboutCreditsLine), 11, Qt::black, {163, 80});

    Image1 = new ClickImage(this, [this] { closeBox(); });
    Image1->setObjectName(QStringLiteral("Image1"));
}

void AboutDialog::createRules() {
    Panel1 = makeRule(this, "Panel1", {16, 0, 1, 57});
    Panel2 = makeRule(this, "Panel2", {16, 56, 105, 2});
    Panel3 = makeRule(this, "Panel3", {224, 30, 41, 1});  // runs out past the right edge
}

void AboutDialog::showVersion() {
    Bevel1->setGeometry(rect());
    Image1->setGeometry(rect());
    Label2->setText(versionText_);
    Label2->adjustSize();
}

void AboutDialog::closeBox() { reject(); }

QPoint AboutDialog::centredOver(const QRect& mainFrame, const QSize& size) {
    const int left = mainFrame.left() + (mainFrame.width() - size.width()) / 2;
    const int top = mainFrame.top() + (mainFrame.height() - size.height()) / 2;
    return {std::max(left, 0), std::max(top, 0)};
}

void AboutDialog::setVisible(bool visible) {
    // Centred anew at each showing, since the main window may have moved.
    if (visible && mainWindow_) move(centredOver(mainWindow_->frameGeometry(), size()));
    QDialog::setVisible(visible);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    // The keys a box is closed with close it as a click does; not a key
    // still held from before the box came up. Other keys do nothing.
    event->accept();
    if (event->isAutoRepeat()) return;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Space:
            closeBox();
            break;
        default:
            break;
    }
}

}  // namespace kivo
