#pragma once
// TJPEGImage: a JPEG file held compressed in memory and decoded at its first
// drawing into a bitmap that serves every later drawing.

#include <QByteArray>
#include <memory>

#include "picture/bitmap.h"
#include "picture/graphic.h"

// The complete bytes of a JPEG file, unchanged, with the frame header's size;
// shared by every copy of the image.
struct TJPEGData {
    QByteArray bytes;
    int width = 0;
    int height = 0;
};

using TJPEGDataPtr = std::shared_ptr<const TJPEGData>;

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();

    // The header's size until decoded, then that of the decoded bitmap.
    int Width() const override;
    int Height() const override;
    // Of the decoded bitmap: 24 or 8 after decoding, 0 before.
    int BitsPerPixel() const override;

    // Reads all bytes and parses the header; decodes nothing.
    void LoadFromStream(QIODevice& stream) override;
    std::unique_ptr<TGraphic> Clone() const override;
    // Decodes at the first call; a failed decoding is not retried.
    TBitmapImagePtr PixelsForDrawing() override;

    const TJPEGDataPtr& Data() const { return data_; }
    // Null until the first drawing.
    const TBitmap* DecodedBitmap() const { return bitmap_.get(); }

private:
    void Decode();

    TJPEGDataPtr data_;
    std::unique_ptr<TBitmap> bitmap_;
};
