#include "tests/support/bmp_fixtures.h"

#include <QFile>
#include <algorithm>

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

QByteArray EncodeRle8(const std::vector<std::uint32_t>& indices, int width, int height) {
    QByteArray out;
    for (int y = height - 1; y >= 0; --y) {
        EncodeRow(
            indices.data() + static_cast<std::size_t>(y) * width, width,
            [&](int n, std::uint32_t v) {
                out.append(char(n));
                out.append(char(v));
            },
            [&](const std::uint32_t* p, int n) {
                out.append('\0');
                out.append(char(n));
                for (int i = 0; i < n; ++i)
                    out.append(char(p[i]));
                if (n & 1)
                    out.append('\0');
            });
        out.append(QByteArray("\0\0", 2));
    }
    out.append(QByteArray("\0\1", 2));
    return out;
}

QByteArray EncodeRle4(const std::vector<std::uint32_t>& indices, int width, int height) {
    QByteArray out;
    for (int y = height - 1; y >= 0; --y) {
        EncodeRow(
            indices.data() + static_cast<std::size_t>(y) * width, width,
            [&](int n, std::uint32_t v) {
                out.append(char(n));
                out.append(char((v << 4) | v));
            },
            [&](const std::uint32_t* p, int n) {
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
        out.append(QByteArray("\0\0", 2));
    }
    out.append(QByteArray("\0\1", 2));
    return out;
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

}  // namespace bmp
