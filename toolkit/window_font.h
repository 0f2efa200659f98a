#pragma once
// The window font of every window: "ＭＳ ゴシック" with 13-pixel characters,
// rendered by a Japanese Gothic font installed here (IPA Gothic, Noto Sans CJK JP).

#include <QFont>

QFont WindowFont(int pixelSize = 13);
