#include <gtest/gtest.h>

#include <QRect>
#include <QTest>
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

// The interval dialog's outer size depends on the window system's frame
// around its fixed 355 x 97 client area.
QPoint CentredOnMain(const QRect& main, const TForm* form) {
    return {std::max(0, main.left() + (main.width() - form->Width()) / 2),
            std::max(0, main.top() + (main.height() - form->Height()) / 2)};
}

// The main window as the user has it: shown, its frame known.
void ShowMainWindowAt(const QRect& bounds) {
    frmMain->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain));
    frmMain->SetBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    ASSERT_EQ(Bounds(frmMain), bounds);
}

}  // namespace

using PlacementTest = SlideFixture;

TEST_F(PlacementTest, FirstOpeningsAreCentredOnTheMainWindow) {
    const FirstOpening cases[] = {
        {{100, 50, 800, 600}, {180, 110}},
        // (401 - 640) div 2 truncates to -119, not -120; the top would be -90.
        {{201, 0, 401, 300}, {82, 0}},
        {{10, 5, 400, 300}, {0, 0}},
        {{-100, -150, 400, 300}, {0, 0}},
    };
    for (const FirstOpening& c : cases) {
        StopProgram();
        StartProgram();
        ShowMainWindowAt(c.main);
        BuildStrip(1);
        WithSlideShow([&] {
            EXPECT_EQ(Bounds(frmSlide), QRect(c.slide, QSize(640, 480))) << "main " << c.main.x() << "," << c.main.y();
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
    ShowMainWindowAt({100, 50, 800, 600});
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
