#pragma once
// TGraphic: the common base of the two image kinds, TBitmap and TJPEGImage.

#include <QRect>
#include <memory>

#include "picture/bitmap_data.h"

class QIODevice;
class QPainter;

class TGraphic {
public:
    virtual ~TGraphic() = default;

    // Size in pixels; never decodes a JPEG image.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Bits per pixel of the pixels drawn (a JPEG image: of its decoded bitmap, 0 before decoding).
    virtual int BitsPerPixel() const = 0;

    // Reads the image from a stream positioned at the file's first byte, whose
    // length is the file's size. Raises an error of the error family on failure.
    virtual void LoadFromStream(QIODevice& stream) = 0;

    // A new image of the same kind sharing this one's data.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    // The pixels to draw; a JPEG image is decoded here at its first use and may
    // raise. Null or empty when there is nothing to draw.
    virtual TBitmapImagePtr PixelsForDrawing() = 0;

    // Draws the whole image scaled into dest, touching only the pixels inside clip.
    void Draw(QPainter& painter, const QRect& dest, const QRect& clip);
};
