#pragma once
// Shared by the fuzz targets: touches every part of a decoded picture that
// drawing would, and stops at once when the holder breaks its own rules.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "picture/bitmap_data.h"

inline void CheckAndSample(const TBitmapImage& image) {
    if (image.IsEmpty())
        return;
    const bool sound = image.stride >= TBitmapImage::RowSize(image.width, image.bitsPerPixel) &&
                       image.stride % 4 == 0 &&
                       image.pixels.size() == image.stride * static_cast<std::size_t>(image.height) &&
                       image.palette.size() <= 256;
    if (!sound)
        std::abort();
    // A spread of columns including both edges, on a spread of rows including both edges.
    const int columns = std::min(image.width, 256);
    std::vector<int> xs(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i)
        xs[static_cast<std::size_t>(i)] =
            columns == 1 ? 0 : static_cast<int>(static_cast<long long>(image.width - 1) * i / (columns - 1));
    std::vector<QRgb> out(xs.size());
    const int rows = std::min(image.height, 64);
    volatile QRgb sink = 0;
    for (int j = 0; j < rows; ++j) {
        const int y = rows == 1 ? 0 : static_cast<int>(static_cast<long long>(image.height - 1) * j / (rows - 1));
        SampleRow(image, y, xs.data(), columns, out.data());
        sink = sink ^ out.front() ^ out.back();
    }
}
