// quimbly-render decode: output, exit status and messages.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "tests/support/bmp_fixtures.h"
#include "tests/support/jpeg_fixtures.h"
#include "tests/tools/render_fixture.h"

extern "C" {
#include <jerror.h>
}

namespace {

class RenderDecode : public RenderFixture {
protected:
    TestProcessResult Decode(const QString& file) { return Run({"decode", file, Path("out.ppm")}); }
};

TEST_F(RenderDecode, WritesThePixelsAndPrintsSizeAndDepth) {
    TestJpegOptions options;
    options.width = 13;
    options.height = 7;
    ASSERT_TRUE(WriteTestFile(Path("a.jpg"), EncodeTestJpeg(options)));
    const TestProcessResult run = Decode(Path("a.jpg"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "13 7 24\n");
    const TestPnm pnm = ReadTestPnm(Path("out.ppm"));
    ASSERT_TRUE(pnm.valid);
    EXPECT_EQ(pnm.width, 13);
    EXPECT_EQ(pnm.height, 7);
}

TEST_F(RenderDecode, EmptyPicturePrintsZerosAndWritesNothing) {
    ASSERT_TRUE(WriteTestFile(Path("empty.bmp"), {}));
    const TestProcessResult run = Decode(Path("empty.bmp"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "0 0 0\n");
    EXPECT_FALSE(QFileInfo::exists(Path("out.ppm")));
}

TEST_F(RenderDecode, PalettePicturesAreExpandedToRgb) {
    const std::vector<QRgb> palette{qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(9, 8, 7)};
    ASSERT_TRUE(WriteTestFile(Path("p.bmp"), bmp::Bmp8(3, 2, palette, {0, 1, 2, 2, 1, 0})));
    const TestProcessResult run = Decode(Path("p.bmp"));
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "3 2 8\n");
    const TestPnm pnm = ReadTestPnm(Path("out.ppm"));
    ASSERT_TRUE(pnm.valid);
    EXPECT_EQ(pnm.rgb, QByteArray("\xFF\x00\x00\x00\x80\xFF\x09\x08\x07"
                                  "\x09\x08\x07\x00\x80\xFF\xFF\x00\x00", 18));
}

TEST_F(RenderDecode, LoadAndDecodingErrorsPrintTheMessageAndWriteNothing) {
    ASSERT_TRUE(WriteTestFile(Path("empty.jpg"), {}));
    ASSERT_TRUE(WriteTestFile(Path("bitmap.jpg"), EncodeTestBmp()));
    ASSERT_TRUE(WriteTestFile(Path("a.gif"), EncodeTestJpeg()));
    const struct {
        QString file;
        QString message;
    } cases[] = {
        {Path("empty.jpg"), QStringLiteral("JPEG エラー #%1").arg(JERR_INPUT_EMPTY)},
        {Path("bitmap.jpg"), QStringLiteral("JPEG エラー #%1").arg(JERR_NO_SOI)},
        {Path("a.gif"), QStringLiteral("拡張子 .gif の画像形式は処理できません")},
        {Path("missing.jpg"), QStringLiteral("ファイル %1 は開けません").arg(Path("missing.jpg"))},
    };
    for (const auto& c : cases) {
        const TestProcessResult run = Decode(c.file);
        EXPECT_EQ(run.exitCode, 1) << c.file.toStdString();
        EXPECT_EQ(QString::fromUtf8(run.err).trimmed(), c.message);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(Path("out.ppm")));
    }
}

TEST_F(RenderDecode, UsageErrorsExitWithTwo) {
    const QStringList usages[] = {{}, {"decode"}, {"decode", Path("a.jpg")}, {"decode", "a", "b", "c"}, {"unknown", "a", "b"}};
    for (const QStringList& arguments : usages) {
        const TestProcessResult run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: quimbly-render decode FILE OUT.ppm"));
    }
}

}  // namespace
