// Fuzz target: any bytes as a bitmap file. Refusals are expected; crashes,
// hangs, leaks and undefined behaviour are not.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "picture/bmp_reader.h"
#include "toolkit/exceptions.h"

namespace {
// Keeps each input cheap; the full cap is checked by the tests.
constexpr std::uint64_t kFuzzPixelBytes = std::uint64_t{16} << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        const TBitmapImagePtr image = ReadWindowsBitmap(buffer, kFuzzPixelBytes);
        if (!image)
            std::abort();
        CheckAndSample(*image);
    } catch (const Exception&) {
    }
    return 0;
}
