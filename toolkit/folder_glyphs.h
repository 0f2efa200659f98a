#pragma once
// The glyphs of the drive and folder lists, drawn in code: folders 16 x 15,
// drives 16 x 11, transparent around the picture.

#include <QImage>

#include "toolkit/mount_table.h"

enum class TFolderGlyph { Open, OpenCurrent, Closed };

QImage FolderGlyph(TFolderGlyph kind);
QImage DriveGlyph(TDriveType type);

constexpr int FolderGlyphWidth = 16;
constexpr int FolderGlyphHeight = 15;
constexpr int DriveGlyphWidth = 16;
constexpr int DriveGlyphHeight = 11;
