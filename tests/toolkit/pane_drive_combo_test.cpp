// The drive list linked to the folder list: current drive, remembered folders,
// drives that cannot be entered.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTest>

#include "tests/toolkit/pane_tree.h"
#include "toolkit/application.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/drive_combo_box.h"
#include "toolkit/file_list_box.h"
#include "toolkit/folder_glyphs.h"

namespace {

// "/" and a temporary folder standing in for a USB stick's mount point.
class DriveComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.Folder("home/photos");
        tree.Folder("usb/pictures/2004");
        combo = std::make_unique<TDriveComboBox>(
            std::vector<TDrive>{{"/", TDriveType::Fixed, "/ [system]"},
                                {tree.Path("usb"), TDriveType::Removable, tree.Path("usb") + " [stick]"}});
        list.SetFileList(&files);
        list.SetCurrentFolder(tree.Path("home/photos"));
        combo->SetDirList(&list);
        On(&list, &TDirectoryListBox::OnChange, &list, [this] { ++changes; });
    }
    static constexpr int Root = 0;
    static constexpr int Stick = 1;

    TPaneTree tree;
    TDirectoryListBox list;
    TFileListBox files;
    std::unique_ptr<TDriveComboBox> combo;
    int changes = 0;
};

TEST_F(DriveComboTest, CurrentDriveIsTheMountHoldingTheFolder) {
    EXPECT_EQ(combo->CurrentDrive(), Root);
    EXPECT_EQ(combo->currentIndex(), Root);
    list.SetCurrentFolder(tree.Path("usb/pictures"));
    EXPECT_EQ(combo->CurrentDrive(), Stick);
    EXPECT_EQ(combo->currentText(), tree.Path("usb") + " [stick]");
    list.SetCurrentFolder(tree.Root());
    EXPECT_EQ(combo->CurrentDrive(), Root);
}

TEST_F(DriveComboTest, EachDriveRemembersItsLastFolder) {
    list.SetCurrentFolder(tree.Path("usb/pictures/2004"));
    list.SetCurrentFolder(tree.Path("home"));
    changes = 0;
    combo->PickDrive(Stick);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("usb/pictures/2004"));
    combo->PickDrive(Root);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("home"));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(files.Directory(), tree.Path("home"));
}

TEST_F(DriveComboTest, PickingTheCurrentDriveDoesNothing) {
    combo->PickDrive(Root);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("home/photos"));
}

TEST_F(DriveComboTest, NeverEnteredDriveOpensAtItsMountPoint) {
    combo->PickDrive(Stick);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("usb"));
    EXPECT_EQ(changes, 1);
}

TEST_F(DriveComboTest, RememberedFolderGoneFallsBackToTheMountPoint) {
    list.SetCurrentFolder(tree.Path("usb/pictures/2004"));
    list.SetCurrentFolder(tree.Path("home"));
    tree.Remove("usb/pictures");
    combo->PickDrive(Stick);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("usb"));
}

TEST_F(DriveComboTest, DriveThatCannotBeEnteredLeavesEverythingAsItWas) {
    tree.Remove("usb");
    combo->PickDrive(Stick);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("home/photos"));
    EXPECT_EQ(combo->CurrentDrive(), Root);
    EXPECT_EQ(combo->currentIndex(), Root);
}

TEST_F(DriveComboTest, PickingWithTheKeyboardInTheClosedList) {
    combo->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo.get()));
    QTest::keyClick(combo.get(), Qt::Key_Down);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("usb"));
    EXPECT_EQ(changes, 1);
    QTest::keyClick(combo.get(), Qt::Key_Up);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("home/photos"));
    EXPECT_EQ(changes, 2);
}

// A saved folder that is gone: on the current drive nothing happens; on
// another drive that can be entered, the list goes to that drive.
TEST_F(DriveComboTest, DeletedFolderOnTheSameDriveLeavesTheListWhereItWas) {
    list.SetCurrentFolder(tree.Path("home/gone"));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.CurrentFolder(), tree.Path("home/photos"));
}

TEST_F(DriveComboTest, DeletedFolderOnAnotherDriveGoesToThatDrivesFolder) {
    list.SetCurrentFolder(tree.Path("usb/gone"));
    EXPECT_EQ(list.CurrentFolder(), tree.Path("usb"));
    EXPECT_EQ(combo->CurrentDrive(), Stick);
    EXPECT_EQ(changes, 1);
}

TEST_F(DriveComboTest, ExistingFolderOnAnotherDriveMovesTheDriveList) {
    list.SetCurrentFolder(tree.Path("usb/pictures"));
    EXPECT_EQ(list.CurrentFolder(), tree.Path("usb/pictures"));
    EXPECT_EQ(combo->CurrentDrive(), Stick);
    EXPECT_EQ(combo->RememberedFolder(Stick), tree.Path("usb/pictures"));
    EXPECT_EQ(changes, 1);
}

TEST_F(DriveComboTest, EntriesDrawGlyphTwoPixelsInAndTextFourPixelsRight) {
    QImage image(200, 17, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.initFrom(combo.get());
    option.rect = image.rect();
    option.palette.setColor(QPalette::Base, Qt::white);
    option.palette.setColor(QPalette::Text, Qt::black);
    option.font = combo->font();
    option.fontMetrics = QFontMetrics(option.font);
    {
        QPainter painter(&image);
        combo->view()->itemDelegate()->paint(&painter, option, combo->model()->index(Root, 0));
    }
    auto ink = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    EXPECT_FALSE(ink(0, 2));
    EXPECT_TRUE(ink(2, 3));
    EXPECT_FALSE(ink(2 + DriveGlyphWidth, 2 + DriveGlyphWidth + 4));
    EXPECT_TRUE(ink(2 + DriveGlyphWidth + 4, 60));
}

TEST(DriveComboBox, ThisSystemsDrivesAreReadAtCreation) {
    TDriveComboBox combo;
    ASSERT_GE(combo.count(), 1);
    EXPECT_EQ(combo.Drives()[0].path, "/");
    EXPECT_EQ(combo.currentIndex(), -1);
}

}  // namespace
