#pragma once
// How a picture box paints: its picture placed by the fitting rule, only the
// pixels being repainted, clipped to the box, nothing else.

#include <QRegion>
#include <QSize>

#include "picture/placement.h"

class QPainter;
class TPicture;

// Paints picture in a box of boxSize whose top left is the painter's origin,
// touching only the pixels of area (box coordinates) inside the box. Nothing is
// painted where the placement leaves the box uncovered, so the holder's
// background shows there. A JPEG image's decoding error at its first drawing is
// raised from here, before anything is drawn.
void PaintPictureBox(QPainter& painter, TPicture& picture, QSize boxSize, TPlacementFlags flags,
                     const QRegion& area);
