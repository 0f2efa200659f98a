#include "slideshow/window_font.h"

#include <QStringList>

QFont SlideWindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(13);
    return font;
}
