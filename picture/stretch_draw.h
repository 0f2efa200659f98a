#pragma once
// Nearest-neighbour scaling of a bitmap into a rectangle: every target pixel
// takes exactly one source pixel; reducing drops whole rows and columns,
// enlarging repeats them; nothing is blended.
//
// The source pixel for a target pixel follows the GDI stretch used by the
// Windows picture viewers this program's users know:
//   enlarging (target >= source): the source pixel under the target pixel's
//     centre, a centre lying exactly on a border taking the lower pixel:
//     s = ceil((2t + 1) * source / (2 * target)) - 1;
//   reducing (target < source): each source pixel belongs to the target pixel
//     under its centre (a border again going to the lower one) and each target
//     pixel keeps the first source pixel that belongs to it:
//     s = floor((2t * source + target) / (2 * target)).
// So the first target pixel always shows the first source pixel, and a
// reduction by two keeps the even rows and columns.

#include <QImage>
#include <QRect>
#include <vector>

#include "picture/bitmap_data.h"

class QPainter;

// The source index for target index t (0 <= t < target) of a side scaled from
// source to target pixels, both positive.
int StretchSourceIndex(int t, int source, int target);

// Source indices for the targets [first, first + count) of that side.
std::vector<int> StretchSourceMap(int first, int count, int source, int target);

// Computes the part `area` (in coordinates where the whole scaled picture is
// (0, 0, size)) of image scaled to size, as a 32-bit RGB image of area's size.
// area must lie inside the scaled picture.
QImage StretchPart(const TBitmapImage& image, QSize size, const QRect& area);

// Draws the whole of image scaled into dest on painter, computing and touching
// only the target pixels inside clip (painter coordinates) and the painter's
// clip. Into a 32-bit raster image reached through a whole-pixel offset (a
// window's backing store) the pixels are written directly; otherwise they go
// through small intermediate images.
void StretchDraw(QPainter& painter, const QRect& dest, const TBitmapImage& image, const QRect& clip);
