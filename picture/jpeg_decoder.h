#pragma once
// JPEG decoding through libjpeg from bytes held in memory.
//
// Fatal libjpeg errors are raised as EJPEG "JPEG エラー #%d" carrying libjpeg's
// message code; warnings are ignored, so a truncated file decodes to what the
// library makes of it.

#include <cstddef>
#include <cstdint>

#include "picture/bitmap_data.h"

// The pixel depth every JPEG image of the run is decoded to.
enum class TJPEGPixelFormat {
    jf24Bit,  // colour as 24-bit BGR, grey quantised to 236 levels in 8 bits
    jf8Bit,   // every picture quantised to 236 colours in 8 bits
};

TJPEGPixelFormat JPEGPixelFormat();
void SetJPEGPixelFormat(TJPEGPixelFormat format);
// 8 bits when the primary screen has at most 8 bits per pixel, else 24 bits.
// Read once at start-up; needs a QGuiApplication.
void ReadJPEGPixelFormatFromScreen();

struct TJPEGSize {
    int width = 0;
    int height = 0;
};

// Reads the header of a JPEG file (an image must be present) and returns the
// frame size.
TJPEGSize ReadJPEGHeader(const std::uint8_t* data, std::size_t size);

// Decodes the whole picture into image: 24 bits per pixel (blue, green, red) or
// 8 bits with a palette, rows stored top first. On a fatal error image keeps
// what was decoded before it: nothing, or the full size with the rows read so far.
void DecodeJPEG(const std::uint8_t* data, std::size_t size, TJPEGPixelFormat format,
                TBitmapImage& image);

// Raises EJPEG for a libjpeg message code.
[[noreturn]] void RaiseJPEGError(int messageCode);
// Raises EJPEG with libjpeg's code for a picture too big to handle.
[[noreturn]] void RaiseJPEGImageTooBig();
