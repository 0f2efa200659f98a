#include "picture/jpeg_image.h"

#include <QIODevice>

#include "picture/jpeg_decoder.h"
#include "toolkit/exceptions.h"

namespace {

const std::uint8_t* Bytes(const QByteArray& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

QByteArray ReadAll(QIODevice& stream) {
    const qint64 size = stream.size() - stream.pos();
    // No picture we can show comes from a file this large; refuse it before
    // reading it into memory.
    if (size > static_cast<qint64>(kMaxBitmapBytes))
        RaiseJPEGImageTooBig();
    QByteArray bytes(size, Qt::Uninitialized);
    if (size > 0 && stream.read(bytes.data(), size) != size)
        throw EReadError(QStringLiteral("ストリームからの読み込みエラー"));
    return bytes;
}

}  // namespace

TJPEGImage::TJPEGImage() : data_(std::make_shared<const TJPEGData>()) {}

int TJPEGImage::Width() const {
    return bitmap_ ? bitmap_->Width() : data_->width;
}

int TJPEGImage::Height() const {
    return bitmap_ ? bitmap_->Height() : data_->height;
}

int TJPEGImage::BitsPerPixel() const {
    return bitmap_ ? bitmap_->BitsPerPixel() : 0;
}

void TJPEGImage::LoadFromStream(QIODevice& stream) {
    auto data = std::make_shared<TJPEGData>();
    data->bytes = ReadAll(stream);
    if (!data->bytes.isEmpty()) {
        const TJPEGSize size = ReadJPEGHeader(Bytes(data->bytes), static_cast<std::size_t>(data->bytes.size()));
        data->width = size.width;
        data->height = size.height;
    }
    data_ = std::move(data);
    bitmap_.reset();
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    auto copy = std::make_unique<TJPEGImage>();
    copy->data_ = data_;
    if (bitmap_)
        copy->bitmap_ = std::make_unique<TBitmap>(bitmap_->Image());
    return copy;
}

TBitmapImagePtr TJPEGImage::PixelsForDrawing() {
    if (!bitmap_)
        Decode();
    return bitmap_->PixelsForDrawing();
}

void TJPEGImage::Decode() {
    bitmap_ = std::make_unique<TBitmap>();
    auto image = std::make_shared<TBitmapImage>();
    try {
        DecodeJPEG(Bytes(data_->bytes), static_cast<std::size_t>(data_->bytes.size()), JPEGPixelFormat(), *image);
    } catch (...) {
        // What was decoded before the failure stays and is drawn from now on.
        bitmap_->SetImage(std::move(image));
        throw;
    }
    bitmap_->SetImage(std::move(image));
}
