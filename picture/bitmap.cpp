#include "picture/bitmap.h"

#include "picture/bmp_reader.h"

void TBitmap::LoadFromStream(QIODevice& stream) {
    SetImage(ReadWindowsBitmap(stream));
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    return std::make_unique<TBitmap>(image_);
}

void TBitmap::SetImage(TBitmapImagePtr image) {
    if (image && image->IsEmpty())
        image.reset();
    image_ = std::move(image);
}
