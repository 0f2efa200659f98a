#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>

#include "browser/frm_main.h"
#include "browser/picture_window.h"
#include "tests/browser/strip_fixture.h"
#include "toolkit/application.h"
#include "toolkit/image.h"

namespace {

const QString kViewLimit = QStringLiteral("表示できる画像は300枚までです。");

TPictureWindow* View(int i) { return dynamic_cast<TPictureWindow*>(frmMain->frmView[i]); }

}  // namespace

class PictureWindowTest : public StripFixture {
protected:
    // n thumbnails of small bitmaps.
    void StartWithThumbnails(int n) {
        WriteBmps(n);
        StartInFolder();
        MessageBoxRecorder boxes;  // 300 thumbnails bring up the strip's limit message
        SelectRange(0, n - 1);
        ASSERT_EQ(frmMain->intThumbCount, n);
    }
    // Opens windows for every thumbnail until count exist, each hidden by its
    // close box right away, as the user may do.
    void OpenClosedWindows(int count) {
        while (frmMain->intViewCount < count) {
            frmMain->NewImgClick(frmMain->imgThumb[frmMain->intViewCount % frmMain->intThumbCount]);
            frmMain->frmView[frmMain->intViewCount - 1]->close();
        }
    }
};

TEST_F(PictureWindowTest, ClickOpensAWindowWithACopyOfThePicture) {
    StartWithThumbnails(2);
    ClickThumbnail(1);

    ASSERT_EQ(frmMain->intViewCount, 1);
    TPictureWindow* window = View(0);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), frmMain);
    EXPECT_EQ(window->windowType(), Qt::Window);
    EXPECT_EQ(window->Width(), 640);
    EXPECT_EQ(window->Height(), 480);
    EXPECT_EQ(window->windowTitle(), PathOf(NumberedName(1)));
    EXPECT_EQ(window->windowTitle(), frmMain->imgThumb[1]->Hint());
    EXPECT_EQ(window->HelpContext, 1);

    TImage* box = window->Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), window);
    EXPECT_EQ(box->Align(), TImage::TAlign::Client);
    EXPECT_TRUE(box->Center());
    EXPECT_TRUE(box->Stretch());
    EXPECT_TRUE(box->Proportional());
    EXPECT_TRUE(box->Hint().isEmpty());
    EXPECT_EQ(box->geometry(), window->rect());
    // Shared pixels, not a second read of the file.
    TPicture* source = frmMain->imgThumb[1]->Picture();
    ASSERT_FALSE(box->Picture()->IsEmpty());
    EXPECT_EQ(box->Picture()->Graphic()->PixelsForDrawing().get(), source->Graphic()->PixelsForDrawing().get());

    // Two clicks on one thumbnail give two windows.
    ClickThumbnail(1);
    ASSERT_EQ(frmMain->intViewCount, 2);
    EXPECT_NE(View(1), View(0));
    EXPECT_EQ(View(1)->windowTitle(), View(0)->windowTitle());
    EXPECT_EQ(View(1)->Box()->Picture()->Graphic()->PixelsForDrawing().get(),
              source->Graphic()->PixelsForDrawing().get());
}

TEST_F(PictureWindowTest, PictureFillsTheClientAreaKeepingItsProportions) {
    WriteBmp("big.bmp", Solid(800, 600, qRgb(200, 0, 0)));
    StartInFolder();
    ClickEntry(0);
    ClickThumbnail(0);
    TPictureWindow* window = View(0);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->resize(400, 600);
    QTRY_COMPARE_WITH_TIMEOUT(window->Box()->size(), QSize(400, 600), 2000);

    const QImage shot = window->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(400, 600));
    const QRgb margin = window->palette().color(QPalette::Base).rgb();
    const QRgb picture = qRgb(200, 0, 0);
    ASSERT_NE(margin, picture);
    for (int x : {0, 200, 399}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(shot.pixel(x, 0), margin);
        EXPECT_EQ(shot.pixel(x, 149), margin);
        EXPECT_EQ(shot.pixel(x, 150), picture);
        EXPECT_EQ(shot.pixel(x, 449), picture);
        EXPECT_EQ(shot.pixel(x, 450), margin);
        EXPECT_EQ(shot.pixel(x, 599), margin);
    }
}

TEST_F(PictureWindowTest, LimitOfThreeHundredCountsHiddenWindows) {
    StartWithThumbnails(300);
    MessageBoxRecorder boxes;
    frmMain->mnuImgOpenClick(frmMain);
    EXPECT_TRUE(boxes.texts.isEmpty());  // exactly up to 300: no message
    ASSERT_EQ(frmMain->intViewCount, 300);
    for (int i = 0; i < 300; ++i)
        frmMain->frmView[i]->close();
    EXPECT_EQ(frmMain->intViewCount, 300);

    const QList<QWidget*> before = QApplication::topLevelWidgets();
    ClickThumbnail(5);
    EXPECT_EQ(boxes.texts, QStringList{kViewLimit});
    EXPECT_EQ(frmMain->intViewCount, 300);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before.size());

    frmMain->mnuImgCClick(frmMain);
    EXPECT_EQ(frmMain->intViewCount, 0);
    EXPECT_EQ(frmMain->intThumbCount, 300);  // close-all leaves the strip alone
    ClickThumbnail(5);
    EXPECT_EQ(frmMain->intViewCount, 1);
    EXPECT_EQ(boxes.texts.size(), 1);
}

TEST_F(PictureWindowTest, OpenAllStopsAtTheLimitWithOneMessage) {
    StartWithThumbnails(10);
    OpenClosedWindows(295);
    MessageBoxRecorder boxes;
    frmMain->mnuImgOpenClick(frmMain);

    EXPECT_EQ(frmMain->intViewCount, 300);
    EXPECT_EQ(boxes.texts, QStringList{kViewLimit});
    for (int i = 295; i < 300; ++i) {
        EXPECT_TRUE(frmMain->frmView[i]->isVisible());
        EXPECT_EQ(frmMain->frmView[i]->windowTitle(), PathOf(NumberedName(i - 295)));
    }
}

TEST_F(PictureWindowTest, OpenAllAndCloseAllWithNothingDoNothing) {
    WriteBmps(1);
    StartInFolder();
    MessageBoxRecorder boxes;
    const int windows = QApplication::topLevelWidgets().size();
    frmMain->mnuImgCClick(frmMain);
    frmMain->mnuImgOpenClick(frmMain);
    EXPECT_EQ(frmMain->intViewCount, 0);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_TRUE(boxes.texts.isEmpty());

    // Open all opens one window per thumbnail, in strip order.
    ClickEntry(0);
    frmMain->mnuImgOpenClick(frmMain);
    frmMain->mnuImgOpenClick(frmMain);
    EXPECT_EQ(frmMain->intViewCount, 2);
}

TEST_F(PictureWindowTest, CloseBoxHidesAndCloseAllFrees) {
    StartWithThumbnails(3);
    frmMain->mnuImgOpenClick(frmMain);
    ASSERT_EQ(frmMain->intViewCount, 3);
    QPointer<QWidget> closed = frmMain->frmView[1];
    closed->close();
    EXPECT_FALSE(closed.isNull());
    EXPECT_FALSE(closed->isVisible());
    EXPECT_EQ(frmMain->intViewCount, 3);

    QPointer<QWidget> shown = frmMain->frmView[2];
    frmMain->mnuImgCClick(frmMain);
    EXPECT_TRUE(closed.isNull());
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(frmMain->intViewCount, 0);
    EXPECT_EQ(frmMain->intThumbCount, 3);
    EXPECT_EQ(BoxesInStrip().size(), 3u);
}

TEST_F(PictureWindowTest, CtrlZInAnActivePictureWindowFreesAll) {
    StartWithThumbnails(2);
    ClickThumbnail(0);
    ClickThumbnail(1);
    QPointer<QWidget> first = frmMain->frmView[0];
    QPointer<QWidget> active = frmMain->frmView[1];
    active->activateWindow();
    // Really active, not merely reported active through the main window.
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == active, 2000);

    QTest::keyClick(active, Qt::Key_Z, Qt::ControlModifier);

    EXPECT_EQ(frmMain->intViewCount, 0);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(active.isNull());
    EXPECT_EQ(frmMain->intThumbCount, 2);
}

TEST_F(PictureWindowTest, PictureWindowsFollowTheMainWindowWhenMinimised) {
    StartWithThumbnails(2);
    ClickThumbnail(0);
    ClickThumbnail(1);
    QWidget* shown = frmMain->frmView[0];
    QWidget* closed = frmMain->frmView[1];
    closed->close();

    frmMain->showMinimized();
    EXPECT_FALSE(shown->isVisible());
    EXPECT_FALSE(closed->isVisible());

    frmMain->showNormal();
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(closed->isVisible());  // nothing shows a closed picture window again
}
