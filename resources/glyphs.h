#pragma once
// The program's artwork, compiled into the program: the application icon and
// the two sets of four 16 x 16 toolbar glyphs with transparent backgrounds.

#include <QIcon>
#include <QPixmap>

// The half-timbered cottage, 48 x 48 and 32 x 32.
QIcon AppIcon();
// One size of the icon: 48 (the cottage) or 32 (the close-up of tree and door).
QPixmap AppIconPixmap(int size);

// Main toolbar: 0 exit, 1 open all, 2 close all, 3 slide show.
QIcon MainGlyph(int index);
// Slide show toolbar glyphs 0 to 3.
QIcon SlideGlyph(int index);
