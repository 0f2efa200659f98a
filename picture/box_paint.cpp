#include "picture/box_paint.h"

#include "picture/picture.h"

void PaintPictureBox(QPainter& painter, TPicture& picture, QSize boxSize, TPlacementFlags flags,
                     const QRegion& area) {
    if (picture.IsEmpty())
        return;
    const QRect box(QPoint(0, 0), boxSize);
    const QRect placement = PlacementRect(picture.Width(), picture.Height(), boxSize.width(), boxSize.height(), flags);
    for (const QRect& part : area) {
        const QRect clip = part.intersected(box);
        if (!clip.isEmpty())
            picture.Draw(painter, placement, clip);
    }
}
