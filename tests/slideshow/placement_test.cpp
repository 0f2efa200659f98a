#include <gtest/gtest.h>

#include <QRect>
#include <algorithm>

#include "browser/frm_main.h"
#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "tests/slideshow/slide_fixture.h"

namespace {

QRect Bounds(const TForm* form) { return {form->Left(), form->Top(), form->Width(), form->Height()}; }

struct FirstOpening {
    QRect main;
    QPoint slide;  // 640 x 480
};

// Where a window of its present outer size belongs, centred on main.
QPoint CentredOnMain(const QRect& main, const TForm* form) {
    return {std::max(0, main.left() + (main.width() - form->Width()) / 2),
            std::max(0, main.top() + (main.height() - form->Height()) / 2)};
}

}  // namespace

using PlacementTest = SlideFixture;

TEST_F(PlacementTest, FirstOpeningsAreCentredOnTheMainWindow) {
    const FirstOpening cases[] = {
        {{100, 50, 800, 600}, {180, 110}},
        // (401 - 640) div 2 truncates toward zero; the top would be -90.
        {{201, 0, 401, 300}, {82, 0}},
        {{10, 5, 400, 300}, {0, 0}},
        {{-100, -150, 400, 300}, {0, 0}},
    };
    for (const FirstOpening& c : cases) {
        StopProgram();
        StartProgram();
        frmMain->SetBounds(c.main.left(), c.main.top(), c.main.width(), c.main.height());
        BuildStrip(1);
        WithSlideShow([&] {
            EXPECT_EQ(frmSlide->frameGeometry().topLeft(), CentredOnMain(c.main, frmSlide))
                << "main " << c.main.x() << "," << c.main.y();
            WithIntervalDialog([] { frmSlide->mnuViewTClick(frmSlide); }, [&] {
                EXPECT_EQ(frmTime->size(), QSize(355, 97));
                EXPECT_EQ(frmTime->frameGeometry().topLeft(), CentredOnMain(c.main, frmTime))
                    << "main " << c.main.x() << "," << c.main.y();
            });
        });
        FreeStrip();
    }
}

TEST_F(PlacementTest, LaterOpeningsKeepTheLastPlaceAndSize) {
    frmMain->SetBounds(100, 50, 800, 600);
    BuildStrip(2);
    WithSlideShow([&] {
        frmSlide->SetBounds(40, 30, 500, 400);
        WithIntervalDialog([] { frmSlide->mnuViewTClick(frmSlide); }, [] { frmTime->SetBounds(70, 60, 300, 50); });
    });
    frmMain->SetBounds(300, 200, 900, 700);
    BuildStrip(3, QStringLiteral("again"));
    WithSlideShow([&] {
        EXPECT_EQ(Bounds(frmSlide), QRect(40, 30, 500, 400));
        WithIntervalDialog([] { frmSlide->mnuViewTClick(frmSlide); },
                           [] {
                               EXPECT_EQ(frmTime->frameGeometry().topLeft(), QPoint(70, 60));
                               EXPECT_EQ(frmTime->size(), QSize(355, 97)) << "the dialog is not resizable";
                           });
    });
}
