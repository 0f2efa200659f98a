// Decoding a 12-megapixel colour JPEG through the picture code against a plain
// libjpeg decode with the same settings, in the same run. The counter "ratio"
// is picture code time / plain time; the target is at most 1.05.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "picture/jpeg_image.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

void Fail(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    std::fprintf(stderr, "bench_jpeg_decode: %s\n", message);
    std::abort();
}

// A photo-like picture: gradients with fine noise, 4:2:0, quality 90.
QByteArray EncodeLargeJpeg() {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    err.error_exit = Fail;
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = kWidth;
    c.image_height = kHeight;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t{kWidth} * 3);
    std::uint32_t noise = 12345;
    while (c.next_scanline < c.image_height) {
        const int y = static_cast<int>(c.next_scanline);
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = static_cast<int>(noise >> 28);
            row[3 * x] = static_cast<JSAMPLE>((x * 255 / kWidth + n) & 0xFF);
            row[3 * x + 1] = static_cast<JSAMPLE>((y * 255 / kHeight + n) & 0xFF);
            row[3 * x + 2] = static_cast<JSAMPLE>(((x + y) / 16 * 7 + n) & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return bytes;
}

// libjpeg alone: memory source, float IDCT, block smoothing, fancy upsampling,
// BGR rows into a freshly allocated bitmap-sized buffer, one row per call.
std::size_t PlainDecode(const QByteArray& jpeg) {
    jpeg_decompress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    err.error_exit = Fail;
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, reinterpret_cast<const unsigned char*>(jpeg.constData()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&c, TRUE);
    c.dct_method = JDCT_FLOAT;
    c.do_block_smoothing = TRUE;
    c.do_fancy_upsampling = TRUE;
    c.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&c);
    const std::size_t stride = (std::size_t{c.output_width} * 3 + 3) / 4 * 4;
    std::vector<JSAMPLE> pixels(stride * c.output_height);
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = pixels.data() + stride * c.output_scanline;
        jpeg_read_scanlines(&c, &row, 1);
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    return pixels.size();
}

std::size_t PictureDecode(const TJPEGImage& loaded) {
    const std::unique_ptr<TGraphic> image = loaded.Clone();  // shares the bytes, not yet decoded
    return image->PixelsForDrawing()->pixels.size();
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_JpegDecodeRatio(benchmark::State& state) {
    const QByteArray jpeg = EncodeLargeJpeg();
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    TJPEGImage loaded;
    loaded.LoadFromStream(buffer);
    double pictureSeconds = 0;
    double plainSeconds = 0;
    bool pictureFirst = true;
    for (auto _ : state) {
        // Alternate the order so that neither side always runs with a warm cache.
        for (int turn = 0; turn < 2; ++turn) {
            const auto start = std::chrono::steady_clock::now();
            if (pictureFirst == (turn == 0)) {
                benchmark::DoNotOptimize(PictureDecode(loaded));
                pictureSeconds += Seconds(std::chrono::steady_clock::now() - start);
            } else {
                benchmark::DoNotOptimize(PlainDecode(jpeg));
                plainSeconds += Seconds(std::chrono::steady_clock::now() - start);
            }
        }
        pictureFirst = !pictureFirst;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["ratio"] = pictureSeconds / plainSeconds;
    state.counters["picture_ms"] = 1000 * pictureSeconds / runs;
    state.counters["plain_ms"] = 1000 * plainSeconds / runs;
    state.counters["megapixels"] = kWidth * kHeight / 1e6;
}

BENCHMARK(BM_JpegDecodeRatio)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
