#include <gtest/gtest.h>

#include <QBuffer>
#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>

#include "picture/bmp_reader.h"
#include "tests/support/bmp_fixtures.h"
#include "toolkit/exceptions.h"

namespace {

using bmp::BitFields;
using bmp::Bytes;
using bmp::Grid;
using bmp::Indexed;
using bmp::Masks;
using bmp::Rle;
using bmp::TrueColour;
using bmp::Variant;

TBitmapImagePtr Read(const QByteArray& bytes, std::uint64_t cap = kMaxBitmapBytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadWindowsBitmap(buffer, cap);
}

std::vector<QRgb> Pixels(const TBitmapImage& image) {
    const QImage q = ToQImage(image);
    std::vector<QRgb> out;
    for (int y = 0; y < q.height(); ++y)
        for (int x = 0; x < q.width(); ++x)
            out.push_back(q.pixel(x, y));
    return out;
}

// Widens an n-bit channel value to 8 bits by repeating its bit pattern from the top.

class AcceptedVariant : public testing::TestWithParam<Variant> {};

TEST_P(AcceptedVariant, ReadsSizeDepthAndPixels) {
    const Variant& c = GetParam();
    const TBitmapImagePtr image = Read(bmp::Build(c.file));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    EXPECT_EQ(image->bitsPerPixel, c.bits);
    EXPECT_EQ(image->stride % 4, 0u);
    EXPECT_EQ(image->palette.size(), c.file.palette.size());
    EXPECT_EQ(Pixels(*image), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Variants, AcceptedVariant, testing::ValuesIn(bmp::AcceptedVariants()),
                         [](const testing::TestParamInfo<Variant>& info) { return info.param.name; });

enum class Kind { Read, Invalid, OS };

struct Refused {
    std::string name;
    QByteArray bytes;
    Kind kind;
};

const QString kReadMessage = QStringLiteral("ストリームからの読み込みエラー");
const QString kInvalidMessage = QStringLiteral("ビットマップイメージが不正です");

QByteArray Valid8() {
    return bmp::Build(Indexed("", 40, 8, 5, 3).file);
}

QByteArray With(const std::function<void(bmp::File&)>& change, bmp::File f = Indexed("", 40, 8, 5, 3).file) {
    change(f);
    return bmp::Build(f);
}

QByteArray MaskFile(Masks masks) {
    return With([&](bmp::File& f) { f.masks = masks; f.compression = bmp::kBitFields; },
                BitFields("", 40, 16, Masks{0xF800, 0x07E0, 0x001F}, Masks{0xF800, 0x07E0, 0x001F}).file);
}

std::vector<Refused> RefusedCases() {
    const QByteArray valid = Valid8();
    const int tableStart = 14 + 40;
    QByteArray maskCut = MaskFile(Masks{0xF800, 0x07E0, 0x001F}).left(tableStart + 6);
    QByteArray jpeg = Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    jpeg.append(QByteArray(200, '\0'));
    return {
        {"OneByte", valid.left(1), Kind::Read},
        {"TenBytes", valid.left(10), Kind::Read},
        {"ThirteenBytes", valid.left(13), Kind::Read},
        {"EndsInHeaderSize", valid.left(16), Kind::Read},
        {"EndsInInfoHeader", valid.left(40), Kind::Read},
        {"EndsInCoreHeader", bmp::Build(Indexed("", 12, 8, 5, 3).file).left(22), Kind::Read},
        {"EndsInColourMasks", maskCut, Kind::Read},
        {"EndsInColourTable", valid.left(tableStart + 1000), Kind::Read},
        {"EndsInCoreColourTable", bmp::Build(Indexed("", 12, 8, 5, 3).file).left(26 + 700), Kind::Read},
        {"NotBM", With([](bmp::File& f) { f.magic = "MB"; }), Kind::Invalid},
        {"JpegData", jpeg, Kind::Invalid},
        {"PlanesTwo", With([](bmp::File& f) { f.planes = 2; }), Kind::Invalid},
        {"PlanesZero", With([](bmp::File& f) { f.planes = 0; }), Kind::Invalid},
        {"EmbeddedJpeg", With([](bmp::File& f) { f.compression = 4; }), Kind::Invalid},
        {"EmbeddedPng", With([](bmp::File& f) { f.compression = 5; }), Kind::Invalid},
        {"AlphaBitFields", With([](bmp::File& f) { f.compression = 6; }), Kind::Invalid},
        {"UnknownCompression", With([](bmp::File& f) { f.compression = 0x7FFFFFFF; }), Kind::Invalid},
        {"Rle8OnFourBits", With([](bmp::File& f) { f.compression = bmp::kRle8; }, Indexed("", 40, 4, 5, 3).file), Kind::Invalid},
        {"Rle4OnEightBits", With([](bmp::File& f) { f.compression = bmp::kRle4; }), Kind::Invalid},
        {"BitFieldsOnEightBits", With([](bmp::File& f) { f.compression = bmp::kBitFields; }), Kind::Invalid},
        {"BitFieldsOn24Bits", With([](bmp::File& f) { f.compression = bmp::kBitFields; f.masks = Masks{0xFF0000, 0xFF00, 0xFF}; }, TrueColour("", 40).file), Kind::Invalid},
        {"Os2HuffmanCompression", With([](bmp::File& f) { f.compression = 3; }, BitFields("", 64, 16, std::nullopt, Masks{}).file), Kind::Invalid},
        {"RleTopDown", With([](bmp::File& f) { f.height = -f.height; }, Rle("", 8, 4, 2, Grid(4, 2, [](int, int) { return 1u; })).file), Kind::Invalid},
        {"ZeroBits", With([](bmp::File& f) { f.bitsPerPixel = 0; }), Kind::Invalid},
        {"TwoBits", With([](bmp::File& f) { f.bitsPerPixel = 2; }), Kind::Invalid},
        {"SixtyFourBits", With([](bmp::File& f) { f.bitsPerPixel = 64; }), Kind::Invalid},
        {"HeaderSize20", With([](bmp::File& f) { f.headerSize = 20; }), Kind::Invalid},
        {"HeaderSize200", With([](bmp::File& f) { f.headerSize = 200; }), Kind::Invalid},
        {"HeaderSizeHuge", With([](bmp::File& f) { f.headerSize = 0xFFFFFFF0; }).left(60), Kind::Invalid},
        {"TooManyColours", With([](bmp::File& f) { f.coloursUsed = 257; }), Kind::Invalid},
        {"HugeColourCount", With([](bmp::File& f) { f.coloursUsed = 0xFFFFFFFF; }).left(80), Kind::Invalid},
        {"ZeroWidth", With([](bmp::File& f) { f.width = 0; }), Kind::Invalid},
        {"NegativeWidth", With([](bmp::File& f) { f.width = -5; }), Kind::Invalid},
        {"ZeroHeight", With([](bmp::File& f) { f.height = 0; }), Kind::Invalid},
        {"MostNegativeHeight", With([](bmp::File& f) { f.height = std::numeric_limits<std::int32_t>::min(); }), Kind::Invalid},
        {"NonContiguousMask", MaskFile(Masks{0xF000, 0x0A00, 0x001F}), Kind::Invalid},
        // Far above the pixel memory cap, from a file of about a hundred bytes.
        {"HugeTrueColour", With([](bmp::File& f) { f.width = 60000; f.height = 60000; }, TrueColour("", 40).file).left(100), Kind::Invalid},
        {"HugeOneBit", With([](bmp::File& f) { f.width = 0x7FFFFFFF; f.height = 0x7FFFFFFF; }, Indexed("", 40, 1, 5, 3).file).left(100), Kind::Invalid},
        {"HugeRle8", With([](bmp::File& f) { f.width = 40000; f.height = 40000; }, Rle("", 8, 4, 2, Grid(4, 2, [](int, int) { return 1u; })).file).left(1100), Kind::Invalid},
        {"HugeTopDown32", With([](bmp::File& f) { f.width = 20000; f.height = -20000; }, BitFields("", 40, 32, std::nullopt, Masks{}).file), Kind::Invalid},
    };
}

void PrintTo(const Refused& c, std::ostream* os) {
    *os << c.name;
}

class RefusedVariant : public testing::TestWithParam<Refused> {};

TEST_P(RefusedVariant, RaisesItsErrorWithItsMessage) {
    const Refused& c = GetParam();
    try {
        Read(c.bytes);
        FAIL() << "accepted";
    } catch (const EReadError& e) {
        EXPECT_EQ(c.kind, Kind::Read) << "read error";
        EXPECT_EQ(e.Message(), kReadMessage);
    } catch (const EOSError&) {
        EXPECT_EQ(c.kind, Kind::OS) << "system error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(c.kind, Kind::Invalid) << "invalid graphic";
        EXPECT_EQ(e.Message(), kInvalidMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, RefusedVariant, testing::ValuesIn(RefusedCases()),
                         [](const testing::TestParamInfo<Refused>& info) { return info.param.name; });

TEST(BmpReader, EmptyFileIsAnEmptyPicture) {
    const TBitmapImagePtr image = Read(QByteArray());
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->IsEmpty());
    EXPECT_EQ(image->width, 0);
    EXPECT_EQ(image->height, 0);
}

TEST(BmpReader, CutShortPixelDataLeavesTheTopRowsZero) {
    Variant c = TrueColour("", 40);
    const int stride = 16;
    c.file.pixelData = c.file.pixelData.left(stride + 6);  // bottom row and two pixels of the next
    const auto pixels = Pixels(*Read(bmp::Build(c.file)));
    const QRgb black = qRgb(0, 0, 0);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(pixels[x], black) << x;
        EXPECT_EQ(pixels[5 + x], x < 2 ? c.expected[5 + x] : black) << x;
        EXPECT_EQ(pixels[10 + x], c.expected[10 + x]) << x;
    }
}

TEST(BmpReader, CutShortTopDownDataLeavesTheBottomRowsZero) {
    Variant c = Indexed("", 40, 8, 5, 3, true);
    c.file.pixelData = c.file.pixelData.left(8);
    const auto pixels = Pixels(*Read(bmp::Build(c.file)));
    const QRgb index0 = c.file.palette[0] | 0xFF000000u;
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(pixels[x], c.expected[x]);
        EXPECT_EQ(pixels[5 + x], index0);
        EXPECT_EQ(pixels[10 + x], index0);
    }
}

TEST(BmpReader, ImageSizeSmallerThanTheRowsReadsOnlyThatMuch) {
    Variant c = TrueColour("", 40);
    c.file.imageSize = 16;
    const auto pixels = Pixels(*Read(bmp::Build(c.file)));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(pixels[x], qRgb(0, 0, 0));
        EXPECT_EQ(pixels[10 + x], c.expected[10 + x]);
    }
}

TEST(BmpReader, TopDownRowsAreShownUprightWithPositiveHeight) {
    Variant c = TrueColour("", 40, true);
    const TBitmapImagePtr image = Read(bmp::Build(c.file));
    EXPECT_EQ(image->height, 3);
    EXPECT_FALSE(image->bottomUp);
    EXPECT_EQ(Pixels(*image), c.expected);
}

TEST(BmpReader, KeepsIndexedDepthAndTable) {
    Variant c = Indexed("", 40, 4, 5, 3, false, 5);
    const TBitmapImagePtr image = Read(bmp::Build(c.file));
    EXPECT_EQ(image->bitsPerPixel, 4);
    ASSERT_EQ(image->palette.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(image->palette[i] | 0xFF000000u, c.file.palette[i] | 0xFF000000u);
}

TEST(BmpReader, IndexBeyondTheTableIsBlack) {
    bmp::File f = Indexed("", 40, 8, 2, 1, false, 2).file;
    f.pixelData = bmp::PackRows({1, 200}, 2, 1, 8);
    const auto pixels = Pixels(*Read(bmp::Build(f)));
    EXPECT_EQ(pixels[0], f.palette[1] | 0xFF000000u);
    EXPECT_EQ(pixels[1], qRgb(0, 0, 0));
}

TEST(BmpReader, ReadsFromTheStreamsCurrentPosition) {
    Variant c = Indexed("", 40, 8, 5, 3);
    c.file.gapAfterTable = 10;
    QBuffer buffer;
    buffer.setData(QByteArray("prefix") + bmp::Build(c.file));
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    EXPECT_EQ(Pixels(*ReadWindowsBitmap(buffer)), c.expected);
}

// A pipe-like device: no size known, no seeking, bytes handed out a few at a time.
class SequentialBuffer : public QIODevice {
public:
    void setData(const QByteArray& data) { data_ = data; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* out, qint64 max) override {
        const qint64 n = std::min<qint64>({max, 7, data_.size() - offset_});
        std::memcpy(out, data_.constData() + offset_, static_cast<std::size_t>(n));
        offset_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data_;
    qint64 offset_ = 0;
};

TEST(BmpReader, ReadsFromASequentialDevice) {
    Variant gap = Indexed("", 40, 8, 5, 3);
    gap.file.gapAfterTable = 10;
    Variant rle = Rle("", 4, 6, 2, Grid(6, 2, [](int x, int y) { return std::uint32_t(x + y); }));
    rle.file.gapAfterTable = 3;
    for (const Variant& v : {gap, rle}) {
        SequentialBuffer buffer;
        buffer.setData(bmp::Build(v.file));
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(Pixels(*ReadWindowsBitmap(buffer)), v.expected);
    }
    SequentialBuffer empty;
    empty.open(QIODevice::ReadOnly);
    EXPECT_TRUE(ReadWindowsBitmap(empty)->IsEmpty());
    SequentialBuffer tenBytes;
    tenBytes.setData(bmp::Build(gap.file).left(10));
    tenBytes.open(QIODevice::ReadOnly);
    EXPECT_THROW(ReadWindowsBitmap(tenBytes), EReadError);
}

TEST(BmpReader, PixelMemoryCapIsExact) {
    const QByteArray file = bmp::Build(Indexed("", 40, 8, 64, 64).file);
    EXPECT_EQ(Read(file, 64 * 64)->width, 64);
    EXPECT_THROW(Read(file, 64 * 64 - 1), EInvalidGraphic);
    // Row padding counts: 61 pixels of 8 bits take 64 bytes a row.
    const QByteArray padded = bmp::Build(Indexed("", 40, 8, 61, 64).file);
    EXPECT_THROW(Read(padded, 61 * 64), EInvalidGraphic);
}

TEST(BmpReader, CopiesShareThePixelHolder) {
    const TBitmapImagePtr image = Read(Valid8());
    const TBitmapImagePtr copy = image;
    EXPECT_EQ(copy.get(), image.get());
    EXPECT_EQ(image.use_count(), 2);
}

}  // namespace
