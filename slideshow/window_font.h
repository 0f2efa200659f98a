#pragma once
// The font of the slide show windows: "ＭＳ ゴシック" at 13 pixels, with the
// Japanese Gothic faces of Linux desktops standing in when it is missing.

#include <QFont>

QFont SlideWindowFont();
