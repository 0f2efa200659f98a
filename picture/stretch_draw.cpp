#include "picture/stretch_draw.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Walks the mapping of consecutive target indices without dividing at each
// step: the index is the quotient of a numerator that grows by 2 * source per
// target pixel over the denominator 2 * target.
class SourceStepper {
public:
    SourceStepper(int first, int source, int target)
        : denominator_(2 * static_cast<std::uint64_t>(target)),
          stepQuotient_(2 * static_cast<std::uint64_t>(source) / denominator_),
          stepRemainder_(2 * static_cast<std::uint64_t>(source) % denominator_) {
        const auto s = static_cast<std::uint64_t>(source);
        const auto d = static_cast<std::uint64_t>(target);
        const auto t = static_cast<std::uint64_t>(first);
        const std::uint64_t numerator = target >= source ? (2 * t + 1) * s - 1 : 2 * t * s + d;
        quotient_ = numerator / denominator_;
        remainder_ = numerator % denominator_;
    }

    int Current() const { return static_cast<int>(quotient_); }

    void Next() {
        quotient_ += stepQuotient_;
        remainder_ += stepRemainder_;
        if (remainder_ >= denominator_) {
            remainder_ -= denominator_;
            ++quotient_;
        }
    }

private:
    std::uint64_t denominator_;
    std::uint64_t stepQuotient_;
    std::uint64_t stepRemainder_;
    std::uint64_t quotient_ = 0;
    std::uint64_t remainder_ = 0;
};

}  // namespace

int StretchSourceIndex(int t, int source, int target) {
    return SourceStepper(t, source, target).Current();
}

std::vector<int> StretchSourceMap(int first, int count, int source, int target) {
    std::vector<int> map(static_cast<std::size_t>(std::max(count, 0)));
    SourceStepper step(first, source, target);
    for (int& index : map) {
        index = step.Current();
        step.Next();
    }
    return map;
}

namespace {

// What one target row needs to be filled from one source row, prepared once
// per drawing so that the inner loops do nothing but fetch and store.
struct RowPlan {
    const TBitmapImage* image = nullptr;
    std::vector<int> columns;             // source column per target column (palette, masks)
    std::vector<std::uint32_t> offsets;   // or the byte offset of that column (24 and 32 bits)
    int wordSafe = 0;                     // leading columns that may be fetched as 4 bytes
    std::array<QRgb, 256> palette{};      // palette with alpha set, black beyond its end
    // Fills one target row from source row `row`, prefetching the row `next`
    // that comes after it: fetching source rows far apart is what this waits on.
    void (*fill)(const RowPlan&, const std::uint8_t* row, const std::uint8_t* next, QRgb* out) = nullptr;
    int sourceRowOf = -1;                 // the source row index, for the general path
    int count = 0;                        // target columns
};

constexpr int kPrefetchEvery = 8;  // target pixels between prefetches of the next row

inline std::uint32_t Load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Fill24(const RowPlan& plan, const std::uint8_t* row, const std::uint8_t* next, QRgb* out) {
    const std::uint32_t* offsets = plan.offsets.data();
    const int count = static_cast<int>(plan.offsets.size());
    if (count > 0 && count < kPrefetchEvery)
        __builtin_prefetch(next + offsets[0]);  // the loop below would not
    int i = 0;
    // Blue, green, red in memory: one little-endian word gives 0x??RRGGBB.
    for (; i + kPrefetchEvery <= plan.wordSafe; i += kPrefetchEvery) {
        __builtin_prefetch(next + offsets[i]);
        for (int k = i; k < i + kPrefetchEvery; ++k)
            out[k] = Load32(row + offsets[k]) | 0xFF000000u;
    }
    for (; i < plan.wordSafe; ++i)
        out[i] = Load32(row + offsets[i]) | 0xFF000000u;
    for (; i < count; ++i) {
        const std::uint8_t* p = row + offsets[i];
        out[i] = qRgb(p[2], p[1], p[0]);
    }
}

void Fill32(const RowPlan& plan, const std::uint8_t* row, const std::uint8_t* next, QRgb* out) {
    const std::uint32_t* offsets = plan.offsets.data();
    const int count = static_cast<int>(plan.offsets.size());
    int i = 0;
    for (; i + kPrefetchEvery <= count; i += kPrefetchEvery) {
        __builtin_prefetch(next + offsets[i]);
        for (int k = i; k < i + kPrefetchEvery; ++k)
            out[k] = Load32(row + offsets[k]) | 0xFF000000u;
    }
    for (; i < count; ++i)
        out[i] = Load32(row + offsets[i]) | 0xFF000000u;
}

void Fill8(const RowPlan& plan, const std::uint8_t* row, const std::uint8_t* next, QRgb* out) {
    const int* columns = plan.columns.data();
    const int count = static_cast<int>(plan.columns.size());
    int i = 0;
    for (; i + kPrefetchEvery <= count; i += kPrefetchEvery) {
        __builtin_prefetch(next + columns[i]);
        for (int k = i; k < i + kPrefetchEvery; ++k)
            out[k] = plan.palette[row[columns[k]]];
    }
    for (; i < count; ++i)
        out[i] = plan.palette[row[columns[i]]];
}

void Fill4(const RowPlan& plan, const std::uint8_t* row, const std::uint8_t*, QRgb* out) {
    const int* columns = plan.columns.data();
    const int count = static_cast<int>(plan.columns.size());
    for (int i = 0; i < count; ++i) {
        const int x = columns[i];
        out[i] = plan.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
    }
}

// One source pixel per target pixel here too: a reduction may drop black lines.
void Fill1(const RowPlan& plan, const std::uint8_t* row, const std::uint8_t*, QRgb* out) {
    const int* columns = plan.columns.data();
    const int count = static_cast<int>(plan.columns.size());
    for (int i = 0; i < count; ++i) {
        const int x = columns[i];
        out[i] = plan.palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
    }
}

// Masked 16 and 32 bits: rare enough for the general converter.
void FillMasked(const RowPlan& plan, const std::uint8_t*, const std::uint8_t*, QRgb* out) {
    SampleRow(*plan.image, plan.sourceRowOf, plan.columns.data(), static_cast<int>(plan.columns.size()), out);
}

bool HasPlainMasks(const TBitmapImage& image) {
    return image.redMask == 0xFF0000u && image.greenMask == 0x00FF00u && image.blueMask == 0x0000FFu;
}

void PreparePalette(const TBitmapImage& image, RowPlan& plan) {
    for (std::size_t i = 0; i < plan.palette.size(); ++i)
        plan.palette[i] = i < image.palette.size() ? (image.palette[i] | 0xFF000000u) : qRgb(0, 0, 0);
}

// Byte offsets of the source columns, straight from the mapping.
void PrepareOffsets(RowPlan& plan, int firstColumn, int count, int width, int bytesPerPixel) {
    plan.offsets.resize(static_cast<std::size_t>(count));
    SourceStepper step(firstColumn, plan.image->width, width);
    const int last = plan.image->width - 1;
    plan.wordSafe = count;
    for (int i = 0; i < count; ++i, step.Next()) {
        const int column = step.Current();
        plan.offsets[static_cast<std::size_t>(i)] =
            static_cast<std::uint32_t>(column) * static_cast<std::uint32_t>(bytesPerPixel);
        // A 4-byte fetch of a 24-bit pixel reads one byte past it, which only
        // the last column of a row may not own; the columns ascend, so those
        // come last.
        if (column == last && plan.wordSafe == count)
            plan.wordSafe = i;
    }
}

RowPlan MakePlan(const TBitmapImage& image, int width, int firstColumn, int count) {
    RowPlan plan;
    plan.image = &image;
    plan.count = count;
    if (image.bitsPerPixel == 24 || (image.bitsPerPixel == 32 && HasPlainMasks(image))) {
        PrepareOffsets(plan, firstColumn, count, width, image.bitsPerPixel / 8);
        plan.fill = image.bitsPerPixel == 24 ? Fill24 : Fill32;
        return plan;
    }
    plan.columns = StretchSourceMap(firstColumn, count, image.width, width);
    switch (image.bitsPerPixel) {
    case 8:
    case 4:
    case 1:
        PreparePalette(image, plan);
        plan.fill = image.bitsPerPixel == 8 ? Fill8 : image.bitsPerPixel == 4 ? Fill4 : Fill1;
        break;
    default:
        plan.fill = FillMasked;
    }
    return plan;
}

// Fills rows [firstRow, firstRow + rows) of the scaled picture into the lines
// of 32-bit pixels at `lines`, whose first is firstRow. A target row showing the same source row as the
// one above is copied instead of fetched again.
void FillRows(RowPlan& plan, int height, int firstRow, int rows, std::uint8_t* lines, qsizetype lineBytes) {
    const TBitmapImage& image = *plan.image;
    const std::size_t rowBytes = static_cast<std::size_t>(plan.count) * sizeof(QRgb);
    // Narrow parts spend a row's time on little more than its first fetch, so
    // they prefetch further ahead.
    const int ahead = std::clamp(512 / std::max(1, plan.count), 1, 8);
    const bool enlarging = height >= image.height;
    SourceStepper step(firstRow, image.height, height);
    SourceStepper prefetch(std::min(firstRow + ahead, height - 1), image.height, height);
    int previousSource = -1;
    for (int y = 0; y < rows; ++y) {
        const int source = step.Current();
        step.Next();
        const int later = enlarging ? source + ahead : prefetch.Current();
        prefetch.Next();
        auto* line = reinterpret_cast<QRgb*>(lines + y * lineBytes);
        if (source == previousSource) {
            std::memcpy(line, lines + (y - 1) * lineBytes, rowBytes);
            continue;
        }
        plan.sourceRowOf = source;
        plan.fill(plan, image.Row(source), image.Row(std::min(later, image.height - 1)), line);
        previousSource = source;
    }
}

// Also refuses a holder whose rows would not fit its pixel memory, or whose
// rows are too long for 32-bit byte offsets.
bool CanDraw(const TBitmapImage& image, QSize size) {
    return !image.IsEmpty() && size.width() > 0 && size.height() > 0 && image.stride > 0 &&
           image.stride <= std::numeric_limits<std::uint32_t>::max() &&
           image.stride >= TBitmapImage::RowSize(image.width, image.bitsPerPixel) &&
           image.pixels.size() / image.stride >= static_cast<std::size_t>(image.height);
}

}  // namespace

QImage StretchPart(const TBitmapImage& image, QSize size, const QRect& area) {
    const QRect part = area.intersected(QRect(QPoint(0, 0), size));
    if (part.isEmpty() || !CanDraw(image, size))
        return {};
    QImage out(part.size(), QImage::Format_RGB32);
    if (out.isNull())
        return {};
    RowPlan plan = MakePlan(image, size.width(), part.x(), part.width());
    FillRows(plan, size.height(), part.y(), part.height(), out.bits(), out.bytesPerLine());
    return out;
}

namespace {

// The painter's own image, when pixels may be written into it directly: a
// 32-bit raster image reached through a whole-pixel offset only, drawn on
// opaquely, with no clip of the painter's own. Null otherwise.
QImage* DirectTarget(QPainter& painter, QPoint& offset) {
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || painter.hasClipping() || painter.opacity() != 1.0)
        return nullptr;
    const QPainter::CompositionMode mode = painter.compositionMode();
    if (mode != QPainter::CompositionMode_SourceOver && mode != QPainter::CompositionMode_Source)
        return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto* target = static_cast<QImage*>(device);
    const QImage::Format format = target->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate || std::abs(transform.dx()) > 1e9 || std::abs(transform.dy()) > 1e9)
        return nullptr;
    offset = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    if (offset.x() != transform.dx() || offset.y() != transform.dy())
        return nullptr;
    return target;
}

// Writes the visible part straight into the target's pixels, within the
// region the engine may paint (a widget's repainted area) and the image.
void DrawInto(QImage& target, QPaintEngine& engine, QPoint offset, const QRect& dest, const TBitmapImage& image,
              const QRect& visible) {
    QRegion region = QRegion(visible.translated(offset)) & target.rect();
    if (!engine.systemClip().isEmpty())
        region &= engine.systemClip();
    // Not bits(): that would detach a shared image from its other users.
    auto* pixels = const_cast<std::uint8_t*>(target.constBits());
    const qsizetype lineBytes = target.bytesPerLine();
    for (const QRect& part : region) {
        const QPoint origin = part.topLeft() - offset - dest.topLeft();  // within the scaled picture
        RowPlan plan = MakePlan(image, dest.width(), origin.x(), part.width());
        std::uint8_t* first = pixels + part.y() * lineBytes + qsizetype{part.x()} * 4;
        FillRows(plan, dest.height(), origin.y(), part.height(), first, lineBytes);
    }
}

// Fills bands of rows small enough to stay in cache, each drawn as an image.
void DrawThroughBands(QPainter& painter, const QRect& dest, const TBitmapImage& image, const QRect& visible) {
    const QPoint origin = visible.topLeft() - dest.topLeft();  // within the scaled picture
    RowPlan plan = MakePlan(image, dest.width(), origin.x(), visible.width());
    constexpr int kBandBytes = 64 * 1024;
    const auto fitting = static_cast<int>(kBandBytes / (std::int64_t{visible.width()} * 4));
    const int bandRows = std::clamp(fitting, 1, visible.height());
    QImage band(visible.width(), bandRows, QImage::Format_RGB32);
    if (band.isNull())
        return;
    for (int y = 0; y < visible.height(); y += bandRows) {
        const int rows = std::min(bandRows, visible.height() - y);
        FillRows(plan, dest.height(), origin.y() + y, rows, band.bits(), band.bytesPerLine());
        painter.drawImage(QPoint(visible.x(), visible.y() + y), band, QRect(0, 0, visible.width(), rows));
    }
}

}  // namespace

void StretchDraw(QPainter& painter, const QRect& dest, const TBitmapImage& image, const QRect& clip) {
    const QRect visible = dest.intersected(clip);
    if (visible.isEmpty() || !CanDraw(image, dest.size()))
        return;
    QPoint offset;
    if (QImage* target = DirectTarget(painter, offset))
        DrawInto(*target, *painter.paintEngine(), offset, dest, image, visible);
    else
        DrawThroughBands(painter, dest, image, visible);
}
