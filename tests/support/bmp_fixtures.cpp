#include "tests/support/bmp_fixtures.h"

#include <QFile>
#include <algorithm>
#include <bit>

namespace bmp {
namespace {

void Put16(QByteArray& out, std::uint32_t v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool HasFullDefaultTable(const File& f) {
    return f.bitsPerPixel <= 8 && f.palette.size() == (std::size_t{1} << f.bitsPerPixel);
}

QByteArray InfoHeader(const File& f, std::uint32_t coloursUsed, std::uint32_t imageSize) {
    QByteArray h;
    Put32(h, f.headerSize);
    if (f.headerSize == 12) {
        Put16(h, static_cast<std::uint32_t>(f.width));
        Put16(h, static_cast<std::uint32_t>(f.height));
        Put16(h, f.planes);
        Put16(h, f.bitsPerPixel);
        return h;
    }
    Put32(h, static_cast<std::uint32_t>(f.width));
    Put32(h, static_cast<std::uint32_t>(f.height));
    Put16(h, f.planes);
    Put16(h, f.bitsPerPixel);
    Put32(h, f.compression);
    Put32(h, imageSize);
    Put32(h, 2835);  // 72 dpi
    Put32(h, 2835);
    Put32(h, coloursUsed);
    Put32(h, 0);
    if (f.headerSize > 40 && f.headerSize != 64 && f.masks) {
        for (std::uint32_t m : *f.masks)
            Put32(h, m);
    }
    // An absurd header size is written as a field only, not as that many bytes.
    h.resize(static_cast<qsizetype>(std::min<std::uint32_t>(f.headerSize, 4096)), '\0');
    return h;
}

QByteArray ColourTable(const File& f) {
    QByteArray t;
    for (QRgb c : f.palette) {
        t.append(char(qBlue(c)));
        t.append(char(qGreen(c)));
        t.append(char(qRed(c)));
        if (f.headerSize != 12)
            t.append('\0');
    }
    return t;
}

// One row's worth of index runs: encoded runs of equal values, absolute runs
// for stretches of differing values.
template <typename EmitRun, typename EmitAbsolute>
void EncodeRow(const std::uint32_t* row, int width, EmitRun emitRun, EmitAbsolute emitAbsolute) {
    int i = 0;
    while (i < width) {
        int run = 1;
        while (i + run < width && run < 255 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            emitRun(run, row[i]);
            i += run;
            continue;
        }
        int n = 1;
        while (i + n < width && n < 255 && (i + n + 1 >= width || row[i + n] != row[i + n + 1]))
            ++n;
        if (n >= 3) {
            emitAbsolute(row + i, n);
            i += n;
        } else {
            emitRun(1, row[i]);
            ++i;
        }
    }
}


std::uint32_t Hash(int x, int y, int k) {
    return (static_cast<std::uint32_t>(x * 131 + y * 71 + k * 29 + 7) * 2654435761u) >> 7;
}

std::vector<QRgb> Lookup(const std::vector<std::uint32_t>& indices, const std::vector<QRgb>& palette) {
    std::vector<QRgb> out;
    for (std::uint32_t i : indices)
        out.push_back(palette[i] | 0xFF000000u);
    return out;
}

}  // namespace

QByteArray Build(const File& f) {
    const std::uint32_t coloursUsed =
        f.coloursUsed.value_or(HasFullDefaultTable(f) ? 0 : static_cast<std::uint32_t>(f.palette.size()));
    const bool compressed = f.compression == kRle8 || f.compression == kRle4;
    const std::uint32_t imageSize =
        f.imageSize.value_or(compressed ? static_cast<std::uint32_t>(f.pixelData.size()) : 0);

    QByteArray body = InfoHeader(f, coloursUsed, imageSize);
    if (f.headerSize == 40 && f.masks) {
        for (std::uint32_t m : *f.masks)
            Put32(body, m);
    }
    body += ColourTable(f);
    body.append(QByteArray(static_cast<qsizetype>(f.gapAfterTable), '\x5A'));
    const std::uint32_t offset = f.pixelOffset.value_or(static_cast<std::uint32_t>(14 + body.size()));
    body += f.pixelData;

    QByteArray out = f.magic.left(2);
    out.append(QByteArray(2 - out.size(), '\0'));
    Put32(out, static_cast<std::uint32_t>(14 + body.size()));
    Put32(out, 0);
    Put32(out, offset);
    return out + body;
}

QByteArray PackRows(const std::vector<std::uint32_t>& values, int width, int height, int bpp, bool topDown) {
    const int stride = (width * bpp + 31) / 32 * 4;
    QByteArray out(static_cast<qsizetype>(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        auto* row = reinterpret_cast<std::uint8_t*>(out.data()) + static_cast<std::size_t>(stride) * fileRow;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = values[static_cast<std::size_t>(y) * width + x];
            switch (bpp) {
            case 1:
                row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= static_cast<std::uint8_t>((v & 0x0F) << (x % 2 ? 0 : 4));
                break;
            default:
                for (int b = 0; b < bpp / 8; ++b)
                    row[x * (bpp / 8) + b] = static_cast<std::uint8_t>(v >> (8 * b));
            }
        }
    }
    return out;
}

namespace {

// Rows bottom-up, each ended by an end-of-line escape, the whole by an
// end-of-bitmap escape; the emitters pack runs and absolute stretches into out.
template <typename EmitRun, typename EmitAbsolute>
QByteArray EncodeRle(const std::vector<std::uint32_t>& indices, int width, int height, EmitRun emitRun,
                     EmitAbsolute emitAbsolute) {
    QByteArray out;
    for (int y = height - 1; y >= 0; --y) {
        EncodeRow(
            indices.data() + static_cast<std::size_t>(y) * width, width,
            [&](int n, std::uint32_t v) { emitRun(out, n, v); },
            [&](const std::uint32_t* p, int n) { emitAbsolute(out, p, n); });
        out.append(QByteArray("\0\0", 2));
    }
    out.append(QByteArray("\0\1", 2));
    return out;
}

}  // namespace

QByteArray EncodeRle8(const std::vector<std::uint32_t>& indices, int width, int height) {
    return EncodeRle(
        indices, width, height,
        [](QByteArray& out, int n, std::uint32_t v) {
            out.append(char(n));
            out.append(char(v));
        },
        [](QByteArray& out, const std::uint32_t* p, int n) {
            out.append('\0');
            out.append(char(n));
            for (int i = 0; i < n; ++i)
                out.append(char(p[i]));
            if (n & 1)
                out.append('\0');
        });
}

QByteArray EncodeRle4(const std::vector<std::uint32_t>& indices, int width, int height) {
    return EncodeRle(
        indices, width, height,
        [](QByteArray& out, int n, std::uint32_t v) {
            out.append(char(n));
            out.append(char((v << 4) | v));
        },
        [](QByteArray& out, const std::uint32_t* p, int n) {
            out.append('\0');
            out.append(char(n));
            const int bytes = (n + 1) / 2;
            for (int i = 0; i < bytes; ++i) {
                const std::uint32_t hi = p[2 * i];
                const std::uint32_t lo = 2 * i + 1 < n ? p[2 * i + 1] : 0;
                out.append(char((hi << 4) | lo));
            }
            if (bytes & 1)
                out.append('\0');
        });
}

QByteArray Bmp24(const QImage& image) {
    std::vector<std::uint32_t> values;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            values.push_back(image.pixel(x, y) & 0xFFFFFFu);
    File f;
    f.width = image.width();
    f.height = image.height();
    f.bitsPerPixel = 24;
    f.pixelData = PackRows(values, image.width(), image.height(), 24);
    return Build(f);
}

QByteArray Bmp8(int width, int height, const std::vector<QRgb>& palette, const std::vector<std::uint32_t>& indices) {
    File f;
    f.width = width;
    f.height = height;
    f.bitsPerPixel = 8;
    f.palette = palette;
    f.pixelData = PackRows(indices, width, height, 8);
    return Build(f);
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

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

QByteArray Bytes(std::initializer_list<int> bytes) {
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

Variant Indexed(std::string name, std::uint32_t headerSize, int bits, int w, int h, bool topDown,
                int colours) {
    const int count = colours ? colours : 1 << bits;
    const auto palette = TestPalette(count);
    const auto indices = Grid(w, h, [&](int x, int y) { return Hash(x, y, 0) % count; });
    File f;
    f.headerSize = headerSize;
    f.width = w;
    f.height = topDown ? -h : h;
    f.bitsPerPixel = static_cast<std::uint16_t>(bits);
    f.palette = palette;
    f.pixelData = PackRows(indices, w, h, bits, topDown);
    return {std::move(name), f, w, h, bits, Lookup(indices, palette)};
}

// A 16- or 32-bit case whose pixels are written through masks and read back
// through effective (the masks the reader must apply).
Variant BitFields(std::string name, std::uint32_t headerSize, int bits, std::optional<Masks> fileMasks,
                  Masks effective, bool topDown) {
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
    File f;
    f.headerSize = headerSize;
    f.width = w;
    f.height = topDown ? -h : h;
    f.bitsPerPixel = static_cast<std::uint16_t>(bits);
    f.compression = fileMasks ? kBitFields : kRgb;
    f.masks = fileMasks;
    f.pixelData = PackRows(values, w, h, bits, topDown);
    return {std::move(name), f, w, h, bits, expected};
}

Variant TrueColour(std::string name, std::uint32_t headerSize, bool topDown) {
    const int w = 5, h = 3;
    const auto values = Grid(w, h, [](int x, int y) { return Hash(x, y, 3) & 0xFFFFFF; });
    std::vector<QRgb> expected;
    for (std::uint32_t v : values)
        expected.push_back(v | 0xFF000000u);
    File f;
    f.headerSize = headerSize;
    f.width = w;
    f.height = topDown ? -h : h;
    f.bitsPerPixel = 24;
    f.pixelData = PackRows(values, w, h, 24, topDown);
    return {std::move(name), f, w, h, 24, expected};
}

Variant Rle(std::string name, int bits, int w, int h, const std::vector<std::uint32_t>& indices) {
    const auto palette = TestPalette(1 << bits);
    File f;
    f.width = w;
    f.height = h;
    f.bitsPerPixel = static_cast<std::uint16_t>(bits);
    f.compression = bits == 8 ? kRle8 : kRle4;
    f.palette = palette;
    f.pixelData = bits == 8 ? EncodeRle8(indices, w, h) : EncodeRle4(indices, w, h);
    return {std::move(name), f, w, h, bits, Lookup(indices, palette)};
}

// Hand-written run-length data; expected index rows are given top row first.
Variant RawRle(std::string name, int bits, int w, int h, QByteArray data, std::vector<std::uint32_t> indices) {
    Variant c = Rle(std::move(name), bits, w, h, indices);
    c.file.pixelData = std::move(data);
    return c;
}


std::vector<Variant> AcceptedVariants() {
    const Masks k555{0x7C00, 0x03E0, 0x001F};
    const Masks k565{0xF800, 0x07E0, 0x001F};
    const Masks k888{0xFF0000, 0xFF00, 0xFF};
    std::vector<Variant> cases = {
        Indexed("Core1", 12, 1, 11, 3),
        Indexed("Core4", 12, 4, 5, 3),
        Indexed("Core8", 12, 8, 5, 3),
        TrueColour("Core24", 12),
        Indexed("Info1", 40, 1, 37, 4),
        Indexed("Info4", 40, 4, 7, 3),
        Indexed("Info8", 40, 8, 5, 3),
        Indexed("Info8ShortTable", 40, 8, 5, 3, false, 20),
        Indexed("Info4FiveColours", 40, 4, 5, 3, false, 5),
        Indexed("Info1TopDown", 40, 1, 9, 3, true),
        Indexed("Info8TopDown", 40, 8, 5, 3, true),
        Indexed("Os2Info8", 64, 8, 5, 3),
        Indexed("V5Info8", 124, 8, 5, 3),
        TrueColour("Info24", 40),
        TrueColour("Info24TopDown", 40, true),
        TrueColour("V4Info24", 108),
        TrueColour("V5Info24", 124),
        TrueColour("Os2Info24", 64),
        BitFields("Info16Default", 40, 16, std::nullopt, k555),
        BitFields("Info16DefaultTopDown", 40, 16, std::nullopt, k555, true),
        BitFields("Info16BitFields565", 40, 16, k565, k565),
        BitFields("Info16BitFields444", 40, 16, Masks{0x0F00, 0x00F0, 0x000F}, Masks{0x0F00, 0x00F0, 0x000F}),
        BitFields("Info16BitFieldsOneBit", 40, 16, Masks{0x8000, 0x4000, 0x0001}, Masks{0x8000, 0x4000, 0x0001}),
        BitFields("Info16BitFieldsTopDown", 40, 16, k565, k565, true),
        BitFields("Adobe52BitFields565", 52, 16, k565, k565),
        BitFields("Adobe56BitFields565", 56, 16, k565, k565),
        BitFields("V4BitFields565", 108, 16, k565, k565),
        BitFields("V5BitFields565", 124, 16, k565, k565),
        BitFields("V5Default16IgnoresHeaderMasks", 124, 16, std::nullopt, k555),
        BitFields("Info16AllMasksZeroMeansDefault", 40, 16, Masks{0, 0, 0}, k555),
        BitFields("Info16OneMaskZero", 40, 16, Masks{0xF800, 0, 0x001F}, Masks{0xF800, 0, 0x001F}),
        BitFields("Info16MaskBeyondPixelCut", 40, 16, Masks{0xFFFF8000, 0x03E0, 0x001F}, Masks{0x8000, 0x03E0, 0x001F}),
        BitFields("Info32Default", 40, 32, std::nullopt, k888),
        BitFields("Info32DefaultTopDown", 40, 32, std::nullopt, k888, true),
        BitFields("Info32BitFieldsSwapped", 40, 32, Masks{0xFF, 0xFF00, 0xFF0000}, Masks{0xFF, 0xFF00, 0xFF0000}),
        BitFields("Info32BitFields101010", 40, 32, Masks{0x3FF00000, 0xFFC00, 0x3FF}, Masks{0x3FF00000, 0xFFC00, 0x3FF}),
        BitFields("Info32BitFields111110", 40, 32, Masks{0xFFE00000, 0x1FFC00, 0x3FF}, Masks{0xFFE00000, 0x1FFC00, 0x3FF}),
        BitFields("Info32BitFieldsSixteenBitRed", 40, 32, Masks{0xFFFF0000, 0xFF00, 0xFF}, Masks{0xFFFF0000, 0xFF00, 0xFF}),
        BitFields("V5BitFields32", 124, 32, Masks{0xFF000000, 0xFF0000, 0xFF00}, Masks{0xFF000000, 0xFF0000, 0xFF00}),
        BitFields("V5BitFields32TopDown", 124, 32, k888, k888, true),
        Rle("Rle8", 8, 13, 4, Grid(13, 4, [](int x, int y) { return x < 4 ? y * 9 : (x < 9 ? Hash(x, y, 1) & 0xFF : 200); })),
        Rle("Rle4", 4, 13, 4, Grid(13, 4, [](int x, int y) { return x < 5 ? y : (x < 10 ? Hash(x, y, 1) & 0xF : 15); })),
        // Delta, end of line, end of bitmap.
        RawRle("Rle8Escapes", 8, 4, 3,
                   Bytes({2, 5, 0, 2, 1, 1, 1, 7, 0, 0, 4, 9, 0, 1}),
                   {9, 9, 9, 9, 0, 0, 0, 7, 5, 5, 0, 0}),
        // A run past the right edge is clipped, not carried into the next row.
        RawRle("Rle8RunClippedAtRowEnd", 8, 3, 2,
                   Bytes({5, 4, 0, 0, 1, 6, 0, 1}),
                   {6, 0, 0, 4, 4, 4}),
        RawRle("Rle8AbsoluteClippedAtRowEnd", 8, 3, 2,
                   Bytes({0, 4, 1, 2, 3, 4, 0, 0, 1, 6, 0, 1}),
                   {6, 0, 0, 1, 2, 3}),
        // Rows above the top and deltas out of the picture are dropped.
        RawRle("Rle8RowsPastTopDropped", 8, 2, 2,
                   Bytes({2, 1, 0, 0, 2, 2, 0, 0, 2, 3, 0, 0, 2, 4, 0, 1}),
                   {2, 2, 1, 1}),
        RawRle("Rle8DeltaPastImage", 8, 2, 2,
                   Bytes({1, 1, 0, 2, 200, 200, 2, 3, 0, 1}),
                   {0, 0, 1, 0}),
        RawRle("Rle8OddAbsolutePadded", 8, 5, 1,
                   Bytes({0, 3, 1, 2, 3, 0, 2, 4, 0, 1}),
                   {1, 2, 3, 4, 4}),
        RawRle("Rle8CutShortInAbsoluteRun", 8, 4, 1,
                   Bytes({0, 4, 1, 2}),
                   {1, 2, 0, 0}),
        RawRle("Rle8NoEndOfBitmap", 8, 2, 2,
                   Bytes({2, 3}),
                   {0, 0, 3, 3}),
        RawRle("Rle4AlternatingRunAndAbsolute", 4, 5, 2,
                   Bytes({5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x77, 0, 1}),
                   {3, 4, 5, 7, 7, 1, 2, 1, 2, 1}),
        RawRle("Rle4OddAbsolutePadded", 4, 6, 1,
                   Bytes({0, 5, 0x12, 0x34, 0x50, 0, 1, 0x90, 0, 1}),
                   {1, 2, 3, 4, 5, 9}),
        RawRle("Rle4RunClippedAtRowEnd", 4, 3, 2,
                   Bytes({7, 0xAB, 0, 0, 1, 0xC0, 0, 1}),
                   {12, 0, 0, 10, 11, 10}),
        RawRle("Rle4Delta", 4, 4, 2,
                   Bytes({0, 2, 3, 1, 1, 0xEE, 0, 1}),
                   {0, 0, 0, 14, 0, 0, 0, 0}),
    };

    // A colour table on a true-colour file is read and kept; the pixels are unaffected.
    Variant withTable = TrueColour("Info24WithColourTable", 40);
    withTable.file.palette = TestPalette(3);
    cases.push_back(withTable);

    // The pixel-data offset of the file header.
    Variant gap = Indexed("OffsetAfterGapHonoured", 40, 8, 5, 3);
    gap.file.gapAfterTable = 18;
    cases.push_back(gap);
    Variant zero = Indexed("OffsetZeroReadsAfterTable", 40, 8, 5, 3);
    zero.file.pixelOffset = 0;
    cases.push_back(zero);
    Variant intoHeader = Indexed("OffsetIntoHeaderReadsAfterTable", 40, 4, 5, 3);
    intoHeader.file.pixelOffset = 20;
    cases.push_back(intoHeader);
    Variant intoTable = Indexed("OffsetIntoTableReadsAfterTable", 40, 4, 5, 3);
    intoTable.file.pixelOffset = 14 + 40 + 8;
    cases.push_back(intoTable);
    Variant pastEnd = TrueColour("OffsetPastEndReadsAfterTable", 40);
    pastEnd.file.pixelOffset = 100000;
    cases.push_back(pastEnd);
    Variant rleGap = Rle("Rle8OffsetAfterGapHonoured", 8, 6, 2, Grid(6, 2, [](int x, int) { return x; }));
    rleGap.file.gapAfterTable = 6;
    cases.push_back(rleGap);
    Variant maskGap = BitFields("BitFieldsOffsetAfterGapHonoured", 40, 16, k565, k565);
    maskGap.file.gapAfterTable = 2;
    cases.push_back(maskGap);

    // An image size beyond the rows takes no more than the rows hold.
    Variant bigSize = TrueColour("ImageSizeBeyondRows", 40);
    bigSize.file.imageSize = 100000;
    bigSize.file.pixelData.append(QByteArray(64, '\x77'));
    cases.push_back(bigSize);
    return cases;
}

}  // namespace bmp
