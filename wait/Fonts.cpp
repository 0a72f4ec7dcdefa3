#include "wait/Fonts.h"

#include <QStringList>

namespace torvin {

QFont UiFont() {
    QFont font;
    font.setFamilies({QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(12);
    return font;
}

QFont TitleFont() {
    QFont font;
    font.setFamilies({QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans Mono CJK JP")});
    font.setPixelSize(19);
    font.setBold(true);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace torvin
