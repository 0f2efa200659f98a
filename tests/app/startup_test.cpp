#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSlider>
#include <QTimer>

#include "about/frm_about.h"
#include "app/startup.h"
#include "browser/frm_main.h"
#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "tests/support/app_fixture.h"
#include "toolkit/application.h"

using StartUpTest = AppFixture;

TEST_F(StartUpTest, CreatesFourWindowsInOrderWithMainFirst) {
    StartProgram();
    ASSERT_NE(frmMain, nullptr);
    ASSERT_NE(frmAbout, nullptr);
    ASSERT_NE(frmSlide, nullptr);
    ASSERT_NE(frmTime, nullptr);
    EXPECT_EQ(Application->MainForm, frmMain);
    EXPECT_EQ(Application->Title, QStringLiteral("クインブリ"));
    // frmTime read its interval from the already existing frmSlide.
    EXPECT_EQ(frmTime->tkbSlide->value(), frmSlide->intSlideTime);
    EXPECT_EQ(frmSlide->intSlideNext, 1);
    EXPECT_FALSE(frmAbout->isVisible());
    EXPECT_FALSE(frmSlide->isVisible());
    EXPECT_FALSE(frmTime->isVisible());
    EXPECT_EQ(frmMain->strAppDir, ProgramDir());
    EXPECT_EQ(frmMain->intThumbCount, 0);
    EXPECT_EQ(frmMain->intViewCount, 0);
}

TEST_F(StartUpTest, ErrorsAfterStartUpAreSilent) {
    StartProgram();
    MessageBoxRecorder boxes;
    Guard(frmMain, [] { throw EFOpenError(QStringLiteral("ファイル x は開けません")); });
    EXPECT_TRUE(boxes.texts.isEmpty());
}

TEST_F(StartUpTest, ClosingOtherWindowsHidesTheSameObject) {
    StartProgram();
    TfrmAbout* about = frmAbout;
    about->show();
    about->close();
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(frmAbout, about);
    about->show();
    EXPECT_TRUE(about->isVisible());
    about->close();
}

TEST_F(StartUpTest, ClosingTheMainWindowEndsTheEventLoop) {
    StartProgram();
    frmMain->show();
    auto* view = new TForm(frmMain);
    view->show();
    QTimer::singleShot(0, frmMain, [] { frmMain->Close(); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&failsafe, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::quit();
    });
    failsafe.start(5000);
    QCoreApplication::exec();
    EXPECT_FALSE(timedOut);
    StopProgram();
    EXPECT_EQ(frmMain, nullptr);
}

TEST_F(StartUpTest, ModalShowingReturnsWhenTheWindowCloses) {
    StartProgram();
    frmMain->show();
    QTimer::singleShot(0, frmSlide, [] {
        EXPECT_TRUE(frmSlide->isVisible());
        EXPECT_TRUE(frmSlide->IsModalShowing());
        frmSlide->Close();
    });
    frmSlide->ShowModal();
    EXPECT_FALSE(frmSlide->isVisible());
    EXPECT_FALSE(frmSlide->IsModalShowing());
}
