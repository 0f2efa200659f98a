#include "picture/bmp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <optional>

#include "toolkit/exceptions.h"

namespace {

constexpr std::uint32_t kNoCompression = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

constexpr int kFileHeaderSize = 14;
constexpr int kCoreHeaderSize = 12;
constexpr int kInfoHeaderSize = 40;
constexpr int kOs2InfoHeaderSize = 64;
constexpr std::uint32_t kMaxColours = 256;

[[noreturn]] void FailRead() {
    throw EReadError(QStringLiteral("ストリームからの読み込みエラー"));
}

[[noreturn]] void FailInvalid() {
    throw EInvalidGraphic(QStringLiteral("ビットマップイメージが不正です"));
}

[[noreturn]] void FailOutOfMemory() {
    throw EOSError(QStringLiteral("システムエラー。コード：%1.\r\n%2")
                       .arg(ENOMEM)
                       .arg(QString::fromLocal8Bit(std::strerror(ENOMEM))));
}

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

std::int32_t S32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(U32(p));
}

// The file as a sequence of bytes counted from its first byte, whatever kind of
// device carries it.
class FileSource {
public:
    // The length of a sequential device (a pipe) is not known before its end.
    static constexpr std::uint64_t kUnknownLength = std::numeric_limits<std::uint64_t>::max();

    explicit FileSource(QIODevice& stream)
        : stream_(stream), start_(stream.isSequential() ? 0 : stream.pos()) {
        length_ = stream.isSequential() ? kUnknownLength
                                        : static_cast<std::uint64_t>(std::max<qint64>(stream.size() - start_, 0));
    }

    std::uint64_t Length() const { return length_; }
    std::uint64_t Offset() const { return offset_; }
    std::uint64_t Remaining() const { return length_ - std::min(offset_, length_); }

    // Reads up to count bytes; returns how many arrived.
    std::uint64_t ReadSome(void* target, std::uint64_t count) {
        auto* out = static_cast<char*>(target);
        std::uint64_t total = 0;
        while (total < count) {
            const qint64 got = stream_.read(out + total, static_cast<qint64>(count - total));
            if (got <= 0)
                break;
            total += static_cast<std::uint64_t>(got);
        }
        offset_ += total;
        return total;
    }

    void ReadExactly(void* target, std::uint64_t count) {
        if (ReadSome(target, count) != count)
            FailRead();
    }

    // Moves forward to offset (never backward).
    void SkipTo(std::uint64_t offset) {
        if (offset <= offset_)
            return;
        if (!stream_.isSequential() && stream_.seek(start_ + static_cast<qint64>(offset))) {
            offset_ = offset;
            return;
        }
        std::array<char, 4096> scrap;
        while (offset_ < offset) {
            if (ReadSome(scrap.data(), std::min<std::uint64_t>(scrap.size(), offset - offset_)) == 0)
                break;
        }
    }

private:
    QIODevice& stream_;
    qint64 start_;
    std::uint64_t length_ = 0;
    std::uint64_t offset_ = 0;
};

// The fields of the bitmap header that matter, whichever header form the file uses.
struct BitmapHeader {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top row first
    std::uint32_t planes = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue
    bool masksInHeader = false;

    bool IsCore() const { return size == kCoreHeaderSize; }
    bool IsRle() const { return compression == kRle8 || compression == kRle4; }
};

bool IsAcceptedHeaderSize(std::uint32_t size) {
    switch (size) {
    case kCoreHeaderSize:
    case kInfoHeaderSize:
    case 52:
    case 56:
    case kOs2InfoHeaderSize:
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

BitmapHeader ReadHeader(FileSource& file) {
    std::array<std::uint8_t, 124> raw{};
    file.ReadExactly(raw.data(), 4);
    BitmapHeader header;
    header.size = U32(raw.data());
    if (!IsAcceptedHeaderSize(header.size))
        FailInvalid();
    file.ReadExactly(raw.data() + 4, header.size - 4);
    const std::uint8_t* p = raw.data();
    if (header.IsCore()) {
        header.width = U16(p + 4);
        header.height = U16(p + 6);
        header.planes = U16(p + 8);
        header.bitsPerPixel = U16(p + 10);
        return header;
    }
    header.width = S32(p + 4);
    header.height = S32(p + 8);
    header.planes = U16(p + 12);
    header.bitsPerPixel = U16(p + 14);
    header.compression = U32(p + 16);
    header.imageSize = U32(p + 20);
    header.coloursUsed = U32(p + 32);
    // Windows headers beyond the basic one carry the channel masks; the OS/2
    // header of 64 bytes has other fields there.
    if (header.size > kInfoHeaderSize && header.size != kOs2InfoHeaderSize) {
        header.masks = {U32(p + 40), U32(p + 44), U32(p + 48)};
        header.masksInHeader = true;
    }
    return header;
}

bool IsDisplayableFormat(const BitmapHeader& h) {
    switch (h.bitsPerPixel) {
    case 1:
        return h.compression == kNoCompression;
    case 4:
        return h.compression == kNoCompression || h.compression == kRle4;
    case 8:
        return h.compression == kNoCompression || h.compression == kRle8;
    case 24:
        return h.compression == kNoCompression;
    case 16:
    case 32:
        // The OS/2 header's compression 3 means Huffman coding, not bit fields.
        return h.compression == kNoCompression ||
               (h.compression == kBitFields && h.size != kOs2InfoHeaderSize);
    default:
        return false;
    }
}

void CheckHeader(const BitmapHeader& h) {
    if (h.planes != 1)
        FailInvalid();
    if (!IsDisplayableFormat(h))
        FailInvalid();
    if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<std::int32_t>::min())
        FailInvalid();
    // Run-length data is always stored bottom row first.
    if (h.IsRle() && h.height < 0)
        FailInvalid();
    if (h.coloursUsed > kMaxColours)
        FailInvalid();
}

std::uint32_t ColourCount(const BitmapHeader& h) {
    if (h.coloursUsed != 0)
        return h.coloursUsed;
    return h.bitsPerPixel <= 8 ? 1u << h.bitsPerPixel : 0;
}

std::vector<QRgb> ReadColourTable(FileSource& file, const BitmapHeader& h) {
    const std::uint32_t count = ColourCount(h);
    const std::uint32_t entrySize = h.IsCore() ? 3 : 4;
    std::vector<std::uint8_t> raw(std::size_t{count} * entrySize);
    file.ReadExactly(raw.data(), raw.size());
    std::vector<QRgb> palette(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = raw.data() + std::size_t{i} * entrySize;
        palette[i] = qRgb(e[2], e[1], e[0]);
    }
    return palette;
}

// A mask that does not fit the pixel is cut to its bits; a mask whose bits do
// not form one run cannot be shown and is refused. All three masks zero is
// read as the default layout, which is what such files mean; a single zero
// mask gives a channel that stays 0.
std::optional<std::array<std::uint32_t, 3>> ChooseMasks(const BitmapHeader& h) {
    const std::uint32_t pixelBits =
        h.bitsPerPixel == 16 ? 0xFFFFu : std::numeric_limits<std::uint32_t>::max();
    std::array<std::uint32_t, 3> masks{};
    for (std::size_t i = 0; i < masks.size(); ++i) {
        masks[i] = h.masks[i] & pixelBits;
        const std::uint32_t run = masks[i] >> std::countr_zero(masks[i] | 0x80000000u);
        if ((run & (run + 1)) != 0)
            FailInvalid();
    }
    if (masks == std::array<std::uint32_t, 3>{})
        return std::nullopt;
    return masks;
}

// Where the pixel data begins: at the file header's offset when that lies at or
// after the end of the colour table and inside the file (files may leave a gap
// there), else right after the colour table.
std::uint64_t PixelDataStart(std::uint32_t fileOffset, const FileSource& file) {
    const std::uint64_t tableEnd = file.Offset();
    if (fileOffset >= tableEnd && fileOffset < file.Length())
        return fileOffset;
    return tableEnd;
}

void AllocatePixels(TBitmapImage& image, const BitmapHeader& h, std::uint64_t maxBytes) {
    const std::uint64_t width = static_cast<std::uint64_t>(h.width);
    const std::uint64_t height = static_cast<std::uint64_t>(h.height < 0 ? -h.height : h.height);
    const std::uint64_t rowSize = (width * h.bitsPerPixel + 31) / 32 * 4;
    if (rowSize * height > maxBytes)
        FailInvalid();
    try {
        image.Allocate(static_cast<int>(width), static_cast<int>(height),
                       static_cast<int>(h.bitsPerPixel), h.height > 0);
    } catch (const std::bad_alloc&) {
        FailOutOfMemory();
    }
}

// Bytes of pixel data the file offers from the current position.
std::uint64_t PixelDataLength(const BitmapHeader& h, const TBitmapImage& image, const FileSource& file) {
    const std::uint64_t declared = h.imageSize != 0 ? h.imageSize : image.pixels.size();
    return std::min(declared, file.Remaining());
}

// Pulls the compressed bytes from the file a block at a time.
class ByteFeed {
public:
    ByteFeed(FileSource& file, std::uint64_t length) : file_(file), left_(length) {}

    bool Next(std::uint8_t& byte) {
        if (pos_ == end_ && !Refill())
            return false;
        byte = buffer_[pos_++];
        return true;
    }

private:
    bool Refill() {
        if (left_ == 0)
            return false;
        end_ = static_cast<std::size_t>(file_.ReadSome(buffer_.data(), std::min<std::uint64_t>(left_, buffer_.size())));
        pos_ = 0;
        left_ = end_ == 0 ? 0 : left_ - end_;
        return end_ != 0;
    }

    FileSource& file_;
    std::uint64_t left_;
    std::array<std::uint8_t, 65536> buffer_{};
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

// Decodes 8- or 4-bit run-length data into the bottom-up rows of image. Pixels
// beyond the right edge or above the top row are dropped; rows and pixels the
// data never reaches stay 0.
class RleDecoder {
public:
    RleDecoder(TBitmapImage& image, ByteFeed& feed)
        : image_(image), feed_(feed), nibbles_(image.bitsPerPixel == 4) {}

    void Run() {
        std::uint8_t count = 0;
        std::uint8_t value = 0;
        while (y_ < image_.height && feed_.Next(count) && feed_.Next(value)) {
            if (count != 0)
                FillRun(count, value);
            else if (!Escape(value))
                return;
        }
    }

private:
    // Returns false at the end of the bitmap or of the data.
    bool Escape(std::uint8_t code) {
        switch (code) {
        case 0:  // end of line
            x_ = 0;
            ++y_;
            return true;
        case 1:  // end of bitmap
            return false;
        case 2: {  // delta
            std::uint8_t dx = 0;
            std::uint8_t dy = 0;
            if (!feed_.Next(dx) || !feed_.Next(dy))
                return false;
            x_ = std::min(x_ + dx, image_.width);
            y_ += dy;
            return true;
        }
        default:
            return CopyAbsolute(code);
        }
    }

    void FillRun(int count, std::uint8_t value) {
        const int end = std::min(x_ + count, image_.width);
        for (int i = 0; x_ < end; ++i)
            Put(nibbles_ ? ((i & 1) ? value & 0x0F : value >> 4) : value);
    }

    bool CopyAbsolute(int count) {
        const int bytes = nibbles_ ? (count + 1) / 2 : count;
        std::uint8_t byte = 0;
        for (int i = 0; i < count; ++i) {
            if (!nibbles_ || (i & 1) == 0) {
                if (!feed_.Next(byte))
                    return false;
            }
            const std::uint8_t value = nibbles_ ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte;
            if (x_ < image_.width)
                Put(value);
        }
        // Absolute runs are padded to a 16-bit boundary.
        if (bytes & 1)
            return feed_.Next(byte);
        return true;
    }

    void Put(std::uint8_t value) {
        std::uint8_t* row = image_.pixels.data() + image_.stride * static_cast<std::size_t>(y_);
        if (nibbles_) {
            std::uint8_t& b = row[x_ >> 1];
            b = (x_ & 1) ? static_cast<std::uint8_t>((b & 0xF0) | value)
                         : static_cast<std::uint8_t>((b & 0x0F) | (value << 4));
        } else {
            row[x_] = value;
        }
        ++x_;
    }

    TBitmapImage& image_;
    ByteFeed& feed_;
    const bool nibbles_;
    int x_ = 0;
    int y_ = 0;  // counted from the bottom row
};

}  // namespace

TBitmapImagePtr ReadWindowsBitmap(QIODevice& stream) {
    return ReadWindowsBitmap(stream, kMaxBitmapBytes);
}

TBitmapImagePtr ReadWindowsBitmap(QIODevice& stream, std::uint64_t maxPixelBytes) {
    FileSource file(stream);
    auto image = std::make_shared<TBitmapImage>();
    std::array<std::uint8_t, kFileHeaderSize> fileHeader{};
    const std::uint64_t got = file.Length() == 0 ? 0 : file.ReadSome(fileHeader.data(), fileHeader.size());
    if (got == 0)
        return image;
    if (got != fileHeader.size())
        FailRead();
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M')
        FailInvalid();
    const std::uint32_t pixelOffset = U32(fileHeader.data() + 10);

    BitmapHeader header = ReadHeader(file);
    CheckHeader(header);
    if (header.compression == kBitFields && !header.masksInHeader) {
        std::array<std::uint8_t, 12> raw{};
        file.ReadExactly(raw.data(), raw.size());
        header.masks = {U32(raw.data()), U32(raw.data() + 4), U32(raw.data() + 8)};
    }
    const auto masks = header.compression == kBitFields ? ChooseMasks(header) : std::nullopt;
    std::vector<QRgb> palette = ReadColourTable(file, header);
    file.SkipTo(PixelDataStart(pixelOffset, file));

    AllocatePixels(*image, header, std::min(maxPixelBytes, kMaxBitmapBytes));
    image->palette = std::move(palette);
    if (masks) {
        image->redMask = (*masks)[0];
        image->greenMask = (*masks)[1];
        image->blueMask = (*masks)[2];
    }

    const std::uint64_t length = PixelDataLength(header, *image, file);
    if (header.IsRle()) {
        ByteFeed feed(file, length);
        RleDecoder(*image, feed).Run();
    } else {
        file.ReadSome(image->pixels.data(), std::min<std::uint64_t>(length, image->pixels.size()));
    }
    return image;
}
