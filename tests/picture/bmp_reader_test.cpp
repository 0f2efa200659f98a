#include <gtest/gtest.h>

#include <QBuffer>
#include <bit>
#include <functional>

#include "picture/bmp_reader.h"
#include "tests/support/bmp_fixtures.h"
#include "toolkit/exceptions.h"

namespace {

using Masks = std::array<std::uint32_t, 3>;

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
std::uint32_t Widen(std::uint32_t v, int n) {
    if (n == 0)
        return 0;
    if (n >= 8)
        return v >> (n - 8);
    std::uint32_t out = 0;
    for (int i = 0; i < 8; ++i)
        out = (out << 1) | ((v >> (n - 1 - i % n)) & 1);
    return out;
}

std::uint32_t Hash(int x, int y, int k) {
    return (static_cast<std::uint32_t>(x * 131 + y * 71 + k * 29 + 7) * 2654435761u) >> 7;
}

std::vector<QRgb> TestPalette(int count) {
    std::vector<QRgb> p;
    for (int i = 0; i < count; ++i)
        p.push_back(qRgb((i * 53 + 17) & 0xFF, (255 - i * 29) & 0xFF, (i * 101) & 0xFF));
    return p;
}

std::vector<std::uint32_t> Grid(int w, int h, const std::function<std::uint32_t(int, int)>& f) {
    std::vector<std::uint32_t> v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            v.push_back(f(x, y));
    return v;
}

std::vector<QRgb> Lookup(const std::vector<std::uint32_t>& indices, const std::vector<QRgb>& palette) {
    std::vector<QRgb> out;
    for (std::uint32_t i : indices)
        out.push_back(palette[i] | 0xFF000000u);
    return out;
}

struct Accepted {
    std::string name;
    bmp::File file;
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<QRgb> expected;  // top row first
};

Accepted IndexCase(std::string name, std::uint32_t headerSize, int bits, int w, int h, bool topDown = false,
                   int colours = 0) {
    const int count = colours ? colours : 1 << bits;
    const auto palette = TestPalette(count);
    const auto indices = Grid(w, h, [&](int x, int y) { return Hash(x, y, 0) % count; });
    bmp::File f;
    f.headerSize = headerSize;
    f.width = w;
    f.height = topDown ? -h : h;
    f.bitsPerPixel = static_cast<std::uint16_t>(bits);
    f.palette = palette;
    f.pixelData = bmp::PackRows(indices, w, h, bits, topDown);
    return {std::move(name), f, w, h, bits, Lookup(indices, palette)};
}

// A 16- or 32-bit case whose pixels are written through masks and read back
// through effective (the masks the reader must apply).
Accepted MaskCase(std::string name, std::uint32_t headerSize, int bits, std::optional<Masks> fileMasks,
                  Masks effective, bool topDown = false) {
    const int w = 5, h = 3;
    std::vector<std::uint32_t> values;
    std::vector<QRgb> expected;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t value = 0;
            std::uint32_t rgb[3];
            for (int k = 0; k < 3; ++k) {
                const std::uint32_t m = effective[k];
                const int n = std::popcount(m);
                const std::uint32_t top = n ? (n >= 32 ? ~0u : (1u << n) - 1) : 0;
                // Full scale and zero appear at the first two pixels.
                std::uint32_t c = (x == 0 && y == 0) ? top : (x == 1 && y == 0) ? 0 : Hash(x, y, k) & top;
                value |= n ? c << std::countr_zero(m) : 0;
                rgb[k] = Widen(c, n);
            }
            values.push_back(value);
            expected.push_back(qRgb(rgb[0], rgb[1], rgb[2]));
        }
    }
    bmp::File f;
    f.headerSize = headerSize;
    f.width = w;
    f.height = topDown ? -h : h;
    f.bitsPerPixel = static_cast<std::uint16_t>(bits);
    f.compression = fileMasks ? bmp::kBitFields : bmp::kRgb;
    f.masks = fileMasks;
    f.pixelData = bmp::PackRows(values, w, h, bits, topDown);
    return {std::move(name), f, w, h, bits, expected};
}

Accepted TrueColourCase(std::string name, std::uint32_t headerSize, bool topDown = false) {
    const int w = 5, h = 3;
    const auto values = Grid(w, h, [](int x, int y) { return Hash(x, y, 3) & 0xFFFFFF; });
    std::vector<QRgb> expected;
    for (std::uint32_t v : values)
        expected.push_back(v | 0xFF000000u);
    bmp::File f;
    f.headerSize = headerSize;
    f.width = w;
    f.height = topDown ? -h : h;
    f.bitsPerPixel = 24;
    f.pixelData = bmp::PackRows(values, w, h, 24, topDown);
    return {std::move(name), f, w, h, 24, expected};
}

Accepted RleCase(std::string name, int bits, int w, int h, const std::vector<std::uint32_t>& indices) {
    const auto palette = TestPalette(1 << bits);
    bmp::File f;
    f.width = w;
    f.height = h;
    f.bitsPerPixel = static_cast<std::uint16_t>(bits);
    f.compression = bits == 8 ? bmp::kRle8 : bmp::kRle4;
    f.palette = palette;
    f.pixelData = bits == 8 ? bmp::EncodeRle8(indices, w, h) : bmp::EncodeRle4(indices, w, h);
    return {std::move(name), f, w, h, bits, Lookup(indices, palette)};
}

// Hand-written run-length data; expected index rows are given top row first.
Accepted RawRleCase(std::string name, int bits, int w, int h, QByteArray data, std::vector<std::uint32_t> indices) {
    Accepted c = RleCase(std::move(name), bits, w, h, indices);
    c.file.pixelData = std::move(data);
    return c;
}

QByteArray Bytes(std::initializer_list<int> bytes) {
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

std::vector<Accepted> AcceptedCases() {
    const Masks k555{0x7C00, 0x03E0, 0x001F};
    const Masks k565{0xF800, 0x07E0, 0x001F};
    const Masks k888{0xFF0000, 0xFF00, 0xFF};
    std::vector<Accepted> cases = {
        IndexCase("Core1", 12, 1, 11, 3),
        IndexCase("Core4", 12, 4, 5, 3),
        IndexCase("Core8", 12, 8, 5, 3),
        TrueColourCase("Core24", 12),
        IndexCase("Info1", 40, 1, 37, 4),
        IndexCase("Info4", 40, 4, 7, 3),
        IndexCase("Info8", 40, 8, 5, 3),
        IndexCase("Info8ShortTable", 40, 8, 5, 3, false, 20),
        IndexCase("Info4FiveColours", 40, 4, 5, 3, false, 5),
        IndexCase("Info1TopDown", 40, 1, 9, 3, true),
        IndexCase("Info8TopDown", 40, 8, 5, 3, true),
        IndexCase("Os2Info8", 64, 8, 5, 3),
        IndexCase("V5Info8", 124, 8, 5, 3),
        TrueColourCase("Info24", 40),
        TrueColourCase("Info24TopDown", 40, true),
        TrueColourCase("V4Info24", 108),
        TrueColourCase("V5Info24", 124),
        TrueColourCase("Os2Info24", 64),
        MaskCase("Info16Default", 40, 16, std::nullopt, k555),
        MaskCase("Info16DefaultTopDown", 40, 16, std::nullopt, k555, true),
        MaskCase("Info16BitFields565", 40, 16, k565, k565),
        MaskCase("Info16BitFields444", 40, 16, Masks{0x0F00, 0x00F0, 0x000F}, Masks{0x0F00, 0x00F0, 0x000F}),
        MaskCase("Info16BitFieldsOneBit", 40, 16, Masks{0x8000, 0x4000, 0x0001}, Masks{0x8000, 0x4000, 0x0001}),
        MaskCase("Info16BitFieldsTopDown", 40, 16, k565, k565, true),
        MaskCase("Adobe52BitFields565", 52, 16, k565, k565),
        MaskCase("Adobe56BitFields565", 56, 16, k565, k565),
        MaskCase("V4BitFields565", 108, 16, k565, k565),
        MaskCase("V5BitFields565", 124, 16, k565, k565),
        MaskCase("V5Default16IgnoresHeaderMasks", 124, 16, std::nullopt, k555),
        MaskCase("Info16AllMasksZeroMeansDefault", 40, 16, Masks{0, 0, 0}, k555),
        MaskCase("Info16OneMaskZero", 40, 16, Masks{0xF800, 0, 0x001F}, Masks{0xF800, 0, 0x001F}),
        MaskCase("Info16MaskBeyondPixelCut", 40, 16, Masks{0xFFFF8000, 0x03E0, 0x001F}, Masks{0x8000, 0x03E0, 0x001F}),
        MaskCase("Info32Default", 40, 32, std::nullopt, k888),
        MaskCase("Info32DefaultTopDown", 40, 32, std::nullopt, k888, true),
        MaskCase("Info32BitFieldsSwapped", 40, 32, Masks{0xFF, 0xFF00, 0xFF0000}, Masks{0xFF, 0xFF00, 0xFF0000}),
        MaskCase("Info32BitFields101010", 40, 32, Masks{0x3FF00000, 0xFFC00, 0x3FF}, Masks{0x3FF00000, 0xFFC00, 0x3FF}),
        MaskCase("Info32BitFields111110", 40, 32, Masks{0xFFE00000, 0x1FFC00, 0x3FF}, Masks{0xFFE00000, 0x1FFC00, 0x3FF}),
        MaskCase("Info32BitFieldsSixteenBitRed", 40, 32, Masks{0xFFFF0000, 0xFF00, 0xFF}, Masks{0xFFFF0000, 0xFF00, 0xFF}),
        MaskCase("V5BitFields32", 124, 32, Masks{0xFF000000, 0xFF0000, 0xFF00}, Masks{0xFF000000, 0xFF0000, 0xFF00}),
        MaskCase("V5BitFields32TopDown", 124, 32, k888, k888, true),
        RleCase("Rle8", 8, 13, 4, Grid(13, 4, [](int x, int y) { return x < 4 ? y * 9 : (x < 9 ? Hash(x, y, 1) & 0xFF : 200); })),
        RleCase("Rle4", 4, 13, 4, Grid(13, 4, [](int x, int y) { return x < 5 ? y : (x < 10 ? Hash(x, y, 1) & 0xF : 15); })),
        // Delta, end of line, end of bitmap.
        RawRleCase("Rle8Escapes", 8, 4, 3,
                   Bytes({2, 5, 0, 2, 1, 1, 1, 7, 0, 0, 4, 9, 0, 1}),
                   {9, 9, 9, 9, 0, 0, 0, 7, 5, 5, 0, 0}),
        // A run past the right edge is clipped, not carried into the next row.
        RawRleCase("Rle8RunClippedAtRowEnd", 8, 3, 2,
                   Bytes({5, 4, 0, 0, 1, 6, 0, 1}),
                   {6, 0, 0, 4, 4, 4}),
        RawRleCase("Rle8AbsoluteClippedAtRowEnd", 8, 3, 2,
                   Bytes({0, 4, 1, 2, 3, 4, 0, 0, 1, 6, 0, 1}),
                   {6, 0, 0, 1, 2, 3}),
        // Rows above the top and deltas out of the picture are dropped.
        RawRleCase("Rle8RowsPastTopDropped", 8, 2, 2,
                   Bytes({2, 1, 0, 0, 2, 2, 0, 0, 2, 3, 0, 0, 2, 4, 0, 1}),
                   {2, 2, 1, 1}),
        RawRleCase("Rle8DeltaPastImage", 8, 2, 2,
                   Bytes({1, 1, 0, 2, 200, 200, 2, 3, 0, 1}),
                   {0, 0, 1, 0}),
        RawRleCase("Rle8OddAbsolutePadded", 8, 5, 1,
                   Bytes({0, 3, 1, 2, 3, 0, 2, 4, 0, 1}),
                   {1, 2, 3, 4, 4}),
        RawRleCase("Rle8CutShortInAbsoluteRun", 8, 4, 1,
                   Bytes({0, 4, 1, 2}),
                   {1, 2, 0, 0}),
        RawRleCase("Rle8NoEndOfBitmap", 8, 2, 2,
                   Bytes({2, 3}),
                   {0, 0, 3, 3}),
        RawRleCase("Rle4AlternatingRunAndAbsolute", 4, 5, 2,
                   Bytes({5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x77, 0, 1}),
                   {3, 4, 5, 7, 7, 1, 2, 1, 2, 1}),
        RawRleCase("Rle4OddAbsolutePadded", 4, 6, 1,
                   Bytes({0, 5, 0x12, 0x34, 0x50, 0, 1, 0x90, 0, 1}),
                   {1, 2, 3, 4, 5, 9}),
        RawRleCase("Rle4RunClippedAtRowEnd", 4, 3, 2,
                   Bytes({7, 0xAB, 0, 0, 1, 0xC0, 0, 1}),
                   {12, 0, 0, 10, 11, 10}),
        RawRleCase("Rle4Delta", 4, 4, 2,
                   Bytes({0, 2, 3, 1, 1, 0xEE, 0, 1}),
                   {0, 0, 0, 14, 0, 0, 0, 0}),
    };

    // A colour table on a true-colour file is read and kept; the pixels are unaffected.
    Accepted withTable = TrueColourCase("Info24WithColourTable", 40);
    withTable.file.palette = TestPalette(3);
    cases.push_back(withTable);

    // The pixel-data offset of the file header.
    Accepted gap = IndexCase("OffsetAfterGapHonoured", 40, 8, 5, 3);
    gap.file.gapAfterTable = 18;
    cases.push_back(gap);
    Accepted zero = IndexCase("OffsetZeroReadsAfterTable", 40, 8, 5, 3);
    zero.file.pixelOffset = 0;
    cases.push_back(zero);
    Accepted intoHeader = IndexCase("OffsetIntoHeaderReadsAfterTable", 40, 4, 5, 3);
    intoHeader.file.pixelOffset = 20;
    cases.push_back(intoHeader);
    Accepted intoTable = IndexCase("OffsetIntoTableReadsAfterTable", 40, 4, 5, 3);
    intoTable.file.pixelOffset = 14 + 40 + 8;
    cases.push_back(intoTable);
    Accepted pastEnd = TrueColourCase("OffsetPastEndReadsAfterTable", 40);
    pastEnd.file.pixelOffset = 100000;
    cases.push_back(pastEnd);
    Accepted rleGap = RleCase("Rle8OffsetAfterGapHonoured", 8, 6, 2, Grid(6, 2, [](int x, int) { return x; }));
    rleGap.file.gapAfterTable = 6;
    cases.push_back(rleGap);
    Accepted maskGap = MaskCase("BitFieldsOffsetAfterGapHonoured", 40, 16, k565, k565);
    maskGap.file.gapAfterTable = 2;
    cases.push_back(maskGap);

    // An image size beyond the rows takes no more than the rows hold.
    Accepted bigSize = TrueColourCase("ImageSizeBeyondRows", 40);
    bigSize.file.imageSize = 100000;
    bigSize.file.pixelData.append(QByteArray(64, '\x77'));
    cases.push_back(bigSize);
    return cases;
}

void PrintTo(const Accepted& c, std::ostream* os) {
    *os << c.name;
}

class AcceptedVariant : public testing::TestWithParam<Accepted> {};

TEST_P(AcceptedVariant, ReadsSizeDepthAndPixels) {
    const Accepted& c = GetParam();
    const TBitmapImagePtr image = Read(bmp::Build(c.file));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    EXPECT_EQ(image->bitsPerPixel, c.bits);
    EXPECT_EQ(image->stride % 4, 0u);
    EXPECT_EQ(image->palette.size(), c.file.palette.size());
    EXPECT_EQ(Pixels(*image), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Variants, AcceptedVariant, testing::ValuesIn(AcceptedCases()),
                         [](const testing::TestParamInfo<Accepted>& info) { return info.param.name; });

enum class Kind { Read, Invalid, OS };

struct Refused {
    std::string name;
    QByteArray bytes;
    Kind kind;
};

const QString kReadMessage = QStringLiteral("ストリームからの読み込みエラー");
const QString kInvalidMessage = QStringLiteral("ビットマップイメージが不正です");

QByteArray Valid8() {
    return bmp::Build(IndexCase("", 40, 8, 5, 3).file);
}

QByteArray With(const std::function<void(bmp::File&)>& change, bmp::File f = IndexCase("", 40, 8, 5, 3).file) {
    change(f);
    return bmp::Build(f);
}

QByteArray MaskFile(Masks masks) {
    return With([&](bmp::File& f) { f.masks = masks; f.compression = bmp::kBitFields; },
                MaskCase("", 40, 16, Masks{0xF800, 0x07E0, 0x001F}, Masks{0xF800, 0x07E0, 0x001F}).file);
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
        {"EndsInCoreHeader", bmp::Build(IndexCase("", 12, 8, 5, 3).file).left(22), Kind::Read},
        {"EndsInColourMasks", maskCut, Kind::Read},
        {"EndsInColourTable", valid.left(tableStart + 1000), Kind::Read},
        {"EndsInCoreColourTable", bmp::Build(IndexCase("", 12, 8, 5, 3).file).left(26 + 700), Kind::Read},
        {"NotBM", With([](bmp::File& f) { f.magic = "MB"; }), Kind::Invalid},
        {"JpegData", jpeg, Kind::Invalid},
        {"PlanesTwo", With([](bmp::File& f) { f.planes = 2; }), Kind::Invalid},
        {"PlanesZero", With([](bmp::File& f) { f.planes = 0; }), Kind::Invalid},
        {"EmbeddedJpeg", With([](bmp::File& f) { f.compression = 4; }), Kind::Invalid},
        {"EmbeddedPng", With([](bmp::File& f) { f.compression = 5; }), Kind::Invalid},
        {"AlphaBitFields", With([](bmp::File& f) { f.compression = 6; }), Kind::Invalid},
        {"UnknownCompression", With([](bmp::File& f) { f.compression = 0x7FFFFFFF; }), Kind::Invalid},
        {"Rle8OnFourBits", With([](bmp::File& f) { f.compression = bmp::kRle8; }, IndexCase("", 40, 4, 5, 3).file), Kind::Invalid},
        {"Rle4OnEightBits", With([](bmp::File& f) { f.compression = bmp::kRle4; }), Kind::Invalid},
        {"BitFieldsOnEightBits", With([](bmp::File& f) { f.compression = bmp::kBitFields; }), Kind::Invalid},
        {"BitFieldsOn24Bits", With([](bmp::File& f) { f.compression = bmp::kBitFields; f.masks = Masks{0xFF0000, 0xFF00, 0xFF}; }, TrueColourCase("", 40).file), Kind::Invalid},
        {"Os2HuffmanCompression", With([](bmp::File& f) { f.compression = 3; }, MaskCase("", 64, 16, std::nullopt, Masks{}).file), Kind::Invalid},
        {"RleTopDown", With([](bmp::File& f) { f.height = -f.height; }, RleCase("", 8, 4, 2, Grid(4, 2, [](int, int) { return 1u; })).file), Kind::Invalid},
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
        {"HugeTrueColour", With([](bmp::File& f) { f.width = 60000; f.height = 60000; }, TrueColourCase("", 40).file).left(100), Kind::Invalid},
        {"HugeOneBit", With([](bmp::File& f) { f.width = 0x7FFFFFFF; f.height = 0x7FFFFFFF; }, IndexCase("", 40, 1, 5, 3).file).left(100), Kind::Invalid},
        {"HugeRle8", With([](bmp::File& f) { f.width = 40000; f.height = 40000; }, RleCase("", 8, 4, 2, Grid(4, 2, [](int, int) { return 1u; })).file).left(1100), Kind::Invalid},
        {"HugeTopDown32", With([](bmp::File& f) { f.width = 20000; f.height = -20000; }, MaskCase("", 40, 32, std::nullopt, Masks{}).file), Kind::Invalid},
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
    Accepted c = TrueColourCase("", 40);
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
    Accepted c = IndexCase("", 40, 8, 5, 3, true);
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
    Accepted c = TrueColourCase("", 40);
    c.file.imageSize = 16;
    const auto pixels = Pixels(*Read(bmp::Build(c.file)));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(pixels[x], qRgb(0, 0, 0));
        EXPECT_EQ(pixels[10 + x], c.expected[10 + x]);
    }
}

TEST(BmpReader, TopDownRowsAreShownUprightWithPositiveHeight) {
    Accepted c = TrueColourCase("", 40, true);
    const TBitmapImagePtr image = Read(bmp::Build(c.file));
    EXPECT_EQ(image->height, 3);
    EXPECT_FALSE(image->bottomUp);
    EXPECT_EQ(Pixels(*image), c.expected);
}

TEST(BmpReader, KeepsIndexedDepthAndTable) {
    Accepted c = IndexCase("", 40, 4, 5, 3, false, 5);
    const TBitmapImagePtr image = Read(bmp::Build(c.file));
    EXPECT_EQ(image->bitsPerPixel, 4);
    ASSERT_EQ(image->palette.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(image->palette[i] | 0xFF000000u, c.file.palette[i] | 0xFF000000u);
}

TEST(BmpReader, IndexBeyondTheTableIsBlack) {
    bmp::File f = IndexCase("", 40, 8, 2, 1, false, 2).file;
    f.pixelData = bmp::PackRows({1, 200}, 2, 1, 8);
    const auto pixels = Pixels(*Read(bmp::Build(f)));
    EXPECT_EQ(pixels[0], f.palette[1] | 0xFF000000u);
    EXPECT_EQ(pixels[1], qRgb(0, 0, 0));
}

TEST(BmpReader, ReadsFromTheStreamsCurrentPosition) {
    Accepted c = IndexCase("", 40, 8, 5, 3);
    c.file.gapAfterTable = 10;
    QBuffer buffer;
    buffer.setData(QByteArray("prefix") + bmp::Build(c.file));
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    EXPECT_EQ(Pixels(*ReadWindowsBitmap(buffer)), c.expected);
}

TEST(BmpReader, PixelMemoryCapIsExact) {
    const QByteArray file = bmp::Build(IndexCase("", 40, 8, 64, 64).file);
    EXPECT_EQ(Read(file, 64 * 64)->width, 64);
    EXPECT_THROW(Read(file, 64 * 64 - 1), EInvalidGraphic);
    // Row padding counts: 61 pixels of 8 bits take 64 bytes a row.
    const QByteArray padded = bmp::Build(IndexCase("", 40, 8, 61, 64).file);
    EXPECT_THROW(Read(padded, 61 * 64), EInvalidGraphic);
}

TEST(BmpReader, CopiesShareThePixelHolder) {
    const TBitmapImagePtr image = Read(Valid8());
    const TBitmapImagePtr copy = image;
    EXPECT_EQ(copy.get(), image.get());
    EXPECT_EQ(image.use_count(), 2);
}

}  // namespace
