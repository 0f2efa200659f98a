#include "toolkit/window_font.h"

#include <QStringList>
#include <mutex>

namespace {

const QString WindowFontFamily = QStringLiteral("ＭＳ ゴシック");

// Fixed-pitch faces first: the original face is fixed-pitch too.
void InstallSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(WindowFontFamily,
                                   {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                                    QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                                    QStringLiteral("IPAexGothic"), QStringLiteral("VL Gothic")});
    });
}

}  // namespace

QFont WindowFont(int pixelSize) {
    InstallSubstitutions();
    QFont font(WindowFontFamily);
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
