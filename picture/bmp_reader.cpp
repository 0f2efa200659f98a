#include "picture/bmp_reader.h"

#include "toolkit/exceptions.h"

TBitmapImagePtr ReadWindowsBitmap(QIODevice& /*stream*/) {
    throw EInvalidGraphic(QStringLiteral("ビットマップイメージが不正です"));
}
