#include "tests/browser/strip_fixture.h"

#include <QApplication>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>
#include <algorithm>

#include "browser/frm_main.h"
#include "tests/support/bmp_fixtures.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/file_list_box.h"
#include "toolkit/image.h"

void StripFixture::SetUp() {
    AppFixture::SetUp();
    ASSERT_TRUE(folder_.isValid());
}

QImage StripFixture::Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void StripFixture::WriteBmp(const QString& name, const QImage& image) const {
    ASSERT_TRUE(bmp::WriteFile(PathOf(name), bmp::Bmp24(image)));
}

QString StripFixture::NumberedName(int index) { return QStringLiteral("p%1.bmp").arg(index, 3, 10, QChar(u'0')); }

void StripFixture::WriteBmps(int count, int width, int height) const {
    const QByteArray bytes = bmp::Bmp24(Solid(width, height, qRgb(0, 128, 255)));
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(bmp::WriteFile(PathOf(NumberedName(i)), bytes));
}

void StripFixture::StartInFolder() {
    StartProgram();
    EnterFolder(Folder());
    frmMain->resize(800, 600);
    frmMain->show();
    frmMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain));
}

void StripFixture::EnterFolder(const QString& folder) {
    frmMain->trvDir->SetCurrentFolder(folder);
    ASSERT_EQ(frmMain->trvDir->CurrentFolder(), folder);
}

void StripFixture::ClickEntry(int index, Qt::KeyboardModifiers modifiers) {
    auto* list = frmMain->lstFile;
    QListWidgetItem* entry = list->item(index);
    ASSERT_NE(entry, nullptr);
    list->scrollToItem(entry);
    const QPoint centre = list->visualItemRect(entry).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, centre);
}

void StripFixture::SelectRange(int first, int last) {
    ClickEntry(first);
    ClickEntry(last, Qt::ShiftModifier);
}

void StripFixture::SelectAll() {
    ClickEntry(0);
    QTest::keyClick(frmMain->lstFile, Qt::Key_End, Qt::ShiftModifier);
}

void StripFixture::ClickThumbnail(int index) {
    TImage* box = frmMain->imgThumb[index];
    ASSERT_NE(box, nullptr);
    frmMain->scbGrh->ensureWidgetVisible(box, 0, 0);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(80, 60));
}

QString StripFixture::StatusText() const { return frmMain->stbMain->currentMessage(); }

std::vector<TImage*> StripFixture::BoxesInStrip() const {
    std::vector<TImage*> boxes;
    for (QObject* child : frmMain->scbGrh->widget()->children())
        if (auto* box = dynamic_cast<TImage*>(child))
            boxes.push_back(box);
    std::sort(boxes.begin(), boxes.end(), [](TImage* a, TImage* b) { return a->x() < b->x(); });
    return boxes;
}
