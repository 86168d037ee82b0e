// Checks a screenshot of the main window for Japanese text drawn as glyphs.
// A character the fonts cannot draw shows as the same empty box whatever the
// character, so a run of text whose glyph shapes are nearly all alike is a
// run of boxes.
//
// usage: screenshot_check <png> <window x> <window y> <width> <height>
//        screenshot_check --self-test
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <cstdio>

namespace {

// Distinct ink shapes in a band of the image, split at blank columns.
int distinctGlyphShapes(const QImage& image, QRect band) {
    band = band.intersected(image.rect());
    auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 110; };
    QSet<QByteArray> shapes;
    int x = band.left();
    while (x <= band.right()) {
        auto columnInked = [&](int cx) {
            for (int y = band.top(); y <= band.bottom(); ++y)
                if (dark(cx, y)) return true;
            return false;
        };
        if (!columnInked(x)) {
            ++x;
            continue;
        }
        QByteArray shape;
        for (; x <= band.right() && columnInked(x); ++x) {
            for (int y = band.top(); y <= band.bottom(); ++y) shape.append(dark(x, y) ? '#' : '.');
            shape.append('|');
        }
        shapes.insert(shape);
    }
    return static_cast<int>(shapes.size());
}

struct Region {
    const char* what;
    QRect rect;  // in window coordinates, measured from the client bottom
    int minShapes;
};

int check(const QImage& shot, QRect window) {
    // Controls in the group box keep their distance to the window's bottom
    // edge; the menu bar's height is the toolkit's.
    const int clientTop = window.bottom() + 1 - 216;
    const int box = clientTop + 8;
    const Region regions[] = {
        {"button お題の選出", QRect(4 + 232 + 4, box + 29 + 3, 145 - 8, 20 - 6), 4},
        {"label 今回のお題", QRect(4 + 235, box + 101 - 2, 70, 16), 4},
        {"group box caption", QRect(4 + 8, box - 2, 80, 14), 3},
    };
    int failures = 0;
    for (const Region& r : regions) {
        const QRect onScreen = r.rect.translated(window.left(), 0);
        const int shapes = distinctGlyphShapes(shot, onScreen);
        std::printf("%s: %d distinct glyph shapes\n", r.what, shapes);
        if (shapes < r.minShapes) ++failures;
    }
    return failures;
}

int selfTest() {
    QImage image(300, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    for (int i = 0; i < 5; ++i) p.drawRect(2 + i * 14, 4, 10, 12);  // five identical boxes
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QPoint(100, 16), QStringLiteral("今回のお題"));
    p.end();
    const int boxes = distinctGlyphShapes(image, QRect(0, 0, 90, 20));
    const int text = distinctGlyphShapes(image, QRect(95, 0, 200, 20));
    std::printf("self-test: boxes %d, text %d\n", boxes, text);
    return boxes == 1 && text >= 4 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 2 && QByteArray(argv[1]) == "--self-test") return selfTest();
    if (argc != 6) {
        std::fprintf(stderr, "usage: screenshot_check <png> <x> <y> <w> <h>\n");
        return 2;
    }
    const QImage shot(QString::fromLocal8Bit(argv[1]));
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const QRect window(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    if (selfTest() != 0) return 1;
    return check(shot, window) == 0 ? 0 : 1;
}
