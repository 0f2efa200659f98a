#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QApplication>
#include <QMenuBar>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>
#include <QToolButton>
#include <vector>

#include "browser/frm_main.h"
#include "picture/picture.h"
#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "tests/slideshow/slide_fixture.h"
#include "toolkit/image.h"
#include "toolkit/timer.h"

namespace {

// What each tick left on screen: the picture's number and the caption.
struct Tick {
    int picture;
    QString caption;
    int nextPosition;
};

// Records ticks and switches the show off after the wanted number, so that
// no tick comes after the test has looked.
class TickRecorder {
public:
    explicit TickRecorder(int wanted) : wanted_(wanted) {
        connection_ = QObject::connect(frmSlide->timSlide, &TTimer::ticked, [this] {
            ticks.push_back({frmSlide->imgSlide->Picture()->Width(), frmSlide->windowHandle()->title(),
                             frmSlide->intSlideNext});
            if (static_cast<int>(ticks.size()) >= wanted_)
                frmSlide->mnuFileTClick(frmSlide);
        });
    }
    ~TickRecorder() { QObject::disconnect(connection_); }
    bool Wait() {
        return QTest::qWaitFor([this] { return static_cast<int>(ticks.size()) >= wanted_; }, 10000);
    }
    std::vector<Tick> ticks;

private:
    int wanted_;
    QMetaObject::Connection connection_;
};

// Starts the show by its command, then shortens the period so that the test
// does not wait whole seconds for each tick.
void StartFast() {
    frmSlide->mnuFileRClick(frmSlide);
    frmSlide->timSlide->SetInterval(3);
}

QPoint ThumbCentre(QScrollBar* bar) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar).center();
}

}  // namespace

using SlideShowTest = SlideFixture;

TEST_F(SlideShowTest, NothingOpensWithoutThumbnails) {
    frmMain->mnuSlideOpenClick(frmMain);
    EXPECT_FALSE(frmSlide->isVisible());
    EXPECT_FALSE(frmSlide->IsModalShowing());
}

TEST_F(SlideShowTest, OpensOnTheFirstPictureAndTicksThroughTheStrip) {
    BuildStrip(3);
    WithSlideShow([&] {
        EXPECT_TRUE(frmSlide->IsModalShowing());
        EXPECT_EQ(Caption(), PathOf(1));
        EXPECT_EQ(PictureNumber(), 1);
        EXPECT_EQ(frmSlide->scbSlide->minimum(), 1);
        EXPECT_EQ(frmSlide->scbSlide->maximum(), 3);
        EXPECT_EQ(frmSlide->scbSlide->value(), 1);
        EXPECT_FALSE(frmSlide->timSlide->Enabled());

        frmSlide->mnuFileRClick(frmSlide);
        EXPECT_TRUE(frmSlide->timSlide->Enabled());
        EXPECT_EQ(frmSlide->timSlide->Interval(), 1000);

        // Shown at the start, then after each of five ticks.
        TickRecorder recorder(5);
        frmSlide->timSlide->SetInterval(3);
        ASSERT_TRUE(recorder.Wait());
        const int expected[] = {1, 2, 3, 1, 2};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(recorder.ticks[i].picture, expected[i]) << "tick " << i + 1;
            EXPECT_EQ(recorder.ticks[i].caption, PathOf(expected[i])) << "tick " << i + 1;
        }
        EXPECT_EQ(frmSlide->intSlideNext, 3);
    });
}

TEST_F(SlideShowTest, ThePictureIsDrawnScaledIntoTheWindow) {
    BuildStrip(3);
    WithSlideShow([&] {
        frmSlide->scbSlide->setValue(3);
        const QImage shown = frmSlide->imgSlide->grab().toImage();
        const QRgb centre = shown.pixel(shown.width() / 2, shown.height() / 2);
        // Picture 3 is 3 x 1 pixels of one colour, stretched to the full width.
        const QRgb expected = PictureColour(3);
        EXPECT_NEAR(qRed(centre), qRed(expected), 12);
        EXPECT_NEAR(qGreen(centre), qGreen(expected), 12);
        EXPECT_NEAR(qBlue(centre), qBlue(expected), 12);
        const QRgb edge = shown.pixel(shown.width() / 2 + shown.width() / 3, shown.height() / 2);
        EXPECT_NEAR(qBlue(edge), qBlue(expected), 12) << "stretched across the width";
    });
}

TEST_F(SlideShowTest, TheCaptionShowsEveryPathAsItIs) {
    BuildStrip(2, QStringLiteral("mark[*]name"));
    WithSlideShow([&] {
        EXPECT_EQ(Caption(), PathOf(1));
        frmSlide->scbSlide->setValue(2);
        EXPECT_EQ(Caption(), PathOf(2));
    });
}

TEST_F(SlideShowTest, OneThumbnailNeverChanges) {
    BuildStrip(1);
    WithSlideShow([&] {
        EXPECT_EQ(frmSlide->scbSlide->minimum(), 1);
        EXPECT_EQ(frmSlide->scbSlide->maximum(), 1);
        int changes = 0;
        QObject::connect(frmSlide->scbSlide, &QScrollBar::valueChanged, frmSlide, [&] { ++changes; });
        TickRecorder recorder(3);
        StartFast();
        ASSERT_TRUE(recorder.Wait());
        for (const Tick& tick : recorder.ticks) {
            EXPECT_EQ(tick.picture, 1);
            EXPECT_EQ(tick.caption, PathOf(1));
            EXPECT_EQ(tick.nextPosition, 1);
        }
        EXPECT_EQ(changes, 0);
    });
}

TEST_F(SlideShowTest, DraggingTheThumbFollowsLiveAndTicksKeepTheirOrder) {
    BuildStrip(3);
    WithSlideShow([&] {
        QScrollBar* bar = frmSlide->scbSlide;
        // One tick has shown picture 1, so the next tick selects 2.
        {
            TickRecorder recorder(1);
            StartFast();
            ASSERT_TRUE(recorder.Wait());
        }
        ASSERT_EQ(frmSlide->intSlideNext, 2);
        frmSlide->mnuFileRClick(frmSlide);
        frmSlide->timSlide->SetInterval(100000);

        const QPoint grip = ThumbCentre(bar);
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        ASSERT_TRUE(bar->isSliderDown());
        const int step = (bar->width() - 2 * bar->height()) / 3;
        QTest::mouseMove(bar, grip + QPoint(step, 0));
        EXPECT_TRUE(bar->isSliderDown());
        EXPECT_EQ(bar->value(), 2);
        EXPECT_EQ(Caption(), PathOf(2));
        EXPECT_EQ(PictureNumber(), 2);
        QTest::mouseMove(bar, QPoint(bar->width() - 1, grip.y()));
        EXPECT_EQ(bar->value(), 3);
        EXPECT_EQ(Caption(), PathOf(3));
        EXPECT_EQ(PictureNumber(), 3);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() - 1, grip.y()));

        TickRecorder recorder(1);
        frmSlide->timSlide->SetInterval(3);
        ASSERT_TRUE(recorder.Wait());
        EXPECT_EQ(recorder.ticks[0].picture, 2) << "the tick selects intSlideNext, not the one after the dragged";
        EXPECT_EQ(recorder.ticks[0].caption, PathOf(2));
    });
}

TEST_F(SlideShowTest, ScrollBarKeysAndTroughStepByOne) {
    BuildStrip(4);
    WithSlideShow([&] {
        QScrollBar* bar = frmSlide->scbSlide;
        EXPECT_EQ(QApplication::focusWidget(), bar);
        QTest::keyClick(bar, Qt::Key_Right);
        EXPECT_EQ(bar->value(), 2);
        QTest::keyClick(bar, Qt::Key_PageDown);
        EXPECT_EQ(bar->value(), 3);
        QTest::keyClick(bar, Qt::Key_End);
        EXPECT_EQ(bar->value(), 4);
        EXPECT_EQ(Caption(), PathOf(4));
        QTest::keyClick(bar, Qt::Key_Home);
        EXPECT_EQ(bar->value(), 1);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - bar->height() - 2, bar->height() / 2));
        EXPECT_EQ(bar->value(), 2) << "a click in the trough moves by 1";
        EXPECT_EQ(Caption(), PathOf(2));
    });
}

TEST_F(SlideShowTest, StopAndStartResumeWithTheNextPositionAfterAFullPeriod) {
    BuildStrip(3);
    WithSlideShow([&] {
        {
            TickRecorder recorder(2);
            StartFast();
            ASSERT_TRUE(recorder.Wait());  // stops the show after the second tick
        }
        EXPECT_FALSE(frmSlide->timSlide->Enabled());
        EXPECT_EQ(PictureNumber(), 2);
        EXPECT_EQ(frmSlide->intSlideNext, 3);

        frmSlide->timSlide->SetInterval(1000);
        QTest::qWait(60);
        frmSlide->mnuFileRClick(frmSlide);
        EXPECT_GT(frmSlide->timSlide->RemainingTime(), 980) << "the first tick is one full period after start";

        TickRecorder recorder(1);
        frmSlide->timSlide->SetInterval(3);
        ASSERT_TRUE(recorder.Wait());
        EXPECT_EQ(recorder.ticks[0].picture, 3);
    });
}

TEST_F(SlideShowTest, StartWhileRunningKeepsTheCountdown) {
    BuildStrip(3);
    WithSlideShow([&] {
        frmSlide->mnuFileRClick(frmSlide);
        QTest::qWait(120);
        const int before = frmSlide->timSlide->RemainingTime();
        ASSERT_LT(before, 900);
        frmSlide->mnuFileRClick(frmSlide);
        EXPECT_LE(frmSlide->timSlide->RemainingTime(), before);
        EXPECT_EQ(frmSlide->timSlide->Interval(), 1000);
    });
}

TEST_F(SlideShowTest, TheIntervalDialogStopsTheShowForGood) {
    BuildStrip(3);
    WithSlideShow([&] {
        frmSlide->mnuFileRClick(frmSlide);
        WithIntervalDialog([] { QTest::keyClick(frmSlide->scbSlide, Qt::Key_T, Qt::ControlModifier); },
                           [] {
                               EXPECT_TRUE(frmTime->IsModalShowing());
                               EXPECT_FALSE(frmSlide->timSlide->Enabled());
                           });
        EXPECT_TRUE(frmSlide->isVisible());
        EXPECT_FALSE(frmSlide->timSlide->Enabled());
        QTest::qWait(30);
        EXPECT_FALSE(frmSlide->timSlide->IsTicking());
    });
}

TEST_F(SlideShowTest, ClosingStopsTheShowAndTheNextOpeningFindsItStopped) {
    BuildStrip(3);
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"menu", [] { frmSlide->mnuFileC->trigger(); }},
        {"tool bar", [] { QTest::mouseClick(frmSlide->tlbMainClose, Qt::LeftButton); }},
        {"close box", [] { frmSlide->Close(); }},
    };
    for (const auto& [name, close] : ways) {
        WithSlideShow([&] {
            EXPECT_FALSE(frmSlide->timSlide->Enabled()) << name;
            frmSlide->mnuFileRClick(frmSlide);
            close();
            EXPECT_FALSE(frmSlide->isVisible()) << name;
        });
        EXPECT_FALSE(frmSlide->timSlide->Enabled()) << name;
        EXPECT_FALSE(frmSlide->timSlide->IsTicking()) << name;
    }
}

TEST_F(SlideShowTest, ReopeningAfterARebuildClampsThenWraps) {
    BuildStrip(3);
    WithSlideShow([&] {
        TickRecorder recorder(2);
        StartFast();
        ASSERT_TRUE(recorder.Wait());
    });
    ASSERT_EQ(frmSlide->intSlideNext, 3);

    BuildStrip(2, QStringLiteral("new"));
    WithSlideShow([&] {
        EXPECT_EQ(Caption(), PathOf(1));
        EXPECT_EQ(PictureNumber(), 1);
        EXPECT_EQ(frmSlide->scbSlide->value(), 1);
        EXPECT_EQ(frmSlide->scbSlide->maximum(), 2);
        EXPECT_EQ(frmSlide->intSlideNext, 3);
        TickRecorder recorder(2);
        StartFast();
        ASSERT_TRUE(recorder.Wait());
        EXPECT_EQ(recorder.ticks[0].picture, 2);
        EXPECT_EQ(recorder.ticks[0].caption, PathOf(2));
        EXPECT_EQ(recorder.ticks[0].nextPosition, 1);
        EXPECT_EQ(recorder.ticks[1].picture, 1);
        EXPECT_EQ(recorder.ticks[1].caption, PathOf(1));
    });
}

TEST_F(SlideShowTest, ShortcutsAndToolBarButtonsRunTheirCommands) {
    BuildStrip(2);
    WithSlideShow([&] {
        QWidget* focus = frmSlide->scbSlide;
        QTest::keyClick(focus, Qt::Key_F5);
        EXPECT_TRUE(frmSlide->timSlide->Enabled()) << "F5 starts";
        QTest::keyClick(focus, Qt::Key_F4);
        EXPECT_FALSE(frmSlide->timSlide->Enabled()) << "F4 stops";

        QTest::mouseClick(frmSlide->tlbMainSlide, Qt::LeftButton);
        EXPECT_TRUE(frmSlide->timSlide->Enabled());
        QTest::mouseClick(frmSlide->tlbMainStop, Qt::LeftButton);
        EXPECT_FALSE(frmSlide->timSlide->Enabled());

        frmSlide->mnuFileRClick(frmSlide);
        WithIntervalDialog([] { QTest::mouseClick(frmSlide->tlbMainTime, Qt::LeftButton); },
                           [] { EXPECT_FALSE(frmSlide->timSlide->Enabled()); });
    });
}

TEST_F(SlideShowTest, F5InTheMainWindowOpensTheShowAndF5InsideStartsIt) {
    BuildStrip(2);
    frmMain->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frmMain));
    WithSlideShow(
        [&] {
            EXPECT_EQ(Caption(), PathOf(1));
            EXPECT_FALSE(frmSlide->timSlide->Enabled());
            EXPECT_EQ(QApplication::activeModalWidget(), frmSlide) << "the main window refuses input";
            QTest::keyClick(frmSlide->scbSlide, Qt::Key_F5);
            EXPECT_TRUE(frmSlide->timSlide->Enabled());
        },
        [] { QTest::keyClick(frmMain, Qt::Key_F5); });
    WithSlideShow([&] { EXPECT_EQ(Caption(), PathOf(1)); },
                  [] { QTest::mouseClick(frmMain->tlbMainSlide, Qt::LeftButton); });
}

TEST_F(SlideShowTest, TheChosenIntervalTakesEffectAtTheNextStart) {
    BuildStrip(2);
    WithSlideShow([&] {
        WithIntervalDialog([] { frmSlide->mnuViewT->trigger(); },
                           [] {
                               EXPECT_EQ(frmTime->tkbSlide->value(), 1) << "the first opening shows 1";
                               QTest::keyClick(frmTime->tkbSlide, Qt::Key_End);
                               EXPECT_EQ(frmTime->tkbSlide->value(), 10);
                           });
        EXPECT_EQ(frmSlide->intSlideTime, 10);
        EXPECT_FALSE(frmSlide->timSlide->Enabled());
        frmSlide->mnuFileRClick(frmSlide);
        EXPECT_EQ(frmSlide->timSlide->Interval(), 10000);
        EXPECT_GT(frmSlide->timSlide->RemainingTime(), 9900);

        WithIntervalDialog([] { frmSlide->mnuViewT->trigger(); },
                           [] { EXPECT_EQ(frmTime->tkbSlide->value(), 10) << "the dialog keeps the last value"; });
        EXPECT_EQ(frmSlide->intSlideTime, 10) << "closing without moving keeps the interval";
    });
}
