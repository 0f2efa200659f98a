#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "picture/placement.h"

namespace {

constexpr TPlacementFlags kThumbnail{true, true, false};
constexpr TPlacementFlags kWindow{true, true, true};
constexpr TPlacementFlags kCenterOnly{true, false, false};
constexpr TPlacementFlags kStretchCenter{true, false, true};
constexpr TPlacementFlags kNone{false, false, false};
constexpr TPlacementFlags kProportionalOnly{false, true, false};
constexpr TPlacementFlags kStretchOnly{false, false, true};

struct Case {
    const char* use;
    int w, h, cw, ch;
    TPlacementFlags flags;
    int width, height, left, top;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.use << " " << c.w << "x" << c.h << " in " << c.cw << "x" << c.ch;
}

QRect Expected(const Case& c) { return QRect(c.left, c.top, c.width, c.height); }

class Placement : public ::testing::TestWithParam<Case> {};

TEST_P(Placement, GivesTheRectangle) {
    const Case& c = GetParam();
    EXPECT_EQ(PlacementRect(c.w, c.h, c.cw, c.ch, c.flags), Expected(c));
}

// Every worked example the viewer was designed against; w = h = 0 is an empty picture.
INSTANTIATE_TEST_SUITE_P(WorkedExamples, Placement, ::testing::Values(
    Case{"thumbnail", 320, 240, 160, 120, kThumbnail, 160, 120, 0, 0},
    Case{"thumbnail", 100, 50, 160, 120, kThumbnail, 100, 50, 30, 35},
    Case{"thumbnail", 160, 120, 160, 120, kThumbnail, 160, 120, 0, 0},
    Case{"thumbnail", 161, 120, 160, 120, kThumbnail, 160, 119, 0, 0},
    Case{"thumbnail", 160, 121, 160, 120, kThumbnail, 160, 120, 0, 0},
    Case{"thumbnail", 159, 121, 160, 120, kThumbnail, 157, 120, 1, 0},
    Case{"thumbnail", 300, 400, 160, 120, kThumbnail, 90, 120, 35, 0},
    Case{"thumbnail", 1000, 1500, 160, 120, kThumbnail, 79, 120, 40, 0},
    Case{"thumbnail", 200, 200, 160, 120, kThumbnail, 120, 120, 20, 0},
    Case{"thumbnail", 1000, 100, 160, 120, kThumbnail, 160, 16, 0, 52},
    Case{"thumbnail", 1920, 1080, 160, 120, kThumbnail, 160, 90, 0, 15},
    Case{"thumbnail", 1080, 1920, 160, 120, kThumbnail, 67, 120, 46, 0},
    Case{"thumbnail", 3000, 2000, 160, 120, kThumbnail, 160, 106, 0, 7},
    Case{"thumbnail", 1, 1000, 160, 120, kThumbnail, 0, 120, 80, 0},
    Case{"thumbnail", 0, 0, 160, 120, kThumbnail, 0, 0, 80, 60},
    Case{"window", 100, 50, 160, 120, kWindow, 160, 80, 0, 20},
    Case{"window", 50, 50, 160, 120, kWindow, 120, 120, 20, 0},
    Case{"window", 2, 3, 160, 120, kWindow, 79, 120, 40, 0},
    Case{"window", 400, 300, 200, 100, kWindow, 133, 100, 33, 0},
    Case{"window", 640, 480, 632, 446, kWindow, 594, 446, 19, 0},
    Case{"window", 10, 3, 100, 100, kWindow, 100, 29, 0, 35},
    Case{"window", 3, 10, 100, 100, kWindow, 29, 100, 35, 0},
    Case{"window", 790, 136, 904, 136, kWindow, 789, 136, 57, 0},
    Case{"window", 0, 0, 200, 100, kWindow, 200, 100, 0, 0},
    Case{"window", 640, 480, 100, 0, kWindow, 0, 0, 50, 0},
    Case{"center only", 201, 50, 100, 100, kCenterOnly, 201, 50, -50, 25},
    Case{"stretch+center", 10, 3, 100, 100, kStretchCenter, 100, 100, 0, 0}));

// Cases beyond the examples: flags off, zero sides, odd spares, huge pictures.
INSTANTIATE_TEST_SUITE_P(MoreCases, Placement, ::testing::Values(
    Case{"no flags", 500, 400, 160, 120, kNone, 500, 400, 0, 0},
    Case{"no flags, empty", 0, 0, 160, 120, kNone, 0, 0, 0, 0},
    Case{"proportional only", 320, 240, 100, 100, kProportionalOnly, 100, 75, 0, 0},
    Case{"proportional only, small", 20, 10, 100, 100, kProportionalOnly, 20, 10, 0, 0},
    Case{"stretch only", 20, 10, 100, 50, kStretchOnly, 100, 50, 0, 0},
    Case{"center only, odd spare", 10, 10, 21, 20, kCenterOnly, 10, 10, 5, 5},
    Case{"center only, -1 spare", 101, 99, 100, 100, kCenterOnly, 101, 99, 0, 0},
    Case{"center only, -3 spare", 103, 103, 100, 100, kCenterOnly, 103, 103, -1, -1},
    Case{"zero width picture stretched", 0, 50, 160, 120, kWindow, 160, 120, 0, 0},
    Case{"zero height picture", 50, 0, 160, 120, kThumbnail, 50, 0, 55, 60},
    Case{"box of no width", 640, 480, 0, 100, kWindow, 0, 0, 0, 50},
    Case{"box of no size", 640, 480, 0, 0, kWindow, 0, 0, 0, 0},
    Case{"thumbnail, tall 1 wide", 1, 121, 160, 120, kThumbnail, 0, 120, 80, 0},
    Case{"window, 1x1 enlarged", 1, 1, 160, 120, kWindow, 120, 120, 20, 0},
    Case{"window, huge", 2147483647, 1, 1920, 1080, kWindow, 1920, 0, 0, 540},
    Case{"window, huge tall", 1, 2147483647, 1920, 1080, kWindow, 0, 1080, 960, 0},
    Case{"center only, huge", 2147483647, 10, 100, 100, kCenterOnly, 2147483647, 10, -1073741773, 45},
    // Extended and double arithmetic disagree on these (see the test below).
    Case{"window", 1, 3, 160, 120, kWindow, 39, 120, 60, 0},
    Case{"window", 1, 3, 100, 300, kWindow, 99, 300, 0, 0},
    Case{"window", 1, 5, 100, 1000, kWindow, 100, 499, 0, 250},
    Case{"window", 640, 480, 1000, 480, kWindow, 639, 480, 180, 0},
    Case{"window", 1280, 800, 640, 600, kWindow, 640, 399, 0, 100},
    Case{"thumbnail", 1000, 1500, 160, 150, kThumbnail, 99, 150, 30, 0}));

// The same rule carried out in 64-bit doubles only: what the viewer must not do.
QRect DoubleOnlyPlacement(int w, int h, int cw, int ch) {
    const double a = double(w) / double(h);
    int nw, nh;
    if (w > h) {
        nw = cw;
        nh = int(std::trunc(cw / a));
        if (nh > ch) {
            nh = ch;
            nw = int(std::trunc(ch * a));
        }
    } else {
        nh = ch;
        nw = int(std::trunc(ch * a));
        if (nw > cw) {
            nw = cw;
            nh = int(std::trunc(cw / a));
        }
    }
    return QRect((cw - nw) / 2, (ch - nh) / 2, nw, nh);
}

// Each of these cases tells the extended rule apart from double arithmetic, so
// the table above really pins down the precision.
TEST(Placement, CasesWhereDoublesDifferAreCovered) {
    const Case cases[] = {
        {"window", 2, 3, 160, 120, kWindow, 79, 120, 40, 0},
        {"thumbnail", 1000, 1500, 160, 120, kThumbnail, 79, 120, 40, 0},
        {"window", 10, 3, 100, 100, kWindow, 100, 29, 0, 35},
        {"window", 3, 10, 100, 100, kWindow, 29, 100, 35, 0},
        {"window", 790, 136, 904, 136, kWindow, 789, 136, 57, 0},
        {"window", 1, 3, 160, 120, kWindow, 39, 120, 60, 0},
        {"window", 1, 3, 100, 300, kWindow, 99, 300, 0, 0},
        {"window", 1, 5, 100, 1000, kWindow, 100, 499, 0, 250},
        {"window", 640, 480, 1000, 480, kWindow, 639, 480, 180, 0},
        {"window", 1280, 800, 640, 600, kWindow, 640, 399, 0, 100},
        {"thumbnail", 1000, 1500, 160, 150, kThumbnail, 99, 150, 30, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        EXPECT_EQ(PlacementRect(c.w, c.h, c.cw, c.ch, c.flags), Expected(c));
        EXPECT_NE(DoubleOnlyPlacement(c.w, c.h, c.cw, c.ch), Expected(c));
    }
}

}  // namespace
