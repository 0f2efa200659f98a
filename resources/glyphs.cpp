#include "resources/glyphs.h"

#include <QString>

namespace {

QIcon Glyph(const char* set, int index) {
    if (index < 0 || index > 3)
        return {};
    return QIcon(QStringLiteral(":/quimbly/%1%2.png").arg(QLatin1String(set)).arg(index));
}

}  // namespace

QPixmap AppIconPixmap(int size) { return QPixmap(QStringLiteral(":/quimbly/icon%1.png").arg(size)); }

QIcon AppIcon() {
    QIcon icon;
    icon.addPixmap(AppIconPixmap(48));
    icon.addPixmap(AppIconPixmap(32));
    return icon;
}

QIcon MainGlyph(int index) { return Glyph("main", index); }

QIcon SlideGlyph(int index) { return Glyph("slide", index); }
