#include "picture/bitmap_data.h"

#include <algorithm>
#include <bit>
#include <numeric>

void TBitmapImage::Allocate(int w, int h, int bpp, bool rowsBottomUp) {
    width = w;
    height = h;
    bitsPerPixel = bpp;
    bottomUp = rowsBottomUp;
    stride = RowSize(w, bpp);
    pixels.assign(stride * static_cast<std::size_t>(h), 0);
    if (bpp == 16) {
        redMask = 0x7C00;
        greenMask = 0x03E0;
        blueMask = 0x001F;
    } else if (bpp == 32) {
        redMask = 0xFF0000;
        greenMask = 0x00FF00;
        blueMask = 0x0000FF;
    }
}

namespace {

// Extracts one channel by its mask and widens it to 8 bits by repeating its bits,
// so that a full-scale value of any width becomes 255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }

    std::uint32_t operator()(std::uint32_t pixel) const {
        if (bits == 0)
            return 0;
        std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        std::uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            out = (out << bits) | v;
            filled += bits;
        }
        return out >> (filled - 8);
    }
};

QRgb PaletteEntry(const TBitmapImage& image, unsigned index) {
    return index < image.palette.size() ? (image.palette[index] | 0xFF000000u) : qRgb(0, 0, 0);
}

}  // namespace

void SampleRow(const TBitmapImage& image, int y, const int* xs, int count, QRgb* out) {
    const std::uint8_t* row = image.Row(y);
    switch (image.bitsPerPixel) {
    case 1:
        for (int i = 0; i < count; ++i) {
            const int x = xs[i];
            out[i] = PaletteEntry(image, (row[x >> 3] >> (7 - (x & 7))) & 1);
        }
        break;
    case 4:
        for (int i = 0; i < count; ++i) {
            const int x = xs[i];
            out[i] = PaletteEntry(image, (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
        }
        break;
    case 8:
        for (int i = 0; i < count; ++i)
            out[i] = PaletteEntry(image, row[xs[i]]);
        break;
    case 16: {
        const Channel r(image.redMask), g(image.greenMask), b(image.blueMask);
        for (int i = 0; i < count; ++i) {
            const std::uint8_t* p = row + 2 * static_cast<std::size_t>(xs[i]);
            const std::uint32_t v = p[0] | (p[1] << 8);
            out[i] = qRgb(r(v), g(v), b(v));
        }
        break;
    }
    case 24:
        for (int i = 0; i < count; ++i) {
            const std::uint8_t* p = row + 3 * static_cast<std::size_t>(xs[i]);
            out[i] = qRgb(p[2], p[1], p[0]);
        }
        break;
    case 32: {
        const Channel r(image.redMask), g(image.greenMask), b(image.blueMask);
        for (int i = 0; i < count; ++i) {
            const std::uint8_t* p = row + 4 * static_cast<std::size_t>(xs[i]);
            const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
            out[i] = qRgb(r(v), g(v), b(v));
        }
        break;
    }
    default:
        std::fill(out, out + count, qRgb(0, 0, 0));
    }
}

QImage ToQImage(const TBitmapImage& image) {
    if (image.IsEmpty())
        return {};
    QImage result(image.width, image.height, QImage::Format_RGB32);
    if (result.isNull())  // too big for one image in memory
        return {};
    // Columns in blocks, so a very wide picture needs no column table of its width.
    constexpr int kBlock = 4096;
    std::vector<int> xs(static_cast<std::size_t>(std::min(image.width, kBlock)));
    for (int x0 = 0; x0 < image.width; x0 += kBlock) {
        const int count = std::min(kBlock, image.width - x0);
        std::iota(xs.begin(), xs.begin() + count, x0);
        for (int y = 0; y < image.height; ++y)
            SampleRow(image, y, xs.data(), count, reinterpret_cast<QRgb*>(result.scanLine(y)) + x0);
    }
    return result;
}
