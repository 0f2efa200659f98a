// quimbly-render decode against libjpeg's own djpeg, pixel for pixel.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "picture/bitmap_data.h"
#include "picture/jpeg_decoder.h"
#include "tests/support/jpeg_fixtures.h"

namespace {

const QString kRender = QStringLiteral(QUIMBLY_BIN_DIR "/quimbly-render");

struct ConformanceCase {
    const char* name;
    TestJpegOptions options;
    int bits;             // expected bits per pixel
    double keepFraction;  // < 1: the file is cut off at this fraction of its length
};

TestJpegOptions Options(int width, int height, TestJpegColour colour = TestJpegColour::Rgb) {
    TestJpegOptions o;
    o.width = width;
    o.height = height;
    o.colour = colour;
    return o;
}

std::vector<ConformanceCase> Cases() {
    std::vector<ConformanceCase> cases;
    cases.push_back({"baseline", Options(64, 48), 24, 1.0});
    TestJpegOptions progressive = Options(61, 37);
    progressive.progressive = true;
    cases.push_back({"progressive", progressive, 24, 1.0});
    TestJpegOptions arithmetic = Options(50, 40);
    arithmetic.arithmetic = true;
    cases.push_back({"arithmetic", arithmetic, 24, 1.0});
    TestJpegOptions progressiveArithmetic = progressive;
    progressiveArithmetic.arithmetic = true;
    cases.push_back({"progressive_arithmetic", progressiveArithmetic, 24, 1.0});
    TestJpegOptions restarts = Options(70, 45);
    restarts.restartInterval = 2;
    cases.push_back({"restart_markers", restarts, 24, 1.0});
    TestJpegOptions subsampled422 = Options(45, 31);
    subsampled422.lumaH = 2;
    subsampled422.lumaV = 1;
    cases.push_back({"subsampled_422_odd_size", subsampled422, 24, 1.0});
    TestJpegOptions full444 = Options(33, 17);
    full444.lumaH = full444.lumaV = 1;
    cases.push_back({"full_444", full444, 24, 1.0});
    cases.push_back({"greyscale", Options(53, 29, TestJpegColour::Grey), 8, 1.0});
    cases.push_back({"truncated_baseline", Options(96, 64), 24, 0.6});
    cases.push_back({"truncated_progressive", progressive, 24, 0.7});
    cases.push_back({"truncated_greyscale", Options(128, 96, TestJpegColour::Grey), 8, 0.6});
    return cases;
}

class DecodeConformance : public ::testing::TestWithParam<ConformanceCase> {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_P(DecodeConformance, RenderDecodeMatchesDjpeg) {
    const ConformanceCase& c = GetParam();
    QByteArray jpeg = EncodeTestJpeg(c.options);
    if (c.keepFraction < 1.0) {
        jpeg.truncate(static_cast<qsizetype>(jpeg.size() * c.keepFraction));
        const qsizetype scan = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
        ASSERT_GT(scan, 0);
        ASSERT_GT(jpeg.size(), scan + 40) << "the cut must lie inside scan data";
    }
    const QString file = Path(QStringLiteral("picture.jpg"));
    ASSERT_TRUE(WriteTestFile(file, jpeg));

    const TestProcessResult run = RunTestProcess(kRender, {QStringLiteral("decode"), file, Path("ours.ppm")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, QStringLiteral("%1 %2 %3\n").arg(c.options.width).arg(c.options.height).arg(c.bits).toLatin1());
    EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();

    const QStringList extra = c.bits == 8 ? QStringList{QStringLiteral("-colors"), QStringLiteral("236")} : QStringList{};
    const TestPnm reference = DjpegDecode(file, Path("djpeg.ppm"), extra);
    const TestPnm ours = ReadTestPnm(Path("ours.ppm"));
    ASSERT_TRUE(reference.valid);
    ASSERT_TRUE(ours.valid);
    EXPECT_EQ(ours.width, reference.width);
    EXPECT_EQ(ours.height, reference.height);
    EXPECT_TRUE(ours.rgb == reference.rgb) << "pixels differ from djpeg";
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeConformance, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The 8-bit display path: every file quantised to 236 colours, two-pass for colour.
class EightBitConformance : public ::testing::TestWithParam<ConformanceCase> {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QTemporaryDir dir_;
};

TEST_P(EightBitConformance, QuantisedDecodeMatchesDjpegColors236) {
    const ConformanceCase& c = GetParam();
    const QByteArray jpeg = EncodeTestJpeg(c.options);
    const QString file = dir_.filePath(QStringLiteral("picture.jpg"));
    ASSERT_TRUE(WriteTestFile(file, jpeg));

    TBitmapImage image;
    DecodeJPEG(reinterpret_cast<const std::uint8_t*>(jpeg.constData()), std::size_t(jpeg.size()),
               TJPEGPixelFormat::jf8Bit, image);
    EXPECT_EQ(image.bitsPerPixel, 8);
    EXPECT_FALSE(image.bottomUp);
    EXPECT_LE(image.palette.size(), 236u);
    const QImage ours = ToQImage(image).convertToFormat(QImage::Format_RGB888);

    const TestPnm reference = DjpegDecode(file, dir_.filePath("djpeg.ppm"), {QStringLiteral("-colors"), QStringLiteral("236")});
    ASSERT_TRUE(reference.valid);
    ASSERT_EQ(ours.width(), reference.width);
    ASSERT_EQ(ours.height(), reference.height);
    QByteArray rgb;
    for (int y = 0; y < ours.height(); ++y)
        rgb.append(reinterpret_cast<const char*>(ours.constScanLine(y)), ours.width() * 3);
    EXPECT_TRUE(rgb == reference.rgb) << "pixels differ from djpeg -colors 236";
}

std::vector<ConformanceCase> EightBitCases() {
    TestJpegOptions progressive = Options(40, 30);
    progressive.progressive = true;
    return {{"colour", Options(64, 48), 8, 1.0},
            {"progressive_colour", progressive, 8, 1.0},
            {"greyscale", Options(40, 24, TestJpegColour::Grey), 8, 1.0}};
}

INSTANTIATE_TEST_SUITE_P(Files, EightBitConformance, ::testing::ValuesIn(EightBitCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
