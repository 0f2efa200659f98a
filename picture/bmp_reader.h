#pragma once
// Reads a Windows bitmap file into a pixel holder kept in the file's own format.

#include <QIODevice>
#include <cstdint>

#include "picture/bitmap_data.h"

// Reads from the stream's current position (the file's first byte) to its end.
// An empty stream gives an empty picture. Raises EReadError, EInvalidGraphic or
// EOSError with their messages when the file is refused.
TBitmapImagePtr ReadWindowsBitmap(QIODevice& stream);

// The same with a lower ceiling on the pixel memory (at most kMaxBitmapBytes is
// ever used); for callers that must stay small, such as the fuzz targets.
TBitmapImagePtr ReadWindowsBitmap(QIODevice& stream, std::uint64_t maxPixelBytes);
