#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>
#include <cstring>
#include <vector>

#include "picture/box_paint.h"
#include "picture/picture.h"
#include "picture/stretch_draw.h"
#include "tests/support/bmp_fixtures.h"
#include "toolkit/exceptions.h"

namespace {

// GDI's stepping form of the same mapping, as a line drawn with a midpoint
// error term: an independent statement to check the closed form against.
std::vector<int> SteppedMap(int source, int target) {
    std::vector<int> map(static_cast<std::size_t>(target), -1);
    if (target >= source) {
        long err = 3L * source - 2L * target;
        int s = 0;
        for (int t = 0; t < target; ++t) {
            map[static_cast<std::size_t>(t)] = s;
            if (err > 0) {
                ++s;
                err += 2L * source - 2L * target;
            } else {
                err += 2L * source;
            }
        }
    } else {
        long err = 3L * target - 2L * source;
        int t = 0;
        bool first = true;
        for (int s = 0; s < source; ++s) {
            if (first && t < target) {
                map[static_cast<std::size_t>(t)] = s;
                first = false;
            }
            if (err > 0) {
                ++t;
                first = true;
                err += 2L * target - 2L * source;
            } else {
                err += 2L * target;
            }
        }
    }
    return map;
}

TEST(StretchMap, SmallCases) {
    struct Case {
        int source, target;
        std::vector<int> map;
    };
    const Case cases[] = {
        {3, 3, {0, 1, 2}},       {4, 2, {0, 2}},          {5, 2, {0, 3}},
        {3, 2, {0, 2}},          {6, 3, {0, 2, 4}},       {2, 4, {0, 0, 1, 1}},
        {2, 3, {0, 0, 1}},       {1, 3, {0, 0, 0}},       {3, 1, {0}},
        {3, 5, {0, 0, 1, 2, 2}}, {5, 3, {0, 2, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StretchSourceMap(0, c.target, c.source, c.target), c.map) << c.source << " -> " << c.target;
}

TEST(StretchMap, MatchesSteppingAndDropsOrRepeatsWholeLines) {
    for (int source = 1; source <= 90; ++source) {
        for (int target = 1; target <= 90; ++target) {
            SCOPED_TRACE(::testing::Message() << source << " -> " << target);
            const std::vector<int> map = StretchSourceMap(0, target, source, target);
            ASSERT_EQ(map, SteppedMap(source, target));
            EXPECT_EQ(map.front(), 0);
            for (std::size_t i = 1; i < map.size(); ++i) {
                // Reducing never shows a source line twice; enlarging never skips one.
                if (target <= source)
                    ASSERT_GT(map[i], map[i - 1]);
                else
                    ASSERT_LE(map[i] - map[i - 1], 1);
                ASSERT_GE(map[i], map[i - 1]);
            }
            EXPECT_LT(map.back(), source);
            if (target >= source) {
                EXPECT_EQ(map.back(), source - 1);
            }
        }
    }
}

TEST(StretchMap, WholeNumberFactorsRepeatEveryLineEqually) {
    const std::vector<int> map = StretchSourceMap(0, 12, 4, 12);
    EXPECT_EQ(map, (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3}));
    EXPECT_EQ(StretchSourceMap(0, 4, 12, 4), (std::vector<int>{0, 3, 6, 9}));
}

TEST(StretchMap, PartsAgreeWithTheWholeAndHugeSidesDoNotOverflow) {
    const std::vector<int> whole = StretchSourceMap(0, 1000, 6000, 1000);
    const std::vector<int> part = StretchSourceMap(400, 30, 6000, 1000);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin() + 400));
    const int big = 2147483647;
    EXPECT_EQ(StretchSourceIndex(big - 1, big, big), big - 1);
    EXPECT_EQ(StretchSourceIndex(big - 1, 3, big), 2);
    EXPECT_EQ(StretchSourceIndex(big - 2, big, big - 1), big - 1);
    EXPECT_EQ(StretchSourceIndex(0, big, 1), 0);
}

// A picture whose every pixel has its own colour, built in each stored format.
QRgb Colour(int x, int y) { return qRgb(x * 16 + 3, y * 16 + 5, (x * 7 + y * 3) & 0xFF); }

TBitmapImage MakeImage(int w, int h, int bpp, bool bottomUp) {
    TBitmapImage image;
    image.Allocate(w, h, bpp, bottomUp);
    if (bpp <= 8) {
        const int colours = 1 << bpp;
        for (int i = 0; i < colours; ++i)
            image.palette.push_back(qRgb(i * 255 / (colours - 1), 255 - i * 255 / (colours - 1), i & 1 ? 200 : 40));
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = image.Row(y);
        for (int x = 0; x < w; ++x) {
            const QRgb c = Colour(x, y);
            const unsigned index = static_cast<unsigned>(x * 5 + y * 3);
            switch (bpp) {
            case 1:
                if (index & 1)
                    row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
                break;
            case 4:
                row[x >> 1] |= static_cast<std::uint8_t>((index & 15) << ((x & 1) ? 0 : 4));
                break;
            case 8:
                row[x] = static_cast<std::uint8_t>(index & 255);
                break;
            case 16: {
                const unsigned v = ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3);
                row[2 * x] = static_cast<std::uint8_t>(v);
                row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                break;
            }
            case 24:
                row[3 * x] = static_cast<std::uint8_t>(qBlue(c));
                row[3 * x + 1] = static_cast<std::uint8_t>(qGreen(c));
                row[3 * x + 2] = static_cast<std::uint8_t>(qRed(c));
                break;
            case 32:
                row[4 * x] = static_cast<std::uint8_t>(qBlue(c));
                row[4 * x + 1] = static_cast<std::uint8_t>(qGreen(c));
                row[4 * x + 2] = static_cast<std::uint8_t>(qRed(c));
                row[4 * x + 3] = 0x5A;  // unused byte: must not leak into the colour
                break;
            }
        }
    }
    return image;
}

// The expected picture, straight from the general converter and the mapping.
QImage Reference(const TBitmapImage& image, int width, int height) {
    const QImage natural = ToQImage(image);
    const std::vector<int> xs = StretchSourceMap(0, width, image.width, width);
    const std::vector<int> ys = StretchSourceMap(0, height, image.height, height);
    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.setPixel(x, y, natural.pixel(xs[static_cast<std::size_t>(x)], ys[static_cast<std::size_t>(y)]));
    return out;
}

struct FormatCase {
    int bpp;
    bool bottomUp;
};

class StretchFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(StretchFormats, EveryFormatScalesLikeTheGeneralConverter) {
    const FormatCase f = GetParam();
    // 4 pixels of 24 bits fill their row exactly: the last column's fetch must
    // stay inside the pixel memory (the sanitizer build checks).
    for (const QSize natural : {QSize(4, 3), QSize(13, 7)}) {
        const TBitmapImage image = MakeImage(natural.width(), natural.height(), f.bpp, f.bottomUp);
        for (const QSize size : {natural, QSize(3, 2), QSize(40, 25), QSize(9, 11), QSize(1, 1)}) {
            SCOPED_TRACE(::testing::Message() << f.bpp << " bpp " << natural.width() << "x" << natural.height()
                                              << " -> " << size.width() << "x" << size.height());
            const QImage got = StretchPart(image, size, QRect(QPoint(0, 0), size));
            EXPECT_EQ(got, Reference(image, size.width(), size.height()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(All, StretchFormats,
                         ::testing::Values(FormatCase{1, true}, FormatCase{4, true}, FormatCase{8, true},
                                           FormatCase{16, true}, FormatCase{24, true}, FormatCase{32, true},
                                           FormatCase{24, false}, FormatCase{8, false}));

TEST(StretchDraw, NaturalSizeCopiesEveryPixel) {
    const TBitmapImage image = MakeImage(13, 7, 24, true);
    EXPECT_EQ(StretchPart(image, QSize(13, 7), QRect(0, 0, 13, 7)), ToQImage(image));
}

TEST(StretchDraw, MaskedAndPaletteEdgeCases) {
    TBitmapImage masked = MakeImage(5, 4, 32, true);
    masked.redMask = 0x0000FF;  // swapped channels take the general path
    masked.blueMask = 0xFF0000;
    EXPECT_EQ(StretchPart(masked, QSize(10, 8), QRect(0, 0, 10, 8)), Reference(masked, 10, 8));

    TBitmapImage shortPalette = MakeImage(6, 2, 8, true);
    shortPalette.palette.resize(3);  // indices beyond the table show black
    const QImage got = StretchPart(shortPalette, QSize(6, 2), QRect(0, 0, 6, 2));
    EXPECT_EQ(got, Reference(shortPalette, 6, 2));
    EXPECT_EQ(got.pixel(5, 1), qRgb(0, 0, 0));
}

TEST(StretchDraw, TouchesOnlyTheClippedPartOfTheRectangle) {
    const TBitmapImage image = MakeImage(13, 7, 24, true);
    const QRgb marker = qRgb(1, 2, 3);
    const QRect dest(-20, 5, 100, 60);  // partly outside the surface, as a centred oversized picture
    const QImage whole = Reference(image, dest.width(), dest.height());
    // Straight into the painter's image (with and without an offset), and
    // through drawn bands when the painter has a clip of its own.
    enum Painter { Plain, Translated, Clipping };
    for (const Painter kind : {Plain, Translated, Clipping})
    for (const QRect clip : {QRect(0, 0, 80, 80), QRect(10, 20, 7, 3), QRect(0, 64, 80, 1), QRect(79, 0, 1, 80)}) {
        SCOPED_TRACE(int(kind));
        QImage surface(80, 80, QImage::Format_RGB32);
        surface.fill(marker);
        {
            QPainter painter(&surface);
            QPoint shift;
            if (kind == Translated) {
                shift = QPoint(7, -9);
                painter.translate(shift);
            } else if (kind == Clipping) {
                painter.setClipRect(QRect(-5, 3, 200, 200));  // above the picture: changes nothing drawn
            }
            StretchDraw(painter, dest.translated(-shift), image, clip.translated(-shift));
        }
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x) {
                const QPoint p(x, y);
                const QRgb expected = dest.contains(p) && clip.contains(p)
                                          ? whole.pixel(p - dest.topLeft()) : marker;
                ASSERT_EQ(surface.pixel(p), expected) << x << "," << y;
            }
    }
}

TEST(StretchDraw, NothingToDrawDrawsNothing) {
    const TBitmapImage image = MakeImage(13, 7, 24, true);
    TBitmapImage broken = image;
    broken.stride = 4;  // rows shorter than the pixels they claim
    TBitmapImage truncated = image;
    truncated.pixels.resize(image.stride * 3);
    QImage surface(40, 40, QImage::Format_RGB32);
    surface.fill(Qt::white);
    const QImage before = surface;
    {
        QPainter painter(&surface);
        StretchDraw(painter, QRect(0, 0, 40, 0), image, surface.rect());
        StretchDraw(painter, QRect(0, 0, 0, 40), image, surface.rect());
        StretchDraw(painter, QRect(0, 0, 40, 40), image, QRect());
        StretchDraw(painter, QRect(0, 0, 40, 40), TBitmapImage{}, surface.rect());
        StretchDraw(painter, QRect(0, 0, 40, 40), broken, surface.rect());
        StretchDraw(painter, QRect(0, 0, 40, 40), truncated, surface.rect());
    }
    EXPECT_EQ(surface, before);
}

}  // namespace

namespace {

class BoxPaint : public ::testing::Test {
protected:
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = dir_.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(bmp::WriteFile(path, bytes));
        return path;
    }
    QTemporaryDir dir_;
};

TEST_F(BoxPaint, PaintsOnlyTheRepaintedPartsOfThePlacement) {
    QImage natural(20, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            natural.setPixel(x, y, qRgb(x * 10, y * 20, 99));
    TPicture picture;
    picture.LoadFromFile(Write("p.bmp", bmp::Bmp24(natural)));
    const QRgb marker = qRgb(1, 2, 3);
    QImage surface(100, 60, QImage::Format_RGB32);
    surface.fill(marker);
    QRegion area(QRect(0, 0, 30, 60));
    area += QRect(70, 25, 50, 10);  // reaches beyond the box
    {
        QPainter painter(&surface);
        PaintPictureBox(painter, picture, QSize(90, 60), {true, true, true}, area);
    }
    const QRect placement(0, 7, 90, 45);  // 90 / 2 = 45 high, centred
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) {
            const QPoint p(x, y);
            const bool painted = placement.contains(p) && area.contains(p) && x < 90;
            const QRgb expected = painted ? natural.pixel(StretchSourceIndex(x, 20, 90), StretchSourceIndex(y - 7, 10, 45))
                                          : marker;
            ASSERT_EQ(surface.pixel(p), expected) << x << "," << y;
        }
}

TEST_F(BoxPaint, EmptyPictureAndBrokenJpegPaintNothing) {
    QImage surface(50, 50, QImage::Format_RGB32);
    surface.fill(Qt::white);
    const QImage before = surface;
    QPainter painter(&surface);
    TPicture empty;
    PaintPictureBox(painter, empty, QSize(50, 50), {true, true, true}, QRegion(0, 0, 50, 50));
    TPicture broken;
    broken.LoadFromFile(Write("empty.jpg", QByteArray()));
    EXPECT_THROW(PaintPictureBox(painter, broken, QSize(50, 50), {true, true, true}, QRegion(0, 0, 50, 50)),
                 EJPEG);
    PaintPictureBox(painter, broken, QSize(50, 50), {true, true, true}, QRegion(0, 0, 50, 50));
    painter.end();
    EXPECT_EQ(surface, before);
}

}  // namespace
