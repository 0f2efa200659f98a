#include "tests/slideshow/slide_fixture.h"

#include <QDataStream>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "browser/frm_main.h"
#include "picture/picture.h"
#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "toolkit/image.h"

void WriteBmp(const QString& path, int width) {
    const quint32 stride = (static_cast<quint32>(width) * 3 + 3) / 4 * 4;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint8('B') << quint8('M') << quint32(54 + stride) << quint32(0) << quint32(54);
    out << quint32(40) << qint32(width) << qint32(1) << quint16(1) << quint16(24) << quint32(0) << stride
        << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    for (quint32 i = 0; i < stride; ++i)
        out << quint8(i * 37);
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
        const QString path = ProgramDir() + prefix + QString::number(i + 1) + ".bmp";
        WriteBmp(path, i + 1);
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

void SlideFixture::WithSlideShow(const std::function<void()>& body) {
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

QString SlideFixture::Caption() const { return frmSlide->windowTitle(); }

int SlideFixture::PictureNumber() const { return frmSlide->imgSlide->Picture()->Width(); }
