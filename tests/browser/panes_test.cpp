// The drive, folder and file panes in the main window: links, start folder,
// the change handler and the click handler.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include "browser/frm_main.h"
#include "tests/support/app_fixture.h"
#include "tests/toolkit/pane_tree.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/drive_combo_box.h"
#include "toolkit/file_list_box.h"

namespace {

const QString NoneSelected = QStringLiteral("0 個の画像ファイルを選択");

class PanesTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        for (const char* name : {"PHOTO.JPG", "a.Bmp", "b.JPEG", "c.gif", ".hidden.jpg", "2004/d.jpg"})
            tree.File(QStringLiteral("photos/") + name);
        tree.Folder("photos/x.jpg");
        tree.Folder("empty");
        // The program starts in the folder it was started from.
        const QString saved = QDir::currentPath();
        QDir::setCurrent(tree.Path("photos"));
        StartProgram();
        QDir::setCurrent(saved);
        frmMain->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frmMain));
    }

    // Starts the program again in folder, with STATE.INI holding state.
    void RestartIn(const QString& folder, const QByteArray& state) {
        StopProgram();
        QFile file(ProgramDir() + "STATE.INI");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(state);
        file.close();
        const QString saved = QDir::currentPath();
        QDir::setCurrent(folder);
        StartProgram();
        QDir::setCurrent(saved);
    }

    static QStringList Entries() {
        QStringList names;
        for (int i = 0; i < frmMain->lstFile->count(); ++i)
            names << frmMain->lstFile->Item(i);
        return names;
    }
    static int RowOf(const QString& name) {
        for (int i = 0; i < frmMain->trvDir->count(); ++i)
            if (frmMain->trvDir->item(i)->text() == name)
                return i;
        return -1;
    }
    static void DoubleClickFolderRow(int row) {
        QListWidget* list = frmMain->trvDir;
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    static void ClickFile(int row, Qt::KeyboardModifiers modifiers = {}) {
        QListWidget* list = frmMain->lstFile;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
    }
    static QString StatusText() { return frmMain->stbMain->currentMessage(); }

    TPaneTree tree;
};

TEST_F(PanesTest, ListsAreLinkedAndStartInTheProcessFolder) {
    EXPECT_EQ(frmMain->cboDrv->DirList(), frmMain->trvDir);
    EXPECT_EQ(frmMain->trvDir->FileList(), frmMain->lstFile);
    EXPECT_EQ(frmMain->lstFile->Mask(), "*.bmp;*.jpg;*.jpeg");
    EXPECT_EQ(frmMain->trvDir->CurrentFolder(), tree.Path("photos"));
    EXPECT_GE(frmMain->cboDrv->currentIndex(), 0);
    EXPECT_EQ(frmMain->cboDrv->CurrentDrive(), frmMain->cboDrv->DriveIndexOf(tree.Path("photos")));
    EXPECT_EQ(Entries(), (QStringList{"a.Bmp", "b.JPEG", "PHOTO.JPG"}));
    EXPECT_EQ(frmMain->lstFile->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(PanesTest, EnteringAnotherFolderEmptiesTheSelectionAndResetsTheStatusText) {
    QSignalSpy clicks(frmMain->lstFile, &TFileListBox::OnClick);
    ClickFile(0);
    ClickFile(2, Qt::ShiftModifier);
    EXPECT_EQ(clicks.count(), 2);
    // Each click rebuilt the strip from the selection.
    const int thumbs = frmMain->intThumbCount;
    EXPECT_EQ(thumbs, 3);
    frmMain->stbMain->showMessage("3 selected");

    DoubleClickFolderRow(RowOf("2004"));
    EXPECT_EQ(frmMain->txtPath->text(), tree.Path("photos/2004"));
    EXPECT_EQ(StatusText(), NoneSelected);
    EXPECT_EQ(Entries(), QStringList{"d.jpg"});
    EXPECT_TRUE(frmMain->lstFile->selectedItems().isEmpty());
    EXPECT_EQ(clicks.count(), 2);  // a re-read is no click
    EXPECT_EQ(frmMain->intThumbCount, thumbs);
}

TEST_F(PanesTest, FolderWithoutPicturesShowsAnEmptyList) {
    frmMain->trvDir->SetCurrentFolder(tree.Path("empty"));
    EXPECT_EQ(frmMain->lstFile->count(), 0);
    EXPECT_EQ(StatusText(), NoneSelected);
    EXPECT_EQ(frmMain->txtPath->text(), tree.Path("empty"));
}

TEST_F(PanesTest, OpeningTheCurrentRowChangesNothingAndFiresNothing) {
    frmMain->txtPath->setText("untouched");
    frmMain->stbMain->showMessage("untouched");
    ClickFile(1);
    frmMain->stbMain->showMessage("untouched");
    DoubleClickFolderRow(frmMain->trvDir->currentRow());
    EXPECT_EQ(frmMain->txtPath->text(), "untouched");
    EXPECT_EQ(StatusText(), "untouched");
    EXPECT_TRUE(frmMain->lstFile->Selected(1));
}

TEST_F(PanesTest, OpeningTheRootRowShowsRootAsCurrentRow) {
    DoubleClickFolderRow(0);
    EXPECT_EQ(frmMain->trvDir->CurrentFolder(), "/");
    EXPECT_EQ(frmMain->txtPath->text(), "/");
    EXPECT_EQ(frmMain->trvDir->currentRow(), 0);
    ASSERT_GT(frmMain->trvDir->count(), 1);
    EXPECT_EQ(frmMain->trvDir->GlyphLeft(1), 10);
}

TEST_F(PanesTest, DeletedFolderLeavesThePanesWhereTheyWere) {
    frmMain->txtPath->setText("untouched");
    frmMain->trvDir->SetCurrentFolder(tree.Path("photos/gone"));
    EXPECT_EQ(frmMain->trvDir->CurrentFolder(), tree.Path("photos"));
    EXPECT_EQ(frmMain->txtPath->text(), "untouched");
}

TEST_F(PanesTest, SavedFolderThatIsGoneLeavesTheStartFolder) {
    RestartIn(tree.Path("photos/2004"), "[DIRECTORY]\nDIRECTORY=" + QFile::encodeName(tree.Path("photos/gone")) + "\n");
    EXPECT_EQ(frmMain->trvDir->CurrentFolder(), tree.Path("photos/2004"));
    EXPECT_EQ(Entries(), QStringList{"d.jpg"});
    EXPECT_EQ(frmMain->txtPath->text(), tree.Path("photos/2004"));
}

TEST_F(PanesTest, SavedFolderIsEnteredAtStartUp) {
    RestartIn(tree.Path("empty"), "[DIRECTORY]\nDIRECTORY=" + QFile::encodeName(tree.Path("photos/2004")) + "\n");
    EXPECT_EQ(frmMain->trvDir->CurrentFolder(), tree.Path("photos/2004"));
    EXPECT_EQ(Entries(), QStringList{"d.jpg"});
    EXPECT_EQ(frmMain->txtPath->text(), tree.Path("photos/2004"));
}

}  // namespace
