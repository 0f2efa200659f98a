#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "browser/frm_main.h"
#include "tests/browser/strip_fixture.h"
#include "tests/support/jpeg_fixtures.h"
#include "toolkit/application.h"
#include "toolkit/file_list_box.h"
#include "picture/jpeg_image.h"
#include "toolkit/image.h"

namespace {

const QString kThumbLimit = QStringLiteral("サムネイルに表示できる画像は300枚までです。");

QString Selected(int n) { return QString::number(n) + QStringLiteral(" 個の画像ファイルを選択"); }

}  // namespace

using ThumbnailStripTest = StripFixture;

TEST_F(ThumbnailStripTest, LimitOfThreeHundred) {
    struct Case {
        int files;
    };
    for (const Case c : {Case{300}, Case{301}}) {
        SCOPED_TRACE(c.files);
        WriteBmps(c.files);
        StartInFolder();
        MessageBoxRecorder boxes;
        QString statusWhileMessageUp;
        QObject::connect(Application, &TApplication::messageBoxShown, frmMain,
                         [&] { statusWhileMessageUp = StatusText(); });
        SelectAll();

        EXPECT_EQ(boxes.texts, QStringList{kThumbLimit});
        EXPECT_EQ(statusWhileMessageUp, Selected(1));  // from the first click, before Shift+End
        EXPECT_EQ(StatusText(), Selected(300));
        ASSERT_EQ(frmMain->intThumbCount, 300);
        EXPECT_EQ(BoxesInStrip().size(), 300u);
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(frmMain->imgThumb[i]->Hint(), PathOf(NumberedName(i)));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        StopProgram();
    }
}

TEST_F(ThumbnailStripTest, CtrlClickRemovingTheLastSelectedFileEmptiesEverything) {
    WriteBmps(3);
    StartInFolder();
    ClickEntry(1);
    ASSERT_EQ(frmMain->intThumbCount, 1);
    ClickThumbnail(0);
    ASSERT_EQ(frmMain->intViewCount, 1);
    QPointer<QWidget> window = frmMain->frmView[0];
    QPointer<TImage> thumbnail = frmMain->imgThumb[0];

    ClickEntry(1, Qt::ControlModifier);

    EXPECT_EQ(frmMain->intThumbCount, 0);
    EXPECT_EQ(frmMain->intViewCount, 0);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(thumbnail.isNull());
    EXPECT_TRUE(BoxesInStrip().empty());
    EXPECT_EQ(frmMain->scbGrh->widget()->width(), 0);
    EXPECT_EQ(StatusText(), Selected(0));
}

TEST_F(ThumbnailStripTest, AddingOneFileRereadsAllAndFreesTheWindows) {
    WriteBmps(51);
    StartInFolder();
    SelectRange(0, 49);
    ASSERT_EQ(frmMain->intThumbCount, 50);
    ClickThumbnail(0);
    ClickThumbnail(7);
    QPointer<QWidget> first = frmMain->frmView[0];
    QPointer<QWidget> second = frmMain->frmView[1];
    first->close();  // hidden windows are freed too
    // The shown files change on disk: the rebuild must read them again.
    WriteBmp(NumberedName(0), Solid(30, 20, qRgb(255, 0, 0)));
    WriteBmp(NumberedName(49), Solid(10, 40, qRgb(0, 255, 0)));

    ClickEntry(50, Qt::ControlModifier);

    ASSERT_EQ(frmMain->intThumbCount, 51);
    EXPECT_EQ(BoxesInStrip().size(), 51u);
    EXPECT_EQ(frmMain->imgThumb[0]->Picture()->Width(), 30);
    EXPECT_EQ(frmMain->imgThumb[49]->Picture()->Height(), 40);
    EXPECT_EQ(frmMain->imgThumb[50]->Hint(), PathOf(NumberedName(50)));
    EXPECT_EQ(frmMain->intViewCount, 0);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(StatusText(), Selected(51));
}

TEST_F(ThumbnailStripTest, BoxesAndScrollRange) {
    WriteBmps(10);
    StartInFolder();
    SelectRange(0, 9);
    ASSERT_EQ(frmMain->intThumbCount, 10);
    const std::vector<TImage*> boxes = BoxesInStrip();
    ASSERT_EQ(boxes.size(), 10u);
    for (int n = 0; n < 10; ++n) {
        TImage* box = frmMain->imgThumb[n];
        ASSERT_EQ(boxes[n], box);
        EXPECT_EQ(box->geometry(), QRect(n * 168 + 8, 8, 160, 120));
        EXPECT_TRUE(box->Proportional());
        EXPECT_TRUE(box->Center());
        EXPECT_FALSE(box->Stretch());
        EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(box->Hint(), Folder() + "/" + NumberedName(n));
    }
    EXPECT_EQ(frmMain->imgThumb[4]->pos(), QPoint(680, 8));
    QScrollArea* strip = frmMain->scbGrh;
    EXPECT_EQ(strip->widget()->size(), QSize(1680, 128));
    QApplication::processEvents();
    EXPECT_TRUE(strip->horizontalScrollBar()->isVisible());
    EXPECT_EQ(strip->horizontalScrollBar()->maximum(), 1680 - strip->viewport()->width());
    EXPECT_FALSE(strip->verticalScrollBar()->isVisible());

    // Scrolled to the end, a new selection starts again at the strip's start.
    strip->horizontalScrollBar()->setValue(strip->horizontalScrollBar()->maximum());
    ClickEntry(3);
    QApplication::processEvents();
    EXPECT_EQ(strip->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(strip->widget()->size(), QSize(168, 128));
    EXPECT_FALSE(strip->horizontalScrollBar()->isVisible());
    EXPECT_EQ(frmMain->imgThumb[0]->pos(), QPoint(8, 8));
    EXPECT_EQ(strip->widget()->mapTo(strip->viewport(), QPoint(8, 8)), QPoint(8, 8));
}

TEST_F(ThumbnailStripTest, FileThatCannotBeLoadedKeepsAnEmptyCountedBox) {
    WriteBmp("a.bmp", Solid(20, 10, qRgb(255, 0, 0)));
    {
        QFile broken(PathOf("b.bmp"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("BM this is no bitmap");
    }
    {
        QFile broken(PathOf("c.jpg"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a jpeg either");
    }
    WriteBmp("d.bmp", Solid(30, 10, qRgb(0, 0, 255)));
    StartInFolder();
    MessageBoxRecorder boxes;
    SelectAll();

    ASSERT_EQ(frmMain->intThumbCount, 4);
    EXPECT_EQ(BoxesInStrip().size(), 4u);
    EXPECT_EQ(frmMain->imgThumb[0]->Picture()->Width(), 20);
    EXPECT_TRUE(frmMain->imgThumb[1]->Picture()->IsEmpty());
    EXPECT_TRUE(frmMain->imgThumb[2]->Picture()->IsEmpty());
    EXPECT_EQ(frmMain->imgThumb[3]->Picture()->Width(), 30);
    EXPECT_EQ(frmMain->imgThumb[3]->pos(), QPoint(3 * 168 + 8, 8));
    EXPECT_EQ(StatusText(), Selected(4));
    EXPECT_TRUE(boxes.texts.isEmpty());

    // The next rebuild frees the empty boxes like any other.
    ClickEntry(0);
    EXPECT_EQ(BoxesInStrip().size(), 1u);
    EXPECT_EQ(frmMain->intThumbCount, 1);
}

TEST_F(ThumbnailStripTest, OldThumbnailsStillOpenAfterAChangeOfFolder) {
    WriteBmps(2);
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    StartInFolder();
    SelectRange(0, 1);
    ASSERT_EQ(frmMain->intThumbCount, 2);

    EnterFolder(other.path());

    EXPECT_EQ(StatusText(), Selected(0));
    EXPECT_EQ(frmMain->intThumbCount, 2);
    EXPECT_EQ(BoxesInStrip().size(), 2u);
    ClickThumbnail(1);
    ASSERT_EQ(frmMain->intViewCount, 1);
    EXPECT_EQ(frmMain->frmView[0]->windowTitle(), PathOf(NumberedName(1)));
}

TEST_F(ThumbnailStripTest, EmptyPartsOfTheStripShowTheStripsHint) {
    WriteBmps(1);
    StartInFolder();
    ClickEntry(0);
    EXPECT_EQ(frmMain->scbGrh->toolTip(), QStringLiteral("画像をクリックすると、別ウィンドウに大きく表示されます"));
    EXPECT_TRUE(frmMain->scbGrh->widget()->toolTip().isEmpty());
    EXPECT_EQ(frmMain->imgThumb[0]->toolTip(), PathOf(NumberedName(0)));
}

namespace {

bool Decoded(const TImage* box) {
    const auto* jpeg = dynamic_cast<const TJPEGImage*>(box->Picture()->Graphic());
    return jpeg && jpeg->DecodedBitmap() != nullptr;
}

}  // namespace

TEST_F(ThumbnailStripTest, JpegThumbnailsAreDecodedOnlyWhenDrawn) {
    ASSERT_TRUE(WriteTestFile(PathOf("j000.jpg"), EncodeTestJpeg({.width = 2000, .height = 1500})));
    for (int i = 1; i < 300; ++i)
        ASSERT_TRUE(QFile::copy(PathOf("j000.jpg"), PathOf(QStringLiteral("j%1.jpg").arg(i, 3, 10, QChar(u'0')))));
    StartInFolder();
    ClickEntry(0);
    // When the limit message comes up the strip is built but nothing has been drawn yet.
    int decodedAtMessage = -1;
    MessageBoxRecorder boxes;
    QObject::connect(Application, &TApplication::messageBoxShown, frmMain, [&] {
        decodedAtMessage = 0;
        for (int i = 0; i < frmMain->intThumbCount; ++i)
            decodedAtMessage += Decoded(frmMain->imgThumb[i]) ? 1 : 0;
    });
    QTest::keyClick(frmMain->lstFile, Qt::Key_End, Qt::ShiftModifier);
    ASSERT_EQ(frmMain->intThumbCount, 300);
    EXPECT_EQ(decodedAtMessage, 0);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(frmMain->imgThumb[i]->Picture()->Width(), 2000);  // the size comes from the header

    // Drawn: only the thumbnails in the visible part of the strip.
    QScrollArea* strip = frmMain->scbGrh;
    auto expectDecodedExactlyTheVisibleOnes = [&] {
        const QRect visible(strip->widget()->mapFrom(strip->viewport(), QPoint(0, 0)), strip->viewport()->size());
        int decoded = 0;
        for (int i = 0; i < 300; ++i) {
            TImage* box = frmMain->imgThumb[i];
            if (box->geometry().intersects(visible))
                EXPECT_TRUE(Decoded(box)) << i;
            else if (!Decoded(box))
                continue;
            ++decoded;
        }
        return decoded;
    };
    strip->viewport()->grab();
    const int first = expectDecodedExactlyTheVisibleOnes();
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 10);
    EXPECT_FALSE(Decoded(frmMain->imgThumb[299]));

    strip->horizontalScrollBar()->setValue(strip->horizontalScrollBar()->maximum());
    strip->viewport()->grab();
    EXPECT_TRUE(Decoded(frmMain->imgThumb[299]));
    EXPECT_FALSE(Decoded(frmMain->imgThumb[150]));
    EXPECT_LT(expectDecodedExactlyTheVisibleOnes(), 20);
}
