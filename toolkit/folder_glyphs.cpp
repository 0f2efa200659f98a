#include "toolkit/folder_glyphs.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

namespace {

const QColor Outline(0x40, 0x40, 0x00);
const QColor FolderBack(0xc0, 0xa0, 0x20);
const QColor FolderFront(0xff, 0xe0, 0x60);
const QColor Metal(0xa0, 0xa0, 0xa8);
const QColor DarkMetal(0x50, 0x50, 0x58);

QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void DrawClosedFolder(QPainter& p) {
    p.setPen(Outline);
    p.setBrush(FolderBack);
    p.drawPolygon(QPolygon({{0, 2}, {1, 1}, {5, 1}, {7, 3}, {14, 3}, {14, 13}, {0, 13}}));
    p.setBrush(FolderFront);
    p.drawRect(0, 5, 14, 8);
}

void DrawOpenFolder(QPainter& p) {
    p.setPen(Outline);
    p.setBrush(FolderBack);
    p.drawPolygon(QPolygon({{0, 2}, {1, 1}, {5, 1}, {7, 3}, {13, 3}, {13, 13}, {0, 13}}));
    p.setBrush(FolderFront);
    // The front flap folded down towards the viewer.
    p.drawPolygon(QPolygon({{3, 6}, {15, 6}, {12, 13}, {0, 13}}));
}

QImage Folder(TFolderGlyph kind) {
    QImage image = Blank(FolderGlyphWidth, FolderGlyphHeight);
    QPainter p(&image);
    if (kind == TFolderGlyph::Closed) {
        DrawClosedFolder(p);
    } else {
        DrawOpenFolder(p);
        if (kind == TFolderGlyph::OpenCurrent) {
            // A dark dot on the open flap marks the folder being shown.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x00, 0x00, 0x80));
            p.drawEllipse(6, 8, 4, 4);
        }
    }
    p.end();
    return image;
}

void DrawBox(QPainter& p, const QRect& box, const QColor& fill) {
    p.setPen(DarkMetal);
    p.setBrush(fill);
    p.drawRect(box);
}

QImage Drive(TDriveType type) {
    QImage image = Blank(DriveGlyphWidth, DriveGlyphHeight);
    QPainter p(&image);
    switch (type) {
    case TDriveType::Removable:  // a floppy-like slot drive
        DrawBox(p, {0, 2, 15, 7}, Metal);
        p.fillRect(3, 5, 9, 1, Qt::black);
        break;
    case TDriveType::Fixed:
        DrawBox(p, {0, 3, 15, 6}, Metal);
        p.fillRect(12, 7, 2, 1, QColor(0x00, 0xc0, 0x00));
        break;
    case TDriveType::Network:
        DrawBox(p, {0, 1, 15, 5}, Metal);
        p.fillRect(7, 7, 1, 3, DarkMetal);
        p.fillRect(2, 10, 12, 1, DarkMetal);
        break;
    case TDriveType::CDROM:
        DrawBox(p, {0, 3, 15, 6}, Metal);
        p.setPen(QColor(0x30, 0x60, 0xc0));
        p.setBrush(QColor(0xd0, 0xe0, 0xff));
        p.drawEllipse(4, 0, 7, 7);
        break;
    case TDriveType::RAMDisk:  // a memory chip with its legs
        DrawBox(p, {2, 2, 11, 6}, QColor(0x20, 0x60, 0x20));
        for (int x = 3; x <= 12; x += 3) {
            p.fillRect(x, 0, 1, 2, DarkMetal);
            p.fillRect(x, 9, 1, 2, DarkMetal);
        }
        break;
    }
    p.end();
    return image;
}

}  // namespace

QImage FolderGlyph(TFolderGlyph kind) {
    static const QImage glyphs[] = {Folder(TFolderGlyph::Open), Folder(TFolderGlyph::OpenCurrent),
                                     Folder(TFolderGlyph::Closed)};
    return glyphs[int(kind)];
}

QImage DriveGlyph(TDriveType type) {
    static const QImage glyphs[] = {Drive(TDriveType::Removable), Drive(TDriveType::Fixed), Drive(TDriveType::Network),
                                     Drive(TDriveType::CDROM), Drive(TDriveType::RAMDisk)};
    return glyphs[int(type)];
}
