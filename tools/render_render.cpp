// quimbly-render render FILE CW CH OUT.ppm [--center] [--proportional] [--stretch] [--background RRGGBB]
#include <QFile>
#include <QPainter>
#include <QSaveFile>
#include <cstdio>

#include "picture/box_paint.h"
#include "picture/picture.h"
#include "toolkit/exceptions.h"
#include "tools/render_modes.h"
#include "tools/render_place.h"

namespace {

// A box larger than this is refused rather than allocated (1 GiB of pixels).
constexpr qint64 kMaxBoxPixels = qint64{1} << 28;

struct RenderRequest {
    QString file;
    int width = 0;
    int height = 0;
    QString out;
    TPlacementFlags flags;
    QRgb background = qRgb(255, 255, 255);
};

bool ReadColour(const QString& text, QRgb& colour) {
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (text.size() != 6 || !ok || text.startsWith('+') || text.startsWith('-'))
        return false;
    colour = qRgb(int(value >> 16) & 0xFF, int(value >> 8) & 0xFF, int(value) & 0xFF);
    return true;
}

bool ReadRequest(const QStringList& arguments, RenderRequest& request) {
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--background")) {
            if (++i == arguments.size() || !ReadColour(arguments[i], request.background))
                return false;
        } else if (argument.startsWith(QLatin1String("--"))) {
            if (!ReadPlacementFlag(argument, request.flags))
                return false;
        } else {
            positional << argument;
        }
    }
    if (positional.size() != 4)
        return false;
    request.file = positional[0];
    request.out = positional[3];
    return ReadSide(positional[1], request.width) && ReadSide(positional[2], request.height) &&
           qint64{request.width} * request.height <= kMaxBoxPixels;
}

// A box of no area is still written, as a PPM of that size with no pixels.
bool WriteBox(const QImage& box, QSize size, const QString& fileName) {
    if (!size.isEmpty())
        return WritePpm(box, fileName);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral("P6\n%1 %2\n255\n").arg(size.width()).arg(size.height()).toLatin1());
    return file.commit();
}

int RunRender(const QStringList& arguments) {
    RenderRequest request;
    if (!ReadRequest(arguments, request))
        return RenderUsageError();
    const QSize size(request.width, request.height);
    QImage box;
    if (!size.isEmpty()) {
        box = QImage(size, QImage::Format_RGB32);
        if (box.isNull()) {
            std::fprintf(stderr, "out of memory for a box of %d x %d\n", size.width(), size.height());
            return kRenderFailed;
        }
        box.fill(request.background);  // the holder's background under the box
    }
    try {
        TPicture picture;
        picture.LoadFromFile(request.file);
        if (!size.isEmpty()) {
            QPainter painter(&box);
            PaintPictureBox(painter, picture, size, request.flags, QRegion(QRect(QPoint(0, 0), size)));
        }
    } catch (const Exception& error) {
        return RenderFailed(error);
    }
    if (!WriteBox(box, size, request.out)) {
        std::fprintf(stderr, "cannot write %s\n", QFile::encodeName(request.out).constData());
        return kRenderFailed;
    }
    return kRenderOk;
}

const TRenderMode renderMode("render",
                             "FILE CW CH OUT.ppm [--center] [--proportional] [--stretch] [--background RRGGBB]",
                             RunRender);

}  // namespace
