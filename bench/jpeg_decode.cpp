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
#include "tests/support/jpeg_fixtures.h"

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
    const QByteArray jpeg = EncodePhotoJpeg(kWidth, kHeight, 90);
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
