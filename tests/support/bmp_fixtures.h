#pragma once
// A small writer of Windows bitmap files of every variant, for tests and fuzz
// seeds. Depends on Qt Core/Gui only.

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <optional>
#include <ostream>
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

// ---- A catalogue of accepted variants with the pixels they must show ----

using Masks = std::array<std::uint32_t, 3>;

struct Variant {
    std::string name;
    File file;
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<QRgb> expected;  // top row first
};

// Test output names a variant by its name.
inline void PrintTo(const Variant& variant, std::ostream* os) {
    *os << variant.name;
}

// An n-bit channel value widened to 8 bits by repeating its bit pattern.
std::uint32_t Widen(std::uint32_t value, int bits);
// A colour table of count distinct colours.
std::vector<QRgb> TestPalette(int count);
// Values f(x, y), top row first.
std::vector<std::uint32_t> Grid(int width, int height, const std::function<std::uint32_t(int, int)>& f);
QByteArray Bytes(std::initializer_list<int> bytes);

// Palette pixels of the given depth, with the depth's full table or colours entries.
Variant Indexed(std::string name, std::uint32_t headerSize, int bits, int width, int height, bool topDown = false,
                int colours = 0);
// 16- or 32-bit pixels written through masks; effective are the masks a reader
// must apply (fileMasks absent: no compression, the default layout).
Variant BitFields(std::string name, std::uint32_t headerSize, int bits, std::optional<Masks> fileMasks,
                  Masks effective, bool topDown = false);
// 24-bit pixels.
Variant TrueColour(std::string name, std::uint32_t headerSize, bool topDown = false);
// Run-length coded index rows (8 or 4 bits), from the encoder above.
Variant Rle(std::string name, int bits, int width, int height, const std::vector<std::uint32_t>& indices);
// Hand-written run-length data and the index rows (top row first) it must give.
Variant RawRle(std::string name, int bits, int width, int height, QByteArray data, std::vector<std::uint32_t> indices);

// Every accepted variant: header forms, depths, masks, run-length escapes,
// row orders, pixel-data offsets.
std::vector<Variant> AcceptedVariants();

// Writes bytes to path; returns false when the file could not be written.
bool WriteFile(const QString& path, const QByteArray& bytes);

}  // namespace bmp
