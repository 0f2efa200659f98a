#pragma once
// TBitmap: a Windows bitmap image, its pixels in a holder shared by its copies.

#include "picture/graphic.h"

class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    explicit TBitmap(TBitmapImagePtr image) { SetImage(std::move(image)); }

    int Width() const override { return image_ ? image_->width : 0; }
    int Height() const override { return image_ ? image_->height : 0; }
    int BitsPerPixel() const override { return image_ ? image_->bitsPerPixel : 0; }

    // Reads a Windows bitmap file; an empty stream gives an empty bitmap.
    void LoadFromStream(QIODevice& stream) override;
    std::unique_ptr<TGraphic> Clone() const override;
    TBitmapImagePtr PixelsForDrawing() override { return image_; }

    // The shared pixel holder; null when the bitmap is empty.
    const TBitmapImagePtr& Image() const { return image_; }
    // An empty image (0 x 0) leaves the bitmap empty.
    void SetImage(TBitmapImagePtr image);

private:
    TBitmapImagePtr image_;
};
