#pragma once
// Test JPEG files written with libjpeg's encoder, and readers for the PNM files
// that djpeg and quimbly-render write.

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <vector>

enum class TestJpegColour {
    Rgb,        // three components, YCbCr in the file
    Grey,       // one component
    CmykAdobe,  // four components stored inverted with an Adobe marker, as Photoshop writes them
    YcckAdobe,  // the same colours transformed to YCCK
    Unknown2,   // two components of no colour space
};

struct TestJpegOptions {
    int width = 48;
    int height = 32;
    TestJpegColour colour = TestJpegColour::Rgb;
    bool progressive = false;
    bool arithmetic = false;
    int restartInterval = 0;  // MCUs between restart markers; 0 for none
    int lumaH = 2;            // sampling factors of the first component: 2 x 2 is 4:2:0,
    int lumaV = 2;            // 2 x 1 is 4:2:2, 1 x 1 is 4:4:4
    int quality = 85;
    int scans = 0;            // a progressive scan script of at least this many scans; 0: the usual one
    bool photoLike = false;   // the photo-like picture in place of the test pattern
};

// The colour of the test pattern at (x, y): smooth gradients with an 8 x 8
// checkerboard in blue, so every block has detail.
QRgb TestPatternPixel(int x, int y, int width, int height);

QByteArray EncodeTestJpeg(const TestJpegOptions& options = {});

// A photo-like colour picture (smooth gradients and waves with fine grain,
// 4:2:0), so that the file has a realistic size for its pixel count.
QByteArray EncodePhotoJpeg(int width, int height, int quality);

// A small valid Windows bitmap (24 bits, the test pattern).
QByteArray EncodeTestBmp(int width = 5, int height = 3);

// Writes bytes to a file; false on failure.
bool WriteTestFile(const QString& path, const QByteArray& bytes);

struct TestPnm {
    int width = 0;
    int height = 0;
    QByteArray rgb;  // three bytes per pixel; grey (P5) files are expanded
    bool valid = false;
};

// Reads a binary PGM (P5) or PPM (P6) file with maxval 255.
TestPnm ReadTestPnm(const QString& path);

struct TestProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to completion (at most 60 s).
TestProcessResult RunTestProcess(const QString& program, const QStringList& arguments);

// Runs `djpeg -dct float -ppm [extra] -outfile out file`; djpeg's warnings
// (exit status 2) are accepted.
TestPnm DjpegDecode(const QString& jpegPath, const QString& outPath, const QStringList& extra = {});
