#include "tests/slideshow/slide_fixture.h"

#include <QFile>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "browser/frm_main.h"
#include "picture/picture.h"
#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "toolkit/image.h"

QRgb PictureColour(int number) { return qRgb(60 * number % 256, 90, 200); }

void WritePicture(const QString& path, int width) {
    QImage image(width, 1, QImage::Format_RGB32);
    image.fill(PictureColour(width));
    ASSERT_TRUE(image.save(path, "JPG"));
}

void SlideFixture::SetUp() {
    AppFixture::SetUp();
    StartProgram();
}

void SlideFixture::TearDown() {
    if (started_)
        FreeStrip();
    AppFixture::TearDown();
}

void SlideFixture::FreeStrip() {
    for (int i = 0; i < frmMain->intThumbCount; ++i) {
        delete frmMain->imgThumb[i];
        frmMain->imgThumb[i] = nullptr;
    }
    frmMain->intThumbCount = 0;
    paths_.clear();
}

void SlideFixture::BuildStrip(int count, const QString& prefix) {
    FreeStrip();
    for (int i = 0; i < count; ++i) {
        const QString path = ProgramDir() + prefix + QString::number(i + 1) + ".jpg";
        WritePicture(path, i + 1);
        auto* thumbnail = new TImage(frmMain);
        thumbnail->Picture()->LoadFromFile(path);
        thumbnail->SetHint(path);
        frmMain->imgThumb[i] = thumbnail;
        frmMain->intThumbCount = i + 1;
        paths_ << path;
        // The show must never read a file: take the file away.
        QFile::remove(path);
    }
}

void SlideFixture::WithSlideShow(const std::function<void()>& body, const std::function<void()>& open) {
    bool ran = false;
    QTimer inside;
    inside.setSingleShot(true);
    QObject::connect(&inside, &QTimer::timeout, [&] {
        ran = true;
        EXPECT_TRUE(QTest::qWaitForWindowActive(frmSlide));
        body();
        if (frmSlide->isVisible())
            frmSlide->Close();
    });
    inside.start(0);
    if (open)
        open();
    else
        frmMain->mnuSlideOpenClick(frmMain);
    inside.stop();
    EXPECT_TRUE(ran) << "the slide show did not open";
    EXPECT_FALSE(frmSlide->isVisible());
}

void SlideFixture::WithIntervalDialog(const std::function<void()>& open, const std::function<void()>& body) {
    bool ran = false;
    QTimer inside;
    inside.setSingleShot(true);
    QObject::connect(&inside, &QTimer::timeout, [&] {
        ran = true;
        EXPECT_TRUE(QTest::qWaitForWindowActive(frmTime));
        body();
        if (frmTime->isVisible())
            frmTime->Close();
    });
    inside.start(0);
    open();
    inside.stop();
    EXPECT_TRUE(ran) << "the interval dialog did not open";
    EXPECT_FALSE(frmTime->isVisible());
}

QString SlideFixture::Caption() const {
    // The title as the window system shows it.
    return frmSlide->windowHandle() ? frmSlide->windowHandle()->title() : frmSlide->windowTitle();
}

int SlideFixture::PictureNumber() const { return frmSlide->imgSlide->Picture()->Width(); }
