// Writes the seed files of the fuzz targets: the test suite's bitmaps of every
// accepted variant into DIR/bmp, and bitmaps for cjpeg to turn into
// JPEG seeds into DIR/jpeg-src.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "tests/support/bmp_fixtures.h"

namespace {

bool Write(const QDir& dir, const QString& name, const QByteArray& bytes) {
    if (bmp::WriteFile(dir.filePath(name), bytes))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_seeds DIR\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath("bmp") || !root.mkpath("jpeg-src"))
        return 1;
    const QDir bmpDir(root.filePath("bmp"));
    bool ok = true;
    for (const bmp::Variant& variant : bmp::AcceptedVariants())
        ok = Write(bmpDir, QString::fromStdString(variant.name) + ".bmp", bmp::Build(variant.file)) && ok;

    // Sources for cjpeg: a colour gradient and a grey one, big enough for
    // several blocks and restart intervals.
    QImage colour(40, 24, QImage::Format_RGB32);
    QImage grey(40, 24, QImage::Format_RGB32);
    for (int y = 0; y < colour.height(); ++y)
        for (int x = 0; x < colour.width(); ++x) {
            colour.setPixel(x, y, qRgb(x * 6, y * 10, (x + y) * 4));
            grey.setPixel(x, y, qRgb(x * 6, x * 6, x * 6));
        }
    const QDir jpegDir(root.filePath("jpeg-src"));
    ok = Write(jpegDir, "colour.bmp", bmp::Bmp24(colour)) && ok;
    ok = Write(jpegDir, "grey.bmp", bmp::Bmp24(grey)) && ok;
    return ok ? 0 : 1;
}
