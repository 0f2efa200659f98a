// quimbly-render place and render: output, exit status, the painted box.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "tests/support/bmp_fixtures.h"
#include "tests/support/jpeg_fixtures.h"
#include "tests/tools/render_fixture.h"

namespace {

using RenderBox = RenderFixture;

TEST_F(RenderBox, PlacePrintsLeftTopWidthHeight) {
    struct Case {
        QStringList arguments;
        QByteArray out;
    };
    const Case cases[] = {
        {{"2", "3", "160", "120", "--center", "--proportional", "--stretch"}, "40 0 79 120\n"},
        {{"161", "120", "160", "120", "--center", "--proportional"}, "0 0 160 119\n"},
        {{"201", "50", "100", "100", "--center"}, "-50 25 201 50\n"},
        {{"10", "3", "100", "100", "--stretch", "--center"}, "0 0 100 100\n"},
        {{"0", "0", "160", "120", "--proportional", "--center"}, "80 60 0 0\n"},
        {{"640", "480", "100", "0", "--center", "--proportional", "--stretch"}, "50 0 0 0\n"},
        {{"500", "400", "160", "120"}, "0 0 500 400\n"},
    };
    for (const Case& c : cases) {
        const TestProcessResult run = Run(QStringList{"place"} + c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.out, c.out) << c.arguments.join(' ').toStdString();
    }
}

TEST_F(RenderBox, UsageErrorsExitWithTwo) {
    const QString file = Path("a.bmp");
    ASSERT_TRUE(bmp::WriteFile(file, bmp::Bmp24(QImage(4, 4, QImage::Format_RGB32))));
    const QStringList bad[] = {
        {"place", "1", "2", "3"},
        {"place", "1", "2", "3", "4", "5"},
        {"place", "1", "2", "3", "-4"},
        {"place", "1", "x", "3", "4"},
        {"place", "1", "2", "3", "99999999999"},
        {"place", "1", "2", "3", "4", "--centre"},
        {"render", file, "10", "10"},
        {"render", file, "10", "ten", Path("o.ppm")},
        {"render", file, "10", "10", Path("o.ppm"), "--background"},
        {"render", file, "10", "10", Path("o.ppm"), "--background", "12345"},
        {"render", file, "10", "10", Path("o.ppm"), "--background", "GG0000"},
        {"render", file, "100000", "100000", Path("o.ppm")},
    };
    for (const QStringList& arguments : bad) {
        const TestProcessResult run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(Path("o.ppm")));
}

TEST_F(RenderBox, RenderPaintsTheBoxOnItsBackground) {
    QImage picture(80, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            picture.setPixel(x, y, qRgb(x, y, 200));
    ASSERT_TRUE(bmp::WriteFile(Path("p.bmp"), bmp::Bmp24(picture)));
    const TestProcessResult run =
        Run({"render", Path("p.bmp"), "160", "120", Path("out.ppm"), "--center", "--proportional", "--background", "0A14fe"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const TestPnm pnm = ReadTestPnm(Path("out.ppm"));
    ASSERT_TRUE(pnm.valid);
    ASSERT_EQ(pnm.width, 160);
    ASSERT_EQ(pnm.height, 120);
    auto pixel = [&](int x, int y) {
        const char* p = pnm.rgb.constData() + 3 * (y * 160 + x);
        return qRgb(uchar(p[0]), uchar(p[1]), uchar(p[2]));
    };
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            const bool inside = x >= 40 && x < 120 && y >= 30 && y < 90;
            ASSERT_EQ(pixel(x, y), inside ? picture.pixel(x - 40, y - 30) : qRgb(0x0A, 0x14, 0xFE)) << x << "," << y;
        }

    // White unless told, and the picture scaled when stretched.
    ASSERT_EQ(Run({"render", Path("p.bmp"), "40", "40", Path("w.ppm"), "--stretch", "--proportional"}).exitCode, 0);
    const TestPnm small = ReadTestPnm(Path("w.ppm"));
    ASSERT_TRUE(small.valid);
    EXPECT_EQ(small.rgb.mid(3 * (39 * 40), 3), QByteArray("\xFF\xFF\xFF"));
    EXPECT_EQ(small.rgb.left(3), QByteArray("\x00\x00\xC8", 3));
}

TEST_F(RenderBox, BoxOfNoHeightIsWrittenEmptyWithoutDecoding) {
    ASSERT_TRUE(WriteTestFile(Path("empty.jpg"), {}));  // would fail when drawn
    const TestProcessResult run = Run({"render", Path("empty.jpg"), "100", "0", Path("out.ppm"), "--stretch"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    QFile out(Path("out.ppm"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("P6\n100 0\n255\n"));
}

TEST_F(RenderBox, LoadAndDecodingErrorsExitWithOneAndWriteNothing) {
    ASSERT_TRUE(WriteTestFile(Path("empty.jpg"), {}));
    ASSERT_TRUE(WriteTestFile(Path("bad.png"), "x"));
    for (const QString& file : {Path("empty.jpg"), Path("bad.png"), Path("missing.bmp")}) {
        const TestProcessResult run = Run({"render", file, "50", "50", Path("out.ppm")});
        EXPECT_EQ(run.exitCode, 1) << file.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(Path("out.ppm")));
    }
    const TestProcessResult run = Run({"render", Path("empty.jpg"), "50", "50", Path("out.ppm")});
    EXPECT_TRUE(QString::fromUtf8(run.err).startsWith(QStringLiteral("JPEG エラー #")));
}

}  // namespace
