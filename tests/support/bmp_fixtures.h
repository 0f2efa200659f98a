#pragma once
// A small writer of Windows bitmap files of every variant, for tests and fuzz
// seeds. Depends on Qt Core/Gui only.

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace bmp {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

// Everything a bitmap file says, field by field; the defaults give a valid file
// once width, height, depth and pixel data are set.
struct File {
    std::uint32_t headerSize = 40;     // 12, 40, 52, 56, 64, 108, 124 or anything else
    std::int32_t width = 0;
    std::int32_t height = 0;           // negative: rows stored top row first
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = kRgb;
    std::vector<QRgb> palette;         // colour table as written (3-byte entries for header 12)
    std::optional<std::uint32_t> coloursUsed;  // default: palette size, or 0 when it is the depth's full table
    std::optional<std::array<std::uint32_t, 3>> masks;  // red, green, blue; after a 40-byte header or inside longer ones
    std::optional<std::uint32_t> imageSize;    // default: pixelData size for compressed data, else 0
    std::uint32_t gapAfterTable = 0;   // filler bytes between colour table and pixel data
    std::optional<std::uint32_t> pixelOffset;  // default: where the pixel data really starts
    QByteArray magic = "BM";
    QByteArray pixelData;              // as stored in the file
};

QByteArray Build(const File& file);

// Rows of pixel values (top row first, width values per row: palette indices,
// or raw 16/24/32-bit pixel values) packed and padded as a file stores them.
QByteArray PackRows(const std::vector<std::uint32_t>& values, int width, int height, int bitsPerPixel,
                    bool topDown = false);

// Run-length encodings (bottom row first, end-of-line after each row, end of
// bitmap at the end) of the same kind of index rows, mixing encoded and
// absolute runs.
QByteArray EncodeRle8(const std::vector<std::uint32_t>& indices, int width, int height);
QByteArray EncodeRle4(const std::vector<std::uint32_t>& indices, int width, int height);

// A plain 24-bit file (bottom row first) of an image.
QByteArray Bmp24(const QImage& image);
// A plain 8-bit file with the given palette and index rows (top row first).
QByteArray Bmp8(int width, int height, const std::vector<QRgb>& palette, const std::vector<std::uint32_t>& indices);

// Writes bytes to path; returns false when the file could not be written.
bool WriteFile(const QString& path, const QByteArray& bytes);

}  // namespace bmp
