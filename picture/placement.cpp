#include "picture/placement.h"

#include <cstdint>
#include <limits>

// The rule is defined by the x87 80-bit format (64-bit significand); a long
// double of any other width would change some results by a pixel.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the fitting rule needs the 80-bit extended long double of x86");

namespace {

// The aspect ratio is formed in extended precision but kept as a double.
double AspectRatio(int w, int h) {
    return static_cast<double>(static_cast<long double>(w) / static_cast<long double>(h));
}

int TruncQuotient(int side, double a) {
    return static_cast<int>(static_cast<long double>(side) / static_cast<long double>(a));
}

int TruncProduct(int side, double a) {
    return static_cast<int>(static_cast<long double>(side) * static_cast<long double>(a));
}

struct Size {
    int width;
    int height;
};

Size FitProportionally(int w, int h, int cw, int ch) {
    const double a = AspectRatio(w, h);
    if (w > h) {
        Size size{cw, TruncQuotient(cw, a)};
        if (size.height > ch)
            size = {TruncProduct(ch, a), ch};
        return size;
    }
    Size size{TruncProduct(ch, a), ch};
    if (size.width > cw)
        size = {cw, TruncQuotient(cw, a)};
    return size;
}

Size PlacedSize(int w, int h, int cw, int ch, TPlacementFlags flags) {
    const bool scale = flags.stretch || (flags.proportional && (w > cw || h > ch));
    if (!scale)
        return {w, h};
    if (flags.proportional && w > 0 && h > 0)
        return FitProportionally(w, h, cw, ch);
    return {cw, ch};
}

// Half the spare room, truncated toward zero (a spare of -101 moves by -50).
int CentreOffset(int boxSide, int placedSide) {
    const std::int64_t spare = std::int64_t{boxSide} - placedSide;
    return static_cast<int>(spare / 2);
}

}  // namespace

QRect PlacementRect(int w, int h, int cw, int ch, TPlacementFlags flags) {
    const Size size = PlacedSize(w, h, cw, ch, flags);
    QRect rect(0, 0, size.width, size.height);
    if (flags.center)
        rect.translate(CentreOffset(cw, size.width), CentreOffset(ch, size.height));
    return rect;
}
