#include "platform/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace kivo {

void installJapaneseFontSubstitutes() {
    struct Substitute {
        const char* original;
        const char* replacement;
    };
    static const Substitute kSubstitutes[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},  // proportional
        {"ＭＳ ゴシック", "IPAGothic"},     // fixed pitch
        {"FixedSys", "IPAGothic"},
    };
    const QStringList families = QFontDatabase::families();
    for (const Substitute& s : kSubstitutes) {
        const QString original = QString::fromUtf8(s.original);
        if (families.contains(original, Qt::CaseInsensitive)) continue;
        QFont::insertSubstitution(original, QString::fromUtf8(s.replacement));
    }
}

}  // namespace kivo
