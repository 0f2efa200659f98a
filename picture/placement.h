#pragma once
// Where a picture box draws its picture: the fitting rule.

#include <QRect>

struct TPlacementFlags {
    bool center = false;        // move the rectangle to the middle of the box
    bool proportional = false;  // keep proportions; reduce a picture larger than the box
    bool stretch = false;       // scale to the box even when the picture is smaller
};

// The rectangle, in box coordinates, into which a w x h picture (0 x 0 when
// empty) is drawn in a box of cw x ch. May extend beyond the box (drawing clips
// it) and may have no area. Proportional scaling is computed in x87 extended
// precision and truncated, so the result is sometimes one pixel short of exact
// proportion; stored layouts and the look of every window depend on that.
QRect PlacementRect(int w, int h, int cw, int ch, TPlacementFlags flags);
