// quimbly-render: command-line access to the picture code, for conformance
// checks, benchmarks and fuzz triage.
#include <QFile>
#include <QSaveFile>
#include <cstdio>
#include <cstring>

#include "picture/bitmap_data.h"
#include "picture/picture.h"
#include "tools/render_modes.h"
#include "toolkit/exceptions.h"

namespace {

std::vector<const TRenderMode*>& Registry() {
    static std::vector<const TRenderMode*> modes;
    return modes;
}

// decode FILE OUT.ppm: load as a thumbnail does, draw once, write the pixels.
int RunDecode(const QStringList& arguments) {
    if (arguments.size() != 2)
        return RenderUsageError();
    TPicture picture;
    TBitmapImagePtr pixels;
    try {
        picture.LoadFromFile(arguments[0]);
        if (TGraphic* graphic = picture.Graphic())
            pixels = graphic->PixelsForDrawing();
    } catch (const Exception& error) {
        return RenderFailed(error);
    }
    if (!pixels || pixels->IsEmpty()) {
        std::puts("0 0 0");
        return kRenderOk;
    }
    if (!WritePpm(ToQImage(*pixels), arguments[1])) {
        std::fprintf(stderr, "cannot write %s\n", QFile::encodeName(arguments[1]).constData());
        return kRenderFailed;
    }
    std::printf("%d %d %d\n", picture.Width(), picture.Height(), picture.Graphic()->BitsPerPixel());
    return kRenderOk;
}

const TRenderMode decodeMode("decode", "FILE OUT.ppm", RunDecode);

}  // namespace

TRenderMode::TRenderMode(const char* modeName, const char* modeUsage, TRenderModeRun modeRun)
    : name(modeName), usage(modeUsage), run(modeRun) {
    Registry().push_back(this);
}

const std::vector<const TRenderMode*>& RenderModes() {
    return Registry();
}

int RenderUsageError() {
    for (const TRenderMode* mode : RenderModes())
        std::fprintf(stderr, "usage: quimbly-render %s %s\n", mode->name, mode->usage);
    return kRenderUsageError;
}

int RenderFailed(const Exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return kRenderFailed;
}

bool WritePpm(const QImage& image, const QString& fileName) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral("P6\n%1 %2\n255\n").arg(rgb.width()).arg(rgb.height()).toLatin1());
    for (int y = 0; y < rgb.height(); ++y)
        file.write(reinterpret_cast<const char*>(rgb.constScanLine(y)), qsizetype{rgb.width()} * 3);
    return file.commit();
}

int main(int argc, char** argv) {
    if (argc < 2)
        return RenderUsageError();
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    for (const TRenderMode* mode : RenderModes())
        if (std::strcmp(mode->name, argv[1]) == 0)
            return mode->run(arguments);
    return RenderUsageError();
}
