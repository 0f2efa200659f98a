// The picture model: choosing the image kind, loading, copying, lazy decoding.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <sys/stat.h>
#include <QTemporaryDir>

#include "picture/bitmap.h"
#include "picture/file_formats.h"
#include "picture/jpeg_decoder.h"
#include "picture/jpeg_image.h"
#include "picture/picture.h"
#include "tests/support/app_fixture.h"
#include "tests/support/jpeg_fixtures.h"
#include "toolkit/exceptions.h"

extern "C" {
#include <jerror.h>
}

namespace {

QString JpegError(int code) {
    return QStringLiteral("JPEG エラー #%1").arg(code);
}

QString UnknownExtension(const QString& extension) {
    return QStringLiteral("拡張子 .%1 の画像形式は処理できません").arg(extension);
}

// Runs fn and returns the message of the error of kind E it raises ("" when none).
template <class E, class Fn>
QString ErrorOf(Fn fn) {
    try {
        fn();
    } catch (const E& error) {
        return error.Message();
    }
    return {};
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return path;
    }
    QString WriteJpeg(const QString& name, const TestJpegOptions& options = {}) {
        return Write(name, EncodeTestJpeg(options));
    }

    QTemporaryDir dir_;
};

TEST(FileExtension, IsTheTextAfterTheNameLastDotAsWritten) {
    const struct {
        const char* fileName;
        const char* extension;
    } cases[] = {
        {"/pics/PHOTO.JPG", "JPG"},   {"/pics/a.Bmp", "Bmp"},  {"/pics/x.tar.jpg", "jpg"},
        {"/pics/photo", ""},          {"/my.pics/photo", ""},  {"//name.jpeg", "jpeg"},
        {"/pics/trailing.", ""},      {"/pics/.hidden", "hidden"}, {"/a:b/c.gif", "gif"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileExtension(QString::fromUtf8(c.fileName)), QString::fromUtf8(c.extension)) << c.fileName;
}

TEST(FileFormats, TableHoldsBmpJpegJpgAndMatchesWithoutCase) {
    const auto& entries = TFileFormatsList::Instance().Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].extension, "bmp");
    EXPECT_EQ(entries[1].extension, "jpeg");
    EXPECT_EQ(entries[2].extension, "jpg");
    const TFileFormatsList& table = TFileFormatsList::Instance();
    EXPECT_EQ(table.Find("JPG"), &entries[2]);
    EXPECT_EQ(table.Find("Jpeg"), &entries[1]);
    EXPECT_EQ(table.Find("bMP"), &entries[0]);
    EXPECT_EQ(table.Find(""), nullptr);
    EXPECT_EQ(table.Find("gif"), nullptr);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(table.Find("jpg")->create().get()), nullptr);
    EXPECT_NE(dynamic_cast<TBitmap*>(table.Find("bmp")->create().get()), nullptr);
}

TEST_F(PictureTest, ExtensionChoosesTheImageKind) {
    TPicture picture;
    picture.LoadFromFile(WriteJpeg("PHOTO.JPG"));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    picture.LoadFromFile(WriteJpeg("x.tar.jpg"));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    picture.LoadFromFile(WriteJpeg("y.JPEG"));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    picture.LoadFromFile(Write("a.Bmp", EncodeTestBmp(5, 3)));
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 3);
    // JPEG data in a .bmp file reaches the bitmap reader, which refuses it.
    TPicture bitmap;
    const QString message = ErrorOf<EInvalidGraphic>([&] { bitmap.LoadFromFile(WriteJpeg("b.bmp")); });
    EXPECT_EQ(message, QStringLiteral("ビットマップイメージが不正です"));
}

TEST_F(PictureTest, UnknownExtensionFailsWithTheExtensionAsWritten) {
    const struct {
        QString file;
        QString extension;
    } cases[] = {
        {Write("photo", EncodeTestJpeg()), ""},
        {Write("my.pics/photo", EncodeTestJpeg()), ""},
        {Write("photo.GIF", EncodeTestJpeg()), "GIF"},
        {Write("photo.jpg.txt", EncodeTestJpeg()), "txt"},
    };
    for (const auto& c : cases) {
        TPicture picture;
        EXPECT_EQ(ErrorOf<EInvalidGraphic>([&] { picture.LoadFromFile(c.file); }), UnknownExtension(c.extension)) << c.file.toStdString();
        EXPECT_TRUE(picture.IsEmpty());
    }
}

TEST_F(PictureTest, FileThatCannotBeOpenedFailsWithThePathAsPassed) {
    const QString folder = dir_.filePath("folder.jpg");
    ASSERT_TRUE(QDir().mkpath(folder));
    // A pipe would block the load and a device would never end: neither is a picture file.
    const QString pipe = dir_.filePath("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString device = dir_.filePath("zero.jpg");
    ASSERT_TRUE(QFile::link("/dev/zero", device));
    const QString paths[] = {dir_.filePath("missing.jpg"), dir_.path() + "//missing.bmp", folder, pipe, device};
    for (const QString& path : paths) {
        TPicture picture;
        EXPECT_EQ(ErrorOf<EFOpenError>([&] { picture.LoadFromFile(path); }), QStringLiteral("ファイル %1 は開けません").arg(path));
    }
}

TEST_F(PictureTest, JpegLoadReadsOnlyTheHeader) {
    TestJpegOptions options;
    options.width = 37;
    options.height = 21;
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromFile(WriteJpeg("a.jpg", options));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Width(), 37);
    EXPECT_EQ(picture.Height(), 21);
    auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic());
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->DecodedBitmap(), nullptr);
    EXPECT_EQ(jpeg->BitsPerPixel(), 0);
    EXPECT_EQ(jpeg->Data()->bytes, EncodeTestJpeg(options));

    const TBitmapImagePtr pixels = jpeg->PixelsForDrawing();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->width, 37);
    EXPECT_EQ(pixels->height, 21);
    EXPECT_EQ(pixels->bitsPerPixel, 24);
    EXPECT_FALSE(pixels->bottomUp);
    EXPECT_EQ(jpeg->BitsPerPixel(), 24);
    // Decoded once: later drawings use the same pixels.
    EXPECT_EQ(jpeg->PixelsForDrawing(), pixels);
}

TEST_F(PictureTest, GreyscaleJpegBecomesEightBitsWith236GreyLevels) {
    TestJpegOptions options;
    options.colour = TestJpegColour::Grey;
    TPicture picture;
    picture.LoadFromFile(WriteJpeg("grey.jpg", options));
    const TBitmapImagePtr pixels = picture.Graphic()->PixelsForDrawing();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->bitsPerPixel, 8);
    ASSERT_EQ(pixels->palette.size(), 236u);
    for (std::size_t i = 0; i < pixels->palette.size(); ++i) {
        const QRgb entry = pixels->palette[i];
        EXPECT_EQ(qRed(entry), qGreen(entry));
        EXPECT_EQ(qRed(entry), qBlue(entry));
        EXPECT_EQ(qRed(entry), int((i * 255 + 235 / 2) / 235)) << i;  // evenly spaced
    }
}

TEST_F(PictureTest, EmptyJpegLoadsEmptyAndFailsOnlyAtItsFirstDrawing) {
    TPicture picture;
    picture.LoadFromFile(Write("empty.jpg", {}));
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    TGraphic* graphic = picture.Graphic();
    EXPECT_EQ(ErrorOf<EJPEG>([&] { graphic->PixelsForDrawing(); }), JpegError(JERR_INPUT_EMPTY));
    TBitmapImagePtr later;
    EXPECT_NO_THROW(later = graphic->PixelsForDrawing());
    EXPECT_EQ(later, nullptr);
    EXPECT_EQ(picture.Width(), 0);
}

TEST_F(PictureTest, DrawingDecodesAtTheFirstDrawingOnly) {
    QImage canvas(20, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const QRect all(0, 0, 20, 10);

    TPicture empty;
    empty.LoadFromFile(Write("empty.jpg", {}));
    EXPECT_EQ(ErrorOf<EJPEG>([&] { empty.Draw(painter, all, all); }), JpegError(JERR_INPUT_EMPTY));
    EXPECT_NO_THROW(empty.Draw(painter, all, all));
    EXPECT_EQ(canvas.pixel(10, 5), qRgb(255, 255, 255));  // nothing drawn

    TPicture jpeg;
    jpeg.LoadFromFile(WriteJpeg("a.jpg"));
    jpeg.Draw(painter, all, all);
    auto* image = dynamic_cast<TJPEGImage*>(jpeg.Graphic());
    ASSERT_NE(image->DecodedBitmap(), nullptr);
    const TBitmapImagePtr decoded = image->PixelsForDrawing();
    jpeg.Draw(painter, all, all);
    EXPECT_EQ(image->PixelsForDrawing(), decoded);
    painter.end();
    EXPECT_NE(canvas.pixel(10, 5), qRgb(255, 255, 255));
}

TEST_F(PictureTest, NonJpegDataInAJpgFileFailsAtLoad) {
    TPicture picture;
    EXPECT_EQ(ErrorOf<EJPEG>([&] { picture.LoadFromFile(Write("bitmap.jpg", EncodeTestBmp())); }), JpegError(JERR_NO_SOI));
    EXPECT_TRUE(picture.IsEmpty());
    QByteArray tablesOnly = EncodeTestJpeg();
    tablesOnly.truncate(tablesOnly.indexOf(QByteArray("\xFF\xC0", 2)));
    tablesOnly.append("\xFF\xD9", 2);
    EXPECT_EQ(ErrorOf<EJPEG>([&] { picture.LoadFromFile(Write("tables.jpg", tablesOnly)); }), JpegError(JERR_NO_IMAGE));
    EXPECT_EQ(ErrorOf<EJPEG>([&] { picture.LoadFromFile(Write("one.jpg", "\xFF")); }), JpegError(JERR_NO_SOI));
}

TEST_F(PictureTest, FailedLoadKeepsThePreviousImage) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromFile(WriteJpeg("good.jpg"));
    TGraphic* before = picture.Graphic();
    const QString failing[] = {dir_.filePath("missing.jpg"), Write("bad.jpg", EncodeTestBmp()),
                               Write("bad.gif", EncodeTestJpeg()), Write("bad.bmp", EncodeTestJpeg())};
    for (const QString& file : failing) {
        EXPECT_THROW(picture.LoadFromFile(file), Exception) << file.toStdString();
        EXPECT_EQ(picture.Graphic(), before);
        EXPECT_EQ(picture.Width(), 48);
    }
    EXPECT_EQ(changes, 1);
    EXPECT_NE(picture.Graphic()->PixelsForDrawing(), nullptr);
}

TEST_F(PictureTest, CopyOutlivesItsSourceAndSharesTheJpegBytes) {
    auto source = std::make_unique<TPicture>();
    source->LoadFromFile(WriteJpeg("a.jpg"));
    TPicture copy;
    int changes = 0;
    copy.OnChange = [&] { ++changes; };
    copy.Assign(source.get());
    EXPECT_EQ(changes, 1);
    auto* sourceJpeg = dynamic_cast<TJPEGImage*>(source->Graphic());
    auto* copyJpeg = dynamic_cast<TJPEGImage*>(copy.Graphic());
    ASSERT_NE(copyJpeg, nullptr);
    EXPECT_NE(copyJpeg, sourceJpeg);
    EXPECT_EQ(copyJpeg->Data(), sourceJpeg->Data());
    EXPECT_EQ(copyJpeg->Data().use_count(), 2);

    const TJPEGDataPtr data = copyJpeg->Data();
    source.reset();
    EXPECT_EQ(data.use_count(), 2);  // the copy and this test
    EXPECT_EQ(copy.Width(), 48);
    // Not decoded before the copy: the copy decodes on its own.
    const TBitmapImagePtr pixels = copy.Graphic()->PixelsForDrawing();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->width, 48);
}

TEST_F(PictureTest, CopyOfADecodedJpegSharesItsPixels) {
    TPicture source;
    source.LoadFromFile(WriteJpeg("a.jpg"));
    const TBitmapImagePtr decoded = source.Graphic()->PixelsForDrawing();
    auto copy = std::make_unique<TPicture>();
    copy->Assign(&source);
    auto* copyJpeg = dynamic_cast<TJPEGImage*>(copy->Graphic());
    ASSERT_NE(copyJpeg, nullptr);
    ASSERT_NE(copyJpeg->DecodedBitmap(), nullptr);
    EXPECT_NE(copyJpeg->DecodedBitmap(), dynamic_cast<TJPEGImage*>(source.Graphic())->DecodedBitmap());
    EXPECT_EQ(copyJpeg->PixelsForDrawing(), decoded);  // no second decoding
    EXPECT_EQ(decoded.use_count(), 3);                 // source, copy, this test
    copy.reset();
    EXPECT_EQ(decoded.use_count(), 2);
}

TEST_F(PictureTest, BitmapCopySharesThePixelHolder) {
    auto image = std::make_shared<TBitmapImage>();
    image->Allocate(3, 2, 24, true);
    TBitmap bitmap(image);
    const std::unique_ptr<TGraphic> copy = bitmap.Clone();
    EXPECT_EQ(copy->PixelsForDrawing(), bitmap.PixelsForDrawing());
    EXPECT_EQ(image.use_count(), 3);
    EXPECT_EQ(copy->Width(), 3);
    EXPECT_EQ(copy->Height(), 2);
    EXPECT_EQ(copy->BitsPerPixel(), 24);
    TBitmap empty(std::make_shared<TBitmapImage>());
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.PixelsForDrawing(), nullptr);
}

TEST_F(PictureTest, AssigningAnEmptyPictureEmptiesTheTarget) {
    TPicture picture;
    picture.LoadFromFile(WriteJpeg("a.jpg"));
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    TPicture empty;
    picture.Assign(&empty);
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(picture.Width(), 0);
    picture.LoadFromFile(WriteJpeg("b.jpg"));
    picture.Assign(nullptr);
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(changes, 3);
}

TEST_F(PictureTest, FailedDecodingKeepsWhatWasDecodedAndIsNotRetried) {
    // A second scan in a single-scan file: the rows decode, then the library gives up.
    QByteArray jpeg = EncodeTestJpeg();
    jpeg.chop(2);  // the end-of-image marker
    jpeg.append(QByteArray("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10));
    jpeg.append("\xFF\xD9", 2);
    TPicture picture;
    picture.LoadFromFile(Write("second-scan.jpg", jpeg));
    TGraphic* graphic = picture.Graphic();
    EXPECT_EQ(ErrorOf<EJPEG>([&] { graphic->PixelsForDrawing(); }), JpegError(JERR_EOI_EXPECTED));
    TBitmapImagePtr kept;
    EXPECT_NO_THROW(kept = graphic->PixelsForDrawing());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->width, 48);
    EXPECT_EQ(kept->height, 32);
    // The rows are there: the picture is not left black.
    const QImage image = ToQImage(*kept);
    EXPECT_GT(qRed(image.pixel(47, 31)), 200);
    EXPECT_GT(qGreen(image.pixel(47, 31)), 200);
}

TEST_F(PictureTest, HostileJpegsFailCleanlyAtDrawing) {
    // A frame header claiming 60000 x 60000 pixels: refused before any allocation.
    QByteArray huge = EncodeTestJpeg();
    const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    huge[sof + 5] = char(0xEA), huge[sof + 6] = char(0x60);  // height
    huge[sof + 7] = char(0xEA), huge[sof + 8] = char(0x60);  // width
    TestJpegOptions two;
    two.colour = TestJpegColour::Unknown2;
    TestJpegOptions manyScans;
    manyScans.width = manyScans.height = 16;
    manyScans.scans = 1200;
    const struct {
        const char* name;
        QByteArray bytes;
        int code;
        int width;
    } cases[] = {
        {"huge.jpg", huge, JERR_IMAGE_TOO_BIG, 60000},
        {"two-components.jpg", EncodeTestJpeg(two), JERR_CONVERSION_NOTIMPL, 48},
        {"many-scans.jpg", EncodeTestJpeg(manyScans), JERR_IMAGE_TOO_BIG, 16},
    };
    for (const auto& c : cases) {
        TPicture picture;
        picture.LoadFromFile(Write(c.name, c.bytes));
        EXPECT_EQ(picture.Width(), c.width) << c.name;
        EXPECT_EQ(ErrorOf<EJPEG>([&] { picture.Graphic()->PixelsForDrawing(); }), JpegError(c.code)) << c.name;
        EXPECT_EQ(picture.Width(), 0) << c.name;  // failed before the size was known
        EXPECT_EQ(picture.Graphic()->PixelsForDrawing(), nullptr);
    }
}

TEST_F(PictureTest, FourComponentJpegsAreConvertedToRgb) {
    for (TestJpegColour colour : {TestJpegColour::CmykAdobe, TestJpegColour::YcckAdobe}) {
        TestJpegOptions options;
        options.width = 64;
        options.height = 48;
        options.colour = colour;
        options.quality = 95;
        TPicture picture;
        picture.LoadFromFile(WriteJpeg("cmyk.jpg", options));
        const TBitmapImagePtr pixels = picture.Graphic()->PixelsForDrawing();
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(pixels->bitsPerPixel, 24);
        const QImage image = ToQImage(*pixels);
        // Compare block centres, away from the checkerboard's edges.
        for (int y = 4; y < options.height; y += 8)
            for (int x = 4; x < options.width; x += 8) {
                const QRgb expected = TestPatternPixel(x, y, options.width, options.height);
                const QRgb actual = image.pixel(x, y);
                EXPECT_NEAR(qRed(actual), qRed(expected), 12) << x << "," << y;
                EXPECT_NEAR(qGreen(actual), qGreen(expected), 12) << x << "," << y;
                EXPECT_NEAR(qBlue(actual), qBlue(expected), 12) << x << "," << y;
            }
    }
}

// The run-wide setting for a display of at most 8 bits per pixel.
class EightBitDisplay : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        SetJPEGPixelFormat(TJPEGPixelFormat::jf8Bit);
    }
    void TearDown() override { SetJPEGPixelFormat(TJPEGPixelFormat::jf24Bit); }
};

TEST_F(EightBitDisplay, EveryJpegIsQuantisedTo236Colours) {
    TestJpegOptions cmyk;
    cmyk.colour = TestJpegColour::CmykAdobe;
    TestJpegOptions grey;
    grey.colour = TestJpegColour::Grey;
    for (const TestJpegOptions& options : {TestJpegOptions{}, cmyk, grey}) {
        TPicture picture;
        picture.LoadFromFile(WriteJpeg("a.jpg", options));
        const TBitmapImagePtr pixels = picture.Graphic()->PixelsForDrawing();
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(pixels->bitsPerPixel, 8);
        EXPECT_GT(pixels->palette.size(), 16u);
        EXPECT_LE(pixels->palette.size(), 236u);
        EXPECT_EQ(picture.Graphic()->BitsPerPixel(), 8);
    }
}

using JpegPixelFormatAtStartUp = AppFixture;

TEST_F(JpegPixelFormatAtStartUp, IsTakenFromTheScreen) {
    SetJPEGPixelFormat(TJPEGPixelFormat::jf8Bit);
    StartProgram();
    EXPECT_EQ(JPEGPixelFormat(), TJPEGPixelFormat::jf24Bit);
}

TEST(JpegPixelFormat, ReadFromTheScreenDepth) {
    // The offscreen screen has more than 8 bits per pixel.
    SetJPEGPixelFormat(TJPEGPixelFormat::jf8Bit);
    ReadJPEGPixelFormatFromScreen();
    EXPECT_EQ(JPEGPixelFormat(), TJPEGPixelFormat::jf24Bit);
}

}  // namespace
