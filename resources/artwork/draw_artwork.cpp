// Draws the program's icon and toolbar glyphs and writes them as PNG files
// into the folder given on the command line; run by the build.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>;

QImage Canvas(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage Paint(int size, bool smooth, const Draw& draw) {
    QImage image = Canvas(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    draw(painter);
    return image;
}

void Pixel(QPainter& p, int x, int y, const QColor& c) { p.fillRect(x, y, 1, 1, c); }
void Box(QPainter& p, int x, int y, int w, int h, const QColor& c) { p.fillRect(x, y, w, h, c); }

// A cross of two-pixel diagonal strokes, size pixels across, from (x, y).
void Cross(QPainter& p, int x, int y, int size, const QColor& c) {
    for (int i = 0; i < size; ++i) {
        Pixel(p, x + i, y + i, c);
        Pixel(p, x + size - 1 - i, y + i, c);
        if (i + 1 < size) {
            Pixel(p, x + i + 1, y + i, c);
            Pixel(p, x + size - 2 - i, y + i, c);
        }
    }
}

const QColor FrameBlue(0x10, 0x18, 0x70);
const QColor TitleViolet(0x60, 0x50, 0xd8);
const QColor TitleButton(0xe8, 0xe8, 0xf0);
const QColor ClientWhite(0xff, 0xff, 0xff);
const QColor ClientLavender(0xd0, 0xc8, 0xf4);

// An application window: dark blue frame, blue-violet title bar with two tiny
// buttons, and a client area shading from white to lavender.
void AppWindow(QPainter& p, int x, int y, int w, int h, int titleHeight = 2) {
    Box(p, x, y, w, h, FrameBlue);
    Box(p, x + 1, y + 1, w - 2, titleHeight, TitleViolet);
    Pixel(p, x + w - 3, y + 1, TitleButton);
    Pixel(p, x + w - 5, y + 1, TitleButton);
    if (titleHeight > 2) {
        Pixel(p, x + w - 3, y + 2, TitleButton);
        Pixel(p, x + w - 5, y + 2, TitleButton);
    }
    const int top = y + 1 + titleHeight;
    const int rows = h - 2 - titleHeight;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < w - 2; ++c) {
            const double t = double(r + c) / double(rows + w - 4);
            const QColor shade = QColor::fromRgbF(
                float(ClientWhite.redF() + (ClientLavender.redF() - ClientWhite.redF()) * t),
                float(ClientWhite.greenF() + (ClientLavender.greenF() - ClientWhite.greenF()) * t),
                float(ClientWhite.blueF() + (ClientLavender.blueF() - ClientWhite.blueF()) * t));
            Pixel(p, x + 1 + c, top + r, shade);
        }
}

void CascadedWindows(QPainter& p) {
    AppWindow(p, 6, 0, 10, 8);
    AppWindow(p, 3, 4, 10, 8);
    AppWindow(p, 0, 8, 10, 8);
}

// Main toolbar -------------------------------------------------------------

void DrawExit(QPainter& p) {
    Cross(p, 6, 6, 7, QColor(0xa8, 0xc8, 0xc8));
    Cross(p, 4, 4, 7, QColor(0x3c, 0x70, 0x78));
}

void DrawOpenAll(QPainter& p) { CascadedWindows(p); }

void DrawCloseAll(QPainter& p) {
    CascadedWindows(p);
    // A one-pixel shadow keeps the cross readable over the windows.
    Cross(p, 1, 1, 8, QColor(0x80, 0x20, 0x08));
    Cross(p, 0, 0, 8, QColor(0xf4, 0x50, 0x18));
}

void DrawSlideShow(QPainter& p) {
    AppWindow(p, 0, 1, 16, 14, 3);
    const QColor rim(0x50, 0x68, 0x88);
    // Handle from the lens out through the lower-left corner.
    for (int i = 0; i < 7; ++i) {
        Pixel(p, 6 - i, 10 + i, rim);
        Pixel(p, 5 - i, 10 + i, rim);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(rim);
    p.setBrush(QColor(0xb8, 0xf0, 0xf8));
    p.drawEllipse(QRect(6, 5, 7, 7));
    Pixel(p, 8, 7, ClientWhite);
    Pixel(p, 8, 8, ClientWhite);
}

// Slide show toolbar -------------------------------------------------------

void DrawSlideClose(QPainter& p) {
    Cross(p, 4, 5, 8, QColor(0x90, 0x9c, 0xbc));
    Cross(p, 4, 4, 8, QColor(0xa8, 0xb8, 0xd8));
}

void DrawSlideStart(QPainter& p) {
    Box(p, 1, 1, 14, 14, QColor(0x80, 0x80, 0x80));
    Box(p, 2, 2, 12, 12, QColor(0xf0, 0xf0, 0xe8));
    const QColor dark(0x20, 0x20, 0x28);
    for (int i = 0; i < 5; ++i)
        Box(p, 5 + i, 3 + i, 1, 10 - 2 * i, dark);
}

void DrawSlideStop(QPainter& p) {
    AppWindow(p, 3, 3, 13, 12, 2);
    Box(p, 4, 4, 11, 2, QColor(0x20, 0x40, 0xd0));
    const QColor burst(0xf0, 0x50, 0x18);
    const QColor core(0xff, 0xd0, 0x40);
    const int cx = 3;
    const int cy = 3;
    for (int i = -3; i <= 3; ++i) {
        Pixel(p, cx + i, cy, burst);
        Pixel(p, cx, cy + i, burst);
    }
    for (int i = -2; i <= 2; ++i) {
        Pixel(p, cx + i, cy + i, burst);
        Pixel(p, cx + i, cy - i, burst);
    }
    Pixel(p, cx, cy, core);
    Pixel(p, cx + 1, cy, core);
    Pixel(p, cx, cy + 1, core);
}

void DrawSlideTime(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0x80, 0x84, 0x90), 1.4));
    QRadialGradient face(QPointF(6.5, 6.0), 8.0);
    face.setColorAt(0.0, Qt::white);
    face.setColorAt(1.0, QColor(0xb0, 0xd4, 0xf4));
    p.setBrush(face);
    p.drawEllipse(QRectF(1.0, 1.0, 14.0, 14.0));
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor hand(0x18, 0x20, 0x38);
    Box(p, 8, 3, 1, 5, hand);   // minute hand up
    Box(p, 8, 8, 4, 1, hand);   // hour hand right
    Pixel(p, 8, 8, QColor(0xc0, 0x20, 0x20));
}

// Application icon ---------------------------------------------------------

const QColor Timber(0x4a, 0x2a, 0x14);
const QColor Roof(0x5a, 0x30, 0x1a);
const QColor Wall(0xfa, 0xf8, 0xf0);
const QColor Brick(0xb8, 0x30, 0x20);
const QColor Door(0x8a, 0x52, 0x24);
const QColor Knob(0xf8, 0xd8, 0x20);
const QColor Conifer(0x1c, 0x50, 0x24);
const QColor Grass(0x58, 0xb0, 0x40);
const QColor Stone(0x9c, 0x9c, 0xa0);
const QColor Pane(0x98, 0xc8, 0xf0);

void Conifer3(QPainter& p, double cx, double top, double width, double height) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x30, 0x18));
    p.drawRect(QRectF(cx - width * 0.07, top + height * 0.9, width * 0.14, height * 0.12));
    p.setBrush(Conifer);
    for (int tier = 0; tier < 3; ++tier) {
        const double t = top + tier * height * 0.25;
        const double w = width * (0.5 + tier * 0.25);
        QPolygonF tri;
        tri << QPointF(cx, t) << QPointF(cx + w / 2, t + height * 0.42) << QPointF(cx - w / 2, t + height * 0.42);
        p.drawPolygon(tri);
    }
}

void DrawDoor(QPainter& p, const QRectF& r) {
    p.setPen(QPen(Timber, r.width() * 0.1));
    p.setBrush(Door);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(Knob);
    const double k = std::max(2.0, r.width() * 0.22);
    p.drawEllipse(QRectF(r.right() - r.width() * 0.35 - k / 2, r.center().y(), k, k));
}

void DrawIcon48(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Grass);
    p.drawRect(QRectF(0, 39, 48, 9));
    // Chimney behind the roof on the right.
    p.setBrush(Brick);
    p.drawRect(QRectF(33, 7, 6, 14));
    p.setPen(QPen(QColor(0xe0, 0x90, 0x80), 0.8));
    for (int y = 10; y < 20; y += 3)
        p.drawLine(QPointF(33, y), QPointF(39, y));
    p.setPen(Qt::NoPen);
    // Walls.
    p.setBrush(Wall);
    p.drawRect(QRectF(13, 22, 30, 18));
    // Steep roof.
    p.setBrush(Roof);
    QPolygonF roof;
    roof << QPointF(28, 3) << QPointF(46, 23) << QPointF(10, 23);
    p.drawPolygon(roof);
    // Timber frame.
    p.setPen(QPen(Timber, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(13, 22, 30, 18));
    p.drawLine(QPointF(13, 31), QPointF(43, 31));
    p.drawLine(QPointF(21, 22), QPointF(21, 40));
    p.drawLine(QPointF(35, 22), QPointF(35, 40));
    p.drawLine(QPointF(13, 22), QPointF(21, 31));
    p.drawLine(QPointF(43, 22), QPointF(35, 31));
    p.drawLine(QPointF(35, 31), QPointF(43, 40));
    // Four-pane window above the door.
    p.setBrush(Pane);
    p.setPen(QPen(Timber, 1.2));
    p.drawRect(QRectF(24, 23.5, 8, 6));
    p.drawLine(QPointF(28, 23.5), QPointF(28, 29.5));
    p.drawLine(QPointF(24, 26.5), QPointF(32, 26.5));
    DrawDoor(p, QRectF(24.5, 32, 7, 8));
    // Stone path to the door.
    p.setPen(Qt::NoPen);
    p.setBrush(Stone);
    p.drawEllipse(QRectF(25, 40.5, 6, 2.5));
    p.drawEllipse(QRectF(23, 43, 7, 2.5));
    p.drawEllipse(QRectF(21, 45.5, 8, 2.5));
    // Conifer at the left.
    Conifer3(p, 7, 10, 13, 30);
}

// The close-up: the conifer and the door.
void DrawIcon32(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Grass);
    p.drawRect(QRectF(0, 26, 32, 6));
    p.setBrush(Wall);
    p.drawRect(QRectF(12, 0, 20, 27));
    p.setPen(QPen(Timber, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(13, 0), QPointF(13, 27));
    p.drawLine(QPointF(12, 4), QPointF(32, 4));
    p.drawLine(QPointF(13, 4), QPointF(19, 12));
    DrawDoor(p, QRectF(18, 10, 11, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(Stone);
    p.drawEllipse(QRectF(17, 27, 10, 2.5));
    p.drawEllipse(QRectF(15, 29.5, 11, 2.5));
    Conifer3(p, 7, 1, 14, 26);
}

struct Artwork {
    const char* file;
    int size;
    bool smooth;
    Draw draw;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const Artwork artworks[] = {
        {"icon48.png", 48, true, DrawIcon48},    {"icon32.png", 32, true, DrawIcon32},
        {"main0.png", 16, false, DrawExit},      {"main1.png", 16, false, DrawOpenAll},
        {"main2.png", 16, false, DrawCloseAll},  {"main3.png", 16, false, DrawSlideShow},
        {"slide0.png", 16, false, DrawSlideClose}, {"slide1.png", 16, false, DrawSlideStart},
        {"slide2.png", 16, false, DrawSlideStop},  {"slide3.png", 16, false, DrawSlideTime},
    };
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const Artwork& art : artworks) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(art.file);
        if (!Paint(art.size, art.smooth, art.draw).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
