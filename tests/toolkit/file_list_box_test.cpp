// The file list: which files it lists, in which order, and when OnClick fires.
#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/toolkit/pane_tree.h"
#include "toolkit/application.h"
#include "toolkit/file_list_box.h"

namespace {

const QString PictureMask = QStringLiteral("*.bmp;*.jpg;*.jpeg");

QStringList Entries(const TFileListBox& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << list.Item(i);
    return names;
}

QList<int> SelectedIndexes(const TFileListBox& list) {
    QList<int> rows;
    for (int i = 0; i < list.count(); ++i)
        if (list.Selected(i))
            rows << i;
    return rows;
}

TEST(FileListBox, ListsMatchingFilesOnlyAsStoredSortedIgnoringCase) {
    TPaneTree tree;
    for (const char* name : {"PHOTO.JPG", "a.Bmp", "b.JPEG", "c.gif", ".hidden.jpg", "notes.jpg.txt", "Zebra.jpg",
                             "写真 1.jpg", "apple.jpeg"})
        tree.File(QString::fromUtf8(name));
    tree.Folder("x.jpg");
    tree.Folder(".hidden");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.Path("pipe.jpg")).constData(), 0600), 0);
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(tree.Path("broken.jpg")).constData()), 0);
    ASSERT_EQ(::symlink("a.Bmp", QFile::encodeName(tree.Path("link.bmp")).constData()), 0);

    TFileListBox list;
    list.SetMask(PictureMask);
    list.SetDirectory(tree.Root());
    EXPECT_EQ(Entries(list), (QStringList{"a.Bmp", "apple.jpeg", "b.JPEG", "link.bmp", "PHOTO.JPG", "Zebra.jpg",
                                          QString::fromUtf8("写真 1.jpg")}));
}

TEST(FileListBox, WildcardMatching) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"PHOTO.JPG", "*.jpg", true},  {"photo.jpg", "*.JPG", true},  {"a.jpeg", "*.jpg", false},
        {"a.jpg.bak", "*.jpg", false}, {"abc", "a?c", true},          {"ac", "a?c", false},
        {"", "*", true},               {"x", "", false},              {"a*b", "a*b", true},
        {"aXbYb", "a*b", true},        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
        {"ÄRGER.jpg", "ä*.JPG", true}, {"[x].jpg", "*.jpg", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
            << c.name << " / " << c.pattern;
}

TEST(FileListBox, MaskIsCutAtSemicolonsWithoutTrimming) {
    TPaneTree tree;
    for (const char* name : {"a.jpg", "b.bmp", " c.gif"})
        tree.File(name);
    EXPECT_EQ(ListPictureFiles(tree.Root(), ";;"), QStringList());
    EXPECT_EQ(ListPictureFiles(tree.Root(), "*.bmp; *.gif"), (QStringList{" c.gif", "b.bmp"}));
    EXPECT_EQ(ListPictureFiles(tree.Root(), "*.gif; *.jpg"), QStringList{" c.gif"});
    // Each pattern adds its matches; a file matched twice is listed twice.
    EXPECT_EQ(ListPictureFiles(tree.Root(), "*.jpg;A*"), (QStringList{"a.jpg", "a.jpg"}));
}

TEST(FileListBox, FolderThatVanishesOrCannotBeReadListsNothing) {
    TPaneTree tree;
    tree.File("sub/a.jpg");
    TFileListBox list;
    list.SetMask(PictureMask);
    list.SetDirectory(tree.Path("sub"));
    ASSERT_EQ(list.count(), 1);
    tree.Remove("sub");
    list.Read();
    EXPECT_EQ(list.count(), 0);
    list.SetDirectory(tree.Path("never/was"));
    EXPECT_EQ(list.count(), 0);
}

TEST(FileListBox, NamesInAnyEncodingDoNotBreakTheList) {
    TPaneTree tree;
    tree.File(QString::fromUtf8("日本語 の 写真.JPG"));
    // Shift-JIS bytes that are not valid UTF-8.
    const QByteArray raw = QFile::encodeName(tree.Root()) + "/\x8e\xca\x90\x5e.jpg";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    TFileListBox list;
    list.SetMask(PictureMask);
    list.SetDirectory(tree.Root());
    EXPECT_EQ(Entries(list), QStringList{QString::fromUtf8("日本語 の 写真.JPG")});
    ::unlink(raw.constData());
}

// Rows of a shown list with five entries, for driving real input.
class FileListSelection : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "pear.jpg"})
            tree.File(name);
        list.SetMask(PictureMask);
        list.SetDirectory(tree.Root());
        list.resize(200, 120);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        On(&list, &TFileListBox::OnClick, &list, [this] { ++clicks; });
    }
    QPoint RowPoint(int row) const { return list.visualItemRect(list.item(row)).center(); }
    void Click(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, RowPoint(row));
    }
    // Clicks counted by one action, which must leave the given selection.
    void Expect(int expectedClicks, QList<int> selection) {
        EXPECT_EQ(clicks, expectedClicks);
        EXPECT_EQ(SelectedIndexes(list), selection);
        clicks = 0;
    }

    TPaneTree tree;
    TFileListBox list;
    int clicks = 0;
};

TEST_F(FileListSelection, MouseAndKeysFireOnClickOncePerChange) {
    Click(1);
    Expect(1, {1});
    Click(1);  // nothing changed
    Expect(0, {1});
    Click(3, Qt::ShiftModifier);
    Expect(1, {1, 2, 3});
    Click(2, Qt::ControlModifier);
    Expect(1, {1, 3});
    Click(0);
    Expect(1, {0});
    QTest::keyClick(list.viewport(), Qt::Key_Down);
    Expect(1, {1});
    QTest::keyClick(list.viewport(), Qt::Key_Down, Qt::ShiftModifier);
    Expect(1, {1, 2});
    QTest::keyClick(list.viewport(), Qt::Key_Down, Qt::ShiftModifier);
    Expect(1, {1, 2, 3});
    QTest::keyClick(list.viewport(), Qt::Key_Up);
    Expect(1, {2});
    QTest::keyClick(list.viewport(), Qt::Key_Up);
    Expect(1, {1});
}

TEST_F(FileListSelection, TypingSelectsTheEntryStartingWithTheTextAlone) {
    Click(1);
    Click(3, Qt::ShiftModifier);
    clicks = 0;
    QTest::keyClicks(list.viewport(), "pe");
    EXPECT_GE(clicks, 1);
    EXPECT_EQ(SelectedIndexes(list), QList<int>{4});
}

TEST_F(FileListSelection, DragReportsOnceAtRelease) {
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, RowPoint(0));
    QMouseEvent move(QEvent::MouseMove, RowPoint(1), list.viewport()->mapToGlobal(RowPoint(1)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &move);
    QMouseEvent move2(QEvent::MouseMove, RowPoint(2), list.viewport()->mapToGlobal(RowPoint(2)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &move2);
    EXPECT_EQ(clicks, 0);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, RowPoint(2));
    Expect(1, {0, 1, 2});
}

TEST_F(FileListSelection, ReReadingEmptiesTheSelectionWithoutOnClick) {
    Click(0);
    Click(2, Qt::ShiftModifier);
    clicks = 0;
    tree.File("e.jpg");
    list.Read();
    Expect(0, {});
    EXPECT_EQ(list.count(), 6);
    // The next user change is measured against the empty selection.
    Click(0);
    Expect(1, {0});
}

TEST_F(FileListSelection, RowsAre13HighWithNamesTwoPixelsIn) {
    EXPECT_EQ(list.visualItemRect(list.item(0)).height(), TFileListBox::RowHeight);
    EXPECT_EQ(list.visualItemRect(list.item(1)).top(), TFileListBox::RowHeight);
    // Row 1: neither selected nor carrying the focus frame.
    list.clearFocus();
    const QImage image = list.viewport()->grab().toImage();
    const QRgb background = image.pixel(image.width() - 1, 1);
    int leftmostInk = image.width();
    for (int y = TFileListBox::RowHeight; y < 2 * TFileListBox::RowHeight; ++y)
        for (int x = 0; x < 40; ++x)
            if (image.pixel(x, y) != background)
                leftmostInk = std::min(leftmostInk, x);
    EXPECT_GE(leftmostInk, TFileListBox::TextIndent);
    EXPECT_LE(leftmostInk, TFileListBox::TextIndent + 2);
}

}  // namespace
