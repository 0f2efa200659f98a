// quimbly-render decode on bitmap files: the size and depth it prints and the
// pixels it writes, for every accepted variant, and its answer to refused files.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/bmp_fixtures.h"

namespace {

struct Decoded {
    int exitCode = -1;
    QString out;
    QString err;
};

Decoded Decode(const QString& file, const QString& ppm) {
    QProcess process;
    process.start(QStringLiteral(QUIMBLY_BIN_DIR "/quimbly-render"), {"decode", file, ppm});
    Decoded result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// The pixels of a binary PPM, top row first; empty when it is not one of width x height.
std::vector<QRgb> ReadPpm(const QString& path, int width, int height) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const QByteArray header = QStringLiteral("P6\n%1 %2\n255\n").arg(width).arg(height).toLatin1();
    if (!bytes.startsWith(header) || bytes.size() != header.size() + qsizetype{width} * height * 3)
        return {};
    std::vector<QRgb> pixels;
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + header.size();
    for (int i = 0; i < width * height; ++i, p += 3)
        pixels.push_back(qRgb(p[0], p[1], p[2]));
    return pixels;
}

class DecodeVariant : public testing::TestWithParam<bmp::Variant> {
protected:
    QTemporaryDir dir;
};

TEST_P(DecodeVariant, PrintsSizeAndBitsAndWritesThePixels) {
    const bmp::Variant& v = GetParam();
    const QString bmpPath = dir.filePath("picture.bmp");
    const QString ppmPath = dir.filePath("picture.ppm");
    ASSERT_TRUE(bmp::WriteFile(bmpPath, bmp::Build(v.file)));
    const Decoded d = Decode(bmpPath, ppmPath);
    ASSERT_EQ(d.exitCode, 0) << d.err.toStdString();
    EXPECT_EQ(d.out, QStringLiteral("%1 %2 %3\n").arg(v.width).arg(v.height).arg(v.bits));
    EXPECT_EQ(ReadPpm(ppmPath, v.width, v.height), v.expected);
}

INSTANTIATE_TEST_SUITE_P(Variants, DecodeVariant, testing::ValuesIn(bmp::AcceptedVariants()),
                         [](const testing::TestParamInfo<bmp::Variant>& info) { return info.param.name; });

TEST(BmpDecode, EmptyFilePrintsZerosAndWritesNothing) {
    QTemporaryDir dir;
    const QString bmpPath = dir.filePath("empty.bmp");
    ASSERT_TRUE(bmp::WriteFile(bmpPath, QByteArray()));
    const Decoded d = Decode(bmpPath, dir.filePath("out.ppm"));
    EXPECT_EQ(d.exitCode, 0);
    EXPECT_EQ(d.out, QStringLiteral("0 0 0\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath("out.ppm")));
}

TEST(BmpDecode, RefusedFilesPrintTheirMessageAndWriteNothing) {
    QTemporaryDir dir;
    bmp::File planes = bmp::TrueColour("", 40).file;
    planes.planes = 2;
    bmp::File huge = bmp::TrueColour("", 40).file;
    huge.width = 60000;
    huge.height = 60000;
    const struct {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {bmp::Build(planes), QStringLiteral("ビットマップイメージが不正です")},
        {bmp::Build(huge), QStringLiteral("ビットマップイメージが不正です")},
        {bmp::Build(planes).left(10), QStringLiteral("ストリームからの読み込みエラー")},
    };
    for (const auto& c : cases) {
        const QString bmpPath = dir.filePath("bad.bmp");
        ASSERT_TRUE(bmp::WriteFile(bmpPath, c.bytes));
        const Decoded d = Decode(bmpPath, dir.filePath("out.ppm"));
        EXPECT_EQ(d.exitCode, 1) << c.message.toStdString();
        EXPECT_EQ(d.out, QString());
        EXPECT_EQ(d.err.trimmed(), c.message);
        EXPECT_FALSE(QFile::exists(dir.filePath("out.ppm")));
    }
}

}  // namespace
