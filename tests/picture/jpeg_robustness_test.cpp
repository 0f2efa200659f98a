// Damaged JPEG files: every one either decodes or fails with the JPEG error,
// never anything worse (the sanitizer build watches memory).
#include <gtest/gtest.h>

#include <QBuffer>
#include <random>

#include "picture/jpeg_image.h"
#include "tests/support/jpeg_fixtures.h"
#include "toolkit/exceptions.h"

namespace {

enum class Outcome { Decoded, FailedAtLoad, FailedAtDrawing };

Outcome LoadAndDraw(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TJPEGImage image;
    try {
        image.LoadFromStream(buffer);
    } catch (const EJPEG&) {
        return Outcome::FailedAtLoad;
    }
    try {
        const TBitmapImagePtr pixels = image.PixelsForDrawing();
        if (pixels) {
            EXPECT_EQ(pixels->width, image.Width());
            EXPECT_EQ(pixels->height, image.Height());
            EXPECT_GE(pixels->pixels.size(), pixels->stride * std::size_t(pixels->height));
        }
    } catch (const EJPEG&) {
        EXPECT_NO_THROW(image.PixelsForDrawing());  // not decoded again
        return Outcome::FailedAtDrawing;
    }
    return Outcome::Decoded;
}

QByteArray Damage(QByteArray bytes, std::mt19937& random) {
    std::uniform_int_distribution<int> count(1, 6);
    std::uniform_int_distribution<qsizetype> position(0, bytes.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int n = count(random); n > 0; --n) {
        const qsizetype at = position(random);
        // Marker bytes often, so markers appear where they do not belong.
        bytes[at] = char(value(random) < 64 ? 0xFF : value(random));
    }
    if (value(random) < 48)
        bytes.truncate(position(random));
    return bytes;
}

TEST(JpegRobustness, DamagedFilesDecodeOrFailWithTheJpegError) {
    TestJpegOptions baseline;
    TestJpegOptions progressive;
    progressive.progressive = true;
    TestJpegOptions arithmetic;
    arithmetic.arithmetic = true;
    arithmetic.progressive = true;
    TestJpegOptions restarts;
    restarts.restartInterval = 1;
    TestJpegOptions grey;
    grey.colour = TestJpegColour::Grey;
    TestJpegOptions cmyk;
    cmyk.colour = TestJpegColour::YcckAdobe;
    std::mt19937 random(20261211);
    int outcomes[3] = {};
    for (const TestJpegOptions& options : {baseline, progressive, arithmetic, restarts, grey, cmyk}) {
        const QByteArray good = EncodeTestJpeg(options);
        for (int i = 0; i < 80; ++i)
            ++outcomes[int(LoadAndDraw(Damage(good, random)))];
    }
    // The damage is varied enough to reach all three outcomes.
    EXPECT_GT(outcomes[int(Outcome::Decoded)], 0);
    EXPECT_GT(outcomes[int(Outcome::FailedAtLoad)], 0);
    EXPECT_GT(outcomes[int(Outcome::FailedAtDrawing)], 0);
}

}  // namespace
