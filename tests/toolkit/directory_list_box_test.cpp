// The folder list: its rows, their glyphs, opening rows and setting the folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <unistd.h>

#include "tests/toolkit/pane_tree.h"
#include "toolkit/application.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/file_list_box.h"

namespace {

struct TRow {
    QString name;
    TDirectoryListBox::TRowKind kind;
    int glyphLeft;
    bool operator==(const TRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TRow& row) {
    return out << row.name.toStdString() << "/" << row.kind << "@" << row.glyphLeft;
}

std::vector<TRow> Rows(const TDirectoryListBox& list) {
    std::vector<TRow> rows;
    for (int i = 0; i < list.count(); ++i)
        rows.push_back({list.item(i)->text(), list.RowKind(i), list.GlyphLeft(i)});
    return rows;
}

int RowOf(const TDirectoryListBox& list, const QString& name) {
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text() == name)
            return i;
    return -1;
}

class DirectoryListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"photos/2004/summer", "photos/Apple", "photos/banana", "photos/.hidden",
                                   "photos/Zoo", "photos/写真 集"})
            tree.Folder(QString::fromUtf8(folder));
        tree.File("photos/a.jpg");
        tree.File("photos/2004/x.jpg");
        tree.File("photos/2004/PHOTO.JPG");
        tree.File("photos/Apple.jpg");
        list.SetFileList(&files);
        files.SetMask("*.bmp;*.jpg;*.jpeg");
        list.SetCurrentFolder(tree.Path("photos"));
        On(&list, &TDirectoryListBox::OnChange, &list, [this] {
            ++changes;
            filesAtChange = files.count();
        });
        list.resize(300, 400);
    }
    void ShowList() {
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    QPoint RowPoint(int row) const { return list.visualItemRect(list.item(row)).center(); }
    void DoubleClick(int row) {
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowPoint(row));
    }

    TPaneTree tree;
    TDirectoryListBox list;
    TFileListBox files;
    int changes = 0;
    int filesAtChange = -1;
};

TEST_F(DirectoryListBoxTest, RowsFromRootToSubfoldersWithTheirIndents) {
    const QStringList parts = tree.Path("photos").split('/', Qt::SkipEmptyParts);
    std::vector<TRow> expected = {{"/", TDirectoryListBox::RootRow, 2}};
    for (int i = 0; i < parts.size(); ++i)
        expected.push_back({parts[i], i + 1 == parts.size() ? TDirectoryListBox::CurrentRow : TDirectoryListBox::PathRow,
                            2 + 4 * (i + 1)});
    const int sub = 6 + 4 * int(tree.Path("photos").count('/'));
    for (const char* name : {"2004", "Apple", "banana", "Zoo", "写真 集"})
        expected.push_back({QString::fromUtf8(name), TDirectoryListBox::SubfolderRow, sub});
    EXPECT_EQ(Rows(list), expected);
    EXPECT_EQ(list.currentRow(), int(parts.size()));
    EXPECT_TRUE(list.item(list.currentRow())->isSelected());
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos"));
    EXPECT_EQ(files.Directory(), tree.Path("photos"));
    EXPECT_EQ(files.count(), 2);
}

TEST_F(DirectoryListBoxTest, OpeningASubfolderRunsTheChangeSequenceOnce) {
    ShowList();
    DoubleClick(RowOf(list, "2004"));
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos/2004"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(filesAtChange, 2);  // the file list shows the new folder when OnChange runs
    EXPECT_EQ(list.item(list.currentRow())->text(), "2004");
    EXPECT_EQ(list.RowKind(list.currentRow()), TDirectoryListBox::CurrentRow);
}

TEST_F(DirectoryListBoxTest, OpeningAFolderWithBlanksAndJapaneseCharacters) {
    ShowList();
    list.setFocus();
    list.setCurrentRow(RowOf(list, QString::fromUtf8("写真 集")));
    QTest::keyClick(list.viewport(), Qt::Key_Return);
    EXPECT_EQ(list.CurrentFolder(), tree.Path(QString::fromUtf8("photos/写真 集")));
    EXPECT_EQ(changes, 1);
}

TEST_F(DirectoryListBoxTest, OpeningTheCurrentRowChangesNothing) {
    ShowList();
    files.item(0)->setSelected(true);
    const auto before = Rows(list);
    DoubleClick(list.currentRow());
    QTest::keyClick(list.viewport(), Qt::Key_Enter);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Rows(list), before);
    EXPECT_TRUE(files.Selected(0));
}

TEST_F(DirectoryListBoxTest, ClicksArrowsAndTypingOnlyMoveTheHighlight) {
    ShowList();
    list.setFocus();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(RowOf(list, "Zoo")));
    EXPECT_EQ(list.item(list.currentRow())->text(), "Zoo");
    QTest::keyClick(list.viewport(), Qt::Key_Up);
    EXPECT_EQ(list.item(list.currentRow())->text(), "banana");
    QTest::keyClicks(list.viewport(), "ap");
    EXPECT_EQ(list.item(list.currentRow())->text(), "Apple");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos"));
    QTest::keyClick(list.viewport(), Qt::Key_Return);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos/Apple"));
    EXPECT_EQ(changes, 1);
}

TEST_F(DirectoryListBoxTest, PathRowsStandForTheFoldersOnThePath) {
    list.SetCurrentFolder(tree.Path("photos/2004/summer"));
    changes = 0;
    list.OpenRow(RowOf(list, "photos"));
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos"));
    EXPECT_EQ(changes, 1);
}

TEST_F(DirectoryListBoxTest, OpeningTheRootRowShowsRootAsCurrentWithSubfoldersTenPixelsIn) {
    ShowList();
    DoubleClick(0);
    EXPECT_EQ(list.CurrentFolder(), "/");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(list.RowKind(0), TDirectoryListBox::CurrentRow);
    ASSERT_GT(list.count(), 1);
    for (int i = 1; i < list.count(); ++i) {
        EXPECT_EQ(list.RowKind(i), TDirectoryListBox::SubfolderRow);
        EXPECT_EQ(list.GlyphLeft(i), 10);
    }
    EXPECT_EQ(RowOf(list, "proc") > 0 || RowOf(list, "tmp") > 0, true);

    // The pixels: glyph from x = 10, name from 10 + 16 + 4, rows 16 high.
    list.clearFocus();
    const QImage image = list.viewport()->grab().toImage();
    const QRect row = list.visualItemRect(list.item(1));
    EXPECT_EQ(row.height(), TDirectoryListBox::RowHeight);
    EXPECT_EQ(row.top(), TDirectoryListBox::RowHeight);
    const QRgb background = image.pixel(image.width() - 1, row.top());
    auto inkInColumns = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = row.top(); y <= row.bottom(); ++y)
                if (image.pixel(x, y) != background)
                    return true;
        return false;
    };
    EXPECT_FALSE(inkInColumns(0, 10));
    EXPECT_TRUE(inkInColumns(10, 11));
    EXPECT_FALSE(inkInColumns(26, 30));
    EXPECT_TRUE(inkInColumns(30, 60));
}

TEST_F(DirectoryListBoxTest, FoldersThatCannotBeEnteredLeaveEverythingAsItWas) {
    const auto before = Rows(list);
    tree.File("photos/plain.jpg");
    for (const QString& folder : {QString(), tree.Path("photos"), tree.Path("gone"), tree.Path("PHOTOS"),
                                  tree.Path("photos/plain.jpg")})
        list.SetCurrentFolder(folder);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos"));
    EXPECT_EQ(Rows(list), before);
}

TEST_F(DirectoryListBoxTest, SubfolderDeletedWhileShownIsIgnoredWhenOpened) {
    const int row = RowOf(list, "Zoo");
    tree.Remove("photos/Zoo");
    list.OpenRow(row);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos"));
}

TEST_F(DirectoryListBoxTest, CurrentFolderDeletedWhileShownCanStillBeLeft) {
    list.SetCurrentFolder(tree.Path("photos/2004/summer"));
    tree.Remove("photos/2004");
    list.OpenRow(RowOf(list, "photos"));
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos"));
    EXPECT_EQ(RowOf(list, "2004"), -1);
}

TEST_F(DirectoryListBoxTest, SameFolderThroughALinkKeepsTheFileSelection) {
    ASSERT_EQ(::symlink(QFile::encodeName(tree.Path("photos")).constData(),
                        QFile::encodeName(tree.Path("link")).constData()),
              0);
    files.item(1)->setSelected(true);
    list.SetCurrentFolder(tree.Path("link"));
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(files.Selected(1));
}

TEST_F(DirectoryListBoxTest, EnteringAnotherFolderEmptiesTheFileSelection) {
    files.item(0)->setSelected(true);
    list.SetCurrentFolder(tree.Path("photos/2004"));
    EXPECT_EQ(files.selectedItems().size(), 0);
    EXPECT_EQ(files.count(), 2);
}

TEST_F(DirectoryListBoxTest, RelativeFolderIsTakenFromTheCurrentOne) {
    list.SetCurrentFolder("2004/summer");
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos/2004/summer"));
    list.SetCurrentFolder("..");
    EXPECT_EQ(list.CurrentFolder(), tree.Path("photos/2004"));
}

TEST_F(DirectoryListBoxTest, FoldersDifferingOnlyInCaseAreBothListed) {
    tree.Folder("photos/zoo");
    list.SetCurrentFolder(tree.Path("photos/2004"));
    list.SetCurrentFolder(tree.Path("photos"));
    EXPECT_EQ(RowOf(list, "Zoo") + 1, RowOf(list, "zoo"));
}

TEST_F(DirectoryListBoxTest, UnreadableFolderShowsNoSubfolders) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    tree.Folder("locked/inner");
    QFile::setPermissions(tree.Path("locked"), QFile::ExeOwner);
    list.SetCurrentFolder(tree.Path("locked"));
    EXPECT_EQ(list.CurrentFolder(), tree.Path("locked"));
    EXPECT_EQ(RowOf(list, "inner"), -1);
    QFile::setPermissions(tree.Path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(DirectoryListBox, StartsInTheProcessCurrentFolder) {
    TPaneTree tree;
    tree.Folder("start");
    const QString saved = QDir::currentPath();
    QDir::setCurrent(tree.Path("start"));
    TDirectoryListBox list;
    QDir::setCurrent(saved);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("start"));
}

}  // namespace
