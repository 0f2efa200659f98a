#include "tests/support/jpeg_fixtures.h"

#include <QFile>
#include <QProcess>
#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" {
#include <jpeglib.h>
}

namespace {

void AbortOnError(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    std::fprintf(stderr, "test JPEG encoder: %s\n", message);
    std::abort();
}

struct Cmyk {
    JSAMPLE c, m, y, k;
};

// Inverted CMYK (255 = no ink) as Adobe applications store it.
Cmyk ToInvertedCmyk(QRgb rgb) {
    const int r = qRed(rgb), g = qGreen(rgb), b = qBlue(rgb);
    const int max = std::max({r, g, b});
    if (max == 0)
        return {255, 255, 255, 0};
    const auto ink = [max](int v) { return static_cast<JSAMPLE>(255 - 255 * (max - v) / max); };
    return {ink(r), ink(g), ink(b), static_cast<JSAMPLE>(max)};
}

int Components(TestJpegColour colour) {
    switch (colour) {
    case TestJpegColour::Grey:
        return 1;
    case TestJpegColour::CmykAdobe:
    case TestJpegColour::YcckAdobe:
        return 4;
    case TestJpegColour::Unknown2:
        return 2;
    default:
        return 3;
    }
}

// Gradients and waves with grain from a running generator, so pixels must be
// asked for in order.
class PhotoPixels {
public:
    QRgb At(int x, int y, int width, int height) {
        seed_ = seed_ * 1103515245u + 12345u;
        const int grain = static_cast<int>((seed_ >> 16) % 17) - 8;
        const double wave = 40.0 * std::sin(x / 97.0) * std::cos(y / 61.0);
        const auto clamp = [](double v) { return static_cast<int>(v < 0 ? 0 : v > 255 ? 255 : v); };
        return qRgb(clamp(x * 200.0 / width + wave + grain + 20), clamp(y * 180.0 / height - wave + grain + 30),
                    clamp(128 + wave + grain));
    }

private:
    unsigned seed_ = 12345;
};

void FillRow(const TestJpegOptions& o, int y, PhotoPixels& photo, std::vector<JSAMPLE>& row) {
    const int n = Components(o.colour);
    for (int x = 0; x < o.width; ++x) {
        const QRgb p = o.photoLike ? photo.At(x, y, o.width, o.height) : TestPatternPixel(x, y, o.width, o.height);
        JSAMPLE* out = row.data() + std::size_t(x) * n;
        switch (o.colour) {
        case TestJpegColour::Grey:
            out[0] = static_cast<JSAMPLE>(qGray(p));
            break;
        case TestJpegColour::CmykAdobe:
        case TestJpegColour::YcckAdobe: {
            const Cmyk c = ToInvertedCmyk(p);
            out[0] = c.c, out[1] = c.m, out[2] = c.y, out[3] = c.k;
            break;
        }
        case TestJpegColour::Unknown2:
            for (int i = 0; i < n; ++i)
                out[i] = static_cast<JSAMPLE>((x * 3 + y * 5 + i * 40) & 0xFF);
            break;
        default:
            out[0] = static_cast<JSAMPLE>(qRed(p)), out[1] = static_cast<JSAMPLE>(qGreen(p));
            out[2] = static_cast<JSAMPLE>(qBlue(p));
        }
    }
}

void SetColourSpace(jpeg_compress_struct& c, TestJpegColour colour) {
    switch (colour) {
    case TestJpegColour::Grey:
        c.in_color_space = JCS_GRAYSCALE;
        break;
    case TestJpegColour::CmykAdobe:
    case TestJpegColour::YcckAdobe:
        c.in_color_space = JCS_CMYK;
        break;
    case TestJpegColour::Unknown2:
        c.in_color_space = JCS_UNKNOWN;
        break;
    default:
        c.in_color_space = JCS_RGB;
    }
    jpeg_set_defaults(&c);
    if (colour == TestJpegColour::CmykAdobe)
        jpeg_set_colorspace(&c, JCS_CMYK);
    if (colour == TestJpegColour::YcckAdobe)
        jpeg_set_colorspace(&c, JCS_YCCK);
}

// A valid progressive script with many scans: each AC coefficient of each
// component in a band of its own, sent in successive-approximation steps.
std::vector<jpeg_scan_info> ManyScans(int components, int wanted) {
    std::vector<jpeg_scan_info> scans;
    jpeg_scan_info dc{};
    dc.comps_in_scan = components;
    for (int i = 0; i < components; ++i)
        dc.component_index[i] = i;
    scans.push_back(dc);
    const int steps = std::max(1, std::min(10, wanted / (63 * components) + 1));
    for (int ci = 0; ci < components; ++ci)
        for (int k = 1; k <= 63; ++k)
            for (int step = 0; step < steps; ++step) {
                jpeg_scan_info ac{};
                ac.comps_in_scan = 1;
                ac.component_index[0] = ci;
                ac.Ss = ac.Se = k;
                ac.Ah = step == 0 ? 0 : steps - step;
                ac.Al = steps - 1 - step;
                scans.push_back(ac);
            }
    return scans;
}

}  // namespace

QRgb TestPatternPixel(int x, int y, int width, int height) {
    const int r = width > 1 ? x * 255 / (width - 1) : 128;
    const int g = height > 1 ? y * 255 / (height - 1) : 128;
    const int b = ((x / 8 + y / 8) % 2) ? 200 : 40;
    return qRgb(r, g, b);
}

QByteArray EncodeTestJpeg(const TestJpegOptions& o) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    err.error_exit = AbortOnError;
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(o.width);
    c.image_height = static_cast<JDIMENSION>(o.height);
    c.input_components = Components(o.colour);
    SetColourSpace(c, o.colour);
    jpeg_set_quality(&c, o.quality, TRUE);
    if (c.num_components > 1) {
        c.comp_info[0].h_samp_factor = o.lumaH;
        c.comp_info[0].v_samp_factor = o.lumaV;
        for (int i = 1; i < c.num_components; ++i)
            c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    }
    c.arith_code = o.arithmetic ? TRUE : FALSE;
    c.restart_interval = static_cast<unsigned>(o.restartInterval);
    std::vector<jpeg_scan_info> script;
    if (o.scans > 0) {
        script = ManyScans(c.num_components, o.scans);
        c.scan_info = script.data();
        c.num_scans = static_cast<int>(script.size());
    } else if (o.progressive) {
        jpeg_simple_progression(&c);
    }
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(o.width) * c.input_components);
    PhotoPixels photo;
    while (c.next_scanline < c.image_height) {
        FillRow(o, static_cast<int>(c.next_scanline), photo, row);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return bytes;
}

QByteArray EncodePhotoJpeg(int width, int height, int quality) {
    TestJpegOptions options;
    options.width = width;
    options.height = height;
    options.quality = quality;
    options.photoLike = true;
    return EncodeTestJpeg(options);
}

QByteArray EncodeTestBmp(int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const int imageSize = stride * height;
    QByteArray bytes;
    const auto put16 = [&](int v) { bytes.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto put32 = [&](int v) { put16(v & 0xFFFF), put16((v >> 16) & 0xFFFF); };
    bytes.append("BM");
    put32(54 + imageSize), put32(0), put32(54);
    put32(40), put32(width), put32(height), put16(1), put16(24), put32(0), put32(imageSize);
    put32(2835), put32(2835), put32(0), put32(0);
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const QRgb p = TestPatternPixel(x, y, width, height);
            row[3 * x] = char(qBlue(p)), row[3 * x + 1] = char(qGreen(p)), row[3 * x + 2] = char(qRed(p));
        }
        bytes.append(row);
    }
    return bytes;
}

bool WriteTestFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

namespace {

// Next header number of a PNM file, skipping white space and comments.
int PnmNumber(const QByteArray& data, qsizetype& pos) {
    while (pos < data.size()) {
        if (data[pos] == '#') {
            while (pos < data.size() && data[pos] != '\n')
                ++pos;
        } else if (std::isspace(static_cast<unsigned char>(data[pos]))) {
            ++pos;
        } else {
            break;
        }
    }
    int value = 0;
    bool any = false;
    while (pos < data.size() && std::isdigit(static_cast<unsigned char>(data[pos]))) {
        value = value * 10 + (data[pos++] - '0');
        any = true;
    }
    return any ? value : -1;
}

}  // namespace

TestPnm ReadTestPnm(const QString& path) {
    TestPnm pnm;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return pnm;
    const QByteArray data = file.readAll();
    if (data.size() < 2 || data[0] != 'P' || (data[1] != '5' && data[1] != '6'))
        return pnm;
    const bool grey = data[1] == '5';
    qsizetype pos = 2;
    pnm.width = PnmNumber(data, pos);
    pnm.height = PnmNumber(data, pos);
    const int maxval = PnmNumber(data, pos);
    ++pos;  // the single white-space byte before the pixels
    const qsizetype samples = qsizetype{pnm.width} * pnm.height * (grey ? 1 : 3);
    if (pnm.width < 0 || pnm.height < 0 || maxval != 255 || data.size() - pos != samples)
        return pnm;
    if (grey) {
        pnm.rgb.reserve(samples * 3);
        for (qsizetype i = 0; i < samples; ++i)
            pnm.rgb.append(3, data[pos + i]);
    } else {
        pnm.rgb = data.mid(pos);
    }
    pnm.valid = true;
    return pnm;
}

TestProcessResult RunTestProcess(const QString& program, const QStringList& arguments) {
    TestProcessResult result;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

TestPnm DjpegDecode(const QString& jpegPath, const QString& outPath, const QStringList& extra) {
    QStringList arguments{QStringLiteral("-dct"), QStringLiteral("float"), QStringLiteral("-ppm")};
    arguments << extra << QStringLiteral("-outfile") << outPath << jpegPath;
    const TestProcessResult run = RunTestProcess(QStringLiteral("djpeg"), arguments);
    if (run.exitCode != 0 && run.exitCode != 2)
        return {};
    return ReadTestPnm(outPath);
}
