#pragma once
// The pixel holder of a bitmap: pixel rows kept in the file's own format
// (1, 4, 8, 16, 24 or 32 bits per pixel), shared by every copy of the bitmap.

#include <QImage>
#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// No bitmap, read from a file or decoded from a JPEG, may need more pixel memory
// than this: a small hostile file claiming a huge size is refused before any
// allocation.
inline constexpr std::uint64_t kMaxBitmapBytes = std::uint64_t{1} << 30;  // 1 GiB

struct TBitmapImage {
    int width = 0;
    int height = 0;            // always positive, whatever the row order
    int bitsPerPixel = 0;      // 1, 4, 8, 16, 24 or 32
    std::size_t stride = 0;    // bytes per row, a multiple of 4
    bool bottomUp = true;      // rows stored bottom row first, as in a file with positive height
    std::vector<QRgb> palette; // colour table, at most 256 entries, alpha ignored
    // Channel masks for 16 and 32 bits per pixel; each a contiguous run of bits.
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    std::vector<std::uint8_t> pixels;  // stride * height bytes

    // Allocates zeroed rows for the given size and depth, with the default masks
    // (5-5-5 for 16 bits, 8-8-8 for 32 bits).
    void Allocate(int width, int height, int bitsPerPixel, bool bottomUp);

    // Row y counted from the top of the picture.
    const std::uint8_t* Row(int y) const {
        return pixels.data() + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
    }
    std::uint8_t* Row(int y) {
        return pixels.data() + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
    }

    bool IsEmpty() const { return width <= 0 || height <= 0; }

    static std::size_t RowSize(int width, int bitsPerPixel) {
        return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
    }
};

using TBitmapImagePtr = std::shared_ptr<const TBitmapImage>;

// Converts the pixels at columns xs[0..count) of row y (from the top) to RGB.
// Palette indices beyond the colour table give black.
void SampleRow(const TBitmapImage& image, int y, const int* xs, int count, QRgb* out);

// The whole picture as a 32-bit RGB image (alpha ignored, palettes expanded).
QImage ToQImage(const TBitmapImage& image);
