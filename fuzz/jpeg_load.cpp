// Fuzz target: any bytes as a JPEG file, loaded and drawn as a thumbnail would
// be (header at load, full decoding at the first drawing), in both pixel depths.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "picture/jpeg_decoder.h"
#include "picture/jpeg_image.h"
#include "toolkit/exceptions.h"

namespace {

// Pictures claiming more pixels than this are loaded but not decoded, so that
// each input stays cheap; the size cap itself is checked by the tests.
constexpr long long kMaxDecodedPixels = 1 << 20;
constexpr long long kMaxQuantisedPixels = 1 << 18;

void LoadAndDraw(const QByteArray& bytes, TJPEGPixelFormat format, long long maxPixels) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TJPEGImage image;
    SetJPEGPixelFormat(format);
    try {
        image.LoadFromStream(buffer);
        if (static_cast<long long>(image.Width()) * image.Height() > maxPixels)
            return;
        const TBitmapImagePtr pixels = image.PixelsForDrawing();
        if (pixels)
            CheckAndSample(*pixels);
    } catch (const Exception&) {
        // A failed decoding keeps what it made; drawing it again must not decode or fail.
        if (const TBitmap* bitmap = image.DecodedBitmap()) {
            if (bitmap->Image())
                CheckAndSample(*bitmap->Image());
            image.PixelsForDrawing();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    LoadAndDraw(bytes, TJPEGPixelFormat::jf24Bit, kMaxDecodedPixels);
    LoadAndDraw(bytes, TJPEGPixelFormat::jf8Bit, kMaxQuantisedPixels);
    return 0;
}
