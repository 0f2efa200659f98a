#include "picture/graphic.h"

#include "picture/stretch_draw.h"

// The pixels are fetched first even when nothing of dest is visible: that is
// where a JPEG image is decoded, and a decoding error must surface at the
// first drawing either way.
void TGraphic::Draw(QPainter& painter, const QRect& dest, const QRect& clip) {
    const TBitmapImagePtr pixels = PixelsForDrawing();
    if (pixels)
        StretchDraw(painter, dest, *pixels, clip);
}
