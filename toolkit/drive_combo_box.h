#pragma once
// TDriveComboBox: the drive list. Drives are the mount points read once at
// creation; each remembers the last folder entered on it. Picking a drive sends
// the linked folder list to that folder, or to the mount point itself.

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <vector>

#include "toolkit/mount_table.h"

class TDirectoryListBox;

class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent = nullptr);
    // With a given drive table instead of this system's.
    TDriveComboBox(std::vector<TDrive> drives, QWidget* parent = nullptr);

    static constexpr int GlyphIndent = 2;
    static constexpr int TextGap = 4;  // between glyph and text

    TDirectoryListBox* DirList() const;
    void SetDirList(TDirectoryListBox* list);

    const std::vector<TDrive>& Drives() const { return drives_; }
    // The drive holding the current folder; -1 before a folder is known.
    int CurrentDrive() const { return currentDrive_; }
    int DriveIndexOf(const QString& folder) const { return ::DriveIndexOf(drives_, folder); }
    QString RememberedFolder(int drive) const { return remembered_[size_t(drive)]; }

    // Picks a drive as the user does: nothing for the current drive; else the
    // folder list enters the drive's last folder or its mount point. When the
    // drive cannot be entered the list stays and the current drive is shown again.
    void PickDrive(int drive);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TDirectoryListBox;
    // The folder list entered folder: show its drive and remember it there.
    void FolderEntered(const QString& folder);
    void ShowDrive(int drive);

    std::vector<TDrive> drives_;
    std::vector<QString> remembered_;
    QPointer<TDirectoryListBox> dirList_;
    int currentDrive_ = -1;
};
