#include "picture/jpeg_decoder.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <vector>

#include "toolkit/exceptions.h"

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace {

TJPEGPixelFormat pixelFormat = TJPEGPixelFormat::jf24Bit;

constexpr std::size_t kFillSize = 4096;
constexpr JOCTET kFakeEndOfImage[2] = {0xFF, JPEG_EOI};
constexpr int kQuantisedColours = 236;
// A legitimate progressive file has a few dozen scans at most; thousands of tiny
// scans only make each decode crawl over the whole picture again and again.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;  // first member: libjpeg sees only this part
    std::jmp_buf jump;
};

struct MemorySource {
    jpeg_source_mgr pub;  // first member
    const JOCTET* data;
    std::size_t size;
    std::size_t position;  // first byte not yet handed to the decoder
};

// Everything one decoder run needs, kept in plain C structs: a fatal error
// longjmps back across the steps below, so nothing here may need a destructor.
struct Session {
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    MemorySource source;
    jpeg_progress_mgr progress;
    TJPEGPixelFormat format;
    TBitmapImage* image;   // the rows being decoded
    JSAMPLE* cmykRow;      // one four-component row, converted after each read
    bool invertedCmyk;     // Adobe files store CMYK with 0 meaning full ink
};

// ---- libjpeg callbacks -----------------------------------------------------

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
    if (source->position < source->size) {
        const std::size_t count = std::min(kFillSize, source->size - source->position);
        source->pub.next_input_byte = source->data + source->position;
        source->pub.bytes_in_buffer = count;
        source->position += count;
        return TRUE;
    }
    if (source->size == 0)
        ERREXIT(cinfo, JERR_INPUT_EMPTY);
    // Out of data: end the picture here and let the decoder fill the rest.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kFakeEndOfImage;
    source->pub.bytes_in_buffer = sizeof kFakeEndOfImage;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
    auto skip = static_cast<std::size_t>(count);
    if (skip <= source->pub.bytes_in_buffer) {
        source->pub.next_input_byte += skip;
        source->pub.bytes_in_buffer -= skip;
        return;
    }
    // Past the buffer: jump ahead in memory instead of filling buffer after buffer.
    skip -= source->pub.bytes_in_buffer;
    source->pub.bytes_in_buffer = 0;
    source->position += std::min(skip, source->size - source->position);
}

void MonitorProgress(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        ERREXIT(cinfo, JERR_IMAGE_TOO_BIG);
}

// ---- steps run under the error trap ----------------------------------------

using Step = void (*)(Session&);

// The only setjmp: returns false when libjpeg ended the step with a fatal error.
// Its locals and those of every step have trivial destructors, so the jump
// never skips one.
bool RunTrapped(Session& session, Step step) {
    if (setjmp(session.error.jump) != 0)
        return false;
    step(session);
    return true;
}

void Run(Session& session, Step step) {
    if (!RunTrapped(session, step))
        RaiseJPEGError(session.error.pub.msg_code);
}

void Create(Session& s) {
    jpeg_create_decompress(&s.cinfo);
    s.cinfo.mem->max_memory_to_use = static_cast<long>(kMaxBitmapBytes);
    s.cinfo.src = &s.source.pub;
    s.cinfo.progress = &s.progress;
}

void ReadHeader(Session& s) {
    jpeg_read_header(&s.cinfo, TRUE);
}

// Grey, colour and four-component output are what the bitmap rows can take;
// anything else (files of 2 or 5+ components) would not fit them.
bool HasBitmapLayout(const jpeg_decompress_struct& c) {
    switch (c.out_color_space) {
    case JCS_GRAYSCALE:
        return c.out_color_components == 1;
    case JCS_RGB:
        return c.out_color_components == 3 && c.quantize_colors;
    case JCS_EXT_BGR:
        return c.out_color_components == 3;
    case JCS_CMYK:
        return c.out_color_components == 4;
    default:
        return false;
    }
}

void Configure(Session& s) {
    jpeg_decompress_struct& c = s.cinfo;
    c.scale_num = 1;
    c.scale_denom = 1;
    c.dct_method = JDCT_FLOAT;
    c.do_fancy_upsampling = TRUE;
    c.do_block_smoothing = TRUE;
    c.buffered_image = FALSE;
    const bool grey = c.out_color_space == JCS_GRAYSCALE;
    if (grey || s.format == TJPEGPixelFormat::jf8Bit) {
        c.quantize_colors = TRUE;
        c.desired_number_of_colors = kQuantisedColours;
        c.dither_mode = JDITHER_FS;
        c.two_pass_quantize = TRUE;  // the library falls back to one pass for grey
    } else if (c.out_color_space == JCS_RGB) {
        c.out_color_space = JCS_EXT_BGR;  // straight into the bitmap's byte order
    }
    s.invertedCmyk = c.saw_Adobe_marker;
    jpeg_calc_output_dimensions(&c);
    if (!HasBitmapLayout(c))
        ERREXIT(&c, JERR_CONVERSION_NOTIMPL);
}

void Start(Session& s) {
    jpeg_start_decompress(&s.cinfo);
}

std::uint8_t CmykChannel(unsigned colour, unsigned black, bool inverted) {
    if (!inverted) {
        colour = 255 - colour;
        black = 255 - black;
    }
    return static_cast<std::uint8_t>((colour * black + 127) / 255);
}

void CmykToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        bgr[0] = CmykChannel(cmyk[2], cmyk[3], inverted);
        bgr[1] = CmykChannel(cmyk[1], cmyk[3], inverted);
        bgr[2] = CmykChannel(cmyk[0], cmyk[3], inverted);
    }
}

void ReadRows(Session& s) {
    jpeg_decompress_struct& c = s.cinfo;
    while (c.output_scanline < c.output_height) {
        const int y = static_cast<int>(c.output_scanline);
        JSAMPROW row = s.cmykRow ? s.cmykRow : s.image->Row(y);
        if (jpeg_read_scanlines(&c, &row, 1) != 1)
            break;
        if (s.cmykRow)
            CmykToBgr(s.cmykRow, s.image->Row(y), s.image->width, s.invertedCmyk);
    }
}

void Finish(Session& s) {
    jpeg_finish_decompress(&s.cinfo);
}

// ---- the session's lifetime ------------------------------------------------

class Decoder {
public:
    Decoder(const std::uint8_t* data, std::size_t size) : session_{} {
        Session& s = session_;
        s.cinfo.err = jpeg_std_error(&s.error.pub);
        s.error.pub.error_exit = ErrorExit;
        s.error.pub.emit_message = IgnoreMessage;
        s.error.pub.output_message = IgnoreOutput;
        s.source.pub.init_source = InitSource;
        s.source.pub.fill_input_buffer = FillInputBuffer;
        s.source.pub.skip_input_data = SkipInputData;
        s.source.pub.resync_to_restart = jpeg_resync_to_restart;
        s.source.pub.term_source = TermSource;
        s.source.data = data;
        s.source.size = size;
        s.progress.progress_monitor = MonitorProgress;
        Run(s, Create);
    }
    ~Decoder() { jpeg_destroy_decompress(&session_.cinfo); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    Session& session() { return session_; }

private:
    Session session_;
};

QRgb PaletteEntry(const jpeg_decompress_struct& c, int index, bool invertedCmyk) {
    const auto entry = [&](int component) { return unsigned{c.colormap[component][index]}; };
    switch (c.out_color_components) {
    case 1:
        return qRgb(entry(0), entry(0), entry(0));
    case 4:
        return qRgb(CmykChannel(entry(0), entry(3), invertedCmyk),
                    CmykChannel(entry(1), entry(3), invertedCmyk),
                    CmykChannel(entry(2), entry(3), invertedCmyk));
    default:
        return qRgb(entry(0), entry(1), entry(2));
    }
}

int OutputBitsPerPixel(const jpeg_decompress_struct& c) {
    return c.quantize_colors ? 8 : 24;
}

void AllocateBitmap(const Session& s, TBitmapImage& image) {
    const jpeg_decompress_struct& c = s.cinfo;
    const int width = static_cast<int>(c.output_width);
    const int height = static_cast<int>(c.output_height);
    image.Allocate(width, height, OutputBitsPerPixel(c), false);
    if (c.quantize_colors) {
        image.palette.resize(static_cast<std::size_t>(c.actual_number_of_colors));
        for (int i = 0; i < c.actual_number_of_colors; ++i)
            image.palette[static_cast<std::size_t>(i)] = PaletteEntry(c, i, s.invertedCmyk);
    }
}

}  // namespace

TJPEGPixelFormat JPEGPixelFormat() {
    return pixelFormat;
}

void SetJPEGPixelFormat(TJPEGPixelFormat format) {
    pixelFormat = format;
}

void ReadJPEGPixelFormatFromScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    SetJPEGPixelFormat(screen && screen->depth() <= 8 ? TJPEGPixelFormat::jf8Bit
                                                      : TJPEGPixelFormat::jf24Bit);
}

void RaiseJPEGError(int messageCode) {
    throw EJPEG(QStringLiteral("JPEG エラー #%1").arg(messageCode));
}

void RaiseJPEGImageTooBig() {
    RaiseJPEGError(JERR_IMAGE_TOO_BIG);
}

TJPEGSize ReadJPEGHeader(const std::uint8_t* data, std::size_t size) {
    Decoder decoder(data, size);
    Session& s = decoder.session();
    Run(s, ReadHeader);
    return {static_cast<int>(s.cinfo.image_width), static_cast<int>(s.cinfo.image_height)};
}

void DecodeJPEG(const std::uint8_t* data, std::size_t size, TJPEGPixelFormat format,
                TBitmapImage& image) {
    Decoder decoder(data, size);
    Session& s = decoder.session();
    s.format = format;
    Run(s, ReadHeader);
    Run(s, Configure);
    const jpeg_decompress_struct& c = s.cinfo;
    const std::uint64_t bytes = std::uint64_t{TBitmapImage::RowSize(static_cast<int>(c.output_width),
                                                                    OutputBitsPerPixel(c))} *
                                c.output_height;
    if (bytes > kMaxBitmapBytes)
        RaiseJPEGImageTooBig();
    Run(s, Start);
    AllocateBitmap(s, image);
    std::vector<JSAMPLE> cmykRow;
    if (!c.quantize_colors && c.out_color_components == 4) {
        cmykRow.resize(std::size_t{c.output_width} * 4);
        s.cmykRow = cmykRow.data();
    }
    s.image = &image;
    Run(s, ReadRows);
    Run(s, Finish);
}
