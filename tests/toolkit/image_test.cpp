// The picture box on real widgets, with real BMP and JPEG files: placement,
// pixels, repainting, errors at decoding, clicks and alignment.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <set>
#include <vector>

#include "picture/jpeg_image.h"
#include "picture/stretch_draw.h"
#include "tests/support/bmp_fixtures.h"
#include "tests/support/jpeg_fixtures.h"
#include "toolkit/application.h"
#include "toolkit/image.h"

namespace {

const QRgb kBackground = qRgb(12, 200, 34);

// Every pixel of its own colour, so a pixel tells where in the picture it came from.
QImage Pattern(int width, int height, int blue = 77) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, blue));
    return image;
}

QImage Filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Records what reaches the error routine while it lives.
struct ErrorRecorder {
    ErrorRecorder() {
        Application->OnException = [this](QObject* sender, const Exception& error) {
            senders.push_back(sender);
            messages << error.Message();
        };
    }
    ~ErrorRecorder() { Application->OnException = nullptr; }
    std::vector<QObject*> senders;
    QStringList messages;
};

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// A holder with its own background, as the strip and the windows have.
class Holder : public QWidget {
public:
    explicit Holder(QSize size, QWidget* parent = nullptr) : QWidget(parent) {
        QPalette palette;
        palette.setColor(QPalette::Window, kBackground);
        setPalette(palette);
        setAutoFillBackground(true);
        resize(size);
    }
};

class ImageTest : public ::testing::Test {
protected:
    QString WriteBmp(const QString& name, const QImage& image) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(bmp::WriteFile(path, bmp::Bmp24(image)));
        return path;
    }
    QString WriteJpeg(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return path;
    }
    static QImage Render(QWidget& widget) {
        QImage image(widget.size(), QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 255));
        widget.render(&image);
        return image;
    }
    // What a shown window really has on screen after its pending repaints.
    static QImage OnScreen(QWidget& window) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    static void Flush() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    static void ExpectOnlyBackgroundOutside(const QImage& image, const QRect& placement) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!placement.contains(x, y)) {
                    ASSERT_EQ(image.pixel(x, y), kBackground) << x << "," << y;
                }
    }
    static const TJPEGImage* Jpeg(const TImage& box) {
        return dynamic_cast<const TJPEGImage*>(box.Picture()->Graphic());
    }

    QTemporaryDir dir_;
};

TEST_F(ImageTest, StartsAsAnEmptyWindowlessBoxOf105) {
    Holder holder(QSize(300, 200));
    TImage box(&holder);
    EXPECT_EQ(box.geometry(), QRect(0, 0, 105, 105));
    EXPECT_TRUE(box.Picture()->IsEmpty());
    EXPECT_FALSE(box.Center() || box.Proportional() || box.Stretch());
    EXPECT_EQ(box.Align(), TImage::TAlign::None);
    EXPECT_FALSE(box.testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_FALSE(box.autoFillBackground());
    holder.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder));
    EXPECT_FALSE(box.testAttribute(Qt::WA_NativeWindow));
    EXPECT_EQ(box.internalWinId(), WId(0));
    // An empty box shows the holder's background.
    const QImage shown = Render(holder);
    ExpectOnlyBackgroundOutside(shown, QRect());
}

TEST_F(ImageTest, SmallPictureAtItsOwnSizeInTheMiddleOfAThumbnail) {
    Holder holder(QSize(200, 150));
    TImage box(&holder);
    box.setGeometry(10, 10, 160, 120);
    box.SetCenter(true);
    box.SetProportional(true);
    const QImage picture = Pattern(80, 60);
    box.Picture()->LoadFromFile(WriteBmp("small.bmp", picture));
    EXPECT_EQ(box.PlacementRect(), QRect(40, 30, 80, 60));

    const QImage shown = Render(holder);
    const QRect placed(50, 40, 80, 60);  // in holder coordinates
    EXPECT_EQ(shown.copy(placed), picture);
    ExpectOnlyBackgroundOutside(shown, placed);
}

TEST_F(ImageTest, OnePixelWiderThanTheThumbnailIsReducedTo160By119) {
    Holder holder(QSize(160, 120));
    TImage box(&holder);
    box.setGeometry(0, 0, 160, 120);
    box.SetCenter(true);
    box.SetProportional(true);
    const QImage picture = Pattern(161, 120);
    box.Picture()->LoadFromFile(WriteBmp("wide.bmp", picture));
    ASSERT_EQ(box.PlacementRect(), QRect(0, 0, 160, 119));

    const QImage shown = Render(holder);
    const std::vector<int> xs = StretchSourceMap(0, 160, 161, 160);
    const std::vector<int> ys = StretchSourceMap(0, 119, 120, 119);
    std::set<int> columns;
    for (int y = 0; y < 119; ++y)
        for (int x = 0; x < 160; ++x) {
            const QRgb pixel = shown.pixel(x, y);
            ASSERT_EQ(pixel, picture.pixel(xs[size_t(x)], ys[size_t(y)])) << x << "," << y;
            columns.insert(qRed(pixel));
        }
    EXPECT_EQ(columns.size(), 160u);  // exactly one column dropped, none blended
    ExpectOnlyBackgroundOutside(shown, QRect(0, 0, 160, 119));
}

TEST_F(ImageTest, WindowSizedBoxEnlargesWithEveryPixelTakenFromThePicture) {
    Holder window(QSize(640, 480));
    TImage box(&window);
    box.SetAlign(TImage::TAlign::Client);
    box.SetCenter(true);
    box.SetProportional(true);
    box.SetStretch(true);
    const QImage picture = Pattern(7, 5);
    box.Picture()->LoadFromFile(WriteBmp("tiny.bmp", picture));
    window.resize(632, 446);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(box.geometry(), QRect(0, 0, 632, 446));
    const QRect placed = box.PlacementRect();
    ASSERT_EQ(placed, QRect(4, 0, 624, 446));  // 446 * 7/5 = 624.4

    const QImage shown = Render(window);
    const std::vector<int> xs = StretchSourceMap(0, placed.width(), 7, placed.width());
    const std::vector<int> ys = StretchSourceMap(0, placed.height(), 5, placed.height());
    std::set<QRgb> seen;
    for (int y = 0; y < placed.height(); ++y)
        for (int x = 0; x < placed.width(); ++x) {
            const QRgb pixel = shown.pixel(placed.x() + x, placed.y() + y);
            ASSERT_EQ(pixel, picture.pixel(xs[size_t(x)], ys[size_t(y)])) << x << "," << y;
            seen.insert(pixel);
        }
    EXPECT_EQ(seen.size(), 35u);  // every source pixel shows, nothing in between
    ExpectOnlyBackgroundOutside(shown, placed);
}

TEST_F(ImageTest, BoxOfNoHeightDrawsNothingAndRaisesNothing) {
    ErrorRecorder errors;
    Holder holder(QSize(200, 100));
    TImage broken(&holder);
    broken.setGeometry(0, 10, 100, 0);
    broken.SetCenter(true);
    broken.SetProportional(true);
    broken.SetStretch(true);
    broken.Picture()->LoadFromFile(WriteJpeg("empty.jpg", QByteArray()));  // raises when first drawn
    TImage good(&holder);
    good.setGeometry(100, 10, 100, 0);
    good.Picture()->LoadFromFile(WriteJpeg("good.jpg", EncodeTestJpeg()));
    holder.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder));
    const QImage shown = OnScreen(holder);
    ExpectOnlyBackgroundOutside(shown, QRect());
    ExpectOnlyBackgroundOutside(Render(holder), QRect());
    EXPECT_TRUE(errors.messages.isEmpty());
    EXPECT_EQ(Jpeg(broken)->DecodedBitmap(), nullptr);
    EXPECT_EQ(Jpeg(good)->DecodedBitmap(), nullptr);
}

TEST_F(ImageTest, ANarrowerPictureLeavesNothingOfThePreviousOne) {
    Holder window(QSize(200, 100));
    TImage box(&window);
    box.SetAlign(TImage::TAlign::Client);
    box.SetCenter(true);
    box.SetProportional(true);
    box.SetStretch(true);
    box.Picture()->LoadFromFile(WriteBmp("wide.bmp", Filled(40, 20, qRgb(250, 0, 0))));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage before = OnScreen(window);
    ASSERT_EQ(before.pixel(0, 0), qRgb(250, 0, 0));
    ASSERT_EQ(before.pixel(199, 99), qRgb(250, 0, 0));

    const QImage narrow = Pattern(10, 20, 250);
    box.Picture()->LoadFromFile(WriteBmp("narrow.bmp", narrow));
    const QImage after = OnScreen(window);
    const QRect placed(75, 0, 50, 100);
    ASSERT_EQ(box.PlacementRect(), placed);
    ExpectOnlyBackgroundOutside(after, placed);
    EXPECT_EQ(after.copy(placed), narrow.scaled(50, 100));  // whole-number factors
}

TEST_F(ImageTest, FlagChangesRepaintAndTheCurrentValueDoesNot) {
    Holder window(QSize(200, 100));
    TImage box(&window);
    box.SetAlign(TImage::TAlign::Client);
    box.Picture()->LoadFromFile(WriteBmp("p.bmp", Filled(20, 10, qRgb(0, 0, 250))));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Flush();
    PaintCounter counter(&box);
    box.SetStretch(false);
    box.SetCenter(false);
    box.SetProportional(false);
    Flush();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(OnScreen(window).pixel(199, 99), kBackground);

    box.SetStretch(true);
    Flush();
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(OnScreen(window).pixel(199, 99), qRgb(0, 0, 250));
    const int afterStretch = counter.paints;
    box.SetProportional(true);
    box.SetCenter(true);
    const QImage shown = OnScreen(window);
    EXPECT_GT(counter.paints, afterStretch);
    EXPECT_EQ(box.PlacementRect(), QRect(0, 0, 200, 100));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 250));
}

TEST_F(ImageTest, AlignedBoxFollowsItsHolderAndRepaintsOnResize) {
    Holder window(QSize(300, 100));
    TImage box(&window);
    box.SetAlign(TImage::TAlign::Client);
    box.SetCenter(true);
    box.SetProportional(true);
    box.SetStretch(true);
    box.Picture()->LoadFromFile(WriteBmp("sq.bmp", Filled(10, 10, qRgb(0, 0, 250))));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ExpectOnlyBackgroundOutside(OnScreen(window), QRect(100, 0, 100, 100));

    window.resize(100, 300);  // narrowed below the picture's proportions
    QImage shown = OnScreen(window);
    ASSERT_EQ(box.geometry(), QRect(0, 0, 100, 300));
    ASSERT_EQ(box.PlacementRect(), QRect(0, 100, 100, 100));
    ExpectOnlyBackgroundOutside(shown, QRect(0, 100, 100, 100));
    EXPECT_EQ(shown.pixel(50, 150), qRgb(0, 0, 250));

    box.SetAlign(TImage::TAlign::None);
    window.resize(400, 400);
    EXPECT_EQ(box.geometry(), QRect(0, 0, 100, 300));
}

TEST_F(ImageTest, MovedOrResizedBoxRepaintsItsOldAndNewRectangles) {
    Holder window(QSize(300, 200));
    TImage box(&window);
    box.setGeometry(0, 0, 100, 100);
    box.SetStretch(true);
    box.Picture()->LoadFromFile(WriteBmp("p.bmp", Filled(10, 10, qRgb(250, 0, 250))));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ExpectOnlyBackgroundOutside(OnScreen(window), QRect(0, 0, 100, 100));

    box.move(150, 50);
    ExpectOnlyBackgroundOutside(OnScreen(window), QRect(150, 50, 100, 100));
    box.resize(40, 30);
    const QImage shown = OnScreen(window);
    ExpectOnlyBackgroundOutside(shown, QRect(150, 50, 40, 30));
    EXPECT_EQ(shown.pixel(189, 79), qRgb(250, 0, 250));
}

TEST_F(ImageTest, BoxReachingBeyondItsHolderIsClippedToTheHolder) {
    Holder window(QSize(200, 200));
    Holder inner(QSize(100, 100), &window);  // the box's holder, at the window's top left
    TImage box(&inner);
    box.setGeometry(50, 50, 100, 100);
    box.SetStretch(true);
    box.Picture()->LoadFromFile(WriteBmp("red.bmp", Filled(10, 10, qRgb(250, 0, 0))));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ExpectOnlyBackgroundOutside(OnScreen(window), QRect(50, 50, 50, 50));
    box.update();
    box.update(QRect(40, 40, 60, 60));
    ExpectOnlyBackgroundOutside(OnScreen(window), QRect(50, 50, 50, 50));
}

TEST_F(ImageTest, DecodingErrorIsHandledInThePaintAndNotRaisedAgain) {
    ErrorRecorder errors;
    Holder window(QSize(320, 120));
    TImage broken(&window);
    broken.setGeometry(0, 0, 160, 120);
    broken.Picture()->LoadFromFile(WriteJpeg("empty.jpg", QByteArray()));
    TImage good(&window);
    good.setGeometry(160, 0, 160, 120);
    good.SetCenter(true);
    good.SetProportional(true);
    good.Picture()->LoadFromFile(WriteBmp("good.bmp", Filled(20, 10, qRgb(0, 0, 250))));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QImage shown = OnScreen(window);
    ASSERT_EQ(errors.messages.size(), 1);
    EXPECT_TRUE(errors.messages[0].startsWith(QStringLiteral("JPEG エラー #")));
    EXPECT_EQ(errors.senders[0], &broken);
    ExpectOnlyBackgroundOutside(shown, QRect(230, 55, 20, 10));  // the other box still painted
    EXPECT_EQ(shown.pixel(240, 60), qRgb(0, 0, 250));

    broken.update();
    good.update();
    shown = OnScreen(window);
    EXPECT_EQ(errors.messages.size(), 1);
    ExpectOnlyBackgroundOutside(shown, QRect(230, 55, 20, 10));
}

TEST_F(ImageTest, ATruncatedJpegDrawsWhatItsDecodingLeft) {
    ErrorRecorder errors;
    TestJpegOptions options;
    options.width = 64;
    options.height = 48;
    QByteArray bytes = EncodeTestJpeg(options);
    bytes.chop(bytes.size() / 3);
    Holder window(QSize(64, 48));
    TImage box(&window);
    box.SetAlign(TImage::TAlign::Client);
    box.Picture()->LoadFromFile(WriteJpeg("cut.jpg", bytes));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage shown = OnScreen(window);
    EXPECT_TRUE(errors.messages.isEmpty());
    ASSERT_NE(Jpeg(box)->DecodedBitmap(), nullptr);
    EXPECT_EQ(shown, ToQImage(*box.Picture()->Graphic()->PixelsForDrawing()));
}

TEST_F(ImageTest, JpegScrolledOutOfViewIsDecodedOnlyWhenScrolledIn) {
    QScrollArea area;
    area.resize(220, 200);
    auto* strip = new Holder(QSize(180, 2000));
    TImage near(strip);
    near.setGeometry(0, 0, 160, 120);
    TImage far(strip);
    far.setGeometry(0, 1800, 160, 120);
    far.SetCenter(true);
    far.SetProportional(true);
    const QString file = WriteJpeg("photo.jpg", EncodeTestJpeg());
    near.Picture()->LoadFromFile(file);
    far.Picture()->LoadFromFile(file);
    area.setWidget(strip);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    Flush();
    EXPECT_NE(Jpeg(near)->DecodedBitmap(), nullptr);
    EXPECT_EQ(Jpeg(far)->DecodedBitmap(), nullptr);

    area.verticalScrollBar()->setValue(1000);  // still short of it
    Flush();
    EXPECT_EQ(Jpeg(far)->DecodedBitmap(), nullptr);

    area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
    const QImage shown = OnScreen(area);
    ASSERT_NE(Jpeg(far)->DecodedBitmap(), nullptr);
    const QPoint farOnScreen = far.mapTo(&area, far.PlacementRect().topLeft());
    EXPECT_NE(shown.pixel(farOnScreen + QPoint(5, 5)), kBackground);
}

TEST_F(ImageTest, ClickIsPressAndReleaseOverTheSameBox) {
    Holder window(QSize(300, 200));
    TImage box(&window);
    box.setGeometry(10, 10, 160, 120);
    int clicks = 0;
    TImage* sender = nullptr;
    box.OnClick = [&](TImage* s) {
        ++clicks;
        sender = s;
    };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, &box);

    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(200, 20));  // released outside
    EXPECT_EQ(clicks, 1);

    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(clicks, 1);

    // As the window system delivers it: press, release, double click, release.
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 2);  // a double click clicks once
}

TEST_F(ImageTest, ClickHandlerMayFreeTheBoxAndItsErrorsGoToTheErrorRoutine) {
    ErrorRecorder errors;
    Holder window(QSize(300, 200));
    auto* box = new TImage(&window);
    box->OnClick = [](TImage* self) {
        delete self;
        throw EInvalidGraphic(QStringLiteral("after"));
    };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(errors.messages, QStringList{QStringLiteral("after")});
    EXPECT_TRUE(window.findChildren<TImage*>().isEmpty());
}

TEST_F(ImageTest, HintIsTheTooltipAndCursorIsKept) {
    Holder window(QSize(300, 200));
    TImage box(&window);
    box.SetHint(QStringLiteral("/pics//a.jpg"));
    box.SetCursor(Qt::PointingHandCursor);
    EXPECT_EQ(box.toolTip(), QStringLiteral("/pics//a.jpg"));
    EXPECT_EQ(box.Hint(), QStringLiteral("/pics//a.jpg"));
    EXPECT_EQ(box.Cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ImageTest, CopiedPictureRepaintsTheBox) {
    Holder window(QSize(100, 100));
    TImage source(&window);
    source.setGeometry(0, 0, 0, 0);
    source.Picture()->LoadFromFile(WriteBmp("s.bmp", Filled(10, 10, qRgb(250, 250, 0))));
    TImage box(&window);
    box.SetAlign(TImage::TAlign::Client);
    box.SetStretch(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(OnScreen(window).pixel(50, 50), kBackground);
    box.SetPicture(source.Picture());
    EXPECT_EQ(OnScreen(window).pixel(50, 50), qRgb(250, 250, 0));
    box.SetPicture(nullptr);
    EXPECT_EQ(OnScreen(window).pixel(50, 50), kBackground);
}

}  // namespace
